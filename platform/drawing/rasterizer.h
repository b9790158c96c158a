// Software rasterizer: the pixel rule of each drawing call as a pure
// functions on a PixelTarget. Pens, brushes, current position and handles belong
// to the drawing context above; these functions only turn geometry into pixels.
//
// Common to every function:
// - Coordinates are 64-bit so callers can pass anything derived from 32-bit values
//   (centre + INT_MAX, 300 - INT_MIN) without overflow. Values beyond +-2^60 are
//   first clamped to +-2^60.
// - Nothing is ever written outside target.clip; work is bounded by the visible
//   part, so shapes far outside return at once and huge shapes cost no more than
//   the clip rectangle.
// - A pen width of 1 or less means one pixel. A null pen draws no outline, a null
//   brush no fill.
#pragma once

#include <cstdint>

#include "platform/base/bitmap.h"

namespace platform {

struct PenStyle {
    bool null = false;
    int width = 1;
    Pixel pixel = 0;
};

struct BrushStyle {
    bool null = false;
    Pixel pixel = 0;
};

struct Point64 {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// Sets columns left .. right-1 of rows top .. bottom-1. Nothing when right <= left
// or bottom <= top (no swapping).
void fill_rect(const PixelTarget& target, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               Pixel pixel);

// Box rule: corners are swapped first when left > right or top > bottom; then the
// shape covers columns left .. right-1 and rows top .. bottom-1. A box with
// right == left or bottom == top draws nothing, whatever the pen.
// One-pixel pen: the outline is the outermost ring of the box (columns left and
// right-1, rows top and bottom-1); the brush fills what lies inside it.
// Wide pen of width w: the outline band is centred on the box edge, w/2 pixels
// outside the box and w - w/2 inside it (the outermost box pixels included); the
// brush fills what the band leaves inside.
// Null pen: the brush alone fills columns left .. right-2 and rows top .. bottom-2.
void draw_rectangle(const PixelTarget& target, std::int64_t left, std::int64_t top, std::int64_t right,
                    std::int64_t bottom, const PenStyle& pen, const BrushStyle& brush);

// Box rule as for draw_rectangle (swapping, empty boxes, null pen shrinking the
// box by one column on the right and one row at the bottom).
// Shape rule: for a box W pixels wide and H high, pixel (x, y) is inside when its
// centre (x + 0.5, y + 0.5) lies in the closed ellipse centred on the box centre
// with semi-axes W/2 and H/2; in integers, with u = 2x + 1 - (left + right) and
// v = 2y + 1 - (top + bottom): u^2 H^2 + v^2 W^2 <= W^2 H^2. A (2r+1)-pixel square
// is thus the disc dx^2 + dy^2 <= r^2 + r around its centre pixel. The shape is a
// mirror image left/right and top/bottom. (Very thin boxes of even height or
// width, such as 8 x 2, need not reach all four sides.)
// One-pixel pen: the outline is the shape's outermost pixels, those with a left,
// right, upper or lower neighbour outside the shape; the brush fills the rest.
// Wide pen of width w: the outline is the shape of the box grown by w/2 on every
// side minus the shape of the box shrunk by w - w/2; the brush fills that inner
// shape.
void draw_ellipse(const PixelTarget& target, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom, const PenStyle& pen, const BrushStyle& brush);

// Fill rule: even-odd, sampled at pixel centres: pixel (x, y) is filled when the
// ray from (x + 0.5, y + 0.5) crosses the closed polygon's edges an odd number of
// times. Each row's spans run from a crossing (inclusive) to the next (exclusive),
// so a centre exactly on an edge belongs to the span starting there.
// Outline rule: draw_line with the pen from each point to the next and from the
// last back to the first, so every vertex is drawn. Fewer than three points fill
// nothing; a null or empty point array draws nothing.
void draw_polygon(const PixelTarget& target, const Point64* points, int count, const PenStyle& pen,
                  const BrushStyle& brush);

// Line rule: Bresenham steps along the major axis (x when |dx| >= |dy|) from the
// start pixel up to but not including the end pixel; at step i the minor
// coordinate moves by i*|minor|/|major| rounded to nearest, halves away from the
// start. A zero-length line draws nothing, and so does a null pen.
// Wide pen of width w: each pixel of that one-pixel line becomes a run of w pixels
// across the major axis, from w/2 before it to w - w/2 - 1 after it: a horizontal
// width-2 line at row y covers rows y-1 and y, a vertical one columns x-1 and x.
void draw_line(const PixelTarget& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
               const PenStyle& pen);

// Sets the one pixel when it lies inside the clip.
void set_pixel(const PixelTarget& target, std::int64_t x, std::int64_t y, Pixel pixel);

}  // namespace platform
