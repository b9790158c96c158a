// Window classes and windows, with their retained surfaces and paint state.
#include "platform/core/window.h"

#include <algorithm>
#include <cstring>

#include "platform/core/backend.h"
#include "platform/core/window_records.h"

namespace platform {
namespace detail {
namespace {

std::vector<ClassRecord> classes;
WindowTable windows;
Window focus = Window::NONE;
Window capture = Window::NONE;
Bitmap overlay_picture;  // reused: an open menu is presented once per change

// Positions stay within this range so outer edges, and the offsets of nested
// children added up, never overflow an int.
constexpr int MAX_POSITION = 1 << 24;

}  // namespace

WindowRecord* find_window(Window window) { return windows.find(window); }

WindowTable& all_windows() { return windows; }

const ClassRecord* class_of(const WindowRecord& record) {
    if (record.class_index < 0 || record.class_index >= static_cast<int>(classes.size())) return nullptr;
    return &classes[static_cast<std::size_t>(record.class_index)];
}

int menu_bar_height(const WindowRecord& record) {
    return record.menu != Menu::NONE && record.parent == Window::NONE ? MENU_BAR_HEIGHT : 0;
}

Insets frame_of(const WindowRecord& record) {
    if (record.parent != Window::NONE) return Insets{};
    return record.host_decorated ? record.host_frame : own_frame(record.style);
}

Rect shown_rect(const WindowRecord& record) {
    if (!record.host_decorated) return record.outer;
    const Insets& f = record.host_frame;
    Rect shown{record.outer.left + f.left, record.outer.top + f.top, record.outer.right - f.right,
               record.outer.bottom - f.bottom};
    shown.right = std::max(shown.right, shown.left);
    shown.bottom = std::max(shown.bottom, shown.top);
    return shown;
}

Point client_origin(const WindowRecord& record) {
    int bar = menu_bar_height(record);
    if (record.host_decorated) return Point{0, bar};
    Insets f = frame_of(record);
    return Point{f.left, f.top + bar};
}

Size client_size(const WindowRecord& record) {
    Insets f = frame_of(record);
    int width = std::max(record.outer.width() - f.left - f.right, 0);
    int height = std::max(record.outer.height() - f.top - f.bottom - menu_bar_height(record), 0);
    return Size{width, height};
}

void notify_size(Window window) {
    WindowRecord* record = find_window(window);
    if (!record) return;
    Size size = client_size(*record);
    if (record->size_sent && size.width == record->last_sent_size.width && size.height == record->last_sent_size.height)
        return;
    record->size_sent = true;
    record->last_sent_size = size;
    send_message(window, MSG_SIZE, 0, make_position(size.width, size.height));
}

Window top_level_of(Window window) {
    WindowRecord* record = find_window(window);
    while (record && record->parent != Window::NONE) {
        window = record->parent;
        record = find_window(window);
    }
    return record ? window : Window::NONE;
}

void mark_changed(Window window) {
    if (WindowRecord* record = find_window(top_level_of(window))) {
        record->needs_present = true;
        record->frame_stale = true;
    }
}

void mark_client_changed(Window window) {
    if (WindowRecord* record = find_window(top_level_of(window))) record->needs_present = true;
}

void present_changed_windows() {
    if (!has_backend()) return;
    for (auto [window, record] : windows) {
        if (!record.needs_present || record.parent != Window::NONE) continue;
        record.needs_present = false;
        if (!record.visible) continue;
        if (record.frame_stale) {
            record.frame_stale = false;
            send_message(window, MSG_NONCLIENT_PAINT, reinterpret_cast<std::uintptr_t>(&record.surface), 0);
        }
        // Looked up again: the procedure may have created windows.
        WindowRecord* shown = find_window(window);
        if (!shown || !shown->visible) continue;
        if (!shown->overlay) {
            backend().present(window, shown->surface);
            continue;
        }
        overlay_picture = shown->surface;
        send_message(window, MSG_PAINT_OVERLAY, reinterpret_cast<std::uintptr_t>(&overlay_picture), 0);
        backend().present(window, overlay_picture);
    }
}

}  // namespace detail

using detail::find_window;
using detail::WindowRecord;

std::intptr_t send_message(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    detail::WindowRecord* record = detail::find_window(window);
    if (!record || !record->procedure) return 0;
    return record->procedure(window, message, word, position);
}

bool register_class(const WindowClass& window_class) {
    if (!window_class.name || !*window_class.name || !window_class.procedure) return false;
    for (const auto& existing : detail::classes)
        if (existing.name == window_class.name) return false;
    detail::classes.push_back(
        detail::ClassRecord{window_class.name, window_class.procedure, window_class.style, window_class.background});
    return true;
}

Window create_window(const char* class_name, const char* title, unsigned style, int x, int y, int width, int height,
                     Window parent, Instance, std::intptr_t create_value) {
    if (!class_name) return Window::NONE;
    int class_index = -1;
    for (std::size_t i = 0; i < detail::classes.size(); ++i)
        if (detail::classes[i].name == class_name) class_index = static_cast<int>(i);
    if (class_index < 0) return Window::NONE;
    if (parent != Window::NONE && !find_window(parent)) return Window::NONE;

    WindowRecord record;
    record.class_index = class_index;
    record.procedure = detail::classes[static_cast<std::size_t>(class_index)].procedure;
    record.title = title ? title : "";
    record.style = style & ~STYLE_VISIBLE;
    record.parent = (style & STYLE_CHILD) ? parent : Window::NONE;
    record.enabled = (style & STYLE_DISABLED) == 0;
    width = std::clamp(width, 0, 16384);
    height = std::clamp(height, 0, 16384);
    x = std::clamp(x, -detail::MAX_POSITION, detail::MAX_POSITION);
    y = std::clamp(y, -detail::MAX_POSITION, detail::MAX_POSITION);
    record.outer = Rect{x, y, x + width, y + height};
    if (record.parent == Window::NONE) record.surface = Bitmap(width, height, 0xFFFFFF);
    Window window = detail::windows.add(std::move(record));
    const WindowRecord* created = find_window(window);
    if (!created) return Window::NONE;
    if (created->parent == Window::NONE && has_backend()) {
        backend().create_native_window(window, title ? title : "", detail::shown_rect(*created),
                                       (style & STYLE_SIZING_BORDER) != 0);
    }
    send_message(window, MSG_CREATE, 0, create_value);
    if (find_window(window) && (style & STYLE_VISIBLE)) show_window(window, SHOW_NORMAL);
    return window;
}

bool destroy_window(Window window) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    // Children go first: a parent's destroy handler finds none of them left.
    for (auto [child, child_record] : detail::windows)
        if (child_record.parent == window) destroy_window(child);
    record = find_window(window);
    if (!record) return false;
    send_message(window, MSG_DESTROY, 0, 0);
    record = find_window(window);
    if (!record) return false;
    bool top_level = record->parent == Window::NONE;
    detail::windows.remove(window);
    if (detail::focus == window) detail::focus = Window::NONE;
    if (top_level && has_backend()) backend().destroy_native_window(window);
    return true;
}

