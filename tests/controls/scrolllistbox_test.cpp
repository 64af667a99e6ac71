#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "controls/rowrenderer.h"
#include "controls/scrolllistbox.h"
#include "controls/transhint.h"
#include "faketimersource.h"
#include "printers.h"

using namespace controls;

namespace {

constexpr int kTop = -1;
constexpr int kBottom = -2;

// A shown list of `rows` rows "Row 1", "Row 2", ... whose pauses take no time.
class ScrollList : public ::testing::Test
{
protected:
    void build(int rows, int height = 300)
    {
        setpaintpause([this](int ms) { log.push_back("pause " + std::to_string(ms)); });
        owner.resize(400, 700);
        list = new TScrollListbox(&owner);
        list->setGeometry(0, 0, 300, height);
        owner.show();
        list->setlinespacing(1.0f); // a second layout, as the jukebox's set-up gives
        list->clear();
        for (int i = 1; i <= rows; ++i)
            list->additemandinfo(QStringLiteral("Row %1").arg(i), 0, i, QImage(), QString(), QString());
        list->Paint();
    }
    void TearDown() override { setpaintpause({}); }

    QRect rectOf(int entry) const
    {
        const tmatrix& m = list->hits().at(entry);
        return QRect(QPoint(m.x1, m.y1), QPoint(m.x2, m.y2));
    }
    bool shown(int entry) const { return list->hits().at(entry) != tmatrix{}; }
    QPoint centreOf(int entry) const { return rectOf(entry).center(); }
    FakeTicker& ticker() const { return *timers.tickers.first(); }
    int count() const { return list->items().count(); }

    FakeTimerSource timers;
    QWidget owner;
    TScrollListbox* list = nullptr;
    std::vector<std::string> log;
};

TEST_F(ScrollList, MoreBoxesShowOnlyWhereRowsLieOutOfView)
{
    build(0);
    const int fit = list->displayitems();
    ASSERT_GT(fit, 2);
    struct Case
    {
        int rows;
        int topmost;
        bool top;
        bool bottom;
    };
    const Case cases[] = {{0, 0, false, false},
                          {fit, 0, false, false},
                          {fit + 1, 0, false, true},
                          {fit + 5, 3, true, true},
                          {fit + 1, 1, true, false}};
    for (const Case& c : cases) {
        list->clear();
        for (int i = 0; i < c.rows; ++i)
            list->additemandinfo(QStringLiteral("r"), 0, 0, QImage(), QString(), QString());
        list->settopmost(c.topmost);
        ASSERT_EQ(list->hits().size(), c.rows + 2);
        EXPECT_EQ(shown(c.rows), c.top) << c.rows << " rows from " << c.topmost;
        EXPECT_EQ(shown(c.rows + 1), c.bottom) << c.rows << " rows from " << c.topmost;
        if (c.top) {
            EXPECT_EQ(list->hits()[c.rows].item, kTop);
        }
        if (c.bottom) {
            EXPECT_EQ(list->hits()[c.rows + 1].item, kBottom);
        }
    }
}

TEST_F(ScrollList, RowsAreHitWhereTheyWereDrawn)
{
    build(4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->hits()[i].item, i);
        EXPECT_EQ(list->hits()[i].y1, list->firstrowy() + i * list->rowheight());
        EXPECT_EQ(list->hits()[i].x2, list->width());
    }
    EXPECT_EQ(hittest(list->hits(), centreOf(2)), 2);
    // Entries of rows not drawn are zero and never hit, not even at the origin.
    list->clear();
    for (int i = 0; i < 40; ++i)
        list->additemandinfo(QStringLiteral("r"), 0, 0, QImage(), QString(), QString());
    list->settopmost(10);
    EXPECT_EQ(hittest(list->hits(), QPoint(0, 0)), -1);
}

