// Where a window's menu bar entries and its open popup lie, in window-surface
// coordinates, and the widths that place them: texts measured in the system font.
#pragma once

#include <string>

#include "platform/base/bitmap.h"
#include "platform/base/handles.h"
#include "platform/drawing/font.h"

namespace platform {

constexpr int MENU_ITEM_HEIGHT = 18;
constexpr int MENU_SEPARATOR_HEIGHT = 8;
constexpr int MENU_POPUP_WIDTH = 260;
constexpr int MENU_TITLE_PADDING = 6;
constexpr int MENU_POPUP_BORDER = 2;
// From the popup's left edge to the texts; the check mark sits in between.
constexpr int MENU_TEXT_COLUMN = 20;
constexpr int MENU_LABEL_GAP = 24;
constexpr int MENU_RIGHT_MARGIN = 14;

const FontInstance* menu_font();
int menu_text_width(const std::string& text);

// Width of a bar title's box: the shown text and its padding on both sides.
int menu_bar_title_width(const std::string& text);
// Width of a popup wide enough for every entry's text and label in their
// columns, borders included; never below MENU_POPUP_WIDTH.
int menu_popup_width(Menu popup);

// The bar lies directly above the client area.
Rect menu_bar_item_rect(Window window, int popup_index);
Rect popup_rect(Window window, int popup_index);
// The entry position under a window-surface point of the open popup, or -1.
int popup_entry_at(Window window, int popup_index, int x, int y);

}  // namespace platform
