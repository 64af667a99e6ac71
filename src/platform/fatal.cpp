#include "platform/fatal.h"

#include <QString>
#include <cstdlib>

#include "platform/dialogs.h"

namespace platform {

namespace {
std::function<void(int)>& haltHandler()
{
    static std::function<void(int)> handler;
    return handler;
}
} // namespace

void fatalError(const QString& caption, const QString& text)
{
    dialogs().messageBox(caption, text, MessageIcon::Error, MessageButtons::Ok);
    halt(1);
}

void halt(int code)
{
    if (haltHandler()) haltHandler()(code);
    std::_Exit(code);
}

void setHaltHandler(std::function<void(int)> handler)
{
    haltHandler() = std::move(handler);
}

} // namespace platform
