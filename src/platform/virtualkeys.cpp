#include "platform/virtualkeys.h"

#include <QHash>
#include <QKeyEvent>
#include <QString>

namespace platform {

namespace {

bool fromKeypad(const QKeyEvent& event)
{
    return event.modifiers().testFlag(Qt::KeypadModifier);
}

// Keys whose code does not depend on whether the keypad gave them. The shifted signs of the
// main block map to the key that carries them on the US layout, as the codes name keys.
const QHash<int, uint16_t>& fixedCodes()
{
    static const QHash<int, uint16_t> codes{
        {Qt::Key_Backspace, vk::Back},
        {Qt::Key_Tab, vk::Tab},
        {Qt::Key_Backtab, vk::Tab},
        {Qt::Key_Clear, vk::Clear},
        {Qt::Key_Return, vk::Return},
        {Qt::Key_Enter, vk::Return},
        {Qt::Key_Shift, vk::Shift},
        {Qt::Key_Control, vk::Control},
        {Qt::Key_Alt, vk::Menu},
        {Qt::Key_AltGr, vk::Menu},
        {Qt::Key_Pause, vk::Pause},
        {Qt::Key_CapsLock, vk::Capital},
        {Qt::Key_Escape, vk::Escape},
        {Qt::Key_Space, vk::Space},
        {Qt::Key_PageUp, vk::Prior},
        {Qt::Key_PageDown, vk::Next},
        {Qt::Key_End, vk::End},
        {Qt::Key_Home, vk::Home},
        {Qt::Key_Left, vk::Left},
        {Qt::Key_Up, vk::Up},
        {Qt::Key_Right, vk::Right},
        {Qt::Key_Down, vk::Down},
        {Qt::Key_Print, vk::Snapshot},
        {Qt::Key_Insert, vk::Insert},
        {Qt::Key_Delete, vk::Delete},
        {Qt::Key_NumLock, vk::NumLock},
        {Qt::Key_ScrollLock, vk::ScrollLock},
        {Qt::Key_Exclam, vk::Key0 + 1},
        {Qt::Key_At, vk::Key0 + 2},
        {Qt::Key_NumberSign, vk::Key0 + 3},
        {Qt::Key_Dollar, vk::Key0 + 4},
        {Qt::Key_Percent, vk::Key0 + 5},
        {Qt::Key_AsciiCircum, vk::Key0 + 6},
        {Qt::Key_Ampersand, vk::Key0 + 7},
        {Qt::Key_ParenLeft, vk::Key0 + 9},
        {Qt::Key_ParenRight, vk::Key0},
        {Qt::Key_Semicolon, vk::Oem1},
        {Qt::Key_Colon, vk::Oem1},
        {Qt::Key_Equal, vk::OemPlus},
        {Qt::Key_Less, vk::OemComma},
        {Qt::Key_Underscore, vk::OemMinus},
        {Qt::Key_Greater, vk::OemPeriod},
        {Qt::Key_Question, vk::Oem2},
        {Qt::Key_QuoteLeft, vk::Oem3},
        {Qt::Key_AsciiTilde, vk::Oem3},
        {Qt::Key_BracketLeft, vk::Oem4},
        {Qt::Key_BraceLeft, vk::Oem4},
        {Qt::Key_Backslash, vk::Oem5},
        {Qt::Key_Bar, vk::Oem5},
        {Qt::Key_BracketRight, vk::Oem6},
        {Qt::Key_BraceRight, vk::Oem6},
        {Qt::Key_Apostrophe, vk::Oem7},
        {Qt::Key_QuoteDbl, vk::Oem7},
    };
    return codes;
}

// Keys that are the keypad's own when it gives them and another key's otherwise.
struct KeypadSign
{
    uint16_t keypad;
    uint16_t main;
};

const QHash<int, KeypadSign>& keypadSigns()
{
    static const QHash<int, KeypadSign> signs{
        {Qt::Key_Asterisk, {vk::Multiply, vk::Key0 + 8}}, {Qt::Key_Plus, {vk::Add, vk::OemPlus}},
        {Qt::Key_Minus, {vk::Subtract, vk::OemMinus}},    {Qt::Key_Slash, {vk::Divide, vk::Oem2}},
        {Qt::Key_Period, {vk::Decimal, vk::OemPeriod}},   {Qt::Key_Comma, {vk::Separator, vk::OemComma}},
    };
    return signs;
}

bool isEditingBlockKey(int key)
{
    switch (key) {
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

uint16_t virtualKey(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<uint16_t>((fromKeypad(event) ? vk::Numpad0 : vk::Key0) + (key - Qt::Key_0));
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint16_t>(vk::KeyA + (key - Qt::Key_A));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(vk::F1 + (key - Qt::Key_F1));
    if (const auto sign = keypadSigns().constFind(key); sign != keypadSigns().cend())
        return fromKeypad(event) ? sign->keypad : sign->main;
    return fixedCodes().value(key, 0);
}

bool isExtendedKey(const QKeyEvent& event)
{
    const int key = event.key();
    if (isEditingBlockKey(key)) return !fromKeypad(event);
    switch (key) {
    case Qt::Key_Enter:
    case Qt::Key_NumLock:
    case Qt::Key_Print:
        return true;
    case Qt::Key_Slash:
        return fromKeypad(event);
    default:
        return false;
    }
}

std::unique_ptr<QKeyEvent> withVirtualKey(const QKeyEvent& event, uint16_t key)
{
    int qtKey = 0;
    QString text;
    if (key >= vk::Numpad0 && key <= vk::Numpad9) {
        qtKey = Qt::Key_0 + (key - vk::Numpad0);
        text = QString(QChar(u'0' + (key - vk::Numpad0)));
    } else if (key == vk::Decimal) {
        qtKey = Qt::Key_Period;
        text = QStringLiteral(".");
    } else {
        return nullptr;
    }
    return std::make_unique<QKeyEvent>(event.type(), qtKey, event.modifiers() | Qt::KeypadModifier,
                                       event.nativeScanCode(), 0, event.nativeModifiers(), text,
                                       event.isAutoRepeat(), event.count(), event.device());
}

} // namespace platform
