// The search panel's corner picture: it opens and closes the search panel.

#include "jukebox/jukeboxform.h"

#include "jukebox/editbox.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/searchtrack.h"
#include "jukebox/tags.h"
#include "library/global.h"
#include "library/osk.h"

namespace jukebox {

void Tjukebox::panel_searchbut_imageClick(QObject*)
{
    if (!searchpanel) return;
    const bool open = tagOf(panel_searchbut_image) != 1;
    if (open) setvisualspanel(false);
    library::hideosk();
    // The corner shows its UP picture while the panel is open.
    setTag(panel_searchbut_image, open ? 1 : 0);
    placeCorners();
    if (open) {
        // A hidden panel hears of its size only when shown; it is laid out before it shows.
        placeSearchAndQueuePanels();
        searchpanel->Resize();
        searchpanel->show();
        searchpanel->keywords->setEnabled(true);
        searchpanel->keywords->setFocus();
        searchpanel->raise();
        imViewMode->hide();
        return;
    }
    // The line no longer speaks of a search the guest has left.
    if (searchpanel->showsItsMessage()) showWelcome();
    searchpanel->clearSearch();
    searchpanel->keywords->setEnabled(false);
    searchpanel->hide();
    if (playlistpanel) playlistpanel->hide();
    imViewMode->setVisible(!library::config.disable3d);
}

} // namespace jukebox
