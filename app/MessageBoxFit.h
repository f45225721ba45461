#pragma once
// A message box is at least as wide as its title in the title bar's font,
// with room for the window's icon and buttons: Qt sizes a box by its text
// and allows only a little for the frame, so a long title over a short
// message ("Structured Packing Column Hydraulics" over "Saved.") was cut
// off by the window manager. Installed once on the application.

#include <QObject>

class QMessageBox;

class TMessageBoxFit : public QObject {
    Q_OBJECT
public:
    explicit TMessageBoxFit(QObject* parent = nullptr);
    static TMessageBoxFit* InstallOnApplication();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The width the box needs for its title.
    static int TitleWidth(const QMessageBox* box);
    // Widens box to TitleWidth when it is narrower.
    static void Fit(QMessageBox* box);
};
