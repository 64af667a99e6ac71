// The jukebox window's frame: creation, the shared state, scaling, the message line, resizing
// and closing.

#include "jukebox/jukeboxform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "controls/bitmapactionbutton.h"
#include "controls/drawing.h"
#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "controls/talphabetbar.h"
#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/timersource.h"
#include "controls/transhint.h"
#include "controls/transparentpanel.h"
#include "jukebox/backdrops.h"
#include "player/backdrops.h"
#include "jukebox/logfile.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/searchtrack.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/writefailures.h"
#include "platform/kioskwindow.h"
#include "platform/mediaplayer.h"
#include "platform/screens.h"
#include "player/mainform.h"
#include "skins/colors.h"
#include "skins/coverloader.h"
#include "skins/loadjpegorbmp.h"

namespace jukebox {

namespace {
constexpr double kDesignWidth = 800.0;
constexpr double kDesignHeight = 600.0;
constexpr int kBackgroundInterval = 60000;
constexpr int kFadeInterval = 100;
constexpr int kDefaultLcdDelay = 20;
constexpr int32_t kLetterBarFontColour = 0xFEFFFF;
constexpr int kLetterBarFontSize = 12;
constexpr int kSlideForward = 75;
constexpr int kSlideBack = 150;
constexpr int kWindowFontSize = 14;

int32_t scaled(int32_t length, double factor)
{
    const long double product = static_cast<long double>(length) * factor;
    const long double rounded = std::nearbyint(product);
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        throw std::out_of_range("scaled length outside the 32-bit range");
    return static_cast<int32_t>(rounded);
}

// The application-wide hook: every event of the program passes the window's OnMessage first.
class MessageHook : public QObject
{
public:
    explicit MessageHook(Tjukebox& owner) : QObject(&owner), owner_(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        bool handled = false;
        owner_.OnMessage(watched, event, handled);
        return handled;
    }

private:
    Tjukebox& owner_;
};

// The play log's chart as the commerce panel's list shows it.
class Top100Chart final : public Top100List
{
public:
    explicit Top100Chart(controls::TScrollListbox& list) : list_(list) {}
    void setShowNumbers(bool on) override { list_.setshowlabels(on); }
    void clearItems() override { list_.clear(); }
    void addItem(const QString& text) override { list_.items().add(text); }
    void refresh() override { list_.Paint(); }

private:
    controls::TScrollListbox& list_;
};

// "Garamond" is the jukebox's panel font. Guests read numbers on it all night, so it is drawn by a
// book face whose figures stand on the line at capital height (Linux Libertine); EB Garamond, whose
// figures are old-style ("0001" reads "OOOI"), serves only where Libertine is missing.
void useGaramondSubstitute()
{
    const QStringList faces{QStringLiteral("Linux Libertine O"), QStringLiteral("EB Garamond")};
    if (QFont::substitutes(QStringLiteral("Garamond")) == faces) return;
    QFont::removeSubstitutions(QStringLiteral("Garamond"));
    QFont::insertSubstitutions(QStringLiteral("Garamond"), faces);
}
} // namespace

void resetGlobals()
{
    jukebox = nullptr;
    currentalbum = 0;
    lcdpanelcurrent = 0;
    lcd1count = 1;
    lcd2count = 1;
    lcd1text.clear();
    lcd2text.clear();
    keypadlocked = false;
    noinput = false;
    lcddelay = 0;
    NORMALLCDDELAY = kDefaultLcdDelay;
    errortime = 0;
    errorscroll = false;
    oldmessage.clear();
    aspectx = 1.0;
    aspecty = 1.0;
    screenwidth = 0;
    screenheight = 0;
    moveinprogress = false;
    scrollamountlr = 0;
    scrollamountrl = 0;
    DEFscrollamountlr = 0;
    DEFscrollamountrl = 0;
    thumbmode = 0;
    initcovers = nullptr;
    searchpanel = nullptr;
    playlistpanel = nullptr;
    lbhint = nullptr;
    trackhint = nullptr;
    TrackHintPanel = nullptr;
    tv_lsb = nullptr;
    tv_currentlsb = 0;
    lastnavkeyinterval = 0;
    ledcount = 0;
    leddest = 0;
    ledmode = 0;
    ledprog = 0;
    volumesender = nullptr;
    cancelrandomop = false;
}

int32_t aspx(int32_t x)
{
    return scaled(x, aspectx);
}

int32_t aspy(int32_t y)
{
    return scaled(y, aspecty);
}

Tjukebox::Tjukebox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("jukebox"));
    useGaramondSubstitute();
    messageHook_ = new MessageHook(*this);
    // No border; the window always covers the whole of its monitor.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setWindowState(Qt::WindowFullScreen);
    // As large as its screen from the start, as a full-screen window is.
    setGeometry(platform::screens().geometry(this));
    setFocusPolicy(Qt::StrongFocus);
    prepareBackdrop();
    DoDFM();
}

