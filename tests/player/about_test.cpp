// The About box as splash and as information box, and the on-screen volume display.

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "controls/bitmapactionbutton.h"
#include "platform/screens.h"
#include "player/aboutform.h"
#include "player/volumedisplay.h"
#include "printers.h"
#include "queuetesting.h"

namespace {

class AboutTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        // Tracks of 1500 and 2500 bytes.
        const auto sized = [](const QString& file) {
            QFile track(file);
            ASSERT_TRUE(track.open(QIODevice::WriteOnly));
            track.write(QByteArray(file.endsWith(QStringLiteral("01.mp3")) ? 1500 : 2500, 'a'));
        };
        for (const char* name : {"Alpha__One", "Beta__Two"})
            addAlbum(QString::fromUtf8(name), strings({"First", "Second"}), sized);
        start();
    }

    // Shows the information box and lets `operate` work it while it is open.
    void showInformation(const std::function<void(player::Tabout&)>& operate)
    {
        dialogs.modalHandler = [&](QDialog& shown) {
            shown.show();
            operate(static_cast<player::Tabout&>(shown));
            return shown.result();
        };
        form->menuaboutClick(form->menuabout);
    }
};

TEST_F(AboutTest, TheSplashShowsTheStartUpsTextsAndIsGoneAfterIt)
{
    EXPECT_EQ(frontEnd.splashTexts.value(0), QStringLiteral("Initialising Jukebox...."));
    EXPECT_EQ(player::about, nullptr);
    player::initmessage(QStringLiteral("Later"));
    EXPECT_EQ(player::about, nullptr);
}

TEST_F(AboutTest, TheInformationBoxCountsTheLibraryAndOkClosesIt)
{
    QStringList texts;
    bool closed = false;
    showInformation([&](player::Tabout& box) {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return box.artist->text().contains(QStringLiteral("4 total MP3")); }));
        texts << box.mes->text() << box.album->text() << box.artist->text().split(QStringLiteral("\r\n"));
        QTest::mouseClick(box.OK, Qt::LeftButton);
        closed = QTest::qWaitFor([&] { return !box.isVisible(); });
    });
    ASSERT_EQ(texts.size(), 5);
    EXPECT_EQ(texts[0], QStringLiteral("MP3 Filesystem information:-"));
    EXPECT_EQ(texts[1], QStringLiteral("2 total albums."));
    // Two albums of 1500 + 2500 bytes of tracks and a 12-byte titles file; digits grouped by thousands.
    EXPECT_EQ(texts[2], QStringLiteral("8,024 total bytes in 6 file(s)."));
    EXPECT_EQ(texts[3], QStringLiteral("4 total MP3 files."));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[1-9]\\d{0,2}(,\\d{3})* bytes free on volume\\.$"))
                    .match(texts[4])
                    .hasMatch())
        << texts[4].toStdString();
    EXPECT_TRUE(closed);
    EXPECT_EQ(player::about, nullptr);
}

TEST_F(AboutTest, EscapeStopsTheCountingAtOnce)
{
    QString counted = QStringLiteral("unset");
    showInformation([&](player::Tabout& box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        QCoreApplication::processEvents();
        counted = box.artist->text();
    });
    EXPECT_TRUE(counted.isEmpty());
    EXPECT_TRUE(player::cancel);
}

class FixedScreens final : public platform::Screens
{
public:
    QRect geometry(const QWidget*) const override { return bounds; }
    QRect bounds{0, 0, 1024, 768};
};

class VolumeDisplayTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        platform::setScreens(&screens);
        addAlbum(QStringLiteral("Alpha__One"), strings({"A1"}));
        display = std::make_unique<player::Tvolumedisplay>();
        player::volumedisplay = display.get();
        start();
    }
    void TearDown() override
    {
        PlayerWindowTest::TearDown();
        player::volumedisplay = nullptr;
        display.reset();
        platform::setScreens(nullptr);
    }

    FixedScreens screens;
    std::unique_ptr<player::Tvolumedisplay> display;
};

// Rows from the first to the last that hold text: how tall the two lines stand in the box.
int inkHeight(const QImage& picture)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelColor(x, y) == QColor(0, 255, 0)) continue;
            if (first < 0) first = y;
            last = y;
            break;
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

TEST_F(VolumeDisplayTest, TheBarStandsForTheVolumeAndHidesOnTheSecondTick)
{
    EXPECT_EQ(display->pos(), QPoint(102, 608));
    EXPECT_EQ(display->height(), 32);
    // Where a window manager may leave the hidden windows: every showing puts them back.
    display->move(0, 0);
    display->symbol->move(0, 0);
    QList<int> widths;
    for (int volume : {150, 75, 0}) {
        form->vol->setValue(volume);
        widths << display->width();
    }
    EXPECT_EQ(widths, QList<int>({912, 456, 0}));
    EXPECT_EQ(display->pos(), QPoint(102, 608));
    EXPECT_EQ(display->symbol->pos(), QPoint(10, 608));
    EXPECT_EQ(display->symbol->accessibleName(), QStringLiteral("Volume (0)"));
    EXPECT_GE(inkHeight(display->symbol->pixmap().toImage()), display->symbol->height() * 2 / 3);
    QTest::mouseClick(form->mutebut, Qt::LeftButton);
    EXPECT_EQ(display->symbol->accessibleName(), QStringLiteral("Muted (0)"));
    EXPECT_EQ(display->width(), 0);
    form->FormActivate(form.get());
    EXPECT_TRUE(form->mutebut->isChecked());

    ASSERT_TRUE(display->isVisible());
    display->delayTimer(display->delay);
    EXPECT_TRUE(display->isVisible());
    display->delayTimer(display->delay);
    EXPECT_FALSE(display->isVisible());
    EXPECT_FALSE(display->symbol->isVisible());
    EXPECT_FALSE(display->delay->isActive());
}

// On a wide screen the box is wide for its height: the value line still ends inside it.
TEST_F(VolumeDisplayTest, TheValueStandsWholeInTheBoxOfAWideScreen)
{
    screens.bounds = QRect(0, 0, 1920, 1080);
    display->FormCreate(display.get());
    display->settitle(QStringLiteral("Volume"), 90);
    const QImage box = display->symbol->pixmap().toImage();
    EXPECT_EQ(box.copy(0, box.height() - 1, box.width(), 1), box.copy(0, 0, box.width(), 1));
}

} // namespace
