// Dialogs from in-memory templates: reading the template, creating the dialog
// and its controls in dialog units, and the modal loop with the dialog's own
// keyboard handling. The controls themselves live in dialog_controls.cpp.
#include <cassert>
#include <cstdint>
#include <vector>

#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/core/window_records.h"
#include "platform/drawing/drawing_context.h"
#include "platform/drawing/font.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/dialog.h"
#include "platform/ui/modal_loop.h"

namespace platform {
namespace {

constexpr const char* DIALOG_CLASS = "Dialog";

// Reads little-endian 16- and 32-bit fields; any read past the end marks the
// whole template as unusable.
class TemplateReader {
public:
    TemplateReader(const void* block, std::size_t size)
        : bytes_(static_cast<const std::uint8_t*>(block)), size_(size) {}

    bool ok() const { return ok_; }
    std::uint16_t word() {
        if (!ok_ || offset_ > size_ || size_ - offset_ < 2) {
            ok_ = false;
            return 0;
        }
        auto value = static_cast<std::uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return value;
    }
    std::uint32_t dword() {
        std::uint32_t low = word();
        std::uint32_t high = word();
        return low | (high << 16);
    }
    int signed_word() { return static_cast<std::int16_t>(word()); }
    // Offsets count from the start of the template.
    void align(std::size_t boundary) { offset_ = (offset_ + boundary - 1) / boundary * boundary; }
    // A zero-terminated text of 16-bit units; units above 0xFF become '?'.
    std::string text(std::uint16_t first) {
        std::string result;
        for (std::uint16_t unit = first; ok_ && unit != 0; unit = word())
            result += unit <= 0xFF ? static_cast<char>(unit) : '?';
        return result;
    }
    std::string text() { return text(word()); }
    void bytes(std::size_t count, std::vector<std::uint8_t>& out) {
        if (!ok_ || offset_ > size_ || size_ - offset_ < count) {
            ok_ = false;
            return;
        }
        out.assign(bytes_ + offset_, bytes_ + offset_ + count);
        offset_ += count;
    }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

// A running modal dialog; lives in the frame of dialog_box_indirect.
struct RunningDialog {
    Window window = Window::NONE;
    DialogProc procedure = nullptr;
    std::vector<Window> controls;  // template order, which is the tab order
    Window focus_control = Window::NONE;
    bool ended = false;
    std::intptr_t result = 0;
};

std::vector<RunningDialog*> running;

RunningDialog* find_running(Window window) {
    for (RunningDialog* dialog : running)
        if (dialog->window == window) return dialog;
    return nullptr;
}

bool is_inside(Window window, Window dialog) {
    for (Window w = window; w != Window::NONE; w = parent_of(w))
        if (w == dialog) return true;
    return false;
}

int scale(int value, int base, int divisor) {
    long long product = static_cast<long long>(value) * base;
    return static_cast<int>((product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor);
}

bool takes_tab(Window control) {
    return is_window(control) && is_visible(control) && is_enabled(control) &&
           (window_style(control) & STYLE_TABSTOP) != 0;
}

Window first_tab_stop(const RunningDialog& dialog) {
    for (Window control : dialog.controls)
        if (takes_tab(control)) return control;
    return Window::NONE;
}

// The dialog's control that holds the focus (the focus may sit in a child of it).
int focused_control_index(const RunningDialog& dialog) {
    for (Window w = focus_window(); w != Window::NONE && w != dialog.window; w = parent_of(w))
        for (std::size_t i = 0; i < dialog.controls.size(); ++i)
            if (dialog.controls[i] == w) return static_cast<int>(i);
    return -1;
}

void move_focus(const RunningDialog& dialog, bool backwards) {
    int count = static_cast<int>(dialog.controls.size());
    if (count == 0) return;
    int current = focused_control_index(dialog);
    int start = current >= 0 ? current : (backwards ? 0 : count - 1);
    for (int step = 1; step <= count; ++step) {
        int i = ((start + (backwards ? -step : step)) % count + count) % count;
        Window control = dialog.controls[static_cast<std::size_t>(i)];
        if (takes_tab(control)) {
            set_focus(control);
            return;
        }
    }
}

void send_command(Window dialog, int id, Window control) {
    auto word = static_cast<std::uintptr_t>((id & 0xFFFF) | (BUTTON_CLICKED << 16));
    send_message(dialog, MSG_COMMAND, word, static_cast<std::intptr_t>(control));
}

void press_default_button(const RunningDialog& dialog, const Message& message) {
    Window focused = focus_window();
    if (is_inside(focused, dialog.window) && focused != dialog.window &&
        (send_message(focused, MSG_GET_DIALOG_CODE, message.word, 0) &
         (DIALOG_CODE_DEFAULT_PUSH_BUTTON | DIALOG_CODE_PUSH_BUTTON))) {
        send_command(dialog.window, window_id(focused), focused);
        return;
    }
    for (Window control : dialog.controls) {
        if (is_window(control) &&
            (send_message(control, MSG_GET_DIALOG_CODE, message.word, 0) & DIALOG_CODE_DEFAULT_PUSH_BUTTON)) {
            if (is_enabled(control)) send_command(dialog.window, window_id(control), control);
            return;
        }
    }
    send_command(dialog.window, ID_OK, find_child(dialog.window, ID_OK));
}

// Tab, Enter and Escape for the dialog's windows; true when the key was taken.
bool handle_dialog_key(const RunningDialog& dialog, const Message& message) {
    if (message.message != MSG_KEY_DOWN || !is_inside(message.window, dialog.window)) return false;
    int key = static_cast<int>(message.word & 0xFF);
    if (message.window != dialog.window &&
        (send_message(message.window, MSG_GET_DIALOG_CODE, message.word, 0) & DIALOG_CODE_WANT_MESSAGE))
        return false;
    switch (key) {
    case KEY_TAB: move_focus(dialog, (key_modifiers(message.position) & MODIFIER_SHIFT) != 0); return true;
    case KEY_ENTER: press_default_button(dialog, message); return true;
    case KEY_ESCAPE: send_command(dialog.window, ID_CANCEL, find_child(dialog.window, ID_CANCEL)); return true;
    default: return false;
    }
}

// Remembers the control with the focus, and takes the focus back from a
// window that cannot take input (the disabled owner) or from nowhere.
void keep_focus(RunningDialog& dialog) {
    if (dialog.ended || !is_window(dialog.window)) return;
    Window focused = focus_window();
    if (focused != dialog.window && is_inside(focused, dialog.window)) {
        dialog.focus_control = focused;
        return;
    }
    bool usable = focused != Window::NONE;
    for (Window w = focused; w != Window::NONE; w = parent_of(w))
        if (!is_enabled(w)) usable = false;
    if (!usable) set_focus(dialog.window);
}

std::intptr_t default_dialog_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    RunningDialog* dialog = find_running(window);
    switch (message) {
    case MSG_PAINT: {
        PaintInfo paint;
        begin_paint(window, paint);
        end_paint(window, paint);
        // The background was painted over the controls; they paint after it.
        if (dialog)
            for (Window control : dialog->controls) invalidate(control);
        return 0;
    }
    case MSG_CLOSE: send_command(window, ID_CANCEL, find_child(window, ID_CANCEL)); return 0;
    case MSG_SET_FOCUS:
        if (dialog && is_window(dialog->focus_control) && is_inside(dialog->focus_control, window))
            set_focus(dialog->focus_control);
        return 0;
    default: return default_window_proc(window, message, word, position);
    }
}

std::intptr_t dialog_window_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    RunningDialog* dialog = find_running(window);
    if (dialog && dialog->procedure) {
        std::intptr_t handled = dialog->procedure(window, message, word, position);
        if (handled) return handled;
    }
    return default_dialog_proc(window, message, word, position);
}

void register_dialog_class() {
    WindowClass dialog_class;
    dialog_class.name = DIALOG_CLASS;
    dialog_class.procedure = dialog_window_proc;
    dialog_class.background = DIALOG_FACE_COLOR;
    register_class(dialog_class);
}

Rect dialog_rect(int x, int y, int width, int height) {
    Rect rect{x, y, x + width, y + height};
    map_dialog_rect(rect);
    return rect;
}

// Creates the dialog hidden, with its controls; Window::NONE when a control's
// class is not registered.
Window create_dialog(const DialogTemplate& parsed, Instance instance, Window owner, RunningDialog& dialog) {
    // The template gives the client area; the frame comes around it.
    unsigned style = (parsed.style & ~(STYLE_CHILD | STYLE_VISIBLE | STYLE_DISABLED)) | STYLE_POPUP;
    Insets frame = own_frame(style);
    Rect client = dialog_rect(0, 0, parsed.width, parsed.height);
    Size size{client.width() + frame.left + frame.right, client.height() + frame.top + frame.bottom};
    Rect place = dialog_rect(parsed.x, parsed.y, 0, 0);
    int x = place.left - frame.left;
    int y = place.top - frame.top;
    if (parsed.style & DIALOG_CENTER) {
        x = (screen_width() - size.width) / 2;
        y = (screen_height() - size.height) / 2;
    } else if (owner != Window::NONE && !(parsed.style & DIALOG_ABSOLUTE_ALIGN)) {
        Point owner_client = client_screen_origin(owner);
        x += owner_client.x;
        y += owner_client.y;
    }
    Window window =
        create_window(DIALOG_CLASS, parsed.title.c_str(), style, x, y, size.width, size.height, Window::NONE, instance);
    if (window == Window::NONE) return Window::NONE;
    dialog.window = window;
    for (const DialogItemTemplate& item : parsed.items) {
        Rect area = dialog_rect(item.x, item.y, item.width, item.height);
        auto creation = item.creation_data.empty() ? 0 : reinterpret_cast<std::intptr_t>(item.creation_data.data());
        Window control = create_window(item.class_name.c_str(), item.text.c_str(), item.style | STYLE_CHILD, area.left,
                                       area.top, area.width(), area.height(), window, instance, creation);
        if (control == Window::NONE) {
            destroy_window(window);
            return Window::NONE;
        }
        set_window_id(control, item.id);
        dialog.controls.push_back(control);
    }
    return window;
}

}  // namespace

bool parse_dialog_template(const void* block, std::size_t size, DialogTemplate& parsed) {
    parsed = DialogTemplate{};
    if (!block) return false;
    TemplateReader reader(block, size);
    parsed.style = reader.dword();
    if ((parsed.style & 0xFFFF) == 0x0001 && (parsed.style >> 16) == 0xFFFF) return false;
    parsed.extended_style = reader.dword();
    int count = reader.word();
    parsed.x = reader.signed_word();
    parsed.y = reader.signed_word();
    parsed.width = reader.signed_word();
    parsed.height = reader.signed_word();
    std::uint16_t menu = reader.word();
    parsed.has_menu = menu != 0;
    if (menu == 0xFFFF)
        reader.word();
    else if (menu != 0)
        reader.text(menu);
    std::uint16_t window_class = reader.word();
    parsed.has_class = window_class != 0;
    if (window_class == 0xFFFF)
        reader.word();
    else if (window_class != 0)
        reader.text(window_class);
    parsed.title = reader.text();
    if (parsed.style & DIALOG_SET_FONT) {
        parsed.font_point_size = reader.word();
        parsed.font_face = reader.text();
    }
    for (int i = 0; i < count && reader.ok(); ++i) {
        DialogItemTemplate item;
        reader.align(4);
        item.style = reader.dword();
        item.extended_style = reader.dword();
        item.x = reader.signed_word();
        item.y = reader.signed_word();
        item.width = reader.signed_word();
        item.height = reader.signed_word();
        item.id = reader.word();
        std::uint16_t class_first = reader.word();
        if (class_first == 0xFFFF) {
            item.class_atom = reader.word();
            switch (item.class_atom) {
            case BUTTON_CLASS_ATOM: item.class_name = BUTTON_CLASS; break;
            case EDIT_CLASS_ATOM: item.class_name = EDIT_CLASS; break;
            case STATIC_CLASS_ATOM: item.class_name = STATIC_CLASS; break;
            default: return false;  // list boxes, scroll bars and combo boxes are not provided
            }
        } else {
            item.class_name = reader.text(class_first);
            if (item.class_name.empty()) return false;
        }
        std::uint16_t text_first = reader.word();
        if (text_first == 0xFFFF)
            item.text_ordinal = reader.word();
        else
            item.text = reader.text(text_first);
        std::uint16_t extra = reader.word();
        if (extra == 1) return false;
        // The size word counts itself.
        if (extra > 1) reader.bytes(extra - 2u, item.creation_data);
        parsed.items.push_back(std::move(item));
    }
    return reader.ok();
}

int dialog_base_unit_x() { return text_metrics(find_font(system_font_request())).average_char_width; }
int dialog_base_unit_y() { return text_metrics(find_font(system_font_request())).height; }

void map_dialog_rect(Rect& rect) {
    int base_x = dialog_base_unit_x();
    int base_y = dialog_base_unit_y();
    rect.left = scale(rect.left, base_x, 4);
    rect.right = scale(rect.right, base_x, 4);
    rect.top = scale(rect.top, base_y, 8);
    rect.bottom = scale(rect.bottom, base_y, 8);
}

std::intptr_t dialog_box_indirect(Instance instance, const void* dialog_template, std::size_t size, Window owner,
                                  DialogProc procedure, std::intptr_t init_value) {
    DialogTemplate parsed;
    if (!parse_dialog_template(dialog_template, size, parsed) || parsed.has_menu || parsed.has_class) return -1;
    if (owner != Window::NONE && !is_window(owner)) return -1;
    owner = detail::top_level_of(owner);
    register_dialog_class();
    register_dialog_control_classes();

    RunningDialog dialog;
    dialog.procedure = procedure;
    Window window = create_dialog(parsed, instance, owner, dialog);
    if (window == Window::NONE) return -1;
    bool owner_disabled = owner != Window::NONE && is_enabled(owner);
    if (owner_disabled) enable_window(owner, false);
    running.push_back(&dialog);

    Window first = first_tab_stop(dialog);
    if (send_message(window, MSG_INIT_DIALOG, static_cast<std::uintptr_t>(first), init_value) && first != Window::NONE)
        set_focus(first);
    if (!dialog.ended && is_window(window)) {
        show_window(window, SHOW_NO_ACTIVATE);
        if (!is_inside(focus_window(), window)) set_focus(window);
        keep_focus(dialog);
    }
    run_modal_loop([&] { return !dialog.ended && is_window(window); },
                   [&](const Message& message) { return handle_dialog_key(dialog, message); },
                   [&](const Message& message) {
                       if (message.message == MSG_LEFT_BUTTON_UP) end_button_press();
                       keep_focus(dialog);
                   });

    // The owner is enabled first so that it, not some other window, takes the focus back.
    if (owner_disabled && is_window(owner)) enable_window(owner, true);
    if (is_window(window)) destroy_window(window);
    assert(!running.empty() && running.back() == &dialog);
    running.pop_back();
    // The owner is the active window again, with the keyboard on the screen too.
    if (is_window(owner) && detail::top_level_of(focus_window()) != owner) set_focus(owner);
    return dialog.ended ? dialog.result : 0;
}

bool end_dialog(Window dialog, std::intptr_t result) {
    RunningDialog* running_dialog = find_running(dialog);
    if (!running_dialog) return false;
    running_dialog->ended = true;
    running_dialog->result = result;
    return true;
}

Window active_dialog() { return running.empty() ? Window::NONE : running.back()->window; }

Window get_dialog_item(Window dialog, int id) {
    if (!is_window(dialog)) return Window::NONE;
    return find_child(dialog, id);
}

int get_dialog_item_text(Window dialog, int id, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    Window item = get_dialog_item(dialog, id);
    if (item == Window::NONE) {
        buffer[0] = 0;
        return 0;
    }
    return get_window_text(item, buffer, size);
}

bool set_dialog_item_text(Window dialog, int id, const char* text) {
    Window item = get_dialog_item(dialog, id);
    return item != Window::NONE && set_window_text(item, text);
}

}  // namespace platform
