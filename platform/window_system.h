// Internal records of the window system, shared by the platform's own files.
#pragma once

#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/window.h"

namespace platform::detail {

struct WindowRecord {
    bool alive = false;
    int class_index = -1;
    WindowProc procedure = nullptr;
    std::string title;
    unsigned style = 0;
    Window parent = Window::NONE;
    int control_id = 0;
    Rect outer;  // screen coordinates, or relative to the parent's client area
    bool visible = false;
    bool enabled = true;
    Menu menu = Menu::NONE;
    Bitmap surface;  // outer size; the client area starts at client_top
    bool invalid = false;
    Rect invalid_area;
    bool needs_present = false;
    bool size_sent = false;
    Size last_sent_size;
};

struct ClassRecord {
    std::string name;
    WindowProc procedure = nullptr;
    unsigned style = 0;
    ColorWord background = 0;
};

// Null for Window::NONE, unknown and destroyed windows.
WindowRecord* find_window(Window window);
std::vector<WindowRecord>& all_windows();
Window window_at(std::size_t index);
const ClassRecord* class_of(const WindowRecord& record);
int menu_bar_height(const WindowRecord& record);
Size client_size(const WindowRecord& record);
// Sends MSG_SIZE when the client size differs from the last one sent (or none was).
void notify_size(Window window);
// Hands changed surfaces to the backend.
void present_changed_windows();
// The top-level window owning a (child) window.
Window top_level_of(Window window);
void mark_changed(Window window);

void reset_queue();
// Forgets what the predefined controls keep per window (pressed button, edit state).
void reset_dialog_controls();
// Erases the invalid area with the class background and validates it.
bool erase_invalid(Window window);
// Keyboard state kept as input is injected.
void set_key_state(int virtual_key, bool down);

}  // namespace platform::detail
