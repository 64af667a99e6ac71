// The cover thumbnails as the jukebox loads them after it first opens, and the cover window.

#include <QCheckBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "controls/picturescroller.h"
#include "controls/transparentpanel.h"
#include "jukebox/coverform.h"
#include "jukebox/loadcovers.h"
#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "jukeboxfixture.h"
#include "platform/jpegcodec.h"
#include "printers.h"

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
    EXPECT_EQ(jb.thumbs->albumpicture(2), small(skins::errorbitmap_corrupt));
    EXPECT_EQ(jb.thumbs->albumpicture(3), small(skins::errorbitmap_noimage));
    // The cell is decoded from the cover itself when it shows.
    jb.show();
    jb.thumbpanel->show();
    const controls::tmatrix first = jb.thumbs->hits().at(1);
    ASSERT_EQ(first.item, 0);
    const QColor centre = jb.thumbs->face().pixelColor((first.x1 + first.x2) / 2, (first.y1 + first.y2) / 2);
    EXPECT_GT(centre.red(), 240);
    EXPECT_LT(centre.green(), 16);
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
