#pragma once
// The window's status bar: three panels of fixed widths and a progress bar
// that sits over the panel PIndex. The main window keeps it hidden; the
// performance diagram writes its mouse read-out into panel 0.

#include <QList>
#include <QStatusBar>

class QProgressBar;

class TMyStatusBar : public QStatusBar {
    Q_OBJECT
public:
    struct Panel {
        int Width;
        QString Text;
        bool OwnerDrawn;
    };

    explicit TMyStatusBar(QWidget* parent = nullptr);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    const Panel& PanelAt(int i) const { return panels_[i]; }
    void SetPanelText(int i, const QString& text);
    QString PanelText(int i) const;

    int PIndex() const { return pIndex_; }
    // Values outside 0 .. PanelCount()-1 are ignored.
    void SetPIndex(int i);
    QProgressBar* ProgressBar() const { return progress_; }

    // The area of panel i, and where the progress bar goes over panel i.
    QRect PanelRect(int i) const;
    QRect ProgressRect(int i) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void PlaceProgress();

    QList<Panel> panels_;
    int pIndex_ = 2;
    QProgressBar* progress_;
};
