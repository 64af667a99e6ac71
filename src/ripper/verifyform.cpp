#include "ripper/verifyform.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "controls/drawing.h"
#include "controls/bitmapactionbutton.h"
#include "controls/scrolllistbox.h"
#include "library/global.h"
#include "library/names.h"
#include "library/osk.h"
#include "ripper/dialogframe.h"

namespace ripper {

namespace {
constexpr int kMargin = 40;
constexpr int kSmallGap = 10;
constexpr int kTextPoints = 16;
constexpr int kListPoints = 15;
constexpr float kListSpacing = 1.5f;
// The titles the list holds at once, however wide the screen.
constexpr int kShownRows = 3;
constexpr int kGoBackWidth = 150;
constexpr int32_t kNextColour = 1;
constexpr int32_t kSetColour = 3;
constexpr int32_t kGoBackColour = 4;
constexpr int32_t kBlack = 0;

int titleCount()
{
    return std::min(int(library::trackscount), int(library::tracks.size()));
}
} // namespace

Tverify::Tverify()
{
    lab = dialogLabel(this, QStringLiteral("Please verify the track titles and correct if necessary"),
                      aspx(kTextPoints));
    lab->setAlignment(Qt::AlignHCenter);
    titleedit = entryBox(this, aspx(kTextPoints));
    settitle = actionButton(this, kSetColour);
    captionButton(settitle, QStringLiteral("Set Track"), aspx(kTextPoints), kFitCaption);
    cancel1 = answerButton(this, kGoBackColour, kGoBack);
    captionButton(cancel1, QStringLiteral("Go Back"), aspx(kTextPoints), aspx(kGoBackWidth));
    next = answerButton(this, kNextColour, kNext);
    // Editing an album on disk, the titles are written only when saved: "Go Back" leaves them.
    captionButton(next, mode == 1 ? QStringLiteral("Save") : QStringLiteral("Next"), aspx(kTextPoints),
                  kFitCaption);
    lbpanel = new QWidget(this);
    lbpanel->setAutoFillBackground(true);
    lbpanel->setPalette(palette());
    lb = new controls::TScrollListbox(lbpanel);
    lb->setcolor(kBlack);
    setDialogText(lb, aspx(kListPoints), kListTextColour);
    lb->setlinespacing(kListSpacing);
    connect(lb, &controls::TScrollListbox::OnClick, this, &Tverify::lbClick);
    connect(settitle, &controls::TBitmapActionButton::OnClick, this, &Tverify::settitleClick);
    sizeform(this, QStringLiteral("Verify Tracks"), true);
    layOut();
    fillList();
    lb->setitemindex(0);
    lbClick();
}

void Tverify::fillList()
{
    const int top = lb->topmost();
    const int chosen = lb->itemindex();
    lb->clear();
    for (int i = 0; i < titleCount(); ++i)
        lb->items().add(library::tracks[i]);
    lb->settopmost(top);
    lb->setitemindex(chosen);
    lb->Paint();
}

void Tverify::resizeEvent(QResizeEvent*)
{
    layOut();
}

void Tverify::layOut()
{
    const int m = aspx(kMargin);
    // Gaps above and below follow the screen's height, as the dialog's own height does.
    const int gap = aspy(kMargin);
    lab->setGeometry(0, gap, width(), lab->sizeHint().height());
    lbpanel->setGeometry(m, bottomOf(lab) + aspy(kSmallGap), width() - (cancel1->width() + 2 * m), 0);
    titleedit->resize(width() / 2, titleedit->sizeHint().height());
    lbpanel->resize(lbpanel->width(), height() - lbpanel->y() - (2 * gap + titleedit->height()));
    lb->setGeometry(lbpanel->rect());
    fitList();
    titleedit->move(m, bottomOf(lbpanel) + gap);
    settitle->move(rightOf(titleedit) + m, titleedit->y());
    next->move(rightOf(lbpanel) + m, lbpanel->y());
    cancel1->move(next->x(), bottomOf(next) + m);
}

// Fonts grow with the screen's width, the list area with its height, and each "MORE" band takes
// a row's height: the list font shrinks until a few rows fit between the bands. The list then
// ends with its last whole row's band, so no row runs under the bottom box.
void Tverify::fitList()
{
    int points = aspx(kListPoints);
    while (points > 1 && !listHoldsRows(points))
        --points;
    const int bands = 2 * lb->firstrowy();
    const int rows = std::max(0, (lbpanel->height() - bands) / lb->rowheight());
    lb->resize(lb->width(), bands + rows * lb->rowheight());
    lb->Resize();
    lb->Paint();
}

bool Tverify::listHoldsRows(int points)
{
    lb->setfont(controls::panelFont(points));
    // Twice: the bands follow the row height of the layout before.
    lb->Resize();
    lb->Resize();
    return 2 * lb->firstrowy() + kShownRows * lb->rowheight() <= lbpanel->height();
}

void Tverify::lbClick()
{
    const int row = lb->itemindex();
    if (row < 0 || row >= lb->items().count()) return;
    titleedit->setText(lb->items()[row]);
    titleedit->end(false);
    settitle->settext(QStringLiteral("Set Track"));
    edited_ = row;
}

void Tverify::settitleClick()
{
    if (edited_ < 0 || edited_ >= titleCount()) return;
    library::tracks[edited_] = library::oneLineTitle(titleedit->text());
    fillList();
}

int32_t doverify(int32_t m)
{
    mode = m;
    if (titleCount() == 0) return Tverify::kGoBack;
    Tverify dialog;
    library::osk(true, false);
    const int result = runRipDialog(dialog, {Tverify::kNext}, Tverify::kGoBack);
    library::osk(false, false);
    return result;
}

} // namespace ripper
