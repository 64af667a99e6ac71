#include "ripground.h"

#include <QDir>
#include <QPlainTextEdit>

#include "controls/rowrenderer.h"
#include "fakemediaplayer.h"
#include "library/global.h"
#include "player/mainform.h"
#include "ripper/albumstaging.h"
#include "ripper/musripmain.h"
#include "ripper/mydialog.h"

void RipGround::SetUp()
{
    controls::setpaintpause([](int) {});
    library::resetGlobals();
    player::resetGlobals();
    ripper::resetripmain();
    root = folder.mkdir(QStringLiteral("music"));
    cache = folder.mkdir(QStringLiteral("cache"));
    library::config.path = root + QLatin1Char('/');
    library::cachepath = cache;
    library::config.bitrate = 128;
    library::config.cddbcgi = QStringLiteral("/~cddb/cddb.cgi");
    library::config.email = QStringLiteral("road@example.org");
    dialogs.modalHandler = [this](QDialog& shown) {
        if (!dynamic_cast<ripper::Tmdialog*>(&shown)) return otherDialog ? otherDialog(shown) : 2;
        questions.append({ripper::mes, ripper::stitle});
        return answers.isEmpty() ? 1 : answers.takeFirst();
    };
    form = std::make_unique<player::Tmainform>([] { return std::make_unique<FakeMediaPlayer>(); });
    player::mainform = form.get();
    window = std::make_unique<ripper::Tripmain>();
    ripper::ripmain = window.get();
}

void RipGround::TearDown()
{
    controls::setpaintpause({});
    ripper::ripmain = nullptr;
    window.reset();
    player::mainform = nullptr;
    form.reset();
    ripper::resetripmain();
    library::resetGlobals();
    player::resetGlobals();
}

QStringList RipGround::logLines() const
{
    return window->log->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList RipGround::questionTexts() const
{
    QStringList texts;
    for (const Question& q : questions)
        texts.append(q.text);
    return texts;
}

void RipGround::prepareAlbum(const QString& artist, const QString& album, const QStringList& titles)
{
    library::artist = artist;
    library::title = album;
    library::albumpath = artist + QStringLiteral("__") + album;
    QDir().mkpath(ripper::stagingfolder(library::albumpath));
    library::tracks = titles;
    library::trackscount = int32_t(titles.size());
    ripper::id3titles = {int32_t(titles.size()) - 1, titles, artist, album};
}
