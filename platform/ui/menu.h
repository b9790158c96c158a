// Menu bars and popups. Choosing an entry posts MSG_COMMAND with its
// identifier to the window; separators and grayed entries never do.
// Where they lie is menu_layout.h's, how they look menu_drawing.h's and
// the open popup menu_loop.h's.
#pragma once

#include <string>

#include "platform/base/bitmap.h"
#include "platform/base/handles.h"
#include "platform/base/messages.h"

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

// The popup under entry popup_index of the window's bar; NONE when that entry opens none.
Menu bar_popup(Window window, int popup_index);
bool is_menu(Menu menu);
// Whether choosing the entry gives a command: separators, grayed entries and popups do not.
bool menu_entry_selectable(const MenuEntry& entry);
void reset_menus();

}  // namespace platform
