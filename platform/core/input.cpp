// Injection calls: the one way input enters the platform.
#include "platform/core/input.h"

#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/core/window_records.h"

namespace platform {
namespace {

// Input for a disabled window (one whose modal dialog runs) is dropped, as is
// input for a window under a disabled top-level window.
bool accepts_input(Window window) {
    for (Window w = window; w != Window::NONE; w = parent_of(w))
        if (!is_enabled(w)) return false;
    return is_window(window);
}

// The deepest visible child of a top-level window under a client point.
Window child_at(Window window, int& x, int& y) {
    for (;;) {
        Window hit = Window::NONE;
        for (auto [child, record] : detail::all_windows()) {
            if (!record.visible || record.parent != window) continue;
            if (x >= record.outer.left && x < record.outer.right && y >= record.outer.top && y < record.outer.bottom)
                hit = child;
        }
        if (hit == Window::NONE) return window;
        Rect outer;
        get_window_rect(hit, outer);
        x -= outer.left;
        y -= outer.top;
        window = hit;
    }
}

// The window under a window-surface point of a top-level window's client
// area, with the point made relative to it; NONE on the frame, the bar or
// outside, or where input is not accepted.
Window client_target(Window window, int& x, int& y) {
    if (!accepts_input(window)) return Window::NONE;
    Point origin = client_origin(window);
    Rect client;
    get_client_rect(window, client);
    x -= origin.x;
    y -= origin.y;
    if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) return Window::NONE;
    Window target = child_at(window, x, y);
    return accepts_input(target) ? target : Window::NONE;
}

void post_key(int virtual_key, bool down) {
    bool repeat = down && is_key_down(virtual_key);
    detail::set_key_state(virtual_key, down);
    Window target = focus_window();
    if (target == Window::NONE || !accepts_input(target)) return;
    bool system = is_key_down(KEY_ALT) || virtual_key == KEY_F10;
    unsigned message = down ? (system ? MSG_SYSTEM_KEY_DOWN : MSG_KEY_DOWN) : (system ? MSG_SYSTEM_KEY_UP : MSG_KEY_UP);
    if (!down && virtual_key == KEY_ALT) message = MSG_SYSTEM_KEY_UP;
    std::intptr_t position = 1 | (static_cast<std::intptr_t>(current_modifiers()) << 16) | (repeat ? KEY_REPEAT : 0);
    post_message(target, message, static_cast<std::uintptr_t>(virtual_key), position);
}

}  // namespace

void inject_mouse_down(Window window, int x, int y, MouseButton button) {
    if (mouse_capture() != Window::NONE) {
        if (button == MouseButton::LEFT) post_message(window, MSG_CAPTURE_MOUSE_DOWN, 0, make_position(x, y));
        return;
    }
    if (!accepts_input(window) || parent_of(window) != Window::NONE) return;
    Point origin = client_origin(window);
    if (y < origin.y) {
        // Only the left button works the bar and the close box.
        if (button != MouseButton::LEFT) return;
        // Whoever owns the bar knows its entries.
        std::intptr_t entry = send_message(window, MSG_NONCLIENT_HIT_TEST, 0, make_position(x, y)) - 1;
        if (entry >= 0) post_message(window, MSG_OPEN_MENU, static_cast<std::uintptr_t>(entry), 0);
        Rect close = close_box_rect(window);
        if (x >= close.left && x < close.right && y >= close.top && y < close.bottom)
            post_message(window, MSG_CLOSE, 0, 0);
        return;
    }
    Window target = client_target(window, x, y);
    if (target == Window::NONE) return;
    if (button == MouseButton::LEFT && focus_window() != target && parent_of(target) == Window::NONE) set_focus(target);
    static constexpr unsigned DOWN[] = {MSG_LEFT_BUTTON_DOWN, MSG_MIDDLE_BUTTON_DOWN, MSG_RIGHT_BUTTON_DOWN};
    post_message(target, DOWN[static_cast<int>(button)], 1, make_position(x, y));
}

