#include "jukebox/panellist.h"

#include <QFont>
#include <QRect>
#include <algorithm>

#include "controls/drawing.h"
#include "controls/scrolllistbox.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/jukeboxform_build.h"

namespace jukebox {

namespace {
constexpr int kListFontSize = 8;
constexpr float kListSpacing = 2.0f;
constexpr int kOuterFrameGap = 2;
} // namespace

controls::TScrollListbox* makePanelList(QWidget* parent, const char* name)
{
    auto* list = build::named<controls::TScrollListbox>(name, parent);
    list->setcolor(build::kBlack);
    build::setTextColour(list, build::kListTextColour);
    list->setshowlabels(false);
    list->setlinespacing(kListSpacing);
    list->clear();
    scalePanelList(list);
    return list;
}

void scalePanelList(controls::TScrollListbox* list)
{
    list->setfont(controls::panelFont(aspy(kListFontSize)));
    list->Resize();
}

FrameShape* makeListFrame(QWidget* parent, const char* name, bool outer)
{
    auto* frame = build::named<FrameShape>(name, parent);
    if (outer)
        frame->setPen(build::kOuterFrameColour, build::kOuterFrameWidth);
    else
        frame->setPen(build::kPanelTextColour, build::kInnerFrameWidth);
    frame->clearBrush();
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    return frame;
}

void placeListFrames(FrameShape* lbshape, FrameShape* lbshape2, const QRect& list, int innerGap)
{
    lbshape2->setGeometry(list.adjusted(-aspx(kOuterFrameGap), -aspy(kOuterFrameGap), aspx(kOuterFrameGap),
                                        aspy(kOuterFrameGap)));
    lbshape->setGeometry(list.adjusted(-aspx(innerGap), -aspy(innerGap), aspx(innerGap), aspy(innerGap)));
    lbshape2->lower();
    lbshape->lower();
}

} // namespace jukebox
