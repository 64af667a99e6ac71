// The cover thumbnails as the jukebox loads them after it first opens, and the cover window.

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "controls/transparentpanel.h"
#include "jukebox/coverform.h"
#include "jukebox/loadcovers.h"
#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "jukeboxfixture.h"
#include "platform/jpegcodec.h"
#include "printers.h"
#include "windowthreadwork.h"

namespace {

class ThumbsTest : public JukeboxTest
{
protected:
    void addAlbum(const QString& folder)
    {
        program.write(QStringLiteral("music/%1/track01.mp3").arg(folder), "ID3");
        program.write(QStringLiteral("music/%1/title.dat").arg(folder), "One\n");
    }

    jukebox::Tjukebox& startAndLoad(const QString& settings)
    {
        writeSettings(settings);
        jukebox::Tjukebox& jb = start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !jb.VisualsPanelPanel->isHidden(); }));
        return jb;
    }

    // Ends the run and starts the program again over the same folders.
    jukebox::Tjukebox& restartAndLoad()
    {
        player::setFrontEnd(nullptr);
        frontEnd.reset();
        player::mainform = nullptr;
        form.reset();
        jukebox::resetGlobals();
        player::resetGlobals();
        library::resetGlobals();
        return startAndLoad(QString());
    }

    // A 500 x 500 cover of one colour, padded to a size all of them share (a decoder stops at the
    // picture's end marker).
    static QByteArray coverOf(Qt::GlobalColor colour)
    {
        QImage cover(500, 500, QImage::Format_RGB888);
        cover.fill(colour);
        QByteArray jpeg = platform::encodeJpeg(cover, 90);
        jpeg.append(QByteArray(20'000 - jpeg.size(), '\0'));
        return jpeg;
    }

    // Whether the centre of `picture` shows `colour` (red or blue), as near as a JPEG keeps it.
    static bool showsColour(const QImage& picture, Qt::GlobalColor colour)
    {
        const QColor centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
        const int wanted = colour == Qt::red ? centre.red() : centre.blue();
        const int other = colour == Qt::red ? centre.blue() : centre.red();
        return wanted > 240 && other < 16;
    }

    // The small picture of `album` once its worker has made it (the first ask starts that).
    static QImage albumPicture(jukebox::Tjukebox& jb, int32_t album)
    {
        QImage picture;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            picture = jb.thumbs->albumpicture(album);
            return !picture.isNull();
        }));
        return picture;
    }

    static QImage small(const QImage& picture)
    {
        const int side = controls::TPictureScroller::kSmallSide;
        return picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB16);
    }
};

class ThumbsWrapTest : public ThumbsTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(ThumbsWrapTest, UnderscoreAlbumsGetNoThumbnailOnlyWithWrapOnUnderscore)
{
    const bool wrap = GetParam();
    addAlbum(QStringLiteral("Abba__Gold"));
    addAlbum(QStringLiteral("_Various__Hits"));
    jukebox::Tjukebox& jb =
        startAndLoad(QStringLiteral("WrapOnUnderscore=%1\nSlowProcessor=1\n").arg(int(wrap)));
    EXPECT_EQ(jb.thumbs->count(), wrap ? 1 : 2);
    EXPECT_TRUE(form->coverpickbut->isVisibleTo(form.get()));
    // On a slow machine the caption that covered the screen goes when the load ends.
    EXPECT_TRUE(jb.loadcovercaption->isHidden());
}

INSTANTIATE_TEST_SUITE_P(WrapOnUnderscore, ThumbsWrapTest, ::testing::Bool());

TEST_F(ThumbsTest, CoversShowAsThumbnailsAndMissingOrCorruptOnesAsTheErrorPictures)
{
    QImage red(500, 500, QImage::Format_RGB888);
    red.fill(Qt::red);
    addAlbum(QStringLiteral("A__Red"));
    program.write(QStringLiteral("music/A__Red/title.jpg"), platform::encodeJpeg(red, 90));
    addAlbum(QStringLiteral("B__Corrupt"));
    program.write(QStringLiteral("music/B__Corrupt/title.jpg"), "not a picture");
    addAlbum(QStringLiteral("C__Missing"));
    jukebox::Tjukebox& jb = startAndLoad(QString());

    ASSERT_EQ(jb.thumbs->count(), 3);
    EXPECT_EQ(albumPicture(jb, 2), small(skins::errorbitmap_corrupt));
    EXPECT_EQ(albumPicture(jb, 3), small(skins::errorbitmap_noimage));
    // The cell is decoded from the cover itself when it shows.
    jb.show();
    jb.thumbpanel->show();
    const controls::tmatrix first = jb.thumbs->hits().at(1);
    ASSERT_EQ(first.item, 0);
    const auto centre = [&] {
        return jb.thumbs->face().pixelColor((first.x1 + first.x2) / 2, (first.y1 + first.y2) / 2);
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return centre().red() > 240; }));
    EXPECT_LT(centre().green(), 16);
}

