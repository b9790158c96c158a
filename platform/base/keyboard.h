// Virtual key codes and the one keyboard layout (US) the platform knows: which
// character a key types with which modifiers, and which key types a character.
#pragma once

#include <cstdint>

namespace platform {

// Virtual key codes: letters are their upper-case ASCII codes, digits their ASCII codes.
constexpr int KEY_BACKSPACE = 0x08;
constexpr int KEY_TAB = 0x09;
constexpr int KEY_ENTER = 0x0D;
constexpr int KEY_SHIFT = 0x10;
constexpr int KEY_CONTROL = 0x11;
constexpr int KEY_ALT = 0x12;
constexpr int KEY_CAPS_LOCK = 0x14;
constexpr int KEY_ESCAPE = 0x1B;
constexpr int KEY_SPACE = 0x20;
constexpr int KEY_PAGE_UP = 0x21;
constexpr int KEY_PAGE_DOWN = 0x22;
constexpr int KEY_END = 0x23;
constexpr int KEY_HOME = 0x24;
constexpr int KEY_LEFT = 0x25;
constexpr int KEY_UP = 0x26;
constexpr int KEY_RIGHT = 0x27;
constexpr int KEY_DOWN = 0x28;
constexpr int KEY_INSERT = 0x2D;
constexpr int KEY_DELETE = 0x2E;
// F1 to F12 are KEY_F1 + 0 to KEY_F1 + 11.
constexpr int KEY_F1 = 0x70;
constexpr int KEY_F10 = 0x79;
constexpr int KEY_F12 = 0x7B;
// US-layout punctuation keys.
constexpr int KEY_SEMICOLON = 0xBA;
constexpr int KEY_EQUALS = 0xBB;
constexpr int KEY_COMMA = 0xBC;
constexpr int KEY_MINUS = 0xBD;
constexpr int KEY_PERIOD = 0xBE;
constexpr int KEY_SLASH = 0xBF;
constexpr int KEY_BACKQUOTE = 0xC0;
constexpr int KEY_LEFT_BRACKET = 0xDB;
constexpr int KEY_BACKSLASH = 0xDC;
constexpr int KEY_RIGHT_BRACKET = 0xDD;
constexpr int KEY_QUOTE = 0xDE;

// Key messages carry the modifier state of the moment the key was pressed in
// bits 16 to 18 of their position word, so translation sees that moment.
constexpr unsigned MODIFIER_SHIFT = 1;
constexpr unsigned MODIFIER_CONTROL = 2;
constexpr unsigned MODIFIER_CAPS_LOCK = 4;
// Set in a key-down's position when the key was already down: a repeat.
constexpr std::intptr_t KEY_REPEAT = std::intptr_t{1} << 30;
constexpr unsigned key_modifiers(std::intptr_t position) { return static_cast<unsigned>((position >> 16) & 7); }
// The character a key gives with these modifiers, or -1. Control+letter
// gives 1 to 26; Control with any other key gives none.
int character_for_key(int virtual_key, unsigned modifiers);

// The key typing a character and whether Shift is held for it; -1 when no
// key types it. '\n' types Enter, as '\r' does.
int key_for_character(int character, bool& shift);

}  // namespace platform
