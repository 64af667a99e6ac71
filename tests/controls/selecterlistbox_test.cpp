#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

#include "controls/selecterlistbox.h"
#include "faketimersource.h"
#include "printers.h"

using namespace controls;

namespace {

class Selecter : public ::testing::Test
{
protected:
    void build(int rows, int height = 300)
    {
        owner.resize(400, 400);
        list = new TSelecterListBox(&owner);
        list->setGeometry(0, 0, 300, height);
        QPalette palette;
        palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        list->setPalette(palette);
        owner.show();
        list->clear();
        for (int i = 1; i <= rows; ++i)
            list->items().add(QStringLiteral("Genre %1").arg(i));
        list->Paint();
    }
    QPoint centreOf(int entry) const
    {
        const tmatrix& m = list->hits().at(entry);
        return QRect(QPoint(m.x1, m.y1), QPoint(m.x2, m.y2)).center();
    }
    FakeTicker& ticker() const { return *timers.tickers.first(); }
    // The colours written inside the hit rectangle of `entry`, other than the background.
    std::vector<QColor> inkOf(int entry) const
    {
        const tmatrix& m = list->hits().at(entry);
        std::vector<QColor> ink;
        for (int y = m.y1; y < m.y2; ++y)
            for (int x = m.x1; x < m.x2; ++x) {
                const QColor c = list->face().pixelColor(x, y);
                if (c != QColor(Qt::white)) ink.push_back(c);
            }
        return ink;
    }

    FakeTimerSource timers;
    QWidget owner;
    TSelecterListBox* list = nullptr;
};

TEST_F(Selecter, TouchingARowTogglesItAndReportsIt)
{
    build(5);
    std::vector<int> clicked;
    QObject::connect(list, &TSelecterListBox::OnClick, list,
                     [&](QObject*) { clicked.push_back(list->itemindex()); });
    for (int k = 0; k < 2; ++k) {
        QTest::mousePress(list, Qt::LeftButton, {}, centreOf(2));
        EXPECT_EQ(list->IsSelected(2), k == 0);
        QTest::mouseRelease(list, Qt::LeftButton, {}, centreOf(2));
    }
    EXPECT_EQ(clicked, (std::vector<int>{2, 2}));
    EXPECT_FALSE(list->IsSelected(1));
}

TEST_F(Selecter, HeldRowTogglesOnceAndHeldBoxRepeatsDownToFortyMilliseconds)
{
    build(100, 200);
    QSignalSpy clicks(list, &TSelecterListBox::OnClick);
    QTest::mousePress(list, Qt::LeftButton, {}, centreOf(1));
    for (int k = 0; k < 5; ++k)
        ticker().fire();
    EXPECT_TRUE(list->IsSelected(1)) << "toggled once however long it is held";
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseRelease(list, Qt::LeftButton, {}, centreOf(1));

    const QPoint box = centreOf(101);
    QTest::mousePress(list, Qt::LeftButton, {}, box);
    const std::vector<int> intervals = ticker().fireRecordingIntervals(24);
    EXPECT_EQ(intervals.front(), 250);
    EXPECT_EQ(intervals[21], 40);
    EXPECT_EQ(intervals.back(), 40);
    EXPECT_EQ(list->firstrow(), 25);
    EXPECT_EQ(clicks.count(), 1 + 25);
    EXPECT_EQ(list->itemindex(), -2);
}

TEST_F(Selecter, OnlyRealRowsAreEverSelected)
{
    build(3);
    list->selectall();
    EXPECT_TRUE(list->IsSelected(0));
    EXPECT_TRUE(list->IsSelected(2));
    EXPECT_FALSE(list->IsSelected(3)) << "the spare flag is no row";
    EXPECT_FALSE(list->IsSelected(-1));
    // Rows appended after selectall start unselected, one at a time or several together.
    list->items().add(QStringLiteral("new"));
    EXPECT_FALSE(list->IsSelected(3));
    list->clear();
    for (int i = 0; i < 4; ++i)
        list->items().add(QStringLiteral("again"));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(list->IsSelected(i)) << i;
    list->selectnone();
    EXPECT_FALSE(list->IsSelected(0));
}

TEST_F(Selecter, SelectedRowsInTheFontColourOthersInGrey)
{
    build(3);
    list->selectall();
    list->items().add(QStringLiteral("Genre 4"));
    list->Paint();
    const auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 60; };
    const auto grey = [](QColor c) { return c.red() == c.green() && c.green() == c.blue(); };
    const std::vector<QColor> selected = inkOf(0);
    const std::vector<QColor> unselected = inkOf(3);
    ASSERT_FALSE(selected.empty());
    ASSERT_FALSE(unselected.empty());
    EXPECT_TRUE(std::any_of(selected.begin(), selected.end(), blue)) << "written in the font colour";
    EXPECT_FALSE(std::any_of(selected.begin(), selected.end(), grey));
    EXPECT_TRUE(std::all_of(unselected.begin(), unselected.end(), grey)) << "written in grey";
}

// A title too long for the list ends in an ellipsis inside it, short of the frame around it.
TEST_F(Selecter, ALongTitleEndsInsideTheList)
{
    build(0);
    list->items().add(QStringLiteral("A Title Far Too Long For The Random Panel's List ").repeated(3));
    list->selectall();
    const QImage& face = list->face();
    const tmatrix& row = list->hits().at(0);
    int inkAtTheEdge = 0;
    for (int y = row.y1; y < row.y2; ++y)
        for (int x = face.width() - 3; x < face.width(); ++x)
            inkAtTheEdge += face.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_EQ(inkAtTheEdge, 0);
    EXPECT_GT(row.x2, face.width() * 3 / 4); // written up to near the edge, not dropped
    EXPECT_LT(row.x2, face.width());
}

TEST_F(Selecter, PressAfterTheRowsChangedHitsTheNewRows)
{
    build(3);
    const QPoint second = centreOf(1);
    list->clear();
    list->items().add(QStringLiteral("A much longer first row than before"));
    list->items().add(QStringLiteral("Second"));
    QTest::mousePress(list, Qt::LeftButton, {}, second);
    EXPECT_EQ(list->itemindex(), 1);
    EXPECT_TRUE(list->IsSelected(1));
}

} // namespace
