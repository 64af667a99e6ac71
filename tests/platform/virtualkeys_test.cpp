// Qt key events as virtual key codes: digits and the keypad told apart, the signs of the main
// block, the extended keys, and the keypad copies the keyboard hook sends.

#include <QKeyEvent>
#include <gtest/gtest.h>

#include "platform/virtualkeys.h"

namespace {

namespace vk = platform::vk;

constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

struct Mapping
{
    int key;
    Qt::KeyboardModifiers modifiers;
    uint16_t code;
    bool extended;
};

class VirtualKeys : public ::testing::TestWithParam<Mapping>
{
};

TEST_P(VirtualKeys, CodeAndExtendedFlag)
{
    const QKeyEvent event(QEvent::KeyPress, GetParam().key, GetParam().modifiers);
    EXPECT_EQ(platform::virtualKey(event), GetParam().code) << "Qt key " << std::hex << GetParam().key;
    EXPECT_EQ(platform::isExtendedKey(event), GetParam().extended) << "Qt key " << std::hex << GetParam().key;
}

INSTANTIATE_TEST_SUITE_P(
    Table, VirtualKeys,
    ::testing::Values(
        // Digits: the main row and the keypad have codes of their own.
        Mapping{Qt::Key_0, Qt::NoModifier, 0x30, false}, Mapping{Qt::Key_9, Qt::NoModifier, 0x39, false},
        Mapping{Qt::Key_0, kKeypad, 0x60, false}, Mapping{Qt::Key_7, kKeypad, 0x67, false},
        Mapping{Qt::Key_9, kKeypad, 0x69, false},
        // Letters whatever Shift or Alt say.
        Mapping{Qt::Key_A, Qt::NoModifier, 0x41, false}, Mapping{Qt::Key_Z, Qt::ShiftModifier, 0x5A, false},
        Mapping{Qt::Key_O, Qt::AltModifier, 0x4F, false},
        // The keypad's signs, and the same signs of the main block.
        Mapping{Qt::Key_Asterisk, kKeypad, 0x6A, false}, Mapping{Qt::Key_Plus, kKeypad, 0x6B, false},
        Mapping{Qt::Key_Comma, kKeypad, 0x6C, false}, Mapping{Qt::Key_Minus, kKeypad, 0x6D, false},
        Mapping{Qt::Key_Period, kKeypad, 0x6E, false}, Mapping{Qt::Key_Slash, kKeypad, 0x6F, true},
        Mapping{Qt::Key_Asterisk, Qt::ShiftModifier, 0x38, false},
        Mapping{Qt::Key_Plus, Qt::ShiftModifier, 0xBB, false},
        Mapping{Qt::Key_Minus, Qt::NoModifier, 0xBD, false},
        Mapping{Qt::Key_Period, Qt::NoModifier, 0xBE, false},
        Mapping{Qt::Key_Slash, Qt::NoModifier, 0xBF, false},
        // Punctuation of the key table, plain and shifted.
        Mapping{Qt::Key_BracketLeft, Qt::NoModifier, 0xDB, false},
        Mapping{Qt::Key_BraceLeft, Qt::ShiftModifier, 0xDB, false},
        Mapping{Qt::Key_BracketRight, Qt::NoModifier, 0xDD, false},
        Mapping{Qt::Key_Semicolon, Qt::NoModifier, 0xBA, false},
        Mapping{Qt::Key_QuoteLeft, Qt::NoModifier, 0xC0, false},
        Mapping{Qt::Key_Equal, Qt::NoModifier, 0xBB, false},
        Mapping{Qt::Key_Exclam, Qt::ShiftModifier, 0x31, false},
        Mapping{Qt::Key_ParenRight, Qt::ShiftModifier, 0x30, false},
        // Navigation: the separate block is extended, the keypad's (NumLock off) is not.
        Mapping{Qt::Key_Home, Qt::NoModifier, 0x24, true}, Mapping{Qt::Key_Home, kKeypad, 0x24, false},
        Mapping{Qt::Key_Left, Qt::NoModifier, 0x25, true}, Mapping{Qt::Key_Left, kKeypad, 0x25, false},
        Mapping{Qt::Key_Right, Qt::NoModifier, 0x27, true}, Mapping{Qt::Key_Insert, kKeypad, 0x2D, false},
        Mapping{Qt::Key_Delete, Qt::NoModifier, 0x2E, true}, Mapping{Qt::Key_PageUp, kKeypad, 0x21, false},
        Mapping{Qt::Key_Clear, kKeypad, 0x0C, false},
        // Enter of the main block and of the keypad share a code; the keypad's is extended.
        Mapping{Qt::Key_Return, Qt::NoModifier, 0x0D, false}, Mapping{Qt::Key_Enter, kKeypad, 0x0D, true},
        Mapping{Qt::Key_Escape, Qt::NoModifier, 0x1B, false},
        Mapping{Qt::Key_Backspace, Qt::NoModifier, 0x08, false},
        Mapping{Qt::Key_Print, Qt::NoModifier, 0x2C, true},
        Mapping{Qt::Key_NumLock, Qt::NoModifier, 0x90, true},
        Mapping{Qt::Key_CapsLock, Qt::NoModifier, 0x14, false},
        Mapping{Qt::Key_ScrollLock, Qt::NoModifier, 0x91, false},
        Mapping{Qt::Key_F1, Qt::NoModifier, 0x70, false}, Mapping{Qt::Key_F12, Qt::NoModifier, 0x7B, false},
        // Keys without a code.
        Mapping{Qt::Key_VolumeUp, Qt::NoModifier, 0, false},
        Mapping{Qt::Key_Eacute, Qt::NoModifier, 0, false}));

TEST(VirtualKeyCopies, CarryTheKeypadKeyAndKeepTheRest)
{
    const QKeyEvent home(QEvent::KeyRelease, Qt::Key_Home, Qt::KeypadModifier | Qt::ShiftModifier, 79, 0xff95,
                         0x10, QString(), true, 1);
    const std::unique_ptr<QKeyEvent> seven = platform::withVirtualKey(home, vk::Numpad0 + 7);
    ASSERT_TRUE(seven);
    EXPECT_EQ(seven->type(), QEvent::KeyRelease);
    EXPECT_EQ(seven->key(), Qt::Key_7);
    EXPECT_EQ(seven->modifiers(), Qt::KeypadModifier | Qt::ShiftModifier);
    EXPECT_EQ(seven->text(), QStringLiteral("7"));
    EXPECT_TRUE(seven->isAutoRepeat());
    EXPECT_EQ(seven->nativeScanCode(), 79u);
    EXPECT_EQ(platform::virtualKey(*seven), vk::Numpad0 + 7);

    const QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    const std::unique_ptr<QKeyEvent> decimal = platform::withVirtualKey(del, vk::Decimal);
    ASSERT_TRUE(decimal);
    EXPECT_EQ(platform::virtualKey(*decimal), vk::Decimal);
    EXPECT_FALSE(platform::withVirtualKey(del, vk::Left));
    EXPECT_FALSE(platform::withVirtualKey(del, vk::KeyA));
}

} // namespace
