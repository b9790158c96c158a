// The flat colours and the raised edge that menus, frames and title bars share.
#pragma once

#include "platform/base/bitmap.h"
#include "platform/drawing/rasterizer.h"

namespace platform {

constexpr Pixel FACE = 0xD4D0C8;
constexpr Pixel LIGHT = 0xFFFFFF;
constexpr Pixel SHADOW = 0x808080;
constexpr Pixel DARK_SHADOW = 0x404040;
constexpr Pixel HIGHLIGHT = 0x0A246A;
constexpr Pixel HIGHLIGHT_TEXT = 0xFFFFFF;

// A light top-left and shadowed bottom-right edge just inside the area.
inline void draw_raised_edge(const PixelTarget& target, const Rect& area) {
    fill_rect(target, area.left, area.bottom - 1, area.right, area.bottom, DARK_SHADOW);
    fill_rect(target, area.right - 1, area.top, area.right, area.bottom, DARK_SHADOW);
    fill_rect(target, area.left + 1, area.top + 1, area.right - 1, area.top + 2, LIGHT);
    fill_rect(target, area.left + 1, area.top + 1, area.left + 2, area.bottom - 1, LIGHT);
    fill_rect(target, area.left + 1, area.bottom - 2, area.right - 1, area.bottom - 1, SHADOW);
    fill_rect(target, area.right - 2, area.top + 1, area.right - 1, area.bottom - 1, SHADOW);
}

// A face-coloured area with that edge: a menu's popup, a button.
inline void draw_raised_area(const PixelTarget& target, const Rect& area) {
    fill_rect(target, area.left, area.top, area.right, area.bottom, FACE);
    draw_raised_edge(target, area);
}

}  // namespace platform