Tjukebox::~Tjukebox()
{
    qApp->removeEventFilter(messageHook_);
    platform::kioskWindow().releaseKeyboard();
    stopcovers();
    // The chart thread may still hand rows to the chart list: it goes before the list does.
    delete log;
    log = nullptr;
    if (jukebox == this) jukebox = nullptr;
    lbhint = nullptr;
    trackhint = nullptr;
    TrackHintPanel = nullptr;
    searchpanel = nullptr;
    playlistpanel = nullptr;
    tv_lsb = nullptr;
}

void Tjukebox::FormCreate(QObject*)
{
    credit = std::make_unique<TCredits>(this);
    createBackgroundTimers();
    createPlayLog();
    // The player's album combos need no change: Qt combos never sort, so row = album number - 1.
    skins::initerrorbitmaps();
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
    tv_currentlsb = 0;
    tv_lsb = lsb1;
    NORMALLCDDELAY = kDefaultLcdDelay;
    navbuttimer->setInterval(kNavInterval);
    if (!player::DEBUGON) qApp->installEventFilter(messageHook_);
    coverimagepanel->hide();
    if (player::mainform) {
        player::mainform->setVisible(false);
        player::mainform->update();
    }
    lcd1count = 1;
    lcd2count = 1;
    lcdpanelcurrent = 0;
    keypadlocked = false;
    currentalbum = 0;
    library::jalbumcount = 0;
    moveinprogress = false;
    errortime = 0;
    errortimer->setEnabled(false);
    playstimer->setEnabled(false);
    lcdtext1->clear();
    lcdtext2->clear();
    createSearchAndQueuePanels();
    createTrackHint();
    createLetterBar();
    followAdminPanels();
    // Files dropped on the two pages reach the window first.
    for (QWidget* page : {toppanel, botpanel})
        page->installEventFilter(this);
    copyAlbumList();
    Shutdownbut->setVisible(!library::config.hideexit);
    applyPanelSettings();
    chooseStartAlbum();
    toppanel->setAcceptDrops(true);
    botpanel->setAcceptDrops(true);
}

void Tjukebox::createBackgroundTimers()
{
    BackgroundTimer = controls::timerSource().makeTicker(this);
    BackgroundTimer->setObjectName(QStringLiteral("BackgroundTimer"));
    connect(BackgroundTimer, &controls::Ticker::timeout, this,
            [this] { BackGroundTimerTimer(BackgroundTimer); });
    BackGroundCanAutoPlay = true;
    BackgroundTimer->setInterval(kBackgroundInterval);
    VisualsPanelPanel->hide();

    fadetimer = controls::timerSource().makeTicker(this);
    fadetimer->setObjectName(QStringLiteral("fadetimer"));
    connect(fadetimer, &controls::Ticker::timeout, this, [this] { FadeTimerTimer(fadetimer); });
    fadetimer->setEnabled(false);
    fadetimer->setInterval(kFadeInterval);

    BackgroundTimer->setEnabled(library::config.creditsystem && library::config.bgduration != 0);
}

