// The predefined Button, Edit and Static controls: child windows with classes
// and procedures of their own that draw with the system font. They tell their
// parent about clicks with MSG_COMMAND; focus order and the Enter and Escape
// keys belong to the dialog that holds them.
#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "platform/core/message_queue.h"
#include "platform/core/window_records.h"
#include "platform/drawing/drawing_context.h"
#include "platform/drawing/font.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/dialog.h"

namespace platform {
namespace {

constexpr ColorWord DISABLED_TEXT_COLOR = DIALOG_SHADOW_COLOR;
// Beyond this an edit control takes no more characters.
constexpr std::size_t EDIT_TEXT_LIMIT = 30000;
constexpr int EDIT_MARGIN_X = 2;
constexpr int EDIT_MARGIN_Y = 1;

const FontInstance* control_font() { return find_font(system_font_request()); }

// Advances of the system font's 256 characters; text_extent is additive.
int advance(unsigned char c) {
    static const FontInstance* measured = nullptr;
    static std::array<int, 256> widths{};
    const FontInstance* font = control_font();
    if (measured != font) {
        for (int i = 0; i < 256; ++i) {
            char ch = static_cast<char>(i);
            widths[static_cast<std::size_t>(i)] = text_extent(font, &ch, 1).width;
        }
        measured = font;
    }
    return widths[c];
}

int cell_height() { return std::max(1, text_metrics(control_font()).height); }

bool is_line_break(char c) { return c == '\r' || c == '\n'; }

int width_of(const std::string& text, std::size_t from, std::size_t to) {
    int width = 0;
    for (std::size_t i = from; i < to && i < text.size(); ++i)
        if (!is_line_break(text[i])) width += advance(static_cast<unsigned char>(text[i]));
    return width;
}

// One displayed line: characters [start, end) are drawn; those up to next
// (blanks at a wrap, a line break) belong to it without being drawn.
struct TextLine {
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

void wrap_paragraph(const std::string& text, std::size_t begin, std::size_t finish, int width,
                    std::vector<TextLine>& lines) {
    if (begin == finish) {
        lines.push_back(TextLine{begin, begin, begin});
        return;
    }
    std::size_t p = begin;
    while (p < finish) {
        int x = 0;
        std::size_t line_end = finish;
        std::size_t last_blank = std::string::npos;
        for (std::size_t i = p; i < finish; ++i) {
            char c = text[i];
            int w = advance(static_cast<unsigned char>(c));
            if (c == ' ') last_blank = i;
            if (x + w > width && i > p) {
                if (c == ' ')
                    line_end = i;
                else if (last_blank != std::string::npos && last_blank > p)
                    line_end = last_blank;
                else
                    line_end = i;
                break;
            }
            x += w;
        }
        std::size_t next = line_end;
        while (next < finish && text[next] == ' ') ++next;
        lines.push_back(TextLine{p, line_end, next});
        p = next;
    }
}

// Word-wrapped lines (a word wider than the width breaks between characters);
// CR LF, CR or LF end a line; blanks at a wrap are swallowed. Never empty.
std::vector<TextLine> lay_out(const std::string& text, int width, bool wrap) {
    std::vector<TextLine> lines;
    if (!wrap) {
        lines.push_back(TextLine{0, text.size(), text.size()});
        return lines;
    }
    std::size_t pos = 0;
    for (;;) {
        std::size_t paragraph_end = pos;
        while (paragraph_end < text.size() && !is_line_break(text[paragraph_end])) ++paragraph_end;
        std::size_t after = paragraph_end;
        if (after < text.size()) after += text.compare(after, 2, "\r\n") == 0 ? 2 : 1;
        wrap_paragraph(text, pos, paragraph_end, std::max(width, 1), lines);
        lines.back().next = after;
        if (paragraph_end == text.size()) break;
        pos = after;
    }
    return lines;
}

std::size_t line_of(const std::vector<TextLine>& lines, std::size_t index) {
    std::size_t line = 0;
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (lines[k].start <= index) line = k;
    return line;
}

// The character boundary of a line nearest to x (pixels from the line's start).
std::size_t index_at(const std::string& text, const TextLine& line, int x) {
    int position = 0;
    for (std::size_t i = line.start; i < line.end; ++i) {
        int w = advance(static_cast<unsigned char>(text[i]));
        if (x < position + w / 2 + w % 2) return i;
        position += w;
    }
    return line.end;
}

void fill_box(DrawingContext dc, int left, int top, int right, int bottom, ColorWord color) {
    if (right <= left || bottom <= top) return;
    DrawingObject pen = create_pen(1, color);
    DrawingObject brush = create_solid_brush(color);
    ScopedSelection selection(dc);
    selection.select_owned(pen);
    selection.select_owned(brush);
    rectangle(dc, left, top, right, bottom);
}

void frame_box(DrawingContext dc, int left, int top, int right, int bottom, ColorWord color) {
    if (right <= left || bottom <= top) return;
    ScopedSelection selection(dc);
    selection.select_owned(create_pen(1, color));
    selection.select(stock_object(StockObject::NULL_BRUSH));
    rectangle(dc, left, top, right, bottom);
}

// From (x0, y0) up to, not including, (x1, y1).
void line_between(DrawingContext dc, int x0, int y0, int x1, int y1, ColorWord color) {
    ScopedSelection selection(dc);
    selection.select_owned(create_pen(1, color));
    move_to(dc, x0, y0);
    line_to(dc, x1, y1);
}

void draw_run(DrawingContext dc, int x, int y, const std::string& text, std::size_t from, std::size_t to) {
    if (to > from) text_out(dc, x, y, text.data() + from, static_cast<int>(to - from));
}

Size control_size(Window window) {
    Rect client;
    get_client_rect(window, client);
    return Size{client.width(), client.height()};
}

void notify_parent(Window control, int code) {
    auto word = static_cast<std::uintptr_t>((window_id(control) & 0xFFFF) | ((code & 0xFFFF) << 16));
    send_message(parent_of(control), MSG_COMMAND, word, static_cast<std::intptr_t>(control));
}

// ---- Button ----

// The button a mouse press went down on; the press clicks it only if the
// release comes back to the same button.
Window pressed_button = Window::NONE;
Window space_button = Window::NONE;

bool is_push_button(Window window) { return (window_style(window) & BUTTON_TYPE_MASK) <= BUTTON_DEFAULT_PUSH; }

void paint_button(Window window) {
    PaintInfo paint;
    DrawingContext dc = begin_paint(window, paint);
    Size size = control_size(window);
    unsigned style = window_style(window);
    bool pressed = pressed_button == window || space_button == window;
    bool focused = focus_window() == window;
    int l = 0, t = 0, r = size.width, b = size.height;
    if ((style & BUTTON_TYPE_MASK) == BUTTON_DEFAULT_PUSH || focused) {
        frame_box(dc, l, t, r, b, DIALOG_TEXT_COLOR);
        ++l, ++t, --r, --b;
    }
    fill_box(dc, l, t, r, b, DIALOG_FACE_COLOR);
    if (pressed) {
        frame_box(dc, l, t, r, b, DIALOG_SHADOW_COLOR);
    } else if (r - l >= 2 && b - t >= 2) {
        line_between(dc, l, t, r - 1, t, DIALOG_HIGHLIGHT_COLOR);
        line_between(dc, l, t, l, b - 1, DIALOG_HIGHLIGHT_COLOR);
        line_between(dc, l, b - 1, r, b - 1, DIALOG_TEXT_COLOR);
        line_between(dc, r - 1, t, r - 1, b, DIALOG_TEXT_COLOR);
        line_between(dc, l + 1, b - 2, r - 1, b - 2, DIALOG_SHADOW_COLOR);
        line_between(dc, r - 2, t + 1, r - 2, b - 1, DIALOG_SHADOW_COLOR);
    }
    std::string text = window_title(window);
    Size extent = text_extent(control_font(), text.data(), static_cast<int>(text.size()));
    int shift = pressed ? 1 : 0;
    int x = (size.width - extent.width) / 2 + shift;
    int y = (size.height - extent.height) / 2 + shift;
    set_background_mode(dc, TRANSPARENT_MODE);
    set_text_color(dc, is_enabled(window) ? DIALOG_TEXT_COLOR : DISABLED_TEXT_COLOR);
    draw_run(dc, x, y, text, 0, text.size());
    if (focused) {
        // A dotted rectangle around the caption, every other pixel.
        int fl = std::max(l + 3, 0), ft = std::max(t + 3, 0), fr = r - 4, fb = b - 4;
        for (int px = fl; px <= fr; px += 2) {
            set_pixel(dc, px, ft, DIALOG_TEXT_COLOR);
            set_pixel(dc, px, fb, DIALOG_TEXT_COLOR);
        }
        for (int py = ft; py <= fb; py += 2) {
            set_pixel(dc, fl, py, DIALOG_TEXT_COLOR);
            set_pixel(dc, fr, py, DIALOG_TEXT_COLOR);
        }
    }
    end_paint(window, paint);
}

std::intptr_t button_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    case MSG_PAINT: paint_button(window); return 0;
    case MSG_LEFT_BUTTON_DOWN:
        set_focus(window);
        pressed_button = window;
        invalidate(window);
        return 0;
    case MSG_LEFT_BUTTON_UP:
        if (pressed_button != window) return 0;
        pressed_button = Window::NONE;
        invalidate(window);
        notify_parent(window, BUTTON_CLICKED);
        return 0;
    case MSG_KEY_DOWN:
        if (static_cast<int>(word) == KEY_SPACE) {
            space_button = window;
            invalidate(window);
        }
        return 0;
    case MSG_KEY_UP:
        if (static_cast<int>(word) == KEY_SPACE && space_button == window) {
            space_button = Window::NONE;
            invalidate(window);
            notify_parent(window, BUTTON_CLICKED);
        }
        return 0;
    case MSG_SET_FOCUS:
    case MSG_KILL_FOCUS:
    case MSG_ENABLE:
        if (message != MSG_SET_FOCUS && space_button == window) space_button = Window::NONE;
        invalidate(window);
        return 0;
    case MSG_GET_DIALOG_CODE:
        if (!is_push_button(window)) return 0;
        return (window_style(window) & BUTTON_TYPE_MASK) == BUTTON_DEFAULT_PUSH ? DIALOG_CODE_DEFAULT_PUSH_BUTTON
                                                                                : DIALOG_CODE_PUSH_BUTTON;
    case MSG_DESTROY:
        if (pressed_button == window) pressed_button = Window::NONE;
        if (space_button == window) space_button = Window::NONE;
        return 0;
    default: return default_window_proc(window, message, word, position);
    }
}

// ---- Edit ----

struct EditState {
    std::size_t caret = 0;
    std::size_t top_line = 0;
    int scroll_x = 0;  // single-line edits scroll sideways to keep the caret in view
};

std::map<Window, EditState> edits;

struct EditFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    std::size_t visible_lines = 1;
};

