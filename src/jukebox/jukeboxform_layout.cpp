// The jukebox window's screen layout: the 800 x 600 design scaled to the screen, the skin pictures
// of the current theme, the backdrop pieces that make the panels look transparent, the keypad and
// the sizes of the album pages. It runs after every full-screen resize and every theme change and
// only sets sizes, places, fonts, captions and pictures.

#include "jukebox/jukeboxform.h"

#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <functional>

#include "controls/drawing.h"
#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/numericinput.h"
#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "controls/selecterlistbox.h"
#include "controls/talphabetbar.h"
#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/transparentpanel.h"
#include "jukebox/backdrops.h"
#include "jukebox/editbox.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform_build.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/searchtrack.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "library/global.h"
#include "platform/arguments.h"
#include "platform/screens.h"
#include "player/mainform.h"
#include "skins/imaging.h"
#include "skins/resourceskins.h"

namespace jukebox {

namespace {
using build::kWhite;

// Columns of the design.
constexpr int kLeftColumn = 19;
constexpr int kRightColumn = 160;
constexpr int kAlbumAreaRight = 800 - kRightColumn;
// Right column, from the top: the credits beside the top-right corner, then the control panel
// (reaching over the album area's right end), then the view switch, so none covers another.
constexpr int kCreditTop = 4;
constexpr int kCreditHeight = 32;
constexpr int kViewModeWidth = 60; // screen pixels, not scaled
constexpr int kViewModeHeight = 50;
constexpr int kArrowTop = 165;
constexpr int kArrowSize = 51;
constexpr int kLcdTop = 240;
constexpr int kLcdTextHeight = 28;
constexpr int kLcdFontSize = 20;
constexpr int kAlbumDisplayWidth = 100;
constexpr int kTrackDisplayWidth = 70;
constexpr int kLcdLabelHeight = 18;
constexpr int kLcdGap = 2;
constexpr int kMessageLineHeight = 20;
constexpr int kMessageSpeed = 200;
// Keypad.
constexpr int kKeySize = 42;
constexpr int kKeyGap = 2;
constexpr int kKeypadTop = 360;
constexpr int kKeypadColumn = 150;
constexpr int kKeypadShift = 8;
constexpr int kKeyFontSize = 10;
// Control panel.
constexpr int kPanelKeySize = 37;
constexpr int kPanelKeyLeft = 15;
constexpr int kPanelKeyTop = 7;
constexpr int kPanelKeyGap = 15;
constexpr int kPanelLabelSize = 9;
constexpr int kPanelSignSize = 14;
constexpr int kPanelLabelHeight = 16;
constexpr int kPanelLabelTop = kPanelKeyTop + kPanelKeySize + 4;
constexpr int kPanelTop = kCreditTop + kCreditHeight + 4;
constexpr int kPanelHeight = kPanelLabelTop + kPanelLabelHeight + 6;
constexpr int kViewModeTop = kPanelTop + kPanelHeight + 2;
// Corners, kiosk and random panels.
constexpr int kCorner = 32;
constexpr int kKioskWidth = 175;
constexpr int kKioskGap = 5;
constexpr int kKioskFontSize = 9;
constexpr int kRandomListLeft = 100;
constexpr int kRandomListFontSize = 14;
constexpr int kRandomButtonFontSize = 9;
constexpr int kSelectNoneWidth = 160;
constexpr int kRandomCancelLeft = 200;
constexpr int kRandomCancelTop = 100;
// Album area.
constexpr int kCenterLeft = 11;
constexpr int kCenterTop = 11;
constexpr int kCenterWidth = 637;
constexpr int kCenterHeight = 575;
constexpr int kCoverSize = 260;
constexpr int kUpperPageTop = 23;
constexpr int kLowerPageTop = 298;
constexpr int kPageLeft = 1;
constexpr int kNextPageGap = 30;
constexpr int kListLeftGap = 10;
constexpr int kListNarrower = 20;
constexpr int kAddAllFontSize = 5;
constexpr int kAddAllGap = 2;
constexpr int kHintHeight = 12;
constexpr int kHintFontSize = 9;
constexpr int kLetterBarFontSize = 12;
// Operator panels.
constexpr int kAdminMargin = 20;
constexpr int kAdminRow = 40;
constexpr int kAdminFontSize = 14;
constexpr int kAdminButtonFontSize = 9;
constexpr int kNumericWidth = 120;
constexpr int kCodeWidth = 60;

// Letter-bar places of the theme.
constexpr int32_t kBarLeft = 0;
constexpr int32_t kBarTop = 1;
constexpr int32_t kBarBottom = 2;
constexpr int32_t kBarHidden = 3;

const QString kBackdropName = QStringLiteral("BACKGROUND");
const QString kCenterMaskName = QStringLiteral("CENTERMASK");

// The frame mask's skin entry: untinted, since the white of the mask is what is cut away.
library::tskin untinted(const library::tskin& skin)
{
    return {skin.Skin, library::clNone};
}

// The share of a key's width and height its caption may take: the rest is the key's border.
constexpr double kKeyTextRoom = 0.8;

// The panel font at `points`, or the largest smaller one whose metrics `fits` accepts.
QFont largestFitting(int points, const std::function<bool(const QFontMetrics&)>& fits)
{
    while (points > 1 && !fits(QFontMetrics(controls::panelFont(points))))
        --points;
    return controls::panelFont(points);
}

// A rectangle of the design in screen pixels.
QRect designRect(int left, int top, int width, int height)
{
    return QRect(aspx(left), aspy(top), aspx(width), aspy(height));
}

// `source` stretched to `size` in the screen's own format, so a control shows it, or a piece of
// it, without a copy; black without a source.
QImage stretched(const QImage& source, const QSize& size, Qt::TransformationMode mode)
{
    if (source.isNull()) {
        QImage black(size, QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }
    return source.scaled(size, Qt::IgnoreAspectRatio, mode).convertToFormat(QImage::Format_RGB32);
}

// The part of the window background under `picture`, as its picture: the background's own pixels,
// black where the control reaches beyond it.
void showBackgroundPiece(PictureBox* picture)
{
    const QRect place(picture->mapTo(picture->window(), QPoint(0, 0)),
                      picture->size().expandedTo(QSize(1, 1)));
    if (jbbg.rect().contains(place)) {
        picture->setPicture(controls::sharedPiece(jbbg, place));
        return;
    }
    QImage piece(place.size(), QImage::Format_RGB888);
    bitmapoverbitmap(jbbg, piece, 0, place.x(), place.y());
    picture->setPicture(piece);
}

// The top, bottom, left and right edges of a `size` picture that hold every pixel of `shape`: the
// left and right edges as wide as the shape's runs from the sides across the middle row, the top
// and bottom edges as deep as rows reach beyond those two. A shape without a see-through middle
// makes the left edge the whole picture.
std::array<QRect, 4> frameEdges(const QRegion& shape, const QSize& size)
{
    const int width = size.width();
    const int height = size.height();
    const auto row = [&](int y) { return shape.intersected(QRect(0, y, width, 1)); };
    int left = 0;
    int right = 0;
    for (const QRect& run : row(height / 2)) {
        if (run.left() == 0) left = run.right() + 1;
        if (run.right() == width - 1) right = width - run.left();
    }
    right = std::min(right, width - left);
    const QRegion sides = QRegion(0, 0, left, height) + QRegion(width - right, 0, right, height);
    const auto withinSides = [&](int y) { return row(y).subtracted(sides).isEmpty(); };
    int top = height / 2;
    while (top > 0 && withinSides(top - 1))
        --top;
    int bottom = height / 2;
    while (bottom < height && withinSides(bottom))
        ++bottom;
    return {QRect(0, 0, width, top), QRect(0, bottom, width, height - bottom),
            QRect(0, top, left, bottom - top), QRect(width - right, top, right, bottom - top)};
}
} // namespace

void bitmapoverbitmap(const QImage& source, QImage& dest, int32_t, int sx, int sy)
{
    QImage copy(dest.size(), QImage::Format_RGB888);
    copy.fill(Qt::black);
    QPainter painter(&copy);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), source, QRect(QPoint(sx, sy), dest.size()));
    painter.end();
    dest = copy;
}

