// The album prism in the jukebox, drawn by Mesa under Xvfb: swings that end on a side, albums
// going round, touches on a side's rows and "Add All" taking the number road, the arrow keys, and
// the switch between the flat pages and the prism.

#include <QTest>
#include <gtest/gtest.h>
#include <set>

#include "jukebox/picturebox.h"
#include "view3d/prismview.h"
#include "numberstesting.h"
#include "view3d/glpanel.h"
#include "view3d/gllistbox.h"

using jukebox::Tjukebox;

namespace {

class PrismTest : public NumberEntryTest
{
protected:
    void TearDown() override
    {
        view3d::resetGlobals();
        NumberEntryTest::TearDown();
    }

    // The jukebox over `albums` albums of `tracks` tracks each, on screen, switched to the prism.
    void showPrism(int albums, int tracks = 3)
    {
        view3d::resetGlobals();
        addLibrary(albums, [tracks](int) { return tracks; });
        Tjukebox& jb = open();
        fillScreen(jb);
        jb.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&jb));
        // The prism and its OpenGL context are made at the first switch, not at start-up.
        ASSERT_EQ(jb.ThreeDPanel, nullptr);
        jb.imViewModeClick(jb.imViewMode);
        prism = dynamic_cast<view3d::TGLPanel*>(jb.ThreeDPanel);
        ASSERT_NE(prism, nullptr) << "no OpenGL prism";
        ASSERT_TRUE(jb.prismShown());
        ASSERT_TRUE(QTest::qWaitFor([&] { return prism->isValid(); }));
        duringPause = [&] { shown << jb.lcdtext1->text() + u'|' + jb.lcdtext2->text(); };
    }

    FakeTicker& namedTicker(const QString& name)
    {
        for (const QPointer<FakeTicker>& t : timers.tickers)
            if (t && t->objectName() == name) return *t;
        throw std::logic_error("no such timer");
    }

    void finishSwing()
    {
        for (int tick = 0; tick < 100 && prism->moveinprogress; ++tick)
            namedTicker(QStringLiteral("swingtimer")).fire();
    }

    // Where a point of `w`'s picture (local pixels) is on screen in the frame now drawn.
    QPoint onScreen(const view3d::tglControl& w, QPoint local)
    {
        (void)prism->grabFramebuffer();
        prism->makeCurrent();
        const view3d::tgl3DCoord p1 = view3d::getRealWorldPos(w.Vertices().v1);
        const view3d::tgl3DCoord p3 = view3d::getRealWorldPos(w.Vertices().v3);
        return QPoint(int(std::lround(p1.x)), int(std::lround(p3.y))) + local;
    }

    void tap(const QPoint& at)
    {
        QTest::mousePress(prism, Qt::LeftButton, {}, at);
        QTest::mouseRelease(prism, Qt::LeftButton, {}, at);
    }

    int enabledList() const
    {
        int found = -1;
        for (int i = 0; i < 4; ++i)
            if (prism->Titles[i]->enabled()) found = found < 0 ? i : 99;
        return found;
    }

    view3d::TGLPanel* prism = nullptr;
    QStringList shown;
};

TEST_F(PrismTest, ASwingEndsExactlyOnTheNextSide)
{
    ASSERT_NO_FATAL_FAILURE(showPrism(4));
    const struct
    {
        int from, direction, to, list;
    } cases[] = {{91, -1, 90, 3},  {92, -1, 90, 3},   {93, -1, 90, 3}, {94, -1, 90, 3},
                 {269, 1, 270, 1}, {269, -1, 180, 2}, {47, 1, 90, 3},  {3, -1, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from * c.direction);
        view3d::currentrotation = c.from;
        view3d::rotation = c.direction;
        prism->GLTimerTimer(prism);
        EXPECT_TRUE(prism->moveinprogress || view3d::currentrotation == c.to);
        finishSwing();
        EXPECT_FALSE(prism->moveinprogress);
        EXPECT_EQ(view3d::currentrotation, c.to);
        EXPECT_EQ(enabledList(), c.list);
        EXPECT_EQ(view3d::rotation, 0);
    }
}

class PrismAlbumCountTest : public PrismTest, public ::testing::WithParamInterface<int>
{
};

// An odd count has the filler slot, an even count none; either way every real album comes round
// and the filler never does.
TEST_P(PrismAlbumCountTest, TurningShowsEveryRealAlbumAndNoEmptySlot)
{
    const int count = GetParam();
    ASSERT_NO_FATAL_FAILURE(showPrism(count));
    std::set<int> expected;
    for (int n = 1; n <= count; ++n)
        expected.insert(n);
    for (const int direction : {-5, 5}) {
        std::set<int> current;
        std::set<int> faces;
        view3d::rotation = direction;
        for (int frame = 0; frame < 2 * 72; ++frame) {
            prism->Draw();
            current.insert(jukebox::currentalbum);
            for (const view3d::tglListBox* list : prism->Titles)
                faces.insert(list->tag());
        }
        EXPECT_EQ(current, expected) << direction;
        EXPECT_EQ(faces, expected) << direction;
    }
    view3d::rotation = 0;
}

INSTANTIATE_TEST_SUITE_P(Counts, PrismAlbumCountTest, ::testing::Values(1, 3, 4));

