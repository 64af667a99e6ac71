#include "player/mainform.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/drawing.h"
#include "player/albumrows.h"
#include "platform/mediaplayer.h"
#include "skins/coverloader.h"

namespace player {

namespace {
constexpr int kToolbarPicture = 34;
constexpr int kCoverSize = 170;
constexpr int kAlbumListChars = 24;

QToolButton* toolbarPicture(QWidget* parent, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
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

// A built-in picture of the toolbar's image list; an empty slot when the program lacks it.
QImage modePicture(const QString& name)
{
    QImage picture = controls::programPicture(name);
    if (picture.isNull()) {
        picture = QImage(kToolbarPicture, kToolbarPicture, QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

// An album list has a row for every album: sized by its rows, the box would measure the text of each
// one (a long wait with a large library), so it is sized by a fixed number of characters instead.
QComboBox* newAlbumList(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setModel(new AlbumRows(box));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kAlbumListChars);
    return box;
}

// A list of track titles: every row is one line of the list's font, so one row is measured for all.
// Measured row by row, a title file of long lines would have each line measured whole (seconds of
// work) whenever the list is laid out, as when the window shows on the way to the program's end.
QListWidget* newTrackList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setUniformItemSizes(true);
    return list;
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
    connectWindowControls();
    placeControls();
}

Tmainform::~Tmainform()
{
    finishMakingTitles();
}

void Tmainform::buildComponents()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMenu();
    layout->setMenuBar(menuBar_);
    client_ = new QWidget(this);
    layout->addWidget(client_);
    // The two views share one place; exactly one of them shows.
    buildToolbar();
    buildPlayPanel();
    buildPlaylistPanel();
    buildTransport();
}

QWidget* Tmainform::buildToolbar()
{
    toolbar = new QWidget(client_);
    butcd = toolbarPicture(toolbar, tr("CD Player Mode"));
    butcdlist = toolbarPicture(toolbar, tr("Play List Mode"));
    butrandom = toolbarPicture(toolbar, tr("Random Playlist"));
    butjukebox = toolbarPicture(toolbar, tr("Jukebox Mode"));
    bevel4 = bevel(toolbar);
    Bevel5 = bevel(toolbar);
    filtercount = new QLabel(toolbar);
    filtercount->setToolTip(tr("Edit Album Filter"));
    filtercount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Ten slots as the image list has them, so each faded copy stands ten places behind.
    for (const QString& name : {QStringLiteral("MODECD"), QStringLiteral("MODELIST"),
                                QStringLiteral("MODERANDOM"), QStringLiteral("MODEJUKEBOX")})
        butimages.append(modePicture(name));
    while (butimages.size() < kToolbarImageSlots)
        butimages.append(modePicture(QString()));

    connect(butcd, &QToolButton::clicked, this, [this] { CdplayerbutClick(butcd); });
    connect(butcdlist, &QToolButton::clicked, this, [this] { playlistbutClick(butcdlist); });
    connect(butrandom, &QToolButton::clicked, this, [this] { randombutClick(butrandom); });
    connect(butjukebox, &QToolButton::clicked, this, [this] { jukeboxbutClick(butjukebox); });
    return toolbar;
}

QWidget* Tmainform::buildPlayPanel()
{
    playpanel = new QWidget(client_);
    albumlist = newAlbumList(playpanel);
    tracklist = newTrackList(playpanel);
    coverPanel = new QFrame(playpanel);
    coverPanel->setFrameShape(QFrame::StyledPanel);
    coverPanel->setToolTip(tr("Left click to enlarge/Right click for cover picker"));
    cover = new QLabel(coverPanel);
    cover->setFixedSize(kCoverSize, kCoverSize);
    cover->setScaledContents(true);

    // `activated` comes from the user only: setting the row in code never runs the handler.
    connect(albumlist, &QComboBox::activated, this, [this] { albumlistChange(albumlist); });
    return playpanel;
}

QWidget* Tmainform::buildPlaylistPanel()
{
    Playlist = new QWidget(client_);
    Dalbumlist = newAlbumList(Playlist);
    dtracklist = newTrackList(Playlist);
    dplaylist = newTrackList(Playlist);
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
    Playlist->hide();

    connect(Dalbumlist, &QComboBox::activated, this, [this] { DalbumlistChange(Dalbumlist); });
    return Playlist;
}

QToolButton* Tmainform::speedButton(QWidget* parent, const QString& hint, const QString& glyph,
                                    bool checkable)
{
    auto* button = new QToolButton(parent);
    button->setToolTip(hint);
    button->setIcon(QIcon(QPixmap::fromImage(controls::programPicture(glyph))));
    button->setCheckable(checkable);
    return button;
}

QWidget* Tmainform::buildTransport()
{
    transport = new QWidget(client_);
    play = speedButton(transport, tr("Play"), QStringLiteral("GLYPHPLAY"));
    Stop = speedButton(transport, tr("Stop"), QStringLiteral("GLYPHSTOP"));
    coverpickbut = speedButton(transport, tr("Cover picker"), QStringLiteral("GLYPHCOVERPICK"));
    auto* speedButtons = new QButtonGroup(transport);
    speedButtons->addButton(play);
    speedButtons->addButton(Stop);
    play->setEnabled(false);
    Stop->setChecked(true);
    vol = new QSlider(Qt::Horizontal, transport);
    vol->setToolTip(tr("Volume"));
    vol->setTickPosition(QSlider::NoTicks);

    connect(Stop, &QToolButton::clicked, this, [this] { StopClick(Stop); });
    // Like the track bar it stands for, the volume bar runs its handler for changes made in code too.
    connect(vol, &QSlider::valueChanged, this, [this] { volChange(vol); });
    return transport;
}

void Tmainform::buildMenu()
{
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu(tr("&File"));
    fileMenu_ = file;
    reload = file->addAction(tr("&Reload Album Information..."));
    file->addSeparator();
    fileexit = file->addAction(tr("E&xit"));

    QMenu* mode = menuBar_->addMenu(tr("&Mode"));
    modeMenu_ = mode;
    modemenu = new QActionGroup(this);
    Cdplayerbut = mode->addAction(tr("&CD Player Style"));
    playlistbut = mode->addAction(tr("&Play List Style"));
    randombut = mode->addAction(tr("&Random Playlist.."));
    jukeboxbut = mode->addAction(tr("&Jukebox Style..."));
    // Only the two styles carry the check mark: the other two are commands that end in one of them.
    for (QAction* item : {Cdplayerbut, playlistbut}) {
        item->setCheckable(true);
        modemenu->addAction(item);
    }
    QMenu* help = menuBar_->addMenu(tr("&Help"));
    menuabout = help->addAction(tr("&About..."));

    connect(reload, &QAction::triggered, this, [this] { reloadClick(reload); });
    connect(fileexit, &QAction::triggered, this, [this] { fileexitClick(fileexit); });
    connect(Cdplayerbut, &QAction::triggered, this, [this] { CdplayerbutClick(Cdplayerbut); });
    connect(playlistbut, &QAction::triggered, this, [this] { playlistbutClick(playlistbut); });
    connect(randombut, &QAction::triggered, this, [this] { randombutClick(randombut); });
    connect(jukeboxbut, &QAction::triggered, this, [this] { jukeboxbutClick(jukeboxbut); });
    connect(menuabout, &QAction::triggered, this, [this] { menuaboutClick(menuabout); });
    // The pictures follow the style in force whoever switches it, even by setting the check mark.
    for (QAction* item : {Cdplayerbut, playlistbut})
        connect(item, &QAction::toggled, this, [this] { buttonsMouseMove(nullptr); });
}

void Tmainform::closeEvent(QCloseEvent* event)
{
    FormClose(this);
    event->accept();
}

} // namespace player
