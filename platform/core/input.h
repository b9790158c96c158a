// The one way input enters the platform: the screen backend turns native
// events into these calls, and tests call them too.
#pragma once

#include "platform/base/handles.h"

namespace platform {

// Window-surface coordinates (frame and menu bar around the client area): a
// left press on the bar opens the menu, one on our own close box closes the
// window; a press in the client area becomes a button message, one on the
// frame is ignored. A key-down for a key already down is marked KEY_REPEAT.
enum class MouseButton { LEFT, MIDDLE, RIGHT };
void inject_mouse_down(Window window, int x, int y, MouseButton button = MouseButton::LEFT);
void inject_mouse_up(Window window, int x, int y, MouseButton button = MouseButton::LEFT);
// The pointer over the window: the open menu tracks it, the client area gets
// MSG_MOUSE_MOVE, one for a run of moves with nothing between them.
void inject_mouse_move(Window window, int x, int y);
// Wheel steps at a window-surface point, positive away from the user.
void inject_mouse_wheel(Window window, int x, int y, int steps);
// A whole click at a client-area point.
void inject_click(Window window, int client_x, int client_y);
// Keys go to the focus window.
void inject_key_down(int virtual_key);
void inject_key_up(int virtual_key);
void inject_key_press(int virtual_key);
// Presses the keys that type this ASCII text (Shift where needed).
void inject_text(const char* text);
void inject_close(Window window);
// New size and screen position of what the native window shows (inside the
// host's decorations, when it draws them), changed by the user.
void inject_resize(Window window, int width, int height);
void inject_move(Window window, int x, int y);
// The host's decorations around the native window (all zero when it draws none).
void inject_host_frame(Window window, int left, int top, int right, int bottom);
// As choosing the menu entry with this identifier with the mouse.
void inject_menu_choice(Window window, unsigned identifier);
void inject_open_menu(Window window);
void inject_focus(Window window);
// The native window needs its pixels again (exposure).
void inject_expose(Window window);

}  // namespace platform
