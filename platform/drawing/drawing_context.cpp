// Drawing contexts and drawing objects: handle tables, selection, and the
// translation of each call into a rasterizer or font call on the right pixels.
#include "platform/drawing/drawing_context.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/base/handle_table.h"
#include "platform/core/window.h"
#include "platform/core/window_records.h"
#include "platform/drawing/rasterizer.h"

namespace platform {
namespace {

enum class ObjectKind { PEN, BRUSH, FONT, BITMAP };

struct ObjectRecord {
    bool stock = false;
    ObjectKind kind = ObjectKind::PEN;
    bool null = false;  // null pen or null brush
    int width = 1;
    ColorWord color{};
    const FontInstance* font = nullptr;
    std::unique_ptr<Bitmap> bitmap;
    int selections = 0;
};

struct ContextRecord {
    Window window = Window::NONE;  // NONE for a memory context
    DrawingObject pen = DrawingObject::NONE;
    DrawingObject brush = DrawingObject::NONE;
    DrawingObject font = DrawingObject::NONE;
    DrawingObject bitmap = DrawingObject::NONE;
    ColorWord text_color = color_word(0, 0, 0);
    ColorWord background_color = color_word(255, 255, 255);
    int background_mode = OPAQUE_MODE;
    std::int64_t x = 0;
    std::int64_t y = 0;
    // What the selected pen, brush and bitmap come to, kept at selection:
    // selected objects cannot be deleted, so these stay true until the next
    // selection, and drawing needs no table look-ups for them.
    PenStyle pen_style;
    BrushStyle brush_style;
    Bitmap* pixels = nullptr;
};

HandleTable<ObjectRecord, DrawingObject> objects;
HandleTable<ContextRecord, DrawingContext> contexts;
bool stock_ready = false;
DrawingObject stock[6];
DrawingObject stock_bitmap = DrawingObject::NONE;

DrawingObject new_object(ObjectRecord&& record) { return objects.add(std::move(record)); }

// Written in place: returned by value these small mixed structs were packed
// through the stack, a store-forwarding stall on every selection.
void set_pen_style(PenStyle& out, const ObjectRecord* pen) {
    out.null = !pen || pen->null;
    out.width = out.null ? 1 : std::max(pen->width, 1);
    out.pixel = out.null ? 0 : pixel_from_color(pen->color);
}

void set_brush_style(BrushStyle& out, const ObjectRecord* brush) {
    out.null = !brush || brush->null;
    out.pixel = out.null ? 0 : pixel_from_color(brush->color);
}

void ensure_stock() {
    if (stock_ready) return;
    stock_ready = true;
    auto make_stock = [](ObjectRecord record) {
        record.stock = true;
        return new_object(std::move(record));
    };
    ObjectRecord white_brush;
    white_brush.kind = ObjectKind::BRUSH;
    white_brush.color = color_word(255, 255, 255);
    stock[static_cast<int>(StockObject::WHITE_BRUSH)] = make_stock(std::move(white_brush));
    ObjectRecord null_brush;
    null_brush.kind = ObjectKind::BRUSH;
    null_brush.null = true;
    stock[static_cast<int>(StockObject::NULL_BRUSH)] = make_stock(std::move(null_brush));
    ObjectRecord null_pen;
    null_pen.kind = ObjectKind::PEN;
    null_pen.null = true;
    stock[static_cast<int>(StockObject::NULL_PEN)] = make_stock(std::move(null_pen));
    ObjectRecord black_pen;
    black_pen.kind = ObjectKind::PEN;
    stock[static_cast<int>(StockObject::BLACK_PEN)] = make_stock(std::move(black_pen));
    ObjectRecord fixed_font;
    fixed_font.kind = ObjectKind::FONT;
    fixed_font.font = find_font(fixed_font_request());
    stock[static_cast<int>(StockObject::FIXED_FONT)] = make_stock(std::move(fixed_font));
    ObjectRecord system_font;
    system_font.kind = ObjectKind::FONT;
    system_font.font = find_font(system_font_request());
    stock[static_cast<int>(StockObject::SYSTEM_FONT)] = make_stock(std::move(system_font));
    ObjectRecord one_pixel;
    one_pixel.kind = ObjectKind::BITMAP;
    one_pixel.stock = true;
    one_pixel.bitmap = std::make_unique<Bitmap>(1, 1, 0);
    stock_bitmap = new_object(std::move(one_pixel));
}

DrawingContext new_context(Window window) {
    ensure_stock();
    ContextRecord record;
    record.window = window;
    record.pen = stock[static_cast<int>(StockObject::BLACK_PEN)];
    record.brush = stock[static_cast<int>(StockObject::WHITE_BRUSH)];
    record.font = stock[static_cast<int>(StockObject::SYSTEM_FONT)];
    record.bitmap = window == Window::NONE ? stock_bitmap : DrawingObject::NONE;
    for (DrawingObject o : {record.pen, record.brush, record.font, record.bitmap})
        if (ObjectRecord* object = objects.find(o)) ++object->selections;
    set_pen_style(record.pen_style, objects.find(record.pen));
    set_brush_style(record.brush_style, objects.find(record.brush));
    if (ObjectRecord* bitmap = objects.find(record.bitmap)) record.pixels = bitmap->bitmap.get();
    return contexts.add(std::move(record));
}

void release_context(DrawingContext context, const ContextRecord& record) {
    for (DrawingObject o : {record.pen, record.brush, record.font, record.bitmap})
        if (ObjectRecord* object = objects.find(o)) --object->selections;
    contexts.remove(context);
}

// Where a context draws: its pixels, clip and the offset of its (0, 0).
struct Surface {
    PixelTarget target;
    std::int64_t origin_x = 0;
    std::int64_t origin_y = 0;
    Window changed = Window::NONE;
    // Callers' coordinates may be anywhere in 64 bits; far ones are held back
    // (still far outside every surface) so adding the origin cannot overflow.
    static std::int64_t held(std::int64_t v) { return std::clamp(v, -COORD_REACH, COORD_REACH); }
    std::int64_t x(std::int64_t v) const { return held(v) + origin_x; }
    std::int64_t y(std::int64_t v) const { return held(v) + origin_y; }
    static constexpr std::int64_t COORD_REACH = std::int64_t{1} << 61;
};

bool surface_of(const ContextRecord& context, Surface& surface) {
    if (context.window == Window::NONE) {
        if (!context.pixels) return false;
        surface.target = whole_target(*context.pixels);
        return true;
    }
    detail::WindowRecord* record = detail::find_window(context.window);
    if (!record) return false;
    // Walk up to the top-level window, intersecting each level's client area.
    Rect clip{0, 0, record->outer.width(), record->outer.height()};
    if (record->parent == Window::NONE) {
        Size size = detail::client_size(*record);
        clip = Rect{0, 0, size.width, size.height};
    }
    std::int64_t ox = 0;
    std::int64_t oy = 0;
    detail::WindowRecord* level = record;
    Window top = context.window;
    while (level->parent != Window::NONE) {
        ox += level->outer.left;
        oy += level->outer.top;
        top = level->parent;
        level = detail::find_window(top);
        if (!level) return false;
        Size parent_size = level->parent == Window::NONE ? detail::client_size(*level)
                                                         : Size{level->outer.width(), level->outer.height()};
        clip.left = std::max(clip.left, static_cast<int>(-ox));
        clip.top = std::max(clip.top, static_cast<int>(-oy));
        clip.right = std::min(clip.right, static_cast<int>(parent_size.width - ox));
        clip.bottom = std::min(clip.bottom, static_cast<int>(parent_size.height - oy));
    }
    Point origin = detail::client_origin(*level);
    ox += origin.x;
    oy += origin.y;
    Bitmap& pixels = level->surface;
    Rect absolute{static_cast<int>(clip.left + ox), static_cast<int>(clip.top + oy), static_cast<int>(clip.right + ox),
                  static_cast<int>(clip.bottom + oy)};
    absolute.left = std::max(absolute.left, 0);
    absolute.top = std::max(absolute.top, 0);
    absolute.right = std::min(absolute.right, pixels.width);
    absolute.bottom = std::min(absolute.bottom, pixels.height);
    if (absolute.right < absolute.left) absolute.right = absolute.left;
    if (absolute.bottom < absolute.top) absolute.bottom = absolute.top;
    surface.target = PixelTarget{pixels.pixels.data(), pixels.width, absolute};
    surface.origin_x = ox;
    surface.origin_y = oy;
    surface.changed = top;
    return true;
}

const PenStyle& pen_of(const ContextRecord& context) { return context.pen_style; }

const BrushStyle& brush_of(const ContextRecord& context) { return context.brush_style; }

const FontInstance* font_of(const ContextRecord& context) {
    ObjectRecord* font = objects.find(context.font);
    return font && font->font ? font->font : find_font(system_font_request());
}

void touched(const Surface& surface) {
    if (surface.changed != Window::NONE) detail::mark_client_changed(surface.changed);
}

}  // namespace

DrawingContext get_window_dc(Window window) {
    if (!detail::find_window(window)) return DrawingContext::NONE;
    return new_context(window);
}

bool release_dc(Window, DrawingContext context) {
    ContextRecord* record = contexts.find(context);
    if (!record || record->window == Window::NONE) return false;
    release_context(context, *record);
    return true;
}

DrawingContext create_compatible_dc(DrawingContext) { return new_context(Window::NONE); }

bool delete_dc(DrawingContext context) {
    ContextRecord* record = contexts.find(context);
    if (!record || record->window != Window::NONE) return false;
    release_context(context, *record);
    return true;
}

DrawingObject create_compatible_bitmap(DrawingContext, int width, int height) {
    if (width < 0 || height < 0 || static_cast<std::int64_t>(width) * height > (1 << 26)) return DrawingObject::NONE;
    ObjectRecord record;
    record.kind = ObjectKind::BITMAP;
    record.bitmap = std::make_unique<Bitmap>(width, height, 0);
    return new_object(std::move(record));
}

DrawingObject create_pen(int width, ColorWord color) {
    ObjectRecord record;
    record.kind = ObjectKind::PEN;
    record.width = width <= 1 ? 1 : width;
    record.color = color;
    return new_object(std::move(record));
}

DrawingObject create_solid_brush(ColorWord color) {
    ObjectRecord record;
    record.kind = ObjectKind::BRUSH;
    record.color = color;
    return new_object(std::move(record));
}

DrawingObject create_font(const FontRequest& request) {
    ObjectRecord record;
    record.kind = ObjectKind::FONT;
    record.font = find_font(request);
    return new_object(std::move(record));
}

DrawingObject stock_object(StockObject which) {
    ensure_stock();
    return stock[static_cast<int>(which)];
}

DrawingObject select_object(DrawingContext context, DrawingObject object) {
    ContextRecord* record = contexts.find(context);
    if (!record) return DrawingObject::NONE;
    // Selecting what is selected changes nothing; a selected object cannot be
    // deleted, so it needs no look-up. Callers that keep their objects selected
    // between calls select them this way at every call.
    if (object != DrawingObject::NONE && (object == record->pen || object == record->brush || object == record->font))
        return object;
    ObjectRecord* incoming = objects.find(object);
    if (!incoming) return DrawingObject::NONE;
    DrawingObject* slot = nullptr;
    switch (incoming->kind) {
    case ObjectKind::PEN: slot = &record->pen; break;
    case ObjectKind::BRUSH: slot = &record->brush; break;
    case ObjectKind::FONT: slot = &record->font; break;
    case ObjectKind::BITMAP:
        // A bitmap goes into one memory context at a time.
        if (record->window != Window::NONE) return DrawingObject::NONE;
        if (incoming->selections > 0 && record->bitmap != object && !incoming->stock) return DrawingObject::NONE;
        slot = &record->bitmap;
        break;
    }
    DrawingObject previous = *slot;
    if (previous == object) return previous;
    if (ObjectRecord* outgoing = objects.find(previous)) --outgoing->selections;
    ++incoming->selections;
    *slot = object;
    switch (incoming->kind) {
    case ObjectKind::PEN: set_pen_style(record->pen_style, incoming); break;
    case ObjectKind::BRUSH: set_brush_style(record->brush_style, incoming); break;
    case ObjectKind::BITMAP: record->pixels = incoming->bitmap.get(); break;
    case ObjectKind::FONT: break;
    }
    return previous;
}

bool delete_object(DrawingObject object) {
    ObjectRecord* record = objects.find(object);
    if (!record || record->stock || record->selections > 0) return false;
    return objects.remove(object);
}

Bitmap* bitmap_of(DrawingObject object) {
    ObjectRecord* record = objects.find(object);
    return record && record->kind == ObjectKind::BITMAP ? record->bitmap.get() : nullptr;
}

ColorWord set_text_color(DrawingContext context, ColorWord color) {
    ContextRecord* record = contexts.find(context);
    if (!record) return INVALID_COLOR;
    ColorWord previous = record->text_color;
    record->text_color = color;
    return previous;
}

ColorWord get_text_color(DrawingContext context) {
    ContextRecord* record = contexts.find(context);
    return record ? record->text_color : INVALID_COLOR;
}

ColorWord set_background_color(DrawingContext context, ColorWord color) {
    ContextRecord* record = contexts.find(context);
    if (!record) return INVALID_COLOR;
    ColorWord previous = record->background_color;
    record->background_color = color;
    return previous;
}

ColorWord get_background_color(DrawingContext context) {
    ContextRecord* record = contexts.find(context);
    return record ? record->background_color : INVALID_COLOR;
}

int set_background_mode(DrawingContext context, int mode) {
    ContextRecord* record = contexts.find(context);
    if (!record || (mode != TRANSPARENT_MODE && mode != OPAQUE_MODE)) return 0;
    int previous = record->background_mode;
    record->background_mode = mode;
    return previous;
}

int get_background_mode(DrawingContext context) {
    ContextRecord* record = contexts.find(context);
    return record ? record->background_mode : 0;
}

bool rectangle(DrawingContext context, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !surface_of(*record, surface)) return false;
    draw_rectangle(surface.target, surface.x(left), surface.y(top), surface.x(right), surface.y(bottom),
                   pen_of(*record), brush_of(*record));
    touched(surface);
    return true;
}

