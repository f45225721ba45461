#include "MyStatusBar.h"

#include <QCoreApplication>
#include <QPainter>
#include <QProgressBar>

TMyStatusBar::TMyStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("MyStatusBarMain"));
    setSizeGripEnabled(true);
    panels_ = {{300, QString(), false},
               {400, QCoreApplication::translate("Velk", "波纹规整填料塔流体力学 VELK 4.1"), false},
               {400, QString(), true}};
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setValue(0);
    progress_->setTextVisible(false);
    PlaceProgress();
}

void TMyStatusBar::SetPanelText(int i, const QString& text)
{
    if (i < 0 || i >= PanelCount())
        return;
    panels_[i].Text = text;
    update();
}

QString TMyStatusBar::PanelText(int i) const { return i >= 0 && i < PanelCount() ? panels_[i].Text : QString(); }

void TMyStatusBar::SetPIndex(int i)
{
    if (i < 0 || i >= PanelCount())
        return;
    const int old = std::min(pIndex_, PanelCount() - 1);
    panels_[old].OwnerDrawn = false;
    panels_[i].OwnerDrawn = true;
    pIndex_ = i;
    // Taken off the bar until the next drawing of the panel puts it back.
    progress_->hide();
    update();
}

QRect TMyStatusBar::PanelRect(int i) const
{
    int x = 0;
    for (int k = 0; k < i; ++k)
        x += panels_[k].Width;
    return QRect(x, 0, panels_[i].Width, height());
}

QRect TMyStatusBar::ProgressRect(int i) const
{
    QRect r = PanelRect(i).adjusted(-1, -1, 0, 1);
    if (i == PanelCount() - 1)
        r.setRight(r.right() - 12); // room for the size grip
    return r;
}

void TMyStatusBar::PlaceProgress()
{
    if (pIndex_ >= 0 && pIndex_ < PanelCount()) {
        progress_->setGeometry(ProgressRect(pIndex_));
        progress_->show();
    }
}

void TMyStatusBar::paintEvent(QPaintEvent* e)
{
    QStatusBar::paintEvent(e);
    QPainter p(this);
    for (int i = 0; i < PanelCount(); ++i) {
        const QRect r = PanelRect(i);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (!panels_[i].OwnerDrawn)
            p.drawText(r.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft, panels_[i].Text);
    }
    PlaceProgress();
}

void TMyStatusBar::resizeEvent(QResizeEvent* e)
{
    QStatusBar::resizeEvent(e);
    PlaceProgress();
}