bool is_window(Window window) { return find_window(window) != nullptr; }

bool show_window(Window window, int show_mode) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    bool was_visible = record->visible;
    bool visible = show_mode != SHOW_HIDE;
    record->visible = visible;
    bool top_level = record->parent == Window::NONE;
    // The native window is shown first, so that activating it can give it the focus.
    if (top_level && was_visible != visible && has_backend()) {
        backend().show_native_window(window, visible);
        // Focus given while it was hidden (a dialog's first control) reaches the screen now.
        if (visible && detail::top_level_of(detail::focus) == window) backend().activate_native_window(window);
    }
    if (visible) {
        if (top_level) {
            if (!was_visible) {
                record->invalid = true;
                record->invalid_area =
                    Rect{0, 0, detail::client_size(*record).width, detail::client_size(*record).height};
                record->needs_present = true;
            }
            if (show_mode != SHOW_NO_ACTIVATE) {
                set_focus(window);
                // The focus messages may have created windows (moving the
                // records) or destroyed this one.
                record = detail::find_window(window);
                if (!record) return was_visible;
            }
        } else {
            record->invalid = true;
            record->invalid_area = Rect{0, 0, record->outer.width(), record->outer.height()};
        }
    } else if (detail::focus == window) {
        detail::focus = Window::NONE;
    }
    if (visible) detail::notify_size(window);
    return was_visible;
}

bool is_visible(Window window) {
    WindowRecord* record = find_window(window);
    return record && record->visible;
}