EditFrame edit_frame(Window window) {
    Size size = control_size(window);
    int border = (window_style(window) & STYLE_BORDER) ? 1 : 0;
    EditFrame frame;
    frame.left = border + EDIT_MARGIN_X;
    frame.top = border + EDIT_MARGIN_Y;
    frame.right = std::max(frame.left, size.width - border - EDIT_MARGIN_X);
    frame.bottom = std::max(frame.top, size.height - border - EDIT_MARGIN_Y);
    frame.visible_lines = static_cast<std::size_t>(std::max(1, (frame.bottom - frame.top) / cell_height()));
    return frame;
}

bool is_multiline(Window window) { return (window_style(window) & EDIT_MULTILINE) != 0; }

std::vector<TextLine> edit_lines(Window window, const std::string& text) {
    EditFrame frame = edit_frame(window);
    return lay_out(text, frame.right - frame.left, is_multiline(window));
}

EditState& edit_state(Window window, const std::string& text) {
    EditState& state = edits[window];
    state.caret = std::min(state.caret, text.size());
    return state;
}

// Keeps the caret's line, and for single-line edits its column, in view.
void scroll_to_caret(Window window, const std::string& text, EditState& state) {
    EditFrame frame = edit_frame(window);
    std::vector<TextLine> lines = edit_lines(window, text);
    std::size_t line = line_of(lines, state.caret);
    if (line < state.top_line) state.top_line = line;
    if (line >= state.top_line + frame.visible_lines) state.top_line = line + 1 - frame.visible_lines;
    state.top_line = std::min(state.top_line, lines.size() - 1);
    if (!is_multiline(window)) {
        int width = frame.right - frame.left;
        int x = width_of(text, 0, state.caret);
        if (x < state.scroll_x) state.scroll_x = x;
        if (x >= state.scroll_x + width) state.scroll_x = x - width + 1;
    } else {
        state.scroll_x = 0;
    }
}

