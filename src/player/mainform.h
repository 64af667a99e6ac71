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
#include <QSet>
#include <QString>
#include <QVector>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QThread;
class QActionGroup;
class QCheckBox;
class QEvent;
class QCloseEvent;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace platform {
enum class SpeechMissing;
class MediaPlayer;
enum class NotifyValue;
enum class SoundTrouble;
} // namespace platform

namespace player {

class Tmainform;

// The player window while it exists (non-owning).
inline Tmainform* mainform = nullptr;
// Kiosk mode: on at every start-up.
inline bool kiosk = true;
// The debug switch: traces and repaints for debugging; off in every build.
inline bool DEBUGON = false;
// TV mode: the jukebox shows its favourites button; no setting switches it on.
inline bool tvmode = false;
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

// The queue's entries, indexed by row of `dplaylist`: album folder and 1-based track number. They
// grow with the rows and never shrink, so only rows below the row count are live.
inline QStringList dPlayListMatrixAlb;
inline QVector<int32_t> dPlayListMatrixTrk;
inline int32_t timermode = 0;        // 0 shows elapsed time, 1 remaining time
inline bool audition_mode = false;   // each track plays only its first `auditiontimeout` seconds
inline bool progressmove = false;    // the program itself moves `progress`: its handler does not seek
inline uint32_t progresslastpos = 0; // the last position sought, in ms

// The i-th file (from 1) matching "*.MP?" in folder `pth`, in name order; empty when there are fewer.
QString gettrackatfilepos(int i, const QString& pth);
// The file of queue entry (`folder`, `track`): "TRACKnn.MP3", else "TRACKnn.MPG", else the track-th
// "*.MP?" file, all found without regard to case; else the "TRACKnn.MPG" name, which does not exist.
QString queuetrackfile(const QString& folder, int track);
// The file of album row `row` (from 0) in the CD-player style: "TRACKnn.MP3", else the title + ".mp3".
QString cdtrackfile(const QString& folder, int row, const QString& title);
// Reports a file that is missing (`errortype` 0) or cannot be played (1) on the jukebox's message
// line and in the error log, when that file exists.
void showerror(const QString& txt, int errortype);

// Puts every global of this unit back to its state at program start (test fixtures).
void resetGlobals();

// Loads the digital display font built into the program ("FONT") under its face name.
void installfont();

// Enables (true) or disables (false) the player window's "&File" and "&Mode" menus.
void mainmenuvisible(bool i);

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

    // Play modes, album choice and the window's own controls.
    void albumlistChange(QObject* Sender);
    void DalbumlistChange(QObject* Sender);
    // Shows each toolbar picture lit when the mouse is over it (`Sender`) or its style is in force,
    // else faded.
    void buttonsMouseMove(QObject* Sender);
    void restoreClick(QObject* Sender);
    void CdplayerbutClick(QObject* Sender);
    void playlistbutClick(QObject* Sender);
    void randombutClick(QObject* Sender);
    void tracklistDblClick(QObject* Sender);
    void dtracklistDblClick(QObject* Sender);
    void coverClick(QObject* Sender);
    void showcoverClick(QObject* Sender);
    void coverpickbutClick(QObject* Sender);
    void menuaboutClick(QObject* Sender);
    void FormActivate(QObject* Sender);
    // The Ctrl+Alt chords and Esc; `Key` becomes 0 when the chord acted.
    void FormKeyUp(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift);
    void buttonstimerTimer(QObject* Sender);
    void djClick(QObject* Sender);
    void StopClick(QObject* Sender);
    // Stops as a press of the Stop button does: the player stops and its buttons say so, so the
    // next selection starts playing.
    void pressStop();
    void volChange(QObject* Sender);
    // Shows the on-screen volume bar for the volume bar's position.
    void showVolume();
    void MPNotify(platform::NotifyValue value);

    platform::MediaPlayer* mediaPlayer() const { return mp.get(); }

