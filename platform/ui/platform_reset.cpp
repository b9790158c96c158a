// Tears the floors down from the top, each with its own reset.
#include "platform/ui/platform_reset.h"

#include "platform/core/message_queue.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/drawing/drawing_context.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_loop.h"

namespace platform {

void reset_platform() {
    reset_menu_loop();
    reset_menus();
    reset_dialog_controls();
    reset_window_system();
    reset_timers();
    reset_message_queue();
    reset_drawing();
}

}  // namespace platform
