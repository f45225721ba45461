#include "GuiMessageSink.h"

#include <QApplication>
#include <QMessageBox>

void GuiMessageSink::showMessage(MsgKind kind, const std::string& text, const std::string& title)
{
    const QString t = title.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(title);
    const QString msg = QString::fromStdString(text);
    switch (kind) {
    case MsgKind::Information:
        QMessageBox::information(parent_, t, msg);
        break;
    case MsgKind::Warning:
        QMessageBox::warning(parent_, t, msg);
        break;
    case MsgKind::Error:
        QMessageBox::critical(parent_, t, msg);
        break;
    }
}
