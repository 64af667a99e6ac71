#pragma once

// The full-screen jukebox window `Tjukebox`, the guests' side of the program. It is created once,
// on first use, by the front end (jukeboxfrontend.h) and lives until the program ends; closing it
// only hides it and shows the desktop player again. The window builds all its controls itself
// (`DoDFM`) and lays them out for the screen it covers (`setscreen`), scaling an 800 x 600
// design. The desktop player `mainform` does the playing: the jukebox drives it through the
// player's own controls and handlers.
//
// The implementation is split by topic: jukeboxform.cpp (frame, message line, resize, close),
// jukeboxform_dfm*.cpp (the control tree), jukeboxform_layout.cpp (screen layout),
// jukeboxform_numbers.cpp (number entry), jukeboxform_background.cpp (background play),
// jukeboxform_pages.cpp (album pages), jukeboxform_keys.cpp (keys and lights),
// jukeboxform_panels.cpp and jukeboxform_admin.cpp (operator panels), jukeboxform_search.cpp,
// jukeboxform_queue.cpp, jukeboxform_shutdown.cpp and jukeboxform_thumbs.cpp (with docovers).
//
// GUI thread only. Owned by the front end; `jukebox` points at it while it lives.

#include <QEvent>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>

#include "jukebox/creditssystem.h"
#include "jukebox/pagefaces.h"
#include "library/skintypes.h"
#include "view3d/prismview.h"

class QCloseEvent;
class QDropEvent;
class QKeyEvent;
class QLabel;
class QRandomGenerator;

namespace skins {
class CoverLoader;
} // namespace skins

namespace controls {
class TAlphaBar;
class TBitmapActionButton;
class TBitmapCheckbox;
class TNumericInput;
class TPictureScroller;
class TScrollListbox;
class TSelecterListBox;
class TTextScroller;
class TTransparentHint;
class TTransparentPanel;
class Ticker;
} // namespace controls

namespace jukebox {

class EditBox;
class FrameShape;
class PageSlide;
class PictureBox;
class TextLabel;
class Top100List;
class loadcovers;
class tlogfile;
class tplaylistview;
class ttracksearch;
class Tjukebox;

// ---- Unit-level state of the front end (all on the GUI thread) ----

// The one window; null until the front end creates it (non-owning).
inline Tjukebox* jukebox = nullptr;
// Album number of the upper page: odd, 1..jalbumcount once the window exists; the lower page
// shows currentalbum + 1.
inline int32_t currentalbum = 0;

// Number entry: 0 while album digits are entered, 1 for track digits.
inline int32_t lcdpanelcurrent = 0;
inline int32_t lcd1count = 1;     // next album digit position, 1..5 (5: album complete)
inline int32_t lcd2count = 1;     // next track digit position, 1..4 (4: track complete)
inline QString lcd1text;          // album digits as typed (4 characters)
inline QString lcd2text;          // track digits as typed (3 characters)
inline bool keypadlocked = false; // an entry step or an error blink runs
inline bool noinput = false;      // "Add All" is queueing an album: keypad clicks are ignored
inline int32_t lcddelay = 0;      // milliseconds to pause after each entry step
inline int32_t NORMALLCDDELAY = 20;
inline int32_t errortime = 0;
inline bool errorscroll = false;
// The last text given to `domessage`, as given.
inline QString oldmessage;

// Scale of the 800 x 600 design to the screen, and the screen size of the last layout.
inline double aspectx = 1.0;
inline double aspecty = 1.0;
inline int32_t screenwidth = 0;
inline int32_t screenheight = 0;

// Page slides.
inline bool moveinprogress = false;
inline int32_t scrollamountlr = 0;
inline int32_t scrollamountrl = 0;
inline int32_t DEFscrollamountlr = 0;
inline int32_t DEFscrollamountrl = 0;
inline uint8_t thumbmode = 0; // 1 while the thumbnails pick a cover for the desktop player

// Parts of the window made when it is created (non-owning; the window owns them).
inline loadcovers* initcovers = nullptr;
inline ttracksearch* searchpanel = nullptr;
inline tplaylistview* playlistpanel = nullptr;
inline controls::TTransparentHint* lbhint = nullptr;
inline QLabel* trackhint = nullptr;
inline controls::TTransparentPanel* TrackHintPanel = nullptr;

// Remote-control focus between the two page lists: the list and its number (0 lsb1, 1 lsb2).
inline controls::TScrollListbox* tv_lsb = nullptr;
inline int32_t tv_currentlsb = 0;
// Time of the last Left or Right key-down (ms of the steady clock), 0 after any key-up.
inline qint64 lastnavkeyinterval = 0;
// Keyboard-light show.
inline int32_t ledcount = 0;
inline int32_t leddest = 0;
inline int32_t ledmode = 0;
inline int32_t ledprog = 0;
// The volume key being held.
inline QObject* volumesender = nullptr;
// Set to stop the random playlist build.
inline bool cancelrandomop = false;

// Puts every global of this unit back to its state at program start (test fixtures).
void resetGlobals();

// A length of the 800 x 600 design scaled to the screen: round(x * aspectx), halves to even.
// A result beyond the 32-bit range is a range error (std::out_of_range).
int32_t aspx(int32_t x);
int32_t aspy(int32_t y);

// Copies from `source` the rectangle at (sx, sy) the size of `dest` onto the whole of `dest`, which
// becomes 24 bits per pixel. `maskcolor` is not used. Parts of the rectangle outside `source`
// come out black.
void bitmapoverbitmap(const QImage& source, QImage& dest, int32_t maskcolor, int sx, int sy);

class Tjukebox : public QWidget, public CreditView, public view3d::PrismHost
{
    Q_OBJECT

public:
    // The step of a held page arrow, and the least time between two arrow-key steps (ms).
    static constexpr int kNavInterval = 100;
    // An error blink lasts this many ticks of the error timer; the displays hide on the even ones.
    static constexpr int kBlinkTicks = 10;

