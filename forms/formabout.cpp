#include "formabout.h"

#include "ui_formabout.h"
#include "veldrix_version.h"

#include <QCoreApplication>

FormAbout::FormAbout(QWidget *parent) : QDialog(parent), ui(new Ui_FormAbout)
{
    ui->setupUi(this);
    setWindowTitle(tr("À propos de %1…").arg(QCoreApplication::applicationName()));

    // The number goes in after translation, so that a catalogue cannot change
    // it; a translation without %1 drops it.
    ui->version->setText(ui->version->text().arg(VELDRIX_VERSION));

    // The same in every language: it does not go through the catalogue.
    ui->copyright->setText(QString::fromUtf8("Copyright © 2020–2021 Veldrix"));
}

FormAbout::~FormAbout()
{
    delete ui;
}
