// DJ announcements as the operator hears them: the DJ button down, a queue entry played, and what the
// voice is given to say, with scripted draws.

#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include "fakespeech.h"
#include "player/olespeech.h"
#include "printers.h"
#include "queuetesting.h"

namespace {

class DjTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        addAlbum(QStringLiteral("Beta__Two"), strings({"B1", "B2"}));
        start();
        form->playlistbutClick(nullptr);
        queueTrack(1, 1);
        queueTrack(1, 2);
        QTest::mouseClick(form->dj, Qt::LeftButton);
        ASSERT_TRUE(form->dj->isChecked());
    }
    void TearDown() override
    {
        player::setdjrandom({});
        player::resetspeech();
        library::phrases = {};
        PlayerWindowTest::TearDown();
    }

    // Plays queue row `row` with the draws `draws` (phrase, time, a, d, c, speed) and returns what
    // the voice was given.
    QStringList announce(int row, QVector<double> draws)
    {
        player::setdjrandom([draws]() mutable { return draws.isEmpty() ? 0.0 : draws.takeFirst(); });
        form->dplaylist->setCurrentRow(row);
        QTest::mouseClick(form->play, Qt::LeftButton);
        return speech.texts();
    }

    FakeSpeech speech;
};

TEST_F(DjTest, SaysTheTitleInTheDrawnForm)
{
    const struct
    {
        int row;
        bool comment;
        double cDraw;
        const char* said;
    } cases[] = {{1, true, 0.1, "B2 by Beta"},    {1, true, 0.5, "B2 from Two by Beta"},
                 {1, true, 0.9, "B2 Beta"},       {1, false, 0.1, "Beta, Two,B2"},
                 {1, false, 0.9, "Beta, Two,B2"}, {0, true, 0.1, "B1 by Beta"}};
    library::phrases = {strings({"Here we go"}), 1};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        library::config.Dj_comment = c.comment;
        speech.said.clear();
        fake().clearCommands();
        QStringList expected;
        // The first entry of a queue has no phrase.
        if (c.comment && c.row > 0) expected << QStringLiteral("Here we go");
        expected << QString::fromUtf8(c.said);
        EXPECT_EQ(announce(c.row, {0.0, 0.0, 0.0, 0.0, c.cDraw, 0.5}), expected);
        // Speed 140 + R(0.5 x 40); the title in the statement style, high priority.
        EXPECT_EQ(speech.said.last().speed, 160);
        EXPECT_EQ(speech.said.last().flags, 1 + 128);
        EXPECT_EQ(plays().size(), 1);
    }
}

TEST_F(DjTest, TheTimeTakesThePhrasesPlaceWhenTheDrawSaysSo)
{
    library::config.Dj_comment = true;
    library::config.timeannounce = true;
    library::phrases = {strings({"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"}), 10};
    // r = R(0.6 x 10 - 1) = 5 = (10 + 1) div 2: the time, as "hh mm".
    const QStringList timed = announce(1, {0.35, 0.6, 0.0, 0.0, 0.1, 0.0});
    ASSERT_EQ(timed.size(), 2);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d \\d\\d$")).match(timed.first()).hasMatch())
        << timed.first().toStdString();
    // r = 4: the phrase drawn stays.
    speech.said.clear();
    EXPECT_EQ(announce(1, {0.35, 0.5, 0.0, 0.0, 0.1, 0.0}).first(), QStringLiteral("p3"));
}

TEST_F(DjTest, AVoiceThatFailsNeverHoldsTheTrackBack)
{
    speech.failSpeaking = true;
    EXPECT_TRUE(announce(1, {}).isEmpty());
    EXPECT_EQ(plays().size(), 1);
    EXPECT_TRUE(form->play->isChecked());
}

TEST_F(DjTest, NoSpeechEngineDisablesTheDjButton)
{
    QTest::mouseClick(form->dj, Qt::LeftButton); // released
    speech.engineMissing = QStringLiteral("no voice data");
    QTest::mouseClick(form->dj, Qt::LeftButton);
    EXPECT_FALSE(form->dj->isEnabled());
    EXPECT_TRUE(announce(1, {}).isEmpty());
}

} // namespace
