#pragma once

// Shared by the files that build and lay out the jukebox window's controls: a control is made with
// its parent and gets its field's name as its object name, so the name on screen and in code never
// differ; and the window's few colours. Internal to the jukebox window's sources.

#include <QPalette>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "skins/colors.h"

namespace library {
struct tskin;
}

namespace jukebox {
class PictureBox;
}

namespace jukebox::build {

// Panel texts; list and entry texts; the frames round lists and panels.
constexpr int32_t kPanelTextColour = 0x00C6F7;
constexpr int32_t kListTextColour = 0x808080;
constexpr int32_t kOuterFrameColour = 0x2087A1;
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int kOuterFrameWidth = 4;
constexpr int kInnerFrameWidth = 2;

template<class Control, class Parent> Control* named(const char* name, Parent* parent)
{
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// The colour of a control's text ($00BBGGRR).
// The chart's caption while the commerce panel shows; the layout makes room for it.
inline QString chartCaption()
{
    return QStringLiteral("Top 100 Plays:- (By popularity then most recent in the last month)");
}

inline void setTextColour(QWidget* widget, int32_t colour)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, skins::tcolorToQColor(colour));
    colours.setColor(QPalette::Text, skins::tcolorToQColor(colour));
    widget->setPalette(colours);
}

// Shows a corner's UP picture while its panel is open and its DOWN picture otherwise
// (jukeboxform_panels.cpp).
void showCorner(PictureBox* corner, const QString& name, const library::tskin& skin, bool open);

// A control that paints its whole area black behind its children.
inline void fillBlack(QWidget* widget)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::Base, Qt::black);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

} // namespace jukebox::build

// `field` = a new `Control` under `parent`, named after the field.
#define JUKEBOX_MAKE(field, Control, parent) field = ::jukebox::build::named<Control>(#field, parent)
