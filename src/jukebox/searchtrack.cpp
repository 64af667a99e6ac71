#include "jukebox/searchtrack.h"

#include <QFont>
#include <algorithm>

#include "controls/drawing.h"
#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "jukebox/editbox.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/jukeboxform_build.h"
#include "jukebox/panellist.h"
#include "jukebox/picturebox.h"
#include "jukebox/searchthread.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "library/global.h"
#include "library/osk.h"

namespace jukebox {

namespace {

constexpr int kEditFontSize = 20;
constexpr int kKeyWidth = 100;
constexpr int kKeyHeight = 30;
constexpr int kKeyGap = 10;
constexpr int kListLeft = 4;
constexpr int kListBottomGap = 4;
constexpr int kInnerFrameGap = 4;
const QString kKeyboardShown = QStringLiteral("KEYBOARDICONUP");
const QString kKeyboardHidden = QStringLiteral("KEYBOARDICONDOWN");

} // namespace

ttracksearch::ttracksearch(QWidget* AOwner) : TTransparentPanel(AOwner)
{
    JUKEBOX_MAKE(keywords, EditBox, this);
    build::fillBlack(keywords);
    build::setTextColour(keywords, build::kListTextColour);
    keywords->setFrame(false);
    keywords->setEnabled(false);
    // A touch on the panel (its keys, its list) leaves the focus in the keyword, where the
    // on-screen keyboard types; the window itself would take it otherwise.
    setFocusProxy(keywords);
    JUKEBOX_MAKE(action_but, PictureBox, this);
    action_but->setStretch(true);
    action_but->setPicture(controls::programPicture(QStringLiteral("WIDEBUTUP")));
    JUKEBOX_MAKE(action_label, TextLabel, this);
    action_label->setText(QStringLiteral("Search"));
    action_label->setAlignment(Qt::AlignCenter);
    action_label->setFontColor(build::kPanelTextColour);
    JUKEBOX_MAKE(keyboard_label, TextLabel, this);
    JUKEBOX_MAKE(keyboard_but, PictureBox, this);
    keyboard_but->setStretch(true);
    keyboard_but->setTransparent(true);
    keyboard_but->setPicture(controls::programPicture(kKeyboardShown));
    lbshape = makeListFrame(this, "lbshape", false);
    lbshape2 = makeListFrame(this, "lbshape2", true);
    lb = makePanelList(this, "lb");

    // The caption lies over the key and takes its touch.
    connect(action_but, &PictureBox::OnClick, this, &ttracksearch::action_butClick);
    connect(action_label, &TextLabel::OnClick, this, &ttracksearch::action_butClick);
    connect(action_but, &PictureBox::OnMouseDown, this, [this] { action_butMouseDown(action_but); });
    connect(action_label, &TextLabel::OnMouseDown, this, [this] { action_butMouseDown(action_but); });
    connect(action_but, &PictureBox::OnMouseUp, this, [this] { action_butMouseUp(action_but); });
    connect(action_label, &TextLabel::OnMouseUp, this, [this] { action_butMouseUp(action_but); });
    connect(keyboard_but, &PictureBox::OnClick, this, &ttracksearch::keyboard_butClick);
    connect(keywords, &EditBox::OnEnter, this, &ttracksearch::keywordEnter);
    connect(keywords, &EditBox::OnExit, this, &ttracksearch::keywordExit);
    connect(keywords, &EditBox::returnPressed, this, [this] { action_butClick(keywords); });
    connect(lb, &controls::TScrollListbox::OnClick, this, &ttracksearch::lbClick);
}

ttracksearch::~ttracksearch()
{
    stopSearch();
}

void ttracksearch::resizeEvent(QResizeEvent* event)
{
    TTransparentPanel::resizeEvent(event);
    Resize();
}

void ttracksearch::Resize()
{
    const QFont font = controls::panelFont(aspy(kEditFontSize));
    keywords->setFont(font);
    const int editWidth = width() / 2;
    keywords->setGeometry((width() - editWidth) / 2, height() / 20, editWidth, keywords->sizeHint().height());
    const QSize key(aspx(kKeyWidth), aspy(kKeyHeight));
    action_but->setGeometry(
        QRect(QPoint((width() - key.width()) / 2, keywords->geometry().bottom() + 1 + aspy(kKeyGap)), key));
    action_label->setGeometry(action_but->geometry());
    action_label->setFont(font);
    // The keyboard key stands in the middle of the room left of the edit, level with it: the panel's
    // top-left corner lies under the album area's frame and the corner button.
    const int keyboardLeft = std::max(0, (keywords->x() - key.width()) / 2);
    keyboard_but->setGeometry(QRect(QPoint(keyboardLeft, keywords->y()), key));
    keyboard_label->setGeometry(keyboard_but->geometry());
    const int left = aspy(kListLeft);
    const int top = action_but->geometry().bottom() + 1 + aspy(kKeyGap);
    const int listWidth = width() - 2 * (jukebox ? jukebox->midpanelpanel->x() : 0);
    lb->setGeometry(left, top, std::max(1, listWidth), std::max(1, height() - aspy(kListBottomGap) - top));
    scalePanelList(lb);
    placeListFrames(lbshape, lbshape2, lb->geometry(), kInnerFrameGap);
    lb->Paint();
}

void ttracksearch::action_butClick(QObject*)
{
    if (library::keyboardshowing) keyboard_butClick(keyboard_but);
    // The old search goes before the list is emptied, so none of its rows can follow.
    stopSearch();
    lb->clear();
    lb->Paint();
    if (jukebox) jukebox->setThumbnailPictures(*lb);
    tell(QStringLiteral("Searching..."));
    tsearchthread::Handlers handlers{[this](const QVector<SearchRow>& rows) { additem(rows); },
                                     [this](int64_t more) { updatestatus(more); }};
    st = std::make_unique<tsearchthread>(this, keywords->text(), library::album, library::config.path,
                                         std::move(handlers));
    st->start();
}

void ttracksearch::stopSearch()
{
    if (!st) return;
    st->cancel = true;
    st.reset();
}

void ttracksearch::additem(const QVector<SearchRow>& rows)
{
    // Rows added below a full page change nothing on screen: the list is drawn again only while
    // new rows or its "More" box can still come into view.
    const bool inView = lb->items().count() <= lb->topmost() + lb->displayitems();
    lb->setdrawmode(false);
    for (const SearchRow& row : rows) {
        // The album list may have changed since the search took its copy.
        if (row.alb < 1 || row.alb >= library::album.size()) continue;
        const library::talbumtype& entry = library::album.at(row.alb);
        const QString title = row.tracktitle.isEmpty() ? QString() : row.tracktitle + QStringLiteral(" - ");
        lb->additemandinfo(title + entry.artist + QStringLiteral(", ") + entry.album, row.alb, row.track,
                           QImage(), row.icon, QString());
    }
    lb->setdrawmode(true);
    if (inView) lb->Paint();
}

void ttracksearch::updatestatus(int64_t more)
{
    const int found = lb->items().count();
    QString text = found == 1 ? QStringLiteral("Search completed. Found 1 item")
                              : QStringLiteral("Search completed. Found %1 items").arg(found);
    if (more > 0) text += QStringLiteral(", %1 more not listed").arg(more);
    tell(text);
}

void ttracksearch::tell(const QString& text)
{
    told_ = text;
    if (jukebox) jukebox->domessage(text);
}

bool ttracksearch::showsItsMessage() const
{
    return !told_.isEmpty() && oldmessage == told_;
}

void ttracksearch::clearSearch()
{
    stopSearch();
    keywords->clear();
    lb->clear();
    lb->Paint();
}

void ttracksearch::lbClick(QObject*)
{
    const int row = lb->itemindex();
    if (row < 0 || row >= lb->items().count() || !jukebox) return;
    const controls::TScrollListItemAdditonalInfo* info = lb->items().object(row);
    if (info) jukebox->searchpanellbclick(info->AlbumNumber(), info->TrackNumber());
}

void ttracksearch::keywordEnter(QObject*)
{
    if (!library::keyboardshowing) library::osk(true, true);
    setTag(keyboard_but, 0);
    keyboard_but->setPicture(controls::programPicture(kKeyboardShown));
}

void ttracksearch::keywordExit(QObject*)
{
    library::osk(false, true);
    setTag(keyboard_but, 1);
    keyboard_but->setPicture(controls::programPicture(kKeyboardHidden));
}

void ttracksearch::keyboard_butClick(QObject*)
{
    const bool show = tagOf(keyboard_but) != 0;
    setTag(keyboard_but, show ? 0 : 1);
    keyboard_but->setPicture(controls::programPicture(show ? kKeyboardShown : kKeyboardHidden));
    library::osk(show, true);
    // The keyboard types into the keyword, whatever had the focus.
    if (show) keywords->setFocus();
}

void ttracksearch::action_butMouseDown(QObject*)
{
    action_but->setPicture(controls::programPicture(QStringLiteral("WIDEBUTDOWN")));
}

void ttracksearch::action_butMouseUp(QObject*)
{
    action_but->setPicture(controls::programPicture(QStringLiteral("WIDEBUTUP")));
}

} // namespace jukebox
