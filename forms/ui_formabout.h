#ifndef VELDRIX_UI_FORMABOUT_H
#define VELDRIX_UI_FORMABOUT_H

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>

// The about dialog's form, written by hand like the main window's: six
// widgets at fixed places, no layouts. Each member carries the object name of
// its widget.
class Ui_FormAbout
{
public:
    QDialogButtonBox *buttonBox;
    QLabel *applicationName;
    QLabel *version;
    QLabel *copyright;
    QLabel *label_4;
    QLabel *label_6;

    void setupUi(QDialog *dialog);
    void retranslateUi(QDialog *dialog);
};

#endif
