#include "ui_formabout.h"

#include <QCoreApplication>
#include <QFrame>
#include <QMetaObject>
#include <QObject>
#include <QRect>

void Ui_FormAbout::setupUi(QDialog *dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QString::fromUtf8("FormAbout"));
    dialog->resize(300, 300);

    buttonBox = new QDialogButtonBox(dialog);
    buttonBox->setObjectName(QString::fromUtf8("buttonBox"));
    buttonBox->setGeometry(QRect(10, 260, 281, 32));
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    applicationName = new QLabel(dialog);
    applicationName->setObjectName(QString::fromUtf8("applicationName"));
    applicationName->setGeometry(QRect(10, 10, 281, 16));
    version = new QLabel(dialog);
    version->setObjectName(QString::fromUtf8("version"));
    version->setGeometry(QRect(10, 30, 281, 16));
    copyright = new QLabel(dialog);
    copyright->setObjectName(QString::fromUtf8("copyright"));
    copyright->setGeometry(QRect(10, 50, 281, 16));
    label_4 = new QLabel(dialog);
    label_4->setObjectName(QString::fromUtf8("label_4"));
    label_4->setGeometry(QRect(10, 70, 281, 16));
    // The description fills what is left above the button box, in a frame,
    // its lines wrapped and centred so that they keep clear of the frame.
    label_6 = new QLabel(dialog);
    label_6->setObjectName(QString::fromUtf8("label_6"));
    label_6->setGeometry(QRect(10, 95, 281, 160));
    label_6->setFrameShape(QFrame::StyledPanel);
    label_6->setFrameShadow(QFrame::Sunken);
    label_6->setAlignment(Qt::AlignCenter);
    label_6->setWordWrap(true);

    retranslateUi(dialog);
    QObject::connect(buttonBox, SIGNAL(accepted()), dialog, SLOT(accept()));
    QObject::connect(buttonBox, SIGNAL(rejected()), dialog, SLOT(reject()));

    QMetaObject::connectSlotsByName(dialog);
}

void Ui_FormAbout::retranslateUi(QDialog *)
{
    applicationName->setText(QCoreApplication::translate("FormAbout", "VELDRIX", nullptr));
    version->setText(QCoreApplication::translate("FormAbout", "Version %1", nullptr));
    copyright->setText(
        QCoreApplication::translate("FormAbout", "Copyright © 2020 Veldrix", nullptr));
    label_4->setText(
        QCoreApplication::translate("FormAbout", "Veldrix – BP 42, 99000 Velmont", nullptr));
    label_6->setText(QCoreApplication::translate(
        "FormAbout",
        "Configurateur du module VELDRIX, qui envoie sur le bus CAN les données de son récepteur "
        "GPS. Branchez le module sur un port USB, puis cliquez sur Connecter.",
        nullptr));
}
