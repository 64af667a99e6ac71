#include "ripper/ripdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>

#include "controls/bitmapactionbutton.h"
#include "platform/dialogs.h"
#include "ripper/dialogframe.h"
#include "skins/colors.h"

namespace ripper {

RipDialog::RipDialog()
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
}

void RipDialog::reject()
{
    done(backResult());
}

void RipDialog::paintEvent(QPaintEvent*)
{
    dobg(this);
}

int runRipDialog(QDialog& dialog, std::initializer_list<int> results, int back)
{
    const int result = platform::dialogs().execModal(dialog);
    return std::find(results.begin(), results.end(), result) != results.end() ? result : back;
}

controls::TBitmapActionButton* actionButton(QWidget* parent, int32_t colour)
{
    auto* button = new controls::TBitmapActionButton(parent);
    button->setbuttoncolor(colour);
    return button;
}

controls::TBitmapActionButton* answerButton(QDialog* dialog, int32_t colour, int answer)
{
    auto* button = actionButton(dialog, colour);
    QObject::connect(button, &controls::TBitmapActionButton::OnClick, dialog,
                     [dialog, answer] { dialog->done(answer); });
    return button;
}

void captionButton(controls::TBitmapActionButton* button, const QString& caption, int points, int width)
{
    setDialogText(button, points, kDialogTextColour);
    button->settext(caption);
    if (width != kFitCaption) button->resize(width, button->height());
}

QLabel* dialogLabel(QWidget* parent, const QString& text, int points)
{
    auto* label = new QLabel(text, parent);
    setDialogText(label, points, kDialogTextColour);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

int bottomOf(const QWidget* widget)
{
    return widget->y() + widget->height();
}

int rightOf(const QWidget* widget)
{
    return widget->x() + widget->width();
}

QLineEdit* entryBox(QWidget* parent, int points)
{
    auto* box = new QLineEdit(parent);
    setDialogText(box, points, kListTextColour);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, Qt::black);
    box->setPalette(colours);
    return box;
}

} // namespace ripper
