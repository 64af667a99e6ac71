#include "ripper/dialogframe.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <cmath>

#include "controls/drawing.h"
#include "ripper/musripmain.h"
#include "skins/colors.h"

namespace ripper {

namespace {

int32_t scaled(int32_t length, double factor)
{
    return static_cast<int32_t>(std::nearbyint(length * factor));
}

QLabel* titlestrip()
{
    return ripmain ? ripmain->findChild<QLabel*>(QStringLiteral("toptitle")) : nullptr;
}

QWidget* backdrop()
{
    return ripmain ? ripmain->findChild<QWidget*>(QStringLiteral("bg")) : nullptr;
}

// The top edge, in the extraction window's terms, of what lies below its title strip.
int belowTitle(const QLabel* title)
{
    return title ? title->y() + title->height() : 0;
}

} // namespace

int32_t aspx(int32_t x)
{
    return scaled(x, aspectx);
}

int32_t aspy(int32_t y)
{
    return scaled(y, aspecty);
}

void sizeform(QWidget* form, const QString& caption, bool musoskneeded)
{
    if (!ripmain) return;
    QLabel* title = titlestrip();
    if (title) title->setText(caption);
    const int top = belowTitle(title);
    const int height = musoskneeded ? (ripmain->height() / 3) * 2 - top : ripmain->height() - top;
    form->setGeometry(ripmain->x(), ripmain->y() + top, ripmain->width(), height);
}

void dobg(QWidget* form)
{
    QPainter painter(form);
    QWidget* bg = backdrop();
    if (!bg) {
        painter.fillRect(form->rect(), Qt::black);
        return;
    }
    // The form's own rectangle on the screen, in the backdrop's terms.
    const QPoint origin = bg->mapFromGlobal(form->mapToGlobal(QPoint(0, 0)));
    painter.drawPixmap(0, 0, bg->grab(QRect(origin, form->size())));
}

void setDialogText(QWidget* widget, int points, int32_t colour)
{
    widget->setFont(controls::panelFont(points));
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, skins::tcolorToQColor(colour));
    colours.setColor(QPalette::Text, skins::tcolorToQColor(colour));
    colours.setColor(QPalette::ButtonText, skins::tcolorToQColor(colour));
    widget->setPalette(colours);
}

} // namespace ripper
