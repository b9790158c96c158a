// The drawing operations: argument corrections with their messages, the
// drawing log, and the renderer that draws one command into the canvas.
#include <climits>
#include <cstring>

#include "toolkit/call_trace.h"
#include "toolkit/misuse.h"
#include "toolkit/state.h"

namespace kavro {
namespace {

enum DrawKind : std::int32_t {
    DRAW_TRIANGLE = 0,
    DRAW_RECTANGLE = 1,
    DRAW_OVAL = 2,
    DRAW_LINE = 3,
    DRAW_PIXEL = 4,
    DRAW_TEXT = 5,
};

// One primitive handed to the renderer; it lives for one call. Coordinates
// are 64-bit so that corners such as x - radius never overflow.
struct DrawCommand {
    std::int32_t kind = 0;
    std::int32_t color = 0;
    std::int32_t width = 0;
    std::int64_t x1 = 0;
    std::int64_t y1 = 0;
    std::int64_t x2 = 0;  // point size for DRAW_TEXT
    std::int64_t y2 = 0;
    std::int64_t x3 = 0;
    std::int64_t y3 = 0;
    const char* text = nullptr;  // DRAW_TEXT: the private copy
};

constexpr std::size_t TEXT_BUFFER_SIZE = 1024;

int valid_color(int color) {
    if (color >= 0 && color < KAVRO_COLOR_COUNT) return color;
    KAVRO_printf("Illegal color %d; using RED.\n", color);
    return KAVRO_RED;
}

// The most negative int has no positive counterpart; it becomes INT_MAX.
int positive(int value) { return value == INT_MIN ? INT_MAX : -value; }

int correct_width(int width) {
    if (width >= 0) return width;
    int corrected = positive(width);
    KAVRO_printf("Width of %d not possible, using width %d\n", width, corrected);
    return corrected;
}

const char* color_name(int color) { return COLOR_TABLE[color].name; }

platform::ColorWord rgb(int color) { return COLOR_TABLE[color].value; }

// The kept pen of a width and colour, made at its first use.
platform::DrawingObject kept_pen(int width, int color) {
    platform::DrawingObject& pen = state.tools.pens[width - 1][color];
    if (pen == platform::DrawingObject::NONE) pen = platform::create_pen(width, rgb(color));
    return pen;
}

platform::DrawingObject kept_brush(int color) {
    platform::DrawingObject& brush = state.tools.brushes[color];
    if (brush == platform::DrawingObject::NONE) brush = platform::create_solid_brush(rgb(color));
    return brush;
}

// The kept text font of a point size (0 to MAX_POINT_SIZE), made at its first use.
platform::DrawingObject kept_font(int point_size) {
    platform::DrawingObject& font = state.tools.fonts[point_size];
    if (font == platform::DrawingObject::NONE) {
        platform::FontRequest request;
        request.height = point_size;
        request.weight = 400;
        std::strncpy(request.face, "KAVRO-font", sizeof request.face - 1);
        font = platform::create_font(request);
    }
    return font;
}

// Selects the pen for a primitive into the canvas. Kept pens stay selected
// after it, as the next primitive most often wants the same one; a wider pen
// is made for the call and handed to the selection to delete.
void select_pen(platform::ScopedSelection& selection, int width, int color) {
    if (width <= MAX_KEPT_PEN_WIDTH)
        platform::select_object(state.canvas, kept_pen(width < 1 ? 1 : width, color));
    else
        selection.select_owned(platform::create_pen(width, rgb(color)));
}

void draw_shape(const DrawCommand& command) {
    std::int64_t cx = state.centre_x;
    std::int64_t cy = state.centre_y;
    const bool filled = command.width == 0;
    platform::ScopedSelection selection(state.canvas);
    select_pen(selection, command.width, command.color);
    platform::select_object(
        state.canvas, filled ? kept_brush(command.color) : platform::stock_object(platform::StockObject::NULL_BRUSH));
    if (command.kind == DRAW_TRIANGLE) {
        std::int64_t points[6] = {cx + command.x1, cy - command.y1, cx + command.x2,
                                  cy - command.y2, cx + command.x3, cy - command.y3};
        platform::polygon(state.canvas, points, 3);
    } else {
        std::int64_t left = cx + command.x1;
        std::int64_t top = cy - command.y1;
        std::int64_t right = cx + command.x2 + 1;
        std::int64_t bottom = cy - command.y2 + 1;
        if (command.kind == DRAW_RECTANGLE)
            platform::rectangle(state.canvas, left, top, right, bottom);
        else
            platform::ellipse(state.canvas, left, top, right, bottom);
    }
}

void draw_line_command(const DrawCommand& command) {
    std::int64_t cx = state.centre_x;
    std::int64_t cy = state.centre_y;
    platform::ScopedSelection selection(state.canvas);
    select_pen(selection, command.width, command.color);
    platform::move_to(state.canvas, cx + command.x1, cy - command.y1);
    platform::line_to(state.canvas, cx + command.x2, cy - command.y2);
}

// One text_out per line, each a line height below the one before, the first
// with its lower-left corner at the command's point.
void draw_text_lines(const DrawCommand& command) {
    std::int64_t cx = state.centre_x;
    std::int64_t cy = state.centre_y;
    platform::select_object(state.canvas, kept_font(static_cast<int>(command.x2)));
    const char* text = command.text;
    int length = static_cast<int>(std::strlen(text));
    platform::Size extent;
    platform::text_extent(state.canvas, text, length, extent);
    std::int64_t h = extent.height;
    std::int64_t piece = 0;
    const char* start = text;
    for (;;) {
        const char* end = std::strchr(start, '\n');
        int piece_length = end ? static_cast<int>(end - start) : static_cast<int>(std::strlen(start));
        platform::text_out(state.canvas, cx + command.x1, cy - command.y1 + (piece - 1) * h, start, piece_length);
        if (!end) break;
        start = end + 1;
        ++piece;
    }
}

void draw_text_command(const DrawCommand& command) {
    platform::set_text_color(state.canvas, rgb(command.color));
    int previous_mode = platform::set_background_mode(state.canvas, platform::TRANSPARENT_MODE);
    draw_text_lines(command);
    platform::set_background_mode(state.canvas, previous_mode);
}

void render_command(const DrawCommand& command) {
    switch (command.kind) {
    case DRAW_TRIANGLE:
    case DRAW_RECTANGLE:
    case DRAW_OVAL: draw_shape(command); break;
    case DRAW_LINE: draw_line_command(command); break;
    case DRAW_PIXEL:
        platform::set_pixel(state.canvas, state.centre_x + command.x1, state.centre_y - command.y1, rgb(command.color));
        break;
    case DRAW_TEXT: draw_text_command(command); break;
    default: break;
    }
    state.dirty = 1;
}

void swap_corners(int& x1, int& y1, int& x2, int& y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 < y2) std::swap(y1, y2);
}

int text_worker(int color, int x, int y, int ptsize, const char* text) {
    if (ptsize < 0) {
        int corrected = positive(ptsize);
        KAVRO_printf("ptsize of %d not possible, using ptsize %d\n", ptsize, corrected);
        ptsize = corrected;
    }
    if (ptsize > MAX_POINT_SIZE) {
        KAVRO_printf("ptsize of %d not possible, using ptsize %d\n", ptsize, MAX_POINT_SIZE);
        ptsize = MAX_POINT_SIZE;
    }
    color = valid_color(color);
    if (state.logging) KAVRO_printf("%s text at (%d,%d), \"%s\"\n", color_name(color), x, y, text);
    // The private copy lives on the stack: the text is at most 1023 characters.
    char copy[TEXT_BUFFER_SIZE];
    std::size_t length = std::strlen(text);
    if (length >= sizeof copy) length = sizeof copy - 1;
    std::memcpy(copy, text, length);
    copy[length] = 0;
    DrawCommand command;
    command.kind = DRAW_TEXT;
    command.color = color;
    command.x1 = x;
    command.y1 = y;
    command.x2 = ptsize;
    command.text = copy;
    render_command(command);
    return 1;
}

int format_and_draw(const char* call, int color, int x, int y, int ptsize, const char* format, std::va_list arguments) {
    if (!ready_to_draw(call)) return 0;
    char buffer[TEXT_BUFFER_SIZE];
    int count = format_message(buffer, sizeof buffer, format, arguments);
    trace_call("text", buffer, color, x, y, ptsize);
    text_worker(color, x, y, ptsize, buffer);
    return count;
}

}  // namespace
}  // namespace kavro