void set_edit_text(Window window, const std::string& text, std::size_t caret) {
    EditState& state = edits[window];
    state.caret = caret;
    scroll_to_caret(window, text, state);
    set_window_text(window, text.c_str());
}

void edit_insert(Window window, const std::string& piece) {
    std::string text = window_title(window);
    EditState& state = edit_state(window, text);
    if (text.size() + piece.size() > EDIT_TEXT_LIMIT) return;
    std::string changed = text;
    changed.insert(state.caret, piece);
    // Without auto-scroll a multi-line edit takes only what fits.
    if (is_multiline(window) && !(window_style(window) & EDIT_AUTO_VERTICAL_SCROLL) &&
        edit_lines(window, changed).size() > edit_frame(window).visible_lines)
        return;
    set_edit_text(window, changed, state.caret + piece.size());
}

bool pair_before(const std::string& text, std::size_t at) { return at >= 2 && text.compare(at - 2, 2, "\r\n") == 0; }
bool pair_after(const std::string& text, std::size_t at) { return text.compare(at, 2, "\r\n") == 0; }

void edit_character(Window window, int character) {
    std::string text = window_title(window);
    EditState& state = edit_state(window, text);
    if (character == KEY_BACKSPACE) {
        if (state.caret == 0) return;
        std::size_t count = pair_before(text, state.caret) ? 2 : 1;
        text.erase(state.caret - count, count);
        set_edit_text(window, text, state.caret - count);
    } else if (character == '\r') {
        if (is_multiline(window)) edit_insert(window, "\r\n");
    } else if (character >= 32 && character != 127 && character <= 255) {
        edit_insert(window, std::string(1, static_cast<char>(character)));
    }
}

