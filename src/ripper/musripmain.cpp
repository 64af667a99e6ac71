#include "ripper/musripmain.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPixmap>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "controls/drawing.h"
#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/bitmapprogress.h"
#include "controls/tspinningglobe.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform.h"
#include "library/osk.h"
#include "library/ownmailslot.h"
#include "library/skintypes.h"
#include "platform/lameenc.h"
#include "platform/screens.h"
#include "ripper/albumstaging.h"
#include "ripper/dialogframe.h"
#include "ripper/mp3encode.h"
#include "ripper/nolame.h"
#include "ripper/serverwait.h"
#include "skins/colors.h"
#include "skins/resourceskins.h"

namespace ripper {

namespace {

constexpr int32_t kInfoColour = 0x00FF00;
constexpr int32_t kLogColour = 14213818;
constexpr int kLogHeight = 200;
constexpr int kCancelWidth = 150;
constexpr int kPanelButtonSide = 40;
// Rows between the title's descenders and the outline along the foot of its strip.
constexpr int kTitleFrameClearance = 3;

QImage builtinPicture(const QString& name)
{
    return QImage(skins::findBuiltinResource(name));
}

// A thin amber outline round the title strip.
class OutlineShape : public QWidget
{
public:
    explicit OutlineShape(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(skins::tcolorToQColor(kDialogTextColour), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

controls::TBitmapActionButton* panelButton(QWidget* parent, int32_t colour)
{
    auto* button = new controls::TBitmapActionButton(parent);
    button->setbuttoncolor(colour);
    button->resize(kPanelButtonSide, kPanelButtonSide);
    return button;
}

QLabel* panelLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    setDialogText(label, aspy(8), kDialogTextColour);
    return label;
}

using JukeboxShape = jukebox::FrameShape* jukebox::Tjukebox::*;

// Presses (or lets go of) one of the jukebox's control panel shapes as the left mouse button does.
void pressShape(JukeboxShape shape, bool down)
{
    jukebox::Tjukebox& window = *jukebox::jukebox;
    if (down)
        window.panelshapeMouseDown(window.*shape, Qt::LeftButton, Qt::NoModifier, 0, 0);
    else
        window.panelshapeMouseUp(window.*shape, Qt::LeftButton, Qt::NoModifier, 0, 0);
}

void clickShape(JukeboxShape shape)
{
    pressShape(shape, true);
    pressShape(shape, false);
}

} // namespace

Tripmain::Tripmain(QWidget* parent, const QString& encoderLibrary)
    : QWidget(parent), serverWait_(std::make_unique<ServerWait>())
{
    // Made once at program start: nothing is being extracted yet.
    sweepinterrupted();
    FormCreate(encoderLibrary.isEmpty() ? platform::kLameLibrary : encoderLibrary);
}

Tripmain::~Tripmain()
{
    // The encoder's thread is joined before the window it reports to goes.
    if (enc) enc->Terminate();
    enc.reset();
    cdhandle.reset();
    spinglobe = nullptr;
}

void resetripmain()
{
    cancelop = false;
    tempfilename.clear();
    cddrives.clear();
    currentcd = 0;
    id3titles = tid3titles{};
    apic = QImage();
    enclastprog = 0;
    manualentry = false;
    Sectiontitle = QStringLiteral("Extract Compact Disk");
    cdhandle.reset();
    spinglobe = nullptr;
}

void Tripmain::FormCreate(const QString& encoderLibrary)
{
    const QRect screen = platform::screens().geometry(this);
    aspectx = screen.width() / 800.0;
    aspecty = screen.height() / 600.0;
    if (!library::mshand.isOpen()) library::initmailslot();
    createControls();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(screen);
    spinglobe = new controls::TSpinGlobe(this);
    spinglobe->stop();
    spinglobe->move((width() - spinglobe->width()) / 2, (height() - spinglobe->height()) / 2);
    placeTitle();
    loadEncoder(encoderLibrary);
    setWindowTitle(QStringLiteral("MusRip"));
    FormResize();
}

void Tripmain::createControls()
{
    bg = new QLabel(this);
    bg->setObjectName(QStringLiteral("bg"));
    go = new QPushButton(QStringLiteral("Start"), this);
    cdselect = new QGroupBox(QStringLiteral("CD Drive"), this);
    new QLabel(QStringLiteral("CD-ROM Drive:"), cdselect);
    cds = new QComboBox(cdselect);
    connect(cds, &QComboBox::currentIndexChanged, this, &Tripmain::cdsChange);
    mainmenu = new QMenuBar(this);
    curpath = new QLabel(this);
    inf = new QLabel(QStringLiteral("Get CD Information"), this);
    inf->setAlignment(Qt::AlignHCenter);
    setDialogText(inf, aspx(18), kInfoColour);
    log = new QPlainTextEdit(this);
    log->setReadOnly(true);
    log->installEventFilter(this);
    progress = new controls::TBitmapProgress(this);
    progress->setradius(aspx(100));
    progress->setstartradius(aspx(36));
    encprogress = new controls::TBitmapProgress(this);
    encprogress->setradius(aspx(100));
    encprogress->setstartradius(0);
    encprogress->_setmax(100);
    encprogress->_setposition(100);
    cancel = new controls::TBitmapActionButton(this);
    cancel->settext(QStringLiteral("Cancel"));
    connect(cancel, &controls::TBitmapActionButton::OnClick, this, &Tripmain::cancelClick);
    toptitle = new QLabel(Sectiontitle, this);
    toptitle->setObjectName(QStringLiteral("toptitle"));
    toptitleshape = new OutlineShape(this);
    createJukeboxPanel();
    for (QWidget* hidden : {static_cast<QWidget*>(cancel), static_cast<QWidget*>(cdselect),
                            static_cast<QWidget*>(log), jbcontrolpanel, static_cast<QWidget*>(go),
                            static_cast<QWidget*>(curpath), static_cast<QWidget*>(progress),
                            static_cast<QWidget*>(encprogress), static_cast<QWidget*>(mainmenu)})
        hidden->hide();
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
}

void Tripmain::createJukeboxPanel()
{
    jbcontrolpanel = new QWidget(this);
    reject = panelButton(jbcontrolpanel, 2);
    mute = panelButton(jbcontrolpanel, 4);
    voldown = panelButton(jbcontrolpanel, 1);
    volup = panelButton(jbcontrolpanel, 1);
    labreject = panelLabel(jbcontrolpanel, QStringLiteral("Reject"));
    labmute = panelLabel(jbcontrolpanel, QStringLiteral("Mute"));
    labvolume = panelLabel(jbcontrolpanel, QStringLiteral("Volume Control"));
    jbautoplay = new controls::TBitmapCheckbox(jbcontrolpanel);
    jbautoplay->setcolor(0); // black behind the caption, as the panel
    setDialogText(jbautoplay, aspy(8), kDialogTextColour);
    jbautoplay->settext(QStringLiteral("Auto-play on"));
    connect(reject, &controls::TBitmapActionButton::OnClick, this, &Tripmain::rejectClick);
    connect(mute, &controls::TBitmapActionButton::OnClick, this, &Tripmain::muteClick);
    connect(volup, &controls::TBitmapActionButton::OnMouseDown, this, &Tripmain::volupMouseDown);
    connect(volup, &controls::TBitmapActionButton::OnMouseUp, this, &Tripmain::volupMouseUp);
    connect(voldown, &controls::TBitmapActionButton::OnMouseDown, this, &Tripmain::voldownMouseDown);
    connect(voldown, &controls::TBitmapActionButton::OnMouseUp, this, &Tripmain::voldownMouseUp);
    connect(jbautoplay, &controls::TBitmapCheckbox::OnClick, this, &Tripmain::jbautoplayClick);
}

void Tripmain::placeTitle()
{
    QFont font = controls::panelFont(aspx(24));
    toptitle->setFont(font);
    QPalette white = toptitle->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    toptitle->setPalette(white);
    toptitle->setAlignment(Qt::AlignCenter);
    toptitle->adjustSize();
    setWindowFlag(Qt::FramelessWindowHint);
    toptitle->setGeometry(aspx(10), aspy(28), width() - aspx(20),
                          toptitle->height() + 2 * kTitleFrameClearance);
    toptitle->setText(QStringLiteral("Compact Disk Extraction"));
    toptitleshape->setGeometry(toptitle->x() - 2, toptitle->y() - 2, toptitle->width() + 4,
                               toptitle->height() + 2);
}

// Without the encoder library nothing can be extracted: the missing-encoder dialog ends the program.
void Tripmain::loadEncoder(const QString& encoderLibrary)
{
    if (!platform::LoadLameEncDLL(encoderLibrary)) donoLAME();
}

void Tripmain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (log) FormResize();
}

void Tripmain::FormResize()
{
    const int w = width();
    bg->setGeometry(rect());
    // Hidden (as at start-up and mostly after), the window gets its backdrop when it shows, so a
    // hidden window holds no screen-sized picture.
    if (isVisible()) stretchBackdrop();
    // The status line stands right below the title strip, where every dialog (which starts there)
    // covers it, so on a wide screen it never runs into the title. The log is at most as tall as
    // the 800 x 600 design's, scaled, so the rings and Cancel below it stay on a wide screen.
    inf->setGeometry(0, toptitle->y() + toptitle->height(), w, inf->sizeHint().height());
    log->setGeometry((w - int(std::nearbyint(w / 1.5))) / 2, inf->y() + inf->height() + 10,
                     int(std::nearbyint(w / 1.5)), std::min(w / 4, aspy(kLogHeight)));
    QPalette logColours = log->palette();
    logColours.setColor(QPalette::Base, skins::tcolorToQColor(kLogColour));
    logColours.setColor(QPalette::Text, Qt::black);
    log->setPalette(logColours);
    log->setFont(controls::panelFont(aspx(12)));
    const int side = aspy(200);
    const int ringTop = log->y() + log->height() + 10;
    const bool ringsResized = progress->size() != QSize(side, side);
    progress->setGeometry(w / 2 - side, ringTop, side, side);
    encprogress->setGeometry(w / 2, ringTop, side, side);
    // The rings' pictures are stretched to their size when they are given (which hides the rings).
    if (ringsResized) {
        progress->assignbackground(builtinPicture(QStringLiteral("cd")));
        encprogress->assignbackground(builtinPicture(QStringLiteral("dataprog")));
    }
    setDialogText(cancel, aspx(18), kDialogTextColour);
    // The caption grows with the screen: the button widens to keep it whole.
    cancel->resize(kCancelWidth, cancel->height());
    cancel->autosize();
    cancel->move((w - cancel->width()) / 2, ringTop + side + aspy(10));
    layoutJukeboxPanel();
}

void Tripmain::stretchBackdrop()
{
    if (backdrop_.isNull())
        backdrop_ = skins::skinPictureOrNull(QStringLiteral("ADMINBACKDROP"),
                                             library::tskin{QString(), library::clNone}, true);
    bg->setPixmap(
        QPixmap::fromImage(backdrop_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void Tripmain::layoutJukeboxPanel()
{
    jbautoplay->setchecked(jukebox::jukebox && jukebox::jukebox->autoplaycb->checked());
    jbautoplay->autosize();
    const int pw = aspx(40) + jbautoplay->width();
    jbcontrolpanel->setGeometry(width() - (aspx(10) + pw), log->y(), pw, jbcontrolpanel->height());
    reject->move(pw / 4 - kPanelButtonSide / 2, aspy(10));
    mute->move(reject->x() + pw / 2, aspy(10));
    const int labelTop = reject->y() + reject->height();
    labreject->setGeometry(1, labelTop, pw / 2, labreject->sizeHint().height());
    labmute->setGeometry(pw / 2, labelTop, pw / 2 - 2, labmute->sizeHint().height());
    const int volumeTop = labelTop + labreject->height() + aspy(10);
    voldown->move(reject->x(), volumeTop);
    volup->move(mute->x(), volumeTop);
    labvolume->setGeometry(1, volumeTop + kPanelButtonSide, pw - 2, labvolume->sizeHint().height());
    jbautoplay->move(aspx(10), labvolume->y() + labvolume->height() + aspy(10));
    jbcontrolpanel->resize(pw, jbautoplay->y() + jbautoplay->height() + aspy(10));
}

void Tripmain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (bg->pixmap().size() != size()) stretchBackdrop();
    FormShow();
}

// The dial-up program reports to the own mailslot: it is opened afresh for each showing.
void Tripmain::FormShow()
{
    mainmenu->hide();
    currentcd = 0;
    log->hide();
    jbcontrolpanel->hide();
    if (library::mshand.isOpen()) library::mshand.close();
    library::initmailslot();
}

void Tripmain::closeEvent(QCloseEvent* event)
{
    cancelop = true;
    closecd();
    QWidget::closeEvent(event);
}

// Typing into the log is ignored: its keys (Escape among them) are the window's.
bool Tripmain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == log && event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Tripmain::cdsChange()
{
    currentcd = std::max(0, cds->currentIndex());
}

void Tripmain::cancelClick()
{
    cancelop = true;
    if (enc) enc->Terminate();
    serverWait_->abandon();
}

// Escape does what the Cancel button shown does.
void Tripmain::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && cancel->isVisible()) return cancelClick();
    QWidget::keyPressEvent(event);
}

// A jukebox action taken during a long extraction: the encoder steps back while it runs.
void Tripmain::jukeboxAction(const std::function<void()>& action)
{
    const bool encoding = enc && !enc->finished();
    if (encoding) enc->thread().setPriority(QThread::LowPriority);
    if (jukebox::jukebox) action();
    if (encoding) enc->thread().setPriority(QThread::HighPriority);
}

void Tripmain::rejectClick()
{
    jukeboxAction([] { clickShape(&jukebox::Tjukebox::rejectshape2); });
}

void Tripmain::muteClick()
{
    jukeboxAction([] { clickShape(&jukebox::Tjukebox::muteshape2); });
}

void Tripmain::volupMouseDown()
{
    jukeboxAction([] {
        QApplication::beep();
        pressShape(&jukebox::Tjukebox::volumeupshape2, true);
    });
}

void Tripmain::volupMouseUp()
{
    jukeboxAction([] { pressShape(&jukebox::Tjukebox::volumeupshape2, false); });
}

void Tripmain::voldownMouseDown()
{
    jukeboxAction([] { pressShape(&jukebox::Tjukebox::volumedownshape2, true); });
}

void Tripmain::voldownMouseUp()
{
    jukeboxAction([] { pressShape(&jukebox::Tjukebox::volumedownshape2, false); });
}

void Tripmain::jbautoplayClick()
{
    jukeboxAction([this] {
        jukebox::jukebox->autoplaycb->setchecked(jbautoplay->checked());
        jukebox::jukebox->autoplaycbClick(jukebox::jukebox->autoplaycb);
    });
    QCoreApplication::processEvents();
}

} // namespace ripper
