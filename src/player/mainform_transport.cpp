// The transport controls: position bar and seeking, skipping, time display, volume and its
// triangle, audition, and the two timers.

#include "player/mainform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "library/global.h"
#include "library/rounding.h"
#include "platform/mediaplayer.h"
#include "player/frontend.h"
#include "player/volumedisplay.h"
#include "skins/colors.h"

namespace player {

namespace {

constexpr int kPositionTickMs = 1000;
constexpr int kQueueCountTickMs = 500;
constexpr int kMaxVolumePosition = 150;
constexpr int kSkipLines = 2;
constexpr int kProgressPageSize = 100;
constexpr int kProgressTicks = 5;
constexpr int kPlayFrameWidth = 3;
constexpr double kTriangleStep = 3.3;
constexpr QSize kTriangleSize(80, 14);

// Milliseconds as whole seconds, halves to even.
int roundedSeconds(double ms)
{
    return library::roundHalfEven(ms / 1000.0);
}

} // namespace

void Tmainform::buildPlaybackControls()
{
    bck = speedButton(transport, tr("Back a track"), QStringLiteral("GLYPHBACK"));
    skipback = speedButton(transport, tr("Skip back"), QStringLiteral("GLYPHSKIPBACK"));
    pause = speedButton(transport, tr("Pause"), QStringLiteral("GLYPHPAUSE"));
    skipforward = speedButton(transport, tr("Skip forward"), QStringLiteral("GLYPHSKIPFORWARD"));
    fwd = speedButton(transport, tr("Forward a track"), QStringLiteral("GLYPHFORWARD"));
    audition = speedButton(transport, tr("Toggle Audition"), QStringLiteral("GLYPHAUDITION"));
    dj = speedButton(transport, tr("Toggle DJ"), QStringLiteral("GLYPHDJ"));
    mutebut = speedButton(transport, tr("Toggle Mute"), QStringLiteral("GLYPHMUTE"));
    timemodebut =
        speedButton(transport, tr("Toggle time elapsed/remaining"), QStringLiteral("GLYPHTIMEMODE"), false);
    counter = new QLabel(QStringLiteral("-"), transport);
    counter->setToolTip(tr("Time Elapsed"));
    trlabel = new QLabel(QStringLiteral("TE"), transport);
    progress = new QSlider(Qt::Horizontal, transport);
    progress->setToolTip(tr("Track Position"));
    vol_triangle = new QLabel(transport);
    vol_triangle->setFixedSize(kTriangleSize);
    playbutmod = new QFrame(transport);
    playbutmod->setFrameShape(QFrame::Box);
    playbutmod->setLineWidth(kPlayFrameWidth);
    playbutmod->setStyleSheet(QStringLiteral("color: grey"));
    playbutmod->hide();
    play->installEventFilter(this);

    // One group with play and stop: pressing one releases the others.
    if (QButtonGroup* speedButtons = play->group()) {
        for (QToolButton* button : {bck, skipback, pause, skipforward, fwd})
            speedButtons->addButton(button);
    }
    for (QToolButton* button : {pause, bck, skipback, skipforward, fwd, dj})
        button->setEnabled(false);

    showcover = new QCheckBox(tr("Show cover"), Playlist);
    playlistcaption = new QLabel(Playlist);

    Timers = new QTimer(this);
    Timers->setInterval(kPositionTickMs);
    numberoftracks = new QTimer(this);
    numberoftracks->setInterval(kQueueCountTickMs);
    vol->setRange(0, kMaxVolumePosition);
    connectPlaybackControls();
}

void Tmainform::connectPlaybackControls()
{
    connect(play, &QToolButton::clicked, this, [this] { playClick(play); });
    connect(pause, &QToolButton::clicked, this, [this] { pauseClick(pause); });
    connect(fwd, &QToolButton::clicked, this, [this] { fwdClick(fwd); });
    connect(bck, &QToolButton::clicked, this, [this] { bckClick(bck); });
    connect(skipforward, &QToolButton::clicked, this, [this] { skipforwardClick(skipforward); });
    connect(skipback, &QToolButton::clicked, this, [this] { skipbackward(skipback); });
    connect(mutebut, &QToolButton::clicked, this, [this] { mutebutClick(mutebut); });
    connect(audition, &QToolButton::clicked, this, [this] { auditionClick(audition); });
    connect(timemodebut, &QToolButton::clicked, this, [this] { timemodebutClick(timemodebut); });
    connect(progress, &QSlider::valueChanged, this, [this] { progressChange(progress); });
    // Audition and the cover picker release each other without running the other's handler.
    connect(audition, &QToolButton::toggled, this, [this](bool down) {
        if (down) coverpickbut->setChecked(false);
    });
    connect(coverpickbut, &QToolButton::toggled, this, [this](bool down) {
        if (down) audition->setChecked(false);
    });

    connect(Add, &QPushButton::clicked, this, [this] { AddClick(Add); });
    connect(insert, &QPushButton::clicked, this, [this] { insertClick(insert); });
    connect(del, &QPushButton::clicked, this, [this] { DelClick(del); });
    connect(clearlist, &QPushButton::clicked, this, [this] { clearlistClick(clearlist); });
    connect(dplaylist, &QListWidget::itemClicked, this, [this] { dplaylistClick(dplaylist); });
    connect(dplaylist, &QListWidget::itemDoubleClicked, this, [this] { dplaylistDblClick(dplaylist); });
    connect(tracklist, &QListWidget::itemClicked, this, [this] { tracklistClick(tracklist); });

    // Track rows are dragged onto the queue; queue rows are dragged onto each other.
    dtracklist->setDragEnabled(true);
    dtracklist->setDragDropMode(QAbstractItemView::DragOnly);
    dtracklist->setDefaultDropAction(Qt::CopyAction);
    dplaylist->setSelectionMode(QAbstractItemView::SingleSelection);
    dplaylist->setDragEnabled(true);
    dplaylist->setAcceptDrops(true);
    dplaylist->setDragDropMode(QAbstractItemView::DragDrop);
    dplaylist->setDefaultDropAction(Qt::CopyAction);
    dplaylist->viewport()->installEventFilter(this);

    connect(Timers, &QTimer::timeout, this, [this] { TimersTimer(Timers); });
    connect(numberoftracks, &QTimer::timeout, this, [this] { numberoftracksTimer(numberoftracks); });
}

bool Tmainform::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dplaylist->viewport()) return queueDragEvent(event);
    if (watched == play && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        playbutmod->setGeometry(
            play->geometry().adjusted(-kPlayFrameWidth, -kPlayFrameWidth, kPlayFrameWidth, kPlayFrameWidth));
        playbutmod->lower();
    }
    return QWidget::eventFilter(watched, event);
}