void move_caret(Window window, std::size_t caret) {
    std::string text = window_title(window);
    EditState& state = edit_state(window, text);
    state.caret = std::min(caret, text.size());
    scroll_to_caret(window, text, state);
    invalidate(window);
}

void edit_key(Window window, int key) {
    std::string text = window_title(window);
    EditState& state = edit_state(window, text);
    std::vector<TextLine> lines = edit_lines(window, text);
    std::size_t line = line_of(lines, state.caret);
    switch (key) {
    case KEY_DELETE:
        if (state.caret < text.size()) {
            text.erase(state.caret, pair_after(text, state.caret) ? 2 : 1);
            set_edit_text(window, text, state.caret);
        }
        break;
    case KEY_LEFT:
        if (state.caret > 0) move_caret(window, state.caret - (pair_before(text, state.caret) ? 2 : 1));
        break;
    case KEY_RIGHT:
        if (state.caret < text.size()) move_caret(window, state.caret + (pair_after(text, state.caret) ? 2 : 1));
        break;
    case KEY_HOME: move_caret(window, lines[line].start); break;
    case KEY_END: move_caret(window, lines[line].end); break;
    case KEY_UP:
    case KEY_DOWN: {
        if ((key == KEY_UP && line == 0) || (key == KEY_DOWN && line + 1 >= lines.size())) break;
        int x = width_of(text, lines[line].start, state.caret);
        move_caret(window, index_at(text, lines[key == KEY_UP ? line - 1 : line + 1], x));
        break;
    }
    default: break;
    }
}

void edit_click(Window window, int x, int y) {
    set_focus(window);
    if (!is_window(window)) return;  // a focus handler may have destroyed it
    std::string text = window_title(window);
    EditState& state = edit_state(window, text);
    EditFrame frame = edit_frame(window);
    std::vector<TextLine> lines = edit_lines(window, text);
    int row = y < frame.top ? 0 : (y - frame.top) / cell_height();
    std::size_t line = std::min(state.top_line + static_cast<std::size_t>(row), lines.size() - 1);
    move_caret(window, index_at(text, lines[line], x - frame.left + state.scroll_x));
}