TEST_F(ThumbsTest, ASmallCopyIsKeptForTheNextStartAndMadeAgainWhenTheCoverChanges)
{
    addAlbum(QStringLiteral("A__Red"));
    const QString cover = program.write(QStringLiteral("music/A__Red/title.jpg"), coverOf(Qt::red));
    jukebox::Tjukebox& first = startAndLoad(QString());
    // The start read no cover: the small copy is made when a row first asks for it.
    EXPECT_TRUE(QDir(cacheFolder).entryList({QStringLiteral("small_*")}, QDir::Files).isEmpty());
    EXPECT_TRUE(showsColour(albumPicture(first, 1), Qt::red));
    EXPECT_EQ(QDir(cacheFolder).entryList({QStringLiteral("small_*")}, QDir::Files).size(), 1);

    // Rewritten with the same size and date, the cover counts as unchanged: the next start shows
    // the copy it kept, without decoding the cover.
    QFile file(cover);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QDateTime stamp = file.fileTime(QFileDevice::FileModificationTime);
    file.write(coverOf(Qt::blue));
    ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(showsColour(albumPicture(restartAndLoad(), 1), Qt::red));

    // A new date makes it a changed cover, whose copy is made again.
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(stamp.addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(showsColour(albumPicture(restartAndLoad(), 1), Qt::blue));
}

TEST_F(ThumbsTest, AKeptSmallCopyIsReadOnlyFromARegularFileOfItsOwn)
{
    addAlbum(QStringLiteral("A__Red"));
    program.write(QStringLiteral("music/A__Red/title.jpg"), coverOf(Qt::red));
    jukebox::Tjukebox& jb = startAndLoad(QString());
    const QString kept = skins::smallcopyfile(libraryRoot + QStringLiteral("/A__Red"));
    ASSERT_FALSE(kept.isEmpty());
    QImage blue(controls::TPictureScroller::kSmallSide, controls::TPictureScroller::kSmallSide,
                QImage::Format_RGB888);
    blue.fill(Qt::blue);
    const QString planted = program.write(QStringLiteral("planted.jpg"), platform::encodeJpeg(blue, 90));
    // A link to another picture, a FIFO (whose open would wait for a writer), a picture of another
    // size: each is passed over, and the cover's own copy shows.
    const std::function<void()> plants[] = {
        [&] { ASSERT_TRUE(QFile::link(planted, kept)); },
        [&] { ASSERT_EQ(mkfifo(QFile::encodeName(kept).constData(), 0600), 0); },
        [&] { program.write(QStringLiteral("cache/") + QFileInfo(kept).fileName(), coverOf(Qt::blue)); },
    };
    for (const auto& plant : plants) {
        QFile::remove(kept);
        plant();
        jb.thumbs->clear();
        jb.thumbs->addcover(1, libraryRoot + QStringLiteral("/A__Red"));
        const QImage shown = albumPicture(jb, 1);
        EXPECT_EQ(shown.size(),
                  QSize(controls::TPictureScroller::kSmallSide, controls::TPictureScroller::kSmallSide));
        EXPECT_TRUE(showsColour(shown, Qt::red));
    }
}

// Opening the thumbnails, and a list whose row asks for its album's small picture, never wait for a
// cover's decode: over a huge cover the window thread is held no longer than over a plain one (a
// frame at most beyond), and the cell and the row show the cover once its worker has made it.
TEST_F(ThumbsTest, TheThumbnailsAnswerAtOnceOverAHugeCoverWhichFollows)
{
    constexpr qint64 kFrameMs = 17;
    addAlbum(QStringLiteral("A__Plain"));
    program.write(QStringLiteral("music/A__Plain/title.jpg"), coverOf(Qt::red));
    addAlbum(QStringLiteral("B__Huge"));
    program.write(QStringLiteral("music/B__Huge/title.jpg"), noiseCover(4000));
    jukebox::Tjukebox& jb = startAndLoad(QString());
    jb.show();
    const auto openOver = [&](const QString& album) {
        jb.thumbpanel->hide();
        jb.thumbs->clear();
        jb.thumbs->addcover(1, libraryRoot + QLatin1Char('/') + album);
        return windowThreadHeldWhile([&] {
            jb.thumbpanel->show();
            jb.reloadeditlist();
            EXPECT_TRUE(QTest::qWaitFor([&] { return !jb.thumbs->making(); }, 60'000));
        });
    };
    (void)openOver(QStringLiteral("A__Plain")); // the first opening sets up what every one uses
    const qint64 plainMs = openOver(QStringLiteral("A__Plain"));
    const qint64 hugeMs = openOver(QStringLiteral("B__Huge"));
    EXPECT_LE(hugeMs, plainMs + kFrameMs);

    const controls::tmatrix cell = jb.thumbs->hits().at(1);
    EXPECT_NE(jb.thumbs->face().pixelColor((cell.x1 + cell.x2) / 2, (cell.y1 + cell.y2) / 2),
              QColor(Qt::black));
    // The album's row shows the small copy at its end, painted again once it was made.
    const QPoint rowEnd(jb.editlb->face().width() - 4, jb.editlb->hits().at(0).y1 + 2);
    EXPECT_NE(jb.editlb->face().pixelColor(rowEnd), QColor(Qt::black));
}

TEST_F(ThumbsTest, StoppingDuringTheLoadNeverShowsTheThumbnailCorner)
{
    for (int n = 1; n <= 200; ++n)
        addAlbum(QStringLiteral("Artist %1__Album %1").arg(n, 3, 10, QLatin1Char('0')));
    writeSettings();
    jukebox::Tjukebox& jb = start();
    ASSERT_NE(jukebox::initcovers, nullptr);
    jb.stopcovers();
    QTest::qWait(20);
    EXPECT_TRUE(jb.VisualsPanelPanel->isHidden());
    EXPECT_LT(jb.thumbs->count(), 200);
    EXPECT_EQ(jukebox::initcovers, nullptr);
}

TEST_F(ThumbsTest, TouchingTheCoverWhileTheJukeboxShowsClosesItAlone)
{
    addAlbum(QStringLiteral("Abba__Gold"));
    writeSettings();
    start();
    frontEnd->gojukebox(true);
    jukebox::Tcoverform cover;
    form->showcover->setChecked(true);
    cover.covershow(libraryRoot + QStringLiteral("/Abba__Gold"));
    ASSERT_TRUE(cover.isVisible());
    QTest::mouseClick(cover.cdimage, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(cover.isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->showcover->isChecked());
}

} // namespace
