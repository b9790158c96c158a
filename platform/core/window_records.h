// The window system's records and the calls over them that the platform's own
// files share; window.cpp keeps the records and implements the calls.
#pragma once

#include <string>

#include "platform/base/bitmap.h"
#include "platform/base/handle_table.h"
#include "platform/base/messages.h"

namespace platform::detail {

struct WindowRecord {
    int class_index = -1;
    WindowProc procedure = nullptr;
    std::string title;
    unsigned style = 0;
    Window parent = Window::NONE;
    int control_id = 0;
    Rect outer;  // screen coordinates, or relative to the parent's client area; the frame included
    // The frame the host's window manager draws around the native window,
    // inside outer; when it draws none the platform draws its own frame.
    Insets host_frame;
    bool host_decorated = false;
    bool visible = false;
    bool enabled = true;
    Menu menu = Menu::NONE;
    Bitmap surface;  // the shown rectangle's size; the client area starts at client_origin
    bool invalid = false;
    Rect invalid_area;
    bool needs_present = false;
    // The frame and menu bar are painted at a present only when something
    // they show changed: client drawing never reaches them.
    bool frame_stale = true;
    bool overlay = false;  // shown with MSG_PAINT_OVERLAY's picture
    bool size_sent = false;
    Size last_sent_size;
};

struct ClassRecord {
    std::string name;
    WindowProc procedure = nullptr;
    unsigned style = 0;
    ColorWord background{};
};

// Slots never reused keep slot order as creation order, which hit testing, painting and presenting follow.
using WindowTable = HandleTable<WindowRecord, Window, SlotReuse::NEVER>;

// Null for Window::NONE, unknown and destroyed windows.
WindowRecord* find_window(Window window);
WindowTable& all_windows();
const ClassRecord* class_of(const WindowRecord& record);
int menu_bar_height(const WindowRecord& record);
// Frame thickness around the menu bar and client area, the host's or our own.
Insets frame_of(const WindowRecord& record);
// The part of the outer rectangle the platform shows: all of it, or what the host's frame leaves.
Rect shown_rect(const WindowRecord& record);
// Where the client area starts inside the surface.
Point client_origin(const WindowRecord& record);
Size client_size(const WindowRecord& record);
// Sends MSG_SIZE when the client size differs from the last one sent (or none was).
void notify_size(Window window);
// Hands changed surfaces to the backend.
void present_changed_windows();
// The top-level window owning a (child) window.
Window top_level_of(Window window);
// The window must be presented again, its frame and menu bar repainted.
void mark_changed(Window window);
// Only its client area changed.
void mark_client_changed(Window window);
// set_focus; activate_native false when the host itself moved the focus.
Window set_focus(Window window, bool activate_native);

// Keyboard state kept as input is injected.
void set_key_state(int virtual_key, bool down);

}  // namespace platform::detail