// The chart thread of the play log waits, suspended, until the commerce panel asks for the chart.
// A thread made before is asked to stop and waited for first.
void Tjukebox::createPlayLog()
{
    delete log;
    log = nullptr;
    if (library::config.trackslogfile.isEmpty()) return;
    if (!top100_) top100_ = std::make_unique<Top100Chart>(*CmTop100);
    log = new tlogfile(library::config.trackslogfile, top100_.get(), this);
}

void Tjukebox::createSearchAndQueuePanels()
{
    auto* search = new ttracksearch(midpanelpanel);
    search->setObjectName(QStringLiteral("searchpanel"));
    search->setsourcebitmap(&jbbg);
    search->hide();
    searchpanel = search;

    auto* queue = new tplaylistview(midpanelpanel);
    queue->setObjectName(QStringLiteral("playlistpanel"));
    queue->setsourcebitmap(&jbbg);
    queue->hide();
    playlistpanel = queue;
    connectQueuePanel();
    // These panels cover the album area, and with it the track hint's strip.
    for (QWidget* cover : std::initializer_list<QWidget*>{search, queue, randompanel})
        cover->installEventFilter(this);
}

void Tjukebox::createTrackHint()
{
    trackHint_ = std::make_unique<controls::TTransparentHint>();
    trackHint_->setlab(trackhint);
    lbhint = trackHint_.get();
    lsb1->setitemhint(lbhint);
    lsb2->setitemhint(lbhint);
}

void Tjukebox::createLetterBar()
{
    alphapanel = new controls::TAlphaBar(this);
    alphapanel->setObjectName(QStringLiteral("alphapanel"));
    alphapanel->setFont(controls::panelFont(aspy(kLetterBarFontSize)));
    QPalette colours = alphapanel->palette();
    colours.setColor(QPalette::WindowText, skins::tcolorToQColor(kLetterBarFontColour));
    alphapanel->setPalette(colours);
    alphapanel->raise();
    connect(alphapanel, &controls::TAlphaBar::OnVirtualKey, this, &Tjukebox::alphapanelvkey);
}

// The jukebox's copy of the album list, padded to an even count with the filler album.
void Tjukebox::copyAlbumList()
{
    library::rebuildjalbum();
}

void Tjukebox::applyPanelSettings()
{
    // The layout puts the panel at its height (below the top edge while it shows permanently).
    panel->setVisible(!library::config.hidepanel);
    openpanelpanel->setVisible(library::config.hidepanel);
}

void Tjukebox::chooseStartAlbum()
{
    currentalbum = std::max(1, library::config.jlastalbum);
    if (currentalbum % 2 == 0) --currentalbum;
    if (currentalbum > library::jalbumcount) currentalbum = 1;
}

// A failed write of the settings or the play log stands behind every message until that file is
// written again: the operator sees it whatever the guests do.
void Tjukebox::domessage(const QString& text)
{
    oldmessage = text;
    if (!lcd3) return;
    QStringList parts = library::standingWriteFailures();
    if (!text.isEmpty()) parts.prepend(text);
    const QString shown = parts.join(QStringLiteral(" - "));
    lcd3->settext(QString());
    lcd3->state(false);
    if (!shown.isEmpty()) {
        lcd3->settext(shown.toUpper());
        lcd3->state(true);
    }
}

void Tjukebox::setCreditStat(const QString& text)
{
    CreditStat->setText(text);
}

void Tjukebox::closepanels()
{
    if (tagOf(openpanel) == 1) openpanelClick(openpanel);
    if (tagOf(kioskpanel) == 1) kioskpanelClick(kioskpanel);
    if (tagOf(panel_searchbut_image) == 1) panel_searchbut_imageClick(panel_searchbut_image);
    if (playlistpanel && playlistpanel->isVisible()) playlistpanel->hide();
    if (thumbpanel->isVisible()) setvisualspanel(false);
    if (!coverimagepanel->isHidden()) coverimageClick(coverimage);
}

