// The jukebox window's control tree, part one: the columns, the right column with its keys and
// number displays, the control panel, the album pages, the corners and the timers. Every control
// gets its name, parent, fixed captions, colours and first visibility here; sizes and places come
// from the layout.

#include "jukebox/jukeboxform.h"

#include <QFont>
#include <QLabel>

#include "controls/drawing.h"
#include "controls/scrolllistbox.h"
#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/timersource.h"
#include "controls/transparentpanel.h"
#include "jukebox/backdrops.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform_build.h"
#include "jukebox/picturebox.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "skins/colors.h"

namespace jukebox {

using namespace build;

namespace {
constexpr int kDigitFontSize = 20;
constexpr int kErrorBlinkInterval = 250;
constexpr int kPlaysInterval = 250;
constexpr int kLightsInterval = 200;
constexpr int kVolumeRepeatInterval = 100;

// A page list: black, grey rows in the panel font.
void makePageList(controls::TScrollListbox* list)
{
    list->setcolor(kBlack);
    list->setfont(controls::panelFont());
    setTextColour(list, kListTextColour);
    list->setnumbercolor(kPanelTextColour);
    list->clear();
}

// A frame of two outlines (the outer one wider), as round the panels and the queue list.
void makeFramePair(FrameShape* outer, FrameShape* inner)
{
    outer->setPen(kOuterFrameColour, kOuterFrameWidth);
    outer->clearBrush();
    inner->setPen(kPanelTextColour, kInnerFrameWidth);
    inner->clearBrush();
}
} // namespace

void Tjukebox::DoDFM()
{
    // The font the first layout gives the window already, so that layout does not change the font
    // of every control again.
    setFont(windowFont());
    setTextColour(this, kPanelTextColour);
    fillBlack(this);

    buildColumns();
    buildRightColumn();
    buildControlPanel();
    buildAlbumArea();
    buildCorners();
    buildKioskPanel();
    buildRandomPanel();
    buildAdvancedPanel();
    buildCommercePanel();
    buildThumbnailAndCoverPanels();
    buildTimers();
    bindPageEvents();
    bindControlPanelEvents();
    bindOperatorEvents();
}

void Tjukebox::buildColumns()
{
    JUKEBOX_MAKE(leftpanel, QWidget, this);
    JUKEBOX_MAKE(leftpanelpic, PictureBox, leftpanel);
    JUKEBOX_MAKE(rightpanel, QWidget, this);
    JUKEBOX_MAKE(midpanelpanel, QWidget, this);
}

void Tjukebox::buildRightColumn()
{
    JUKEBOX_MAKE(rightpanelpic, PictureBox, rightpanel);

    JUKEBOX_MAKE(CreditInfoPanel, QWidget, rightpanel);
    JUKEBOX_MAKE(CreditLabel, TextLabel, CreditInfoPanel);
    JUKEBOX_MAKE(CreditStat, TextLabel, CreditInfoPanel);
    CreditStat->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CreditStat->setText(QStringLiteral("0"));

    JUKEBOX_MAKE(fav, PictureBox, rightpanel);
    fav->hide();

    JUKEBOX_MAKE(butpanel, QWidget, rightpanel);
    JUKEBOX_MAKE(butpanelpic, PictureBox, butpanel);
    JUKEBOX_MAKE(butl, PictureBox, butpanel);
    butl->setStretch(true);
    JUKEBOX_MAKE(butr, PictureBox, butpanel);
    butr->setStretch(true);
    JUKEBOX_MAKE(blshape1, FrameShape, butpanel);
    JUKEBOX_MAKE(brshape1, FrameShape, butpanel);
    JUKEBOX_MAKE(blshape2, FrameShape, butpanel);
    JUKEBOX_MAKE(brshape2, FrameShape, butpanel);
    // The outlines stay invisible: the shapes are the touch areas of the two arrow keys.
    for (FrameShape* shape : {blshape1, brshape1, blshape2, brshape2}) {
        shape->setKind(FrameShape::Kind::Ellipse);
        shape->setPen(kBlack, 0);
    }
    JUKEBOX_MAKE(butllabel, TextLabel, butpanel);
    JUKEBOX_MAKE(butrlabel, TextLabel, butpanel);

    buildKeypad();
    buildLcdPanel();

    JUKEBOX_MAKE(imViewMode, PictureBox, rightpanel);
}

void Tjukebox::buildKeypad()
{
    JUKEBOX_MAKE(keypadpanel, controls::TTransparentPanel, rightpanel);
    JUKEBOX_MAKE(num1, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num2, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num3, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num4, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num5, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num6, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num7, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num8, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num9, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num10, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num11, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num12, PictureBox, keypadpanel);
    JUKEBOX_MAKE(num13, PictureBox, keypadpanel);
    for (PictureBox* key : {num1, num2, num3, num4, num5, num6, num7, num8, num9, num10, num11, num12, num13})
        key->setStretch(true);
    JUKEBOX_MAKE(numlabel1, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel2, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel3, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel4, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel5, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel6, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel7, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel8, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel9, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel10, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel11, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel12, TextLabel, keypadpanel);
    JUKEBOX_MAKE(numlabel13, TextLabel, keypadpanel);
}

void Tjukebox::buildLcdPanel()
{
    JUKEBOX_MAKE(lcdpanel, QWidget, rightpanel);
    JUKEBOX_MAKE(lcdlabel1, TextLabel, lcdpanel);
    JUKEBOX_MAKE(lcdlabel2, TextLabel, lcdpanel);
    JUKEBOX_MAKE(lcd1, QWidget, lcdpanel);
    JUKEBOX_MAKE(lcdtext1, QLabel, lcd1);
    JUKEBOX_MAKE(lcd2, QWidget, lcdpanel);
    JUKEBOX_MAKE(lcdtext2, QLabel, lcd2);
    QFont digits(QStringLiteral("musetradigital"));
    digits.setPointSize(kDigitFontSize);
    for (QLabel* text : {lcdtext1, lcdtext2}) {
        text->setFont(digits);
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    fillBlack(lcd1);
    fillBlack(lcd2);
    JUKEBOX_MAKE(lcd3, controls::TTextScroller, lcdpanel);
}

void Tjukebox::buildControlPanel()
{
    JUKEBOX_MAKE(panel, QWidget, this);
    JUKEBOX_MAKE(panelshape1, FrameShape, panel);
    JUKEBOX_MAKE(panelshape2, FrameShape, panel);
    makeFramePair(panelshape2, panelshape1);
    panelshape2->setBrush(kBlack);
    JUKEBOX_MAKE(mute, PictureBox, panel);
    JUKEBOX_MAKE(reject, PictureBox, panel);
    JUKEBOX_MAKE(volumeup, PictureBox, panel);
    JUKEBOX_MAKE(volumedown, PictureBox, panel);
    for (PictureBox* picture : {mute, reject, volumeup, volumedown})
        picture->setStretch(true);
    JUKEBOX_MAKE(rejectshape1, FrameShape, panel);
    JUKEBOX_MAKE(rejectshape2, FrameShape, panel);
    JUKEBOX_MAKE(muteshape1, FrameShape, panel);
    JUKEBOX_MAKE(muteshape2, FrameShape, panel);
    JUKEBOX_MAKE(volumeupshape1, FrameShape, panel);
    JUKEBOX_MAKE(volumeupshape2, FrameShape, panel);
    JUKEBOX_MAKE(volumedownshape1, FrameShape, panel);
    JUKEBOX_MAKE(volumedownshape2, FrameShape, panel);
    // The first shape of each key is its thin frame; the second, without outline, takes the touch.
    for (FrameShape* frame : {rejectshape1, muteshape1, volumeupshape1, volumedownshape1}) {
        frame->setKind(FrameShape::Kind::RoundRect);
        frame->setPen(kOuterFrameColour, 1);
    }
    for (FrameShape* area : {rejectshape2, muteshape2, volumeupshape2, volumedownshape2})
        area->setPen(kBlack, 0);
    JUKEBOX_MAKE(volumelabel, TextLabel, panel);
    JUKEBOX_MAKE(rejectlabel, TextLabel, panel);
    JUKEBOX_MAKE(mutelabel, TextLabel, panel);
    JUKEBOX_MAKE(volumeuplabel, TextLabel, panel);
    JUKEBOX_MAKE(volumedownlabel, TextLabel, panel);
    for (TextLabel* label : {volumelabel, rejectlabel, mutelabel, volumeuplabel, volumedownlabel})
        label->setAlignment(Qt::AlignCenter);
    panel->hide();
}

// A page panel with its cover, and with `title` and `list` its title area and track list.
void Tjukebox::buildPage(QWidget* page, PictureBox*& cover, PictureBox** title,
                         controls::TScrollListbox** list, const QString& number)
{
    cover = new PictureBox(page);
    cover->setObjectName(QStringLiteral("cd") + number);
    if (title) {
        *title = new PictureBox(page);
        (*title)->setObjectName(QStringLiteral("lb") + number);
    }
    if (list) {
        *list = new controls::TScrollListbox(page);
        (*list)->setObjectName(QStringLiteral("lsb") + number);
        makePageList(*list);
    }
}

void Tjukebox::buildAlbumArea()
{
    JUKEBOX_MAKE(midpanel, PictureBox, midpanelpanel);
    // The panels that stand behind (the pages before and after) are made first, so the page panels
    // cover them.
    JUKEBOX_MAKE(topoverpanel, QWidget, midpanelpanel);
    buildPage(topoverpanel, cd7, &lb7, &lsb7, QStringLiteral("7"));
    JUKEBOX_MAKE(botoverpanel, QWidget, midpanelpanel);
    buildPage(botoverpanel, cd8, &lb8, &lsb8, QStringLiteral("8"));
    JUKEBOX_MAKE(toprightunderpanel, QWidget, midpanelpanel);
    buildPage(toprightunderpanel, cd5, nullptr, nullptr, QStringLiteral("5"));
    JUKEBOX_MAKE(botrightunderpanel, QWidget, midpanelpanel);
    buildPage(botrightunderpanel, cd6, nullptr, nullptr, QStringLiteral("6"));
    JUKEBOX_MAKE(toppanel, QWidget, midpanelpanel);
    buildPage(toppanel, cd1, &lb1, &lsb1, QStringLiteral("1"));
    JUKEBOX_MAKE(botpanel, QWidget, midpanelpanel);
    buildPage(botpanel, cd2, &lb2, &lsb2, QStringLiteral("2"));
    JUKEBOX_MAKE(toprightpanel, QWidget, midpanelpanel);
    buildPage(toprightpanel, cd3, &lb3, &lsb3, QStringLiteral("3"));
    JUKEBOX_MAKE(botrightpanel, QWidget, midpanelpanel);
    buildPage(botrightpanel, cd4, &lb4, &lsb4, QStringLiteral("4"));
    for (PictureBox* cover : {cd1, cd2, cd3, cd4, cd5, cd6, cd7, cd8})
        cover->setStretch(true);

    JUKEBOX_MAKE(lsb1playall, TextLabel, midpanelpanel);
    JUKEBOX_MAKE(lsb2playall, TextLabel, midpanelpanel);
    JUKEBOX_MAKE(lsb3playall, TextLabel, midpanelpanel);
    JUKEBOX_MAKE(lsb4playall, TextLabel, midpanelpanel);
    JUKEBOX_MAKE(lsb7playall, TextLabel, midpanelpanel);
    JUKEBOX_MAKE(lsb8playall, TextLabel, midpanelpanel);
    // Only the two page labels act; the over pages' labels stand on top of them, so a touch must
    // pass through those to the page's own.
    for (TextLabel* inert : {lsb3playall, lsb4playall, lsb7playall, lsb8playall})
        inert->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The track hint shows the row under the finger just below the upper page.
    auto* hintPanel = new controls::TTransparentPanel(this);
    hintPanel->setObjectName(QStringLiteral("TrackHintPanel"));
    hintPanel->setsourcebitmap(&jbbg);
    TrackHintPanel = hintPanel;
    auto* hint = new QLabel(hintPanel);
    hint->setObjectName(QStringLiteral("trackhint"));
    hint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    trackhint = hint;
}

void Tjukebox::buildCorners()
{
    JUKEBOX_MAKE(openpanelpanel, QWidget, this);
    JUKEBOX_MAKE(openpanel, PictureBox, openpanelpanel);
    JUKEBOX_MAKE(kioskpanelpanel, QWidget, this);
    JUKEBOX_MAKE(kioskpanel, PictureBox, kioskpanelpanel);
    JUKEBOX_MAKE(VisualsPanelPanel, QWidget, this);
    JUKEBOX_MAKE(VisualsPanel, PictureBox, VisualsPanelPanel);
    JUKEBOX_MAKE(panel_searchbut, QWidget, this);
    JUKEBOX_MAKE(panel_searchbut_image, PictureBox, panel_searchbut);
    for (PictureBox* corner : {openpanel, kioskpanel, VisualsPanel, panel_searchbut_image}) {
        corner->setStretch(true);
        setTag(corner, 0);
    }
    kioskpanelpanel->hide();
    panel_searchbut->hide();

    JUKEBOX_MAKE(CenterPanel, QWidget, this);
    JUKEBOX_MAKE(CenterPanel_Image, PictureBox, CenterPanel);
    for (PictureBox*& edge : frameEdges_)
        edge = new PictureBox(CenterPanel_Image);
}

void Tjukebox::buildTimers()
{
    struct TimerSetup
    {
        controls::Ticker*& timer;
        const char* name;
        int interval;
    };
    for (const TimerSetup& setup :
         {TimerSetup{errortimer, "errortimer", kErrorBlinkInterval},
          TimerSetup{playstimer, "playstimer", kPlaysInterval},
          TimerSetup{lightstimer, "lightstimer", kLightsInterval}, TimerSetup{navbuttimer, "navbuttimer", 0},
          TimerSetup{volumetimer, "volumetimer", kVolumeRepeatInterval}}) {
        setup.timer = controls::timerSource().makeTicker(this);
        setup.timer->setObjectName(QString::fromLatin1(setup.name));
        setup.timer->setInterval(setup.interval);
        // Every timer waits until something starts it; the volume repeat runs only while a key is held.
        setup.timer->setEnabled(false);
    }
    connect(errortimer, &controls::Ticker::timeout, this, [this] { errortimerTimer(errortimer); });
    connect(lightstimer, &controls::Ticker::timeout, this, [this] { lightstimerTimer(lightstimer); });
    connect(navbuttimer, &controls::Ticker::timeout, this, [this] { navbuttimerTimer(navbuttimer); });
    connect(volumetimer, &controls::Ticker::timeout, this, [this] { volumetimerTimer(volumetimer); });
}

void Tjukebox::bindPageEvents()
{
    for (PictureBox* cover : {cd1, cd2, cd3, cd4})
        connect(cover, &PictureBox::OnClick, this, &Tjukebox::cdClick);
    for (controls::TScrollListbox* list : {lsb1, lsb2})
        connect(list, &controls::TScrollListbox::OnClick, this, &Tjukebox::lsbClick);
    connect(lsb1, &controls::TScrollListbox::OnReachedend, this, [this] { lsb1Reachedend(lsb1); });
    connect(lsb2, &controls::TScrollListbox::OnReachedtop, this, [this] { lsb2Reachedtop(lsb2); });
    connect(butllabel, &TextLabel::OnMouseDown, this, &Tjukebox::butllabelMouseDown);
    connect(butllabel, &TextLabel::OnMouseUp, this, &Tjukebox::butllabelMouseUp);
    connect(blshape2, &FrameShape::OnMouseDown, this, &Tjukebox::butllabelMouseDown);
    connect(blshape2, &FrameShape::OnMouseUp, this, &Tjukebox::butllabelMouseUp);
    connect(butrlabel, &TextLabel::OnMouseDown, this, &Tjukebox::butrlabelMouseDown);
    connect(butrlabel, &TextLabel::OnMouseUp, this, &Tjukebox::butrlabelMouseUp);
    connect(brshape2, &FrameShape::OnMouseDown, this, &Tjukebox::butrlabelMouseDown);
    connect(brshape2, &FrameShape::OnMouseUp, this, &Tjukebox::butrlabelMouseUp);
    connect(butllabel, &TextLabel::OnClick, this, &Tjukebox::butllabelClick);
    connect(butrlabel, &TextLabel::OnClick, this, &Tjukebox::butrlabelClick);
    connect(keypadpanel, &controls::TTransparentPanel::OnMouseUp, this, &Tjukebox::keypadpanelMouseUp);
    connect(imViewMode, &PictureBox::OnClick, this, &Tjukebox::imViewModeClick);
    connect(fav, &PictureBox::OnClick, this, &Tjukebox::favClick);
    connect(lsb1playall, &TextLabel::OnClick, this, &Tjukebox::lsb1playallClick);
    connect(lsb2playall, &TextLabel::OnClick, this, &Tjukebox::lsb2playallClick);
}

void Tjukebox::bindControlPanelEvents()
{
    for (FrameShape* area : {rejectshape1, rejectshape2, muteshape2, volumeupshape2, volumedownshape2}) {
        connect(area, &FrameShape::OnMouseDown, this, &Tjukebox::panelshapeMouseDown);
        connect(area, &FrameShape::OnMouseUp, this, &Tjukebox::panelshapeMouseUp);
    }
    for (TextLabel* label : {volumeuplabel, volumedownlabel}) {
        connect(label, &TextLabel::OnMouseDown, this, &Tjukebox::panelshapeMouseDown);
        connect(label, &TextLabel::OnMouseUp, this, &Tjukebox::panelshapeMouseUp);
    }
    connect(openpanel, &PictureBox::OnClick, this, &Tjukebox::openpanelClick);
    openpanel->setMouseTracking(true);
    connect(openpanel, &PictureBox::OnMouseMove, this, &Tjukebox::openpanelMouseMove);
    connect(kioskpanel, &PictureBox::OnClick, this, &Tjukebox::kioskpanelClick);
    connect(VisualsPanel, &PictureBox::OnClick, this, &Tjukebox::VisualsPanelClick);
    connect(panel_searchbut_image, &PictureBox::OnClick, this, &Tjukebox::panel_searchbut_imageClick);
}

} // namespace jukebox