void Tmainform::moveProgress(int seconds)
{
    progressmove = true;
    const auto done = qScopeGuard([] { progressmove = false; });
    progress->setValue(seconds);
}

void Tmainform::skipforwardClick(QObject* Sender)
{
    skipBy(Sender, kSkipLines);
}

void Tmainform::skipbackward(QObject* Sender)
{
    skipBy(Sender, -kSkipLines);
}

void Tmainform::skipBy(QObject* Sender, int lines)
{
    moveProgress(std::clamp(progress->value() + lines * progress->singleStep(), 0, progress->maximum()));
    progressChange(Sender);
    if (playmode == 1) (paused ? pause : play)->setChecked(true);
}

void Tmainform::progressChange(QObject*)
{
    if (progressmove) return;
    const uint32_t target = uint32_t(progress->value()) * 1000u;
    if (target != progresslastpos) {
        (void)mp->seek(int(target));
        if (!paused && !Stop->isChecked()) (void)mp->play();
    }
    progresslastpos = target;
}

void Tmainform::setupfrequency()
{
    progressmove = true;
    const auto done = qScopeGuard([] { progressmove = false; });
    progress->setMaximum(roundedSeconds(mp->length()));
    progress->setSingleStep(1);
    progress->setPageStep(kProgressPageSize);
    progress->setTickInterval(kProgressTicks);
    progress->setTickPosition(QSlider::TicksBelow);
}

