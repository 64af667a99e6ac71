#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPlainTextEdit>
#include <QLabel>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "answeringdialogs.h"
#include "controls/bitmapactionbutton.h"
#include "controls/transparentpanel.h"
#include "controls/tspinningglobe.h"
#include "jukebox/picturebox.h"
#include "library/global.h"
#include "platform/http.h"
#include "platform/jpegcodec.h"
#include "printers.h"
#include "ripper/artworkform.h"
#include "ripper/artworkquery.h"
#include "ripper/getcoverart.h"
#include "ripper/gethttpdoc.h"
#include "ripper/musripmain.h"
#include "ripper/mydialog.h"
#include "httpserver.h"
#include "ripperfixture.h"
#include "tempfolder.h"

namespace {

const QByteArray kPath = "/musetraengine/engine.php?artist=SUN%20RISE&album=LIVE%20&user=anon";

QByteArray jpeg(QColor colour)
{
    QImage picture(40, 30, QImage::Format_RGB888);
    picture.fill(colour);
    return platform::encodeJpeg(picture, 90);
}

QByteArray field(const QByteArray& text)
{
    return text.leftJustified(16, ' ');
}

QByteArray record(const QByteArray& picture, const QByteArray& price = "9.99")
{
    return field(QByteArray::number(picture.size())) + field(price) + picture;
}

QString sent(const QString& text)
{
    return ripper::artworkquerywords(text);
}

} // namespace

TEST(ArtworkQuery, NamesAreCleanedAsTheServiceExpects)
{
    EXPECT_EQ(sent(QStringLiteral("  Jazz Trio & Friends\t")), QStringLiteral("JAZZ%20TRIO%20%20%20FRIENDS"));
    EXPECT_EQ(sent(QStringLiteral("Live, Vol. 2 (CD 1)")),
              QStringLiteral("LIVE") + QStringLiteral("%20").repeated(12));
    EXPECT_EQ(sent(QStringLiteral("disco hits")), QStringLiteral("%20O%20HITS"));
    EXPECT_EQ(sent(QStringLiteral("Caf\u00e9 {~}")),
              QStringLiteral("CAF\u00c9%20{~}").replace(QChar(0xC9), QChar(0xE9)));
    EXPECT_EQ(sent(QString()), QString());
}

TEST(CoverRecords, SizesAreCheckedAndCorruptPicturesSkipped)
{
    EXPECT_EQ(ripper::uncompress(QByteArray()), 0);
    EXPECT_EQ(ripper::uncompress(QByteArray("x")), 0);
    QByteArray corrupt = jpeg(Qt::green);
    corrupt.truncate(corrupt.size() / 2);
    const QByteArray payload = "x" + record(jpeg(Qt::red), "\x01 9.99 \xFF") + record(corrupt) +
                               record(jpeg(Qt::blue), "") + field("-5") + field("1") + "abc";
    ASSERT_EQ(ripper::uncompress(payload), 2);
    EXPECT_EQ(ripper::covers[1].price, QStringLiteral("\u00A39.99 GBP"));
    EXPECT_EQ(ripper::covers[2].price, QString());
    EXPECT_GT(qBlue(ripper::covers[2].image.pixel(5, 5)), 200);
    QByteArray many = "x";
    for (int i = 0; i < 30; ++i)
        many += record(jpeg(Qt::white));
    EXPECT_EQ(ripper::uncompress(many), 25);
    EXPECT_EQ(ripper::uncompress("x" + field("99999999") + field("") + jpeg(Qt::red)), 0);
}

TEST(ArtworkExchange, EveryFailureReachesTheCallback)
{
    LoopbackHttp server;
    QVector<int32_t> levels;
    ripper::cb = [&levels](int32_t level, const QString&) {
        levels.append(level);
        return true;
    };
    const QString url = QStringLiteral("http://") + server.host() + QString::fromLatin1(kPath);
    QByteArray res;
    server.answer(kPath, 200, "DATA");
    EXPECT_FALSE(ripper::tgetdoc::getdocument(url, res, {}));
    server.answer(kPath, 404, "\nDATA");
    EXPECT_FALSE(ripper::tgetdoc::getdocument(url, res, {}));
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("http://127.0.0.1:%1/x").arg(closed.serverPort());
    closed.close();
    EXPECT_FALSE(ripper::tgetdoc::getdocument(refused, res, {}));
    EXPECT_EQ(levels, (QVector<int32_t>{1, -10, 1, -1, 1, -1}));
    ripper::cb = nullptr;
}

class CoverChoice : public ::testing::Test
{
protected:
    CoverChoice()
    {
        library::config.path = folder.path() + QLatin1Char('/');
        library::config.artworkhost = server.host();
        library::artist = QStringLiteral("Sun/Rise");
        library::title = QStringLiteral("Live?");
        library::tracks = {QStringLiteral(" One "), QStringLiteral("Two\t")};
        library::trackscount = 2;
        dialogs.modalHandler = [this](QDialog& dialog) {
            if (auto* question = qobject_cast<ripper::Tmdialog*>(&dialog)) {
                questions << ripper::stitle + QLatin1Char(':') + ripper::mes;
                return question->backResult();
            }
            dialog.show();
            choose(static_cast<ripper::Tartwork&>(dialog));
            return dialog.result();
        };
    }
    ~CoverChoice() override
    {
        library::resetGlobals();
        ripper::resetripmain();
    }

