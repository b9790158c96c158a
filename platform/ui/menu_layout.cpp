// Menu geometry: bar titles side by side above the client area, a popup under
// its title, sized to its texts.
#include "platform/ui/menu_layout.h"

#include <algorithm>

#include "platform/core/window.h"
#include "platform/ui/menu.h"
#include "platform/ui/mnemonic.h"

namespace platform {

const FontInstance* menu_font() { return find_font(system_font_request()); }

int menu_text_width(const std::string& text) {
    return text_extent(menu_font(), text.data(), static_cast<int>(text.size())).width;
}

int menu_bar_title_width(const std::string& text) {
    return menu_text_width(split_mnemonic_text(text).shown) + 2 * MENU_TITLE_PADDING;
}

int menu_popup_width(Menu popup) {
    int text_width = 0;
    int label_width = 0;
    for (int position = 0; position < menu_entry_count(popup); ++position) {
        MenuEntry entry;
        if (!menu_entry(popup, position, entry) || (entry.flags & MENU_SEPARATOR)) continue;
        MnemonicText text = split_mnemonic_text(entry.text);
        text_width = std::max(text_width, menu_text_width(text.shown));
        label_width = std::max(label_width, menu_text_width(text.label));
    }
    int width =
        MENU_TEXT_COLUMN + text_width + (label_width > 0 ? MENU_LABEL_GAP + label_width : 0) + MENU_RIGHT_MARGIN;
    return std::max(width, MENU_POPUP_WIDTH);
}

Rect menu_bar_item_rect(Window window, int popup_index) {
    Menu bar = get_menu(window);
    int count = menu_entry_count(bar);
    // The bar lies directly above the client area.
    Point origin = client_origin(window);
    int top = origin.y - MENU_BAR_HEIGHT;
    int x = origin.x;
    MenuEntry entry;
    for (int i = 0; i < popup_index && i < count; ++i)
        if (menu_entry(bar, i, entry)) x += menu_bar_title_width(entry.text);
    bool known = menu_entry(bar, popup_index, entry);
    int width = menu_bar_title_width(known ? entry.text : std::string());
    return Rect{x, top, x + width, top + MENU_BAR_HEIGHT};
}

Rect popup_rect(Window window, int popup_index) {
    Rect item = menu_bar_item_rect(window, popup_index);
    Menu popup = bar_popup(window, popup_index);
    int height = 2 * MENU_POPUP_BORDER;
    MenuEntry entry;
    for (int i = 0; menu_entry(popup, i, entry); ++i)
        height += (entry.flags & MENU_SEPARATOR) ? MENU_SEPARATOR_HEIGHT : MENU_ITEM_HEIGHT;
    return Rect{item.left, item.bottom, item.left + menu_popup_width(popup), item.bottom + height};
}

int popup_entry_at(Window window, int popup_index, int x, int y) {
    Rect area = popup_rect(window, popup_index);
    Menu popup = bar_popup(window, popup_index);
    if (popup == Menu::NONE || x < area.left || x >= area.right || y < area.top || y >= area.bottom) return -1;
    int top = area.top + MENU_POPUP_BORDER;
    MenuEntry entry;
    for (int i = 0; menu_entry(popup, i, entry); ++i) {
        int height = (entry.flags & MENU_SEPARATOR) ? MENU_SEPARATOR_HEIGHT : MENU_ITEM_HEIGHT;
        if (y >= top && y < top + height) return i;
        top += height;
    }
    return -1;
}

}  // namespace platform
