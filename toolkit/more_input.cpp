// The input a program asks for with KAVRO_want_events: keys down and up, the
// keys held, every mouse button, the pointer's movement and the wheel; and
// the tick's interval.
#include <algorithm>

#include "platform/core/input.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "toolkit/state.h"

namespace kavro {
namespace {

bool wants(int bit) { return (state.wanted_events & bit) != 0; }

void pointer_event(int kind, std::intptr_t position, int key) {
    state.pending.kind = kind;
    state.pending.x = platform::low_half(position) - state.centre_x;
    state.pending.y = state.centre_y - platform::high_half(position);
    state.pending.key = static_cast<char>(key);
}

}  // namespace

void deliver_key(int kind, std::uintptr_t word, std::intptr_t position) {
    // A key held down is one press; its repeats only type characters.
    if (!wants(KAVRO_WANT_KEYS) || (kind == KAVRO_KEY_PRESS && (position & platform::KEY_REPEAT))) return;
    state.pending = PendingEvent{kind, static_cast<std::int32_t>(word & 0xFF), 0, 0};
}

bool take_pointer_message(unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    case platform::MSG_LEFT_BUTTON_DOWN:
        if (!wants(KAVRO_WANT_BUTTONS)) return false;
        pointer_event(KAVRO_BUTTON_DOWN, position, KAVRO_BUTTON_LEFT);
        return true;
    case platform::MSG_LEFT_BUTTON_UP:
    case platform::MSG_MIDDLE_BUTTON_DOWN:
    case platform::MSG_MIDDLE_BUTTON_UP:
    case platform::MSG_RIGHT_BUTTON_DOWN:
    case platform::MSG_RIGHT_BUTTON_UP: {
        if (!wants(KAVRO_WANT_BUTTONS)) return true;
        bool down = message == platform::MSG_MIDDLE_BUTTON_DOWN || message == platform::MSG_RIGHT_BUTTON_DOWN;
        int button = message == platform::MSG_LEFT_BUTTON_UP ? KAVRO_BUTTON_LEFT
                     : message == platform::MSG_MIDDLE_BUTTON_DOWN || message == platform::MSG_MIDDLE_BUTTON_UP
                         ? KAVRO_BUTTON_MIDDLE
                         : KAVRO_BUTTON_RIGHT;
        pointer_event(down ? KAVRO_BUTTON_DOWN : KAVRO_BUTTON_UP, position, button);
        return true;
    }
    case platform::MSG_MOUSE_MOVE:
        if (wants(KAVRO_WANT_MOTION)) pointer_event(KAVRO_MOTION, position, 0);
        return true;
    case platform::MSG_MOUSE_WHEEL:
        if (wants(KAVRO_WANT_WHEEL))
            pointer_event(KAVRO_WHEEL, position,
                          std::clamp(static_cast<int>(static_cast<std::intptr_t>(word)), -127, 127));
        return true;
    default: return false;
    }
}

void note_held_key(int kind, int code) {
    if (code < 0 || code >= static_cast<int>(state.held_keys.size())) return;
    if (kind == KAVRO_KEY_PRESS) state.held_keys[static_cast<std::size_t>(code)] = true;
    if (kind == KAVRO_KEY_RELEASE) state.held_keys[static_cast<std::size_t>(code)] = false;
}

bool wanted_event_kind(int kind) {
    switch (kind) {
    case KAVRO_KEY_PRESS:
    case KAVRO_KEY_RELEASE: return wants(KAVRO_WANT_KEYS);
    case KAVRO_BUTTON_DOWN:
    case KAVRO_BUTTON_UP: return wants(KAVRO_WANT_BUTTONS);
    case KAVRO_MOTION: return wants(KAVRO_WANT_MOTION);
    case KAVRO_WHEEL: return wants(KAVRO_WANT_WHEEL);
    default: return true;
    }
}

}  // namespace kavro

using namespace kavro;

extern "C" int KAVRO_want_events(int mask) {
    int before = state.wanted_events;
    state.wanted_events = mask & KAVRO_WANT_ALL;
    // Keys already held were never delivered as pressed: nothing counts as held.
    if (!wants(KAVRO_WANT_KEYS)) state.held_keys.fill(false);
    return before;
}

extern "C" int KAVRO_key_held(int code) {
    if (!wants(KAVRO_WANT_KEYS) || code < 0 || code >= static_cast<int>(state.held_keys.size())) return 0;
    return state.held_keys[static_cast<std::size_t>(code)] ? 1 : 0;
}

extern "C" int KAVRO_set_tick(int milliseconds) {
    constexpr int FASTEST = 10;
    constexpr int SLOWEST = 1000;
    state.tick_interval_ms = static_cast<unsigned>(std::clamp(milliseconds, FASTEST, SLOWEST));
    if (platform::is_window(state.graphics_window))
        platform::set_timer(state.graphics_window, TICK_TIMER_ID, state.tick_interval_ms);
    return static_cast<int>(state.tick_interval_ms);
}
