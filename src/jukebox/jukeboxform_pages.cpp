// Album pages and navigation: which albums stand where, how a page is painted, page steps and
// slides, the letter jump, the cover panel, the thumbnail pick and the switch to the prism.

#include "jukebox/jukeboxform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "controls/drawing.h"
#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "controls/textscroller.h"
#include "controls/transparentpanel.h"
#include "controls/ticker.h"
#include "jukebox/albumpages.h"
#include "jukebox/pagefaces.h"
#include "jukebox/pageslide.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/searchtrack.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "view3d/glpanel.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/profiling.h"
#include "platform/files.h"
#include "platform/mediaplayer.h"
#include "platform/virtualkeys.h"
#include "player/mainform.h"
#include "player/video.h"
#include "skins/imaging.h"
#include "skins/coverloader.h"
#include "skins/loadjpegorbmp.h"
#include "skins/resourceskins.h"

namespace jukebox {

namespace {
namespace vk = platform::vk;

// `navbuttimer` Tag: the arrow button being held.
constexpr int kNavForward = 0;
constexpr int kNavBack = 1;
constexpr int kNavSpeedUp = 2;

// The arrow buttons.
constexpr int kArrowSoftening = 25;
constexpr int kArrowDownFontSize = 18;
constexpr int kArrowUpFontSize = 20;
// Drags on the prism: heights in the prism's pixels, and the pause between press and move.
constexpr int kPrismDragLeftY = 100;
constexpr int kPrismDragRightY = 300;
constexpr int kPrismDragPause = 2;

// A prism face.
constexpr int kFaceSide = 512;

// The thumbnail panel.
constexpr int kThumbsTop = 2;
constexpr int kThumbsShorter = 24;

// A profiling trace of a stretch of code while debugging is on.
class ProfileTrace
{
public:
    explicit ProfileTrace(const QString& name) : on_(player::DEBUGON)
    {
        if (on_) library::startprofiletimer(name);
    }
    ~ProfileTrace()
    {
        if (on_) library::endprofiletimer();
    }
    ProfileTrace(const ProfileTrace&) = delete;
    ProfileTrace& operator=(const ProfileTrace&) = delete;

private:
    bool on_;
};

bool validAlbum(int k)
{
    return k >= 1 && k <= library::jalbumcount && k < library::jalbum.size();
}

// The slot that pads an odd album list: no album name, the artist a form feed.
bool isFiller(int k)
{
    if (!validAlbum(k)) return false;
    const library::talbumtype& entry = library::jalbum[k];
    return entry.album.isEmpty() && entry.artist == QString(QChar(12));
}

// Albums that are not the filler.
int realAlbumCount()
{
    const int count = library::jalbumcount;
    return count > 0 && isFiller(count) ? count - 1 : count;
}

QString albumFolder(int k)
{
    if (!validAlbum(k)) return QString();
    const library::talbumtype& entry = library::jalbum[k];
    return library::albumfolderpath(entry);
}

// Row `row` (from 0) of the player's album list, or nothing.
QString albumRow(const QComboBox* list, int row)
{
    return list && row >= 0 && row < list->count() ? list->itemText(row) : QString();
}

// `picture` as large as fits `size` with its proportions kept, centred on black.
QImage fittedOnBlack(const QImage& picture, const QSize& size)
{
    QImage shown(size, QImage::Format_RGB32);
    shown.fill(Qt::black);
    if (picture.isNull()) return shown;
    const QImage fitted = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&shown);
    painter.drawImage(QPoint((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2),
                      fitted);
    return shown;
}

// What the cover picture of album `k` at `size` is made from.
FaceSource faceSource(int k, const QSize& size)
{
    const library::talbumtype entry = validAlbum(k) ? library::jalbum[k] : library::talbumtype{};
    return {k, albumFolder(k), entry.artist, entry.album, size};
}

// The theme's arrow-button picture `name`, softened, on `button`; without such a picture the button
// keeps the one it has.
void showArrowPicture(PictureBox* button, const QString& name)
{
    QImage picture = skins::skinPictureOrNull(name, library::config.theme.sbut);
    if (picture.isNull()) return;
    // The softening works on the colours alone: the see-through parts round the key stay so.
    const QImage seeThrough =
        picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_Alpha8) : QImage();
    skins::Antialiasing(picture, kArrowSoftening);
    if (!seeThrough.isNull()) {
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        picture.setAlphaChannel(seeThrough);
    }
    button->setPicture(picture);
}

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}
} // namespace