bool ellipse(DrawingContext context, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !surface_of(*record, surface)) return false;
    draw_ellipse(surface.target, surface.x(left), surface.y(top), surface.x(right), surface.y(bottom), pen_of(*record),
                 brush_of(*record));
    touched(surface);
    return true;
}

bool polygon(DrawingContext context, const std::int64_t* xy_pairs, int count) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !xy_pairs || count < 2 || !surface_of(*record, surface)) return false;
    constexpr int LOCAL_POINTS = 16;
    Point64 local[LOCAL_POINTS];
    std::vector<Point64> many;
    Point64* points = local;
    if (count > LOCAL_POINTS) {
        many.resize(static_cast<std::size_t>(count));
        points = many.data();
    }
    for (int i = 0; i < count; ++i) points[i] = Point64{surface.x(xy_pairs[2 * i]), surface.y(xy_pairs[2 * i + 1])};
    draw_polygon(surface.target, points, count, pen_of(*record), brush_of(*record));
    touched(surface);
    return true;
}

bool move_to(DrawingContext context, std::int64_t x, std::int64_t y) {
    ContextRecord* record = contexts.find(context);
    if (!record) return false;
    record->x = x;
    record->y = y;
    return true;
}

bool line_to(DrawingContext context, std::int64_t x, std::int64_t y) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !surface_of(*record, surface)) return false;
    const PenStyle& pen = pen_of(*record);
    if (!pen.null)
        draw_line(surface.target, surface.x(record->x), surface.y(record->y), surface.x(x), surface.y(y), pen);
    record->x = x;
    record->y = y;
    touched(surface);
    return true;
}

