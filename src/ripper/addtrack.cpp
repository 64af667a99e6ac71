#include "ripper/addtrack.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <utility>

#include "library/albumstore.h"
#include "library/global.h"
#include "library/names.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "player/mainform.h"
#include "ripper/albumartist.h"
#include "ripper/albumfiles.h"
#include "ripper/albumstaging.h"
#include "skins/imaging.h"

namespace ripper {

namespace {
constexpr int kClientWidth = 535;
constexpr int kClientHeight = 419;
constexpr int kRepeatMs = 100;
constexpr int kCoverSide = 300;
constexpr int kExtensionLength = 4;
const QString kNoFolderMessage = QStringLiteral("Could not create folder. Possibly it already exists");
const QString kLinkedAlbumMessage =
    QStringLiteral("The album's folder is a link to one elsewhere, so no track can be added to it safely.");

// The hourglass while it lives.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// "track" + two digits + ".mp3", or ".mpG" for a file whose name ends in "g" (a video track).
QString trackFileName(int number, const QString& dropped)
{
    const bool video = dropped.endsWith(QLatin1Char('g'), Qt::CaseInsensitive);
    return QStringLiteral("track%1.mp").arg(number, 2, 10, QLatin1Char('0')) +
           (video ? QStringLiteral("G") : QStringLiteral("3"));
}

} // namespace

TAddTrack::TAddTrack(const QString& aart, const QString& aalb, const QString& path)
    : art(aart), alb(aalb), path_(path)
{
    const BusyCursor busy;
    createControls();
    setWindowTitle(QStringLiteral("Add Track - ") + path_);
    oldalbum->setText(QStringLiteral("Add Track To: ") + art + QLatin1Char(' ') + alb);
    fillFromTag();
}

void TAddTrack::createControls()
{
    setFixedSize(kClientWidth, kClientHeight);
    auto* layout = new QGridLayout(this);
    oldalbum = new QRadioButton(this);
    oldalbum->setChecked(true);
    newalbum = new QRadioButton(QStringLiteral("Create New Album"), this);
    newalbumframe = new QGroupBox(this);
    newalbumframe->setEnabled(false);
    auto* frameLayout = new QGridLayout(newalbumframe);
    ebartist = new QLineEdit(newalbumframe);
    ebalbum = new QLineEdit(newalbumframe);
    frameLayout->addWidget(new QLabel(QStringLiteral("Artist"), newalbumframe), 0, 0);
    frameLayout->addWidget(ebartist, 0, 1);
    frameLayout->addWidget(new QLabel(QStringLiteral("Album"), newalbumframe), 1, 0);
    frameLayout->addWidget(ebalbum, 1, 1);
    ebtrack = new QLineEdit(this);
    repeataction = new QCheckBox(QStringLiteral("Repeat for all tracks in selection "), this);
    Ok = new QPushButton(QStringLiteral("Ok"), this);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(oldalbum, 0, 0, 1, 2);
    layout->addWidget(newalbum, 1, 0, 1, 2);
    layout->addWidget(newalbumframe, 2, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Track Title"), this), 3, 0);
    layout->addWidget(ebtrack, 3, 1);
    layout->addWidget(repeataction, 4, 0, 1, 2);
    auto* answers = new QHBoxLayout;
    answers->addStretch();
    answers->addWidget(Ok);
    answers->addWidget(Cancel);
    layout->addLayout(answers, 5, 0, 1, 2);
    actiontimer = new QTimer(this);
    actiontimer->setInterval(kRepeatMs);
    // One press only: a press that fails leaves the dialog to the user.
    actiontimer->setSingleShot(true);
    connect(actiontimer, &QTimer::timeout, this, &TAddTrack::OkClick);
    connect(Ok, &QPushButton::clicked, this, &TAddTrack::OkClick);
    connect(Cancel, &QPushButton::clicked, this, &TAddTrack::reject);
    connect(newalbum, &QRadioButton::toggled, this, [this](bool on) {
        newalbumframe->setEnabled(on);
        if (on) ebartist->setFocus();
    });
    connect(repeataction, &QCheckBox::clicked, this, [](bool on) { repeatactionset = on; });
}

void TAddTrack::fillFromTag()
{
    library::readtag(path_, id_);
    ebalbum->setText(library::trimcontrols(id_.album));
    ebartist->setText(library::trimcontrols(id_.artist));
    ebtrack->setText(library::trimcontrols(id_.track));
    if (ebtrack->text().isEmpty())
        ebtrack->setText(library::oneLineTitle(QFileInfo(path_).fileName().chopped(kExtensionLength)));
}

void TAddTrack::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (repeataction->isChecked()) actiontimer->start();
}

void TAddTrack::reject()
{
    actiontimer->stop();
    done(kCancelled);
}

void TAddTrack::error(const QString& text)
{
    (void)platform::dialogs().messageBox(QStringLiteral("Error"), text, platform::MessageIcon::Error,
                                         platform::MessageButtons::Ok);
}

void TAddTrack::OkClick()
{
    actiontimer->stop();
    if (ebtrack->text().isEmpty()) {
        error(QStringLiteral("You must specify a name for the track."));
        return;
    }
    const QString folder = targetFolder();
    if (folder.isEmpty()) return;
    bool added = addTrack(folder);
    if (staged_)
        added = finishStaged(added);
    else
        dropstaging(library::albumfoldername({alb, art})); // the mark of a track added in place
    done(added ? kAdded : kCancelled);
}

bool TAddTrack::finishStaged(bool trackAdded)
{
    staged_ = false;
    const bool newAlbum = std::exchange(newAlbum_, false);
    const QString albumpath = library::albumfoldername({alb, art});
    if (trackAdded && moveintolibrary(albumpath)) {
        if (newAlbum && player::mainform) player::mainform->addalbum(art, alb);
        return true;
    }
    dropstaging(albumpath);
    if (trackAdded) error(movefailure(albumpath));
    return false;
}

QString TAddTrack::targetFolder()
{
    if (oldalbum->isChecked()) return existingAlbum();
    QString artist = ebartist->text();
    QString album = ebalbum->text();
    if (!acceptnewnames(artist, album)) {
        error(kBadNamesMessage);
        return {};
    }
    // An album whose names differ only in letter case is that album.
    (void)takeexistingspelling(artist, album);
    art = artist;
    alb = album;
    if (QDir(library::albumfolderpath({alb, art})).exists()) return existingAlbum();
    return makeNewAlbum();
}

// The album is staged with its files linked, so that the track and its title join it together,
// even when the program is killed halfway. An album that is a link (its folder perhaps on another
// disk) cannot be staged, and is refused rather than written in place. On a disk without hard
// links the track and its title go in place, one after the other, the album marked meanwhile for
// the next start to undo what a kill would leave half done.
QString TAddTrack::existingAlbum()
{
    const QString albumpath = library::albumfoldername({alb, art});
    const QString folder = library::albumfolderpath({alb, art});
    if (stagealbum(albumpath)) {
        staged_ = true;
        return stagingfolder(albumpath);
    }
    const QString blocked = stagingfailure({});
    if (QFileInfo(folder).isSymLink() || !blocked.isEmpty()) {
        error(blocked.isEmpty() ? kLinkedAlbumMessage : blocked);
        return {};
    }
    return folder;
}

// A new album is built where the CD road builds one and joins the library only with its track, so
// an album without tracks never shows, even when the program is killed halfway.
QString TAddTrack::makeNewAlbum()
{
    const library::talbumtype entry{alb, art};
    QImage cover(kCoverSide, kCoverSide, QImage::Format_RGB888);
    skins::generatecover(cover, art + QLatin1Char(' ') + alb);
    const QString albumpath = library::albumfoldername(entry);
    if (!preparestaging(albumpath) || !writecover(stagingfolder(albumpath), cover)) {
        dropstaging(albumpath);
        error(stagingfailure(kNoFolderMessage));
        return {};
    }
    newAlbum_ = true;
    staged_ = true;
    return stagingfolder(albumpath);
}

bool TAddTrack::addTrack(const QString& folder)
{
    const BusyCursor busy;
    const int number = nexttracknumber(folder);
    if (number > kMaxTrackNumber) {
        error(QStringLiteral("The album already holds 99 tracks."));
        return false;
    }
    const QString track = trackFileName(number, path_);
    if (!staged_ && !markinplace(library::albumfoldername({alb, art}), track)) {
        error(stagingfailure(kNoFolderMessage));
        return false;
    }
    const QString destination = platform::joinPath(folder, track);
    if (!copySource(destination)) return false;
    if (!settitleline(folder, number, ebtrack->text())) {
        // A track without its title would shift the titles of later tracks: it goes again.
        QFile::remove(destination);
        error(QStringLiteral("Error writing title file."));
        return false;
    }
    return true;
}

// The copy is kept only when it holds all of the source as it stood before: a file still being
// written, or cut short meanwhile, would give guests a track that stops early.
bool TAddTrack::copySource(const QString& destination)
{
    const QFileInfo before(path_);
    if (before.isFile() && before.size() == 0) {
        error(QStringLiteral("The file is empty, so there is nothing to play: ") + path_);
        return false;
    }
    if (!platform::copyFileAsNew(path_, destination)) {
        error(QStringLiteral("Error copying track file."));
        return false;
    }
    const QFileInfo after(path_);
    if (after.size() == before.size() && after.lastModified() == before.lastModified() &&
        QFileInfo(destination).size() == before.size())
        return true;
    QFile::remove(destination);
    error(QStringLiteral("The file changed while it was copied, so it is not added: ") + path_);
    return false;
}

int32_t addtrackdialog(const QString& aart, const QString& aalb, const QString& apath, QString& oart,
                       QString& oalb, bool firstrun)
{
    TAddTrack dialog(aart, aalb, apath);
    if (firstrun) repeatactionset = false;
    dialog.repeataction->setChecked(repeatactionset);
    const int result = platform::dialogs().execModal(dialog);
    oalb = dialog.alb;
    oart = dialog.art;
    return result == TAddTrack::kAdded ? TAddTrack::kAdded : TAddTrack::kCancelled;
}

} // namespace ripper
