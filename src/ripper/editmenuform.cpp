#include "ripper/editmenuform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include "controls/bitmapactionbutton.h"
#include "controls/transparentpanel.h"
#include "controls/tspinningglobe.h"
#include "jukebox/picturebox.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/id3.h"
#include "platform/files.h"
#include "platform/mediaplayer.h"
#include "player/frontend.h"
#include "player/mainform.h"
#include "ripper/albumartist.h"
#include "ripper/albumstaging.h"
#include "ripper/artworkform.h"
#include "ripper/cdartworkform.h"
#include "ripper/dialogframe.h"
#include "ripper/internet.h"
#include "ripper/musripmain.h"
#include "ripper/mydialog.h"
#include "ripper/albumfiles.h"
#include "ripper/verifyform.h"
#include "skins/loadjpegorbmp.h"

namespace ripper {

namespace {
constexpr int kButtonPoints = 10;
constexpr int kPanelWidth = 640;
constexpr int kThumbSide = 220;
constexpr int kGap = 14;
constexpr int kTitleLeft = 20;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kButtonColour = 1;
constexpr int32_t kDeleteColour = 2;
const QString kTitle = QStringLiteral("Edit Album");
const QString kFilingError = QStringLiteral("Filing Error");
const QString kNoTracks = QStringLiteral("No Tracks to Edit");
} // namespace

Teditmenu::Teditmenu()
{
    if (ripmain && ripmain->bg) backdrop_ = ripmain->bg->pixmap().toImage();
    createControls();
    sizeform(this, kTitle, false);
    showNames();
    showCover();
    layOut();
}

void Teditmenu::createControls()
{
    title = dialogLabel(this, QString(), aspy(kButtonPoints) * 2);
    setDialogText(title, aspy(kButtonPoints) * 2, kGreen);
    pnl = new controls::TTransparentPanel(this);
    pnl->setsourcebitmap(&backdrop_);
    thumb = new jukebox::PictureBox(pnl);
    thumb->setStretch(true);
    const struct
    {
        controls::TBitmapActionButton** button;
        const char* caption;
        void (Teditmenu::*handler)();
    } buttons[] = {{&gotitle, "Edit Album Title", &Teditmenu::gotitleClick},
                   {&gotracks, "Edit Track Titles", &Teditmenu::gotracksClick},
                   {&gotracksauto, "Edit Track Titles (Auto)", &Teditmenu::gotracksautoClick},
                   {&goartworkweb, "Reload Artwork from web", &Teditmenu::goartworkwebClick},
                   {&goartworkcd, "Reload Artwork from CD", &Teditmenu::goartworkcdClick},
                   {&godelete, "Delete Entire CD", &Teditmenu::godeleteClick},
                   {&OK, "Done", &Teditmenu::OKClick}};
    for (const auto& b : buttons) {
        *b.button = actionButton(pnl, b.button == &godelete ? kDeleteColour : kButtonColour);
        captionButton(*b.button, QString::fromLatin1(b.caption), aspy(kButtonPoints) * 2, kFitCaption);
        connect(*b.button, &controls::TBitmapActionButton::OnClick, this, b.handler);
    }
}

void Teditmenu::resizeEvent(QResizeEvent*)
{
    layOut();
}

void Teditmenu::layOut()
{
    title->setGeometry(kTitleLeft, 0, width() - kTitleLeft, title->sizeHint().height());
    const int gap = aspy(kGap);
    const int side = aspx(kThumbSide);
    int y = gap;
    for (controls::TBitmapActionButton* button :
         {gotitle, gotracks, gotracksauto, goartworkweb, goartworkcd, godelete}) {
        button->move(side + 2 * gap, y);
        y = bottomOf(button) + gap;
    }
    OK->move(side + 2 * gap, y + gap);
    thumb->setGeometry(gap, gap, side, side);
    pnl->setGeometry((width() - aspx(kPanelWidth)) / 2, bottomOf(title), aspx(kPanelWidth),
                     bottomOf(OK) + gap);
}

QString Teditmenu::folder() const
{
    return library::albumfolderpath(library::album.value(editing));
}

void Teditmenu::showNames()
{
    title->setText(library::artist + QStringLiteral(" - ") + library::title);
}

void Teditmenu::showCover()
{
    QImage cover;
    skins::loadjpegbmp(folder(), cover);
    apic = cover;
    thumb->setPicture(apic);
}

void Teditmenu::gotitleClick()
{
    if (spinglobe) spinglobe->stop();
    QString newAlbum = library::title;
    QString newArtist = library::artist;
    const int32_t answer = withMenuHidden([&] { return getuseralbumtitle(newAlbum, newArtist); });
    sizeform(this, kTitle, false);
    if (answer != 1) return;
    const QString from = folder();
    const QString to = library::albumfolderpath({newAlbum, newArtist});
    if (!moveFolder(from, to)) {
        (void)md(QStringLiteral("Could not rename the album folder ") + from, QStringLiteral("Cancel"),
                 QString(), kFilingError, false);
        sizeform(this, kTitle, false);
        return;
    }
    takeNewNames(newArtist, newAlbum);
    if (player::mainform) player::mainform->followAlbumFolder(from, to);
}

bool Teditmenu::moveFolder(const QString& from, const QString& to)
{
    if (QDir().rename(from, to)) return true;
    // A track of the album that is playing may hold the folder: the player lets go of it first.
    if (player::mainform) {
        player::mainform->StopClick(nullptr);
        if (player::mainform->mediaPlayer()) (void)player::mainform->mediaPlayer()->close();
    }
    return QDir().rename(from, to);
}

void Teditmenu::takeNewNames(const QString& newArtist, const QString& newAlbum)
{
    const library::talbumtype renamed{newAlbum, newArtist};
    library::album[editing] = renamed;
    if (editing < library::jalbum.size()) library::jalbum[editing] = renamed;
    const QString row = newArtist + QStringLiteral(" - ") + newAlbum;
    if (player::mainform) {
        player::mainform->albumlist->setItemText(editing - 1, row);
        player::mainform->Dalbumlist->setItemText(editing - 1, row);
    }
    library::artist = newArtist;
    library::title = newAlbum;
    showNames();
}

void Teditmenu::gotracksClick()
{
    const int count = int(trackfiles(folder()).size());
    if (!library::loadtitles(folder())) library::tracks.clear();
    padtitles(library::tracks, count);
    library::trackscount = int32_t(library::tracks.size());
    edittitles();
}

void Teditmenu::gotracksautoClick()
{
    library::tracks.clear();
    for (const QString& name : trackfiles(folder())) {
        library::tid3tag tag;
        library::readtag(platform::joinPath(folder(), name), tag);
        library::tracks.append(tag.track.isEmpty() ? QStringLiteral("Unknown Track") : tag.track);
    }
    library::trackscount = int32_t(library::tracks.size());
    edittitles();
}

void Teditmenu::edittitles()
{
    if (library::trackscount == 0) {
        gotracks->settext(kNoTracks);
        gotracksauto->settext(kNoTracks);
        return;
    }
    if (spinglobe) spinglobe->stop();
    const int32_t answer = withMenuHidden([] { return doverify(1); });
    sizeform(this, kTitle, false);
    // Leaving without saving keeps the album's titles file as it was, byte for byte.
    if (answer != Tverify::kNext || writetitles(folder(), library::tracks.mid(0, library::trackscount)))
        return;
    (void)md(QStringLiteral("Error writing contents file!"), QStringLiteral("Cancel"), QString(),
             kFilingError, false);
    sizeform(this, kTitle, false);
}

// A dialog that leaves the lowest third of the screen to the on-screen keyboard would show the
// menu's buttons there, dead while it runs. The menu stays open (a modal dialog that hides ends),
// only its content steps aside.
int32_t Teditmenu::withMenuHidden(const std::function<int32_t()>& dialog)
{
    title->hide();
    pnl->hide();
    const int32_t answer = dialog();
    title->show();
    pnl->show();
    return answer;
}

bool Teditmenu::internetForArtwork()
{
    while (!coverServiceReachable()) {
        const uint16_t answer = md(QStringLiteral("A connection to the internet is needed to find artwork."),
                                   QStringLiteral("Connect to Internet"), QStringLiteral("Go Back"),
                                   QStringLiteral("Information Aquision"), false);
        sizeform(this, kTitle, false);
        if (answer != kFirstButton) return false;
        if (dialUp()) return true;
    }
    return true;
}

void Teditmenu::goartworkwebClick()
{
    if (!internetForArtwork()) return;
    const int32_t answer = doartwork(1);
    sizeform(this, kTitle, false);
    if (answer == Tartwork::kSaved) usenewcover();
}

void Teditmenu::goartworkcdClick()
{
    const int32_t answer = getcdartwork();
    sizeform(this, kTitle, false);
    if (answer == Tcdartwork::kChosen) usenewcover();
}

void Teditmenu::usenewcover()
{
    if (!savecover(folder(), apic)) {
        sizeform(this, kTitle, false);
        return;
    }
    thumb->setPicture(apic);
    // The jukebox's thumbnail is read again from the folder.
    player::frontend().deletethumbnail(editing - 1);
    player::frontend().addthumbnail(folder(), editing - 1);
}

void Teditmenu::godeleteClick()
{
    const uint16_t answer =
        md(QStringLiteral("Delete Entire CD? Are you really sure?"), QStringLiteral("Yes"),
           QStringLiteral("No"), QStringLiteral("Delete CD"), false);
    sizeform(this, kTitle, false);
    if (answer != kFirstButton) return;
    const QString album = folder();
    // The files go with `aside`, once the player has let go of them.
    const QTemporaryDir aside(deletionaside());
    if (!moveAside(aside)) {
        (void)md(QStringLiteral("The album could not be deleted and is left whole: ") + album,
                 QStringLiteral("OK"), QString(), kFilingError, false);
        sizeform(this, kTitle, false);
        return;
    }
    done(kDone);
    // Out of the lists first, so a background track that is rejected cannot be one of the album's.
    if (player::mainform) player::mainform->deletealbum(editing);
    releaseAlbum(album);
    if (ripmain) ripmain->die();
}

void Teditmenu::releaseAlbum(const QString& album)
{
    player::Tmainform* mf = player::mainform;
    if (!mf) return;
    // The waiting tracks go first, so the reject cannot move on to one of them.
    mf->removeQueuedAlbum(album);
    if (mf->holdsFileOf(album) && ripmain) {
        ripmain->rejectClick();
        QCoreApplication::processEvents();
    }
    // A track that was not playing (paused or stopped) cannot be rejected: the player lets go.
    if (mf->holdsFileOf(album)) {
        mf->pressStop();
        mf->loadblankmp3file();
    }
    mf->removeQueuedAlbum(album);
}

// Only a real folder directly under the library root goes. One rename takes it out of the library
// whole: the scan skips the hidden `aside`, whose removal takes links inside the album without what
// they point to.
bool Teditmenu::moveAside(const QTemporaryDir& aside) const
{
    const QFileInfo album(folder());
    if (!album.exists() && !album.isSymLink()) return true; // already gone: only the lists keep it
    const QString root = QFileInfo(library::config.path).canonicalFilePath();
    if (album.isSymLink() || !album.isDir() || QFileInfo(album.canonicalFilePath()).path() != root)
        return false;
    return aside.isValid() && QDir().rename(album.filePath(), aside.filePath(album.fileName()));
}

void Teditmenu::OKClick()
{
    done(kDone);
    if (ripmain) ripmain->die();
}

void Teditmenu::reject()
{
    OKClick();
}

int32_t goeditmenu(int32_t i)
{
    editing = i;
    if (i < 1 || i > library::albumcount) return 0;
    library::artist = library::album[i].artist;
    library::title = library::album[i].album;
    {
        Teditmenu menu;
        (void)runRipDialog(menu, {Teditmenu::kDone}, Teditmenu::kDone);
    }
    apic = QImage();
    return 0;
}

} // namespace ripper