void inject_mouse_up(Window window, int x, int y, MouseButton button) {
    if (mouse_capture() != Window::NONE || parent_of(window) != Window::NONE) return;
    Window target = client_target(window, x, y);
    if (target == Window::NONE) return;
    static constexpr unsigned UP[] = {MSG_LEFT_BUTTON_UP, MSG_MIDDLE_BUTTON_UP, MSG_RIGHT_BUTTON_UP};
    post_message(target, UP[static_cast<int>(button)], 0, make_position(x, y));
}

void inject_mouse_move(Window window, int x, int y) {
    if (mouse_capture() != Window::NONE) {
        post_message(window, MSG_CAPTURE_MOUSE_MOVE, 0, make_position(x, y));
        return;
    }
    if (parent_of(window) != Window::NONE) return;
    Window target = client_target(window, x, y);
    // Moves pile up faster than anyone reads them: only the latest position matters.
    if (target != Window::NONE) post_coalesced_message(target, MSG_MOUSE_MOVE, 0, make_position(x, y));
}

void inject_mouse_wheel(Window window, int x, int y, int steps) {
    if (mouse_capture() != Window::NONE || parent_of(window) != Window::NONE || steps == 0) return;
    Window target = client_target(window, x, y);
    if (target != Window::NONE)
        post_message(target, MSG_MOUSE_WHEEL, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(steps)),
                     make_position(x, y));
}

void inject_click(Window window, int client_x, int client_y) {
    Point origin = client_origin(window);
    inject_mouse_down(window, client_x + origin.x, client_y + origin.y);
    inject_mouse_up(window, client_x + origin.x, client_y + origin.y);
}

void inject_key_down(int virtual_key) { post_key(virtual_key, true); }
void inject_key_up(int virtual_key) { post_key(virtual_key, false); }

void inject_key_press(int virtual_key) {
    inject_key_down(virtual_key);
    inject_key_up(virtual_key);
}

void inject_text(const char* text) {
    for (const char* p = text; p && *p; ++p) {
        bool shift = false;
        int key = key_for_character(static_cast<unsigned char>(*p), shift);
        if (key < 0) continue;
        if (shift) inject_key_down(KEY_SHIFT);
        inject_key_press(key);
        if (shift) inject_key_up(KEY_SHIFT);
    }
}

void inject_close(Window window) {
    if (accepts_input(window)) post_message(window, MSG_CLOSE, 0, 0);
}

void inject_resize(Window window, int width, int height) {
    Rect outer;
    if (!get_window_rect(window, outer)) return;
    Insets frame = host_decorated(window) ? window_frame(window) : Insets{};
    move_window(window, outer.left, outer.top, width + frame.left + frame.right, height + frame.top + frame.bottom);
}

void inject_move(Window window, int x, int y) {
    Rect outer;
    if (parent_of(window) != Window::NONE || !get_window_rect(window, outer)) return;
    Insets frame = host_decorated(window) ? window_frame(window) : Insets{};
    move_window(window, x - frame.left, y - frame.top, outer.width(), outer.height());
}

void inject_host_frame(Window window, int left, int top, int right, int bottom) {
    set_host_frame(window, Insets{left, top, right, bottom});
}

void inject_menu_choice(Window window, unsigned identifier) {
    if (accepts_input(window)) send_message(window, MSG_CHOOSE_MENU_ENTRY, identifier, 0);
}

void inject_open_menu(Window window) {
    if (accepts_input(window)) post_message(window, MSG_OPEN_MENU, 0, 0);
}

void inject_focus(Window window) {
    // The host already gave the native window the focus: asking for it again
    // would answer every focus change with another.
    if (parent_of(window) == Window::NONE) detail::set_focus(window, false);
}

void inject_expose(Window window) { detail::mark_changed(window); }

}  // namespace platform
