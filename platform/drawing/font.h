// Fonts: resolving a requested face to an installed font file, rasterised
// glyphs cached per face and size, measuring and drawing 8-bit text.
// Font objects and their selection into contexts belong to the drawing
// context; this file only knows faces, sizes and pixels.
#pragma once

#include <cstdint>

#include "platform/base/bitmap.h"

namespace platform {

// Em heights above this are drawn at this height.
constexpr int MAX_FONT_HEIGHT = 512;

// What a caller of "create font" asks for.
struct FontRequest {
    // Character (em) height in pixels, not the cell height; 0 = default size;
    // negative: its absolute value.
    int height = 0;
    int weight = 400;  // 400 normal, 700 bold; 0 counts as 400
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    // Family name, e.g. "DejaVu Sans Mono"; need not be zero-terminated when
    // all 32 bytes are used; empty = the default proportional face.
    char face[32] = {};
};

// All in whole pixels. height = ascent + descent (the cell height);
// internal_leading = height - em height; external_leading = the face's line gap.
struct TextMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internal_leading = 0;
    int external_leading = 0;
    int average_char_width = 0;
    int max_char_width = 0;
};

// A resolved face at one pixel size with its glyph cache. Lives until the
// process ends; callers never release it.
class FontInstance;

// Never null. A family that is installed is used as fontconfig matches it
// (closest weight and slant within the family, synthetic bold or slant when the
// family has none). Any other name is pinned instead of substituted: to
// DejaVu Sans Mono when fontconfig classes the name as monospace, else to
// Liberation Sans, or DejaVu Sans where that is not installed. Requests that resolve to the same face file, em height,
// bold (weight >= 600), italic, underline and strike-out share one instance, so pointers may be compared. A request
// used before costs a table look-up.
const FontInstance* find_font(const FontRequest& request);

// The proportional system font of menus and dialogs (its average character
// width defines dialog units): DejaVu Sans with cells of about 16 pixels.
FontRequest system_font_request();
// The stock fixed-pitch font: DejaVu Sans Mono with cells of about 13 pixels.
FontRequest fixed_font_request();

// A null font means the default font (find_font of a default request).
TextMetrics text_metrics(const FontInstance* font);

// Width: the sum of the characters' advances; height: the cell height.
// A null text or a length below 1 is empty: width 0, the cell height still.
Size text_extent(const FontInstance* font, const char* text, int length);

// Characters are Windows-1252 bytes. Control characters (0x00-0x1F, 0x7F) and
// the five codes cp1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) draw
// the face's missing-glyph box and advance by its width, in drawing and in
// measuring alike.
//
// Draws a run of characters with the upper-left corner of the first character
// cell at (x, y): the baseline lies on row y + ascent. Opaque: the cell box,
// columns x to x + extent width - 1 and rows y to y + cell height - 1, is
// filled with background_pixel first; transparent: only glyph pixels are
// written. Glyph pixels are exactly text_pixel (no antialiasing); glyph ink
// may reach outside the cell box. Underline and strike-out are lines across
// the extent width when the font asks for them. Writes only inside
// target.clip; any x, y is safe.
void draw_text(const PixelTarget& target, const FontInstance* font, std::int64_t x, std::int64_t y, const char* text,
               int length, Pixel text_pixel, bool opaque, Pixel background_pixel);

}  // namespace platform
