// Painting the menu bar and the open popup with the system font on the flat
// grey menu face.
#include "platform/ui/menu_drawing.h"

#include <algorithm>

#include "platform/core/window.h"
#include "platform/drawing/font.h"
#include "platform/drawing/rasterizer.h"
#include "platform/drawing/system_look.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_layout.h"
#include "platform/ui/mnemonic.h"

namespace platform {
namespace {

constexpr Pixel TEXT = 0x000000;
constexpr Pixel GRAY_TEXT = 0x808080;

int cell_height() { return text_metrics(menu_font()).height; }

void draw_menu_text(const PixelTarget& target, int x, int y, const MnemonicText& text, Pixel pixel) {
    const FontInstance* font = menu_font();
    draw_text(target, font, x, y, text.shown.data(), static_cast<int>(text.shown.size()), pixel, false, 0);
    if (text.mnemonic < 0) return;
    int before = text_extent(font, text.shown.data(), text.mnemonic).width;
    int width = text_extent(font, text.shown.data() + text.mnemonic, 1).width;
    int row = y + text_metrics(font).ascent + 1;
    fill_rect(target, x + before, row, x + before + width, row + 1, pixel);
}

// A grayed text is etched: a light copy one pixel down and right under the grey.
void draw_entry_text(const PixelTarget& target, int x, int y, const MnemonicText& text, Pixel pixel, bool etched) {
    if (etched) draw_menu_text(target, x + 1, y + 1, text, LIGHT);
    draw_menu_text(target, x, y, text, pixel);
}

void draw_check_mark(const PixelTarget& target, int x, int y, Pixel pixel) {
    // Rows of the tick's lowest pixel per column, left to right, three pixels thick.
    static const int bottom[7] = {4, 5, 6, 5, 4, 3, 2};
    for (int column = 0; column < 7; ++column)
        fill_rect(target, x + column, y + bottom[column] - 2, x + column + 1, y + bottom[column] + 1, pixel);
}

void draw_bar_title(const PixelTarget& target, const Rect& item, const std::string& text, bool grayed,
                    bool highlighted) {
    if (highlighted) fill_rect(target, item.left, item.top, item.right, item.bottom, HIGHLIGHT);
    Pixel pixel = highlighted ? HIGHLIGHT_TEXT : grayed ? GRAY_TEXT : TEXT;
    int y = item.top + (item.height() - cell_height()) / 2;
    draw_entry_text(target, item.left + MENU_TITLE_PADDING, y, split_mnemonic_text(text), pixel,
                    grayed && !highlighted);
}

void draw_popup(const PixelTarget& target, Window window, int popup_index, int highlighted_position) {
    Rect area = popup_rect(window, popup_index);
    Menu popup = bar_popup(window, popup_index);
    draw_raised_area(target, area);
    int left = area.left + MENU_POPUP_BORDER;
    int right = area.right - MENU_POPUP_BORDER;
    int top = area.top + MENU_POPUP_BORDER;
    int cell = cell_height();
    for (int position = 0; position < menu_entry_count(popup); ++position) {
        MenuEntry entry;
        menu_entry(popup, position, entry);
        if (entry.flags & MENU_SEPARATOR) {
            int middle = top + MENU_SEPARATOR_HEIGHT / 2 - 1;
            fill_rect(target, left, middle, right, middle + 1, SHADOW);
            fill_rect(target, left, middle + 1, right, middle + 2, LIGHT);
            top += MENU_SEPARATOR_HEIGHT;
            continue;
        }
        bool highlighted = position == highlighted_position;
        bool grayed = (entry.flags & MENU_GRAYED) != 0;
        if (highlighted) fill_rect(target, left, top, right, top + MENU_ITEM_HEIGHT, HIGHLIGHT);
        Pixel pixel = grayed ? GRAY_TEXT : highlighted ? HIGHLIGHT_TEXT : TEXT;
        bool etched = grayed && !highlighted;
        if (entry.flags & MENU_CHECKED) draw_check_mark(target, area.left + 7, top + (MENU_ITEM_HEIGHT - 7) / 2, pixel);
        MnemonicText text = split_mnemonic_text(entry.text);
        int y = top + (MENU_ITEM_HEIGHT - cell) / 2;
        draw_entry_text(target, area.left + MENU_TEXT_COLUMN, y, text, pixel, etched);
        if (!text.label.empty()) {
            MnemonicText label{text.label, -1, {}};
            draw_entry_text(target, area.right - MENU_RIGHT_MARGIN - menu_text_width(text.label), y, label, pixel,
                            etched);
        }
        top += MENU_ITEM_HEIGHT;
    }
}

}  // namespace

namespace {

// The bar's rows across the client area's width.
PixelTarget bar_target(Window window, Bitmap& surface) {
    PixelTarget target = whole_target(surface);
    Rect client;
    get_client_rect(window, client);
    Point origin = client_origin(window);
    target.clip.left = std::max(target.clip.left, origin.x);
    target.clip.top = std::max(target.clip.top, origin.y - MENU_BAR_HEIGHT);
    target.clip.right = std::min(target.clip.right, origin.x + client.right);
    target.clip.bottom = std::min(target.clip.bottom, origin.y);
    return target;
}

}  // namespace

void paint_menu_bar(Window window, Bitmap& surface) {
    Menu bar = get_menu(window);
    if (bar == Menu::NONE || parent_of(window) != Window::NONE) return;
    PixelTarget target = bar_target(window, surface);
    fill_rect(target, target.clip.left, target.clip.top, target.clip.right, target.clip.bottom, FACE);
    for (int position = 0; position < menu_entry_count(bar); ++position) {
        MenuEntry entry;
        menu_entry(bar, position, entry);
        draw_bar_title(target, menu_bar_item_rect(window, position), entry.text, (entry.flags & MENU_GRAYED) != 0,
                       false);
    }
}

void paint_open_menu(Window window, int popup_index, int highlighted, Bitmap& picture) {
    Menu bar = get_menu(window);
    if (bar == Menu::NONE || bar_popup(window, popup_index) == Menu::NONE) return;
    MenuEntry title;
    if (menu_entry(bar, popup_index, title)) {
        draw_bar_title(bar_target(window, picture), menu_bar_item_rect(window, popup_index), title.text,
                       (title.flags & MENU_GRAYED) != 0, true);
    }
    draw_popup(whole_target(picture), window, popup_index, highlighted);
}

}  // namespace platform
