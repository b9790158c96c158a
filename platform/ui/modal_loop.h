// The one nested message loop of modal menus and dialogs.
#pragma once

#include "platform/base/messages.h"
#include "platform/core/message_queue.h"

namespace platform {

// While running() holds, takes the next message of the thread, lets take()
// handle it (true: taken), translates and dispatches what it leaves, then
// calls after(). A quit request ends the loop and is posted again, so the
// program's own loop still sees it; false then.
template <typename Running, typename Take, typename After>
bool run_modal_loop(Running running, Take take, After after) {
    while (running()) {
        Message message;
        if (!peek_message(message)) continue;
        if (message.message == MSG_QUIT) {
            post_quit_message(static_cast<int>(message.word));
            return false;
        }
        if (!take(message)) {
            translate_message(message);
            dispatch_message(message);
        }
        after(message);
    }
    return true;
}

}  // namespace platform
