// Window classes and windows. A top-level window's outer rectangle holds its
// frame, title bar and menu bar as well as its client area. Where the host's
// window manager decorates the native window, its decorations take the place
// of our own frame and title bar inside the same outer rectangle.
#pragma once

#include <cstdint>

#include "platform/base/bitmap.h"
#include "platform/base/messages.h"

namespace platform {

using Instance = void*;

constexpr unsigned CLASS_REDRAW_ON_WIDTH = 0x0002;
constexpr unsigned CLASS_REDRAW_ON_HEIGHT = 0x0001;

constexpr unsigned STYLE_CAPTION = 0x00C00000;
constexpr unsigned STYLE_SYSTEM_MENU = 0x00080000;  // close box
constexpr unsigned STYLE_SIZING_BORDER = 0x00040000;
constexpr unsigned STYLE_MINIMIZE_BOX = 0x00020000;
constexpr unsigned STYLE_MAXIMIZE_BOX = 0x00010000;
constexpr unsigned STYLE_OVERLAPPED_WINDOW =
    STYLE_CAPTION | STYLE_SYSTEM_MENU | STYLE_SIZING_BORDER | STYLE_MINIMIZE_BOX | STYLE_MAXIMIZE_BOX;
constexpr unsigned STYLE_POPUP = 0x80000000;
constexpr unsigned STYLE_CHILD = 0x40000000;
constexpr unsigned STYLE_VISIBLE = 0x10000000;
constexpr unsigned STYLE_DISABLED = 0x08000000;
constexpr unsigned STYLE_BORDER = 0x00800000;
constexpr unsigned STYLE_GROUP = 0x00020000;
constexpr unsigned STYLE_TABSTOP = 0x00010000;

constexpr int SHOW_HIDE = 0;
constexpr int SHOW_NORMAL = 1;
constexpr int SHOW_MINIMIZED = 2;
constexpr int SHOW_MAXIMIZED = 3;
constexpr int SHOW_NO_ACTIVATE = 4;
constexpr int SHOW_SHOW = 5;  // show and activate, keep size

// Height of the menu bar the platform draws at the top of a window with a menu.
constexpr int MENU_BAR_HEIGHT = 20;
// Our own frame, drawn where the host draws none: a title bar across the top
// of a window with a caption, and a border on all four sides, thicker for a
// sizable window.
constexpr int TITLE_BAR_HEIGHT = 18;
constexpr int FIXED_BORDER = 3;
constexpr int SIZING_BORDER = 4;
constexpr int THIN_BORDER = 1;  // a plain border without a caption
constexpr int CLOSE_BOX_WIDTH = 16;

// The frame our platform draws for a top-level window of this style.
Insets own_frame(unsigned style);

struct WindowClass {
    const char* name = nullptr;
    WindowProc procedure = nullptr;
    unsigned style = 0;
    ColorWord background = color_word(255, 255, 255);
    Instance instance = nullptr;
    const void* icon = nullptr;    // accepted, not shown
    const void* cursor = nullptr;  // accepted, not shown
};

// False (and no change) when the name is taken or the class is incomplete.
bool register_class(const WindowClass& window_class);

// A direct call of the window's procedure; 0 for a destroyed window.
std::intptr_t send_message(Window window, unsigned message, std::uintptr_t word, std::intptr_t position);

// Calls the procedure with MSG_CREATE before it returns. Window::NONE when the
// class is unknown. A child window is placed relative to its parent's client area.
Window create_window(const char* class_name, const char* title, unsigned style, int x, int y, int width, int height,
                     Window parent, Instance instance, std::intptr_t create_value = 0);
bool destroy_window(Window window);
bool is_window(Window window);
// Returns whether the window was visible before.
bool show_window(Window window, int show_mode);
bool is_visible(Window window);
bool move_window(Window window, int x, int y, int width, int height);
// The host's decorations around a top-level window (all zero: none, so we draw
// our own frame). The outer rectangle stays; the client area changes with it.
bool set_host_frame(Window window, const Insets& frame);
// Client rectangle: left and top 0.
bool get_client_rect(Window window, Rect& rect);
// Outer rectangle in screen coordinates (children: relative to the parent's client area).
bool get_window_rect(Window window, Rect& rect);
int screen_width();
int screen_height();
const char* window_title(Window window);  // "" for a destroyed window
bool set_window_text(Window window, const char* text);
int get_window_text(Window window, char* buffer, int size);
Window parent_of(Window window);
unsigned window_style(Window window);
int window_id(Window window);  // a child's control identifier
Window find_child(Window parent, int id);
bool set_window_id(Window window, int id);

// Returns whether it was disabled before.
bool enable_window(Window window, bool enable);
bool is_enabled(Window window);
// Returns the window that had the focus.
Window set_focus(Window window);
Window focus_window();

// Invalidates the whole client area (erase with the class background at paint).
bool invalidate(Window window);

// The window's retained pixels: the outer rectangle, or the part of it inside
// the host's decorations. Null for a destroyed window.
Bitmap* window_surface(Window window);
// The client area's offset inside window_surface.
Point client_origin(Window window);
// The client area's top-left corner on the screen (children: in the parent's client area).
Point client_screen_origin(Window window);
// The frame around menu bar and client area: the host's decorations, or ours.
Insets window_frame(Window window);
bool host_decorated(Window window);
// The close box of our own title bar, in surface coordinates; empty when the
// host decorates the window or it has no close box.
Rect close_box_rect(Window window);
// A copy of the client area as the window shows it.
Bitmap client_picture(Window window);

// While a window holds the capture, mouse presses and moves anywhere go to it
// as MSG_CAPTURE_MOUSE_* in window-surface coordinates and releases are
// dropped (the modal menu loop holds it). Window::NONE releases it.
void set_mouse_capture(Window window);
Window mouse_capture();
// A window with an overlay on shows a copy of its surface with the overlay
// painted on it (MSG_PAINT_OVERLAY at each present); its own pixels stay.
bool set_window_overlay(Window window, bool on);

// Forgets every window and class; reset_platform resets every floor.
void reset_window_system();

}  // namespace platform
