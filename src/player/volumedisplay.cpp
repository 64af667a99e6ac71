#include "player/volumedisplay.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>

#include "controls/drawing.h"
#include "library/rounding.h"
#include "platform/screens.h"
#include "player/mainform.h"

namespace player {

namespace {

constexpr int kDelayMs = 1000;
constexpr int kTicksShown = 2;
constexpr int32_t kFullValue = 150;
const QColor kGreen(0x00, 0xFF, 0x00);

// Out of the window manager's hands: a managed window, even one kept on top, stands below the
// focused full-screen jukebox, and may be placed elsewhere than asked.
Qt::WindowFlags onTopWithoutBorder()
{
    return Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
           Qt::BypassWindowManagerHint;
}

void paintGreen(QWidget* window)
{
    QPalette green = window->palette();
    green.setColor(QPalette::Window, kGreen);
    window->setPalette(green);
    window->setAutoFillBackground(true);
}

// The bold title's size for a box `width` wide, made smaller where the title and the plain value
// line under it would not fit its `height` (a wide screen's box is wide for its height).
int titlePoints(int width, int height)
{
    int points = width / 10;
    for (; points > 1; --points) {
        QFont font = controls::panelFont(points, true);
        const int titleHeight = QFontMetrics(font).height();
        font.setBold(false);
        if (titleHeight + 1 + QFontMetrics(font).height() <= height) break;
    }
    return points;
}

} // namespace

Tvolumedisplay::Tvolumedisplay(QWidget* parent) : QWidget(parent, onTopWithoutBorder())
{
    delay = new QTimer(this);
    connect(delay, &QTimer::timeout, this, [this] { delayTimer(delay); });
    FormCreate(this);
}

Tvolumedisplay::~Tvolumedisplay() = default;

void Tvolumedisplay::FormCreate(QObject*)
{
    const QRect screen = platform::screens().geometry(nullptr);
    const int W = screen.width();
    const int H = screen.height();
    max = kFullValue;
    fullWidth_ = W - W / 10 - W / 100;
    barOrigin_ = QPoint(screen.left() + W / 10, screen.top() + (H / 10) * 8);
    setGeometry(QRect(barOrigin_, QSize(fullWidth_, H / 24)));
    paintGreen(this);
    symbolrect = QRect(W / 100, y(), x() - 2 * (W / 100), height());
    symbol = new QLabel(this, onTopWithoutBorder());
    symbol->setGeometry(symbolrect);
    paintGreen(symbol);
    symbol->hide();
    increment = double(fullWidth_) / max;
}

void Tvolumedisplay::draw(uint8_t i)
{
    delay->setInterval(kDelayMs);
    delayTag = 0;
    if (!delay->isActive()) delay->start();
    const bool muted = mainform && mainform->mutebut && mainform->mutebut->isChecked();
    // The bar and its symbol go back to their places at every showing: a window manager that
    // placed a hidden window elsewhere would otherwise keep it there (over the symbol).
    setGeometry(QRect(barOrigin_, QSize(library::roundHalfEven(i * increment), height())));
    symbol->setGeometry(symbolrect);
    symbol->show();
    settitle(muted ? QStringLiteral("Muted") : QStringLiteral("Volume"), i);
    show();
    QCoreApplication::processEvents();
}

void Tvolumedisplay::settitle(const QString& title, int value)
{
    const int w = symbol->width();
    const int h = symbol->height();
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(kGreen);
    QPainter painter(&picture);
    QFont font = controls::panelFont(titlePoints(w, h), true);
    painter.setFont(font);
    const QFontMetrics bold(font);
    painter.drawText(w / 2 - bold.horizontalAdvance(title) / 2, bold.ascent(), title);
    font.setBold(false);
    painter.setFont(font);
    const QFontMetrics plain(font);
    const QString valueText = QLatin1Char('(') + QString::number(value) + QLatin1Char(')');
    painter.drawText(w / 2 - plain.horizontalAdvance(valueText) / 2, bold.height() + 1 + plain.ascent(),
                     valueText);
    painter.end();
    symbol->setPixmap(QPixmap::fromImage(picture));
    symbol->setAccessibleName(title + QLatin1Char(' ') + valueText);
}

void Tvolumedisplay::delayTimer(QObject*)
{
    if (++delayTag < kTicksShown) return;
    vanish();
}

void Tvolumedisplay::vanish()
{
    hide();
    symbol->hide();
    delayTag = 0;
    delay->stop();
}

} // namespace player
