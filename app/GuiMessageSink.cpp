#include "GuiMessageSink.h"

#include "EngineText.h"
#include "UnitMain.h"

#include <QApplication>
#include <QMessageBox>

void GuiMessageSink::showMessage(MsgKind kind, const std::string& text, const std::string& title)
{
    // Untitled messages carry the application title, as the original's did.
    const QString t = EngineText(title.empty() ? std::string(kAppTitle) : title);
    const QString msg = EngineText(text);
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
