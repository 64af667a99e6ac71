#include "osk/onscreenkeyboard.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "library/osk.h"
#include "platform/keystrokes.h"

namespace osk {

namespace {

constexpr int kPollMs = 50;
constexpr int kMessageSize = 256;
const QString kClose = QStringLiteral("close");

QString keyCaption(QChar key)
{
    if (key == u'\b') return QStringLiteral("Back");
    if (key == u'\r') return QStringLiteral("Enter");
    if (key == u' ') return QStringLiteral("Space");
    return QString(key);
}

} // namespace

// Every screen that opens the keyboard takes names (artists, albums, titles) or digits (the passcode),
// so both command lines get the digits and the letters.
QStringList OnScreenKeyboard::layout()
{
    return {QStringLiteral("1234567890"), QStringLiteral("QWERTYUIOP"), QStringLiteral("ASDFGHJKL\b"),
            QStringLiteral("ZXCVBNM \r")};
}

OnScreenKeyboard::OnScreenKeyboard()
{
    // Out of the window manager's hands: a managed window, even one kept on top, stands below the
    // focused full-screen jukebox.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    grid->setContentsMargins(2, 2, 2, 2);
    const QStringList rows = layout();
    for (int row = 0; row < rows.size(); ++row) {
        int column = 0;
        for (const QChar key : rows.at(row)) {
            // The space bar is three keys wide.
            const int span = key == u' ' ? 3 : 1;
            addKey(grid, key, row, column, span);
            column += span;
        }
    }
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &OnScreenKeyboard::readMailslot);
}

void OnScreenKeyboard::addKey(QGridLayout* grid, QChar key, int row, int column, int span)
{
    auto* button = new QPushButton(keyCaption(key), this);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The keys share whatever size the command line gives the keyboard, however small.
    button->setMinimumSize(1, 1);
    connect(button, &QPushButton::clicked, this, [key] { platform::sendKeystroke(key); });
    grid->addWidget(button, row, column, 1, span);
}

bool OnScreenKeyboard::listen()
{
    if (!mailslot_.open(library::oskMailslotName())) return false;
    poll_->start();
    return true;
}

void OnScreenKeyboard::readMailslot()
{
    for (QByteArray message = mailslot_.read(kMessageSize); !message.isEmpty();
         message = mailslot_.read(kMessageSize)) {
        // The text ends at its zero byte.
        if (QString::fromUtf8(message.left(message.indexOf('\0'))) == kClose) QCoreApplication::quit();
    }
}

QRect keyboardGeometry(const QStringList& arguments, const QRect& screen)
{
    if (arguments.size() < 3) return {};
    bool topOk = false;
    bool widthOk = false;
    bool heightOk = false;
    const int top = arguments.at(0).toInt(&topOk);
    const int widthShare = arguments.at(1).toInt(&widthOk);
    const int heightShare = arguments.at(2).toInt(&heightOk);
    if (!topOk || !widthOk || !heightOk || widthShare <= 0 || heightShare <= 0) return {};
    const int width = screen.width() * widthShare / 100;
    // The screens that type leave the lowest third free for the keyboard: it stands there, at the
    // bottom edge, and never climbs above the top the command line names.
    const int height = std::min(screen.height() * heightShare / 100, screen.height() / 3);
    const int below = std::max(top, screen.height() - height);
    return QRect(screen.x() + (screen.width() - width) / 2, screen.y() + below, width, height);
}

} // namespace osk