    ExtractionWindow window{QSize(800, 600)};
    TempFolder folder;
    LoopbackHttp server;
    AnsweringDialogs dialogs;
    QStringList questions;
    std::function<void(ripper::Tartwork&)> choose;
};

TEST_F(CoverChoice, ExtractWritesTheFolderTitlesAndTheCoverShown)
{
    server.answer(kPath, 200, "\nDATA");
    server.answer(kPath + "&g=1", 200, "x" + record(jpeg(Qt::red)) + record(jpeg(Qt::blue), "   "));
    choose = [](ripper::Tartwork& w) {
        ASSERT_TRUE(QTest::qWaitFor([&w] { return w.ready(); }));
        EXPECT_EQ(w.curpiclab->text(), QStringLiteral("Image 1 of 3"));
        QTest::mouseClick(w.butup, Qt::LeftButton);
        EXPECT_EQ(w.price->text(), QString());
        EXPECT_TRUE(w.retailerimage->isVisible());
        QTest::mouseClick(w.butup, Qt::LeftButton);
        QTest::mouseClick(w.butup, Qt::LeftButton);
        EXPECT_EQ(w.curpiclab->text(), QStringLiteral("Image 3 of 3"));
        EXPECT_FALSE(w.price->isVisible());
        QTest::mouseClick(w.butdown, Qt::LeftButton);
        QTest::mouseClick(w.ok, Qt::LeftButton, {}, QPoint(10, 10));
    };
    EXPECT_EQ(ripper::doartwork(0), 1);
    EXPECT_EQ(server.targets(), (QList<QByteArray>{kPath, kPath + "&g=1"}));
    EXPECT_EQ(library::albumpath, QStringLiteral("SunRise__Live"));
    // Built apart from the library until its tracks are made.
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("SunRise__Live"))));
    EXPECT_EQ(folder.read(QStringLiteral(".incoming/SunRise__Live/title.dat")), QByteArray("One\nTwo\n"));
    QImage cover(folder.file(QStringLiteral(".incoming/SunRise__Live/title.jpg")));
    ASSERT_EQ(cover.size(), QSize(40, 30));
    EXPECT_GT(qBlue(cover.pixel(5, 5)), 200);
    EXPECT_EQ(ripper::id3titles.count, 1);
    EXPECT_EQ(ripper::id3titles.track.first(), QStringLiteral(" One "));
}

TEST_F(CoverChoice, AFailedFolderKeepsTheWindowOpenAndExitEndsTheLookup)
{
    library::config.path = folder.write(QStringLiteral("plainfile"), "x") + QLatin1Char('/');
    server.answer(kPath, 0, {});
    choose = [this](ripper::Tartwork& w) {
        // Exit once the service has the request: the lookup is then waiting for its answer.
        auto* poll = new QTimer(&w);
        QObject::connect(poll, &QTimer::timeout, &w, [this, &w, poll] {
            if (server.targets().isEmpty()) return;
            poll->stop();
            EXPECT_TRUE(w.memo->toPlainText().contains(QStringLiteral("Exit stops the search at any time.")));
            w.resize(w.width() - 40, w.height() - 40); // a size the window manager settles late
            const QWidget* globe = w.findChild<controls::TSpinGlobe*>();
            EXPECT_EQ(globe->geometry().bottomRight(), w.rect().bottomRight());
            QTest::mouseClick(w.exitbut, Qt::LeftButton, {}, QPoint(10, 10));
        });
        poll->start(10);
        ASSERT_TRUE(QTest::qWaitFor([&w] { return !w.isVisible(); }, 10000));
    };
    EXPECT_EQ(ripper::doartwork(0), 2);

    ripper::manualentry = true;
    choose = [](ripper::Tartwork& w) {
        ASSERT_TRUE(QTest::qWaitFor([&w] { return w.ready(); }));
        EXPECT_EQ(w.curpiclab->text(), QStringLiteral("Image 1 of 1"));
        QTest::mouseClick(w.ok, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.coverpanel->isVisible());
        w.reject();
    };
    EXPECT_EQ(ripper::doartwork(0), 2);
    EXPECT_EQ(questions,
              QStringList{QStringLiteral("Filing Error:Error creating output folder. SunRise__Live")});
    EXPECT_EQ(server.targets().size(), 1);
}

TEST_F(CoverChoice, AFailedServiceSaysWhyAndTheEditMenuGetsTheCoverAsShown)
{
    server.answer(kPath, 200, "DATA");
    QSize shown;
    QString reason = QStringLiteral("Serverside error");
    choose = [&shown, &reason](ripper::Tartwork& w) {
        ASSERT_TRUE(QTest::qWaitFor([&w] { return w.ready(); }));
        EXPECT_EQ(w.curpiclab->text(), QStringLiteral("Image 1 of 1"));
        EXPECT_TRUE(w.reasonlab->isVisible());
        EXPECT_EQ(w.reasonlab->text(), reason);
        shown = w.image->size();
        QTest::mouseClick(w.ok, Qt::LeftButton, {}, QPoint(10, 10));
    };
    EXPECT_EQ(ripper::doartwork(1), 1);
    EXPECT_EQ(ripper::apic.size(), shown);

    server.answer(kPath, 200, "\nDATA");
    server.answer(kPath + "&g=1", 200, "x" + field("-5") + field("1") + jpeg(Qt::red));
    reason = QStringLiteral("Serverside error: a picture of impossible size was sent.");
    EXPECT_EQ(ripper::doartwork(1), 1);
}
