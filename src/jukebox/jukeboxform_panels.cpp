// Operator panels: the corner pictures and the panels they open, the control panel's keys, the
// kiosk buttons and the random playlist. The advanced options and the commerce settings are in
// jukeboxform_admin.cpp.

#include "jukebox/jukeboxform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QPainter>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/drawing.h"
#include "controls/scrolllistbox.h"
#include "controls/selecterlistbox.h"
#include "controls/talphabetbar.h"
#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/transparentpanel.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform_build.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/ripperhooks.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "library/global.h"
#include "library/osk.h"
#include "player/mainform.h"
#include "player/randomfromalbums.h"
#include "player/video.h"
#include "skins/imaging.h"
#include "skins/resourceskins.h"

namespace jukebox {

namespace {

constexpr int kVolumeRepeatMs = 100;
constexpr int kFastestVolumeRepeatMs = 10;
constexpr int kTicksBeforeSpeedUp = 11;
constexpr int kDiceEvery = 20;
constexpr int kDiceFaces = 4;
constexpr int kCountBelowDice = 50;
constexpr int kRandomCancelWidth = 275;
constexpr int32_t kWarningRed = 0x0000FF;
constexpr int32_t kChooseButton = 1;
constexpr int32_t kBackButton = 2;

// The corner's panel takes the shape of its button: the colour at the picture's inner corner (the
// one facing the middle of the screen) is background, where what lies beneath shows through and
// takes the touches. A picture that is all background keeps its whole square.
void shapeCorner(PictureBox* corner)
{
    QWidget* panel = corner->parentWidget();
    QRegion shape;
    if (!corner->picture().isNull() && !panel->size().isEmpty()) {
        const QImage shown = corner->picture()
                                 .scaled(panel->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
        const QPoint inner(panel->x() == 0 ? shown.width() - 1 : 0, panel->y() == 0 ? shown.height() - 1 : 0);
        shape = skins::maskRegion(shown, shown.pixel(inner));
    }
    if (shape.isEmpty())
        panel->clearMask();
    else
        panel->setMask(shape);
}

// Flips the open state kept in the corner's Tag; returns the new state.
bool toggleCorner(PictureBox* corner, const QString& name, const library::tskin& skin)
{
    const bool open = tagOf(corner) == 0;
    setTag(corner, open ? 1 : 0);
    build::showCorner(corner, name, skin, open);
    return open;
}

// One of the dice faces the random build rolls through: a white die with `pips` pips (1..4).
QImage dicePicture(int pips)
{
    constexpr int kSize = 64;
    QImage face(kSize, kSize, QImage::Format_RGB32);
    face.fill(Qt::black);
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 2));
    painter.drawRoundedRect(QRectF(4, 4, kSize - 8, kSize - 8), 10, 10);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    const QPointF centre(kSize / 2.0, kSize / 2.0);
    const double off = kSize / 4.5;
    QList<QPointF> spots;
    if (pips % 2 == 1) spots << centre;
    if (pips >= 2) spots << centre + QPointF(-off, -off) << centre + QPointF(off, off);
    if (pips >= 4) spots << centre + QPointF(off, -off) << centre + QPointF(-off, off);
    for (const QPointF& spot : spots)
        painter.drawEllipse(spot, 5.5, 5.5);
    return face;
}

} // namespace

void build::showCorner(PictureBox* corner, const QString& name, const library::tskin& skin, bool open)
{
    corner->setPicture(
        skins::skinPictureOrNull(name + (open ? QStringLiteral("UP") : QStringLiteral("DOWN")), skin));
    shapeCorner(corner);
}

// ---- Corners ----

void Tjukebox::openpanelClick(QObject*)
{
    const bool open = toggleCorner(openpanel, QStringLiteral("RCORNER"), library::config.theme.srcorner);
    panel->setVisible(open);
    if (open) panel->raise();
}

// Passing over the corner shows the panel without opening it for good.
void Tjukebox::openpanelMouseMove(QObject*, Qt::KeyboardModifiers, int, int)
{
    build::showCorner(openpanel, QStringLiteral("RCORNER"), library::config.theme.srcorner, true);
    panel->show();
    panel->raise();
}

