// Drawing contexts and drawing objects:
// window contexts draw into a window's client area (what the window shows),
// memory contexts into the bitmap selected into them. Coordinates are 64-bit
// so callers can offset any 32-bit value without overflow; everything is
// clipped to the target.
#pragma once

#include <cassert>
#include <cstdint>

#include "platform/base/bitmap.h"
#include "platform/base/handles.h"
#include "platform/drawing/font.h"

namespace platform {

constexpr int TRANSPARENT_MODE = 1;
constexpr int OPAQUE_MODE = 2;

enum class StockObject { WHITE_BRUSH, NULL_BRUSH, NULL_PEN, BLACK_PEN, FIXED_FONT, SYSTEM_FONT };

// A context for the client area of a window; release it with release_dc.
DrawingContext get_window_dc(Window window);
bool release_dc(Window window, DrawingContext context);
// A memory context; its defaults hold a 1 x 1 bitmap until one is selected.
DrawingContext create_compatible_dc(DrawingContext context);
bool delete_dc(DrawingContext context);

DrawingObject create_compatible_bitmap(DrawingContext context, int width, int height);
// A solid pen; width 0 (or 1) is one pixel.
DrawingObject create_pen(int width, ColorWord color);
DrawingObject create_solid_brush(ColorWord color);
DrawingObject create_font(const FontRequest& request);
DrawingObject stock_object(StockObject which);
// Returns the object of the same kind it replaces; NONE on failure.
DrawingObject select_object(DrawingContext context, DrawingObject object);
// Fails without harm for stock objects and objects still selected somewhere.
bool delete_object(DrawingObject object);
// The bitmap behind a bitmap object (tests read pixels through it).
Bitmap* bitmap_of(DrawingObject object);

// Selects drawing objects into a context for the length of a scope. At its end
// it selects back what they replaced, the last selected first, and only then
// deletes the ones it owns, as an object cannot be deleted while selected.
class ScopedSelection {
public:
    explicit ScopedSelection(DrawingContext context) : context_(context) {}
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    // Inlined on the unwinding path too and looping to a constant, so that the
    // compiler keeps the entries in registers: as cheap as the calls by hand.
    [[gnu::always_inline]] ~ScopedSelection() {
        if (count_ == 0) return;  // callers that keep their objects selected select none here
        for (int i = CAPACITY; i-- > 0;)
            if (i < count_) select_object(context_, entries_[i].replaced);
        for (int i = 0; i < CAPACITY; ++i)
            if (i < count_ && entries_[i].owned) delete_object(entries_[i].object);
    }

    // An object made for this scope: deleted at its end.
    void select_owned(DrawingObject object) { push(object, true); }
    // A stock object, or one that outlives the scope: only selected back out.
    void select(DrawingObject object) { push(object, false); }

private:
    struct Entry {
        DrawingObject object;
        DrawingObject replaced;
        bool owned;
    };
    static constexpr int CAPACITY = 3;  // a pen, a brush and a font

    void push(DrawingObject object, bool owned) {
        assert(count_ < CAPACITY);
        entries_[count_++] = Entry{object, select_object(context_, object), owned};
    }

    DrawingContext context_;
    int count_ = 0;
    Entry entries_[CAPACITY];
};

// Default: black text, white background, opaque mode. The colour calls return
// INVALID_COLOR for a context that is gone.
ColorWord set_text_color(DrawingContext context, ColorWord color);
ColorWord get_text_color(DrawingContext context);
ColorWord set_background_color(DrawingContext context, ColorWord color);
ColorWord get_background_color(DrawingContext context);
int set_background_mode(DrawingContext context, int mode);  // returns the previous mode, 0 on failure
int get_background_mode(DrawingContext context);

// Box (left, top, right, bottom), right and bottom excluded; filled with the
// brush and outlined with the pen (a one-pixel pen on the outermost pixels).
bool rectangle(DrawingContext context, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
// The ellipse inscribed in the same kind of box.
bool ellipse(DrawingContext context, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
// Closed, even-odd filled, outlined with the pen.
bool polygon(DrawingContext context, const std::int64_t* xy_pairs, int count);
bool move_to(DrawingContext context, std::int64_t x, std::int64_t y);
// From the current position up to, not including, (x, y); which becomes current.
bool line_to(DrawingContext context, std::int64_t x, std::int64_t y);
bool set_pixel(DrawingContext context, std::int64_t x, std::int64_t y, ColorWord color);
ColorWord get_pixel(DrawingContext context, int x, int y);  // INVALID_COLOR outside

// The upper-left corner of the character cell at (x, y), in the text colour;
// opaque mode fills the cell with the background colour first.
bool text_out(DrawingContext context, std::int64_t x, std::int64_t y, const char* text, int length);
bool text_extent(DrawingContext context, const char* text, int length, Size& size);
bool get_text_metrics(DrawingContext context, TextMetrics& metrics);

// Plain copy of a width x height block.
bool bit_blt(DrawingContext target, int x, int y, int width, int height, DrawingContext source, int source_x,
             int source_y);
// Moves the whole contents of a context's area by dy rows (negative: up);
// the uncovered band keeps its old pixels.
bool scroll_dc(DrawingContext context, int dx, int dy);

struct PaintInfo {
    DrawingContext context = DrawingContext::NONE;  // handed by begin_paint
    Rect area;                                      // the area that was invalid
};
// Erases the invalid area with the class background, validates it and hands a
// drawing context clipped to the client area; end_paint releases it.
DrawingContext begin_paint(Window window, PaintInfo& info);
bool end_paint(Window window, const PaintInfo& info);

// Drops every context and object (reset_platform does, for tests).
void reset_drawing();

}  // namespace platform
