// The demo library `make run` writes: a start-up finds its albums, and a program folder that already
// has its settings file is never touched.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <algorithm>
#include <gtest/gtest.h>

#include "fakemediaplayer.h"
#include "library/filter.h"
#include "library/global.h"
#include "platform/cursors.h"
#include "platform/programfolder.h"
#include "player/mainform.h"
#include "printers.h"
#include "tempfolder.h"

namespace {

// Pixels light enough to be lettering, in the rows from `top` down.
int lightPixelsFrom(const QImage& picture, int top)
{
    int count = 0;
    for (int y = top; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            count += std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}) > 180;
        }
    }
    return count;
}

int runMakedemo(const QString& folder)
{
    QProcess process;
    process.start(QStringLiteral(MUSETRA_MAKEDEMO), {folder});
    if (!process.waitForFinished(60000)) return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(Makedemo, WritesALibraryThatStartUpNumbers)
{
    TempFolder program;
    ASSERT_EQ(runMakedemo(program.path()), 0);

    library::resetGlobals();
    player::resetGlobals();
    platform::setProgramFolder(program.path());
    {
        player::Tmainform form([] { return std::make_unique<FakeMediaPlayer>(); });
        form.FormCreate(&form);

        ASSERT_GE(library::albumcount, 6);
        EXPECT_EQ(library::album.at(1).artist, QStringLiteral("amber"));
        EXPECT_EQ(library::album.at(library::albumcount).artist, QStringLiteral("_Various"));
        for (int n = 1; n <= library::albumcount; ++n) {
            const QDir folder(QDir(library::config.path)
                                  .filePath(library::album.at(n).artist + QStringLiteral("__") +
                                            library::album.at(n).album));
            ASSERT_TRUE(form.loadtitles(form.tracklist, n)) << folder.path().toStdString();
            EXPECT_GE(form.tracklist->count(), 3);
            EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("track01.mp3"))).size() > 1000);
            // The jukebox covers the foot of a cover with its strip: no lettering may hide there.
            const QImage cover(folder.filePath(QStringLiteral("title.jpg")));
            ASSERT_FALSE(cover.isNull());
            EXPECT_GT(lightPixelsFrom(cover, 0), 0);
            EXPECT_EQ(lightPixelsFrom(cover, cover.height() * 7 / 8), 0) << folder.path().toStdString();
        }
    }
    platform::setProgramFolder(QString());
    platform::resetHandPointCursor();
    library::resetGlobals();
    player::resetGlobals();
}

TEST(Makedemo, LeavesAFolderWithSettingsAlone)
{
    TempFolder program;
    program.write(QStringLiteral("musetra.INI"), "[main]\nPath=/srv/music/\n");
    ASSERT_EQ(runMakedemo(program.path()), 0);

    EXPECT_EQ(program.read(QStringLiteral("musetra.INI")), QByteArray("[main]\nPath=/srv/music/\n"));
    EXPECT_EQ(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("musetra.INI")});
}

} // namespace