// ---- Which albums go where ----

bool Tjukebox::prismShown() const
{
    return tagOf(imViewMode) == 1;
}

PageSlide& Tjukebox::pageSlide()
{
    if (!pageSlide_) pageSlide_ = new PageSlide(this);
    return *pageSlide_;
}

void Tjukebox::drawalbum(int num)
{
    if (prismShown()) {
        preparedFaces_.clear();
        return;
    }
    const ProfileTrace trace(QStringLiteral("drawalbum"));
    midpanelpanel->setUpdatesEnabled(false);
    placePagePanels();
    for (PictureBox* title : {lb1, lb2, lb3, lb4, lb7, lb8})
        title->clearPicture();
    const struct
    {
        PictureBox* cover;
        controls::TScrollListbox* list;
    } slots[] = {{cd1, lsb1},    {cd2, lsb2},    {cd3, lsb3}, {cd4, lsb4},
                 {cd5, nullptr}, {cd6, nullptr}, {cd7, lsb7}, {cd8, lsb8}};
    if (library::jalbumcount <= 0) {
        for (const auto& slot : slots)
            emptyPageSlot(slot.cover, slot.list);
    } else {
        // Whatever asked for the page, the upper album of a valid page is shown and becomes current.
        currentalbum = pageOf(num, library::jalbumcount);
        // Made side by side; a layout or a page step started them already.
        prepareCurrentPage();
        const std::array<int, 8> albums = pageAlbums(currentalbum, library::jalbumcount);
        for (size_t i = 0; i < albums.size(); ++i) {
            if (isFiller(albums[i]))
                emptyPageSlot(slots[i].cover, slots[i].list);
            else
                fillPageSlot(slots[i].cover, slots[i].list, albums[i]);
        }
        library::config.jlastalbum = currentalbum;
    }
    // Pictures made ahead serve one drawing only: a later one loads the covers as they are then.
    preparedFaces_.clear();
    midpanelpanel->setUpdatesEnabled(true);
}

void Tjukebox::prepareCurrentPage()
{
    preparePage(currentalbum, PreparedFaces::Drawing::AtOnce);
}

void Tjukebox::prepareCurrentPageBesideLayout()
{
    preparePage(currentalbum, PreparedFaces::Drawing::BesideALayout);
}

// Starts making the cover pictures of page `num` for `drawing`.
void Tjukebox::preparePage(int num, PreparedFaces::Drawing drawing)
{
    if (prismShown() || library::jalbumcount <= 0) return;
    // The workers only read the loader's error pictures; they are made here, on the window thread.
    skins::initerrorbitmaps();
    const std::array<int, 8> albums = pageAlbums(pageOf(num, library::jalbumcount), library::jalbumcount);
    const PictureBox* const covers[] = {cd1, cd2, cd3, cd4, cd5, cd6, cd7, cd8};
    QVector<FaceSource> sources;
    for (size_t i = 0; i < albums.size(); ++i) {
        if (!isFiller(albums[i])) sources.append(faceSource(albums[i], covers[i]->size()));
    }
    preparedFaces_.prepare(sources, drawing);
}