    // Builds every control (`DoDFM`); `FormCreate` runs after that, once `jukebox` points here.
    explicit Tjukebox(QWidget* parent = nullptr);
    ~Tjukebox() override;

    // ---- Frame, scaling and message line (jukeboxform.cpp) ----
    void FormCreate(QObject* Sender);
    void FormResize(QObject* Sender);
    void FormClose(QObject* Sender);
    bool FormCanResize(QObject* Sender, int& NewWidth, int& NewHeight);
    void FormPaint(QObject* Sender);
    void domessage(const QString& text) override;
    // Shows the credit count.
    void setCreditStat(const QString& text) override;
    void closepanels() override;
    void setopenpanel();
    void docovers();
    void ThreeDPanelMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                              int Y);
    void drawlcdpanelsurround();

    // ---- Control tree and layout (jukeboxform_dfm*.cpp, jukeboxform_layout.cpp) ----
    void DoDFM();
    void setscreen();
    void setupkeypad();
    void setupnumlabel(TextLabel* lab, PictureBox* img, const QString& txt);
    void setalbumsizes();
    void positionlsb(controls::TScrollListbox* lsb, PictureBox* lb);

    // ---- Number entry (jukeboxform_numbers.cpp) ----
    void dolcd(int k, int delay);
    bool isvalidalbum(int a) const;
    bool isvalidtrack(int a) const;
    void numClick(QObject* Sender);
    void numButDown(int sender);
    void numButUp();
    void rightpanelpicMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                int Y);
    void keypadpanelMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                            int Y);
    void lsbClick(QObject* Sender) override;
    void searchpanellbclick(int album, int track);
    void playall(QObject* lsb);
    void playall3d(QObject* Sender) override;
    void errortimerTimer(QObject* Sender);

    // ---- Background play (jukeboxform_background.cpp) ----
    void autoplaycbClick(QObject* Sender);
    void BackGroundTimerTimer(QObject* Sender);
    void dofade();
    void FadeTimerTimer(QObject* Sender);
    uint32_t getvol() const;
    void setvol(uint32_t v);

    // ---- Album pages and navigation (jukeboxform_pages.cpp) ----
    // True while a cover picture of the page shown is still being made.
    bool coversPending() const { return preparedFaces_.pending(); }
    void drawalbum(int num);
    void drawtitles(QImage& lab, QObject* lsb, int albumindex);
    view3d::TCubePositions GetGubePositions() const;
    void drawalbum3D(int n, int mode);
    void movealbumlr();
    void movealbumrl();
    void movealbuml3D();
    void movealbumr3D();
    void butllabelMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                            int Y);
    void butllabelMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void butrlabelMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                            int Y);
    void butrlabelMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void butllabelClick(QObject* Sender);
    void butrlabelClick(QObject* Sender);
    void navbuttimerTimer(QObject* Sender);
    QString removethe(const QString& s) const;
    int findalbumalpha(int startpos, QChar letter) const;
    void thumbalphaalbum(QChar letter);
    void alphapanelvkey(QObject* Sender, uint16_t Key);
    void cdClick(QObject* Sender);
    void jbcovershow(const QString& path);
    void sizethumbpanel();
    void thumbsClick(QObject* Sender);
    void imViewModeClick(QObject* Sender);
    void favClick(QObject* Sender);
    void setaddall();
    void lsb1Reachedend(QObject* Sender);
    void lsb2Reachedtop(QObject* Sender);
    void reloadeditlist();
    // Puts the page panels in their places around the current page (the start of every page drawing).
    void placePagePanels();
    // -- Album pages: the page steps and the letter jump, as the keys and buttons call them --
    // The forward step of the Left key (also the left arrow button and the right-hand covers) and
    // the back step of the Right key; nothing while a slide runs. With the setting
    // `wraponunderscore` a step onto the albums that begin with "_" turns `Key` into the letter A
    // (forward) or Z (back), which the key handling then takes on as a letter jump.
    void pageForward(uint16_t& Key);
    void pageBack(uint16_t& Key);
    // The letter jump of a letter key A..Z.
    void letterJump(QChar letter);
    // True while the prism shows instead of the flat pages.
    bool prismShown() const;
    // The slide animator of the page steps (made on first use).
    PageSlide& pageSlide();
    // The 3D prism while one exists (non-owning); without it the flat pages always show.
    view3d::PrismView* ThreeDPanel = nullptr;
    // What the prism asks of this window.
    QObject* hostObject() override;
    const QImage& albumAreaPicture() const override;
    const controls::TScrollListbox& pageTrackList() const override;
    int32_t scaledWidth(int32_t x) const override;
    void prismStep(int dir) override;
    // While the prism shows, the arrow key `key` (Left or Right) drags on it; false on the pages.
    bool turnPrism(uint16_t key);

    // ---- Keys and keyboard lights (jukeboxform_keys.cpp) ----
    // `Key` is a virtual key code; handlers may change it for the rows that follow.
    void FormKeydown(QObject* Sender, uint16_t& Key, Qt::KeyboardModifiers Shift);
    void FormKeyUp(QObject* Sender, uint16_t& Key, Qt::KeyboardModifiers Shift);
    // The application-wide hook: sees every event of the program; `Handled` swallows it.
    void OnMessage(QObject* Receiver, QEvent* Msg, bool& Handled);
    void presskey(uint16_t key);
    void capson();
    void capsoff();
    void scrollon();
    void scrolloff();
    void numon();
    void numoff();
    void off();
    void lightstimerTimer(QObject* Sender);
    // -- Keys and keyboard lights: our own additions --
    // The random source of the light show (not owned); nullptr (the default) is the system's.
    void setLightsRandom(QRandomGenerator* random) { lightsRandom_ = random; }

    // ---- Operator panels (jukeboxform_panels.cpp, jukeboxform_admin.cpp) ----
    void openpanelClick(QObject* Sender);
    void openpanelMouseMove(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void kioskpanelClick(QObject* Sender);
    void VisualsPanelClick(QObject* Sender);
    void setvisualspanel(bool on);
    void panelshapeMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                             int Y);
    void panelshapeMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                           int Y);
    void volumetimerTimer(QObject* Sender);
    void rejectallClick(QObject* Sender);
    void ripbutClick(QObject* Sender);
    void lsb1playallClick(QObject* Sender);
    void lsb2playallClick(QObject* Sender);
    void coverimageClick(QObject* Sender);
    void randombutClick(QObject* Sender);
    void randompanellbClick(QObject* Sender);
    void randompanelselectallClick(QObject* Sender);
    void randompanelselectnoneClick(QObject* Sender);
    void randompanelOKClick(QObject* Sender);
    // Progress of the random playlist build: `n` tracks added so far; true stops the build.
    bool cb(int n);
    void RandomCancelClick(QObject* Sender);
    void randompanelcancelClick(QObject* Sender);
    void advancedbutClick(QObject* Sender);
    void codeKeyPress(QObject* Sender, QChar& Key);
    void codeEnter(QObject* Sender);
    void codeExit(QObject* Sender);
    void codeClick(QObject* Sender);
    void codefirstClick(QObject* Sender);
    void setcodeClick(QObject* Sender);
    void volumeshowClick(QObject* Sender);
    void addallshowClick(QObject* Sender);
    void NoRepeatCbClick(QObject* Sender);
    void editlbClick(QObject* Sender);
    void advancedOKClick(QObject* Sender);
    void GoThemeManagerClick(QObject* Sender);
    void jbinfogoClick(QObject* Sender);
    void GoCommercialManagerClick(QObject* Sender);
    void cmResetCreditStatsClick(QObject* Sender);
    void commerceOKClick(QObject* Sender);
    // Lays out every screen that shows skin pictures again, after a theme change.
    void restyle();
    // The play log for the path now set (made or remade when the path changed); null without one.
    tlogfile* playLog();

    // ---- Search panel (jukeboxform_search.cpp) ----
    void panel_searchbut_imageClick(QObject* Sender);

    // ---- Queue panel (jukeboxform_queue.cpp) ----
    void goplaylistviewClick(QObject* Sender);
    void playlistPlayClick(QObject* Sender);
    void playlistPurgeClick(QObject* Sender);
    void playlistRemoveClick(QObject* Sender);
    void playlistMoveUpClick(QObject* Sender);
    void playlistMoveDownClick(QObject* Sender);
    void moveitems(bool up);
    // The desktop player's playing queue row (-1 for none), for the queue panel's second highlight.
    void queuePanelPlayingRow(int row);

    // ---- Shutdown, dropped files (jukeboxform_shutdown.cpp) ----
    void ShutdownbutClick(QObject* Sender);
    // `toppanel` and `botpanel` pass their events here first; true when the event was handled.
    bool TopPanelWindowProc(QEvent* Msg);
    bool BotPanelWindowProc(QEvent* Msg);
    void TopPanelFileDrop(QDropEvent* Msg);
    void BotPanelFileDrop(QDropEvent* Msg);
    void handledroppedfile(QDropEvent* Msg, QWidget* receiver);
    // One of the other programs' windows, as the launcher search goes through them: the window
    // whose title holds "Launcher" is restored and ends the search (false); the rest go on (true).
    bool EnumWindowsSwitch(quint64 handle, intptr_t lparam);

    // ---- Cover thumbnails (jukeboxform_thumbs.cpp) ----
    // Stops the cover loader between two albums, waits for it and frees it (the program ends).
    void stopcovers();
    // The thumbnail scroller follows the album list: a new album's cover goes in at `index` (from 0),
    // a deleted album's thumbnail at `index` goes out.
    void addthumbnail(const QString& albumFolder, int index);
    // Rows of `list` show their album's thumbnail picture while the thumbnails show (as the list is
    // filled), asked for as they are drawn.
    void setThumbnailPictures(controls::TScrollListbox& list);
    void deletethumbnail(int index);

    // ---- Fields ----
    std::unique_ptr<TCredits> credit; // the credit counter
    bool fadetimernostop = false;
    uint32_t fadetimeroriginalvalue = 0;
    uint32_t fadetimercurrentvalue = 0;
    uint32_t fadetimerrate = 0;
    int32_t BackGroundTimerCount = 0;
    bool BackGroundCanAutoPlay = false;
    controls::TAlphaBar* alphapanel = nullptr; // the letter bar
    tlogfile* log = nullptr;                   // the play log's chart thread, when a play log is set

    // Timers.
    controls::Ticker* errortimer = nullptr;
    controls::Ticker* playstimer = nullptr;
    controls::Ticker* lightstimer = nullptr;
    controls::Ticker* navbuttimer = nullptr;
    controls::Ticker* volumetimer = nullptr;
    controls::Ticker* BackgroundTimer = nullptr;
    controls::Ticker* fadetimer = nullptr;

    // Columns and the panels on the window itself.
    QWidget* leftpanel = nullptr;
    PictureBox* leftpanelpic = nullptr;
    QWidget* rightpanel = nullptr;
    QWidget* midpanelpanel = nullptr;
    QWidget* panel = nullptr; // reject, mute and volume
    QWidget* openpanelpanel = nullptr;
    QWidget* kioskpanelpanel = nullptr;
    QWidget* VisualsPanelPanel = nullptr;
    QWidget* panel_kiosk = nullptr;
    QWidget* panel_searchbut = nullptr;
    QWidget* CenterPanel = nullptr;
    PictureBox* CenterPanel_Image = nullptr;
    // The frame's four edges (top, bottom, left, right), in CenterPanel_Image: only they hold
    // pixels of the frame, whose middle is cut away.
    std::array<PictureBox*, 4> frameEdges_{};
    QWidget* coverimagepanel = nullptr;
    PictureBox* coverimage = nullptr;
    TextLabel* loadcovercaption = nullptr;
    controls::TTransparentPanel* thumbpanel = nullptr;
    controls::TTransparentPanel* randompanel = nullptr;
    controls::TTransparentPanel* advanced = nullptr;
    controls::TTransparentPanel* Commerce = nullptr;

    // Right column.
    PictureBox* rightpanelpic = nullptr;
    QWidget* CreditInfoPanel = nullptr;
    TextLabel* CreditLabel = nullptr;
    TextLabel* CreditStat = nullptr;
    PictureBox* fav = nullptr;
    PictureBox* imViewMode = nullptr;
    QWidget* butpanel = nullptr;
    PictureBox* butpanelpic = nullptr;
    PictureBox* butl = nullptr;
    PictureBox* butr = nullptr;
    TextLabel* butllabel = nullptr;
    TextLabel* butrlabel = nullptr;
    FrameShape* blshape1 = nullptr;
    FrameShape* brshape1 = nullptr;
    FrameShape* blshape2 = nullptr;
    FrameShape* brshape2 = nullptr;
    QWidget* lcdpanel = nullptr;
    TextLabel* lcdlabel1 = nullptr;
    TextLabel* lcdlabel2 = nullptr;
    QWidget* lcd1 = nullptr;
    QLabel* lcdtext1 = nullptr;
    QWidget* lcd2 = nullptr;
    QLabel* lcdtext2 = nullptr;
    controls::TTextScroller* lcd3 = nullptr; // the message line

    // Keypad: keys 1..12 in rows of three (7 8 9 / 4 5 6 / 1 2 3 / 0 Clear Enter), 13 the wide key.
    controls::TTransparentPanel* keypadpanel = nullptr;
    PictureBox* num1 = nullptr;
    PictureBox* num2 = nullptr;
    PictureBox* num3 = nullptr;
    PictureBox* num4 = nullptr;
    PictureBox* num5 = nullptr;
    PictureBox* num6 = nullptr;
    PictureBox* num7 = nullptr;
    PictureBox* num8 = nullptr;
    PictureBox* num9 = nullptr;
    PictureBox* num10 = nullptr;
    PictureBox* num11 = nullptr;
    PictureBox* num12 = nullptr;
    PictureBox* num13 = nullptr;
    TextLabel* numlabel1 = nullptr;
    TextLabel* numlabel2 = nullptr;
    TextLabel* numlabel3 = nullptr;
    TextLabel* numlabel4 = nullptr;
    TextLabel* numlabel5 = nullptr;
    TextLabel* numlabel6 = nullptr;
    TextLabel* numlabel7 = nullptr;
    TextLabel* numlabel8 = nullptr;
    TextLabel* numlabel9 = nullptr;
    TextLabel* numlabel10 = nullptr;
    TextLabel* numlabel11 = nullptr;
    TextLabel* numlabel12 = nullptr;
    TextLabel* numlabel13 = nullptr;

    // Control panel `panel`.
    PictureBox* mute = nullptr;
    PictureBox* reject = nullptr;
    PictureBox* volumeup = nullptr;
    PictureBox* volumedown = nullptr;
    FrameShape* panelshape1 = nullptr;
    FrameShape* panelshape2 = nullptr;
    FrameShape* rejectshape1 = nullptr;
    FrameShape* rejectshape2 = nullptr;
    FrameShape* muteshape1 = nullptr;
    FrameShape* muteshape2 = nullptr;
    FrameShape* volumeupshape1 = nullptr;
    FrameShape* volumeupshape2 = nullptr;
    FrameShape* volumedownshape1 = nullptr;
    FrameShape* volumedownshape2 = nullptr;
    TextLabel* volumelabel = nullptr;
    TextLabel* rejectlabel = nullptr;
    TextLabel* mutelabel = nullptr;
    TextLabel* volumeuplabel = nullptr;
    TextLabel* volumedownlabel = nullptr;

    // Album area: the backdrop and eight page panels, each with a cover, a title area and a list.
    PictureBox* midpanel = nullptr;
    QWidget* toppanel = nullptr;
    QWidget* botpanel = nullptr;
    QWidget* toprightpanel = nullptr;
    QWidget* botrightpanel = nullptr;
    QWidget* topoverpanel = nullptr;
    QWidget* botoverpanel = nullptr;
    QWidget* toprightunderpanel = nullptr;
    QWidget* botrightunderpanel = nullptr;
    PictureBox* cd1 = nullptr;
    PictureBox* cd2 = nullptr;
    PictureBox* cd3 = nullptr;
    PictureBox* cd4 = nullptr;
    PictureBox* cd5 = nullptr;
    PictureBox* cd6 = nullptr;
    PictureBox* cd7 = nullptr;
    PictureBox* cd8 = nullptr;
    PictureBox* lb1 = nullptr;
    PictureBox* lb2 = nullptr;
    PictureBox* lb3 = nullptr;
    PictureBox* lb4 = nullptr;
    PictureBox* lb7 = nullptr;
    PictureBox* lb8 = nullptr;
    controls::TScrollListbox* lsb1 = nullptr;
    controls::TScrollListbox* lsb2 = nullptr;
    controls::TScrollListbox* lsb3 = nullptr;
    controls::TScrollListbox* lsb4 = nullptr;
    controls::TScrollListbox* lsb7 = nullptr;
    controls::TScrollListbox* lsb8 = nullptr;
    TextLabel* lsb1playall = nullptr;
    TextLabel* lsb2playall = nullptr;
    TextLabel* lsb3playall = nullptr;
    TextLabel* lsb4playall = nullptr;
    TextLabel* lsb7playall = nullptr;
    TextLabel* lsb8playall = nullptr;

    // Corner pictures.
    PictureBox* openpanel = nullptr;
    PictureBox* kioskpanel = nullptr;
    PictureBox* VisualsPanel = nullptr;
    PictureBox* panel_searchbut_image = nullptr;

    // Kiosk panel `panel_kiosk`.
    FrameShape* panel_kioskshape1 = nullptr;
    FrameShape* panel_kioskshape2 = nullptr;
    controls::TBitmapCheckbox* autoplaycb = nullptr;
    controls::TBitmapActionButton* goplaylistview = nullptr;
    controls::TBitmapActionButton* randombut = nullptr;
    controls::TBitmapActionButton* rejectall = nullptr;
    controls::TBitmapActionButton* ripbut = nullptr;
    controls::TBitmapActionButton* advancedbut = nullptr;
    controls::TBitmapActionButton* Shutdownbut = nullptr;

    // Random panel.
    controls::TSelecterListBox* randompanellb = nullptr;
    FrameShape* randompanelshape1 = nullptr;
    FrameShape* randompanelshape2 = nullptr;
    controls::TTransparentPanel* randomdicepanel = nullptr;
    PictureBox* randomdice = nullptr;
    controls::TBitmapActionButton* randompanelselectall = nullptr;
    controls::TBitmapActionButton* randompanelselectnone = nullptr;
    TextLabel* randomcountlabel = nullptr;
    controls::TBitmapActionButton* randompanelcancel = nullptr;
    controls::TBitmapActionButton* RandomCancel = nullptr;
    controls::TBitmapActionButton* randompanelOK = nullptr;

    // Advanced panel.
    controls::TBitmapActionButton* jbinfogo = nullptr;
    controls::TBitmapActionButton* advancedOK = nullptr;
    controls::TBitmapActionButton* GoThemeManager = nullptr;
    controls::TBitmapActionButton* GoCommercialManager = nullptr;
    QWidget* codepanel = nullptr;
    TextLabel* codefirst = nullptr;
    TextLabel* unlocklabel = nullptr;
    controls::TBitmapActionButton* setcode = nullptr;
    EditBox* code = nullptr;
    QWidget* editpanel = nullptr;
    TextLabel* editlabel = nullptr;
    controls::TScrollListbox* editlb = nullptr;
    QWidget* optionspanel = nullptr;
    controls::TBitmapCheckbox* addallshow = nullptr;
    controls::TBitmapCheckbox* NoRepeatCb = nullptr;
    controls::TBitmapCheckbox* volumeshow = nullptr;

    // Commerce panel.
    TextLabel* CmTitleLab = nullptr;
    TextLabel* CmCreditPanelLab = nullptr;
    TextLabel* CmBackgroundPanelLab = nullptr;
    TextLabel* CmStatisticsPanelLab = nullptr;
    QWidget* CmCreditPanel = nullptr;
    controls::TNumericInput* CmPlaysPerCredit = nullptr;
    controls::TBitmapCheckbox* CmAllowFreeCredit = nullptr;
    TextLabel* CmPlaysPerCreditLab = nullptr;
    QWidget* CmBackgroundPanel = nullptr;
    controls::TNumericInput* CmBgDuration = nullptr;
    TextLabel* CmBgDurationLab = nullptr;
    controls::TNumericInput* CmBgVolume = nullptr;
    TextLabel* CmBgVolumeLab = nullptr;
    controls::TNumericInput* CmBgWaitTime = nullptr;
    TextLabel* CmBgWaitTimeLab = nullptr;
    QWidget* CmStatisticsPanel = nullptr;
    controls::TBitmapActionButton* CmResetCreditStats = nullptr;
    TextLabel* CmCredit = nullptr;
    TextLabel* CmCreditLab = nullptr;
    TextLabel* Cmtop100Lab = nullptr;
    controls::TScrollListbox* CmTop100 = nullptr;
    controls::TBitmapActionButton* CommerceOK = nullptr;

    // Thumbnail panel.
    controls::TPictureScroller* thumbs = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Keys and keyboard lights: a held volume key lets go when the window loses the focus; under
    // the operator lock a minimised window comes back and the guest is held at every activation.
    void changeEvent(QEvent* event) override;