namespace {

// Keeps the surface the size of the shown rectangle, keeping what overlaps.
void fit_surface(WindowRecord& record) {
    Rect shown = detail::shown_rect(record);
    if (shown.width() == record.surface.width && shown.height() == record.surface.height) return;
    Bitmap grown(shown.width(), shown.height(), 0xFFFFFF);
    for (int row = 0; row < std::min(grown.height, record.surface.height); ++row)
        std::copy_n(record.surface.row(row), std::min(grown.width, record.surface.width), grown.row(row));
    record.surface = std::move(grown);
    record.needs_present = true;
    record.frame_stale = true;
}

// After the outer rectangle or the frame changed: surface, native window,
// repaint by class style and the size notification.
void frame_changed(Window window, Size before) {
    WindowRecord* record = find_window(window);
    if (!record) return;
    if (record->parent == Window::NONE) {
        fit_surface(*record);
        if (has_backend()) backend().move_native_window(window, detail::shown_rect(*record));
    }
    Size after = detail::client_size(*record);
    const detail::ClassRecord* window_class = detail::class_of(*record);
    unsigned class_style = window_class ? window_class->style : 0;
    bool redraw = (after.width != before.width && (class_style & CLASS_REDRAW_ON_WIDTH)) ||
                  (after.height != before.height && (class_style & CLASS_REDRAW_ON_HEIGHT));
    if (redraw) invalidate(window);
    if (record->visible || record->size_sent) detail::notify_size(window);
}

}  // namespace

bool move_window(Window window, int x, int y, int width, int height) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    width = std::clamp(width, 0, 16384);
    height = std::clamp(height, 0, 16384);
    x = std::clamp(x, -detail::MAX_POSITION, detail::MAX_POSITION);
    y = std::clamp(y, -detail::MAX_POSITION, detail::MAX_POSITION);
    Size before = detail::client_size(*record);
    record->outer = Rect{x, y, x + width, y + height};
    frame_changed(window, before);
    return true;
}

bool set_host_frame(Window window, const Insets& frame) {
    WindowRecord* record = find_window(window);
    if (!record || record->parent != Window::NONE) return false;
    auto thin = [](int side) { return std::clamp(side, 0, 1024); };
    Insets clamped{thin(frame.left), thin(frame.top), thin(frame.right), thin(frame.bottom)};
    bool decorated = clamped.left || clamped.top || clamped.right || clamped.bottom;
    if (decorated == record->host_decorated && clamped.left == record->host_frame.left &&
        clamped.top == record->host_frame.top && clamped.right == record->host_frame.right &&
        clamped.bottom == record->host_frame.bottom)
        return true;
    Size before = detail::client_size(*record);
    record->host_decorated = decorated;
    record->host_frame = decorated ? clamped : Insets{};
    // The client area moved inside the surface: its old pixels are no longer in place.
    record->surface = Bitmap();
    fit_surface(*record);
    invalidate(window);
    frame_changed(window, before);
    return true;
}

bool get_client_rect(Window window, Rect& rect) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    Size size = detail::client_size(*record);
    rect = Rect{0, 0, size.width, size.height};
    return true;
}

bool get_window_rect(Window window, Rect& rect) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    rect = record->outer;
    return true;
}

int screen_width() { return has_backend() ? backend().screen_size().width : 0; }
int screen_height() { return has_backend() ? backend().screen_size().height : 0; }

const char* window_title(Window window) {
    WindowRecord* record = find_window(window);
    return record ? record->title.c_str() : "";
}

bool set_window_text(Window window, const char* text) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    record->title = text ? text : "";
    invalidate(window);
    if (record->parent == Window::NONE) detail::mark_changed(window);
    return true;
}

int get_window_text(Window window, char* buffer, int size) {
    WindowRecord* record = find_window(window);
    if (!buffer || size <= 0) return 0;
    if (!record) {
        buffer[0] = 0;
        return 0;
    }
    int length = static_cast<int>(std::min<std::size_t>(record->title.size(), static_cast<std::size_t>(size - 1)));
    std::memcpy(buffer, record->title.data(), static_cast<std::size_t>(length));
    buffer[length] = 0;
    return length;
}

Window parent_of(Window window) {
    WindowRecord* record = find_window(window);
    return record ? record->parent : Window::NONE;
}

unsigned window_style(Window window) {
    WindowRecord* record = find_window(window);
    return record ? record->style | (record->visible ? STYLE_VISIBLE : 0u) : 0u;
}

int window_id(Window window) {
    WindowRecord* record = find_window(window);
    return record ? record->control_id : 0;
}

bool set_window_id(Window window, int id) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    record->control_id = id;
    return true;
}

Window find_child(Window parent, int id) {
    for (auto [window, record] : detail::windows)
        if (record.parent == parent && record.control_id == id) return window;
    return Window::NONE;
}

bool enable_window(Window window, bool enable) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    bool was_disabled = !record->enabled;
    if (record->enabled != enable) {
        record->enabled = enable;
        send_message(window, MSG_ENABLE, enable ? 1 : 0, 0);
    }
    return was_disabled;
}

