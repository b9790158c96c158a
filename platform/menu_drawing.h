// How menus look: the bar a window shows above its client area and the open
// popup drawn over the window for the screen. The geometry (where the bar's
// titles and the popup lie) is menu.cpp's; these functions measure the texts
// that geometry needs and paint inside it with the system font.
#pragma once

#include <string>

#include "platform/bitmap.h"
#include "platform/handles.h"
#include "platform/menu.h"

namespace platform {

// An entry's text as shown: '&' marks the next character as the mnemonic
// ("&&" is a plain '&'), a '\t' starts the right-aligned label.
struct MenuText {
    std::string shown;
    int mnemonic = -1;  // index into shown, or -1
    std::string label;
};
MenuText split_menu_text(const std::string& text);

// Width of a bar title's box: the shown text and its padding on both sides.
int menu_bar_title_width(const std::string& text);
// Width of a popup wide enough for every entry's text and label in their
// columns, borders included; never below MENU_POPUP_WIDTH.
int menu_popup_width(Menu popup);

// Paints the window's menu bar across the top MENU_BAR_HEIGHT rows of its
// surface; nothing for a window without a menu.
void paint_menu_bar(Window window, Bitmap& surface);

// What the screen shows of a window: the surface itself, or, while the open
// popup belongs to this window, a copy in scratch with the highlighted bar
// title and the popup painted over it.
const Bitmap& screen_picture(Window window, const Bitmap& surface, Bitmap& scratch);

}  // namespace platform