    // ---- Play queue and playback ----
    // `AddClick` never starts playback: callers that want the new entry to play call `playClick`.
    // `creditTaken`: the caller used a credit for this selection, so a refused repeat gives it back.
    void AddClick(QObject* Sender, bool creditTaken = false);
    void insertClick(QObject* Sender);
    void DelClick(QObject* Sender);
    void clearlistClick(QObject* Sender);
    void dplaylistDragOver(QObject* Sender, QObject* Source, int X, int Y, bool& Accept);
    void dplaylistDragDrop(QObject* Sender, QObject* Source, int X, int Y);
    void dplaylistClick(QObject* Sender);
    void dplaylistDblClick(QObject* Sender);
    // Exchanges queue rows `a` and `b` with their entries; the playing row follows its entry.
    void swapQueueEntries(int a, int b);
    // The queue, the albums the lists show and the open file follow album folder `from` to its new
    // name `to`.
    void followAlbumFolder(const QString& from, const QString& to);
    // Takes the entries of album folder `folder` out of the queue, all but the one whose file the
    // media player holds: that track is rejected first, then this is called again.
    void removeQueuedAlbum(const QString& folder);
    // The media player holds a file of album folder `folder`.
    bool holdsFileOf(const QString& folder) const;

    void playClick(QObject* Sender);
    // Loads queue entry `num` into the media player (a run of missing files is skipped) and returns
    // its album folder.
    QString setuptrackname(int num);
    void tracklistClick(QObject* Sender);
    // Starts the loaded file; false when it does not exist.
    bool mpplay();
    void fwdClick(QObject* Sender);
    void bckClick(QObject* Sender);
    void skipforwardClick(QObject* Sender);
    void skipbackward(QObject* Sender);
    void pauseClick(QObject* Sender);
    void progressChange(QObject* Sender);
    void mutebutClick(QObject* Sender);
    void auditionClick(QObject* Sender);
    void timemodebutClick(QObject* Sender);
    void sorttimemode();
    void setupfrequency();
    void drawtriangle(int pos);
    void TimersTimer(QObject* Sender);
    void numberoftracksTimer(QObject* Sender);
    // Handlers of the rest of the window that playback calls.
    void doDJ(const QString& album);
    void dtracklistClick(QObject* Sender);

    QToolButton* pause = nullptr;
    QToolButton* fwd = nullptr;
    QToolButton* bck = nullptr;
    QToolButton* skipforward = nullptr;
    QToolButton* skipback = nullptr;
    QToolButton* audition = nullptr;
    QToolButton* mutebut = nullptr;
    QToolButton* dj = nullptr;
    QToolButton* timemodebut = nullptr;
    QSlider* progress = nullptr; // position in whole seconds
    QLabel* vol_triangle = nullptr;
    QLabel* counter = nullptr;
    QLabel* trlabel = nullptr; // "TE", "TR" or "LEN" (`tr` would hide Qt's translation call)
    QLabel* playlistcaption = nullptr;
    QFrame* playbutmod = nullptr; // frame round `play`: the chosen row is not the playing one
    QCheckBox* showcover = nullptr;
    QTimer* Timers = nullptr;         // position tick, 1000 ms, while playing
    QTimer* numberoftracks = nullptr; // queue count, 500 ms, in the play-list style
    // ---- end of play queue and playback ----

    // Toolbar.
    QWidget* toolbar = nullptr;
    QVector<QImage> butimages; // images 0..9, then their faded forms at 10..19
    QToolButton* butcd = nullptr;
    QToolButton* butcdlist = nullptr;
    QToolButton* butrandom = nullptr;
    QToolButton* butjukebox = nullptr;
    QFrame* bevel4 = nullptr;
    QFrame* Bevel5 = nullptr;
    QLabel* filtercount = nullptr;
    QTimer* buttonstimer = nullptr; // debug repaints, 1500 ms

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
    QAction* menuabout = nullptr;

    // The image list's slots; the faded copy of picture i is picture i + 10.
    static constexpr int kToolbarImageSlots = 10;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend void mainmenuvisible(bool i);

