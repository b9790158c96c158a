// The message queue, translation of keys into characters and dispatch.
#include "platform/core/message_queue.h"

#include <array>
#include <deque>

#include "platform/base/clock.h"
#include "platform/core/backend.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/core/window_records.h"

namespace platform {
namespace detail {
namespace {

std::deque<Message> queue;
int empty_peeks = 0;
std::array<bool, 256> keys_down{};
bool caps_lock = false;

bool take_paint(Message& message) {
    for (auto [window, record] : all_windows()) {
        if (!record.invalid) continue;
        bool shown = record.visible;
        if (record.parent != Window::NONE) {
            WindowRecord* top = find_window(top_level_of(window));
            shown = shown && top && top->visible;
        }
        if (!shown) continue;
        message = Message{window, MSG_PAINT, 0, 0};
        return true;
    }
    return false;
}

}  // namespace

void set_key_state(int virtual_key, bool down) {
    if (virtual_key < 0 || virtual_key > 255) return;
    if (down && virtual_key == KEY_CAPS_LOCK && !keys_down[KEY_CAPS_LOCK]) caps_lock = !caps_lock;
    keys_down[static_cast<std::size_t>(virtual_key)] = down;
}

}  // namespace detail

void reset_message_queue() {
    detail::queue.clear();
    detail::empty_peeks = 0;
    detail::keys_down.fill(false);
    detail::caps_lock = false;
}

bool is_key_down(int virtual_key) {
    return virtual_key >= 0 && virtual_key <= 255 && detail::keys_down[static_cast<std::size_t>(virtual_key)];
}

bool post_message(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (window != Window::NONE && !detail::find_window(window)) return false;
    detail::queue.push_back(Message{window, message, word, position});
    return true;
}

bool post_coalesced_message(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (!detail::queue.empty()) {
        Message& last = detail::queue.back();
        if (last.window == window && last.message == message && detail::find_window(window)) {
            last.word = word;
            last.position = position;
            return true;
        }
    }
    return post_message(window, message, word, position);
}

bool has_pending_messages() { return !detail::queue.empty(); }

void post_quit_message(int exit_code) {
    detail::queue.push_back(Message{Window::NONE, MSG_QUIT, static_cast<std::uintptr_t>(exit_code), 0});
}

bool peek_message(Message& message, bool may_wait) {
    detail::present_changed_windows();
    if (has_backend()) backend().poll_input();
    bool found = false;
    while (!detail::queue.empty()) {
        message = detail::queue.front();
        detail::queue.pop_front();
        // Messages for windows destroyed after they were posted are dropped.
        if (message.window == Window::NONE || detail::find_window(message.window)) {
            found = true;
            break;
        }
    }
    if (!found) found = detail::take_paint(message);
    if (!found) found = take_due_timer(monotonic_ms(), message);
    if (found) {
        detail::empty_peeks = 0;
        return true;
    }
    if (may_wait && ++detail::empty_peeks >= 2 && has_backend()) {
        detail::empty_peeks = 0;
        detail::present_changed_windows();
        backend().wait_for_input(next_timer_deadline());
    }
    return false;
}

unsigned current_modifiers() {
    return (is_key_down(KEY_SHIFT) ? MODIFIER_SHIFT : 0u) | (is_key_down(KEY_CONTROL) ? MODIFIER_CONTROL : 0u) |
           (detail::caps_lock ? MODIFIER_CAPS_LOCK : 0u);
}

bool translate_message(const Message& message) {
    if (message.message != MSG_KEY_DOWN && message.message != MSG_SYSTEM_KEY_DOWN) return false;
    int character = character_for_key(static_cast<int>(message.word & 0xFF), key_modifiers(message.position));
    if (character < 0) return false;
    unsigned kind = message.message == MSG_KEY_DOWN ? MSG_CHARACTER : MSG_SYSTEM_CHARACTER;
    if (!detail::find_window(message.window)) return false;
    // The character comes next, ahead of input that was already waiting, so a
    // burst of keys keeps its order (letters before the Enter typed after them).
    detail::queue.push_front(Message{message.window, kind, static_cast<std::uintptr_t>(character), message.position});
    return true;
}

std::intptr_t dispatch_message(const Message& message) {
    if (message.message == MSG_QUIT) return 0;
    return send_message(message.window, message.message, message.word, message.position);
}

}  // namespace platform