void Tjukebox::kioskpanelClick(QObject*)
{
    if (playlistpanel && playlistpanel->isVisible()) playlistpanel->hide();
    const bool open = toggleCorner(kioskpanel, QStringLiteral("BRCORNER"), library::config.theme.sbrcorner);
    panel_kiosk->setVisible(open);
    if (open) panel_kiosk->raise();
    library::hideosk();
}

void Tjukebox::VisualsPanelClick(QObject*)
{
    setvisualspanel(tagOf(VisualsPanel) == 0);
}

void Tjukebox::setvisualspanel(bool on)
{
    const library::tskin& skin = library::config.theme.slcorner;
    if (!on) {
        setTag(VisualsPanel, 0);
        build::showCorner(VisualsPanel, QStringLiteral("LCORNER"), skin, false);
        thumbpanel->hide();
        imViewMode->setVisible(!library::config.disable3d);
        return;
    }
    if (tagOf(panel_searchbut_image) == 1) panel_searchbut_imageClick(panel_searchbut_image);
    if (playlistpanel && playlistpanel->isVisible()) playlistpanel->hide();
    setTag(VisualsPanel, 1);
    build::showCorner(VisualsPanel, QStringLiteral("LCORNER"), skin, true);
    library::hideosk();
    thumbpanel->show();
    thumbpanel->raise();
    alphapanel->raise();
    thumbpanel->setFocus();
    kioskpanelpanel->raise();
    // The control panel and the operator's menu, when open, stay whole above the pictures.
    for (QWidget* open : std::initializer_list<QWidget*>{panel, panel_kiosk})
        if (!open->isHidden()) open->raise();
    imViewMode->hide();
}

// ---- The control panel: reject, mute and volume ----

namespace {

bool isVolumeUp(const Tjukebox& window, const QObject* sender)
{
    return sender == window.volumeupshape2 || sender == window.volumeuplabel;
}

bool isVolumeDown(const Tjukebox& window, const QObject* sender)
{
    return sender == window.volumedownshape2 || sender == window.volumedownlabel;
}

// The player's queue has its last row selected.
bool onLastQueueRow(const player::Tmainform& mf)
{
    return mf.dplaylist->currentRow() == mf.dplaylist->count() - 1;
}

} // namespace

void Tjukebox::panelshapeMouseDown(QObject* Sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    if (Sender == rejectshape1 || Sender == rejectshape2) {
        reject->setPicture(controls::programPicture(QStringLiteral("REJECTDOWN")));
        rejectTrack();
    } else if (Sender == muteshape2) {
        player::Tmainform* mf = player::mainform;
        if (!mf) return;
        mf->mutebut->setChecked(!mf->mutebut->isChecked());
        showMuteState();
        mf->volChange(mf->mutebut);
        mf->showVolume();
    } else if (isVolumeUp(*this, Sender) || isVolumeDown(*this, Sender)) {
        volumesender = Sender;
        volumetimer->setEnabled(true);
        PictureBox* key = isVolumeUp(*this, Sender) ? volumeup : volumedown;
        key->setPicture(controls::programPicture(QStringLiteral("VOLUMEDOWN")));
        setTag(key, 1);
        stepVolume(isVolumeUp(*this, Sender) ? 1 : -1);
        // A volume step ends a mute, so the mute key comes up with it.
        showMuteState();
    }
}

void Tjukebox::panelshapeMouseUp(QObject* Sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    if (Sender == rejectshape1 || Sender == rejectshape2) {
        reject->setPicture(controls::programPicture(QStringLiteral("REJECTUP")));
        if (playlistpanel && playlistpanel->isVisible()) playlistpanel->hide();
    } else if (Sender == muteshape2) {
        showMuteState();
    } else if (isVolumeUp(*this, Sender) || isVolumeDown(*this, Sender)) {
        volumetimer->setEnabled(false);
        volumetimer->setInterval(kVolumeRepeatMs);
        setTag(volumetimer, 0);
        PictureBox* key = isVolumeUp(*this, Sender) ? volumeup : volumedown;
        key->setPicture(controls::programPicture(QStringLiteral("VOLUMEUP")));
        setTag(key, 0);
    }
}