bool set_pixel(DrawingContext context, std::int64_t x, std::int64_t y, ColorWord color) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !surface_of(*record, surface)) return false;
    set_pixel(surface.target, surface.x(x), surface.y(y), pixel_from_color(color));
    touched(surface);
    return true;
}

ColorWord get_pixel(DrawingContext context, int x, int y) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !surface_of(*record, surface)) return INVALID_COLOR;
    std::int64_t px = surface.x(x);
    std::int64_t py = surface.y(y);
    const Rect& clip = surface.target.clip;
    if (px < clip.left || px >= clip.right || py < clip.top || py >= clip.bottom) return INVALID_COLOR;
    return color_from_pixel(surface.target.pixels[py * surface.target.stride + px]);
}

bool text_out(DrawingContext context, std::int64_t x, std::int64_t y, const char* text, int length) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !text || length < 0 || !surface_of(*record, surface)) return false;
    draw_text(surface.target, font_of(*record), surface.x(x), surface.y(y), text, length,
              pixel_from_color(record->text_color), record->background_mode == OPAQUE_MODE,
              pixel_from_color(record->background_color));
    touched(surface);
    return true;
}

bool text_extent(DrawingContext context, const char* text, int length, Size& size) {
    ContextRecord* record = contexts.find(context);
    if (!record || !text || length < 0) return false;
    size = platform::text_extent(font_of(*record), text, length);
    return true;
}

