#ifndef VELDRIX_FORMABOUT_H
#define VELDRIX_FORMABOUT_H

#include <QDialog>

class Ui_FormAbout;

// Says which program this is and in which version. Built anew at each
// opening, so that it shows the language installed at that moment.
class FormAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FormAbout(QWidget *parent);
    ~FormAbout() override;

private:
    Ui_FormAbout *ui;
};

#endif