void Tjukebox::showMuteState()
{
    const bool muted = player::mainform && player::mainform->mutebut->isChecked();
    mute->setPicture(controls::programPicture(muted ? QStringLiteral("MUTEDOWN") : QStringLiteral("MUTEUP")));
}

// A background track gives way to another; a chosen track to the next in the queue. The last
// queued track stops, and background play takes over when it is on.
void Tjukebox::rejectTrack()
{
    if (autoplaying) {
        domessage(QStringLiteral("Rejected Track"));
        coverimagepanel->hide();
        QCoreApplication::processEvents();
        startautoplay();
        return;
    }
    player::Tmainform* mf = player::mainform;
    if (!mf || !mf->play->isChecked()) return;
    if (onLastQueueRow(*mf)) {
        mf->Stop->setChecked(true);
        mf->StopClick(mf->Stop);
        domessage(QStringLiteral("Rejected Track"));
        if (library::autoplaymode) {
            startautoplay();
            return;
        }
    }
    mf->fwdClick(mf->fwd);
}

// The volume-down key speeds up after every 11 ticks held, down to one step per 10 ms; the other
// volume controls repeat steadily.
void Tjukebox::volumetimerTimer(QObject*)
{
    if (!isVolumeUp(*this, volumesender) && !isVolumeDown(*this, volumesender)) return;
    stepVolume(isVolumeUp(*this, volumesender) ? 1 : -1);
    const int ticks = tagOf(volumetimer) + 1;
    setTag(volumetimer, ticks);
    if (ticks >= kTicksBeforeSpeedUp && volumesender == volumedownshape2) {
        volumetimer->setInterval(std::max(kFastestVolumeRepeatMs, volumetimer->interval() / 2));
        setTag(volumetimer, 0);
    }
}

// ---- Kiosk buttons ----

void Tjukebox::rejectallClick(QObject*)
{
    if (autoplaycb->checked()) {
        autoplaycb->setchecked(false);
        autoplaycbClick(autoplaycb);
        if (player::video && player::video->isVisible()) player::video->hide();
        if (coverimagepanel->isVisible()) coverimagepanel->hide();
    }
    player::Tmainform* mf = player::mainform;
    if (mf) {
        mf->clearlistClick(mf->clearlist);
        mf->loadblankmp3file();
    }
    domessage(QStringLiteral("Rejected all tracks"));
}

void Tjukebox::ripbutClick(QObject*)
{
    kioskpanelClick(kioskpanel);
    QCoreApplication::processEvents();
    library::hideosk();
    player::Tmainform* mf = player::mainform;
    if (mf) mf->numberoftracks->stop();
    // The extraction window covers this one while the road runs, so the line is emptied: what the
    // road leaves there (the album it made) is then the first thing the guests see.
    domessage(QString());
    ripperHooks().rip_go();
    if (mf) mf->numberoftracks->start();
    drawalbum(currentalbum);
    welcomeAfterMessage();
}

// A message on the line runs across it once in full, so it can be read, before the welcome
// replaces it; one that another message replaced meanwhile is not followed.
void Tjukebox::welcomeAfterMessage()
{
    if (oldmessage.isEmpty() || !lcd3) return showWelcome();
    const QString shown = oldmessage;
    connect(
        lcd3, &controls::TTextScroller::messagedone, this,
        [this, shown] {
            if (oldmessage == shown) showWelcome();
        },
        Qt::SingleShotConnection);
}

void Tjukebox::showWelcome()
{
    QStringList parts{QStringLiteral("Welcome - %1 albums available").arg(library::albumcount)};
    // What the operator must put right stands behind the greeting: why no album shows, a refused
    // passcode.
    for (const QString& problem : {library::libraryproblem, library::passcodeproblem}) {
        if (!problem.isEmpty()) parts << problem;
    }
    domessage(parts.join(QStringLiteral(" - ")));
}

void Tjukebox::lsb1playallClick(QObject*)
{
    playall(lsb1);
}

void Tjukebox::lsb2playallClick(QObject*)
{
    playall(lsb2);
}

void Tjukebox::coverimageClick(QObject*)
{
    coverimagepanel->hide();
}

// ---- Random playlist ----

