// Any bytes as a stream of automation frames arriving at the server: frames
// are taken off, each answered (an error answer for what is not a request),
// and a length beyond the bound is refused. The server allocates no more
// than the frames ask for and never crashes.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "AutoObject.h"
#include "LocalAutoProtocol.h"
#include "LocalAutoServer.h"

namespace
{
// A root with a method that returns itself, so handles come and go.
class Root : public AutoObject
{
public:
    AutoVariant Invoke(const std::string& name, AutoInvoke, AutoArgs& args) override
    {
        if (name == "Self") return AutoVariant(shared_from_this());
        if (name == "Echo" && !args.empty()) return args.front().Value();
        throw EAutoError("Unknown name");
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static LocalAutoServer server(std::make_shared<Root>());
    QByteArray buffer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray payload;
    try {
        while (LocalAuto::TakeFrame(buffer, payload))
            (void)server.AnswerOffline(payload);
    } catch (const EAutoError&) {
        // A frame longer than the bound: the connection is dropped.
    }
    server.ResetOffline();
    return 0;
}
