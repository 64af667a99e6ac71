#include "library/osk.h"

#include <QByteArray>

#include "library/runprogram.h"
#include "platform/mailslot.h"
#include "platform/screens.h"

namespace library {

namespace {

int screenHeight()
{
    return platform::screens().geometry(nullptr).height();
}

} // namespace

QString oskMailslotName()
{
    return platform::displayMailslotName(QStringLiteral("KVOSK1"));
}

QString oskCommandLine(int screenheight, bool alpha)
{
    QString commandline =
        QStringLiteral("musosk.exe ") + QString::number(screenheight / 4) + QStringLiteral(" 50 35");
    if (alpha) commandline += QStringLiteral(" ALPHA");
    return commandline;
}

void osk(bool show, bool alpha)
{
    if (show) {
        keyboardshowing = true;
        // A keyboard that does not start leaves the screen without one; nothing more to do.
        (void)runprogram(oskCommandLine(screenHeight(), alpha), 0, false);
    } else {
        keyboardshowing = false;
        writeoskmailslot(QStringLiteral("close"));
    }
}

void hideosk()
{
    if (keyboardshowing) osk(false, false);
}

void writeoskmailslot(const QString& s)
{
    QByteArray message = s.toUtf8();
    message.append('\0');
    // Nobody reads the mailslot when the keyboard is not running; the message is then dropped.
    (void)platform::writeMailslot(oskMailslotName(), message);
}

} // namespace library