void Tjukebox::setscreen()
{
    const QRect screen = platform::screens().geometry(this);
    screenwidth = screen.width();
    screenheight = screen.height();
    // Qt double-buffers every widget; only the page lists' spacing is set here.
    lsb1->setlinespacing(2.0f);
    for (controls::TScrollListbox* list : {lsb2, lsb3, lsb4, lsb7, lsb8})
        list->setlinespacing(lsb1->linespacing());
    setFont(windowFont());

    placeColumns();
    // The page's cover pictures are made on worker threads while the panels are laid out, so the
    // page drawn below finds them made.
    setalbumsizes();
    prepareCurrentPageBesideLayout();
    setupkeypad();
    placeLcdPanel();
    startMessageLine();
    placeRightColumn();
    placeControlPanel();
    placeCorners();
    placeKioskPanel();
    placeRandomPanel();
    placeAdvancedPanel();
    placeCommercePanel();
    setopenpanel();

    makeBackgrounds();
    placeBackgroundPieces();
    placePageLists();
    drawalbum(currentalbum);

    placeAddAllLabels();
    // The panels keep clear of the letter bar where it now stands.
    placeLetterBar();
    placeSearchAndQueuePanels();
    setaddall();
    fav->setVisible(player::tvmode);
    placeTrackHint();
    applyDisplayOnly();
    if (thumbpanel->isVisible()) sizethumbpanel();
}

void Tjukebox::placeColumns()
{
    const int left = aspx(kLeftColumn);
    const int right = aspx(kAlbumAreaRight);
    leftpanel->setGeometry(0, 0, left, height());
    midpanelpanel->setGeometry(left, 0, right - left, height());
    rightpanel->setGeometry(right, 0, width() - right, height());
    midpanel->setGeometry(midpanelpanel->rect());
    leftpanelpic->setGeometry(leftpanel->rect());
    rightpanelpic->setGeometry(rightpanel->rect());
}

void Tjukebox::setupkeypad()
{
    const int kw = aspx(kKeySize);
    const int kh = aspy(kKeySize);
    const int sx = aspx(kKeyGap);
    const int sy = aspy(kKeyGap);
    const int width = 3 * (kw + sx) + sx;
    const int height = static_cast<int>(std::nearbyint((kh + sy) * 4.5)) + sy;
    keypadpanel->setGeometry(aspx(kKeypadColumn) / 2 - width / 2 + aspx(kKeypadShift), aspy(kKeypadTop),
                             width, height);

    const library::tskin& skin = library::config.theme.skeypad;
    const QImage keyUp = skins::skinPictureOrNull(QStringLiteral("KEYPADUP"), skin);
    PictureBox* const keys[] = {num1, num2, num3, num4, num5, num6, num7, num8, num9, num10, num11, num12};
    for (int i = 0; i < 12; ++i) {
        const int row = i / 3;
        const int column = i % 3;
        keys[i]->setGeometry(sx + column * (kw + sx), sy + row * (kh + sy), kw, kh);
        keys[i]->setPicture(keyUp);
    }
    num13->setPicture(skins::skinPictureOrNull(QStringLiteral("WIDEBUTUP"), skin));
    num13->setGeometry(sx, num10->y() + kh + sy, 3 * kw + 2 * sx, kh / 2);

    const struct
    {
        TextLabel* label;
        PictureBox* key;
        const char* caption;
    } captions[] = {{numlabel1, num1, "7"},
                    {numlabel2, num2, "8"},
                    {numlabel3, num3, "9"},
                    {numlabel4, num4, "4"},
                    {numlabel5, num5, "5"},
                    {numlabel6, num6, "6"},
                    {numlabel7, num7, "1"},
                    {numlabel8, num8, "2"},
                    {numlabel9, num9, "3"},
                    {numlabel10, num10, "0"},
                    {numlabel11, num11, "Clear"},
                    {numlabel12, num12, "Enter"},
                    {numlabel13, num13, "Cancel Last Entry"}};
    for (const auto& entry : captions) {
        setupnumlabel(entry.label, entry.key, QString::fromLatin1(entry.caption));
        // Every layout binds again; a label keeps one binding per event.
        connect(entry.label, &TextLabel::OnMouseDown, this, &Tjukebox::rightpanelpicMouseDown,
                Qt::UniqueConnection);
        connect(entry.label, &TextLabel::OnMouseUp, this, &Tjukebox::keypadpanelMouseUp,
                Qt::UniqueConnection);
    }
    const QFont font = keypadFont();
    for (const auto& entry : captions)
        entry.label->setFont(font);

    lightstimer->setEnabled(platform::commandLineArgument(3).toUpper() == QStringLiteral("/L"));
    kioskpanelpanel->setVisible(!library::config.lock);
}

