#include "player/video.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "library/global.h"
#include "platform/mediaplayer.h"
#include "player/mainform.h"

namespace player {

namespace {

// The bounds of monitor `index` (from 0); the primary monitor's when there is no such monitor.
QRect monitorBounds(int index)
{
    const QList<QScreen*> monitors = QGuiApplication::screens();
    if (index >= 0 && index < monitors.size()) return monitors.at(index)->geometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

} // namespace

Tvideo::Tvideo(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
}

Tvideo::~Tvideo() = default;

void Tvideo::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) FormClick(this);
    QWidget::mouseReleaseEvent(event);
}

void Tvideo::FormClick(QObject*)
{
    hide();
}

void videoshow()
{
    if (!video) return;
    video->show();
    platform::MediaPlayer* player = mainform ? mainform->mediaPlayer() : nullptr;
    if (player) player->setDisplay(video);
    video->setGeometry(monitorBounds(library::config.videomonitor));
    if (player) player->setDisplayRect(video->rect());
}

} // namespace player