bool get_text_metrics(DrawingContext context, TextMetrics& metrics) {
    ContextRecord* record = contexts.find(context);
    if (!record) return false;
    metrics = text_metrics(font_of(*record));
    return true;
}

bool bit_blt(DrawingContext target, int x, int y, int width, int height, DrawingContext source, int source_x,
             int source_y) {
    ContextRecord* to = contexts.find(target);
    ContextRecord* from = contexts.find(source);
    Surface out;
    Surface in;
    if (!to || !from || !surface_of(*to, out) || !surface_of(*from, in)) return false;
    // Clip in 64 bits against both the source's and the target's areas.
    std::int64_t tx = out.x(x);
    std::int64_t ty = out.y(y);
    std::int64_t sx = in.x(source_x);
    std::int64_t sy = in.y(source_y);
    std::int64_t w = std::max(width, 0);
    std::int64_t h = std::max(height, 0);
    auto clip_axis = [](std::int64_t& t, std::int64_t& s, std::int64_t& n, int t_lo, int t_hi, int s_lo, int s_hi) {
        std::int64_t shift = std::max<std::int64_t>({0, t_lo - t, s_lo - s});
        t += shift;
        s += shift;
        n -= shift;
        n = std::min({n, t_hi - t, s_hi - s});
    };
    clip_axis(tx, sx, w, out.target.clip.left, out.target.clip.right, in.target.clip.left, in.target.clip.right);
    clip_axis(ty, sy, h, out.target.clip.top, out.target.clip.bottom, in.target.clip.top, in.target.clip.bottom);
    if (w <= 0 || h <= 0) return true;
    bool same = out.target.pixels == in.target.pixels;
    auto copy_row = [&](std::int64_t row) {
        Pixel* dst = out.target.pixels + (ty + row) * out.target.stride + tx;
        const Pixel* src = in.target.pixels + (sy + row) * in.target.stride + sx;
        if (same)
            std::memmove(dst, src, static_cast<std::size_t>(w) * sizeof(Pixel));
        else
            std::memcpy(dst, src, static_cast<std::size_t>(w) * sizeof(Pixel));
    };
    if (same && ty > sy)
        for (std::int64_t row = h - 1; row >= 0; --row) copy_row(row);
    else
        for (std::int64_t row = 0; row < h; ++row) copy_row(row);
    touched(out);
    return true;
}

