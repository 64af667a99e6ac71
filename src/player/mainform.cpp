#include "player/mainform.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/mediaplayer.h"

namespace player {

namespace {
constexpr int kToolbarHeight = 42;
constexpr int kToolbarPicture = 34;
constexpr int kCoverSize = 170;
constexpr int kClientWidth = 524;
constexpr int kClientHeight = 359;
constexpr int kAlbumListChars = 24;

QToolButton* toolbarPicture(QWidget* parent, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFixedSize(kToolbarPicture, kToolbarPicture);
    button->setIconSize(QSize(kToolbarPicture, kToolbarPicture));
    button->setToolTip(hint);
    return button;
}

QFrame* bevel(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::VLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QToolButton* speedButton(QWidget* parent, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setToolTip(hint);
    button->setText(hint);
    button->setCheckable(true);
    return button;
}

// An album list has a row for every album: sized by its rows, the box would measure the text of each
// one (a long wait with a large library), so it is sized by a fixed number of characters instead.
QComboBox* newAlbumList(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kAlbumListChars);
    return box;
}
} // namespace

void resetGlobals()
{
    kiosk = true;
    firstrun = true;
    loadedblankmp3file = false;
    blankfilepath.clear();
    dcurrentlyplayingtrack = 0;
    dCurrentTrack = 0;
    paused = false;
    playmode = 0;
    dPlayListMatrixAlb.clear();
    dPlayListMatrixTrk.clear();
    timermode = 0;
    audition_mode = false;
    progressmove = false;
    progresslastpos = 0;
}

Tmainform::Tmainform(MediaPlayerFactory makeMediaPlayer, QWidget* parent)
    : QWidget(parent), makeMediaPlayer_(std::move(makeMediaPlayer))
{
    buildComponents();
    buildPlaybackControls();
}

Tmainform::~Tmainform() = default;

void Tmainform::buildComponents()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMenu();
    layout->setMenuBar(menuBar_);
    layout->addWidget(buildToolbar());

    // The two views share one place; exactly one of them shows.
    auto* views = new QWidget(this);
    auto* viewsLayout = new QGridLayout(views);
    viewsLayout->setContentsMargins(4, 4, 4, 4);
    viewsLayout->addWidget(buildPlayPanel(), 0, 0);
    viewsLayout->addWidget(buildPlaylistPanel(), 0, 0);
    layout->addWidget(views, 1);
    layout->addWidget(buildTransport());

    resize(kClientWidth, kClientHeight);
}

QWidget* Tmainform::buildToolbar()
{
    toolbar = new QWidget(this);
    toolbar->setFixedHeight(kToolbarHeight);
    auto* row = new QHBoxLayout(toolbar);
    row->setContentsMargins(4, 4, 4, 4);
    butcd = toolbarPicture(toolbar, tr("CD Player Mode"));
    butcdlist = toolbarPicture(toolbar, tr("Play List Mode"));
    butrandom = toolbarPicture(toolbar, tr("Random Playlist"));
    butjukebox = toolbarPicture(toolbar, tr("Jukebox Mode"));
    bevel4 = bevel(toolbar);
    Bevel5 = bevel(toolbar);
    row->addWidget(butcd);
    row->addWidget(butcdlist);
    row->addWidget(bevel4);
    row->addWidget(butrandom);
    row->addWidget(Bevel5);
    row->addWidget(butjukebox);
    row->addStretch(1);

    connect(butcd, &QToolButton::clicked, this, [this] { CdplayerbutClick(butcd); });
    connect(butcdlist, &QToolButton::clicked, this, [this] { playlistbutClick(butcdlist); });
    connect(butjukebox, &QToolButton::clicked, this, [this] { jukeboxbutClick(butjukebox); });
    return toolbar;
}

QWidget* Tmainform::buildPlayPanel()
{
    playpanel = new QWidget(this);
    auto* grid = new QGridLayout(playpanel);
    albumlist = newAlbumList(playpanel);
    tracklist = new QListWidget(playpanel);
    coverPanel = new QFrame(playpanel);
    coverPanel->setFrameShape(QFrame::StyledPanel);
    coverPanel->setToolTip(tr("Left click to enlarge/Right click for cover picker"));
    cover = new QLabel(coverPanel);
    cover->setFixedSize(kCoverSize, kCoverSize);
    cover->setScaledContents(true);
    (new QVBoxLayout(coverPanel))->addWidget(cover);
    grid->addWidget(albumlist, 0, 0, 1, 2);
    grid->addWidget(tracklist, 1, 0);
    grid->addWidget(coverPanel, 1, 1);

    // `activated` comes from the user only: setting the row in code never runs the handler.
    connect(albumlist, &QComboBox::activated, this, [this] { albumlistChange(albumlist); });
    return playpanel;
}

