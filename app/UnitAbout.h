#pragma once
#include <QDialog>

// The about dialog: icon, the program's title in large bold red, and OK.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
};

extern TFormAbout* FormAbout;