void Tjukebox::setupnumlabel(TextLabel* lab, PictureBox* img, const QString& txt)
{
    lab->setGeometry(img->geometry());
    lab->setText(txt);
    lab->setAlignment(Qt::AlignCenter);
    lab->setFontColor(kWhite);
    lab->raise();
    connect(lab, &TextLabel::OnClick, this, &Tjukebox::numClick, Qt::UniqueConnection);
}

void Tjukebox::placeLcdPanel()
{
    lcd1text = QStringLiteral("    ");
    lcd2text = QStringLiteral("   ");
    lcdtext1->setText(lcd1text);
    lcdtext2->setText(lcd2text);
    lcddelay = NORMALLCDDELAY;

    // Stacked: "Album:" over its four digits, "Track:" over its three, then the message line.
    const int width = keypadpanel->width();
    const int labelHeight = aspy(kLcdLabelHeight);
    const int textHeight = aspy(kLcdTextHeight);
    QFont digits(QStringLiteral("musetradigital"));
    digits.setPointSize(std::max(1, aspy(kLcdFontSize)));
    lcdlabel1->setText(QStringLiteral("Album:"));
    lcdlabel1->setGeometry(0, 0, width, labelHeight);
    lcd1->setGeometry(0, labelHeight, aspx(kAlbumDisplayWidth), textHeight);
    lcdlabel2->setText(QStringLiteral("Track:"));
    lcdlabel2->setGeometry(0, lcd1->geometry().bottom() + 1 + aspy(kLcdGap), width, labelHeight);
    lcd2->setGeometry(0, lcdlabel2->geometry().bottom() + 1, aspx(kTrackDisplayWidth), textHeight);
    for (QLabel* text : {lcdtext1, lcdtext2}) {
        text->setFont(digits);
        text->setGeometry(text->parentWidget()->rect());
    }
    lcd3->setGeometry(0, lcd2->geometry().bottom() + 1 + aspy(kLcdGap), width, aspy(kMessageLineHeight));
    lcd3->setfont(controls::panelFont(aspy(kAddAllFontSize * 2)));
    lcdpanel->setGeometry(keypadpanel->x(), aspy(kLcdTop), width, lcd3->geometry().bottom() + 1 + 2);
}

void Tjukebox::startMessageLine()
{
    lcd3->setcolor(build::kBlack);
    lcd3->setspeed(kMessageSpeed);
    if (!player::mainform || player::mainform->windowTitle() != QStringLiteral("MusRip")) showWelcome();
}

void Tjukebox::placeRightColumn()
{
    const int columnWidth = rightpanel->width();
    const int besideCorner = columnWidth - aspx(kCorner) - keypadpanel->x();
    CreditInfoPanel->setGeometry(keypadpanel->x(), aspy(kCreditTop),
                                 std::min(keypadpanel->width(), besideCorner), aspy(kCreditHeight));
    CreditLabel->setText(QStringLiteral("Credits:"));
    // The caption takes half the panel, or as much more as it needs to show whole; the count the rest.
    const int captionWidth = std::max(CreditInfoPanel->width() / 2, CreditLabel->sizeHint().width());
    CreditLabel->setGeometry(0, 0, captionWidth, CreditInfoPanel->height());
    CreditStat->setGeometry(captionWidth, 0, CreditInfoPanel->width() - captionWidth,
                            CreditInfoPanel->height());
    CreditInfoPanel->setVisible(library::config.creditsystem);

    imViewMode->setGeometry((columnWidth - kViewModeWidth) / 2, aspy(kViewModeTop), kViewModeWidth,
                            kViewModeHeight);
    imViewMode->setPicture(controls::programPicture(QStringLiteral("VIEW3D")));
    imViewMode->setVisible(!library::config.disable3d);

    // The two arrow keys at the ends of a bar as wide as the keypad.
    const library::tskin& skin = library::config.theme.sbut;
    butpanel->setGeometry(keypadpanel->x(), aspy(kArrowTop), keypadpanel->width(), aspy(kArrowSize));
    butpanelpic->setGeometry(butpanel->rect());
    // Round keys stay round on a screen of another shape than the design's.
    const int side = std::min(aspx(kArrowSize), aspy(kArrowSize));
    const QSize arrow(side, side);
    const int arrowTop = (butpanel->height() - side) / 2;
    butl->setGeometry(QRect(QPoint(0, arrowTop), arrow));
    butr->setGeometry(QRect(QPoint(butpanel->width() - side, arrowTop), arrow));
    butl->setPicture(skins::skinPictureOrNull(QStringLiteral("LBUTUP"), skin));
    butr->setPicture(skins::skinPictureOrNull(QStringLiteral("RBUTUP"), skin));
    for (QWidget* area : std::initializer_list<QWidget*>{blshape1, blshape2, butllabel})
        area->setGeometry(butl->geometry());
    for (QWidget* area : std::initializer_list<QWidget*>{brshape1, brshape2, butrlabel})
        area->setGeometry(butr->geometry());
    for (TextLabel* label : {butllabel, butrlabel})
        label->setFont(controls::panelFont(aspy(kArrowSize / 2 - 5)));

    const int favSize = aspx(kArrowSize);
    fav->setGeometry((columnWidth - favSize) / 2, aspy(kPanelKeyTop), favSize, favSize);
}

