// How menus look: the bar a window shows above its client area and the open
// popup painted over the window. Where they lie is menu_layout.h's; these
// functions paint inside that geometry with the system font.
#pragma once

#include "platform/base/bitmap.h"
#include "platform/base/handles.h"

namespace platform {

// Paints the window's menu bar across the top MENU_BAR_HEIGHT rows of its
// surface; nothing for a window without a menu.
void paint_menu_bar(Window window, Bitmap& surface);
// Paints popup popup_index of the window's bar, open with its title
// highlighted, onto a picture of the window's surface.
void paint_open_menu(Window window, int popup_index, int highlighted, Bitmap& picture);

}  // namespace platform