TEST_F(PrismTest, ATouchOnARowKeysInItsAlbumAndTrackAfterTheFrame)
{
    ASSERT_NO_FATAL_FAILURE(showPrism(3));
    view3d::tglListBox& front = *prism->Titles[0];
    ASSERT_EQ(front.tag(), 1);
    (void)onScreen(front, {});
    const auto row = std::find_if(front.hits().cbegin(), front.hits().cend(),
                                  [](const controls::tmatrix& m) { return m.item == 1; });
    ASSERT_NE(row, front.hits().cend());

    tap(onScreen(front, QPoint((row->x1 + row->x2) / 2, (row->y1 + row->y2) / 2)));
    EXPECT_TRUE(queue().isEmpty()) << "the click waits for the frame that shows it";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !queue().isEmpty(); }));

    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/2")});
    EXPECT_TRUE(shown.contains(QStringLiteral("0001| 00")));
    EXPECT_EQ(front.highlighteditem(), 1);
    EXPECT_EQ(view3d::currentrotation, 0) << "a touch on the list turns nothing";
}

// Held, a box presses again before the next frame has redrawn the list.
TEST_F(PrismTest, TheMoreBoxesScrollOneRowAndNeverAboveTheFirst)
{
    ASSERT_NO_FATAL_FAILURE(showPrism(3, 40));
    view3d::tglListBox& front = *prism->Titles[0];
    // Entries not drawn are all zero.
    const auto hitOf = [&](int32_t item) {
        return std::find_if(front.hits().cbegin(), front.hits().cend(),
                            [item](const controls::tmatrix& m) { return m.item == item && m.x2 > m.x1; });
    };
    const auto press = [&](int32_t box, int times) {
        const auto hit = hitOf(box);
        ASSERT_NE(hit, front.hits().cend());
        for (int i = 0; i < times; ++i)
            front.MouseDown((hit->x1 + hit->x2) / 2, (hit->y1 + hit->y2) / 2);
        front.MouseUp(-1, -1);
        (void)onScreen(front, {});
    };
    (void)onScreen(front, {});
    ASSERT_EQ(hitOf(controls::kTopBox), front.hits().cend());

    ASSERT_NO_FATAL_FAILURE(press(controls::kBottomBox, 1));
    EXPECT_EQ(hitOf(0), front.hits().cend());
    EXPECT_NE(hitOf(1), front.hits().cend());
    ASSERT_NO_FATAL_FAILURE(press(controls::kTopBox, 2));
    EXPECT_NE(hitOf(0), front.hits().cend());
    EXPECT_EQ(hitOf(controls::kTopBox), front.hits().cend());
}

TEST_F(PrismTest, AddAllQueuesTheAlbumOfItsSide)
{
    ASSERT_NO_FATAL_FAILURE(showPrism(3));
    const view3d::tglLabel& label = *prism->AddAll[0];
    (void)onScreen(label, {});
    const view3d::tgl3DCoord p1 = view3d::getRealWorldPos(label.Vertices().v1);
    const view3d::tgl3DCoord p3 = view3d::getRealWorldPos(label.Vertices().v3);
    tap(QPoint(int((p1.x + p3.x) / 2), int((p1.y + p3.y) / 2)));
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/1"), QStringLiteral("1/2"), QStringLiteral("1/3")}));
    EXPECT_EQ(view3d::currentrotation, 0);
}

TEST_F(PrismTest, TheLeftKeyTurnsOneSideAndThePagesTakeItsAlbum)
{
    ASSERT_NO_FATAL_FAILURE(showPrism(7));
    Tjukebox& jb = *window;
    QTest::keyPress(&jb, Qt::Key_Left);
    namedTicker(QStringLiteral("GLTimer")).fire(); // the key is held for one drag tick
    QTest::keyRelease(&jb, Qt::Key_Left);
    finishSwing();
    EXPECT_EQ(view3d::currentrotation, 270);
    EXPECT_EQ(enabledList(), 1);
    EXPECT_EQ(jukebox::currentalbum, 2);
    EXPECT_EQ(prism->Titles[1]->tag(), 2);

    jb.imViewModeClick(jb.imViewMode);
    EXPECT_FALSE(jb.prismShown());
    EXPECT_TRUE(prism->isHidden());
    EXPECT_EQ(jukebox::tagOf(jb.cd2), 2);
}

TEST_F(PrismTest, SwitchingViewsKeepsTheCurrentAlbum)
{
    ASSERT_NO_FATAL_FAILURE(showPrism(7));
    Tjukebox& jb = *window;
    jb.imViewModeClick(jb.imViewMode);
    jukebox::currentalbum = 5;
    jb.drawalbum(5);
    jb.imViewModeClick(jb.imViewMode);
    EXPECT_EQ(jukebox::currentalbum, 5);
    EXPECT_EQ(prism->Titles[0]->tag(), 5);
    jb.imViewModeClick(jb.imViewMode);
    EXPECT_EQ(jukebox::currentalbum, 5);
    EXPECT_EQ(jukebox::tagOf(jb.cd1), 5);
}

TEST_F(PrismTest, WithThreeDSwitchedOffThereIsNoPrismToSwitchTo)
{
    addLibrary(3);
    Tjukebox& jb = open(QStringLiteral("Disable3D=1\n"));
    fillScreen(jb);
    EXPECT_EQ(jb.ThreeDPanel, nullptr);
    EXPECT_TRUE(jb.imViewMode->isHidden());
    jb.imViewModeClick(jb.imViewMode);
    EXPECT_FALSE(jb.prismShown());
    EXPECT_EQ(jb.ThreeDPanel, nullptr);
}

} // namespace