// Reject, mute, volume up and volume down side by side, each with its frame and caption.
void Tjukebox::placeControlPanel()
{
    reject->setPicture(controls::programPicture(QStringLiteral("REJECTUP")));
    mute->setPicture(controls::programPicture(QStringLiteral("MUTEUP")));
    volumeup->setPicture(controls::programPicture(QStringLiteral("VOLUMEUP")));
    volumedown->setPicture(controls::programPicture(QStringLiteral("VOLUMEUP")));
    rejectlabel->setText(QStringLiteral("Reject"));
    mutelabel->setText(QStringLiteral("Mute"));
    volumelabel->setText(QStringLiteral("Volume Control"));
    volumeuplabel->setText(QStringLiteral("+"));
    volumedownlabel->setText(QStringLiteral("-"));

    const struct
    {
        PictureBox* picture;
        FrameShape* frame;
        FrameShape* area;
        TextLabel* caption; // under this key alone; the volume caption spans both volume keys
    } keys[] = {{reject, rejectshape1, rejectshape2, rejectlabel},
                {mute, muteshape1, muteshape2, mutelabel},
                {volumeup, volumeupshape1, volumeupshape2, nullptr},
                {volumedown, volumedownshape1, volumedownshape2, nullptr}};
    int left = kPanelKeyLeft;
    for (const auto& key : keys) {
        key.picture->setGeometry(designRect(left, kPanelKeyTop, kPanelKeySize, kPanelKeySize));
        key.frame->setGeometry(designRect(left - 3, kPanelKeyTop - 3, kPanelKeySize + 6, kPanelKeySize + 6));
        if (key.caption) {
            key.caption->setGeometry(
                designRect(left - 6, kPanelLabelTop, kPanelKeySize + 12, kPanelLabelHeight));
            key.area->setGeometry(key.frame->geometry().united(key.caption->geometry()));
        } else {
            key.area->setGeometry(key.frame->geometry());
        }
        left += kPanelKeySize + kPanelKeyGap;
    }
    for (TextLabel* label : {rejectlabel, mutelabel, volumelabel})
        label->setFont(controls::panelFont(aspy(kPanelLabelSize)));
    for (TextLabel* label : {volumeuplabel, volumedownlabel})
        label->setFont(controls::panelFont(aspy(kPanelSignSize), true));
    const int volumeLeft = kPanelKeyLeft + 2 * (kPanelKeySize + kPanelKeyGap);
    volumelabel->setGeometry(
        designRect(volumeLeft - 6, kPanelLabelTop, 2 * kPanelKeySize + kPanelKeyGap + 12, kPanelLabelHeight));
    // The volume signs lie on their round keys.
    volumeuplabel->setGeometry(volumeup->geometry());
    volumedownlabel->setGeometry(volumedown->geometry());
    for (QWidget* front :
         std::initializer_list<QWidget*>{rejectshape1, rejectshape2, muteshape2, volumeupshape2,
                                         volumedownshape2, volumeuplabel, volumedownlabel})
        front->raise();

    const int panelWidth = 2 * kPanelKeyLeft + 4 * kPanelKeySize + 3 * kPanelKeyGap;
    // Left of the top-right corner, so the corner stays free to close it again, and under the
    // credits, whether it shows for good or opens from the corner.
    panel->setGeometry(designRect(800 - kCorner - panelWidth, kPanelTop, panelWidth, kPanelHeight));
    panelshape2->setGeometry(panel->rect());
    panelshape1->setGeometry(panel->rect().adjusted(2, 2, -2, -2));
    panelshape2->lower();
    // It reaches over the album area's frame, also while it shows for good.
    panel->raise();
}

void Tjukebox::placeCorners()
{
    const library::ttheme& theme = library::config.theme;
    const QSize corner(aspx(kCorner), aspy(kCorner));
    VisualsPanelPanel->setGeometry(QRect(QPoint(0, 0), corner));
    panel_searchbut->setGeometry(QRect(QPoint(0, height() - corner.height()), corner));
    openpanelpanel->setGeometry(QRect(QPoint(width() - corner.width(), 0), corner));
    kioskpanelpanel->setGeometry(QRect(QPoint(width() - corner.width(), height() - corner.height()), corner));
    const struct
    {
        PictureBox* picture;
        const char* name;
        const library::tskin& skin;
    } corners[] = {{VisualsPanel, "LCORNER", theme.slcorner},
                   {panel_searchbut_image, "BLCORNER", theme.sblcorner},
                   {openpanel, "RCORNER", theme.srcorner},
                   {kioskpanel, "BRCORNER", theme.sbrcorner}};
    for (const auto& entry : corners) {
        entry.picture->setGeometry(entry.picture->parentWidget()->rect());
        build::showCorner(entry.picture, QString::fromLatin1(entry.name), entry.skin,
                          tagOf(entry.picture) == 1);
    }
    panel_searchbut->show();
}

// The check box and the six buttons stacked in a framed column above the bottom-right corner.
void Tjukebox::placeKioskPanel()
{
    autoplaycb->settext(QStringLiteral("Auto-play on"));
    goplaylistview->settext(QStringLiteral("Playlist View"));
    randombut->settext(QStringLiteral("Random Playlist"));
    rejectall->settext(QStringLiteral("Reject All"));
    ripbut->settext(QStringLiteral("Extract CD"));
    advancedbut->settext(QStringLiteral("Advanced Options"));
    Shutdownbut->settext(library::config.poweroff ? QStringLiteral("Turn Off") : QStringLiteral("Exit"));

    const QFont font = controls::panelFont(aspy(kKioskFontSize), true);
    int top = aspy(kKioskGap + 2);
    const int left = aspx(kKioskGap + 3);
    QWidget* const stack[] = {autoplaycb, goplaylistview, randombut,  rejectall,
                              ripbut,     advancedbut,    Shutdownbut};
    for (QWidget* control : stack) {
        control->setFont(font);
        build::setTextColour(control, build::kPanelTextColour);
        control->move(left, top);
        if (auto* button = qobject_cast<controls::TBitmapActionButton*>(control)) button->autosize();
        if (auto* box = qobject_cast<controls::TBitmapCheckbox*>(control)) box->autosize();
        // Hidden buttons take no room in the column.
        if (!control->isHidden() || control == autoplaycb) top += control->height() + aspy(kKioskGap);
    }
    const int height = top - aspy(kKioskGap) + aspy(10);
    const int width = aspx(kKioskWidth);
    panel_kiosk->setGeometry(this->width() - aspx(kCorner) - width, this->height() - aspy(kCorner) - height,
                             width, height);
    panel_kioskshape2->setGeometry(panel_kiosk->rect());
    panel_kioskshape1->setGeometry(panel_kiosk->rect().adjusted(2, 2, -2, -2));
    panel_kioskshape2->lower();
}

