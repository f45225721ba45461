#pragma once
// Shows the engine's messages as message boxes.

#include "Messages.h"

class QWidget;

class GuiMessageSink : public MessageSink {
public:
    explicit GuiMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void showMessage(MsgKind kind, const std::string& text, const std::string& title) override;

private:
    QWidget* parent_;
};
