#pragma once

// Base of the picture buttons that carry a caption to the right of their picture (the action
// button and the check box): the caption, the control's colour, the size rule that grows the
// control to fit its caption, and the drawing of the caption. New ones start 50 by 32 pixels.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <QString>
#include <cstdint>

#include "controls/ownerdrawn.h"

class QColor;
class QPainter;

namespace controls {

class CaptionedPicture : public OwnerDrawn
{
    Q_OBJECT

public:
    int32_t color() const { return fcolor; }
    QString caption() const { return ftext; }
    // Sets the caption, grows the control to fit it and repaints.
    void settext(const QString& s);

    // When the caption does not fit beside the picture the control grows to caption width + 51;
    // it is at least as high as a line of text and at least 32 pixels high.
    void autosize();

protected:
    explicit CaptionedPicture(QWidget* owner);

    // Draws the caption right of `picture`, centred vertically, in the control's font and text
    // colour; with a `background`, the text cell is filled with it first.
    void drawCaption(QPainter& painter, const QImage& picture, const QColor* background) const;

    int32_t fcolor;
    QString ftext;
};

} // namespace controls
