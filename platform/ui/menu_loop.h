// The modal menu loop: a popup of a window's menu bar open over the window,
// tracked by keyboard and mouse until an entry is chosen or the menu closes.
#pragma once

#include "platform/base/handles.h"

namespace platform {

// Opens popup `popup_index` of the window's bar; returns when it closes.
// Timer and paint messages keep being dispatched meanwhile. The window holds
// the mouse capture and shows the popup as its overlay while it is open.
void track_menu(Window window, int popup_index);

// What is open, for painting it and for tests: null while no menu is open.
struct OpenMenuView {
    Window window = Window::NONE;
    Menu popup = Menu::NONE;
    int popup_index = 0;
    int highlighted = -1;  // entry position
};
const OpenMenuView* open_menu_view();

// Forgets an open menu (tests start afresh).
void reset_menu_loop();

}  // namespace platform
