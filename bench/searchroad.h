#pragma once

// The search as a guest runs it on the started jukebox: the panel opened by its key with a word
// typed in, and one search from the Search key to its last result row, within a bound.

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>

#include "jukebox/editbox.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/picturebox.h"
#include "jukebox/searchthread.h"
#include "jukebox/searchtrack.h"

inline jukebox::ttracksearch& openSearchPanel(jukebox::Tjukebox& jb, const QString& word)
{
    jb.panel_searchbut_imageClick(jb.panel_searchbut_image);
    jukebox::ttracksearch& panel = *jukebox::searchpanel;
    panel.keywords->setText(word);
    return panel;
}

// The longest a search may take to list its last row, however large the library.
constexpr int kSearchBoundMs = 60'000;

// Runs the event loop from the Search press until the search has listed its last row, for
// kSearchBoundMs at most; `pressed` runs as soon as the press returns. Whether the search ended.
inline bool runSearch(jukebox::ttracksearch& panel, const std::function<void()>& pressed = {})
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        panel.action_butClick(panel.action_but);
        if (pressed) pressed();
        if (panel.st) QObject::connect(panel.st.get(), &QThread::finished, &loop, &QEventLoop::quit);
        if (!panel.st || panel.st->isFinished()) loop.quit();
    });
    QTimer::singleShot(kSearchBoundMs, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::processEvents();
    return panel.st && panel.st->isFinished();
}
