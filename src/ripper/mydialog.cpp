#include "ripper/mydialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include "controls/bitmapactionbutton.h"
#include "platform/dialogs.h"
#include "ripper/dialogframe.h"

namespace ripper {

namespace {
constexpr int kButtonDesignWidth = 50;
constexpr int kMessagePoints = 14;
constexpr int kButtonPoints = 18;
constexpr int kQuitDesignWidth = 300;
constexpr int32_t kOkColour = 1;
constexpr int32_t kCancelColour = 4;
constexpr int32_t kQuitColour = 2;
constexpr int32_t kBlackButton = 0;

controls::TBitmapActionButton* answerButton(QWidget* dialog, int32_t colour, uint16_t answer)
{
    auto* button = new controls::TBitmapActionButton(dialog);
    button->setbuttoncolor(colour);
    QObject::connect(button, &controls::TBitmapActionButton::OnClick, dialog,
                     [dialog, answer] { static_cast<QDialog*>(dialog)->done(answer); });
    return button;
}

// Sets the caption and widens the button from its design width by the caption's width.
void captionButton(controls::TBitmapActionButton* button, const QString& caption, int points)
{
    setDialogText(button, points, kDialogTextColour);
    button->settext(caption);
    button->resize(kButtonDesignWidth + QFontMetrics(button->font()).horizontalAdvance(caption),
                   button->height());
}
} // namespace

Tmdialog::Tmdialog(QWidget* parent) : QDialog(parent)
{
    // Above the full-screen jukebox and extraction windows, with neither frame nor system menu.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    sizeform(this, stitle, false);
    lb = new QLabel(this);
    OK = answerButton(this, kOkColour, kFirstButton);
    cancel = answerButton(this, kCancelColour, kSecondButton);
    quitbut = answerButton(this, kQuitColour, kBackToJukebox);
    placeMessage();
    placeAnswerButtons();
    placeQuitButton();
}

void Tmdialog::placeMessage()
{
    setDialogText(lb, aspy(kMessagePoints), kDialogTextColour);
    lb->setText(mes);
    const int textHeight = lb->sizeHint().height();
    lb->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lb->setGeometry(0, height() / 4, width(), textHeight);
}

void Tmdialog::placeAnswerButtons()
{
    captionButton(OK, okmes, aspy(kButtonPoints));
    captionButton(cancel, cancelmes, aspy(kButtonPoints));
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
    setDialogText(quitbut, cancel->font().pointSize(), kDialogTextColour);
    quitbut->setbuttoncolor(kBlackButton);
    quitbut->settext(QStringLiteral("Back to Jukebox"));
    quitbut->resize(aspx(kQuitDesignWidth), quitbut->height());
    quitbut->move(width() / 2 - quitbut->width() / 2, height() - 2 * quitbut->height());
    quitbut->show();
}

uint16_t Tmdialog::backAnswer() const
{
    if (squit) return kBackToJukebox;
    return cancelmes.isEmpty() ? kFirstButton : kSecondButton;
}

void Tmdialog::reject()
{
    done(backAnswer());
}

void Tmdialog::paintEvent(QPaintEvent*)
{
    dobg(this);
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
    const int answer = platform::dialogs().execModal(dialog);
    if (answer == kFirstButton || answer == kSecondButton || answer == kBackToJukebox)
        return static_cast<uint16_t>(answer);
    return dialog.backAnswer();
}

} // namespace ripper
