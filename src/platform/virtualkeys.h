#pragma once

// Virtual key codes: the numbers the jukebox's key table is written in (the codes of the classic
// PC keyboard interface), and the translation of Qt's key events into them and back. A key of
// the numeric keypad is told apart from the key of the same meaning elsewhere on the keyboard:
// the keypad keys are the "plain" ones, the separate arrow and editing keys the "extended" ones.
// Pure functions; any thread.

#include <QtGlobal>
#include <cstdint>
#include <memory>

class QKeyEvent;

namespace platform {

namespace vk {
constexpr uint16_t Back = 0x08;
constexpr uint16_t Tab = 0x09;
constexpr uint16_t Clear = 0x0C;
constexpr uint16_t Return = 0x0D;
constexpr uint16_t Shift = 0x10;
constexpr uint16_t Control = 0x11;
constexpr uint16_t Menu = 0x12; // Alt
constexpr uint16_t Pause = 0x13;
constexpr uint16_t Capital = 0x14; // Caps Lock
constexpr uint16_t Escape = 0x1B;
constexpr uint16_t Space = 0x20;
constexpr uint16_t Prior = 0x21; // Page Up
constexpr uint16_t Next = 0x22;  // Page Down
constexpr uint16_t End = 0x23;
constexpr uint16_t Home = 0x24;
constexpr uint16_t Left = 0x25;
constexpr uint16_t Up = 0x26;
constexpr uint16_t Right = 0x27;
constexpr uint16_t Down = 0x28;
constexpr uint16_t Snapshot = 0x2C; // Print Screen
constexpr uint16_t Insert = 0x2D;
constexpr uint16_t Delete = 0x2E;
constexpr uint16_t Key0 = 0x30; // '0'..'9' follow in order
constexpr uint16_t Key9 = 0x39;
constexpr uint16_t KeyA = 0x41; // 'A'..'Z' follow in order
constexpr uint16_t KeyZ = 0x5A;
constexpr uint16_t Numpad0 = 0x60; // keypad 0..9 follow in order
constexpr uint16_t Numpad9 = 0x69;
constexpr uint16_t Multiply = 0x6A;
constexpr uint16_t Add = 0x6B;
constexpr uint16_t Separator = 0x6C;
constexpr uint16_t Subtract = 0x6D;
constexpr uint16_t Decimal = 0x6E;
constexpr uint16_t Divide = 0x6F;
constexpr uint16_t F1 = 0x70; // F1..F24 follow in order
constexpr uint16_t NumLock = 0x90;
constexpr uint16_t ScrollLock = 0x91;
constexpr uint16_t Oem1 = 0xBA;      // ; :
constexpr uint16_t OemPlus = 0xBB;   // = +
constexpr uint16_t OemComma = 0xBC;  // , <
constexpr uint16_t OemMinus = 0xBD;  // - _
constexpr uint16_t OemPeriod = 0xBE; // . >
constexpr uint16_t Oem2 = 0xBF;      // / ?
constexpr uint16_t Oem3 = 0xC0;      // ` ~
constexpr uint16_t Oem4 = 0xDB;      // [ {
constexpr uint16_t Oem5 = 0xDC;      // \ |
constexpr uint16_t Oem6 = 0xDD;      // ] }
constexpr uint16_t Oem7 = 0xDE;      // ' "
constexpr uint16_t Count = 0x100;    // every code lies below this
} // namespace vk

// The virtual key code of `event`'s key; 0 for a key that has none.
uint16_t virtualKey(const QKeyEvent& event);

// True for the keys of the separate arrow and editing block, the keypad's Enter and Divide, the
// right-hand Control and Alt keys, NumLock and Print Screen; false for the numeric keypad's own
// keys and the rest of the keyboard.
bool isExtendedKey(const QKeyEvent& event);

// A copy of `event` that carries the virtual key `key` instead, with everything else kept
// (modifiers, repeat, native codes). Only the keypad's digit and decimal keys (Numpad0..9 and
// Decimal) can be put in; any other code gives null.
std::unique_ptr<QKeyEvent> withVirtualKey(const QKeyEvent& event, uint16_t key);

} // namespace platform
