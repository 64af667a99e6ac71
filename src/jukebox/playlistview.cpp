#include "jukebox/playlistview.h"

#include "controls/drawing.h"
#include "controls/scrolllistbox.h"
#include "controls/ticker.h"
#include "controls/timersource.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/jukeboxform_build.h"
#include "jukebox/panellist.h"
#include "jukebox/picturebox.h"

namespace jukebox {

namespace {

constexpr int kFirstInterval = 250;
constexpr int kIntervalStep = 5;
constexpr int kFastestInterval = 10;
constexpr int kListLeft = 4;
constexpr int kListTop = 20;
constexpr int kKeysRoom = 75;
constexpr int kListBottomGap = 15;
constexpr int kInnerFrameGap = 3;
constexpr int kKeyGap = 10;
constexpr int kKeyWidth = 30;
constexpr int kMoveKeyHeight = 40;
constexpr int kKeyHeight = 30;

// The key's built-in picture, released or pressed ("PLAYLIST_MOVEUP_UP", "..._DOWN").
QImage keyPicture(const PictureBox* key, bool pressed)
{
    const QString name = QStringLiteral("PLAYLIST_") + key->objectName().toUpper() +
                         (pressed ? QStringLiteral("_DOWN") : QStringLiteral("_UP"));
    return controls::programPicture(name);
}

} // namespace

tplaylistview::tplaylistview(QWidget* AOwner) : TTransparentPanel(AOwner)
{
    lb = makePanelList(this, "lb");
    lb->sethighlightindex(true);
    lb->sethighlightcolor(build::kPanelTextColour);
    lb->sethighlightindex2(true);
    lb->sethighlightcolor2(build::kWhite);
    lbshape = makeListFrame(this, "lbshape", false);
    lbshape2 = makeListFrame(this, "lbshape2", true);
    buttimer = controls::timerSource().makeTicker(this);
    buttimer->setEnabled(false);
    buttimer->setInterval(kFirstInterval);
    connect(buttimer, &controls::Ticker::timeout, this, &tplaylistview::OnTimer);
    moveup = makeKey("moveup");
    movedown = makeKey("movedown");
    remove = makeKey("remove");
    play = makeKey("play");
    purge = makeKey("purge");
}

PictureBox* tplaylistview::makeKey(const char* name)
{
    auto* key = build::named<PictureBox>(name, this);
    key->setStretch(true);
    // The colour of a picture's corner lets the backdrop show (pure red for play and purge).
    key->setTransparent(true);
    key->setPicture(keyPicture(key, false));
    connect(key, &PictureBox::OnMouseDown, this, [this, key] { butMouseDown(key); });
    connect(key, &PictureBox::OnMouseUp, this, [this, key] { butMouseUp(key); });
    return key;
}

void tplaylistview::resizeEvent(QResizeEvent* event)
{
    TTransparentPanel::resizeEvent(event);
    Resize();
}

void tplaylistview::Resize()
{
    const int top = aspy(kListTop);
    lb->setGeometry(aspy(kListLeft), top, std::max(1, width() - aspx(kKeysRoom)),
                    std::max(1, height() - top - aspy(kListBottomGap)));
    scalePanelList(lb);
    placeListFrames(lbshape, lbshape2, lb->geometry(), kInnerFrameGap);
    const int left = lb->geometry().right() + 1 + aspx(kInnerFrameGap + kKeyGap);
    int y = lb->y();
    for (PictureBox* key : {moveup, movedown, remove, play}) {
        const int keyHeight = key == moveup || key == movedown ? kMoveKeyHeight : kKeyHeight;
        key->setGeometry(left, y, aspx(kKeyWidth), aspy(keyHeight));
        y = key->geometry().bottom() + 1 + aspy(kKeyHeight);
    }
    purge->setGeometry(left, height() - aspy(kKeyHeight), aspx(kKeyWidth), aspy(kKeyHeight));
    lb->Paint();
}

void tplaylistview::butMouseDown(PictureBox* key)
{
    if (key == moveup || key == movedown) {
        currentbut = key;
        buttimer->setInterval(kFirstInterval);
        buttimer->setEnabled(true);
    }
    key->setPicture(keyPicture(key, true));
}

void tplaylistview::butMouseUp(PictureBox* key)
{
    buttimer->setEnabled(false);
    key->setPicture(keyPicture(key, false));
}

void tplaylistview::OnTimer()
{
    if (buttimer->interval() > kFastestInterval)
        buttimer->setInterval(std::max(buttimer->interval() - kIntervalStep, kFastestInterval));
    if (currentbut) Q_EMIT currentbut->OnClick(currentbut);
}

} // namespace jukebox
