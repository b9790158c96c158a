// Message kinds and the window procedure's shape: the vocabulary shared by
// windows, the queue, timers, menus and dialogs (key codes: keyboard.h).
#pragma once

#include <cstdint>

#include "platform/base/handles.h"
#include "platform/base/keyboard.h"

namespace platform {

// A window procedure gets the window, the message and two parameter words.
using WindowProc = std::intptr_t (*)(Window window, unsigned message, std::uintptr_t word, std::intptr_t position);

struct Message {
    Window window = Window::NONE;
    unsigned message = 0;
    std::uintptr_t word = 0;
    std::intptr_t position = 0;
};

constexpr unsigned MSG_CREATE = 0x0001;
constexpr unsigned MSG_DESTROY = 0x0002;
constexpr unsigned MSG_SIZE = 0x0005;  // position: width low 16 bits, height high 16 bits
constexpr unsigned MSG_SET_FOCUS = 0x0007;
constexpr unsigned MSG_KILL_FOCUS = 0x0008;
constexpr unsigned MSG_ENABLE = 0x000A;
constexpr unsigned MSG_PAINT = 0x000F;
constexpr unsigned MSG_CLOSE = 0x0010;
constexpr unsigned MSG_QUIT = 0x0012;      // word: exit code; never dispatched
constexpr unsigned MSG_KEY_DOWN = 0x0100;  // word: virtual key
constexpr unsigned MSG_KEY_UP = 0x0101;
constexpr unsigned MSG_CHARACTER = 0x0102;  // word: character code
constexpr unsigned MSG_SYSTEM_KEY_DOWN = 0x0104;
constexpr unsigned MSG_SYSTEM_KEY_UP = 0x0105;
constexpr unsigned MSG_SYSTEM_CHARACTER = 0x0106;
// Sent by the platform, answered by the default procedure, which owns what
// lies around the client area: the position of the menu bar entry under a
// window-surface point plus one, 0 for none; the painting of our own frame and
// of the menu bar into the window's surface (word: the Bitmap*).
constexpr unsigned MSG_NONCLIENT_HIT_TEST = 0x0084;
constexpr unsigned MSG_NONCLIENT_PAINT = 0x0085;
constexpr unsigned MSG_INIT_DIALOG = 0x0110;  // word: focus control; position: initialisation value
constexpr unsigned MSG_COMMAND = 0x0111;      // word: identifier low 16 bits, notification high 16
constexpr unsigned MSG_TIMER = 0x0113;        // word: timer identifier
// Mouse messages: position: client x low 16 bits, y high 16 bits.
constexpr unsigned MSG_MOUSE_MOVE = 0x0200;
constexpr unsigned MSG_LEFT_BUTTON_DOWN = 0x0201;
constexpr unsigned MSG_LEFT_BUTTON_UP = 0x0202;
constexpr unsigned MSG_RIGHT_BUTTON_DOWN = 0x0204;
constexpr unsigned MSG_RIGHT_BUTTON_UP = 0x0205;
constexpr unsigned MSG_MIDDLE_BUTTON_DOWN = 0x0207;
constexpr unsigned MSG_MIDDLE_BUTTON_UP = 0x0208;
constexpr unsigned MSG_MOUSE_WHEEL = 0x020A;  // word: steps as a signed int, positive away from the user
// Asks the default procedure to open the window's menu bar (keyboard or click).
constexpr unsigned MSG_OPEN_MENU = 0x0400;  // word: popup index
// Mouse input while a window holds the capture (an open menu); position:
// window-surface x, y.
constexpr unsigned MSG_CAPTURE_MOUSE_DOWN = 0x0401;
constexpr unsigned MSG_CAPTURE_MOUSE_MOVE = 0x0402;
// Sent while a window shows an overlay (see set_window_overlay); word: the
// Bitmap* to paint it on, a copy of the surface.
constexpr unsigned MSG_PAINT_OVERLAY = 0x0403;
// Sent by inject_menu_choice; word: the command identifier to choose.
constexpr unsigned MSG_CHOOSE_MENU_ENTRY = 0x0404;

constexpr std::intptr_t make_position(int low, int high) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                      ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}
constexpr int low_half(std::intptr_t position) { return static_cast<int>(position & 0xFFFF); }
constexpr int high_half(std::intptr_t position) { return static_cast<int>((position >> 16) & 0xFFFF); }

}  // namespace platform
