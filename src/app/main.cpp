// Program entry: the application, then the windows in their creation order, then the event loop.

#include <QApplication>
#include <clocale>
#include <memory>

#include "platform/memory.h"
#include "platform/mpvmediaplayer.h"
#include "app/application.h"

int main(int argc, char** argv)
{
    platform::returnLargeBlocksWhenFreed();
    QApplication app(argc, argv);
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Musetra Jukebox"));
    // Windows show only when start-up shows them, and only the player window's close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    app::Application windows([] { return std::make_unique<platform::MpvMediaPlayer>(); });
    return QApplication::exec();
}