void Tmainform::TimersTimer(QObject*)
{
    QCoreApplication::processEvents();
    int lengthMs = 0;
    bool lengthKnown = false;
    {
        progressmove = true;
        const auto done = qScopeGuard([] { progressmove = false; });
        lengthMs = mp->length();
        lengthKnown = mp->error() == platform::MediaError::None;
        if (lengthKnown) progress->setMaximum(roundedSeconds(lengthMs));
        const int positionMs = mp->position();
        if (mp->error() != platform::MediaError::None) {
            pressStop();
            return;
        }
        progress->setValue(roundedSeconds(positionMs));
        if (timermode == 1) {
            if (!lengthKnown) {
                pressStop();
                return;
            }
            counter->setText(minutesAndSeconds(roundedSeconds(lengthMs - positionMs)));
            return;
        }
    }
    counter->setText(minutesAndSeconds(progress->value()));
}

void Tmainform::pressStop()
{
    StopClick(nullptr);
    Stop->setChecked(true);
}

void Tmainform::sorttimemode()
{
    const QString hint = timermode == 1 ? QStringLiteral("Time Remaining") : QStringLiteral("Time Elapsed");
    counter->setToolTip(hint);
    trlabel->setToolTip(hint);
    trlabel->setText(timermode == 1 ? QStringLiteral("TR") : QStringLiteral("TE"));
}

void Tmainform::timemodebutClick(QObject*)
{
    timermode = timermode == 1 ? 0 : 1;
    sorttimemode();
}

void Tmainform::auditionClick(QObject* Sender)
{
    if (audition->isChecked()) {
        audition_mode = true;
        return;
    }
    audition_mode = false;
    StopClick(Sender);
    Stop->setChecked(true);
}

void Tmainform::volChange(QObject* Sender)
{
    if (Sender != mutebut) mutebut->setChecked(false);
    const int position = vol->value();
    drawtriangle(position);
    if (mp)
        (void)mp->setVolume(
            mutebut->isChecked() ? 0 : position * platform::MediaPlayer::kMaxVolume / kMaxVolumePosition);
    applyVoiceVolume();
    // Nothing of this window shows over the jukebox, where the volume moves by the program (a
    // track's own volume, a fade) and the jukebox's volume keys show the bar themselves.
    if ((Sender == vol || Sender == mutebut) && !frontend().jukeboxVisible()) showVolume();
    if (frontend().jukeboxVisible() && !frontend().extractionVisible()) {
        // Activating the window gives the keys back to the control that had them there (the
        // search edit); focusing the window itself would take them from it at every fade step.
        if (QWidget* window = frontend().jukeboxWindow()) window->activateWindow();
    }
}

void Tmainform::showVolume()
{
    if (volumedisplay) volumedisplay->draw(uint8_t(std::clamp(vol->value(), 0, 255)));
}

void Tmainform::mutebutClick(QObject*)
{
    volChange(mutebut);
}

void Tmainform::drawtriangle(int pos)
{
    const int w = vol_triangle->width();
    const int h = vol_triangle->height();
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(skins::tcolorToQColor(skins::clBtnFace));
    QPainter painter(&picture);
    painter.setPen(skins::tcolorToQColor(skins::clBtnHighlight));
    painter.drawLine(0, h - 2, w - 1, h - 2);
    painter.drawLine(w - 1, h - 2, w - 1, 0);
    painter.setPen(skins::tcolorToQColor(skins::clBtnShadow));
    painter.drawLine(w - 1, 0, 0, h - 2);
    const int m = library::roundHalfEven(pos / kTriangleStep);
    if (m > 0) {
        const QColor fill = skins::tcolorToQColor(skins::clHighlight);
        const int x = library::roundHalfEven((w - 2) / 10.0 * m);
        const int top = h - 3 - library::roundHalfEven((h - 3) / 10.0 * m);
        painter.setPen(fill);
        painter.setBrush(fill);
        painter.drawPolygon(QPolygon({QPoint(2, h - 3), QPoint(x, h - 3), QPoint(x, top)}));
    }
    painter.end();
    vol_triangle->setPixmap(QPixmap::fromImage(picture));
}

} // namespace player