using namespace kavro;

extern "C" {

int KAVRO_pixel(int color, int x, int y) {
    trace_call("pixel", nullptr, color, x, y);
    if (!ready_to_draw("KAVRO_pixel")) return 0;
    color = valid_color(color);
    if (state.logging) KAVRO_printf("%s pixel at (%d,%d)\n", color_name(color), x, y);
    DrawCommand command;
    command.kind = DRAW_PIXEL;
    command.color = color;
    command.x1 = x;
    command.y1 = y;
    render_command(command);
    return 1;
}

int KAVRO_circle(int color, int x, int y, int radius) {
    trace_call("circle", nullptr, color, x, y, radius);
    if (!ready_to_draw("KAVRO_circle")) return 0;
    color = valid_color(color);
    if (radius < 0) {
        int corrected = positive(radius);
        KAVRO_printf("Radius of %d not possible, using radius %d\n", radius, corrected);
        radius = corrected;
    }
    if (state.logging) KAVRO_printf("%s circle at (%d,%d), radius %d\n", color_name(color), x, y, radius);
    DrawCommand command;
    command.kind = DRAW_OVAL;
    command.color = color;
    command.width = 0;
    command.x1 = static_cast<std::int64_t>(x) - radius;
    command.y1 = static_cast<std::int64_t>(y) + radius;
    command.x2 = static_cast<std::int64_t>(x) + radius;
    command.y2 = static_cast<std::int64_t>(y) - radius;
    render_command(command);
    return 1;
}

int KAVRO_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    trace_call("triangle", nullptr, color, x1, y1, x2, y2, x3, y3, width);
    if (!ready_to_draw("KAVRO_triangle")) return 0;
    color = valid_color(color);
    width = correct_width(width);
    if (state.logging)
        KAVRO_printf("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", color_name(color), x1, y1, x2, y2, x3, y3);
    DrawCommand command;
    command.kind = DRAW_TRIANGLE;
    command.color = color;
    command.width = width;
    command.x1 = x1;
    command.y1 = y1;
    command.x2 = x2;
    command.y2 = y2;
    command.x3 = x3;
    command.y3 = y3;
    render_command(command);
    return 1;
}

