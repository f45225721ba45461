#include "ImportDialogParts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QAbstractButton>
#include <QCheckBox>
#include <QStyleOptionButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "FontSetup.h"
#include "Messages.h"
#include "UnitHysys.h"

void SetUpImportDialog(QDialog* dialog, const QString& name, const QString& title, QSize size, QPoint pos)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    InstallFontSubstitutes();
    dialog->setFont(QFont(QStringLiteral("宋体"), 9));
    dialog->setFixedSize(size);
    dialog->move(pos);
}

QListWidget* AddListGroup(QWidget* parent, const QString& title, const QString& groupName,
                          const QRect& geometry, const QString& listName, QGroupBox** group)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(groupName);
    box->setGeometry(geometry);
    auto* list = new QListWidget(box);
    list->setObjectName(listName);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    layout->setContentsMargins(2, 2, 2, 2);
    if (group) *group = box;
    return list;
}

QGroupBox* AddTrayPositionGroup(QWidget* parent, const QString& autoCaption, int autoWidth,
                                QRadioButton** autoButton, QRadioButton** fixedButton)
{
    auto* box = new QGroupBox(QCoreApplication::translate("Velk", "塔径位置（理论版编号）"), parent);
    box->setObjectName(QStringLiteral("RGModal"));
    box->setGeometry(215, 13, 185, 49);
    *autoButton = new QRadioButton(autoCaption, box);
    (*autoButton)->setGeometry(6, 18, autoWidth, 20);
    *fixedButton = new QRadioButton(QCoreApplication::translate("Velk", "指定"), box);
    (*fixedButton)->setGeometry(96, 18, 48, 20);
    (*autoButton)->setChecked(true);
    return box;
}

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                       QStyle::StandardPixmap icon)
{
    auto* b = icon == QStyle::SP_CustomBase
                  ? new QPushButton(text, parent)
                  : new QPushButton(parent->style()->standardIcon(icon), text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

namespace
{

constexpr int kGap = 2;

bool HasText(const QWidget* w)
{
    return !w->isWindow() && (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w));
}

// The width w needs to show its text: a radio button or check box its box
// and text (the style's margin after the text may lie under a neighbour),
// anything else its size hint.
int TextNeed(const QWidget* w)
{
    const auto* b = qobject_cast<const QAbstractButton*>(w);
    const bool radio = qobject_cast<const QRadioButton*>(w);
    if (!b || (!radio && !qobject_cast<const QCheckBox*>(w))) return w->sizeHint().width();
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    const QRect contents = b->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, b);
    return contents.left() + b->fontMetrics().horizontalAdvance(b->text()) + 2;
}

// The room of w's row in its parent, between the widgets beside it (its
// siblings and, over a group box, the dialog's own widgets).
std::pair<int, int> RowRoom(QWidget* w, QWidget* dialog)
{
    QWidget* parent = w->parentWidget();
    const QRect r = w->geometry();
    int lo = kGap, hi = parent->width() - kGap;
    QList<QWidget*> others = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (parent != dialog) others += dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* o : others) {
        if (o == w || o->isWindow() || o->isAncestorOf(w) || !o->isVisibleTo(o->parentWidget())) continue;
        const QRect g(parent->mapFrom(o->parentWidget(), o->geometry().topLeft()), o->size());
        // (a pixel shared with the row above is not a neighbour)
        if (std::min(g.bottom(), r.bottom()) - std::max(g.top(), r.top()) < 2) continue;
        // One that overlaps it already (a box raised over a group) bounds it too.
        if (g.left() <= r.left()) lo = std::max(lo, g.right() + 1 + kGap);
        else hi = std::min(hi, g.left() - kGap);
    }
    return {lo, hi};
}

// A text short of room first takes it from the text to its right, where
// that one is wider than it needs or has room beyond it.
void ShiftRightNeighbour(QWidget* w, QWidget* dialog)
{
    const int shortfall = TextNeed(w) - w->width();
    QWidget* next = nullptr;
    for (QWidget* o : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (o != w && HasText(o) && o->isVisibleTo(o->parentWidget()) && o->y() == w->y() && o->x() > w->x() &&
            (!next || o->x() < next->x()))
            next = o;
    if (shortfall <= 0 || !next) return;
    const int hi = RowRoom(next, dialog).second;
    const int width = std::max(TextNeed(next), std::min(next->width(), hi - next->x() - shortfall));
    const int x = std::min(next->x() + shortfall, hi - width);
    if (x > next->x()) next->setGeometry(x, next->y(), width, next->height());
}

void Widen(QWidget* w, QWidget* dialog)
{
    ShiftRightNeighbour(w, dialog);
    const int need = TextNeed(w);
    const auto [lo, hi] = RowRoom(w, dialog);
    // (what a neighbour covers is not shown)
    if (need <= std::min(w->x() + w->width(), hi + kGap) - w->x()) return;
    const int width = std::max(w->width(), std::min(need, hi - lo));
    const int x = std::max(lo, std::min(w->x(), hi - width));
    w->setGeometry(x, w->y(), width, w->height());
}

// Push buttons at one height that do not fit side by side: spread evenly.
void SpreadButtonRow(const QList<QPushButton*>& row, int width)
{
    int total = 0;
    bool cut = false;
    for (QPushButton* b : row) {
        total += std::max(b->width(), b->sizeHint().width());
        cut = cut || b->sizeHint().width() > b->width();
    }
    if (!cut || row.size() < 2) return;
    const int gap = std::max(kGap, (width - total) / (static_cast<int>(row.size()) + 1));
    int x = std::max(kGap, (width - total - gap * (static_cast<int>(row.size()) - 1)) / 2);
    for (QPushButton* b : row) {
        const int w = std::max(b->width(), b->sizeHint().width());
        b->setGeometry(x, b->y(), w, b->height());
        x += w + gap;
    }
}

} // namespace

void FitDialogTexts(QWidget* dialog)
{
    dialog->ensurePolished();
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (HasText(w)) Widen(w, dialog);
    QMap<int, QList<QPushButton*>> rows;
    for (QPushButton* b : dialog->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        rows[b->y()].append(b);
    for (QList<QPushButton*>& row : rows) {
        std::sort(row.begin(), row.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
        SpreadButtonRow(row, dialog->width());
    }
}

bool TakeWholeColumn(QListWidget* columns, const std::function<ColumnProfile(const std::string&)>& read,
                     std::optional<ColumnProfile>& taken,
                     const std::function<void(const ColumnProfile&)>& onTake)
{
    const QList<QListWidgetItem*> selected = columns->selectedItems();
    if (selected.isEmpty()) {
        ShowMessage(MsgKind::Warning, kHysysNoColumnText);
        return false;
    }
    try {
        taken = read(selected.first()->text().toStdString());
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
    if (onTake) onTake(*taken);
    return true;
}
