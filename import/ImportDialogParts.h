#pragma once
// Construction steps the two import dialogs share: the dialog frame, a list
// inside a titled group, the tray-position radio group and the buttons.

#include <QRect>
#include <QString>
#include <QStyle>

#include <functional>
#include <optional>
#include <string>

#include "ColumnProfile.h"

class QDialog;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

// Name, title, 宋体 9 pt, fixed client size at a fixed position, on top.
void SetUpImportDialog(QDialog* dialog, const QString& name, const QString& title, QSize size, QPoint pos);

// A group box with a list filling it; returns the list, *group the box.
QListWidget* AddListGroup(QWidget* parent, const QString& title, const QString& groupName,
                          const QRect& geometry, const QString& listName, QGroupBox** group);

// The "塔径位置（理论版编号）" group with its two radio buttons, the first checked.
QGroupBox* AddTrayPositionGroup(QWidget* parent, const QString& autoCaption, int autoWidth,
                                QRadioButton** autoButton, QRadioButton** fixedButton);

// A push button with an optional standard icon (QStyle::SP_CustomBase: none).
QPushButton* AddButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                       QStyle::StandardPixmap icon = QStyle::SP_CustomBase);

// The dialogs are laid out by coordinates made for the Chinese texts. Where
// another language needs more room, a label or button grows into the free
// room of its row (to the right, then to the left), and a row of buttons
// that still does not fit is spread over the dialog's width. What fits
// stays where it is.
void FitDialogTexts(QWidget* dialog);

// "整塔数据" of either dialog: reads the column chosen in `columns` into
// `taken` and hands it to `onTake`. False when no column is chosen or the
// reading failed; the message has been shown.
bool TakeWholeColumn(QListWidget* columns, const std::function<ColumnProfile(const std::string&)>& read,
                     std::optional<ColumnProfile>& taken,
                     const std::function<void(const ColumnProfile&)>& onTake);
