#pragma once

// What the search and queue panels share: their result or queue list drawn black with grey
// Garamond rows at double spacing and no row numbers, and the two unfilled frames round it.
// GUI thread only.

class QRect;
class QWidget;

namespace controls {
class TScrollListbox;
}

namespace jukebox {

class FrameShape;

// A new list under `parent`, named `name`, in the panels' look.
controls::TScrollListbox* makePanelList(QWidget* parent, const char* name);
// The panel list's font at the current screen scale (after each layout).
void scalePanelList(controls::TScrollListbox* list);
// The inner frame `lbshape` (pen 2, $00C6F7) `innerGap` pixels outside the list and the outer
// frame `lbshape2` (pen 4, $2087A1) 2 outside it, both in design units.
void placeListFrames(FrameShape* lbshape, FrameShape* lbshape2, const QRect& list, int innerGap);
// A new frame under `parent`, named `name`, in the look of the inner or outer frame.
FrameShape* makeListFrame(QWidget* parent, const char* name, bool outer);

} // namespace jukebox
