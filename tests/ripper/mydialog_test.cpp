#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "answeringdialogs.h"
#include "controls/bitmapactionbutton.h"
#include "printers.h"
#include "ripper/dialogframe.h"
#include "ripper/mydialog.h"
#include "ripperfixture.h"

using ripper::Tmdialog;

namespace {
// Runs `look` on the dialog, then answers by clicking `button` (or with `answer` when none is given).
void answerWith(AnsweringDialogs& dialogs, std::function<controls::TBitmapActionButton*(Tmdialog&)> button,
                int answer = 0)
{
    dialogs.modalHandler = [button, answer](QDialog& shown) {
        auto& dialog = static_cast<Tmdialog&>(shown);
        if (!button) return answer;
        dialog.show();
        QTest::mouseClick(button(dialog), Qt::LeftButton, {}, QPoint(10, 10));
        return dialog.result();
    };
}
} // namespace

TEST(QuestionDialog, LiesBelowTheTitleStripScaledToTheScreen)
{
    ExtractionWindow window(QSize(1024, 768));
    AnsweringDialogs dialogs;
    answerWith(dialogs, [](Tmdialog& dialog) {
        const int top = 36 + 40;
        EXPECT_EQ(dialog.geometry(), QRect(0, top, 1024, 768 - top));
        EXPECT_EQ(dialog.lb->y(), dialog.height() / 4);
        EXPECT_EQ(dialog.OK->y(), dialog.height() / 2);
        EXPECT_EQ(dialog.OK->x() + dialog.OK->width() / 2, 1024 / 4);
        EXPECT_EQ(dialog.cancel->x() + dialog.cancel->width() / 2, 1024 * 3 / 4);
        EXPECT_EQ(dialog.quitbut->width(), 384);
        EXPECT_EQ(dialog.quitbut->y(), dialog.height() - 2 * dialog.quitbut->height());
        return dialog.cancel;
    });
    EXPECT_EQ(ripper::md(QStringLiteral("Insert a CD"), QStringLiteral("Continue"), QStringLiteral("Exit"),
                         QStringLiteral("CD Extraction"), true),
              2);
    EXPECT_EQ(window.toptitle->text(), QStringLiteral("CD Extraction"));
}

TEST(QuestionDialog, EmptySecondCaptionCentresTheFirstButton)
{
    ExtractionWindow window(QSize(800, 600));
    AnsweringDialogs dialogs;
    answerWith(dialogs, [](Tmdialog& dialog) {
        EXPECT_FALSE(dialog.cancel->isVisibleTo(&dialog));
        EXPECT_FALSE(dialog.quitbut->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.OK->x() + dialog.OK->width() / 2, 400);
        return dialog.OK;
    });
    EXPECT_EQ(ripper::md(QStringLiteral("Could not open the CD drive."), QStringLiteral("Exit"), {},
                         QStringLiteral("Hardware Error"), false),
              1);
}

TEST(QuestionDialog, EscapeOrAnyOtherEndGivesTheLastButtonShown)
{
    ExtractionWindow window(QSize(800, 600));
    AnsweringDialogs dialogs;
    const QString one = QStringLiteral("One");
    const QString two = QStringLiteral("Two");
    answerWith(dialogs, nullptr, QDialog::Rejected);
    EXPECT_EQ(ripper::md(one, one, {}, {}, false), 1);
    EXPECT_EQ(ripper::md(one, one, two, {}, false), 2);
    EXPECT_EQ(ripper::md(one, one, two, {}, true), 3);
    answerWith(dialogs, nullptr, 7);
    EXPECT_EQ(ripper::md(one, one, two, {}, false), 2);
    dialogs.modalHandler = [](QDialog& dialog) {
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    };
    EXPECT_EQ(ripper::md(one, one, two, {}, true), 3);
}

class QuestionDialogScreens : public ::testing::TestWithParam<QSize>
{
};

// A line wider than the screen wraps: every word of the message shows, inside the dialog's sides and
// above its buttons. The text is told by the pixels it changes.
TEST_P(QuestionDialogScreens, ALongLineWrapsInsideTheScreen)
{
    ExtractionWindow window(GetParam());
    AnsweringDialogs dialogs;
    dialogs.modalHandler = [](QDialog& shown) {
        auto& dialog = static_cast<Tmdialog&>(shown);
        dialog.show();
        const QImage withText = dialog.grab().toImage();
        dialog.lb->hide();
        const QImage without = dialog.grab().toImage();
        QRect text;
        for (int y = 0; y < withText.height(); ++y)
            for (int x = 0; x < withText.width(); ++x)
                if (withText.pixel(x, y) != without.pixel(x, y)) text |= QRect(x, y, 1, 1);
        EXPECT_GT(text.left(), 0);
        EXPECT_LT(text.right(), dialog.width() - 1);
        EXPECT_LT(text.bottom(), dialog.OK->y());
        EXPECT_GT(text.height(), 2 * QFontMetrics(dialog.lb->font()).height()); // three lines, none lost
        return 1;
    };
    EXPECT_EQ(ripper::md(QStringLiteral("No CD drive or disc image was found.\r\nName one in the environment "
                                        "variable MUSETRA_CDROM (a device such as /dev/sr0, or a .cue sheet "
                                        "beside its .bin) and start the program again."),
                         QStringLiteral("OK"), {}, QStringLiteral("No CD drive"), false),
              1);
}

INSTANTIATE_TEST_SUITE_P(Screens, QuestionDialogScreens,
                         ::testing::Values(QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)));
