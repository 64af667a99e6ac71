// The on-screen keyboard program: musosk TOP WIDTH% HEIGHT% [ALPHA]. It needs an X server, on
// which it sends its key strokes through XTest; without one it says so and ends.

#include <QApplication>
#include <QScreen>
#include <cstdio>

#include "osk/onscreenkeyboard.h"
#include "platform/keystrokes.h"
#include "platform/termination.h"

namespace {

int fail(const char* message)
{
    std::fprintf(stderr, "musosk: %s\n", message);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // The keyboard serves the jukebox that started it and goes with it, whatever ends the jukebox.
    if (!platform::endWithParent()) return fail("the program that started the keyboard has ended");
    // Without a display Qt's X platform would end the program with an abort.
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !platform::keystrokesAvailable())
        return fail("no X server with the XTest extension: the on-screen keyboard cannot show");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    const QRect place = osk::keyboardGeometry(arguments, app.primaryScreen()->geometry());
    if (!place.isValid()) return fail("usage: musosk TOP WIDTH% HEIGHT% [ALPHA]");
    // "ALPHA" (the letter layout) is accepted; the one layout already has the letters.
    osk::OnScreenKeyboard keyboard;
    if (!keyboard.listen()) return fail("another on-screen keyboard is running");
    // A stop ends the event loop, so the mailslot is removed on the way out.
    platform::onTerminationRequest(&keyboard, [] { QCoreApplication::quit(); });
    keyboard.setGeometry(place);
    keyboard.show();
    return app.exec();
}