// The random-playlist panel covers the whole album area, so nothing of the pages shows beside it;
// the kiosk panel stays open above it, and its album list, count and buttons stand left of that.
void Tjukebox::placeRandomPanel()
{
    randompanelOK->settext(QStringLiteral("Make Playlist from albums"));
    randompanelcancel->settext(QStringLiteral("Go Back"));
    randompanel->setGeometry(midpanelpanel->geometry());
    const QFont buttonFont = controls::panelFont(aspy(kRandomButtonFontSize));
    for (controls::TBitmapActionButton* button :
         {randompanelOK, randompanelcancel, randompanelselectall, randompanelselectnone, RandomCancel}) {
        button->setFont(buttonFont);
        button->autosize();
    }
    randompanelselectnone->resize(aspx(kSelectNoneWidth), randompanelselectnone->height());

    QFont listFont = controls::panelFont(aspy(kRandomListFontSize));
    randompanellb->setfont(listFont);
    randompanellb->setkeyside(touchSide()); // its "More" keys as large as the keypad's
    const int listWidth = randompanel->width() - 2 * aspx(kRandomListLeft);
    const int buttonsHeight = 2 * (randompanelOK->height() + aspy(kKioskGap));
    const int listHeight = randompanel->height() - aspy(kAdminMargin) * 3 - buttonsHeight - aspy(kAdminRow);
    randompanellb->setGeometry(aspx(kRandomListLeft), aspy(kAdminMargin), listWidth, listHeight);
    randompanelshape2->setGeometry(randompanellb->geometry().adjusted(-3, -3, 3, 3));
    randompanelshape1->setGeometry(randompanellb->geometry().adjusted(-5, -5, 5, 5));
    randomcountlabel->setFont(controls::panelFont(aspy(kRandomListFontSize)));
    randomcountlabel->setGeometry(randompanellb->x(), randompanellb->geometry().bottom() + aspy(8), listWidth,
                                  aspy(kAdminRow) / 2 + aspy(4));
    int top = randomcountlabel->geometry().bottom() + aspy(kKioskGap);
    randompanelselectall->move(randompanellb->x(), top);
    randompanelselectnone->move(randompanelselectall->geometry().right() + aspx(10), top);
    top += randompanelselectall->height() + aspy(kKioskGap);
    randompanelOK->move(randompanellb->x(), top);
    randompanelcancel->move(randompanelOK->geometry().right() + aspx(10), top);
    RandomCancel->setFont(controls::panelFont(aspy(kRandomListFontSize)));
    RandomCancel->autosize();
    RandomCancel->move(aspx(kRandomCancelLeft), aspy(kRandomCancelTop));
    randomdicepanel->setGeometry((randompanel->width() - aspx(kCoverSize) / 2) / 2, aspy(kAdminRow * 2),
                                 aspx(kCoverSize) / 2, aspy(kCoverSize) / 2);
    randomdice->setGeometry(randomdicepanel->rect());
    raiseRandomPanel();
}

void Tjukebox::raiseRandomPanel()
{
    randompanel->raise();
    // The left corner keys reach into the album area: they stay whole above the panel, as does the
    // kiosk panel beside it.
    for (QWidget* above : std::initializer_list<QWidget*>{VisualsPanelPanel, panel_searchbut, panel_kiosk})
        above->raise();
}

// The advanced panel covers the window: the passcode row at the top, the album list to edit, the
// display options under it and the buttons along the bottom.
void Tjukebox::placeAdvancedPanel()
{
    jbinfogo->settext(QStringLiteral("Statistics"));
    GoThemeManager->settext(QStringLiteral("Launch Theme Manager"));
    advanced->setGeometry(rect());
    const QFont font = controls::panelFont(aspy(kAdminFontSize));
    const QFont buttonFont = controls::panelFont(aspy(kAdminButtonFontSize));
    const int margin = aspx(kAdminMargin);

    for (QWidget* text : std::initializer_list<QWidget*>{unlocklabel, codefirst, code, editlabel})
        text->setFont(font);
    build::setTextColour(code, build::kListTextColour);
    build::fillBlack(code);
    unlocklabel->adjustSize();
    codefirst->adjustSize();
    const int rowHeight = std::max(unlocklabel->height(), aspy(kAdminRow) - 8);
    unlocklabel->setGeometry(aspx(8), 4, unlocklabel->width(), rowHeight);
    codefirst->setGeometry(unlocklabel->geometry().right() + 1, 4, codefirst->width(), rowHeight);
    code->setGeometry(codefirst->geometry().right() + aspx(4), 4, aspx(kCodeWidth), rowHeight);
    setcode->setFont(buttonFont);
    setcode->autosize();
    setcode->move(code->geometry().right() + aspx(8), 4 + (rowHeight - setcode->height()) / 2);
    codepanel->resize(setcode->geometry().right() + aspx(8), rowHeight + 8);
    codepanel->move((advanced->width() - codepanel->width()) / 2, aspy(kAdminMargin));
    for (controls::TBitmapActionButton* button :
         {advancedOK, jbinfogo, GoThemeManager, GoCommercialManager}) {
        button->setFont(buttonFont);
        button->autosize();
    }
    advancedOK->move(codepanel->geometry().right() + 1 + aspx(10),
                     codepanel->y() + (codepanel->height() - advancedOK->height()) / 2);

    const int bottom = advanced->height() - aspy(10);
    GoThemeManager->move(margin, bottom - GoThemeManager->height());
    jbinfogo->move(margin, GoThemeManager->y() - aspy(kKioskGap) - jbinfogo->height());
    GoCommercialManager->move((advanced->width() - GoCommercialManager->width()) / 2,
                              bottom - GoCommercialManager->height());

    const int optionsTop = jbinfogo->y() - aspy(kKioskGap) - aspy(kAdminRow);
    optionspanel->setGeometry(margin, optionsTop, advanced->width() - 2 * margin, aspy(kAdminRow));
    int left = 0;
    for (controls::TBitmapCheckbox* box : {volumeshow, addallshow, NoRepeatCb}) {
        box->setFont(buttonFont);
        box->autosize();
        box->move(left, (optionspanel->height() - box->height()) / 2);
        left += box->width() + aspx(kAdminMargin);
    }

    const int editTop = codepanel->geometry().bottom() + 1 + aspy(kKioskGap * 2);
    editpanel->setGeometry(margin, editTop, advanced->width() - 2 * margin,
                           optionsTop - editTop - aspy(kKioskGap));
    editlabel->adjustSize();
    editlabel->move(0, 0);
    editlb->setfont(font);
    editlb->setGeometry(0, editlabel->height() + 2, editpanel->width(),
                        editpanel->height() - editlabel->height() - 2);
}