// A slot without an album: a black cover and an empty list, so nothing of an earlier page stays
// to be touched.
void Tjukebox::emptyPageSlot(PictureBox* cover, controls::TScrollListbox* list)
{
    QImage black(cover->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    black.fill(Qt::black);
    cover->setPicture(black);
    setTag(cover, 0);
    if (!list) return;
    list->clear();
    setTag(list, 0);
    list->Paint();
}

void Tjukebox::fillPageSlot(PictureBox* cover, controls::TScrollListbox* list, int album)
{
    const FaceSource source = faceSource(album, cover->size());
    QImage picture = preparedFaces_.take(source);
    // The cover is still being made (it takes the slot when it is) and no worker painted its
    // stand-in yet.
    if (picture.isNull()) picture = stripOnBlack(source);
    stepMessageLine();
    fillTitles(list, album);
    cover->setPicture(picture);
    setTag(cover, album);
}

void Tjukebox::lateFace(const FaceSource& source, const QImage& face)
{
    for (PictureBox* cover : {cd1, cd2, cd3, cd4, cd5, cd6, cd7, cd8}) {
        if (tagOf(cover) == source.album && faceSource(source.album, cover->size()) == source)
            cover->setPicture(face);
    }
}

void Tjukebox::drawtitles(QImage& lab, QObject* lsb, int albumindex)
{
    stepMessageLine();
    const FaceSource source = faceSource(albumindex, lab.size());
    paintAlbumFace(lab, albumindex, source.artist, source.name);
    fillTitles(lsb, albumindex);
}

// Long drawing keeps the message line moving.
void Tjukebox::stepMessageLine()
{
    if (lcd3) lcd3->timercall(this);
}

// The album's track list into `lsb` when it is a page list, with the message line kept moving.
void Tjukebox::fillTitles(QObject* lsb, int album)
{
    if (auto* list = qobject_cast<controls::TScrollListbox*>(lsb)) {
        stepMessageLine();
        fillTrackList(list, album);
    }
    stepMessageLine();
}

void Tjukebox::fillTrackList(controls::TScrollListbox* list, int album)
{
    // Drawn once when full, not once per row.
    list->setdrawmode(false);
    list->clear();
    for (const view3d::TitleRow& row : readTitleRows(albumFolder(album), album))
        list->additemandinfo(row.text, row.album, row.track, QImage(), QString(), QString());
    setTag(list, album);
    list->setdrawmode(true);
    list->Paint();
}

view3d::TCubePositions Tjukebox::GetGubePositions() const
{
    return view3d::cubePositions(view3d::currentrotation);
}

void Tjukebox::drawalbum3D(int n, int mode)
{
    if (!ThreeDPanel) return;
    if (library::jalbumcount <= 0) {
        ThreeDPanel->NoAlbums();
        return;
    }
    for (const PrismFill& fill : prismFills(n, mode, GetGubePositions(), realAlbumCount())) {
        QImage face = stretchedCover(albumFolder(fill.album), QSize(kFaceSide, kFaceSide));
        drawtitles(face, nullptr, fill.album);
        if (player::DEBUGON) {
            QPainter painter(&face);
            painter.setPen(Qt::white);
            painter.drawText(QPoint(2, QFontMetrics(painter.font()).ascent()),
                             QStringLiteral("Titles[%1]").arg(fill.face));
        }
        ThreeDPanel->setArtwork(fill.face, face);
        ThreeDPanel->setTitles(fill.face, fill.album, readTitleRows(albumFolder(fill.album), fill.album));
    }
    if (mode == 0) ThreeDPanel->drawFrame();
}

// ---- What the prism asks of the window ----

QObject* Tjukebox::hostObject()
{
    return this;
}

const QImage& Tjukebox::albumAreaPicture() const
{
    return midpanel->picture();
}

const controls::TScrollListbox& Tjukebox::pageTrackList() const
{
    return *lsb1;
}

int32_t Tjukebox::scaledWidth(int32_t x) const
{
    return aspx(x);
}

// A new album comes round on the prism: the side about to come into view is refilled. Albums go
// round the real ones only, so the last album of an even count shows and the empty slot never does.
void Tjukebox::prismStep(int dir)
{
    if (dir == 1) {
        drawalbum3D(currentalbum, 1);
        --currentalbum;
    } else {
        ++currentalbum;
    }
    const int32_t last = std::max(1, library::albumcount);
    if (currentalbum > last) currentalbum = 1;
    if (currentalbum <= 0) currentalbum = last;
    if (player::DEBUGON) qDebug().noquote() << "prism at album" << currentalbum << view3d::currentrotation;
    if (dir == -1) drawalbum3D(currentalbum, -1);
    wrapOnUnderscore(dir);
}

// Albums beginning with "_" stand behind all others: turning onto them jumps by letter instead.
void Tjukebox::wrapOnUnderscore(int dir)
{
    const QComboBox* rows = player::mainform ? player::mainform->albumlist : nullptr;
    if (!library::config.wraponunderscore || !rows || rows->count() <= currentalbum) return;
    if (!rows->itemText(currentalbum).startsWith(QLatin1Char('_'))) return;
    uint16_t key = dir == -1 ? vk::KeyA : vk::KeyZ;
    FormKeydown(this, key, Qt::NoModifier);
}

// ---- Page steps and slides ----

void Tjukebox::pageForward(uint16_t& Key)
{
    if (moveinprogress) return;
    if (turnPrism(vk::Left)) return;
    closepanels();
    pressArrow(butl, butllabel, QStringLiteral("LBUTDOWN"));
    setTag(navbuttimer, kNavForward);
    navbuttimer->setEnabled(true);
    currentalbum += 2;
    if (currentalbum > library::jalbumcount) currentalbum = 1;
    preparePage(currentalbum, PreparedFaces::Drawing::AfterASlide);
    movealbumlr();
    drawalbum(currentalbum);
    library::config.jlastalbum = currentalbum;
    // Albums beginning with "_" stand behind all others: stepping onto them goes round to album 1.
    const QComboBox* rows = player::mainform ? player::mainform->albumlist : nullptr;
    if (library::config.wraponunderscore && albumRow(rows, currentalbum).startsWith(QLatin1Char('_')))
        Key = vk::KeyA;
}

void Tjukebox::pageBack(uint16_t& Key)
{
    if (moveinprogress) return;
    if (turnPrism(vk::Right)) return;
    closepanels();
    pressArrow(butr, butrlabel, QStringLiteral("RBUTDOWN"));
    setTag(navbuttimer, kNavBack);
    navbuttimer->setEnabled(true);
    currentalbum -= 2;
    if (currentalbum < 1) currentalbum = std::max(1, library::jalbumcount - 1);
    preparePage(currentalbum, PreparedFaces::Drawing::AfterASlide);
    movealbumrl();
    drawalbum(currentalbum);
    library::config.jlastalbum = currentalbum;
    // Stepping back from album 1 onto the "_" albums goes on to the albums under Z.
    const QComboBox* rows = player::mainform ? player::mainform->albumlist : nullptr;
    if (library::config.wraponunderscore && currentalbum > 1 &&
        albumRow(rows, currentalbum - 1).startsWith(QLatin1Char('_')))
        Key = vk::KeyZ;
}

void Tjukebox::setPageListsMoving(bool on)
{
    for (controls::TScrollListbox* list : {lsb1, lsb2, lsb3, lsb4, lsb7, lsb8})
        list->setinmotion(on);
}

// Slides a page's two halves, raised over the others, to x = `goal` (at once on a slow machine);
// the page lists hold still meanwhile.
void Tjukebox::slidePage(QWidget* top, QWidget* bottom, int goal, int step,
                         const std::function<void()>& eachFrame)
{
    moveinprogress = true;
    top->raise();
    bottom->raise();
    setPageListsMoving(true);
    if (library::SLOWPROCESSOR) {
        for (QWidget* page : {top, bottom})
            page->move(goal, page->y());
    } else {
        pageSlide().run({top, bottom}, goal, step, eachFrame);
    }
    QCoreApplication::processEvents();
    moveinprogress = false;
    setPageListsMoving(false);
}

// The next page, standing on the right, slides left over the current one.
void Tjukebox::movealbumlr()
{
    const ProfileTrace trace(QStringLiteral("movealbumlr"));
    slidePage(toprightpanel, botrightpanel, toppanel->x(), DEFscrollamountlr, [this] {
        if (lcd3) lcd3->timercall(this);
    });
}

// The current page slides right and uncovers the previous page standing behind it.
void Tjukebox::movealbumrl()
{
    // The step is reset only when an arrow button is let go; before that it takes its default.
    const int step = scrollamountrl >= 1 ? scrollamountrl : DEFscrollamountrl;
    slidePage(toppanel, botpanel, toprightpanel->x(), step);
}

void Tjukebox::movealbuml3D() {}

void Tjukebox::movealbumr3D() {}

// ---- Arrow buttons ----

void Tjukebox::pressArrow(PictureBox* button, TextLabel* label, const QString& picture)
{
    // A slow machine keeps the released picture.
    if (!library::SLOWPROCESSOR) showArrowPicture(button, picture);
    label->setFont(controls::panelFont(aspy(kArrowDownFontSize)));
}

void Tjukebox::releaseArrow(PictureBox* button, TextLabel* label, const QString& picture)
{
    showArrowPicture(button, picture);
    label->setFont(controls::panelFont(aspy(kArrowUpFontSize)));
    navbuttimer->setEnabled(false);
    navbuttimer->setInterval(kNavInterval);
    scrollamountlr = DEFscrollamountlr;
    scrollamountrl = DEFscrollamountrl;
    if (prismShown()) releasePrism();
}

// Presses on the prism at (fromX, y) and drags to (toX, y), as a guest's finger would.
void Tjukebox::dragPrism(int fromX, int toX, int y)
{
    QWidget* view = ThreeDPanel ? ThreeDPanel->panel() : nullptr;
    if (!view) return;
    sendMouse(view, QEvent::MouseButtonPress, QPoint(fromX, y), Qt::LeftButton);
    pageSlide().pause(kPrismDragPause);
    if (!ThreeDPanel || ThreeDPanel->panel() != view) return;
    prismDragAt_ = QPoint(toX, y);
    sendMouse(view, QEvent::MouseMove, prismDragAt_, Qt::LeftButton);
}

void Tjukebox::releasePrism()
{
    QWidget* view = ThreeDPanel ? ThreeDPanel->panel() : nullptr;
    if (view) sendMouse(view, QEvent::MouseButtonRelease, prismDragAt_, Qt::NoButton);
}

// While the prism shows, the arrow keys and buttons drag on it instead of stepping pages: the
// Left key as a drag from the middle to the left edge, the Right key to the right edge. The key's
// release lets go, and the prism swings on to the next side. False on the flat pages.
bool Tjukebox::turnPrism(uint16_t key)
{
    if (!prismShown() || !ThreeDPanel) return false;
    const int width = ThreeDPanel->panel()->width();
    if (key == vk::Left)
        dragPrism(width / 2, 0, kPrismDragLeftY);
    else
        dragPrism(width / 2, std::max(0, width - 1), kPrismDragRightY);
    return true;
}

void Tjukebox::butllabelMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    uint16_t key = vk::Left;
    FormKeydown(this, key, Qt::NoModifier);
}

