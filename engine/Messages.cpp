#include "Messages.h"

#include <cstdio>

namespace {
class StderrSink : public MessageSink {
public:
    void showMessage(MsgKind, const std::string& text, const std::string& title) override
    {
        if (title.empty())
            std::fprintf(stderr, "%s\n", text.c_str());
        else
            std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
};
StderrSink g_stderrSink;
thread_local MessageSink* g_sink = &g_stderrSink;
} // namespace

void SetMessageSink(MessageSink* sink) { g_sink = sink ? sink : &g_stderrSink; }
MessageSink* GetMessageSink() { return g_sink; }

void ShowMessage(MsgKind kind, const std::string& text, const std::string& title)
{
    g_sink->showMessage(kind, text, title);
}

void ReportError(const std::exception& err)
{
    if (dynamic_cast<const EAbort*>(&err))
        return;
    ShowMessage(MsgKind::Error, err.what());
}