// The commerce panel covers the window: credit and background options on the left, statistics and
// the top-100 chart on the right, "Done" at the bottom right.
void Tjukebox::placeCommercePanel()
{
    Commerce->setGeometry(rect());
    const QFont titleFont = controls::panelFont(aspy(kAdminFontSize), true);
    const int margin = aspx(kAdminMargin);
    const int half = Commerce->width() / 2;
    const int row = aspy(kAdminRow);
    const int inputWidth = aspx(kNumericWidth);
    const int labelRoom = half - 2 * margin - inputWidth - aspx(8);
    const QFont font = commerceFont(labelRoom, half - 2 * margin);

    CmTitleLab->setFont(titleFont);
    CmTitleLab->adjustSize();
    CmTitleLab->move((Commerce->width() - CmTitleLab->width()) / 2, aspy(kAdminMargin / 2));
    int top = CmTitleLab->geometry().bottom() + 1 + aspy(kAdminMargin);
    const struct
    {
        TextLabel* title;
        QWidget* section;
        int rows;
    } sections[] = {{CmCreditPanelLab, CmCreditPanel, 2}, {CmBackgroundPanelLab, CmBackgroundPanel, 3}};
    for (const auto& entry : sections) {
        entry.title->setFont(font);
        entry.title->adjustSize();
        entry.title->move(margin, top);
        entry.section->setGeometry(margin, entry.title->geometry().bottom() + 1, half - 2 * margin,
                                   entry.rows * row);
        top = entry.section->geometry().bottom() + 1 + aspy(kAdminMargin);
    }
    const struct
    {
        TextLabel* label;
        controls::TNumericInput* input;
        int row;
    } inputs[] = {{CmPlaysPerCreditLab, CmPlaysPerCredit, 0},
                  {CmBgVolumeLab, CmBgVolume, 0},
                  {CmBgDurationLab, CmBgDuration, 1},
                  {CmBgWaitTimeLab, CmBgWaitTime, 2}};
    for (const auto& entry : inputs) {
        const int sectionWidth = entry.input->parentWidget()->width();
        entry.input->setGeometry(sectionWidth - inputWidth, entry.row * row + (row - inputWidth / 4) / 2,
                                 inputWidth, inputWidth / 4);
        entry.label->setFont(font);
        entry.label->setGeometry(0, entry.row * row, labelRoom, row);
    }
    CmAllowFreeCredit->setFont(font);
    CmAllowFreeCredit->autosize();
    CmAllowFreeCredit->move(0, row + (row - CmAllowFreeCredit->height()) / 2);

    CmStatisticsPanelLab->setFont(font);
    CmStatisticsPanelLab->adjustSize();
    CmStatisticsPanelLab->move(half + margin, CmCreditPanelLab->y());
    const int statisticsTop = CmStatisticsPanelLab->geometry().bottom() + 1;
    CommerceOK->setFont(font);
    CommerceOK->autosize();
    CommerceOK->move(Commerce->width() - aspx(10) - CommerceOK->width(),
                     Commerce->height() - aspy(10) - CommerceOK->height());
    CmStatisticsPanel->setGeometry(half + margin, statisticsTop, half - 2 * margin,
                                   CommerceOK->y() - aspy(kKioskGap) - statisticsTop);
    for (TextLabel* line : {CmCredit, CmCreditLab, Cmtop100Lab})
        line->setFont(font);
    CmCreditLab->setWordWrap(true);
    CmResetCreditStats->setFont(font);
    CmResetCreditStats->autosize();
    CmTop100->setfont(controls::panelFont(aspy(kAdminButtonFontSize - 1)));
    placeStatistics();
}

// The statistics column from the top: the coin line, the writes that failed, each wrapped to the
// column and taking the rows it needs, the reset key, then the chart's caption and the chart.
void Tjukebox::placeStatistics()
{
    const int width = CmStatisticsPanel->width();
    const int row = aspy(kAdminRow);
    const int line = row / 2;
    CmCredit->setGeometry(0, 0, width, line);
    const int failuresHeight = CmCreditLab->isHidden() ? 0 : CmCreditLab->heightForWidth(width);
    CmCreditLab->setGeometry(0, line, width, std::max(line, failuresHeight));
    CmResetCreditStats->move(0, std::max(row, CmCreditLab->geometry().bottom() + 1));
    Cmtop100Lab->setGeometry(0, CmResetCreditStats->geometry().bottom() + 1 + aspy(kKioskGap), width, line);
    const int chartTop = Cmtop100Lab->geometry().bottom() + 1;
    CmTop100->setGeometry(0, chartTop, width, CmStatisticsPanel->height() - chartTop);
}

// The commerce panel's text size, smaller than designed where a setting's caption would not fit
// beside its number (`labelRoom`) or the chart's caption across its half (`chartRoom`), as on a
// 4:3 screen.
QFont Tjukebox::commerceFont(int labelRoom, int chartRoom) const
{
    return largestFitting(aspy(kAdminButtonFontSize + 2), [&](const QFontMetrics& metrics) {
        if (metrics.horizontalAdvance(build::chartCaption()) > chartRoom) return false;
        for (const QLabel* label : {CmPlaysPerCreditLab, CmBgVolumeLab, CmBgDurationLab, CmBgWaitTimeLab})
            if (metrics.horizontalAdvance(label->text()) > labelRoom) return false;
        return true;
    });
}

