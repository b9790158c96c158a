// The US layout as one table of keys and the characters they type.
#include "platform/base/keyboard.h"

namespace platform {
namespace {

struct KeyCharacters {
    int key;
    char plain;
    char shifted;
};

// Letters are left out: their case follows Shift and Caps Lock together.
constexpr KeyCharacters LAYOUT[] = {
    {'0', '0', ')'},
    {'1', '1', '!'},
    {'2', '2', '@'},
    {'3', '3', '#'},
    {'4', '4', '$'},
    {'5', '5', '%'},
    {'6', '6', '^'},
    {'7', '7', '&'},
    {'8', '8', '*'},
    {'9', '9', '('},
    {KEY_SPACE, ' ', ' '},
    {KEY_ENTER, 13, 13},
    {KEY_BACKSPACE, 8, 8},
    {KEY_TAB, 9, 9},
    {KEY_ESCAPE, 27, 27},
    {KEY_SEMICOLON, ';', ':'},
    {KEY_EQUALS, '=', '+'},
    {KEY_COMMA, ',', '<'},
    {KEY_MINUS, '-', '_'},
    {KEY_PERIOD, '.', '>'},
    {KEY_SLASH, '/', '?'},
    {KEY_BACKQUOTE, '`', '~'},
    {KEY_LEFT_BRACKET, '[', '{'},
    {KEY_BACKSLASH, '\\', '|'},
    {KEY_RIGHT_BRACKET, ']', '}'},
    {KEY_QUOTE, '\'', '"'},
};

}  // namespace

int character_for_key(int key, unsigned modifiers) {
    bool shift = (modifiers & MODIFIER_SHIFT) != 0;
    bool control = (modifiers & MODIFIER_CONTROL) != 0;
    if (key >= 'A' && key <= 'Z') {
        if (control) return key - 'A' + 1;
        bool upper = shift != ((modifiers & MODIFIER_CAPS_LOCK) != 0);
        return upper ? key : key - 'A' + 'a';
    }
    if (control) return -1;
    for (const KeyCharacters& entry : LAYOUT)
        if (entry.key == key) return shift ? entry.shifted : entry.plain;
    return -1;
}

int key_for_character(int character, bool& shift) {
    shift = false;
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    if (character >= 'A' && character <= 'Z') {
        shift = true;
        return character;
    }
    if (character == '\n') character = 13;
    for (const KeyCharacters& entry : LAYOUT) {
        if (entry.plain == character) return entry.key;
        if (entry.shifted == character) {
            shift = true;
            return entry.key;
        }
    }
    return -1;
}

}  // namespace platform
