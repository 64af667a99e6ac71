// The floor of a Qt start-up: a program that maps one full-screen window and then waits. The
// process start-up benchmark starts it beside the jukebox, under the same X server.

#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setStyleSheet(QStringLiteral("background: black"));
    // Over the whole screen even where no window manager places full-screen windows (as the jukebox).
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    return QApplication::exec();
}