// The keypad's one text size: the design's, and no larger than the keys' height allows on a wide
// screen, nor than lets every caption stand inside its key's border.
QFont Tjukebox::keypadFont() const
{
    const PictureBox* const keys[] = {num1, num11, num12, num13};
    const TextLabel* const labels[] = {numlabel1, numlabel11, numlabel12, numlabel13};
    return largestFitting(std::min(aspx(kKeyFontSize), aspy(kKeyFontSize)), [&](const QFontMetrics& metrics) {
        for (size_t i = 0; i < std::size(keys); ++i) {
            const QSize room = keys[i]->size() * kKeyTextRoom;
            if (metrics.horizontalAdvance(labels[i]->text()) > room.width() ||
                metrics.height() > room.height())
                return false;
        }
        return true;
    });
}

void Tjukebox::prepareBackdrop()
{
    preparedBackdropSkin_ = library::config.theme.sbackground;
    preparedCenterMask_ = std::async(std::launch::async, [skin = untinted(preparedBackdropSkin_)] {
        return skins::skinPictureOnAnyThread(kCenterMaskName, skin, false);
    });
    QImage cached;
    // A backdrop in the skin cache is the one to show; only the window thread reads the cache.
    if (skins::getimagefromcache(kBackdropName, cached)) return;
    preparedBackdropSize_ = platform::screens().geometry(this).size();
    preparedBackdrop_ =
        std::async(std::launch::async, [skin = preparedBackdropSkin_, size = preparedBackdropSize_] {
            return stretched(skins::skinPictureOnAnyThread(kBackdropName, skin, true), size,
                             Qt::SmoothTransformation);
        });
}

QImage Tjukebox::stretchedBackdrop(const QSize& size)
{
    const library::tskin& skin = library::config.theme.sbackground;
    if (preparedBackdrop_.valid()) {
        const QImage prepared = preparedBackdrop_.get();
        if (skin == preparedBackdropSkin_ && size == preparedBackdropSize_) return prepared;
    }
    return stretched(skins::uncachedSkinPictureOrNull(kBackdropName, skin, true), size,
                     Qt::SmoothTransformation);
}

QImage Tjukebox::centerMask()
{
    const library::tskin& skin = library::config.theme.sbackground;
    if (preparedCenterMask_.valid()) {
        const QImage prepared = preparedCenterMask_.get();
        if (skin.Skin == preparedBackdropSkin_.Skin) return prepared;
    }
    QImage mask;
    try {
        skins::LoadSkinResourceNoCache(kCenterMaskName, skin.Skin, library::clNone, false, mask);
    } catch (const skins::ResourceNotFound&) {
        mask = QImage();
    }
    return mask;
}

void Tjukebox::makeBackgrounds()
{
    jbbg = stretchedBackdrop(QSize(screenwidth, screenheight));

    CenterPanel->setGeometry(designRect(kCenterLeft, kCenterTop, kCenterWidth, kCenterHeight));
    CenterPanel_Image->setGeometry(CenterPanel->rect());
    const QImage mask = centerMask();
    // Stretched pixel by pixel, so the cut colour stays exactly white; in the screen's own format,
    // so the shape and the frame's edges are read from it without a copy.
    const QImage shaped =
        mask.isNull() ? QImage() : stretched(mask, CenterPanel->size(), Qt::FastTransformation);
    skins::CutOutWindowFromMask(CenterPanel, shaped);
    showFrameEdges(shaped);
    for (controls::TTransparentPanel* backed : {thumbpanel, TrackHintPanel})
        backed->Paint();
}

// The frame's pixels are kept only where the mask leaves them: the screen-sized middle is cut away.
void Tjukebox::showFrameEdges(const QImage& frame)
{
    const std::array<QRect, 4> edges = frameEdges(CenterPanel->mask(), frame.size());
    for (size_t i = 0; i < edges.size(); ++i) {
        frameEdges_[i]->setGeometry(edges[i]);
        frameEdges_[i]->setPicture(frame.copy(edges[i]));
    }
}

void Tjukebox::placeBackgroundPieces()
{
    for (PictureBox* picture : {leftpanelpic, rightpanelpic, butpanelpic, midpanel})
        showBackgroundPiece(picture);
}

namespace {
// Where the theme puts the letter bar; an unknown place is the left.
int32_t letterBarPlace()
{
    const int32_t place = library::config.theme.alphaorientation;
    return place > kBarHidden || place < kBarLeft ? kBarLeft : place;
}

// Design rows the pages stand lower by: a letter bar at the top takes the corners' height, and the
// upper page starts under it so its "Add All" and the top of its cover stay in reach.
int pageShift()
{
    return library::config.theme.alphaorientation == kBarTop ? kCorner - kUpperPageTop : 0;
}
} // namespace

void Tjukebox::setalbumsizes()
{
    // Covers stay square on a screen of another shape than the design's: the page keeps its size
    // and its titles take the width a wide screen leaves beside the cover.
    const QSize page(2 * aspx(kCoverSize), aspy(kCoverSize));
    const int side = std::min(aspx(kCoverSize), aspy(kCoverSize));
    const QSize cover(side, side);
    const int shift = pageShift();
    const struct
    {
        QWidget* page;
        PictureBox* cover;
        PictureBox* title;
        int top;
    } pages[] = {{toppanel, cd1, lb1, kUpperPageTop},
                 {botpanel, cd2, lb2, kLowerPageTop},
                 {toprightpanel, cd3, lb3, kUpperPageTop},
                 {botrightpanel, cd4, lb4, kLowerPageTop},
                 {toprightunderpanel, cd5, nullptr, kUpperPageTop},
                 {botrightunderpanel, cd6, nullptr, kLowerPageTop},
                 {topoverpanel, cd7, lb7, kUpperPageTop},
                 {botoverpanel, cd8, lb8, kLowerPageTop}};
    // One black picture shared by the eight covers until their albums are drawn.
    QImage fresh(cover, QImage::Format_RGB32);
    fresh.fill(Qt::black);
    for (const auto& entry : pages) {
        entry.page->setGeometry(QRect(QPoint(entry.page->x(), aspy(entry.top + shift)), page));
        entry.cover->setGeometry(QRect(QPoint(0, 0), cover));
        entry.cover->setPicture(fresh);
        if (entry.title) entry.title->setGeometry(side, 0, page.width() - side, page.height());
    }
    placePagePanels();
}