void Tjukebox::butllabelMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    releaseArrow(butl, butllabel, QStringLiteral("LBUTUP"));
}

void Tjukebox::butrlabelMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    uint16_t key = vk::Right;
    FormKeydown(this, key, Qt::NoModifier);
}

void Tjukebox::butrlabelMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    releaseArrow(butr, butrlabel, QStringLiteral("RBUTUP"));
}

// A click without its press and release does nothing: the buttons act on press and release.
void Tjukebox::butllabelClick(QObject*) {}

void Tjukebox::butrlabelClick(QObject*) {}

// A held arrow button steps a page at every tick.
void Tjukebox::navbuttimerTimer(QObject*)
{
    if (navbuttimer->interval() > kNavInterval)
        navbuttimer->setInterval(navbuttimer->interval() - kNavSpeedUp);
    if (tagOf(navbuttimer) == kNavBack)
        butrlabelMouseDown(butrlabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    else
        butllabelMouseDown(butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
}

// ---- Letter jump ----

QString Tjukebox::removethe(const QString& s) const
{
    return jukebox::removethe(s);
}

int Tjukebox::findalbumalpha(int startpos, QChar letter) const
{
    const QComboBox* rows = player::mainform ? player::mainform->Dalbumlist : nullptr;
    if (!rows) return -1;
    const QChar wanted = letter.toUpper();
    const auto matches = [&](int row) { return letterKey(rows->itemText(row)).startsWith(wanted); };
    // From the album after the current page's lower album round to its upper album; the lower
    // album itself is where a jump by its letter would stay.
    for (int row = std::max(0, startpos + 1); row < rows->count(); ++row)
        if (matches(row)) return row + 1;
    for (int row = 0; row < std::min(startpos, int(rows->count())); ++row)
        if (matches(row)) return row + 1;
    return -1;
}

void Tjukebox::thumbalphaalbum(QChar letter)
{
    const QComboBox* rows = player::mainform ? player::mainform->Dalbumlist : nullptr;
    if (!rows) return;
    const QChar wanted = letter.toUpper();
    for (int row = 0; row < rows->count(); ++row) {
        if (letterKey(rows->itemText(row)).startsWith(wanted)) {
            thumbs->Makealbumvisible(row + 1);
            return;
        }
    }
}

void Tjukebox::letterJump(QChar letter)
{
    if (!thumbpanel->isHidden()) {
        thumbalphaalbum(letter);
        return;
    }
    if (searchpanel && !searchpanel->isHidden()) return;
    int r = findalbumalpha(currentalbum, letter);
    if (letter.toUpper() == QLatin1Char('A')) r = 1;
    if (r <= -1) return;
    if (!prismShown()) {
        currentalbum = r % 2 == 0 ? r - 1 : r;
        drawalbum(currentalbum);
    } else {
        currentalbum = r;
        drawalbum3D(r, 0);
        drawalbum3D(r, -1);
    }
    toprightpanel->update();
    botrightpanel->update();
    library::config.jlastalbum = currentalbum;
}

// The letter bar's letter goes through the window's key handling, with Shift held as a keyboard
// would send it.
void Tjukebox::alphapanelvkey(QObject*, uint16_t Key)
{
    if (Key >= vk::Count) return;
    const auto key = static_cast<int>(Key);
    const QString text = QString(QChar(Key)).toUpper();
    // Qt flips the Shift flag of a Shift key's own event to the state after it, so the press is
    // made without and the release with the flag, as the keyboard reports them.
    QCoreApplication::postEvent(
        this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier, 0, vk::Shift, 0));
    QCoreApplication::postEvent(this,
                                new QKeyEvent(QEvent::KeyPress, key, Qt::ShiftModifier, 0, key, 0, text));
    QCoreApplication::postEvent(this,
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::ShiftModifier, 0, key, 0, text));
    QCoreApplication::postEvent(
        this, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, 0, vk::Shift, 0));
}