void paint_edit(Window window) {
    PaintInfo paint;
    DrawingContext dc = begin_paint(window, paint);
    std::string text = window_title(window);
    EditState& state = edit_state(window, text);
    EditFrame frame = edit_frame(window);
    Size size = control_size(window);
    std::vector<TextLine> lines = edit_lines(window, text);
    int cell = cell_height();
    set_background_mode(dc, TRANSPARENT_MODE);
    set_text_color(dc, is_enabled(window) ? DIALOG_TEXT_COLOR : DISABLED_TEXT_COLOR);
    for (std::size_t k = 0; k < frame.visible_lines && state.top_line + k < lines.size(); ++k) {
        const TextLine& line = lines[state.top_line + k];
        draw_run(dc, frame.left - state.scroll_x, frame.top + static_cast<int>(k) * cell, text, line.start, line.end);
    }
    // Text scrolled sideways may reach into the margins; they stay blank.
    fill_box(dc, 0, 0, frame.left, size.height, EDIT_FIELD_COLOR);
    fill_box(dc, frame.right, 0, size.width, size.height, EDIT_FIELD_COLOR);
    if (window_style(window) & STYLE_BORDER) frame_box(dc, 0, 0, size.width, size.height, DIALOG_TEXT_COLOR);
    std::size_t line = line_of(lines, state.caret);
    if (focus_window() == window && line >= state.top_line && line < state.top_line + frame.visible_lines) {
        int x = frame.left - state.scroll_x + width_of(text, lines[line].start, state.caret);
        x = std::clamp(x, frame.left, std::max(frame.left, frame.right - 1));
        int y = frame.top + static_cast<int>(line - state.top_line) * cell;
        line_between(dc, x, y, x, y + cell, DIALOG_TEXT_COLOR);
    }
    end_paint(window, paint);
}

std::intptr_t edit_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    case MSG_CREATE: {
        std::string text = window_title(window);
        edits[window] = EditState{text.size(), 0, 0};
        return 0;
    }
    case MSG_DESTROY: edits.erase(window); return 0;
    case MSG_PAINT: paint_edit(window); return 0;
    case MSG_CHARACTER: edit_character(window, static_cast<int>(word & 0xFF)); return 0;
    case MSG_KEY_DOWN: edit_key(window, static_cast<int>(word & 0xFF)); return 0;
    case MSG_LEFT_BUTTON_DOWN: edit_click(window, low_half(position), high_half(position)); return 0;
    case MSG_SET_FOCUS:
    case MSG_KILL_FOCUS:
    case MSG_ENABLE: invalidate(window); return 0;
    case MSG_GET_DIALOG_CODE:
        if (static_cast<int>(word) == KEY_ENTER && is_multiline(window) && (window_style(window) & EDIT_WANT_RETURN))
            return DIALOG_CODE_WANT_MESSAGE;
        return 0;
    default: return default_window_proc(window, message, word, position);
    }
}

// ---- Static ----

void paint_static(Window window) {
    PaintInfo paint;
    DrawingContext dc = begin_paint(window, paint);
    std::string text = window_title(window);
    Size size = control_size(window);
    unsigned alignment = window_style(window) & 0x3;
    std::vector<TextLine> lines = lay_out(text, size.width, true);
    int cell = cell_height();
    set_background_mode(dc, TRANSPARENT_MODE);
    set_text_color(dc, is_enabled(window) ? DIALOG_TEXT_COLOR : DISABLED_TEXT_COLOR);
    for (std::size_t k = 0; k < lines.size() && static_cast<int>(k) * cell < size.height; ++k) {
        int x = 0;
        int width = width_of(text, lines[k].start, lines[k].end);
        if (alignment == STATIC_CENTER) x = (size.width - width) / 2;
        if (alignment == STATIC_RIGHT) x = size.width - width;
        draw_run(dc, x, static_cast<int>(k) * cell, text, lines[k].start, lines[k].end);
    }
    end_paint(window, paint);
}

std::intptr_t static_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    case MSG_PAINT: paint_static(window); return 0;
    case MSG_ENABLE: invalidate(window); return 0;
    default: return default_window_proc(window, message, word, position);
    }
}

}  // namespace

void end_button_press() {
    if (pressed_button != Window::NONE) invalidate(pressed_button);
    pressed_button = Window::NONE;
}

void register_dialog_control_classes() {
    WindowClass button;
    button.name = BUTTON_CLASS;
    button.procedure = button_proc;
    button.background = DIALOG_FACE_COLOR;
    register_class(button);
    WindowClass edit;
    edit.name = EDIT_CLASS;
    edit.procedure = edit_proc;
    edit.background = EDIT_FIELD_COLOR;
    register_class(edit);
    WindowClass label;
    label.name = STATIC_CLASS;
    label.procedure = static_proc;
    label.background = DIALOG_FACE_COLOR;
    register_class(label);
}

void reset_dialog_controls() {
    pressed_button = Window::NONE;
    space_button = Window::NONE;
    edits.clear();
}

}  // namespace platform
