// Menu bars and popups. Choosing an entry posts MSG_COMMAND with its
// identifier to the window; separators and grayed entries never do.
#pragma once

#include <string>

#include "platform/bitmap.h"
#include "platform/handles.h"
#include "platform/messages.h"

namespace platform {

constexpr unsigned MENU_STRING = 0x0000;
constexpr unsigned MENU_GRAYED = 0x0001;
constexpr unsigned MENU_CHECKED = 0x0008;
constexpr unsigned MENU_POPUP = 0x0010;
constexpr unsigned MENU_SEPARATOR = 0x0800;

Menu create_menu();  // a menu bar
Menu create_popup_menu();
// For MENU_POPUP the identifier is the popup's handle value. Text may hold an
// '&' before the mnemonic and a '\t' before a right-aligned label.
bool append_menu(Menu menu, unsigned flags, unsigned identifier, const char* text);
bool destroy_menu(Menu menu);
// By command identifier (the first entry with it, popups searched too).
// Returns the previous check state, or -1 when there is no such entry.
int check_menu_item(Menu menu, unsigned identifier, bool checked);
// The window's client area loses the bar's height.
bool set_menu(Window window, Menu menu);
Menu get_menu(Window window);
bool draw_menu_bar(Window window);

struct MenuEntry {
    unsigned identifier = 0;
    unsigned flags = 0;
    std::string text;
    Menu popup = Menu::NONE;
};
int menu_entry_count(Menu menu);
// False when the position is out of range.
bool menu_entry(Menu menu, int position, MenuEntry& entry);
// Finds an entry by command identifier (popups searched too).
bool find_menu_entry(Menu menu, unsigned identifier, MenuEntry& entry);

// Posts the command of the entry with this identifier to the window as a
// click on it would; false (nothing posted) for grayed entries, separators
// and unknown identifiers.
bool choose_menu_command(Window window, unsigned identifier);

// The modal menu loop: opens popup `popup_index` of the window's bar and
// tracks keyboard and mouse until an entry is chosen or the menu closes.
// Timer and paint messages keep being dispatched meanwhile.
void track_menu(Window window, int popup_index);

// What an open popup looks like, for the screen: null while no menu is open.
struct OpenMenuView {
    Window window = Window::NONE;
    Menu popup = Menu::NONE;
    int popup_index = 0;
    int highlighted = -1;  // entry position
};
const OpenMenuView* open_menu_view();

// Geometry of the bar and the open popup in window-surface coordinates.
constexpr int MENU_ITEM_HEIGHT = 18;
constexpr int MENU_SEPARATOR_HEIGHT = 8;
constexpr int MENU_POPUP_WIDTH = 260;
Rect menu_bar_item_rect(Window window, int popup_index);
Rect popup_rect(Window window, int popup_index);
// The entry position under a window-surface point of the open popup, or -1.
int popup_entry_at(Window window, int popup_index, int x, int y);

void reset_menus();

}  // namespace platform
