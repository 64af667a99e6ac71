// Where every control of the player window stands: a fixed client area of 524 x 359 pixels below
// the menu bar, with the toolbar on top, the two views in one place and the transport at the bottom.

#include "player/mainform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "platform/screens.h"

namespace player {

namespace {

constexpr int kClientWidth = 524;
constexpr int kClientHeight = 359;
constexpr int kToolbarHeight = 42;
constexpr int kTransportHeight = 66;
constexpr int kViewsHeight = kClientHeight - kToolbarHeight - kTransportHeight;
constexpr int kFontPixels = 11;
constexpr int kCounterPixels = 16;
constexpr QSize kPicture(34, 34);
constexpr QSize kSpeedButton(28, 26);
constexpr int kCoverFrame = 4;

// Speed buttons side by side from `left`, one button width apart.
void placeRow(std::initializer_list<QWidget*> buttons, int left, int top)
{
    for (QWidget* button : buttons) {
        button->setGeometry(QRect(QPoint(left, top), kSpeedButton));
        left += kSpeedButton.width();
    }
}

} // namespace

void Tmainform::placeControls()
{
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    client_->setFixedSize(kClientWidth, kClientHeight);
    // The window is exactly its menu bar and client area; the operator cannot resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    toolbar->setGeometry(0, 0, kClientWidth, kToolbarHeight);
    butcd->setGeometry(QRect(QPoint(4, 4), kPicture));
    butcdlist->setGeometry(QRect(QPoint(40, 4), kPicture));
    bevel4->setGeometry(77, 4, 2, kPicture.height());
    butrandom->setGeometry(QRect(QPoint(82, 4), kPicture));
    Bevel5->setGeometry(119, 4, 2, kPicture.height());
    butjukebox->setGeometry(QRect(QPoint(124, 4), kPicture));
    filtercount->setGeometry(170, 4, kClientWidth - 178, kPicture.height());

    const QRect views(0, kToolbarHeight, kClientWidth, kViewsHeight);
    playpanel->setGeometry(views);
    albumlist->setGeometry(8, 6, 508, 24);
    tracklist->setGeometry(8, 36, 324, 208);
    coverPanel->setGeometry(338, 36, cover->width() + 2 * kCoverFrame, cover->height() + 2 * kCoverFrame);
    cover->move(kCoverFrame, kCoverFrame);

    Playlist->setGeometry(views);
    // The play-list view covers the CD-player view whenever it shows.
    Playlist->setAutoFillBackground(true);
    Playlist->raise();
    Dalbumlist->setGeometry(8, 6, 220, 24);
    dtracklist->setGeometry(8, 36, 220, 184);
    showcover->setGeometry(8, 224, 150, 20);
    int top = 36;
    for (QPushButton* button : {Add, insert, del, clearlist}) {
        button->setGeometry(234, top, 78, 26);
        top += 30;
    }
    dplaylist->setGeometry(318, 6, 198, 214);
    playlistcaption->setGeometry(318, 224, 198, 20);

    transport->setGeometry(0, kToolbarHeight + kViewsHeight, kClientWidth, kTransportHeight);
    progress->setGeometry(6, 4, 384, 26);
    counter->setGeometry(396, 4, 64, 26);
    QFont digits = small;
    digits.setPixelSize(kCounterPixels);
    digits.setBold(true);
    counter->setFont(digits);
    counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    trlabel->setGeometry(462, 4, 28, 26);
    timemodebut->setGeometry(QRect(QPoint(492, 4), kSpeedButton));
    placeRow({play, pause, Stop}, 6, 36);
    placeRow({bck, skipback, skipforward, fwd}, 94, 36);
    placeRow({coverpickbut, audition}, 212, 36);
    placeRow({dj, mutebut}, 272, 36);
    vol_triangle->move(420, 34);
    vol->setGeometry(414, 48, 92, 16);
    centreOnMonitor();
}

void Tmainform::centreOnMonitor()
{
    adjustSize();
    const QRect monitor = platform::screens().geometry(this);
    // `move` places the frame, so the frame is what gets centred.
    move(monitor.center() - QRect(QPoint(0, 0), frameGeometry().size()).center());
}

} // namespace player
