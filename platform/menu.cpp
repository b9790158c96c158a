// Menu bars, popups and the modal menu loop.
#include "platform/menu.h"

#include <vector>

#include "platform/menu_drawing.h"
#include "platform/message_queue.h"
#include "platform/window.h"
#include "platform/window_system.h"

namespace platform {
namespace {

struct MenuRecord {
    bool alive = false;
    bool popup = false;
    std::vector<MenuEntry> entries;
};

std::vector<MenuRecord> menus;
OpenMenuView open_view;
bool menu_open = false;

MenuRecord* find_menu(Menu menu) {
    auto value = static_cast<std::uint32_t>(menu);
    if (value == 0 || value > menus.size()) return nullptr;
    MenuRecord& record = menus[value - 1];
    return record.alive ? &record : nullptr;
}

Menu new_menu(bool popup) {
    menus.push_back(MenuRecord{true, popup, {}});
    return static_cast<Menu>(menus.size());
}

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

bool selectable(const MenuEntry& entry) { return !(entry.flags & (MENU_SEPARATOR | MENU_GRAYED | MENU_POPUP)); }

char mnemonic_of(const MenuEntry& entry) {
    auto amp = entry.text.find('&');
    if (amp == std::string::npos || amp + 1 >= entry.text.size()) return 0;
    char c = entry.text[amp + 1];
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

Menu popup_of_bar(Window window, int popup_index) {
    MenuRecord* bar = find_menu(get_menu(window));
    if (!bar || popup_index < 0 || popup_index >= static_cast<int>(bar->entries.size())) return Menu::NONE;
    const MenuEntry& entry = bar->entries[static_cast<std::size_t>(popup_index)];
    return (entry.flags & MENU_POPUP) ? entry.popup : Menu::NONE;
}

void step_highlight(const MenuRecord& popup, int direction) {
    int count = static_cast<int>(popup.entries.size());
    if (count == 0) return;
    int position = open_view.highlighted;
    for (int tries = 0; tries < count; ++tries) {
        position = position < 0 ? (direction > 0 ? 0 : count - 1) : (position + direction + count) % count;
        if (!(popup.entries[static_cast<std::size_t>(position)].flags & MENU_SEPARATOR)) {
            open_view.highlighted = position;
            return;
        }
    }
}

}  // namespace

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
    return true;
}

bool destroy_menu(Menu menu) {
    MenuRecord* record = find_menu(menu);
    if (!record) return false;
    record->alive = false;
    record->entries.clear();
    return true;
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
    record->needs_present = true;
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

bool choose_menu_command(Window window, unsigned identifier) {
    MenuEntry* entry = find_entry(get_menu(window), identifier);
    if (!entry || !selectable(*entry)) return false;
    return post_message(window, MSG_COMMAND, identifier & 0xFFFF, 0);
}

Rect menu_bar_item_rect(Window window, int popup_index) {
    MenuRecord* bar = find_menu(get_menu(window));
    // The bar lies directly above the client area.
    Point origin = client_origin(window);
    int top = origin.y - MENU_BAR_HEIGHT;
    int x = origin.x;
    if (bar) {
        for (int i = 0; i < popup_index && i < static_cast<int>(bar->entries.size()); ++i)
            x += menu_bar_title_width(bar->entries[static_cast<std::size_t>(i)].text);
    }
    bool known = bar && popup_index >= 0 && popup_index < static_cast<int>(bar->entries.size());
    int width = menu_bar_title_width(known ? bar->entries[static_cast<std::size_t>(popup_index)].text : std::string());
    return Rect{x, top, x + width, top + MENU_BAR_HEIGHT};
}

Rect popup_rect(Window window, int popup_index) {
    Rect item = menu_bar_item_rect(window, popup_index);
    Menu popup_menu = popup_of_bar(window, popup_index);
    MenuRecord* popup = find_menu(popup_menu);
    int height = 4;
    if (popup)
        for (const MenuEntry& entry : popup->entries)
            height += (entry.flags & MENU_SEPARATOR) ? MENU_SEPARATOR_HEIGHT : MENU_ITEM_HEIGHT;
    return Rect{item.left, item.bottom, item.left + menu_popup_width(popup_menu), item.bottom + height};
}

int popup_entry_at(Window window, int popup_index, int x, int y) {
    Rect area = popup_rect(window, popup_index);
    MenuRecord* popup = find_menu(popup_of_bar(window, popup_index));
    if (!popup || x < area.left || x >= area.right || y < area.top || y >= area.bottom) return -1;
    int top = area.top + 2;
    for (std::size_t i = 0; i < popup->entries.size(); ++i) {
        int height = (popup->entries[i].flags & MENU_SEPARATOR) ? MENU_SEPARATOR_HEIGHT : MENU_ITEM_HEIGHT;
        if (y >= top && y < top + height) return static_cast<int>(i);
        top += height;
    }
    return -1;
}

const OpenMenuView* open_menu_view() { return menu_open ? &open_view : nullptr; }

void track_menu(Window window, int popup_index) {
    Menu popup_menu = popup_of_bar(window, popup_index);
    if (menu_open || popup_menu == Menu::NONE) return;
    menu_open = true;
    open_view = OpenMenuView{window, popup_menu, popup_index, -1};
    detail::mark_changed(window);
    unsigned chosen = 0;
    bool choose = false;
    bool open = true;
    while (open) {
        if (!find_menu(open_view.popup) || !is_window(window)) break;
        // A bar replaced under the open menu (by a timer's handler, say) closes it:
        // positions on the screen no longer belong to the popup that was opened.
        if (popup_of_bar(window, popup_index) != open_view.popup) break;
        Message message;
        if (!peek_message(message)) continue;
        // Looked up after the peek: input handed in meanwhile may have built or destroyed menus.
        MenuRecord* popup = find_menu(open_view.popup);
        if (!popup && message.message != MSG_QUIT) {
            dispatch_message(message);
            continue;
        }
        switch (message.message) {
        case MSG_QUIT:
            // The loop ends and leaves the quit request for the program's own pump.
            post_quit_message(static_cast<int>(message.word));
            open = false;
            break;
        case MSG_KEY_DOWN:
        case MSG_SYSTEM_KEY_DOWN: {
            int key = static_cast<int>(message.word);
            if (key == KEY_ESCAPE || key == KEY_F10 || key == KEY_ALT) {
                open = false;
            } else if (key == KEY_DOWN || key == KEY_UP) {
                step_highlight(*popup, key == KEY_DOWN ? 1 : -1);
                detail::mark_changed(window);
            } else if (key == KEY_ENTER) {
                int h = open_view.highlighted;
                if (h >= 0 && h < static_cast<int>(popup->entries.size())) {
                    const MenuEntry& entry = popup->entries[static_cast<std::size_t>(h)];
                    if (selectable(entry)) {
                        choose = true;
                        chosen = entry.identifier;
                        open = false;
                    }
                } else {
                    open = false;
                }
            } else {
                int character = character_for_key(key, key_modifiers(message.position));
                if (character > 0) {
                    char lower =
                        static_cast<char>(character >= 'A' && character <= 'Z' ? character - 'A' + 'a' : character);
                    for (const MenuEntry& entry : popup->entries) {
                        if (selectable(entry) && mnemonic_of(entry) == lower) {
                            choose = true;
                            chosen = entry.identifier;
                            open = false;
                            break;
                        }
                    }
                }
            }
            break;
        }
        case MSG_KEY_UP:
        case MSG_SYSTEM_KEY_UP:
        case MSG_CHARACTER:
        case MSG_SYSTEM_CHARACTER:
        case MSG_LEFT_BUTTON_DOWN:
        case MSG_LEFT_BUTTON_UP: break;
        case MSG_MENU_MOUSE_MOVE:
        case MSG_MENU_MOUSE_DOWN: {
            int x = low_half(message.position);
            int y = high_half(message.position);
            int position = message.window == window ? popup_entry_at(window, popup_index, x, y) : -1;
            if (message.message == MSG_MENU_MOUSE_MOVE) {
                if (position >= 0 && position != open_view.highlighted) {
                    open_view.highlighted = position;
                    detail::mark_changed(window);
                }
                break;
            }
            if (popup_of_bar(window, popup_index) != open_view.popup) position = -1;
            if (position >= static_cast<int>(popup->entries.size())) position = -1;
            if (position < 0) {
                // A press anywhere off the entries closes the menu, its own title included.
                open = false;
                break;
            }
            const MenuEntry& entry = popup->entries[static_cast<std::size_t>(position)];
            if (selectable(entry)) {
                choose = true;
                chosen = entry.identifier;
                open = false;
            }
            break;
        }
        default: dispatch_message(message); break;
        }
    }
    menu_open = false;
    open_view = OpenMenuView{};
    detail::mark_changed(window);
    if (choose) post_message(window, MSG_COMMAND, chosen & 0xFFFF, 0);
}

void reset_menus() {
    menus.clear();
    menu_open = false;
    open_view = OpenMenuView{};
}

}  // namespace platform
