// The default window procedure, which owns the menu bar's behaviour.
#include "platform/ui/default_procedure.h"

#include "platform/core/window.h"
#include "platform/drawing/drawing_context.h"
#include "platform/ui/frame_drawing.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_drawing.h"
#include "platform/ui/menu_layout.h"
#include "platform/ui/menu_loop.h"
#include "platform/ui/mnemonic.h"

namespace platform {

std::intptr_t default_window_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    case MSG_CLOSE: destroy_window(window); return 0;
    case MSG_PAINT: {
        PaintInfo info;
        begin_paint(window, info);
        end_paint(window, info);
        return 0;
    }
    case MSG_SYSTEM_KEY_DOWN:
        if (static_cast<int>(word) == KEY_F10 && get_menu(window) != Menu::NONE) track_menu(window, 0);
        return 0;
    case MSG_SYSTEM_CHARACTER: {
        Menu bar = get_menu(window);
        if (bar == Menu::NONE) return 0;
        int count = menu_entry_count(bar);
        for (int i = 0; i < count; ++i) {
            MenuEntry entry;
            if (!menu_entry(bar, i, entry)) continue;
            if (matches_mnemonic(entry.text, static_cast<int>(word & 0xFF))) {
                track_menu(window, i);
                return 0;
            }
        }
        return 0;
    }
    case MSG_OPEN_MENU:
        if (get_menu(window) != Menu::NONE) track_menu(window, static_cast<int>(word));
        (void)position;
        return 0;
    case MSG_NONCLIENT_HIT_TEST: {
        int x = low_half(position);
        int y = high_half(position);
        for (int i = 0; i < menu_entry_count(get_menu(window)); ++i) {
            Rect item = menu_bar_item_rect(window, i);
            if (x >= item.left && x < item.right && y >= item.top && y < item.bottom) return i + 1;
        }
        return 0;
    }
    case MSG_NONCLIENT_PAINT:
        if (word) {
            paint_window_frame(window, *reinterpret_cast<Bitmap*>(word));
            paint_menu_bar(window, *reinterpret_cast<Bitmap*>(word));
        }
        return 0;
    case MSG_PAINT_OVERLAY: {
        const OpenMenuView* view = open_menu_view();
        if (word && view && view->window == window)
            paint_open_menu(window, view->popup_index, view->highlighted, *reinterpret_cast<Bitmap*>(word));
        return 0;
    }
    case MSG_CHOOSE_MENU_ENTRY: choose_menu_command(window, static_cast<unsigned>(word)); return 0;
    default: return 0;
    }
}

}  // namespace platform