namespace {

// The random panel's face for choosing albums: the list and its buttons.
void showChoosingFace(Tjukebox& window, bool on)
{
    for (QWidget* choosing : std::initializer_list<QWidget*>{
             window.randompanelOK, window.randompanelcancel, window.randompanelselectall,
             window.randompanelselectnone, window.randompanellb, window.randompanelshape1,
             window.randompanelshape2})
        choosing->setVisible(on);
}

} // namespace

void Tjukebox::randombutClick(QObject*)
{
    library::hideosk();
    raiseRandomPanel();
    if (randompanel->isVisible()) {
        randompanel->hide();
        return;
    }
    placeRandomPanel();
    randomdicepanel->move((randompanel->width() - randomdicepanel->width()) / 2,
                          (randompanel->height() - randomdicepanel->height()) / 2);
    RandomCancel->resize(aspx(kRandomCancelWidth), RandomCancel->height());
    randompanelOK->setbuttoncolor(kChooseButton);
    randompanelcancel->setbuttoncolor(kBackButton);
    cancelrandomop = false;
    RandomCancel->hide();
    randomdicepanel->hide();
    randompanel->show();
    showChoosingFace(*this, true);
    randomcountlabel->setFontColor(build::kPanelTextColour);
    player::InitRandom();
    randompanellb->clear();
    if (player::mainform) {
        const QComboBox* albums = player::mainform->Dalbumlist;
        for (int row = 0; row < albums->count(); ++row)
            randompanellb->items().add(albums->itemText(row));
    }
    randompanellb->Paint(); // adding rows does not draw them
    randomcountlabel->setText(QStringLiteral("Tracks selected: 0"));
}

void Tjukebox::randompanellbClick(QObject*)
{
    const int row = randompanellb->itemindex();
    if (row < 0) return;
    if (randompanellb->IsSelected(row))
        randomcountlabel->setText(QStringLiteral("Total tracks selected: %1").arg(player::AddAlbum(row)));
    else
        randomcountlabel->setText(QStringLiteral("Total Tracks selected: %1").arg(player::RemoveAlbum(row)));
}

void Tjukebox::randompanelselectallClick(QObject*)
{
    player::InitRandom();
    randompanellb->selectall();
    for (int row = 0; row < randompanellb->count(); ++row)
        randomcountlabel->setText(QStringLiteral("Total tracks selected: %1").arg(player::AddAlbum(row)));
}

void Tjukebox::randompanelselectnoneClick(QObject*)
{
    randompanellb->selectnone();
    player::InitRandom();
    randomcountlabel->setText(QStringLiteral("Total tracks selected: 0"));
}

void Tjukebox::randompanelOKClick(QObject*)
{
    if (player::getrandomtrackcount() == 0) {
        randomcountlabel->setFontColor(kWarningRed);
        randomcountlabel->setText(QStringLiteral("No albums selected."));
        return;
    }
    RandomCancel->setbuttoncolor(kBackButton);
    RandomCancel->show();
    RandomCancel->raise();
    showChoosingFace(*this, false);
    randomcountlabel->move((randompanel->width() - randomcountlabel->width()) / 2,
                           randomdicepanel->geometry().bottom() + 1 + aspy(kCountBelowDice));
    randomdicepanel->show();
    QCoreApplication::processEvents();
    // The engine counts its entries from 0; the panel counts tracks added.
    (void)player::makerandom([this](int index) { return cb(index + 1); });
    randompanel->hide();
    kioskpanelClick(kioskpanel);
    QCoreApplication::processEvents();
}

bool Tjukebox::cb(int n)
{
    randomcountlabel->setText(QStringLiteral("Tracks added: %1").arg(n));
    if (n % kDiceEvery == 0) {
        const int face = tagOf(randomdice);
        randomdice->setPicture(dicePicture(face + 1));
        setTag(randomdice, (face + 1) % kDiceFaces);
    }
    player::Tmainform* mf = player::mainform;
    if (n == 1 && mf) {
        library::autoplaymode = false;
        mf->playClick(mf->play);
    }
    QCoreApplication::processEvents();
    return cancelrandomop;
}

void Tjukebox::RandomCancelClick(QObject*)
{
    cancelrandomop = true;
}

void Tjukebox::randompanelcancelClick(QObject*)
{
    kioskpanelClick(kioskpanel);
    randompanel->hide();
}

} // namespace jukebox
