// Leaving the jukebox (the shutdown button), handing the screen to a launcher program, and files
// dropped on the two album pages.

#include "jukebox/jukeboxform.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "jukebox/ripperhooks.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "library/osk.h"
#include "library/shutdownwindows.h"
#include "platform/toplevelwindows.h"
#include "player/mainform.h"
#include "player/volumedisplay.h"
#include "skins/resourceskins.h"

namespace jukebox {

namespace {
constexpr int32_t kMinimise = 1;
constexpr int32_t kHandToLauncher = 2;
constexpr int kTitleLength = 254;

// True for the files the Add Track dialog takes: MP3 audio and MPG video, in any case.
bool isTrackFile(const QString& path)
{
    const QString ending = path.right(4).toUpper();
    return ending == QStringLiteral(".MP3") || ending == QStringLiteral(".MPG");
}
} // namespace

void Tjukebox::ShutdownbutClick(QObject*)
{
    library::writeini();
    library::hideosk();
    if (library::config.showminimize == kMinimise) {
        showMinimized();
        if (player::mainform) player::mainform->pressStop();
        return;
    }
    if (library::config.showminimize == kHandToLauncher) {
        rejectallClick(nullptr);
        if (panel_kiosk->isVisible()) kioskpanelClick(nullptr);
        for (const platform::WindowId window : platform::topLevelWindows().list())
            if (!EnumWindowsSwitch(window, 0)) break;
        return;
    }
    endProgram();
}

// The quit road: everything that runs is stopped before the program ends, the machine turned off
// first when the operator asked for that (the settings are already on disk).
void Tjukebox::endProgram()
{
    skins::freeskinresources();
    if (player::kiosk) {
        lcd3->state(false);
        if (player::mainform) player::mainform->numberoftracks->stop();
        volumetimer->setEnabled(false);
        if (player::volumedisplay) player::volumedisplay->delay->stop();
        if (library::config.poweroff) library::WinExit(library::kEwxShutdown | library::kEwxForce);
        // The cover loader stops between two albums; the corner shows once it has finished.
        if (!VisualsPanelPanel->isVisible()) stopcovers();
        if (player::mainform) player::mainform->pressStop();
    }
    qApp->removeEventFilter(messageHook_);
    // The player window's own exit writes the settings once more and removes the silent file.
    if (player::mainform)
        player::mainform->FormClose(nullptr);
    else
        QCoreApplication::quit();
}

bool Tjukebox::EnumWindowsSwitch(platform::WindowId handle, intptr_t)
{
    platform::TopLevelWindows& windows = platform::topLevelWindows();
    // The launcher names itself; a title with the word in other letter case is someone else's.
    if (!windows.title(handle).left(kTitleLength).contains(QStringLiteral("Launcher"), Qt::CaseSensitive))
        return true;
    if (windows.exists(handle)) windows.restore(handle);
    return false;
}

bool Tjukebox::TopPanelWindowProc(QEvent* Msg)
{
    return pageDropEvent(Msg, toppanel);
}

bool Tjukebox::BotPanelWindowProc(QEvent* Msg)
{
    return pageDropEvent(Msg, botpanel);
}

// A page takes part in drag and drop only for local files; a drop goes to its drop handler.
bool Tjukebox::pageDropEvent(QEvent* Msg, QWidget* page)
{
    if (Msg->type() == QEvent::DragEnter || Msg->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(Msg);
        if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
        return true;
    }
    if (Msg->type() != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(Msg);
    drop->acceptProposedAction();
    if (page == toppanel)
        TopPanelFileDrop(drop);
    else
        BotPanelFileDrop(drop);
    return true;
}

void Tjukebox::TopPanelFileDrop(QDropEvent* Msg)
{
    handledroppedfile(Msg, toppanel);
}

void Tjukebox::BotPanelFileDrop(QDropEvent* Msg)
{
    handledroppedfile(Msg, botpanel);
}

// The Add Track dialogs run once the drop has gone back to the window system: a dialog's event
// loop inside the drop's delivery leaves the drag half handled, and a stop asked for meanwhile
// ended the program with a crash.
void Tjukebox::handledroppedfile(QDropEvent* Msg, QWidget* receiver)
{
    const int target = receiver == toppanel ? currentalbum : currentalbum + 1;
    // The filler slot of an odd album count is no album: nothing can be added to it.
    if (target < 1 || target > library::albumcount) return;
    QStringList files;
    for (const QUrl& url : Msg->mimeData()->urls()) {
        const QString file = url.toLocalFile();
        if (isTrackFile(file)) files.append(file);
    }
    QTimer::singleShot(0, this, [this, files, album = library::album.at(target)] {
        addDroppedFiles(files, album.artist, album.album);
    });
}

void Tjukebox::addDroppedFiles(const QStringList& files, QString artist, QString albumname)
{
    bool firstrun = true;
    for (const QString& file : files) {
        QString usedArtist;
        QString usedAlbum;
        const bool added = ripperHooks().addtrack(artist, albumname, file, usedArtist, usedAlbum, firstrun);
        artist = usedArtist;
        albumname = usedAlbum;
        if (!added) return;
        firstrun = false;
    }
    drawalbum(currentalbum);
    drawalbum3D(currentalbum, 0);
    drawalbum3D(currentalbum, -1);
}

} // namespace jukebox