// A held box steps one row at once, then at intervals 10 ms shorter each time down to 20 ms; the
// release stops it and the next hold starts slow again.
TEST_F(ScrollList, AHeldBoxRepeatsEverFasterDownToTwentyMilliseconds)
{
    build(200, 120);
    const QPoint bottom = centreOf(201);
    QTest::mousePress(list, Qt::LeftButton, {}, bottom);
    EXPECT_EQ(list->topmost(), 1);
    const std::vector<int> intervals = ticker().fireRecordingIntervals(26);
    EXPECT_EQ(std::vector<int>(intervals.begin(), intervals.begin() + 3), (std::vector<int>{250, 240, 230}));
    EXPECT_EQ(intervals[23], 20);
    EXPECT_EQ(intervals.back(), 20);
    EXPECT_EQ(list->topmost(), 27);
    QTest::mouseRelease(list, Qt::LeftButton, {}, bottom);
    EXPECT_FALSE(ticker().isEnabled());
    EXPECT_EQ(ticker().interval(), 250);

    const QPoint top = centreOf(200);
    QTest::mousePress(list, Qt::LeftButton, {}, top);
    EXPECT_EQ(list->topmost(), 26);
    EXPECT_EQ(ticker().interval(), 250);
    for (int k = 0; k < 26; ++k)
        ASSERT_TRUE(ticker().fire());
    EXPECT_EQ(list->topmost(), 0);
    EXPECT_FALSE(shown(200)) << "no top box once the first row is in view";
    QTest::mouseRelease(list, Qt::LeftButton, {}, top);
}

// The press goes to a box even where it is drawn over a row; a box fires at once, without the
// pause and without choosing a row; a press on nothing fires nothing.
TEST_F(ScrollList, ABoxTakesThePressOverARowAndFiresWithoutThePause)
{
    build(50);
    const QRect box = rectOf(51);
    const int lastRow = list->topmost() + list->displayitems() - 1;
    const QRect overlap = box.intersected(rectOf(lastRow));
    ASSERT_FALSE(overlap.isEmpty()) << "the bottom box covers part of the last visible row";
    QSignalSpy clicks(list, &TScrollListbox::OnClick);
    QTest::mousePress(list, Qt::LeftButton, {}, overlap.center());
    EXPECT_EQ(list->topmost(), 1);
    EXPECT_EQ(list->cursor(), -2);
    QTest::mouseRelease(list, Qt::LeftButton, {}, overlap.center());
    EXPECT_EQ(list->itemindex(), -1) << "no row is chosen through the box";
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(log.empty()) << "a box fires without the pause";

    const QPoint nowhere(list->width() - 1, list->firstrowy() - 2);
    ASSERT_EQ(hittest(list->hits(), nowhere), -1);
    QTest::mousePress(list, Qt::LeftButton, {}, nowhere);
    QTest::mouseRelease(list, Qt::LeftButton, {}, nowhere);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list->cursor(), -3);
}

TEST_F(ScrollList, ReleaseOnARowShowsItPausesAndThenFiresOnClick)
{
    build(5);
    list->sethighlightindex(true);
    list->sethighlightcolor(0x0000FF);
    int clickedRow = -99;
    QObject::connect(list, &TScrollListbox::OnClick, list, [&](QObject* sender) {
        EXPECT_EQ(sender, list);
        clickedRow = list->itemindex();
        log.push_back("click");
    });
    const QRect row = rectOf(3);
    setpaintpause([&](int ms) {
        // The touched row is already drawn in the highlight colour when the pause starts.
        bool red = false;
        for (int y = row.top(); y <= row.bottom() && !red; ++y)
            for (int x = row.left(); x < row.right() && !red; ++x)
                red = list->face().pixelColor(x, y).red() > 200 && list->face().pixelColor(x, y).green() < 80;
        log.push_back(red ? "pause shown " + std::to_string(ms) : "pause unshown");
    });
    QTest::mousePress(list, Qt::LeftButton, {}, row.center());
    QTest::mouseRelease(list, Qt::LeftButton, {}, row.center());
    EXPECT_EQ(log, (std::vector<std::string>{"pause shown 200", "click"}));
    EXPECT_EQ(clickedRow, 3);
    EXPECT_EQ(list->highlighteditem(), 3);
}

TEST_F(ScrollList, RowsGoneSinceTheLastRenderingCannotBeTouched)
{
    build(60);
    const QPoint row = centreOf(2);
    list->clear(); // a long list is not rendered on each change
    EXPECT_EQ(list->cursor(), -3);
    for (int i = 0; i < 2; ++i)
        list->additemandinfo(QStringLiteral("r"), 0, 0, QImage(), QString(), QString());
    QSignalSpy clicks(list, &TScrollListbox::OnClick);
    list->MouseDown(row.x(), row.y());
    list->MouseUp(row.x(), row.y());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(list->topmost(), 0);
}

