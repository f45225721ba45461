#pragma once
// Every message the engine shows to the user goes through one sink, which the
// host installs: a message box in the GUI, a line on stderr in the command
// line, a list in tests.

#include <stdexcept>
#include <string>

enum class MsgKind { Information, Warning, Error };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(MsgKind kind, const std::string& text, const std::string& title) = 0;
};

// Installs the calling thread's sink (nullptr restores the default, which
// writes to stderr); a worker thread starts with the default.
void SetMessageSink(MessageSink* sink);
MessageSink* GetMessageSink();
void ShowMessage(MsgKind kind, const std::string& text, const std::string& title = {});

// An error whose message has already been shown: it ends the operation and
// is not reported again.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// Any other error that no handler catches ends in the default error report,
// a message with the error's own text.
class EVelkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text that does not convert to the number or identifier expected.
class EConvertError : public EVelkError {
public:
    using EVelkError::EVelkError;
};

// Floating-point invalid operation, division by zero or overflow.
class EMathError : public EVelkError {
public:
    using EVelkError::EVelkError;
};

// Input/output failure (file cannot be opened, read or written).
class EInOutError : public EVelkError {
public:
    using EVelkError::EVelkError;
};

// The default error report: shows the text of err unless it is a silent
// abort. Hosts call it where an event handler's error would reach the
// application's top level.
void ReportError(const std::exception& err);

// Collects messages; used by tests and by the command-line calculator.
#include <vector>
struct RecordedMessage {
    MsgKind kind;
    std::string text;
    std::string title;
};
class RecordingSink : public MessageSink {
public:
    void showMessage(MsgKind kind, const std::string& text, const std::string& title) override
    {
        messages.push_back({kind, text, title});
    }
    std::vector<RecordedMessage> messages;
};

// Passes every message on to `next` and keeps their texts, so that a caller
// can tell which messages an aborted operation showed.
class LastMessageTee : public MessageSink {
public:
    explicit LastMessageTee(MessageSink* next) : next_(next) {}
    void showMessage(MsgKind kind, const std::string& text, const std::string& title) override
    {
        last = text;
        all += (all.empty() ? "" : "\n") + text;
        if (next_)
            next_->showMessage(kind, text, title);
    }
    std::string last;
    std::string all; // every text, one a line

private:
    MessageSink* next_;
};

// Installs a sink for the lifetime of the scope and restores the previous one.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink* sink) : previous_(GetMessageSink()) { SetMessageSink(sink); }
    ~ScopedMessageSink() { SetMessageSink(previous_); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink* previous_;
};
