#include "ImportDialogParts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

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