bool scroll_dc(DrawingContext context, int dx, int dy) {
    ContextRecord* record = contexts.find(context);
    Surface surface;
    if (!record || !surface_of(*record, surface)) return false;
    const Rect& clip = surface.target.clip;
    std::int64_t w = clip.width();
    std::int64_t h = clip.height();
    std::int64_t shift_x = std::clamp<std::int64_t>(dx, -w, w);
    std::int64_t shift_y = std::clamp<std::int64_t>(dy, -h, h);
    std::int64_t rows = h - (shift_y < 0 ? -shift_y : shift_y);
    std::int64_t cols = w - (shift_x < 0 ? -shift_x : shift_x);
    if (rows <= 0 || cols <= 0) return true;
    auto at = [&](std::int64_t col, std::int64_t row) {
        return surface.target.pixels + (clip.top + row) * surface.target.stride + clip.left + col;
    };
    std::int64_t src_col = shift_x < 0 ? -shift_x : 0;
    std::int64_t dst_col = shift_x < 0 ? 0 : shift_x;
    auto move_row = [&](std::int64_t dst_row) {
        std::int64_t src_row = dst_row - shift_y;
        std::memmove(at(dst_col, dst_row), at(src_col, src_row), static_cast<std::size_t>(cols) * sizeof(Pixel));
    };
    if (shift_y < 0)
        for (std::int64_t row = 0; row < rows; ++row) move_row(row);
    else
        for (std::int64_t row = h - 1; row >= shift_y; --row) move_row(row);
    touched(surface);
    return true;
}