private:
    // The operator panels that show the operators' backdrop.
    std::array<controls::TTransparentPanel*, 4> adminPanels() const;
    // Makes the operators' backdrop as an operator panel shows, lets it go once none shows.
    void adminPanelShownOrHidden(QEvent::Type type);
    // Turning the prism onto an album beginning with "_" jumps by letter instead.
    void wrapOnUnderscore(int dir);
    // Back to full-screen on the window's monitor, in front and active.
    void restoreFullScreen();
    // Under the operator lock no key takes the guest away from the shown jukebox: it stays on
    // every desktop in front of other windows and holds the keyboard, so the window manager's
    // desktop, window and menu keys never fire; the program's own windows still get their keys.
    // Hidden or unlocked, it lets the keyboard go.
    void holdGuest();
    // Under the operator lock, a jukebox that lost the focus to no window of the program (sent to
    // another desktop, unmapped or hidden by another program) shows again and takes it back.
    void takeGuestBack();
    // The lock is off: an ordinary window on the current desktop, the keyboard let go.
    void letGuestGo();
    // Pieces of DoDFM, one per area of the screen.
    void buildColumns();
    void buildRightColumn();
    void buildKeypad();
    void buildLcdPanel();
    void buildControlPanel();
    void buildAlbumArea();
    void buildPage(QWidget* page, PictureBox*& cover, PictureBox** title, controls::TScrollListbox** list,
                   const QString& number);
    void buildCorners();
    void buildKioskPanel();
    void buildRandomPanel();
    void buildAdvancedPanel();
    void buildCommercePanel();
    void buildThumbnailAndCoverPanels();
    void buildTimers();
    void bindPageEvents();
    void bindControlPanelEvents();
    void bindOperatorEvents();

    // Pieces of FormCreate.
    void createBackgroundTimers();
    void createPlayLog();
    void createSearchAndQueuePanels();
    void createTrackHint();
    void createLetterBar();
    void followAdminPanels();
    void copyAlbumList();
    void applyPanelSettings();
    void chooseStartAlbum();
    // Binds the queue panel's keys to the window's queue handlers.
    void connectQueuePanel();
    // Fills the queue panel's list from the player's queue (jukeboxform_queue.cpp).
    void fillQueueList(int marked, int playing);

    // Pieces of setscreen.
    void placeColumns();
    void placeLcdPanel();
    void startMessageLine();
    void placeRightColumn();
    void placeControlPanel();
    void placeCorners();
    void placeKioskPanel();
    void placeRandomPanel();
    void raiseRandomPanel();
    void placeAdvancedPanel();
    void placeCommercePanel();
    void placeStatistics();
    QFont commerceFont(int labelRoom, int chartRoom) const;
    QFont keypadFont() const;
    // The font of the window and every control that has none of its own, for the window's height.
    QFont windowFont() const;
    // Starts stretching the theme's backdrop over the screen, and decoding the frame's mask, on
    // worker threads, for the first layout.
    void prepareBackdrop();
    // The theme's backdrop stretched to `size`: the one prepared when it was made for the same
    // theme entry and size, else made here.
    QImage stretchedBackdrop(const QSize& size);
    // The theme's frame mask as it is stored (null when the theme has none): the one prepared when
    // it was made for the same skin, else read here.
    QImage centerMask();
    void makeBackgrounds();
    void placeBackgroundPieces();
    void showFrameEdges(const QImage& frame);
    void placePageLists();
    void placeAddAllLabels();
    void placeSearchAndQueuePanels();
    QRect panelArea() const;
    int touchSide() const;
    int leftLetterBarWidth() const;
    void placeTrackHint();
    void applyDisplayOnly();
    void placeLetterBar();

    bool isFullScreenSize() const;

    // Pieces of the album pages (jukeboxform_pages.cpp).
    void emptyPageSlot(PictureBox* cover, controls::TScrollListbox* list);
    void fillPageSlot(PictureBox* cover, controls::TScrollListbox* list, int album);
    void lateFace(const FaceSource& source, const QImage& face);
    void fillTrackList(controls::TScrollListbox* list, int album);
    void fillTitles(QObject* lsb, int album);
    void stepMessageLine();
    void preparePage(int num, PreparedFaces::Drawing drawing);
    // Starts making the current page's cover pictures side by side, for the drawing that follows.
    void prepareCurrentPage();
    // The same, while the window thread goes on laying the panels out.
    void prepareCurrentPageBesideLayout();
    void pressArrow(PictureBox* button, TextLabel* label, const QString& picture);
    void releaseArrow(PictureBox* button, TextLabel* label, const QString& picture);
    void dragPrism(int fromX, int toX, int y);
    void releasePrism();
    void showPrism();
    void leavePrism();
    void placeTrackHintStrip();
    void placeCoverPanel();
    void setPageListsMoving(bool on);
    void slidePage(QWidget* top, QWidget* bottom, int goal, int step,
                   const std::function<void()>& eachFrame = {});

    // Pieces of the shutdown button and the page drops (jukeboxform_shutdown.cpp).
    // The shutdown button's quit road: stops what runs and ends the program.
    void endProgram();
    // Drag and drop on an album page (`toppanel` or `botpanel`); true when the event was handled.
    bool pageDropEvent(QEvent* Msg, QWidget* page);
    // Offers each of the dropped track `files` to Add Track, for the album `artist` / `albumname`
    // at first, until one is not added.
    void addDroppedFiles(const QStringList& files, QString artist, QString albumname);
    // Pieces of the control panel (jukeboxform_panels.cpp).
    void rejectTrack();
    void showMuteState();
    // The welcome follows the message on the line once that has been read.
    void welcomeAfterMessage();
    void showWelcome();

    // Gives the play log's chart to `CmTop100`.
    std::unique_ptr<Top100List> top100_;
    // Passes every event of the program to OnMessage (owned through its parent, this window).
    QObject* messageHook_ = nullptr;
    // The track hint shared by the two page lists (`lbhint` points here).
    std::unique_ptr<controls::TTransparentHint> trackHint_;
    // Decodes the cover the cover panel shows off the window thread.
    std::unique_ptr<skins::CoverLoader> coverLoader_;
    // Set while the window is being laid out, so the resizes it causes lay out nothing.
    bool layingOut_ = false;

    // ---- Number entry (jukeboxform_numbers.cpp, jukeboxform_rows.cpp) ----
    void clearTypedEntry();
    void addTypedDigit(int digit);
    void padActiveField();
    void showEntry();
    void selectTypedAlbum();
    // The step that completes a track number; false when it ended the step for want of a credit.
    bool finishTypedTrack();
    bool queueTypedTrack(int track);
    void fadeOutBackground();
    void togglelock();
    void starterrorblink();
    void enderrorblink();
    // The Clear key as a guest presses it: it also ends a running error blink at its next tick.
    void clearKey();
    // Puts row `row` of `dtracklist` on the queue and starts playing when nothing plays.
    void queueTrackRow(int row, bool creditTaken);
    void startWhenIdle();
    void selectAlbumRow(int albumNumber);
    PictureBox* keyImage(int key) const;
    int keyCode(const QObject* label) const;
    // Keys in album `albumNumber` and track `track` (from 1) as a guest would type them.
    void keyinselection(int albumNumber, int track);
    void feedDigits(const QString& digits);
    void copytrack(int albumNumber, int track);
    // Above 0 while an entry step or a keyed-in selection runs: search picks wait, keypad touches
    // queue up in `waitingTouches_` and are taken in order once no step runs.
    int entryBusy_ = 0;
    QList<int> waitingTouches_;
    bool takingTouches_ = false;
    // Leaves an entry step; the last one out takes the touches that came meanwhile.
    void endEntryStep();
    void takeWaitingTouches();
    void touchKey(int key);
    // Ends a running fade at once, as its last step would.
    void endFade();
    // The album pages' slide animator (owned through its parent, this window).
    PageSlide* pageSlide_ = nullptr;
    // The cover pictures of the page a slide is heading for, made meanwhile on a worker thread; one
    // still being made when the page is drawn takes its slot when it is.
    PreparedFaces preparedFaces_{
        this, [this](const FaceSource& source, const QImage& face) { lateFace(source, face); }};
    // The backdrop stretched on a worker thread while the window is built, and what it is made from.
    std::future<QImage> preparedBackdrop_;
    std::future<QImage> preparedCenterMask_;
    library::tskin preparedBackdropSkin_;
    QSize preparedBackdropSize_;
    // Where the last drag on the prism stands, so its release lands there.
    QPoint prismDragAt_;
    // Keys and keyboard lights: the light show's random source (not owned; null: the system's),
    // the key event the hook took last (only compared, never used) and the widget it last stood at.
    QRandomGenerator* lightsRandom_ = nullptr;
    const QEvent* hookedKey_ = nullptr;
    QPointer<const QWidget> hookedStop_;
};

} // namespace jukebox
