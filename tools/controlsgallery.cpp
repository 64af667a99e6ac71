// Draws one of each owner-drawn control on a dark window and saves a picture of it, for the
// documentation: controlsgallery <file.png>. Runs on any Qt platform (offscreen works).

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <cstdio>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/bitmapprogress.h"
#include "controls/numericinput.h"
#include "controls/talphabetbar.h"
#include "controls/textscroller.h"
#include "controls/transhint.h"
#include "controls/transparentpanel.h"
#include "controls/tspinningglobe.h"

namespace {

constexpr QRgb kAmber = qRgb(0xF7, 0xC6, 0x00);

void setTextColour(QWidget& widget, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

// A picture for the progress ring: a warm disc pattern.
QImage ringPicture()
{
    QImage picture(200, 200, QImage::Format_RGB32);
    QPainter painter(&picture);
    QRadialGradient gradient(100, 100, 100);
    gradient.setColorAt(0, QColor(255, 220, 120));
    gradient.setColorAt(0.6, QColor(230, 90, 30));
    gradient.setColorAt(1, QColor(120, 20, 60));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

// A backdrop for the see-through panel.
QImage backdropPicture(const QSize& size)
{
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(20, 24, 48));
    gradient.setColorAt(1, QColor(60, 20, 70));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 40));
    for (int x = 0; x < size.width(); x += 24)
        painter.drawLine(x, 0, x, size.height());
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: controlsgallery <file.png>\n");
        return 2;
    }
    QWidget window;
    window.resize(760, 560);
    window.setAutoFillBackground(true);
    QPalette dark = window.palette();
    dark.setColor(QPalette::Window, QColor(16, 18, 30));
    window.setPalette(dark);
    window.setFont(QFont(QStringLiteral("Garamond"), 14));
    setTextColour(window, QColor(kAmber));

    auto* bar = new controls::TAlphaBar(&window);
    bar->setFont(QFont(QStringLiteral("Garamond"), 12));
    setTextColour(*bar, QColor(0xFF, 0xFF, 0xFE));
    bar->setGeometry(0, 20, 30, 520);

    const int colours[] = {0, 1, 2, 3, 4, 0x8000FF};
    const char* captions[] = {"Play", "Add All", "Remove", "Clear", "Shuffle", "Tinted"};
    for (int k = 0; k < 6; ++k) {
        auto* button = new controls::TBitmapActionButton(&window);
        button->move(60, 20 + k * 44);
        button->setbuttoncolor(colours[k]);
        button->settext(QString::fromLatin1(captions[k]));
    }
    auto* pressed = new controls::TBitmapActionButton(&window);
    pressed->move(60, 284);
    pressed->settext(QStringLiteral("Pressed"));
    pressed->setdown(true);

    auto* tick = new controls::TBitmapCheckbox(&window);
    tick->move(60, 340);
    tick->setcolor(0x1E1210);
    tick->settext(QStringLiteral("Allow Free Credit"));
    tick->setchecked(true);
    auto* cross = new controls::TBitmapCheckbox(&window);
    cross->move(60, 384);
    cross->setcolor(0x1E1210);
    cross->settext(QStringLiteral("Kiosk Mode"));

    auto* number = new controls::TNumericInput(&window);
    number->move(60, 440);
    number->setcolor(0x1E1210);
    setTextColour(*number, QColor(kAmber));
    number->setvalue(42);

    auto* progress = new controls::TBitmapProgress(&window);
    progress->setGeometry(300, 20, 200, 200);
    progress->setradius(100);
    progress->setstartradius(36);
    progress->setbrightness(2.5);
    progress->assignbackground(ringPicture());
    progress->show();
    progress->_setmax(200);
    progress->_setposition(130);

    auto* globe = new controls::TSpinGlobe(&window);
    globe->move(560, 40);
    globe->start();

    const QImage backdrop = backdropPicture(window.size());
    auto* panel = new controls::TTransparentPanel(&window);
    panel->setGeometry(300, 250, 420, 120);
    panel->setsourcebitmap(&backdrop);
    auto* hintLabel = new QLabel(panel);
    hintLabel->setGeometry(10, 40, 400, 40);
    controls::TTransparentHint hint;
    hint.setlab(hintLabel);
    hint.dohint(QStringLiteral("Touch a track to queue it"));

    auto* scroller = new controls::TTextScroller(&window);
    scroller->setGeometry(300, 400, 420, 40);
    scroller->setcolor(0);
    scroller->setfont(QFont(QStringLiteral("Garamond"), 18));
    setTextColour(*scroller, QColor(kAmber));
    scroller->settext(QStringLiteral("WELCOME - 120 ALBUMS AVAILABLE"));

    window.show();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
