// Painting our own frame and title bar in flat system colours.
#include "platform/ui/frame_drawing.h"

#include <algorithm>

#include "platform/core/window.h"
#include "platform/core/window_records.h"
#include "platform/drawing/font.h"
#include "platform/drawing/rasterizer.h"
#include "platform/drawing/system_look.h"

namespace platform {
namespace {

constexpr Pixel ACTIVE_TITLE = HIGHLIGHT;
constexpr Pixel INACTIVE_TITLE = 0x808080;
constexpr Pixel ACTIVE_TITLE_TEXT = 0xFFFFFF;
constexpr Pixel INACTIVE_TITLE_TEXT = 0xD4D0C8;
constexpr int TITLE_TEXT_INDENT = 4;

void draw_close_box(const PixelTarget& target, const Rect& box) {
    draw_raised_area(target, box);
    // A cross two pixels thick, centred in the box.
    int size = std::min(box.width(), box.height()) - 8;
    int left = box.left + (box.width() - size) / 2;
    int top = box.top + (box.height() - size) / 2;
    for (int i = 0; i < size; ++i) {
        fill_rect(target, left + i, top + i, left + i + 2, top + i + 1, 0x000000);
        fill_rect(target, left + size - 1 - i, top + i, left + size + 1 - i, top + i + 1, 0x000000);
    }
}

}  // namespace

void paint_window_frame(Window window, Bitmap& surface) {
    if (parent_of(window) != Window::NONE || host_decorated(window)) return;
    Insets frame = window_frame(window);
    if (frame.left == 0 && frame.top == 0 && frame.right == 0 && frame.bottom == 0) return;
    PixelTarget target = whole_target(surface);
    Rect client;
    get_client_rect(window, client);
    Point origin = client_origin(window);
    int inner_top = frame.top;
    // Everything outside the menu bar and client area belongs to the frame.
    fill_rect(target, 0, 0, surface.width, inner_top, FACE);
    fill_rect(target, 0, inner_top, frame.left, surface.height, FACE);
    fill_rect(target, origin.x + client.right, inner_top, surface.width, surface.height, FACE);
    fill_rect(target, 0, origin.y + client.bottom, surface.width, surface.height, FACE);
    draw_raised_edge(target, Rect{0, 0, surface.width, surface.height});
    if ((window_style(window) & STYLE_CAPTION) != STYLE_CAPTION) return;

    bool active = detail::top_level_of(focus_window()) == window;
    Rect title{frame.left, frame.top - TITLE_BAR_HEIGHT, surface.width - frame.right, frame.top - 1};
    fill_rect(target, title.left, title.top, title.right, title.bottom, active ? ACTIVE_TITLE : INACTIVE_TITLE);
    Rect close = close_box_rect(window);
    PixelTarget text_target = target;
    text_target.clip.left = std::max(text_target.clip.left, title.left);
    text_target.clip.top = std::max(text_target.clip.top, title.top);
    text_target.clip.right = std::min(text_target.clip.right, close.empty() ? title.right : close.left - 2);
    text_target.clip.bottom = std::min(text_target.clip.bottom, title.bottom);
    FontRequest request = system_font_request();
    request.weight = 700;
    const FontInstance* font = find_font(request);
    const char* text = window_title(window);
    int length = 0;
    while (text[length]) ++length;
    int y = title.top + (title.height() - text_metrics(font).height) / 2;
    draw_text(text_target, font, title.left + TITLE_TEXT_INDENT, y, text, length,
              active ? ACTIVE_TITLE_TEXT : INACTIVE_TITLE_TEXT, false, 0);
    if (!close.empty()) draw_close_box(target, close);
}

}  // namespace platform