    // A transport speed button showing the built-in glyph `glyph`, with `hint` as its hint.
    static QToolButton* speedButton(QWidget* parent, const QString& hint, const QString& glyph,
                                    bool checkable = true);
    void buildComponents();
    void connectWindowControls();
    void placeControls();
    void centreOnMonitor();
    bool windowEvent(QObject* watched, QEvent* event);
    bool handleKeyPress(QObject* watched, QEvent* event);
    bool handleKeyRelease(QObject* watched, QEvent* event);
    void sendKeyStroke(QWidget* target, int key);
    void makeWholeLibraryRandomPlaylist();
    void selectPickedAlbum(int row);
    static void restoreDefaultCursor();
    QWidget* buildToolbar();
    QWidget* buildPlayPanel();
    QWidget* buildPlaylistPanel();
    QWidget* buildTransport();
    void buildMenu();

    // Steps of the start-up, in their order.
    void createMediaPlayer();
    void applyKioskCursor();
    void makeFadedToolbarImages();
    void resetPlayerState();
    void resetPlayerControls();
    void selectRememberedAlbums();
    void closeSplash();
    void startMakingMissingTitles();
    void prepareMediaPlayerOnceShown();
    void showSoundTrouble(platform::SoundTrouble trouble);
    void tellSoundTrouble();
    static void keepWindowsAlive();
    void finishMakingTitles();
    void stopForRestart();

    // Steps of the album list filling.
    void fillAlbumRows();
    void rebuildAlbumsInRowOrder();
    void enableForAlbums(bool albumsExist);

    void loadAlbumTitles(QListWidget* list, int n);

    // Play queue and playback.
    void buildPlaybackControls();
    void connectPlaybackControls();
    int queueRow() const; // the selected row of `dplaylist`, -1 for none
    void selectQueueRow(int row);
    bool alreadyQueued(int fromRow, const QString& folder, int track) const;
    void followRemovedRow(int removed, int rows);
    void removeQueueRow(int row);
    // After rows left the queue: `row` selected, or the controls of an empty queue.
    void showQueueRows(int row);
    bool queueDragEvent(QEvent* event);
    bool playlistStyle() const;
    QString openQueueEntry(int row, const QString& folder);
    void startLoadedEntry(const QString& folder);
    void playNextQueueEntry(bool backgroundTrackEnded);
    void playSilenceForFailedEntry();
    void playNextAlbumTrack();
    void startAlbumTrack();
    void stepTrack(QObject* Sender, int step);
    void skipBy(QObject* Sender, int lines);
    void moveProgress(int seconds);
    void applyVolume();
    void applyVoiceVolume();
    void pressDjWhenDefault();
    void djUnavailable(platform::SpeechMissing why);
    void tellOperator(const QString& text);
    void showStopped();
    void showNoTrack();
    void showTrackLength();
    static QString minutesAndSeconds(int seconds);

    bool shownOnce_ = false;
    // Keys that went down in this window: a key let go here that went down elsewhere (the Escape
    // that closed the jukebox) is not this window's.
    QSet<int> keysDownHere_;
    bool loadFailed_ = false;          // the last track asked for could not be loaded
    bool playingEntryRemoved_ = false; // the playing entry left the queue; its row holds the next
    bool queueRanOut_ = false;         // the last entry played to its end and nothing started since
    int captionBlinkPhase_ = 0;
    // While the music cannot be heard: what the operator is told, again at every reminder, and the
    // caption it took the place of.
    QString soundTrouble_;
    QString captionBeforeTrouble_;
    QTimer* soundTroubleReminder_ = nullptr;

    MediaPlayerFactory makeMediaPlayer_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* modeMenu_ = nullptr;
    QWidget* client_ = nullptr; // the fixed client area below the menu bar
    // The key preview and the toolbar pictures' mouse watch; destroyed before the widgets.
    std::unique_ptr<QObject> windowEvents_;
    std::unique_ptr<platform::MediaPlayer> mp;
    // Makes the title files the scan found missing, once the windows show.
    std::unique_ptr<QThread> titlesMaker_;
};

} // namespace player
