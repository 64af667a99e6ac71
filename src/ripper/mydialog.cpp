#include "ripper/mydialog.h"

#include <QFontMetrics>
#include <QLabel>

#include "controls/drawing.h"
#include "controls/bitmapactionbutton.h"
#include "ripper/dialogframe.h"

namespace ripper {

namespace {
constexpr int kButtonDesignWidth = 50;
constexpr int kMessagePoints = 14;
constexpr int kMessageMargin = 20;
constexpr int kButtonPoints = 18;
constexpr int kQuitDesignWidth = 300;
constexpr int32_t kOkColour = 1;
constexpr int32_t kCancelColour = 4;
constexpr int32_t kQuitColour = 2;
constexpr int32_t kBlackButton = 0;

// Sets the caption and widens the button from its design width by the caption's width.
void captionWidened(controls::TBitmapActionButton* button, const QString& caption, int points)
{
    captionButton(button, caption, points,
                  kButtonDesignWidth + QFontMetrics(controls::panelFont(points)).horizontalAdvance(caption));
}
} // namespace

Tmdialog::Tmdialog()
{
    sizeform(this, stitle, false);
    lb = new QLabel(this);
    OK = answerButton(this, kOkColour, kFirstButton);
    cancel = answerButton(this, kCancelColour, kSecondButton);
    quitbut = answerButton(this, kQuitColour, kBackToJukebox);
    placeMessage();
    placeAnswerButtons();
    placeQuitButton();
}

// A line wider than the screen wraps between words, within a margin at each side.
void Tmdialog::placeMessage()
{
    setDialogText(lb, aspy(kMessagePoints), kDialogTextColour);
    lb->setText(mes);
    lb->setWordWrap(true);
    lb->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int margin = aspx(kMessageMargin);
    const int textWidth = width() - 2 * margin;
    lb->setGeometry(margin, height() / 4, textWidth, lb->heightForWidth(textWidth));
}

void Tmdialog::placeAnswerButtons()
{
    captionWidened(OK, okmes, aspy(kButtonPoints));
    captionWidened(cancel, cancelmes, aspy(kButtonPoints));
    const int top = height() / 2;
    OK->move(width() / 4 - OK->width() / 2, top);
    cancel->move(width() / 2 + width() / 4 - cancel->width() / 2, top);
    if (cancelmes.isEmpty()) {
        cancel->hide();
        OK->move(width() / 2 - OK->width() / 2, top);
    }
}

void Tmdialog::placeQuitButton()
{
    quitbut->hide();
    if (!squit) return;
    quitbut->setbuttoncolor(kBlackButton);
    captionButton(quitbut, QStringLiteral("Back to Jukebox"), cancel->font().pointSize(),
                  aspx(kQuitDesignWidth));
    quitbut->move(width() / 2 - quitbut->width() / 2, height() - 2 * quitbut->height());
    quitbut->show();
}

int Tmdialog::backResult() const
{
    if (squit) return kBackToJukebox;
    return cancelmes.isEmpty() ? kFirstButton : kSecondButton;
}

uint16_t md(const QString& Msg, const QString& aOkmes, const QString& aCancelmes, const QString& title,
            bool quit)
{
    mes = Msg;
    okmes = aOkmes;
    cancelmes = aCancelmes;
    stitle = title;
    squit = quit;
    Tmdialog dialog;
    return static_cast<uint16_t>(
        runRipDialog(dialog, {kFirstButton, kSecondButton, kBackToJukebox}, dialog.backResult()));
}

} // namespace ripper
