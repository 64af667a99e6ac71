// The small controls the jukebox window is built from: pictures, captions, frames and the
// passcode entry.

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "jukebox/editbox.h"
#include "jukebox/frameshape.h"
#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "printers.h"

using jukebox::EditBox;
using jukebox::FrameShape;
using jukebox::PictureBox;
using jukebox::TextLabel;

namespace {

// A 2 x 2 picture: red, green / blue (bottom left), white.
QImage fourColours()
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 255));
    return picture;
}

TEST(PictureBox, ShowsItsBitmapAtNaturalSizeOrStretched)
{
    QWidget parent;
    PictureBox picture(&parent);
    picture.resize(8, 8);
    picture.setPicture(fourColours());

    EXPECT_EQ(picture.face().pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(picture.face().pixel(5, 5)), 0); // beyond the bitmap: nothing drawn

    picture.setStretch(true);
    EXPECT_EQ(picture.face().pixel(6, 1), qRgb(0, 255, 0));
    EXPECT_EQ(picture.face().pixel(7, 7), qRgb(255, 255, 255));

    picture.clearPicture();
    EXPECT_EQ(qAlpha(picture.face().pixel(0, 0)), 0);
}

TEST(PictureBox, TransparentLetsTheBottomLeftColourThrough)
{
    QWidget parent;
    PictureBox picture(&parent);
    picture.resize(2, 2);
    QImage keyed = fourColours();
    keyed.setPixel(1, 0, qRgb(0, 0, 255)); // a second pixel of the key colour
    picture.setPicture(keyed);
    picture.setTransparent(true);

    EXPECT_EQ(qAlpha(picture.face().pixel(0, 1)), 0);
    EXPECT_EQ(qAlpha(picture.face().pixel(1, 0)), 0);
    EXPECT_EQ(picture.face().pixel(0, 0), qRgb(255, 0, 0));
    // Drawing on the bitmap is the control's own copy, not the caller's.
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(0, 0, 255));
}

// Every clickable control of the window: a click is a left press and a left release inside.
template<class Control> void expectClickOnlyInside(Control& control)
{
    QSignalSpy clicks(&control, &Control::OnClick);
    QSignalSpy downs(&control, &Control::OnMouseDown);
    QSignalSpy ups(&control, &Control::OnMouseUp);

    QTest::mouseClick(&control, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<QObject*>(), &control);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(3).toInt(), 3);
    EXPECT_EQ(downs.at(0).at(4).toInt(), 4);

    // Pressed inside, released outside: presses and releases are reported, no click.
    QTest::mousePress(&control, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mouseRelease(&control, Qt::LeftButton, Qt::NoModifier, QPoint(300, 4));
    EXPECT_EQ(clicks.count(), 1);
    // The right button never clicks.
    QTest::mouseClick(&control, Qt::RightButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.count(), 3);
    EXPECT_EQ(ups.count(), 3);
}

TEST(PictureBoxAndTextLabel, ClickIsAPressAndReleaseInside)
{
    QWidget parent;
    PictureBox picture(&parent);
    picture.resize(20, 20);
    expectClickOnlyInside(picture);
    TextLabel label(&parent, QStringLiteral("Clear"));
    label.resize(20, 20);
    expectClickOnlyInside(label);
}

TEST(TextLabel, AutosizeFitsTheCaptionAndKeepsTheCorner)
{
    QWidget parent;
    TextLabel label(&parent, QStringLiteral("Add All"));
    label.setGeometry(5, 6, 1, 1);
    label.autosize();

    EXPECT_EQ(label.pos(), QPoint(5, 6));
    EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(QStringLiteral("Add All")));
}

struct Outline
{
    int penWidth;
    bool filled;
    QRgb edge;   // at (0, 10)
    QRgb centre; // at (10, 10)
};

class FrameShapeTest : public ::testing::TestWithParam<Outline>
{
};

TEST_P(FrameShapeTest, DrawsItsOutlineAndFill)
{
    QWidget parent;
    FrameShape shape(&parent);
    shape.resize(21, 21);
    shape.setPen(0x0000FF, GetParam().penWidth);     // red
    if (GetParam().filled) shape.setBrush(0x00FF00); // green
    QImage drawn(21, 21, QImage::Format_RGB32);
    drawn.fill(Qt::black);
    shape.render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);

    EXPECT_EQ(drawn.pixel(0, 10), GetParam().edge);
    EXPECT_EQ(drawn.pixel(10, 10), GetParam().centre);
}

INSTANTIATE_TEST_SUITE_P(Pens, FrameShapeTest,
                         ::testing::Values(Outline{2, false, qRgb(255, 0, 0), qRgb(0, 0, 0)},
                                           Outline{2, true, qRgb(255, 0, 0), qRgb(0, 255, 0)},
                                           // Without a pen the shape is only a touch area.
                                           Outline{0, false, qRgb(0, 0, 0), qRgb(0, 0, 0)}));

TEST(EditBox, KeyPressHandlerDropsOrChangesCharacters)
{
    EditBox edit(nullptr);
    edit.setMaxLength(3);
    QObject::connect(&edit, &EditBox::OnKeyPress, &edit, [](QObject*, QChar& key) {
        if (key == QLatin1Char('x')) key = QChar();
        if (key == QLatin1Char('o')) key = QLatin1Char('0');
    });

    QTest::keyClicks(&edit, QStringLiteral("7xo9"));

    EXPECT_EQ(edit.text(), QStringLiteral("709"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("70"));
}

TEST(EditBox, ReportsFocusAndClicks)
{
    QWidget window;
    EditBox edit(&window);
    EditBox other(&window);
    QSignalSpy enters(&edit, &EditBox::OnEnter);
    QSignalSpy exits(&edit, &EditBox::OnExit);
    QSignalSpy clicks(&edit, &EditBox::OnClick);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    edit.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return enters.count() == 1; }));
    other.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return exits.count() == 1; }));
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
