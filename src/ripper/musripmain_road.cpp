// The CD road of the extraction window: drive, table of contents, internet, CD database or typed
// details, title check, cover, extraction and the new album in the list.

#include "ripper/musripmain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapprogress.h"
#include "controls/tspinningglobe.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/names.h"
#include "library/osk.h"
#include "platform/cddb.h"
#include "platform/diskspace.h"
#include "platform/files.h"
#include "player/frontend.h"
#include "player/mainform.h"
#include "ripper/albumartist.h"
#include "ripper/albumfiles.h"
#include "ripper/albumstaging.h"
#include "ripper/artworkform.h"
#include "ripper/editmenuform.h"
#include "ripper/internet.h"
#include "ripper/multiple.h"
#include "ripper/mydialog.h"
#include "ripper/serverwait.h"
#include "ripper/verifyform.h"

namespace ripper {

namespace {

// The drives the library's drive list may hold.
constexpr int kMaxDrives = 8;
const QString kAgent = QStringLiteral("MusRip");
const QString kAgentVersion = QStringLiteral("1.0");
constexpr int kCddbPort = 80;
// Frames before the first track that the CD database counts in its offsets.
constexpr uint32_t kLeadInFrames = 150;
constexpr uint32_t kFramesPerSecond = 75;

void processEvents()
{
    QCoreApplication::processEvents();
}

platform::CddbOptions cddbOptions()
{
    return platform::CddbOptions{library::config.cddbserver,
                                 library::config.cddbcgi,
                                 library::config.email,
                                 kAgent,
                                 kAgentVersion,
                                 kCddbPort};
}

platform::CddbDisc cddbDiscOf(const platform::CdToc& toc)
{
    platform::CddbDisc disc;
    for (int i = 0; i + 1 < toc.tracks.size(); ++i)
        disc.offsets.append(toc.tracks[i].start + kLeadInFrames);
    if (!toc.tracks.isEmpty())
        disc.lengthSeconds = (toc.tracks.last().start + kLeadInFrames) / kFramesPerSecond;
    return disc;
}

int audioTrackCount(const platform::CdToc& toc)
{
    int count = 0;
    for (int i = 0; i + 1 < toc.tracks.size(); ++i)
        if (toc.tracks[i].audio) ++count;
    return count;
}

QString driveText(const platform::CdDriveName& drive)
{
    return drive.vendor + QLatin1Char(' ') + drive.product;
}

// The lines of a database record: cut at carriage returns, line feeds dropped; text after the
// last carriage return is not a line.
QStringList recordLines(QString record)
{
    record.remove(QLatin1Char('\n'));
    QStringList lines = record.split(QLatin1Char('\r'));
    lines.removeLast();
    return lines;
}

// The titles file of the album folder, cut to its first `count` lines.
void keepFirstTitles(const QString& folder, int count)
{
    QStringList titles;
    if (library::readtitlelines(folder, titles)) (void)writetitles(folder, titles.mid(0, count));
}

// The library already holds an album under the folder name of the one being made (a link counts).
bool albumInLibrary()
{
    const QFileInfo album(platform::joinPath(library::config.path, library::albumpath));
    return album.exists() || album.isSymLink();
}

// The tracks of the album already on the system under the folder name of the one being made.
int32_t tracksInLibrary()
{
    return int32_t(trackfiles(platform::joinPath(library::config.path, library::albumpath)).size());
}

// "track 1" for one track, else "tracks 1 to `count`".
QString firstTracks(int32_t count)
{
    return count == 1 ? QStringLiteral("track 1") : QStringLiteral("tracks 1 to ") + QString::number(count);
}

// "2, 5" for the tracks 1 and 4 (counted from 0).
QString trackNumbers(const QList<int32_t>& tracks)
{
    QStringList numbers;
    for (const int32_t n : tracks)
        numbers.append(QString::number(n + 1));
    return numbers.join(QStringLiteral(", "));
}

} // namespace

void Tripmain::rip_go()
{
    if (roadRunning_) return;
    if (platform::diskSpace().available(library::config.path) < kRipFreeSpace) {
        showFullScreen();
        md(QStringLiteral("There is not enough disk space available to complete this request."),
           QStringLiteral("Go Back"), QString(), QString(), false);
        close();
        return;
    }
    showFullScreen();
    processEvents();
    goClick();
}

int32_t Tripmain::doedit(int32_t al)
{
    showFullScreen();
    processEvents();
    return goeditmenu(al);
}

void Tripmain::goClick()
{
    const QScopedValueRollback running(roadRunning_, true);
    startRoad();
    // Without a drive the road ends here: the drive list has said why.
    if (cddrives.isEmpty()) return endRoad();
    if (!openDrive() || !readTocAsking() || !internetOrManual()) return;
    queryDatabase();
}

void Tripmain::startRoad()
{
    cdselect->setEnabled(false);
    cancelop = false;
    manualentry = false;
    cancel->setcolor(0);
    cancel->settext(QStringLiteral("Cancel"));
    log->clear();
    go->setEnabled(false);
    setCursor(Qt::WaitCursor);
    enumcddrives();
}

void Tripmain::enumcddrives()
{
    cds->clear();
    cddrives.clear();
    for (const platform::CdDriveName& drive : platform::cdDrives().list()) {
        if (cddrives.size() == kMaxDrives) break;
        if ((drive.vendor + drive.product).trimmed().isEmpty()) continue;
        cddrives.append(drive);
        cds->addItem(driveText(drive));
    }
    if (cds->count() == 0)
        md(QStringLiteral("No CD drive or disc image was found.\r\nName one in the environment variable "
                          "MUSETRA_CDROM (a device such as /dev/sr0, or a .cue sheet beside its .bin) "
                          "and start the program again."),
           QStringLiteral("OK"), QString(), QStringLiteral("No CD drive"), false);
    cds->setCurrentIndex(0);
    cdsChange();
}

bool Tripmain::openDrive()
{
    library::trackscount = 0;
    if (currentcd < cddrives.size()) cdhandle = platform::cdDrives().open(cddrives[currentcd]);
    if (cdhandle) return true;
    const QString missing = missingImageText();
    md(missing.isEmpty() ? QStringLiteral("Could not open the CD drive.") : missing, QStringLiteral("Exit"),
       QString(), QStringLiteral("Hardware Error"), false);
    endRoad();
    return false;
}

bool Tripmain::readTocAsking()
{
    QString text = missingImageText();
    if (text.isEmpty()) text = QStringLiteral("Insert a CD and hit contine");
    while (!cdhandle->readToc(toc_)) {
        if (md(text, QStringLiteral("Continue"), QStringLiteral("Exit"),
               QStringLiteral("CD Extraction - Insert CD"), false) != kFirstButton) {
            endRoad();
            return false;
        }
        text = QStringLiteral("Unable to read CD.\r\nYou may need to wait to for the CD to spin up.\r\n"
                              "Click continue when ready.");
    }
    audioTracks_ = audioTrackCount(toc_);
    if (audioTracks_ > 0) return true;
    md(QStringLiteral("This disc has no audio tracks, so there is nothing to extract."),
       QStringLiteral("Exit"), QString(), QStringLiteral("CD Extraction - No Audio"), false);
    endRoad();
    return false;
}

// What the operator hears when the chosen drive is a disc image whose data file is gone; empty
// otherwise.
QString Tripmain::missingImageText() const
{
    if (currentcd >= cddrives.size()) return {};
    const QString missing = platform::missingImageData(cddrives[currentcd].source);
    if (missing.isEmpty()) return {};
    return QStringLiteral("The disc image's data file is missing: ") + missing;
}

bool Tripmain::internetOrManual()
{
    if (onlineOrManual(QStringLiteral("A connection to the internet is needed to find album information."),
                       QStringLiteral("Try Again"), QStringLiteral("Manually enter information"),
                       QStringLiteral("Internet Connection"), cddbServerReachable, [] { return false; }))
        return true;
    endRoad();
    return false;
}

// Asks `text` while the server the road needs is not `reachable`. The first button runs
// `firstButton` and asks again unless that answered true; the second goes on without the internet
// (`manualentry`); "Back to Jukebox" answers false.
bool Tripmain::onlineOrManual(const QString& text, const QString& first, const QString& second,
                              const QString& title, const std::function<bool()>& reachable,
                              const std::function<bool()>& firstButton)
{
    while (!reachable()) {
        const uint16_t answer = md(text, first, second, title, true);
        if (answer == kBackToJukebox) return false;
        if (answer == kSecondButton) {
            manualentry = true;
            return true;
        }
        if (firstButton()) return true;
    }
    return true;
}

void Tripmain::startGlobe(const QString& caption)
{
    spinglobe->move((width() - spinglobe->width()) / 2, (height() - spinglobe->height()) / 2);
    processEvents();
    spinglobe->start();
    processEvents();
    toptitle->setText(caption);
}

void Tripmain::queryDatabase()
{
    startGlobe(QStringLiteral("Getting CDDB Server Information"));
    toptitle->setText(QStringLiteral("Getting Album Information"));
    const platform::CddbDisc disc = cddbDiscOf(toc_);
    discid_ = platform::cddbDiscId(disc);
    processEvents();
    using Answer = std::pair<bool, QVector<platform::CddbMatch>>;
    const std::optional<Answer> answer = waitForServer<Answer>([options = cddbOptions(), disc] {
        Answer asked;
        asked.first = platform::cddbQuery(options, disc, kMaxMatches, asked.second);
        return asked;
    });
    if (!answer) return endRoad();
    matches_ = answer->second;
    if (!answer->first || matches_.isEmpty()) {
        noMatch();
        return;
    }
    talbums albums;
    for (const platform::CddbMatch& match : matches_) {
        albums.artists.append(match.artist);
        albums.titles.append(match.title);
    }
    albums.count = int32_t(matches_.size());
    startGlobe(QStringLiteral("Getting Track Information"));
    chooseMatch(albums);
}

void Tripmain::chooseMatch(const talbums& albums)
{
    int32_t chosen = -1;
    while (library::trackscount <= 0) {
        processEvents();
        chosen = multipledialog(albums);
        if (chosen == kMatchManualEntry) {
            library::trackscount = 0;
            manualRoad();
            return;
        }
        if (chosen < 0 || chosen >= matches_.size()) {
            endRoad();
            return;
        }
        if (!gettracks(chosen)) return endRoad();
        if (library::trackscount > 0) break;
        const uint16_t answer = md(
            QStringLiteral("Internet CDDB returned no track information. Disk ID ") + discIdText() +
                QStringLiteral("\r\nUsing server path: ") + serverPath() +
                QStringLiteral(
                    "\r\nEnter album information manually?\r\n\r\nSelect Manual to enter album information "
                    "manually or Try Again to reselect the album."),
            QStringLiteral("Manual"), QStringLiteral("Try again"), QStringLiteral("Information Aquisition"),
            true);
        if (answer == kBackToJukebox) return endRoad();
        if (answer == kFirstButton) return manualRoad();
    }
    const platform::CddbMatch& match = matches_[chosen];
    id3titles.artist = library::stripcontrols(match.artist);
    id3titles.album = library::stripcontrols(match.title);
    library::artist = match.artist;
    library::title = match.title;
    library::cleanfoldernames(library::artist, library::title);
    // A name that leaves nothing for the folder is typed by hand, as on the manual road.
    if ((library::artist.isEmpty() || library::title.isEmpty()) && !typeAlbumNames()) return endRoad();
    finishRoad();
}

// The titles the database gave (or the operator typed) match the disc's audio tracks: extra ones
// are dropped and missing ones are named by their number.
void Tripmain::fitTitlesToDisc()
{
    library::tracks = library::tracks.mid(0, audioTracks_);
    for (int n = int(library::tracks.size()); n < audioTracks_; ++n)
        library::tracks.append(QStringLiteral("Track ") + QString::number(n + 1));
    library::trackscount = int32_t(library::tracks.size());
}

template<class Result> std::optional<Result> Tripmain::waitForServer(const std::function<Result()>& work)
{
    cancel->show();
    const std::optional<Result> result = serverWait_->call<Result>(work);
    cancel->hide();
    return result;
}

// False when the operator gave the exchange up.
bool Tripmain::gettracks(int32_t alb)
{
    processEvents();
    const std::optional<QString> record =
        waitForServer<QString>([options = cddbOptions(), match = matches_[alb], disc = cddbDiscOf(toc_)] {
            return platform::cddbRecord(options, match, disc);
        });
    if (!record) return false;
    library::tracks.clear();
    library::trackscount = 0;
    for (const QString& line : recordLines(*record)) {
        QString left;
        QString right;
        library::split(line, QStringLiteral("="), left, right);
        if (left.left(6).toUpper() == QStringLiteral("TTITLE"))
            library::tracks.append(library::oneLineTitle(right));
    }
    library::trackscount = int32_t(library::tracks.size());
    if (library::trackscount > 0) fitTitlesToDisc();
    return true;
}

// The database found the disc: check the titles, choose the cover, extract. The tags carry the
// names as the database gave them; the folder is named by their cleaned form.
void Tripmain::finishRoad()
{
    spinglobe->stop();
    setWindowTitle(QStringLiteral("MusRip: ") + library::artist + QLatin1Char('-') + library::title);
    if (doverify(0) == kSecondButton || doartwork(0) == kSecondButton) return endRoad();
    extractAndAdd();
}

void Tripmain::noMatch()
{
    if (manualentry) return manualRoad();
    const uint16_t answer = md(
        QStringLiteral(
            "Could not query CD database.\r\nThe CD is not recognised, there is a problem with your Internet "
            "connection.(Disk ID ") +
            discIdText() + QStringLiteral(")\r\nUsing server path: ") + serverPath() +
            QStringLiteral(
                "\r\n or the CD is not in the internet database.\r\n\r\nSelect Manual to enter album "
                "information manually."),
        QStringLiteral("Manual"), QStringLiteral("Cancel"), QStringLiteral("CD Database"), false);
    if (answer == kFirstButton) return manualRoad();
    endRoad();
}

void Tripmain::manualRoad()
{
    if (!manualTitles()) return;
    library::title.clear();
    library::artist.clear();
    spinglobe->stop();
    if (!typeAlbumNames()) return endRoad();
    if (doverify(0) == kSecondButton || !internetForCover() || doartwork(0) == kSecondButton)
        return endRoad();
    extractAndAdd();
}

// The operator types the artist and album; the tags carry them as typed. False when given up.
bool Tripmain::typeAlbumNames()
{
    if (getuseralbumtitle(library::title, library::artist) != kFirstButton) return false;
    id3titles.artist = library::artist;
    id3titles.album = library::title;
    return true;
}

// The titles of the manual road: "Track 1" .. one per audio track of the disc.
bool Tripmain::manualTitles()
{
    if (!cdhandle->readToc(toc_)) {
        md(QStringLiteral("Unable to read Table of Contents from CD:") +
               QString::number(cdhandle->lastError()),
           QString(), QStringLiteral("Cancel"), QStringLiteral("CD Error"), true);
        endRoad();
        return false;
    }
    audioTracks_ = audioTrackCount(toc_);
    library::tracks.clear();
    fitTitlesToDisc();
    return true;
}

// The dial-up program is run only when it is chosen, and the road goes on once it reports
// "connected"; any other end of its wait asks again.
bool Tripmain::internetForCover()
{
    return onlineOrManual(QStringLiteral("A connection to the internet is needed to find artwork."),
                          QStringLiteral("Connect to Internet"), QStringLiteral("Use manual information"),
                          QStringLiteral("Artwork Aquision"), coverServiceReachable, dialUp);
}

// Extraction, then the album joins the library whole with the unbroken run of tracks made from the
// first one, so its titles and track files stay in step. When tracks came out incomplete the
// operator hears which before the album is added, and keeps or drops it. An album without a track
// made adds nothing; an album of the same name stays as it was until the new one replaces it, and
// a cancelled extraction never replaces it.
void Tripmain::extractAndAdd()
{
    doripping();
    closecd();
    stopit();
    logent(QStringLiteral("Completed."));
    const int32_t kept = keptTracks();
    if (kept == 0 && !cancelop) sayNothingMade();
    if (kept > 0 && !cancelledOverwrite(kept) && keepIncomplete(kept) && joinLibrary(kept))
        addToList();
    else
        dropstaging(library::albumpath);
    die();
}

int32_t Tripmain::keptTracks() const
{
    int32_t kept = 0;
    while (kept < library::trackscount && made_.contains(kept))
        ++kept;
    return kept;
}

// The operator stopped the extraction short of an album that the library already holds: the old
// one stays, whole, rather than give way to the few tracks made.
bool Tripmain::cancelledOverwrite(int32_t kept) const
{
    return cancelop && kept < library::trackscount && albumInLibrary();
}

// Tracks read with errors are incomplete; tracks of which nothing was read, and tracks not made, are
// left out with every track after them (unless the operator cancelled: then they were never meant
// to be made). What the operator hears of them; empty when the album is whole.
QString Tripmain::incompleteTracks(int32_t kept) const
{
    QList<int32_t> damaged;
    for (const int32_t n : readErrors_)
        if (n < kept) damaged.append(n);
    QList<int32_t> empty;
    QList<int32_t> missing;
    for (int32_t n = kept; n < library::trackscount; ++n) {
        if (emptyTracks_.contains(n))
            empty.append(n);
        else if (!cancelop)
            missing.append(n);
    }
    if (damaged.isEmpty() && empty.isEmpty() && missing.isEmpty()) return {};
    QString text = QStringLiteral("Some tracks of this CD are not whole.");
    if (!damaged.isEmpty())
        text += QStringLiteral("\r\nRead with errors, so incomplete: ") + trackNumbers(damaged);
    if (!empty.isEmpty()) text += QStringLiteral("\r\nLeft out, nothing to play: ") + trackNumbers(empty);
    if (!missing.isEmpty())
        text += QStringLiteral("\r\nLeft out, not made or after one not made: ") + trackNumbers(missing) +
                fullDiskNote(library::config.path);
    return text;
}

// Keeping the new album is the first answer, unless it would replace one on the system that has
// more tracks: then keeping that one is, and Escape ("Back to Jukebox") keeps it too.
bool Tripmain::keepIncomplete(int32_t kept)
{
    QString text = incompleteTracks(kept);
    if (text.isEmpty()) return true;
    const int32_t oldTracks = tracksInLibrary();
    if (kept < oldTracks) {
        text += QStringLiteral("\r\nKeeping it replaces the album already on the system, which has ") +
                QString::number(oldTracks) + QStringLiteral(" tracks, with ") + firstTracks(kept) +
                QStringLiteral(".\r\n\r\nKeep the album already on the system, or replace it?");
        return md(text, QStringLiteral("Keep Old Album"), QStringLiteral("Replace It"),
                  QStringLiteral("Incomplete Tracks"), true) == kSecondButton;
    }
    if (albumInLibrary()) text += QStringLiteral("\r\nKeeping it replaces the album already on the system.");
    text +=
        QStringLiteral("\r\n\r\nKeep the album with ") + firstTracks(kept) + QStringLiteral(", or drop it?");
    return md(text, QStringLiteral("Keep Album"), QStringLiteral("Drop Album"),
              QStringLiteral("Incomplete Tracks"), false) == kFirstButton;
}

QString Tripmain::fullDiskNote(const QString& folder)
{
    constexpr qint64 kMebibyte = 1024 * 1024;
    const qint64 available = platform::diskSpace().available(folder);
    if (available >= kRipFreeSpace) return {};
    return QStringLiteral("\r\nThe disk is full: ") + QString::number(available / kMebibyte) +
           QStringLiteral(" MB left on it.");
}

// Not even the first track could be made: the operator hears why no album is added.
void Tripmain::sayNothingMade()
{
    md(incompleteTracks(0) + QStringLiteral("\r\n\r\nNo track could be made, so no album is added."),
       QStringLiteral("OK"), QString(), QStringLiteral("Incomplete Tracks"), false);
}

// The staged album keeps its first `kept` titles and tracks, and moves into the library.
bool Tripmain::joinLibrary(int32_t kept)
{
    const QString folder = stagingfolder(library::albumpath);
    if (kept < library::trackscount) keepFirstTitles(folder, kept);
    for (const QString& track : trackfiles(folder).mid(kept))
        QFile::remove(platform::joinPath(folder, track));
    if (moveintolibrary(library::albumpath)) return true;
    md(movefailure(library::albumpath), QStringLiteral("Cancel"), QString(), QStringLiteral("Filing Error"),
       false);
    return false;
}

// The album takes the place of its old entry, if any; the jukebox's message line says it is done,
// where it stays readable once this window has closed.
void Tripmain::addToList()
{
    if (!player::mainform) return;
    for (int32_t i = 1; i <= library::albumcount; ++i) {
        if (library::album[i].artist == library::artist && library::album[i].album == library::title) {
            player::mainform->deletealbum(i);
            break;
        }
    }
    player::mainform->addalbum(library::artist, library::title);
    player::frontend().domessage(QStringLiteral("Completed. ") + library::artist + QStringLiteral(" - ") +
                                 library::title);
}

// A road given up leaves no album half built.
void Tripmain::endRoad()
{
    stopit();
    dropstaging(library::albumpath);
    die();
}

void Tripmain::die()
{
    manualentry = false;
    library::osk(false, false);
    close();
    processEvents();
}

void Tripmain::stopit()
{
    spinglobe->stop();
    spinglobe->hide();
    closecd();
    unsetCursor();
    go->setEnabled(true);
    cdselect->setEnabled(true);
    cancel->hide();
    progress->hide();
    encprogress->hide();
}

void Tripmain::closecd()
{
    cdhandle.reset();
}

void Tripmain::logent(const QString& m)
{
    log->appendPlainText(m);
    processEvents();
}

QString Tripmain::discIdText() const
{
    return QStringLiteral("%1").arg(discid_, 8, 16, QLatin1Char('0')).toUpper();
}

QString Tripmain::serverPath() const
{
    return library::config.cddbserver + library::config.cddbcgi;
}

} // namespace ripper
