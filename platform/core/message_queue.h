// The program's one message queue: posting, non-blocking retrieval with
// timers and paint synthesised when nothing else waits, translation of
// key-downs into characters and dispatch.
#pragma once

#include "platform/base/messages.h"

namespace platform {

// False when the window does not exist (Window::NONE is allowed for thread messages).
bool post_message(Window window, unsigned message, std::uintptr_t word, std::intptr_t position);
// As post_message, but when the last queued message is the same kind for the
// same window it takes the new word and position instead.
bool post_coalesced_message(Window window, unsigned message, std::uintptr_t word, std::intptr_t position);
void post_quit_message(int exit_code);
// Whether a posted message waits in the queue.
bool has_pending_messages();
// Takes the next message without waiting; false when there is none. Order:
// queued messages, then paint for an invalid window, then one due timer.
// Two empty answers in a row let the backend wait for input until the next
// timer deadline, so an idle program costs nothing; may_wait false never waits.
bool peek_message(Message& message, bool may_wait = true);
// A key-down (or system key-down) posts a character (or system character)
// for the same window when the key stands for one. True when it did.
bool translate_message(const Message& message);
// Calls the window's procedure; the quit request is never dispatched. 0 for
// a destroyed window.
std::intptr_t dispatch_message(const Message& message);
// The modifiers held now.
unsigned current_modifiers();
bool is_key_down(int virtual_key);

// Drops every queued message and forgets the keys held (tests start afresh).
void reset_message_queue();

}  // namespace platform
