// The modal menu loop: keys move the highlight or choose by mnemonic, presses
// choose or close, everything else is dispatched as usual.
#include "platform/ui/menu_loop.h"

#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/core/window_records.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_layout.h"
#include "platform/ui/mnemonic.h"
#include "platform/ui/modal_loop.h"

namespace platform {
namespace {

OpenMenuView open_view;
bool menu_open = false;

void step_highlight(Menu popup, int direction) {
    int count = menu_entry_count(popup);
    if (count == 0) return;
    int position = open_view.highlighted;
    for (int tries = 0; tries < count; ++tries) {
        position = position < 0 ? (direction > 0 ? 0 : count - 1) : (position + direction + count) % count;
        MenuEntry entry;
        if (menu_entry(popup, position, entry) && !(entry.flags & MENU_SEPARATOR)) {
            open_view.highlighted = position;
            return;
        }
    }
}
}  // namespace

const OpenMenuView* open_menu_view() { return menu_open ? &open_view : nullptr; }

void track_menu(Window window, int popup_index) {
    Menu popup_menu = bar_popup(window, popup_index);
    if (menu_open || popup_menu == Menu::NONE) return;
    menu_open = true;
    open_view = OpenMenuView{window, popup_menu, popup_index, -1};
    set_mouse_capture(window);
    set_window_overlay(window, true);
    unsigned chosen = 0;
    bool choose = false;
    bool open = true;
    auto running = [&] {
        // A bar replaced under the open menu (by a timer's handler, say) closes it:
        // positions on the screen no longer belong to the popup that was opened.
        return open && is_menu(open_view.popup) && is_window(window) &&
               bar_popup(window, popup_index) == open_view.popup;
    };
    auto take = [&](const Message& message) {
        // Looked up after the peek: input handed in meanwhile may have built or destroyed menus.
        Menu popup = is_menu(open_view.popup) ? open_view.popup : Menu::NONE;
        if (popup == Menu::NONE) {
            dispatch_message(message);
            return true;
        }
        switch (message.message) {
        case MSG_KEY_DOWN:
        case MSG_SYSTEM_KEY_DOWN: {
            int key = static_cast<int>(message.word);
            if (key == KEY_ESCAPE || key == KEY_F10 || key == KEY_ALT) {
                open = false;
            } else if (key == KEY_DOWN || key == KEY_UP) {
                step_highlight(popup, key == KEY_DOWN ? 1 : -1);
                detail::mark_changed(window);
            } else if (key == KEY_ENTER) {
                MenuEntry entry;
                if (menu_entry(popup, open_view.highlighted, entry)) {
                    if (menu_entry_selectable(entry)) {
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
                    MenuEntry entry;
                    for (int i = 0; menu_entry(popup, i, entry); ++i) {
                        if (menu_entry_selectable(entry) && matches_mnemonic(entry.text, character)) {
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
        case MSG_CAPTURE_MOUSE_MOVE:
        case MSG_CAPTURE_MOUSE_DOWN: {
            int x = low_half(message.position);
            int y = high_half(message.position);
            int position = message.window == window ? popup_entry_at(window, popup_index, x, y) : -1;
            if (message.message == MSG_CAPTURE_MOUSE_MOVE) {
                if (position >= 0 && position != open_view.highlighted) {
                    open_view.highlighted = position;
                    detail::mark_changed(window);
                }
                break;
            }
            if (bar_popup(window, popup_index) != open_view.popup) position = -1;
            MenuEntry entry;
            if (!menu_entry(popup, position, entry)) {
                // A press anywhere off the entries closes the menu, its own title included.
                open = false;
                break;
            }
            if (menu_entry_selectable(entry)) {
                choose = true;
                chosen = entry.identifier;
                open = false;
            }
            break;
        }
        default: return false;
        }
        return true;
    };
    run_modal_loop(running, take, [](const Message&) {});
    menu_open = false;
    open_view = OpenMenuView{};
    set_mouse_capture(Window::NONE);
    set_window_overlay(window, false);
    if (choose) post_message(window, MSG_COMMAND, chosen & 0xFFFF, 0);
}

void reset_menu_loop() {
    menu_open = false;
    open_view = OpenMenuView{};
}

}  // namespace platform