namespace {

// Erases the invalid area of a window with its class background.
bool erase_invalid(Window window) {
    using namespace detail;
    WindowRecord* record = find_window(window);
    if (!record || !record->invalid) return false;
    const ClassRecord* window_class = class_of(*record);
    ColorWord background = window_class ? window_class->background : color_word(255, 255, 255);
    Window top = top_level_of(window);
    WindowRecord* top_record = find_window(top);
    if (!top_record) return false;
    // Up to the top-level client area, kept inside every ancestor as drawing is.
    Rect area = record->invalid_area;
    for (WindowRecord* r = record; r->parent != Window::NONE;) {
        WindowRecord* parent = find_window(r->parent);
        if (!parent) return false;
        area = Rect{area.left + r->outer.left, area.top + r->outer.top, area.right + r->outer.left,
                    area.bottom + r->outer.top};
        Size bounds =
            parent->parent == Window::NONE ? client_size(*parent) : Size{parent->outer.width(), parent->outer.height()};
        area.left = std::max(area.left, 0);
        area.top = std::max(area.top, 0);
        area.right = std::min(area.right, bounds.width);
        area.bottom = std::min(area.bottom, bounds.height);
        r = parent;
    }
    Point origin = client_origin(*top_record);
    area = Rect{area.left + origin.x, area.top + origin.y, area.right + origin.x, area.bottom + origin.y};
    fill_rect(whole_target(top_record->surface), area.left, area.top, area.right, area.bottom,
              pixel_from_color(background));
    top_record->needs_present = true;
    record->invalid = false;
    return true;
}

}  // namespace

DrawingContext begin_paint(Window window, PaintInfo& info) {
    detail::WindowRecord* record = detail::find_window(window);
    info = PaintInfo{};
    if (!record) return DrawingContext::NONE;
    info.area = record->invalid ? record->invalid_area : Rect{};
    erase_invalid(window);
    info.context = get_window_dc(window);
    return info.context;
}

bool end_paint(Window window, const PaintInfo& info) { return release_dc(window, info.context); }

void reset_drawing() {
    objects.clear();
    contexts.clear();
    stock_ready = false;
    stock_bitmap = DrawingObject::NONE;
}

}  // namespace platform