void Tjukebox::setopenpanel()
{
    if (panel->isVisible()) openpanelClick(openpanel);
    openpanelpanel->setVisible(library::config.jukeboxvolumepanel);
}

void Tjukebox::ThreeDPanelMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void Tjukebox::drawlcdpanelsurround() {}

bool Tjukebox::isFullScreenSize() const
{
    return size() == platform::screens().geometry(this).size();
}

QFont Tjukebox::windowFont() const
{
    return controls::panelFont(scaled(kWindowFontSize, height() / kDesignHeight));
}

void Tjukebox::FormResize(QObject*)
{
    if (isMinimized() || layingOut_) return;
    thumbpanel->setsourcebitmap(&jbbg);
    // The commerce panel stands on the operators' backdrop like the other operator panels.
    for (controls::TTransparentPanel* admin : adminPanels())
        admin->setsourcebitmap(&player::bg);
    if (!(windowState() & Qt::WindowFullScreen)) setWindowState(windowState() | Qt::WindowFullScreen);
    if (!isFullScreenSize()) return;

    aspectx = width() / kDesignWidth;
    aspecty = height() / kDesignHeight;
    DEFscrollamountlr = aspx(kSlideForward);
    DEFscrollamountrl = aspx(kSlideBack);
    layingOut_ = true;
    setUpdatesEnabled(false);
    for (PictureBox* picture : {midpanel, leftpanelpic, rightpanelpic})
        picture->clearPicture();
    setscreen();
    // Qt keeps pictures as device-independent images already; nothing to release after a layout.
    moveinprogress = false;
    setUpdatesEnabled(true);
    layingOut_ = false;
    if (player::mainform && player::mainform->mediaPlayer())
        player::mainform->mediaPlayer()->setDisplayRect(coverimagepanel->rect());
    alphapanel->raise();
}

void Tjukebox::FormClose(QObject*)
{
    lcd3->state(false);
    // Opened again, the jukebox shows its pages as at start, not a panel a guest left open.
    closepanels();
    player::Tmainform* mf = player::mainform;
    if (!mf) return;
    mf->setVisible(true);
    // The album of the upper page becomes the player's album.
    mf->Dalbumlist->setCurrentIndex(currentalbum - 1);
    mf->DalbumlistChange(mf->Dalbumlist);
    mf->restoreClick(this);
}

bool Tjukebox::FormCanResize(QObject*, int&, int&)
{
    return true;
}

void Tjukebox::FormPaint(QObject*) {}

void Tjukebox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize(this);
}

void Tjukebox::closeEvent(QCloseEvent* event)
{
    // Under the operator lock no request from outside the program (Alt+F4, the window manager,
    // a close message) may show a guest the desktop; the program's own roads still close it.
    if (library::config.lock && event->spontaneous()) {
        event->ignore();
        return;
    }
    FormClose(this);
    // Closing only hides the window; it lives until the program ends.
    event->accept();
}

void Tjukebox::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Closing stopped the message line, and a window opened again at its old size is not laid out
    // anew: its text moves again instead of standing cut at the line's end.
    if (!lcd3->running() && !lcd3->text().isEmpty()) lcd3->state(true);
}

void Tjukebox::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    FormPaint(this);
}

// The two pages' events come here first (files dropped on them).
bool Tjukebox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == toppanel) return TopPanelWindowProc(event);
    if (watched == botpanel) return BotPanelWindowProc(event);
    if ((watched == searchpanel || watched == playlistpanel || watched == randompanel) &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        placeTrackHintStrip();
    const auto admin = adminPanels();
    if (std::ranges::find(admin, watched) != admin.end()) adminPanelShownOrHidden(event->type());
    return QWidget::eventFilter(watched, event);
}

} // namespace jukebox