TEST_F(ScrollList, DraggingMovesTheEnlargedCursorRow)
{
    build(6);
    const int normal = list->hits()[1].y2 - list->hits()[1].y1;
    QTest::mousePress(list, Qt::LeftButton, {}, centreOf(1));
    EXPECT_EQ(list->cursor(), 1);
    EXPECT_GT(list->hits()[1].y2 - list->hits()[1].y1, normal) << "drawn in the larger font";
    EXPECT_EQ(list->hits()[1].y1, list->firstrowy() + list->rowheight()) << "hit at its unraised place";
    QTest::mouseMove(list, centreOf(3));
    EXPECT_EQ(list->cursor(), 3);
}

TEST_F(ScrollList, NavigationWalksTheCursorAndReportsTheEnds)
{
    build(30);
    QSignalSpy top(list, &TScrollListbox::OnReachedtop);
    QSignalSpy end(list, &TScrollListbox::OnReachedend);
    list->settopmost(4);
    list->scrolldown();
    EXPECT_EQ(list->cursor(), 4) << "the first step lands on the first visible row";
    EXPECT_EQ(list->itemindex(), 4);
    list->losefocus();
    list->scrollup();
    EXPECT_EQ(list->cursor(), 0);
    list->scrollup();
    EXPECT_EQ(top.count(), 1);
    EXPECT_EQ(list->cursor(), 0);

    list->scrolltoend();
    EXPECT_EQ(list->cursor(), 29);
    EXPECT_EQ(list->topmost(), 30 - list->displayitems());
    list->scrolldown();
    EXPECT_EQ(end.count(), 1);
    // Stepping down past the view scrolls so the cursor is the last visible row.
    list->losefocus();
    for (int i = 0; i < list->displayitems() + 2; ++i)
        list->scrolldown();
    EXPECT_EQ(list->cursor(), list->displayitems() + 1);
    EXPECT_EQ(list->topmost(), 2);
    // The pointer takes over again at its next movement.
    QTest::mouseMove(list, QPoint(5, 5));
    EXPECT_EQ(list->cursor(), -3);
}

TEST_F(ScrollList, EveryNavigationStepKeepsTheCursorRowOnScreen)
{
    build(30);
    const auto onScreen = [&] {
        return list->cursor() >= list->topmost() && list->cursor() < list->topmost() + list->displayitems();
    };
    for (int step = 1; step <= 31; ++step) {
        list->scrolldown();
        EXPECT_TRUE(onScreen()) << "step down " << step;
    }
    for (int step = 1; step <= 31; ++step) {
        list->scrollup();
        EXPECT_TRUE(onScreen()) << "step up " << step;
    }
}

TEST_F(ScrollList, TopmostAcceptsOnlyRowsBeforeTheLast)
{
    build(30);
    list->settopmost(29);
    EXPECT_EQ(list->topmost(), 0);
    list->settopmost(28);
    EXPECT_EQ(list->topmost(), 28);
    list->settopmost(0);
    EXPECT_EQ(list->topmost(), 0);
    list->sethighlighteditem(20);
    list->settopmost(-1);
    EXPECT_EQ(list->topmost(), 20 - list->displayitems() / 2);
    list->sethighlighteditem(1);
    list->settopmost(-1);
    EXPECT_EQ(list->topmost(), 20 - list->displayitems() / 2) << "a centre before the first row is refused";
}

TEST_F(ScrollList, LayoutFollowsFontAndLineSpacing)
{
    build(3);
    const int plain = list->rowheight();
    list->setlinespacing(0.5f);
    EXPECT_FLOAT_EQ(list->linespacing(), 1.0f);
    EXPECT_EQ(list->rowheight(), plain);
    list->setlinespacing(2.0f);
    EXPECT_NEAR(list->rowheight(), 2 * plain, 1);
    EXPECT_EQ(list->displayitems(),
              int(std::nearbyint(double(list->height() - 2 * list->firstrowy()) / list->rowheight())));
    EXPECT_EQ(rowlabel(7), QStringLiteral("007"));
    EXPECT_EQ(rowlabel(123), QStringLiteral("123"));
}