bool is_enabled(Window window) {
    WindowRecord* record = find_window(window);
    return record && record->enabled;
}

Window set_focus(Window window) { return detail::set_focus(window, true); }

namespace detail {
Window set_focus(Window window, bool activate_native) {
    Window previous = detail::focus;
    if (window != Window::NONE && !find_window(window)) return previous;
    if (previous == window) return previous;
    detail::focus = window;
    Window was_active = detail::top_level_of(previous);
    Window active = detail::top_level_of(window);
    if (was_active != active) {
        // Title bars show which window is active.
        detail::mark_changed(was_active);
        detail::mark_changed(active);
        WindowRecord* record = find_window(active);
        if (activate_native && record && record->visible && has_backend()) backend().activate_native_window(active);
    }
    if (find_window(previous)) send_message(previous, MSG_KILL_FOCUS, static_cast<std::uintptr_t>(window), 0);
    if (find_window(window)) send_message(window, MSG_SET_FOCUS, static_cast<std::uintptr_t>(previous), 0);
    return previous;
}
}  // namespace detail

Window focus_window() { return find_window(detail::focus) ? detail::focus : Window::NONE; }

bool invalidate(Window window) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    Size size = record->parent == Window::NONE ? detail::client_size(*record)
                                               : Size{record->outer.width(), record->outer.height()};
    record->invalid = true;
    record->invalid_area = Rect{0, 0, size.width, size.height};
    return true;
}

Bitmap* window_surface(Window window) {
    WindowRecord* record = find_window(window);
    return record && record->parent == Window::NONE ? &record->surface : nullptr;
}

Point client_origin(Window window) {
    WindowRecord* record = find_window(window);
    return record ? detail::client_origin(*record) : Point{};
}

Point client_screen_origin(Window window) {
    WindowRecord* record = find_window(window);
    if (!record) return Point{};
    Rect shown = detail::shown_rect(*record);
    Point origin = detail::client_origin(*record);
    return Point{shown.left + origin.x, shown.top + origin.y};
}

Insets window_frame(Window window) {
    WindowRecord* record = find_window(window);
    return record ? detail::frame_of(*record) : Insets{};
}

bool host_decorated(Window window) {
    WindowRecord* record = find_window(window);
    return record && record->host_decorated;
}

Rect close_box_rect(Window window) {
    WindowRecord* record = find_window(window);
    if (!record || record->parent != Window::NONE || record->host_decorated ||
        (record->style & STYLE_CAPTION) != STYLE_CAPTION || !(record->style & STYLE_SYSTEM_MENU))
        return Rect{};
    Insets frame = detail::frame_of(*record);
    int right = record->outer.width() - frame.right - 2;
    int top = frame.top - TITLE_BAR_HEIGHT + 2;
    return Rect{right - CLOSE_BOX_WIDTH, top, right, top + TITLE_BAR_HEIGHT - 4};
}

Insets own_frame(unsigned style) {
    if (style & STYLE_CHILD) return Insets{};
    int border = (style & STYLE_SIZING_BORDER)              ? SIZING_BORDER
                 : (style & STYLE_CAPTION) == STYLE_CAPTION ? FIXED_BORDER
                 : (style & STYLE_BORDER)                   ? THIN_BORDER
                                                            : 0;
    int title = (style & STYLE_CAPTION) == STYLE_CAPTION ? TITLE_BAR_HEIGHT : 0;
    return Insets{border, border + title, border, border};
}

Bitmap client_picture(Window window) {
    WindowRecord* record = find_window(window);
    if (!record || record->parent != Window::NONE) return Bitmap();
    Size size = detail::client_size(*record);
    Point origin = detail::client_origin(*record);
    Bitmap picture(size.width, size.height);
    int columns = std::clamp(record->surface.width - origin.x, 0, size.width);
    for (int y = 0; y < size.height && y + origin.y < record->surface.height; ++y)
        std::copy_n(record->surface.row(y + origin.y) + origin.x, columns, picture.row(y));
    return picture;
}

void reset_window_system() {
    detail::classes.clear();
    detail::windows.clear();
    detail::focus = Window::NONE;
    detail::capture = Window::NONE;
}

void set_mouse_capture(Window window) { detail::capture = is_window(window) ? window : Window::NONE; }

Window mouse_capture() { return is_window(detail::capture) ? detail::capture : Window::NONE; }

bool set_window_overlay(Window window, bool on) {
    WindowRecord* record = find_window(window);
    if (!record) return false;
    record->overlay = on;
    detail::mark_changed(window);
    return true;
}

}  // namespace platform
