#include "ripper/multiple.h"

#include <QCoreApplication>
#include <QLabel>
#include <algorithm>

#include "controls/drawing.h"
#include "controls/bitmapactionbutton.h"
#include "controls/scrolllistbox.h"
#include "controls/tspinningglobe.h"
#include "ripper/dialogframe.h"
#include "ripper/musripmain.h"

namespace ripper {

namespace {
constexpr int kTextPoints = 18;
constexpr int kManualPoints = 14;
constexpr int kMargin = 50;
constexpr int kGap = 40;
constexpr int kBottomSpace = 100;
constexpr int kCancelWidth = 250;
constexpr int kManualWidth = 400;
constexpr int32_t kGoBackColour = 4;
constexpr int32_t kManualColour = 3;
constexpr int32_t kBlack = 0;
} // namespace

Tmultiplealbums::Tmultiplealbums(const talbums& albs) : albums(albs)
{
    lb = new controls::TScrollListbox(this);
    cancel = answerButton(this, kGoBackColour, kGoBack);
    lab = dialogLabel(this, QStringLiteral("Please select the album that most closely matches the CD"),
                      aspx(kTextPoints));
    manentry = answerButton(this, kManualColour, kManualEntry);
    connect(lb, &controls::TScrollListbox::OnClick, this, &Tmultiplealbums::lbClick);
    sizeform(this, QStringLiteral("Select Album Title"), false);
    fillList();
    layOut();
}

void Tmultiplealbums::fillList()
{
    lb->clear();
    const int count = std::min({int(albums.count), int(albums.artists.size()), int(albums.titles.size())});
    for (int i = 0; i < count; ++i)
        lb->items().add(albums.artists[i] + QLatin1Char('-') + albums.titles[i]);
}

void Tmultiplealbums::layOut()
{
    captionButton(cancel, QStringLiteral("Go Back"), aspx(kTextPoints), aspx(kCancelWidth));
    lab->setGeometry(0, aspx(kGap), width(), lab->sizeHint().height());
    lab->setAlignment(Qt::AlignHCenter);
    lb->setcolor(kBlack);
    lb->setfont(controls::panelFont(aspx(kTextPoints)));
    setDialogText(lb, aspx(kTextPoints), kListTextColour);
    const int top = bottomOf(lab) + aspx(kGap);
    // The list leaves room for "Go Back" on its right, so the button stays on the screen.
    lb->setGeometry(aspx(kMargin), top, width() - cancel->width() - 2 * aspx(kMargin),
                    height() - top - aspx(kBottomSpace));
    cancel->move(rightOf(lb), top);
    captionButton(manentry, QStringLiteral("Enter Details Manually"), aspx(kManualPoints),
                  aspx(kManualWidth));
    manentry->move(width() / 2 - manentry->width() / 2, bottomOf(lb) + aspy(kGap));
    lb->Paint();
}

int32_t Tmultiplealbums::chosenRow() const
{
    return lb->itemindex() >= 0 && lb->itemindex() < lb->items().count() ? lb->itemindex() : kMatchGoBack;
}

void Tmultiplealbums::lbClick()
{
    if (chosenRow() != kMatchGoBack) done(kChosen);
}

int32_t multipledialog(const talbums& albs)
{
    if (spinglobe) spinglobe->stop();
    int32_t answer = kMatchGoBack;
    {
        Tmultiplealbums dialog(albs);
        const int result = runRipDialog(dialog, {Tmultiplealbums::kChosen, Tmultiplealbums::kManualEntry},
                                        Tmultiplealbums::kGoBack);
        if (result == Tmultiplealbums::kChosen) answer = dialog.chosenRow();
        if (result == Tmultiplealbums::kManualEntry) answer = kMatchManualEntry;
    }
    QCoreApplication::processEvents();
    return answer;
}

} // namespace ripper