TEST_F(ScrollList, CursorRowTextGoesToTheHint)
{
    build(5);
    QLabel label(&owner);
    TTransparentHint hint;
    hint.setlab(&label);
    list->setitemhint(&hint);
    QTest::mousePress(list, Qt::LeftButton, {}, centreOf(2));
    EXPECT_TRUE(label.text().contains(QStringLiteral("Row 3")));
    QTest::mouseRelease(list, Qt::LeftButton, {}, centreOf(2));
    EXPECT_TRUE(label.text().isEmpty());
}

// One row of `text` beside a 40 x 40 green picture, in a list of 5 rows of 20 pixels from y = 30,
// black text on white.
class RowRenderer : public ::testing::Test
{
protected:
    RenderedList render(const QString& text, const QString& icon = {}, int32_t numbercolor = 0)
    {
        QImage green(40, 40, QImage::Format_RGB32);
        green.fill(Qt::green);
        info.setpicture(green);
        info.icon = icon;
        items.addObject(text, &info);
        ScrollListModel model;
        model.items = &items;
        model.font = QFont(QStringLiteral("arial"), 12);
        model.fontcolor = Qt::black;
        model.color = 0xFFFFFF;
        model.numbercolor = numbercolor; // the text of an icon row stands on this
        model.arrows = &arrows;
        model.displayitems = 5;
        model.itemheight = 20;
        model.topborder = 30;
        model.showlabels = false;
        model.screenheight = 600;
        return renderscrolllist(model, QSize(300, 150));
    }

    ListItems items;
    TScrollListItemAdditonalInfo info;
    const ArrowSet arrows = loadarrows(QString());
};

TEST_F(RowRenderer, RowsShowTheirIconTextBackgroundAndPicture)
{
    const RenderedList out = render(QStringLiteral("Track"), QStringLiteral("CDICON"), 0x0000FF);
    const QImage& face = out.image;
    ASSERT_EQ(out.matrix.size(), 3);
    EXPECT_EQ(out.matrix[0], (tmatrix{0, 30, 300, out.matrix[0].y2, 0}));
    // The picture: a square centred on the row's top edge at the right end, framed in black.
    EXPECT_EQ(face.pixelColor(290, 32), QColor(Qt::green));
    EXPECT_EQ(face.pixelColor(290, 22), QColor(Qt::green));
    EXPECT_EQ(face.pixelColor(299, 32), QColor(Qt::black));
    EXPECT_EQ(face.pixelColor(285, 19), QColor(Qt::white)) << "nothing above the square";
    // The icon: 12 pixels square from x = 10; the text after 15 + 10 pixels, on the number colour.
    bool icon = false;
    for (int x = 10; x < 22; ++x)
        icon = icon || face.pixelColor(x, 36) != QColor(Qt::white);
    EXPECT_TRUE(icon);
    EXPECT_EQ(face.pixelColor(9, 36), QColor(Qt::white));
    EXPECT_EQ(face.pixelColor(25, 31), QColor(Qt::red)) << "text cell filled with the number colour";
    EXPECT_EQ(face.pixelColor(24, 31), QColor(Qt::white));
}

// A queue or search row too long for its list ends in an ellipsis before the album's picture.
TEST_F(RowRenderer, ALongRowEndsBeforeItsPicture)
{
    const QImage face = render(QStringLiteral("A Title Far Too Long For Its Row ").repeated(4)).image;
    const QRect picture(300 - 20 + 1, 30 - 10 + 1, 18, 18); // inside its black frame
    int inkOnPicture = 0;
    for (int y = picture.top(); y <= picture.bottom(); ++y)
        for (int x = picture.left(); x <= picture.right(); ++x)
            inkOnPicture += face.pixelColor(x, y) != QColor(Qt::green);
    EXPECT_EQ(inkOnPicture, 0);
    int inkUnderPicture = 0; // where an ellipsis at the list's edge would stand
    for (int y = picture.bottom() + 3; y < 50; ++y)
        for (int x = picture.left() - 1; x < 300; ++x)
            inkUnderPicture += face.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_EQ(inkUnderPicture, 0);
    bool inkBeforePicture = false; // the text runs up to the picture, not short of it
    for (int x = picture.left() - 20; x < picture.left() - 1; ++x)
        inkBeforePicture = inkBeforePicture || face.pixelColor(x, 36) != QColor(Qt::white);
    EXPECT_TRUE(inkBeforePicture);
}

} // namespace
