// Start-up, reload and shutdown of the player window.

#include "player/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <utility>

#include "player/backdrops.h"
#include "library/albumstore.h"
#include "library/filter.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "platform/arguments.h"
#include "platform/cursors.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/mediaplayer.h"
#include "platform/memory.h"
#include "platform/waithelper.h"
#include "player/aboutform.h"
#include "player/albumrows.h"
#include "player/frontend.h"
#include "skins/colors.h"
#include "skins/imaging.h"
#include "skins/loadjpegorbmp.h"
#include "skins/resourceskins.h"

namespace player {

namespace {
constexpr int kVolumeMax = 150;
constexpr int kToolbarImages = 10;
constexpr double kFadedImageAlpha = 0.35;
constexpr int kSoundTroubleReminderMs = 3000;

// What the operator is told of `trouble`; empty while the music is heard.
QString soundTroubleText(platform::SoundTrouble trouble)
{
    switch (trouble) {
    case platform::SoundTrouble::NotAnswering:
        return Tmainform::tr("The sound device does not answer");
    case platform::SoundTrouble::NoDevice:
        return Tmainform::tr("No sound device: the music is not heard");
    case platform::SoundTrouble::None:
        break;
    }
    return {};
}

bool isSoundTroubleText(const QString& text)
{
    return text == soundTroubleText(platform::SoundTrouble::NotAnswering) ||
           text == soundTroubleText(platform::SoundTrouble::NoDevice);
}

const QString kFontFace = QStringLiteral("musetradigital");

bool firstArgumentIs(const QString& word)
{
    return platform::commandLineArgument(1).toUpper() == word;
}

// Why the silent file cannot be made in the cache folder, naming the folder.
QString cacheFolderProblem()
{
    if (library::cachepath.isEmpty()) return library::cacheproblem;
    QString why = platform::folderWriteProblem(library::cachepath);
    const QString blank = platform::joinPath(library::cachepath, QStringLiteral("blank.mp3"));
    if (why.isEmpty() && QFileInfo::exists(blank) && !platform::isRegularFile(blank))
        why = QStringLiteral("holds something other than a file named blank.mp3");
    if (why.isEmpty()) why = QStringLiteral("takes no new file");
    return QStringLiteral("The cache folder %1 %2").arg(library::cachepath, why);
}

QString blankFileMessage(const QString& firstWords)
{
    return firstWords + cacheFolderProblem() +
           QStringLiteral(
               ".\r\nPlease point \"CachePath=\" in section [main] of the .INI file at a folder of your "
               "own that can be written to");
}

// Runs `then` once, when the first window of the program has been shown.
class FirstExposure : public QObject
{
public:
    FirstExposure(QObject* parent, std::function<void()> then) : QObject(parent), then_(std::move(then))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            qApp->removeEventFilter(this);
            // After the expose has painted the window.
            QTimer::singleShot(0, this, [this] {
                then_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> then_;
};

// Selects row `remembered` - 1 when that row exists, else row 0.
void selectRemembered(QComboBox* box, int32_t remembered)
{
    box->setCurrentIndex(remembered >= 1 && box->count() >= remembered ? remembered - 1 : 0);
}
} // namespace

void installfont()
{
    // The font is loaded for this process only, so no system folder or font table is touched.
    (void)platform::installFontResource(QStringLiteral(":/FONT"), kFontFace);
}

void Tmainform::FormCreate(QObject*)
{
    createMediaPlayer();
    toolbar->setAutoFillBackground(true);
    vol->setRange(0, kVolumeMax);
    applyKioskCursor();
    (void)library::readini(); // halts the program when the settings file is missing
    // Made meanwhile for the first album cover shown, of either window.
    skins::prepareerrorbitmaps();
    QApplication::setApplicationName(QStringLiteral("Musetra v2.6"));
    setWindowTitle(QStringLiteral("Musetra v2.6"));
    // A stored filter does not survive start-up; the reset one is what the settings get back.
    library::resetfilter();
    makeFadedToolbarImages();
    buttonsMouseMove(nullptr);
    resetPlayerState();
    if (!platform::fontKnown(kFontFace)) installfont();
    if (!loadedblankmp3file) loadblankmp3file();
    resetPlayerControls();
    showabout(0);
    vol->setValue(library::config.volume);
    buildcontentlist(firstrun);
    // The DJ is on before the start hands over to the jukebox, so guests' selections are announced.
    pressDjWhenDefault();
    initlistboxes();
    initmessage(QStringLiteral("Initialising......"));
    // The media player always counts in milliseconds.
    // A background track started by the list filling keeps its album chosen and the player
    // playing, so its end starts the next background track as at any other time.
    if (playmode != 1) {
        selectRememberedAlbums();
        playmode = 0;
    }
    closeSplash();
    startMakingMissingTitles();
    prepareMediaPlayerOnceShown();
}

// The player's engine is readied on a worker once a window shows, so the first selection is as
// quick as any later one; sooner, it would hold the way to the first window.
void Tmainform::prepareMediaPlayerOnceShown()
{
    const auto prepare = [player = QPointer<platform::MediaPlayer>(mp.get())] {
        // What the start left free goes back to the system before the engine takes its own.
        platform::returnFreeMemory();
        if (player) player->prepare();
    };
    const QWindowList windows = QGuiApplication::topLevelWindows();
    if (std::any_of(windows.begin(), windows.end(),
                    [](const QWindow* window) { return window->isExposed(); }))
        QTimer::singleShot(0, this, prepare);
    else
        new FirstExposure(this, prepare);
}

// The title files the scan found missing are made on a worker once the windows show, all with one
// flush to disk, so a fresh library opens as quickly as a known one. Until then their albums read
// as the files will.
void Tmainform::startMakingMissingTitles()
{
    finishMakingTitles();
    titlesMaker_.reset(QThread::create(library::makependingtitles));
    titlesMaker_->start(QThread::LowPriority);
}

void Tmainform::finishMakingTitles()
{
    if (titlesMaker_) platform::waitForThread(*titlesMaker_);
    titlesMaker_.reset();
}

void Tmainform::createMediaPlayer()
{
    // One player serves the whole run: a reload keeps it (and whatever it has open).
    if (mp) return;
    mp = makeMediaPlayer_();
    connect(mp.get(), &platform::MediaPlayer::completed, this, &Tmainform::MPNotify);
    connect(mp.get(), &platform::MediaPlayer::soundTroubleChanged, this, &Tmainform::showSoundTrouble);
    soundTroubleReminder_ = new QTimer(this);
    soundTroubleReminder_->setInterval(kSoundTroubleReminderMs);
    connect(soundTroubleReminder_, &QTimer::timeout, this, &Tmainform::tellSoundTrouble);
}

// The operator is told while the music cannot be heard, again at every reminder so that no other
// message hides it for long (the window goes on answering, and guests go on choosing). Once it is
// heard again the caption shows what it showed before and the message line is cleared, unless a
// track has named itself on both since.
void Tmainform::showSoundTrouble(platform::SoundTrouble trouble)
{
    soundTrouble_ = soundTroubleText(trouble);
    if (!soundTrouble_.isEmpty()) {
        tellSoundTrouble();
        soundTroubleReminder_->start();
        return;
    }
    soundTroubleReminder_->stop();
    if (!isSoundTroubleText(windowTitle())) return;
    setWindowTitle(captionBeforeTrouble_);
    if (frontend().jukeboxVisible()) frontend().domessage(QString());
}

void Tmainform::tellSoundTrouble()
{
    // A track that started meanwhile named itself in the caption: that is the one to give back.
    if (!isSoundTroubleText(windowTitle())) captionBeforeTrouble_ = windowTitle();
    tellOperator(soundTrouble_);
}

void Tmainform::applyKioskCursor()
{
    kiosk = true;
    if (firstArgumentIs(QStringLiteral("KIOSK"))) kiosk = true;
    if (!kiosk) return;
    const QPixmap blank(QStringLiteral(":/BLANKCURSOR"));
    platform::setHandPointCursor(blank.isNull() ? QCursor(Qt::BlankCursor) : QCursor(blank, 0, 0));
}

void Tmainform::makeFadedToolbarImages()
{
    if (!firstrun) return;
    setCursor(Qt::BusyCursor);
    QCoreApplication::processEvents();
    // Every run makes the faded forms anew behind the ten originals, so reloads do not pile up copies.
    if (butimages.size() > kToolbarImages) butimages.resize(kToolbarImages);
    const qsizetype originals = butimages.size();
    for (qsizetype i = 0; i < originals; ++i) {
        QImage faded = butimages.at(i);
        skins::alphablendbitmapwithcolor(faded, skins::clBtnFace, faded, kFadedImageAlpha);
        butimages.append(faded);
    }
}

void Tmainform::resetPlayerState()
{
    dcurrentlyplayingtrack = 0;
    dCurrentTrack = 0;
    paused = false;
    playmode = 0;
    queueRanOut_ = false;
}

void Tmainform::resetPlayerControls()
{
    albumlist->clear();
    Dalbumlist->clear();
    dplaylist->clear();
    tracklist->clear();
    dtracklist->clear();
    del->setEnabled(false);
    clearlist->setEnabled(false);
    Playlist->hide();
    playpanel->show();
    transport->show();
    for (QAction* item : {Cdplayerbut, playlistbut, randombut, jukeboxbut})
        item->setEnabled(true);
    Cdplayerbut->setChecked(true);
    for (QWidget* picture :
         std::initializer_list<QWidget*>{butcd, butcdlist, butrandom, butjukebox, bevel4, Bevel5})
        picture->show();
}

void Tmainform::selectRememberedAlbums()
{
    selectRemembered(albumlist, library::config.lastalbum);
    selectRemembered(Dalbumlist, library::config.dlastalbum);
    albumlistChange(albumlist);
    DalbumlistChange(Dalbumlist);
}

void Tmainform::closeSplash()
{
    if (about && about->isVisible()) {
        about->close();
        delete about;
        about = nullptr;
        QApplication::restoreOverrideCursor();
    }
    // The busy cursor of the window itself ends with the start-up too.
    unsetCursor();
}

// Fills the two album lists in their fixed order, which gives every album its number, and hands
// over to the jukebox.
void Tmainform::initlistboxes()
{
    fillAlbumRows();
    initmessage(QStringLiteral("Creating albumlists.."));
    rebuildAlbumsInRowOrder();
    initmessage(QStringLiteral("Creating albumlists...."));
    if (!mp->fileName().isEmpty() && Cdplayerbut->isChecked() && play->isChecked()) StopClick(nullptr);
    selectRememberedAlbums();

    const bool albumsExist = library::albumcount != 0;
    if (dplaylist->count() == 0 && !albumsExist)
        CdplayerbutClick(nullptr);
    else if (!albumsExist && Cdplayerbut->isChecked())
        playlistbutClick(nullptr);
    dtracklist->clear();
    enableForAlbums(albumsExist);

    initmessage(QStringLiteral("Initialising Jukebox...."));
    frontend().gojukebox(false);
    if (!albumsExist) frontend().domessage(QStringLiteral("No CDs on system"));
    if (firstArgumentIs(QStringLiteral("/J")) || kiosk) {
        if (library::config.autoplay && library::albumcount > 0) {
            frontend().initautoplay();
            frontend().startautoplay();
        }
        jukeboxbutClick(nullptr);
    }
}

// Rows are "artist - album", sorted without regard to case by the locale's collation.
void Tmainform::fillAlbumRows()
{
    albumlist->clear();
    Dalbumlist->clear();
    // The C locale would order by code points (capitals first); rows are sorted as a person reads them.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setIgnorePunctuation(false);
    struct Row
    {
        QString text;
        int entry;
        // Orders as the collator compares the texts, at the cost of one collation a row.
        QCollatorSortKey key;
    };
    QVector<Row> rows;
    for (int n = 1; n <= library::albumcount && n < library::albumref.size(); ++n) {
        const library::talbumtype& entry = library::albumref.at(n);
        if (!entry.artist.isEmpty() && !entry.album.isEmpty()) {
            QString text = entry.artist + QStringLiteral(" - ") + entry.album;
            QCollatorSortKey key = collator.sortKey(text);
            rows.append({std::move(text), n, std::move(key)});
        }
        keepWindowsAlive();
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.text < b.text;
    });
    // Rows of artists beginning with "_" go behind all others, keeping their sorted order, wherever
    // the collation put them (a leading blank sorts before "_").
    std::stable_partition(rows.begin(), rows.end(),
                          [](const Row& row) { return !row.text.startsWith(u'_'); });
    // Added all at once, the album list with each row's entry: row by row, every row (and every
    // entry) would be announced to the combos on its own.
    QStringList texts;
    QList<int> entries;
    texts.reserve(rows.size());
    entries.reserve(rows.size());
    for (const Row& row : rows) {
        texts.append(row.text);
        entries.append(row.entry);
    }
    static_cast<AlbumRows*>(albumlist->model())->appendRows(texts, entries);
    static_cast<AlbumRows*>(Dalbumlist->model())->appendRows(texts);
}

// From here on the album of row i has the number i + 1 everywhere.
void Tmainform::rebuildAlbumsInRowOrder()
{
    library::album.resize(std::max<qsizetype>(library::album.size(), albumlist->count() + 1));
    for (int i = 0; i < albumlist->count(); ++i)
        library::album[i + 1] = library::albumref.at(albumlist->itemData(i).toInt());
    library::rebuildjalbum();
}

void Tmainform::enableForAlbums(bool albumsExist)
{
    for (QWidget* control : std::initializer_list<QWidget*>{Add, insert, transport, albumlist, Dalbumlist})
        control->setEnabled(albumsExist);
    Cdplayerbut->setEnabled(albumsExist);
    randombut->setEnabled(albumsExist);
    coverpickbut->setEnabled(albumsExist);
    for (QWidget* control : std::initializer_list<QWidget*>{playpanel, tracklist, cover, coverPanel, butcd,
                                                            butrandom, butjukebox})
        control->setVisible(albumsExist);
    butcdlist->setVisible(true);
    playlistbut->setEnabled(true);
    jukeboxbut->setEnabled(true);
}

void Tmainform::loadblankmp3file()
{
    // Without a cache folder of its own the program has nowhere to put the silent file.
    if (library::cachepath.isEmpty())
        platform::fatalError(QStringLiteral("Error"),
                             blankFileMessage(QStringLiteral("Cannot create temporary file. ")));
    blankfilepath = platform::joinPath(library::cachepath, QStringLiteral("blank.mp3"));
    if (!QFileInfo(blankfilepath).isFile()) {
        platform::removeAtomicWriteLeftovers(blankfilepath);
        QFile resource(QStringLiteral(":/blank"));
        if (!resource.open(QIODevice::ReadOnly) ||
            !platform::writeFileAtomically(blankfilepath, resource.readAll()))
            platform::fatalError(QStringLiteral("Error"),
                                 blankFileMessage(QStringLiteral("Cannot create temporary file. ")));
    }
    if (!QFileInfo(blankfilepath).isFile())
        platform::fatalError(QStringLiteral("Error"),
                             blankFileMessage(QStringLiteral("Cannot find temporary file. ")));
    mp->close();
    mp->setFileName(blankfilepath);
    // Parked on the silent file, the player loads no media library until something plays; a silent
    // file that will not open does no harm.
    (void)mp->openWhenNeeded();
    loadedblankmp3file = true;
}

void Tmainform::jukeboxbutClick(QObject* Sender)
{
    // Only the toolbar picture leaves the desktop player mode for the rest of the run.
    if (Sender != nullptr && Sender == butjukebox) library::config.mediaplayermode = false;
    playlistbut->setChecked(true);
    playlistbutClick(nullptr);
    initmessage(QStringLiteral("Initialising Jukebox...."));
    frontend().gojukebox(true);
    if (QWidget* jukeboxWindow = frontend().jukeboxWindow()) skins::moveformtomonitor(jukeboxWindow);
    if (library::config.mediaplayermode) frontend().closeJukebox();
}

void Tmainform::reloadClick(QObject*)
{
    firstrun = true;
    stopForRestart();
    // The running program's settings are the ones the new start-up reads back.
    library::writeini();
    setEnabled(false);
    FormCreate(this);
    setEnabled(true);
}

void Tmainform::OptionsClick(QObject*)
{
    QCoreApplication::processEvents();
    stopForRestart();
    firstrun = true;
    FormCreate(this);
}

// A restart ends with the player stopped and its buttons saying so, so the jukebox starts the
// next selection itself; a background track it stopped no longer plays.
void Tmainform::stopForRestart()
{
    play->setChecked(false);
    pressStop();
    frontend().setAutoplaying(false);
}

void Tmainform::fileexitClick(QObject*)
{
    close();
    QCoreApplication::quit();
}

void Tmainform::FormClose(QObject*)
{
    library::writeini();
    QFile::remove(blankfilepath);
    QCoreApplication::quit();
}

} // namespace player
