// Menu bars and popups: their entries, and which window shows which bar.
#include "platform/ui/menu.h"

#include <vector>

#include "platform/base/handle_table.h"
#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/core/window_records.h"

namespace platform {
namespace {

struct MenuRecord {
    bool popup = false;
    std::vector<MenuEntry> entries;
};

HandleTable<MenuRecord, Menu> menus;

MenuRecord* find_menu(Menu menu) { return menus.find(menu); }

Menu new_menu(bool popup) { return menus.add(MenuRecord{popup, {}}); }

MenuEntry* find_entry(Menu menu, unsigned identifier, int depth = 0) {
    MenuRecord* record = find_menu(menu);
    if (!record || depth > 8) return nullptr;
    for (MenuEntry& entry : record->entries) {
        if (entry.flags & MENU_POPUP) {
            if (MenuEntry* inner = find_entry(entry.popup, identifier, depth + 1)) return inner;
        } else if (!(entry.flags & MENU_SEPARATOR) && entry.identifier == identifier) {
            return &entry;
        }
    }
    return nullptr;
}

// A bar's entries show on every window that has it, so they repaint it.
void bar_changed(Menu menu) {
    for (auto [window, record] : detail::all_windows())
        if (record.menu == menu) detail::mark_changed(window);
}

}  // namespace

Menu bar_popup(Window window, int popup_index) {
    MenuRecord* bar = find_menu(get_menu(window));
    if (!bar || popup_index < 0 || popup_index >= static_cast<int>(bar->entries.size())) return Menu::NONE;
    const MenuEntry& entry = bar->entries[static_cast<std::size_t>(popup_index)];
    return (entry.flags & MENU_POPUP) ? entry.popup : Menu::NONE;
}

Menu create_menu() { return new_menu(false); }
Menu create_popup_menu() { return new_menu(true); }

bool append_menu(Menu menu, unsigned flags, unsigned identifier, const char* text) {
    MenuRecord* record = find_menu(menu);
    if (!record) return false;
    MenuEntry entry;
    entry.flags = flags;
    entry.identifier = identifier;
    entry.text = text && !(flags & MENU_SEPARATOR) ? text : "";
    if (flags & MENU_POPUP) {
        entry.popup = static_cast<Menu>(identifier);
        if (!find_menu(entry.popup)) return false;
    }
    record->entries.push_back(std::move(entry));
    bar_changed(menu);
    return true;
}

bool destroy_menu(Menu menu) {
    bar_changed(menu);
    return menus.remove(menu);
}

int check_menu_item(Menu menu, unsigned identifier, bool checked) {
    MenuEntry* entry = find_entry(menu, identifier);
    if (!entry) return -1;
    int before = (entry->flags & MENU_CHECKED) ? 1 : 0;
    if (checked)
        entry->flags |= MENU_CHECKED;
    else
        entry->flags &= ~MENU_CHECKED;
    return before;
}

bool set_menu(Window window, Menu menu) {
    detail::WindowRecord* record = detail::find_window(window);
    if (!record || (menu != Menu::NONE && !find_menu(menu))) return false;
    record->menu = menu;
    if (record->size_sent) detail::notify_size(window);
    detail::mark_changed(window);
    return true;
}

Menu get_menu(Window window) {
    detail::WindowRecord* record = detail::find_window(window);
    return record && find_menu(record->menu) ? record->menu : Menu::NONE;
}

bool draw_menu_bar(Window window) {
    if (get_menu(window) == Menu::NONE) return false;
    detail::mark_changed(window);
    return true;
}

int menu_entry_count(Menu menu) {
    MenuRecord* record = find_menu(menu);
    return record ? static_cast<int>(record->entries.size()) : 0;
}

bool menu_entry(Menu menu, int position, MenuEntry& entry) {
    MenuRecord* record = find_menu(menu);
    if (!record || position < 0 || position >= static_cast<int>(record->entries.size())) return false;
    entry = record->entries[static_cast<std::size_t>(position)];
    return true;
}

bool find_menu_entry(Menu menu, unsigned identifier, MenuEntry& entry) {
    MenuEntry* found = find_entry(menu, identifier);
    if (!found) return false;
    entry = *found;
    return true;
}

bool menu_entry_selectable(const MenuEntry& entry) {
    return !(entry.flags & (MENU_SEPARATOR | MENU_GRAYED | MENU_POPUP));
}

bool is_menu(Menu menu) { return find_menu(menu) != nullptr; }

bool choose_menu_command(Window window, unsigned identifier) {
    MenuEntry* entry = find_entry(get_menu(window), identifier);
    if (!entry || !menu_entry_selectable(*entry)) return false;
    return post_message(window, MSG_COMMAND, identifier & 0xFFFF, 0);
}

void reset_menus() { menus.clear(); }

}  // namespace platform