// ---- Covers, thumbnails, the prism switch ----

void Tjukebox::cdClick(QObject* Sender)
{
    if (Sender == cd3 || Sender == cd4) {
        // The next page: as a press and release of the left arrow button.
        navbuttimer->setInterval(kNavInterval);
        butllabelMouseDown(butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
        butllabelMouseUp(butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
        return;
    }
    platform::MediaPlayer* mp = player::mainform ? player::mainform->mediaPlayer() : nullptr;
    const bool video = mp && mp->fileName().endsWith(QLatin1Char('G'), Qt::CaseInsensitive);
    if (!video) {
        const int album = tagOf(Sender);
        if (validAlbum(album) && !isFiller(album)) jbcovershow(albumFolder(album));
        return;
    }
    if (library::config.videomonitor == 0) {
        placeCoverPanel();
        mp->setDisplay(coverimagepanel);
        mp->setDisplayRect(coverimagepanel->rect());
        jbcovershow(QString());
    } else {
        player::videoshow();
    }
}

// The cover panel covers the album area, its picture the whole panel: the cover as large as fits, in
// its own proportions, on black.
void Tjukebox::placeCoverPanel()
{
    coverimagepanel->setGeometry(midpanelpanel->geometry());
    coverimage->setGeometry(coverimagepanel->rect());
}

void Tjukebox::jbcovershow(const QString& path)
{
    placeCoverPanel();
    if (!path.isEmpty()) {
        // Decoded on a worker: a huge cover file never holds the window. The panel stays dark
        // until it comes.
        coverimage->clearPicture();
        if (!coverLoader_) coverLoader_ = std::make_unique<skins::CoverLoader>();
        coverLoader_->load(path, coverimage->size(), [this](const QImage& picture) {
            coverimage->setPicture(fittedOnBlack(picture, coverimage->size()));
        });
    }
    coverimagepanel->raise();
    coverimagepanel->show();
}

void Tjukebox::sizethumbpanel()
{
    thumbpanel->setGeometry(leftpanel->width(), 0, midpanelpanel->width(), height());
    thumbs->setscrollwidths(touchSide()); // the "More" keys as large as the keypad's
    thumbs->setGeometry(0, aspy(kThumbsTop), thumbpanel->width(),
                        thumbpanel->height() - aspy(kThumbsShorter));
}

void Tjukebox::thumbsClick(QObject*)
{
    const int picked = thumbs->itemindex();
    if (library::jalbumcount <= 0 || picked < 0 || picked >= thumbs->pl.items.size()) return;
    currentalbum = thumbs->pl.items[picked].album;
    if (!prismShown()) {
        drawalbum(currentalbum);
    } else {
        if (currentalbum > library::jalbumcount) currentalbum = 1;
        drawalbum3D(currentalbum, 0);
        drawalbum3D(currentalbum, -1);
    }
    setvisualspanel(false);
    if (thumbmode == 1) {
        close();
        thumbmode = 0;
    }
    imViewMode->setVisible(!library::config.disable3d);
}

void Tjukebox::imViewModeClick(QObject*)
{
    if (library::jalbumcount <= 0) return;
    // The prism is made at its first showing, where this machine can draw it and the operator has
    // not switched it off: its OpenGL context costs start-up time and memory that a jukebox which
    // never shows it should not pay. Without a prism the flat pages stay.
    if (!ThreeDPanel && !library::config.disable3d && view3d::TGLPanel::available())
        ThreeDPanel = new view3d::TGLPanel(*this, midpanelpanel);
    if (!ThreeDPanel) return;
    if (prismShown())
        leavePrism();
    else
        showPrism();
}

void Tjukebox::showPrism()
{
    setTag(imViewMode, 1);
    imViewMode->setStretch(true);
    imViewMode->setPicture(controls::programPicture(QStringLiteral("VIEWNORM")));
    // The faces are filled before the prism shows: its first frame (which the showing may draw at
    // once) then carries the covers, and the first turn does not upload them.
    drawalbum3D(currentalbum, 0);
    drawalbum3D(currentalbum, -1);
    QWidget* view = ThreeDPanel->panel();
    view->show();
    placeTrackHintStrip();
    view->raise();
}

void Tjukebox::leavePrism()
{
    setTag(imViewMode, 0);
    imViewMode->setStretch(false);
    imViewMode->setPicture(controls::programPicture(QStringLiteral("VIEW3D")));
    // The prism counts albums one by one; the pages take the page of its album.
    if (currentalbum > library::jalbumcount) currentalbum = 1;
    if (currentalbum < 1) currentalbum = library::jalbumcount - 1;
    drawalbum(currentalbum);
    ThreeDPanel->panel()->hide();
    placeTrackHintStrip();
}

// The track hint's strip stands over the album area: it gives way to whatever covers that area
// (the prism, the search, queue and random panels), across whose middle it would otherwise lie.
void Tjukebox::placeTrackHintStrip()
{
    const bool covered = prismShown() || (searchpanel && !searchpanel->isHidden()) ||
                         (playlistpanel && !playlistpanel->isHidden()) || !randompanel->isHidden();
    TrackHintPanel->setHidden(covered);
}

void Tjukebox::favClick(QObject*) {}

void Tjukebox::setaddall()
{
    const bool on = library::config.jukeboxaddall;
    for (TextLabel* label : {lsb1playall, lsb2playall, lsb3playall, lsb4playall, lsb7playall, lsb8playall})
        label->setVisible(on);
    if (ThreeDPanel) ThreeDPanel->setAddAllEnabled(on);
}

// The remote control's focus passes from the end of the upper list to the lower list, and back
// from the top of the lower list to the end of the upper one.
void Tjukebox::lsb1Reachedend(QObject*)
{
    lsb1->losefocus();
    tv_currentlsb = 1;
    tv_lsb = lsb2;
}

void Tjukebox::lsb2Reachedtop(QObject*)
{
    tv_currentlsb = 0;
    tv_lsb = lsb1;
    lsb1->scrolltoend();
    lsb2->losefocus();
}

void Tjukebox::reloadeditlist()
{
    const QComboBox* rows = player::mainform ? player::mainform->Dalbumlist : nullptr;
    editlb->setdrawmode(false);
    editlb->clear();
    setThumbnailPictures(*editlb);
    for (int row = 0; rows && row < rows->count(); ++row)
        editlb->additemandinfo(rows->itemText(row), row + 1, 0, QImage(), QString(), QString());
    editlb->setdrawmode(true);
    editlb->Paint();
}

} // namespace jukebox
