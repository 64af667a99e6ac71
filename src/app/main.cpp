// Program entry: the application, then the windows in their creation order, then the event loop.

#include <QApplication>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdio>
#include <memory>

#include "platform/fonts.h"
#include "platform/memory.h"
#include "platform/mpvmediaplayer.h"
#include "platform/programfolder.h"
#include "platform/toplevelwindows.h"
#include "app/application.h"

namespace {

// A second start of a program folder that already runs a jukebox brings the running one forward,
// when its window can be found, and ends.
int refuseSecondJukebox()
{
    const QString folder = platform::programFolder();
    std::fprintf(stderr, "musetra: a jukebox of %s is already running; this one ends\n",
                 QFile::encodeName(folder).constData());
    if (const platform::WindowId running = platform::windowOfProgramIn(folder))
        platform::topLevelWindows().restore(running);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    platform::returnLargeBlocksWhenFreed();
    platform::shareOneHeap();
    if (!platform::claimProgramFolder()) return refuseSecondJukebox();
    QApplication app(argc, argv);
    const std::future<void> systemFonts = platform::startReadingSystemFonts();
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Musetra Jukebox"));
    // Windows show only when start-up shows them, and only the player window's close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    app::Application windows([] { return std::make_unique<platform::MpvMediaPlayer>(); });
    return QApplication::exec();
}