QWidget* Tmainform::buildPlaylistPanel()
{
    Playlist = new QWidget(this);
    auto* grid = new QGridLayout(Playlist);
    Dalbumlist = newAlbumList(Playlist);
    dtracklist = new QListWidget(Playlist);
    dplaylist = new QListWidget(Playlist);
    Add = new QPushButton(tr("&Add >>"), Playlist);
    Add->setToolTip(tr("Add track to end of selection"));
    insert = new QPushButton(tr("&Insert >>"), Playlist);
    insert->setToolTip(tr("Insert track below cursor"));
    del = new QPushButton(tr("&Remove"), Playlist);
    del->setToolTip(tr("Remove track from playlist"));
    clearlist = new QPushButton(tr("&Clear"), Playlist);
    clearlist->setToolTip(tr("Clear Playlist"));
    del->setEnabled(false);
    clearlist->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {Add, insert, del, clearlist})
        buttons->addWidget(button);
    buttons->addStretch(1);
    grid->addWidget(Dalbumlist, 0, 0);
    grid->addWidget(dtracklist, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(dplaylist, 0, 2, 2, 1);
    Playlist->hide();

    connect(Dalbumlist, &QComboBox::activated, this, [this] { DalbumlistChange(Dalbumlist); });
    return Playlist;
}

QWidget* Tmainform::buildTransport()
{
    transport = new QWidget(this);
    auto* row = new QHBoxLayout(transport);
    play = speedButton(transport, tr("Play"));
    Stop = speedButton(transport, tr("Stop"));
    coverpickbut = speedButton(transport, tr("Cover picker"));
    auto* speedButtons = new QButtonGroup(transport);
    speedButtons->addButton(play);
    speedButtons->addButton(Stop);
    play->setEnabled(false);
    Stop->setChecked(true);
    vol = new QSlider(Qt::Horizontal, transport);
    vol->setToolTip(tr("Volume"));
    vol->setTickPosition(QSlider::NoTicks);
    row->addWidget(play);
    row->addWidget(Stop);
    row->addWidget(coverpickbut);
    row->addStretch(1);
    row->addWidget(vol);

    connect(Stop, &QToolButton::clicked, this, [this] { StopClick(Stop); });
    // Like the track bar it stands for, the volume bar runs its handler for changes made in code too.
    connect(vol, &QSlider::valueChanged, this, [this] { volChange(vol); });
    return transport;
}

void Tmainform::buildMenu()
{
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu(tr("&File"));
    reload = file->addAction(tr("&Reload Album Information..."));
    file->addSeparator();
    fileexit = file->addAction(tr("E&xit"));

    QMenu* mode = menuBar_->addMenu(tr("&Mode"));
    modemenu = new QActionGroup(this);
    Cdplayerbut = mode->addAction(tr("&CD Player Style"));
    playlistbut = mode->addAction(tr("&Play List Style"));
    randombut = mode->addAction(tr("&Random Playlist.."));
    jukeboxbut = mode->addAction(tr("&Jukebox Style..."));
    for (QAction* item : {Cdplayerbut, playlistbut, randombut, jukeboxbut}) {
        item->setCheckable(true);
        modemenu->addAction(item);
    }

    connect(reload, &QAction::triggered, this, [this] { reloadClick(reload); });
    connect(fileexit, &QAction::triggered, this, [this] { fileexitClick(fileexit); });
    connect(Cdplayerbut, &QAction::triggered, this, [this] { CdplayerbutClick(Cdplayerbut); });
    connect(playlistbut, &QAction::triggered, this, [this] { playlistbutClick(playlistbut); });
    connect(jukeboxbut, &QAction::triggered, this, [this] { jukeboxbutClick(jukeboxbut); });
}

void Tmainform::closeEvent(QCloseEvent* event)
{
    FormClose(this);
    event->accept();
}

// The toolbar pictures are painted with the rest of the window's layout.

void Tmainform::buttonsMouseMove(QObject*) {}

void Tmainform::restoreClick(QObject*) {}

} // namespace player
