#pragma once

// The desktop player window `Tmainform`. It is created first of all windows, and its creation handler
// `FormCreate` is the program's start-up: media player, backdrops, settings, font, the silent MP3,
// the album scan, the album lists that fix every album's number, then the hand-over to the jukebox.
// Reload runs the same handler again; closing the window ends the program.
//
// The jukebox drives this window by setting its controls and calling their handlers directly, so the
// components and handlers are public and keep their established names.
//
// GUI thread only. Owned by the application object; `mainform` points at it while it lives.

#include <QImage>
#include <QString>
#include <QVector>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QCloseEvent;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenuBar;
class QPushButton;
class QSlider;
class QToolButton;

namespace platform {
class MediaPlayer;
enum class NotifyValue;
} // namespace platform

namespace player {

class Tmainform;

// The player window while it exists (non-owning).
inline Tmainform* mainform = nullptr;
// Kiosk mode: on at every start-up.
inline bool kiosk = true;
// On for the first start-up and again for every reload; never cleared.
inline bool firstrun = true;
// The silent MP3 has been written and opened once in this run.
inline bool loadedblankmp3file = false;
// Where the silent MP3 lives: the temporary folder + "blank.mp3".
inline QString blankfilepath;

// Queue and playback state, reset by every start-up.
inline int32_t dcurrentlyplayingtrack = 0; // queue row playing (or last started); 0 for none
inline int32_t dCurrentTrack = 0;          // number of queue entries
inline bool paused = false;
inline int32_t playmode = 0; // 0 stopped, 1 playing

// Puts every global of this unit back to its state at program start (test fixtures).
void resetGlobals();

// Loads the digital display font built into the program ("FONT") under its face name.
void installfont();

class Tmainform : public QWidget
{
    Q_OBJECT

public:
    using MediaPlayerFactory = std::function<std::unique_ptr<platform::MediaPlayer>()>;

    // `makeMediaPlayer` makes the one media player of the window; it is called once, by the first
    // start-up, and every reload keeps that player.
    explicit Tmainform(MediaPlayerFactory makeMediaPlayer, QWidget* parent = nullptr);
    ~Tmainform() override;

    // Start-up and shutdown.
    void FormCreate(QObject* Sender);
    void initlistboxes();
    void loadblankmp3file();
    void jukeboxbutClick(QObject* Sender);
    void reloadClick(QObject* Sender);
    void OptionsClick(QObject* Sender);
    void fileexitClick(QObject* Sender);
    void FormClose(QObject* Sender);

    // The album list as this window shows it.
    bool buildcontentlist(bool forceload);
    [[nodiscard]] bool loadtitles(QListWidget* sender, int albumindex);
    void maketitles(const QString& path);
    void addalbum(const QString& art, const QString& alb);
    void deletealbum(int i);

    // Play modes, album choice and playback; built with the rest of the window.
    void albumlistChange(QObject* Sender);
    void DalbumlistChange(QObject* Sender);
    void buttonsMouseMove(QObject* Sender);
    void CdplayerbutClick(QObject* Sender);
    void playlistbutClick(QObject* Sender);
    void StopClick(QObject* Sender);
    void volChange(QObject* Sender);
    void MPNotify(platform::NotifyValue value);

    platform::MediaPlayer* mediaPlayer() const { return mp.get(); }

    // Toolbar.
    QWidget* toolbar = nullptr;
    QVector<QImage> butimages; // images 0..9, then their faded forms at 10..19
    QToolButton* butcd = nullptr;
    QToolButton* butcdlist = nullptr;
    QToolButton* butrandom = nullptr;
    QToolButton* butjukebox = nullptr;
    QFrame* bevel4 = nullptr;
    QFrame* Bevel5 = nullptr;

    // CD-player view.
    QWidget* playpanel = nullptr;
    QComboBox* albumlist = nullptr;
    QListWidget* tracklist = nullptr;
    QFrame* coverPanel = nullptr;
    QLabel* cover = nullptr;

    // Play-list view.
    QWidget* Playlist = nullptr;
    QComboBox* Dalbumlist = nullptr;
    QListWidget* dtracklist = nullptr;
    QListWidget* dplaylist = nullptr;
    QPushButton* Add = nullptr;
    QPushButton* insert = nullptr;
    QPushButton* del = nullptr;
    QPushButton* clearlist = nullptr;

    // Transport.
    QWidget* transport = nullptr;
    QSlider* vol = nullptr;
    QToolButton* play = nullptr;
    QToolButton* Stop = nullptr;
    QToolButton* coverpickbut = nullptr;

    // Main menu.
    QAction* reload = nullptr;
    QAction* fileexit = nullptr;
    QActionGroup* modemenu = nullptr;
    QAction* Cdplayerbut = nullptr;
    QAction* playlistbut = nullptr;
    QAction* randombut = nullptr;
    QAction* jukeboxbut = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildComponents();
    QWidget* buildToolbar();
    QWidget* buildPlayPanel();
    QWidget* buildPlaylistPanel();
    QWidget* buildTransport();
    void buildMenu();

    // Steps of the start-up, in their order.
    void createMediaPlayer();
    void prepareAdminBackdrop();
    void applyKioskCursor();
    void prepareJukeboxBackdrop();
    void makeFadedToolbarImages();
    void resetPlayerState();
    void resetPlayerControls();
    void selectRememberedAlbums();
    void closeSplash();

    // Steps of the album list filling.
    void fillAlbumRows();
    void moveUnderscoreRowsBehind();
    void rebuildAlbumsInRowOrder();
    void enableForAlbums(bool albumsExist);

    MediaPlayerFactory makeMediaPlayer_;
    QMenuBar* menuBar_ = nullptr;
    std::unique_ptr<platform::MediaPlayer> mp;
};

} // namespace player
