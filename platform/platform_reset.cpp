// Tears the floors down from the top, each with its own reset.
#include "platform/platform_reset.h"

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/menu.h"
#include "platform/menu_loop.h"
#include "platform/window.h"

namespace platform {

void reset_platform() {
    reset_menu_loop();
    reset_menus();
    reset_dialog_controls();
    reset_window_system();
    reset_drawing();
}

}  // namespace platform
