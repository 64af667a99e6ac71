#include "platform/cursors.h"

#include <QCursor>
#include <optional>

namespace platform {

namespace {
std::optional<QCursor>& replacement()
{
    static std::optional<QCursor> cursor;
    return cursor;
}
} // namespace

QCursor handPointCursor()
{
    return replacement() ? *replacement() : QCursor(Qt::PointingHandCursor);
}

void setHandPointCursor(const QCursor& cursor)
{
    replacement() = cursor;
}

void resetHandPointCursor()
{
    replacement().reset();
}

} // namespace platform
