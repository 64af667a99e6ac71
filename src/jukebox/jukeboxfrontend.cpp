#include "jukebox/jukeboxfrontend.h"

#include <QCoreApplication>
#include <QFont>

#include "controls/drawing.h"
#include "controls/picturescroller.h"
#include "controls/ticker.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/coverform.h"
#include "jukebox/entrypause.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/logfile.h"
#include "jukebox/ripperhooks.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "library/global.h"
#include "platform/screens.h"
#include "player/mainform.h"
#include "player/volumedisplay.h"

namespace jukebox {

namespace {
constexpr int kCaptionSizeDivisor = 25;
// How often the cover picker looks whether its window still shows, in ms.
constexpr int kPickPoll = 20;
constexpr int32_t kCaptionColour = 0xC0C0C0;
} // namespace

JukeboxFrontEnd::JukeboxFrontEnd() = default;

JukeboxFrontEnd::~JukeboxFrontEnd()
{
    jukebox = nullptr;
    window_.reset();
}

void JukeboxFrontEnd::createWindow()
{
    window_ = std::make_unique<Tjukebox>();
    // The window's own handlers (and everything they call) find it through `jukebox` already.
    jukebox = window_.get();
    window_->FormCreate(window_.get());
}

void JukeboxFrontEnd::gojukebox(bool show)
{
    if (!jukebox) {
        createWindow();
        QCoreApplication::processEvents();
        const QRect screen = platform::screens().geometry(jukebox);
        if (jukebox->thumbs) jukebox->thumbs->resize(screen.size());
        if (library::SLOWPROCESSOR) {
            // On a slow machine a caption covers the screen while the covers load.
            TextLabel* caption = jukebox->loadcovercaption;
            caption->setGeometry(jukebox->rect());
            caption->setFont(controls::panelFont(jukebox->width() / kCaptionSizeDivisor));
            caption->setFontColor(kCaptionColour);
            caption->setAlignment(Qt::AlignCenter);
            caption->show();
            caption->raise();
        }
        jukebox->docovers();
    }
    if (jukebox->thumbs) jukebox->thumbs->update();
    if (player::mainform) player::mainform->hide();
    if (show) {
        // The desktop player's volume bar, shown by a change there a moment ago, goes with it.
        if (player::volumedisplay) player::volumedisplay->vanish();
        // Borderless over the whole of its monitor, as a full-screen window.
        jukebox->setGeometry(platform::screens().geometry(jukebox));
        jukebox->showFullScreen();
        jukebox->raise();
        jukebox->activateWindow();
    }
    QCoreApplication::processEvents();
}

void JukeboxFrontEnd::domessage(const QString& text)
{
    if (jukebox) jukebox->domessage(text);
}

bool JukeboxFrontEnd::jukeboxExists() const
{
    return jukebox != nullptr;
}

bool JukeboxFrontEnd::jukeboxVisible() const
{
    return jukebox && jukebox->isVisible();
}

void JukeboxFrontEnd::closeJukebox()
{
    if (jukebox) jukebox->close();
}

QWidget* JukeboxFrontEnd::jukeboxWindow() const
{
    return jukebox;
}

void JukeboxFrontEnd::initautoplay()
{
    jukebox::initautoplay();
}

void JukeboxFrontEnd::startautoplay()
{
    jukebox::startautoplay();
}

void JukeboxFrontEnd::addthumbnail(const QString& albumFolder, int index)
{
    if (jukebox) jukebox->addthumbnail(albumFolder, index);
}

void JukeboxFrontEnd::deletethumbnail(int index)
{
    // The album left the player's album list: background play's album rows follow it.
    backgroundAlbumRemoved(index);
    if (jukebox) jukebox->deletethumbnail(index);
}

void JukeboxFrontEnd::RefundCredit()
{
    if (jukebox && jukebox->credit) jukebox->credit->RefundCredit();
}

void JukeboxFrontEnd::writeentry(const QString& artist, const QString& album, const QString& track)
{
    // A play log set by a reload after the window was made is written too.
    tlogfile* log = jukebox ? jukebox->playLog() : nullptr;
    if (log) log->writeentry(artist, album, track);
}

bool JukeboxFrontEnd::autoplaying() const
{
    return jukebox::autoplaying;
}

void JukeboxFrontEnd::setAutoplaying(bool on)
{
    jukebox::autoplaying = on;
}

void JukeboxFrontEnd::restartBackgroundRest()
{
    if (!jukebox) return;
    setTag(jukebox->BackgroundTimer, 1);
    jukebox->BackGroundTimerCount = 0;
}

void JukeboxFrontEnd::setQueuePanelPlayingRow(int row)
{
    if (jukebox) jukebox->queuePanelPlayingRow(row);
}

QWidget* JukeboxFrontEnd::coverimagepanel() const
{
    return jukebox ? jukebox->coverimagepanel : nullptr;
}

void JukeboxFrontEnd::jbcovershow(const QString& path)
{
    if (jukebox) jukebox->jbcovershow(path);
}

void JukeboxFrontEnd::covershow(const QString& folder)
{
    if (coverform) coverform->covershow(folder);
}

bool JukeboxFrontEnd::extractionVisible() const
{
    return ripperHooks().extractionVisible();
}

int JukeboxFrontEnd::pickcover()
{
    if (!jukebox) createWindow();
    thumbmode = 1;
    jukebox->setvisualspanel(true);
    jukebox->setWindowModality(Qt::ApplicationModal);
    jukebox->setGeometry(platform::screens().geometry(jukebox));
    jukebox->showFullScreen();
    jukebox->raise();
    jukebox->activateWindow();
    // Modal: the player waits here until a thumbnail is picked (which closes the jukebox), the
    // jukebox is closed otherwise, or the program is asked to end.
    while (jukebox && jukebox->isVisible() && runevents(kPickPoll)) {
    }
    if (!jukebox) return -1;
    jukebox->setWindowModality(Qt::NonModal);
    // A pick ends the cover-picker mode; a close without one leaves it on.
    const bool picked = thumbmode == 0;
    thumbmode = 0;
    return picked && jukebox->thumbs ? jukebox->thumbs->itemindex() : -1;
}

} // namespace jukebox