void Tjukebox::placePagePanels()
{
    // The pages start right of a letter bar at the left, so it leaves their album numbers in view.
    const int besideBar = letterBarPlace() == kBarLeft ? leftLetterBarWidth() - midpanelpanel->x() : 0;
    const int pageLeft = std::max(aspx(kPageLeft), besideBar);
    for (QWidget* page : {toppanel, botpanel, topoverpanel, botoverpanel})
        page->move(pageLeft, page->y());
    const int nextLeft = pageLeft + toppanel->width() + aspx(kNextPageGap);
    for (QWidget* page : {toprightpanel, botrightpanel, toprightunderpanel, botrightunderpanel})
        page->move(nextLeft, page->y());
}

void Tjukebox::positionlsb(controls::TScrollListbox* lsb, PictureBox* lb)
{
    lsb->setGeometry(lb->x() + aspx(kListLeftGap), 0, lb->width() - aspx(kListNarrower), lb->height());
}

void Tjukebox::placePageLists()
{
    const struct
    {
        controls::TScrollListbox* list;
        PictureBox* title;
    } lists[] = {{lsb1, lb1}, {lsb2, lb2}, {lsb3, lb3}, {lsb4, lb4}, {lsb7, lb7}, {lsb8, lb8}};
    for (const auto& entry : lists) {
        entry.list->setfont(controls::panelFont(aspy(kAddAllFontSize * 2)));
        positionlsb(entry.list, entry.title);
        entry.list->raise();
    }
}

// "Add All" stands in the gap right of its page, level with the top of its list.
void Tjukebox::placeAddAllLabels()
{
    const struct
    {
        TextLabel* label;
        QWidget* page;
        controls::TScrollListbox* list;
    } labels[] = {{lsb1playall, toppanel, lsb1},      {lsb2playall, botpanel, lsb2},
                  {lsb3playall, toprightpanel, lsb3}, {lsb4playall, botrightpanel, lsb4},
                  {lsb7playall, topoverpanel, lsb7},  {lsb8playall, botoverpanel, lsb8}};
    const QFont font = controls::panelFont(aspy(kAddAllFontSize));
    for (const auto& entry : labels) {
        entry.label->setText(QStringLiteral("Add All"));
        entry.label->setFont(font);
        entry.label->autosize();
        entry.label->move(entry.page->geometry().right() + 1 + aspx(kAddAllGap),
                          entry.page->y() + entry.list->y());
        entry.label->raise();
    }
}

void Tjukebox::placeSearchAndQueuePanels()
{
    if (searchpanel) searchpanel->setGeometry(panelArea());
    if (playlistpanel) playlistpanel->setGeometry(panelArea());
}

// The search and queue panels end above the album frame's lower rim, which lies over the album area's
// bottom, and stand clear of the letter bar wherever it lies over that area: the "MORE" boxes of their
// lists, the purge key and the search box stay whole and in reach.
QRect Tjukebox::panelArea() const
{
    QRect area = midpanelpanel->rect();
    const int frameTop = midpanelpanel->mapFrom(this, CenterPanel->pos()).y();
    area.setBottom(std::min(area.bottom(), frameTop + frameEdges_[1]->y() - 1));
    if (!alphapanel || alphapanel->isHidden()) return area;
    const QRect bar(midpanelpanel->mapFrom(this, alphapanel->pos()), alphapanel->size());
    if (!bar.intersects(area)) return area;
    if (bar.width() <= bar.height())
        area.setLeft(bar.right() + 1);
    else if (bar.top() > area.center().y())
        area.setBottom(bar.top() - 1);
    else
        area.setTop(bar.bottom() + 1);
    return area;
}

// The shorter side of the smallest keypad key: no key a guest touches is narrower.
int Tjukebox::touchSide() const
{
    int side = num13->height();
    for (const QWidget* key : keypadpanel->findChildren<PictureBox*>(Qt::FindDirectChildrenOnly))
        side = std::min({side, key->width(), key->height()});
    return side;
}

// The left column, or wider where its keys would be narrower than the keypad's.
int Tjukebox::leftLetterBarWidth() const
{
    return std::max(leftpanel->width(), touchSide());
}

void Tjukebox::placeTrackHint()
{
    const int top = midpanelpanel->y() + topoverpanel->geometry().bottom() + 1;
    TrackHintPanel->setGeometry(midpanelpanel->x(), top, midpanelpanel->width(), aspy(kHintHeight));
    trackhint->setGeometry(TrackHintPanel->rect());
    trackhint->setFont(controls::panelFont(aspy(kHintFontSize)));
    TrackHintPanel->raise();
}

// Display only: nothing on the screen takes a selection or changes the sound.
void Tjukebox::applyDisplayOnly()
{
    if (platform::commandLineArgument(2).toUpper() != QStringLiteral("/S")) return;
    for (QWidget* control : std::initializer_list<QWidget*>{
             butpanel, keypadpanel, panel, panelshape1, panelshape2, rejectshape1, rejectshape2, muteshape1,
             muteshape2, volumeupshape1, volumeupshape2, volumedownshape1, volumedownshape2, openpanelpanel})
        control->hide();
}

void Tjukebox::placeLetterBar()
{
    const int32_t orientation = letterBarPlace();
    const int cornerWidth = aspx(kCorner);
    const int cornerHeight = aspy(kCorner);
    const int areaRight = midpanelpanel->geometry().right() + 1;
    switch (orientation) {
    case kBarLeft:
        // Between the two left corners; the pages stand right of it.
        alphapanel->setGeometry(0, cornerHeight, leftLetterBarWidth(),
                                midpanelpanel->height() - 2 * cornerHeight);
        break;
    case kBarTop:
        alphapanel->setGeometry(cornerWidth, 0, areaRight - cornerWidth, cornerHeight);
        break;
    case kBarBottom:
        alphapanel->setGeometry(cornerWidth, height() - cornerHeight, areaRight - cornerWidth, cornerHeight);
        break;
    default:
        break;
    }
    alphapanel->setVisible(orientation != kBarHidden);
    alphapanel->setFont(controls::panelFont(aspy(kLetterBarFontSize)));
    // A new theme may leave the bar's size as it was: it takes the theme's pictures now.
    alphapanel->reshape();
    alphapanel->raise();
}

} // namespace jukebox
