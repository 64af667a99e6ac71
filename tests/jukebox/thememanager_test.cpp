// The theme manager as the operator uses it from the jukebox: Ctrl+T opens it, the themes of the
// skin files beside the program are listed, OK restyles the screen and keeps the choice, Cancel
// puts the look of the opening back.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/talphabetbar.h"
#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "jukeboxfixture.h"
#include "pewriter.h"
#include "platform/jpegcodec.h"
#include "printers.h"
#include "skins/colorpicker.h"
#include "skins/thememanagerform.h"

namespace {

class ThemeManagerTest : public JukeboxTest
{
protected:
    // A skin file whose background is all `colour`, with the theme text `info`.
    void writeSkin(const QString& file, const QColor& colour, const QByteArray& info)
    {
        QImage background(64, 48, QImage::Format_RGB32);
        background.fill(colour);
        program.write(file, makeSkinFile({}, platform::encodeJpeg(background, 95), info));
    }

    // Opens the theme manager with Ctrl+T and lets `operate` work it; the themes it listed are kept.
    void withThemeManager(const std::function<void(skins::Tthememanager&)>& operate)
    {
        dialogs.modalHandler = [&](QDialog& dialog) {
            auto& manager = static_cast<skins::Tthememanager&>(dialog);
            listed.clear();
            for (int i = 0; i < manager.lbthemes->count(); ++i)
                listed << manager.lbthemes->itemText(i);
            operate(manager);
            return dialog.result();
        };
        QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    }

    static void choose(skins::Tthememanager& manager, const QString& theme)
    {
        manager.lbthemes->setCurrentIndex(manager.lbthemes->findText(theme));
    }

    // A pixel of the backdrop beside the album pages, as the screen shows it.
    QColor backdrop() const { return window->grab().toImage().pixelColor(3, 300); }

    jukebox::Tjukebox* window = nullptr;
    QStringList listed;
};

bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 40;
}

TEST_F(ThemeManagerTest, ChosenThemeRestylesTheJukeboxAndCancelPutsTheOpeningLookBack)
{
    addAlbums(2);
    writeSkin(QStringLiteral("Red.SKN"), Qt::red,
              "Reds\r\nTHEMENAME=Hot\r\nsbackround=Red\r\nalphaorientation=1\r\n");
    writeSkin(QStringLiteral("blue.skn"), Qt::blue, "Blues\nTHEMENAME=Cold\nsbackround=blue\n");
    writeSkin(QStringLiteral("bad.skn"), Qt::green, "Bad\nTHEMENAME=Broken\ncbut=twelve\n");
    program.write(QStringLiteral("plain.skn"), makeSkinFile({}));
    writeSettings();
    window = &startOnScreen(QSize(800, 600));
    const QColor opening = backdrop();

    withThemeManager([](skins::Tthememanager& manager) {
        choose(manager, QStringLiteral("Blues - Cold"));
        QTest::mouseClick(manager.OK, Qt::LeftButton);
    });
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Current Settings - Current Setting"),
                                   QStringLiteral("Reds - Hot"), QStringLiteral("Blues - Cold")}));
    EXPECT_TRUE(near(backdrop(), Qt::blue)) << backdrop().name().toStdString();
    EXPECT_EQ(library::config.theme.sbackground.Skin, QStringLiteral("blue"));

    const int32_t orientation = library::config.theme.alphaorientation;
    withThemeManager([&](skins::Tthememanager& manager) {
        choose(manager, QStringLiteral("Reds - Hot"));
        QTest::mouseClick(manager.GoPreview, Qt::LeftButton);
        EXPECT_TRUE(near(backdrop(), Qt::red));
        EXPECT_EQ(library::config.theme.alphaorientation, 1);
        QTest::mouseClick(manager.Cancel, Qt::LeftButton);
    });
    EXPECT_TRUE(near(backdrop(), Qt::blue));
    EXPECT_EQ(library::config.theme.alphaorientation, orientation);
    EXPECT_FALSE(near(opening, Qt::blue));
}

TEST_F(ThemeManagerTest, NoColorLeavesTheElementUntinted)
{
    addAlbums(2);
    writeSettings(QStringLiteral("[Skins]\ncbut=255\n"));
    window = &startOnScreen(QSize(800, 600));
    withThemeManager([](skins::Tthememanager& manager) {
        manager.lbelement->setCurrentIndex(1);
        EXPECT_FALSE(manager.nocolor->isChecked());
        QTest::mouseClick(manager.nocolor, Qt::LeftButton);
        QTest::mouseClick(manager.OK, Qt::LeftButton);
    });
    EXPECT_EQ(library::config.theme.sbut.Color, library::clNone);
}

TEST_F(ThemeManagerTest, TintedArrowsStaySeeThroughHeldOrNotAndTheLetterBarTakesTheTintAtOnce)
{
    addAlbums(2);
    writeSettings();
    window = &startOnScreen(QSize(800, 600));
    const auto corners = [this] {
        const QImage screen = window->grab().toImage();
        QList<QColor> colours;
        for (const QWidget* arrow : {window->butl, window->butr}) {
            // Inside each corner of the square, outside the round key.
            const QRect r = QRect(arrow->mapTo(window, QPoint(0, 0)), arrow->size()).adjusted(4, 4, -4, -4);
            for (const QPoint& p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                colours << screen.pixelColor(p);
        }
        return colours;
    };
    // The middle of the left arrow while it is held down; it is let go again.
    const auto pressedMiddle = [this] {
        const QPoint middle = window->butllabel->rect().center();
        QTest::mousePress(window->butllabel, Qt::LeftButton, {}, middle);
        const QColor colour = window->butl->grab().toImage().pixelColor(window->butl->rect().center());
        QTest::mouseRelease(window->butllabel, Qt::LeftButton, {}, middle);
        return colour;
    };
    const QList<QColor> untinted = corners();
    const QColor untintedPressed = pressedMiddle();
    const QImage letters = window->alphapanel->grab().toImage();
    withThemeManager([](skins::Tthememanager& manager) {
        manager.lbelement->setCurrentIndex(1);
        if (manager.nocolor->isChecked()) QTest::mouseClick(manager.nocolor, Qt::LeftButton);
        QTest::mouseClick(manager.ColorPicker->mainswatch, Qt::LeftButton, {}, QPoint(20, 20));
        manager.lbelement->setCurrentIndex(7); // the letter bar
        if (manager.nocolor->isChecked()) QTest::mouseClick(manager.nocolor, Qt::LeftButton);
        QTest::mouseClick(manager.ColorPicker->mainswatch, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseClick(manager.OK, Qt::LeftButton);
    });
    EXPECT_NE(library::config.theme.sbut.Color, 0);
    EXPECT_NE(library::config.theme.sbut.Color, library::clNone);
    EXPECT_EQ(corners(), untinted);
    EXPECT_NE(window->alphapanel->grab().toImage(), letters);
    EXPECT_NE(pressedMiddle(), untintedPressed); // the held arrow takes the tint too
    EXPECT_EQ(corners(), untinted);
}

TEST(ColorPicker, PureRedIsHueZeroFullSaturationMiddleLuminanceBothWays)
{
    int hue = -1, sat = -1, lum = -1;
    skins::RGBtoHSL(0x0000FF, hue, sat, lum);
    EXPECT_EQ(std::vector<int>({hue, sat, lum}), std::vector<int>({0, 240, 120}));
    EXPECT_EQ(skins::HSLtoRGB(0, 120, 240), 0x0000FF);
}

} // namespace