int KAVRO_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
    trace_call("rectangle", nullptr, color, x1, y1, x2, y2, width);
    if (!ready_to_draw("KAVRO_rectangle")) return 0;
    swap_corners(x1, y1, x2, y2);
    color = valid_color(color);
    width = correct_width(width);
    if (state.logging) {
        if (width == 0)
            KAVRO_printf("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n", color_name(color), x1, y1, x2,
                         y2);
        else
            KAVRO_printf("%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n", color_name(color),
                         x1, y1, x2, y2, width);
    }
    DrawCommand command;
    command.kind = DRAW_RECTANGLE;
    command.color = color;
    command.width = width;
    command.x1 = x1;
    command.y1 = y1;
    command.x2 = x2;
    command.y2 = y2;
    render_command(command);
    return 1;
}

int KAVRO_oval(int color, int x1, int y1, int x2, int y2, int width) {
    trace_call("oval", nullptr, color, x1, y1, x2, y2, width);
    if (!ready_to_draw("KAVRO_oval")) return 0;
    swap_corners(x1, y1, x2, y2);
    width = correct_width(width);
    color = valid_color(color);
    if (state.logging) {
        if (width == 0)
            KAVRO_printf("%s oval with bounding box (%d,%d) to (%d,%d), filled\n", color_name(color), x1, y1, x2, y2);
        else
            KAVRO_printf("%s oval with bounding box (%d,%d) to (%d,%d), line width %d\n", color_name(color), x1, y1, x2,
                         y2, width);
    }
    DrawCommand command;
    command.kind = DRAW_OVAL;
    command.color = color;
    command.width = width;
    command.x1 = x1;
    command.y1 = y1;
    command.x2 = x2;
    command.y2 = y2;
    render_command(command);
    return 1;
}

int KAVRO_line(int color, int x1, int y1, int x2, int y2, int width) {
    trace_call("line", nullptr, color, x1, y1, x2, y2, width);
    if (!ready_to_draw("KAVRO_line")) return 0;
    width = correct_width(width);
    color = valid_color(color);
    if (state.logging)
        KAVRO_printf("%s line from (%d,%d) to (%d,%d), width %d\n", color_name(color), x1, y1, x2, y2, width);
    DrawCommand command;
    command.kind = DRAW_LINE;
    command.color = color;
    command.width = width == 0 ? 1 : width;
    command.x1 = x1;
    command.y1 = y1;
    command.x2 = x2;
    command.y2 = y2;
    render_command(command);
    return 1;
}

int KAVRO_text(int color, int x, int y, int ptsize, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    int count = format_and_draw("KAVRO_text", color, x, y, ptsize, format, arguments);
    va_end(arguments);
    return count;
}

int KAVRO_textf(int color, int x, int y, int ptsize, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    int count = format_and_draw("KAVRO_textf", color, x, y, ptsize, format, arguments);
    va_end(arguments);
    return count;
}

int KAVRO_undo(void) {
    if (!ready_to_draw("KAVRO_undo")) return 0;
    KAVRO_printf("KAVRO_undo is no longer supported.\n");
    return 1;
}

}  // extern "C"
