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

// A button message taken: its event when buttons are asked for, else nothing.
bool button_event(bool down, int button, std::intptr_t position) {
    if (wants(KAVRO_WANT_BUTTONS)) pointer_event(down ? KAVRO_BUTTON_DOWN : KAVRO_BUTTON_UP, position, button);
    return true;
}

}  // namespace

void deliver_key(int kind, std::uintptr_t word, std::intptr_t position) {
    // A key held down is one press; its repeats only type characters.
    if (!wants(KAVRO_WANT_KEYS) || (kind == KAVRO_KEY_PRESS && (position & platform::KEY_REPEAT))) return;
    state.pending = PendingEvent{kind, static_cast<std::int32_t>(word & 0xFF), 0, 0};
}

bool take_pointer_message(unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    // Without buttons asked for, the left press stays the classic KAVRO_MOUSE.
    case platform::MSG_LEFT_BUTTON_DOWN:
        return wants(KAVRO_WANT_BUTTONS) && button_event(true, KAVRO_BUTTON_LEFT, position);
    case platform::MSG_LEFT_BUTTON_UP: return button_event(false, KAVRO_BUTTON_LEFT, position);
    case platform::MSG_MIDDLE_BUTTON_DOWN: return button_event(true, KAVRO_BUTTON_MIDDLE, position);
    case platform::MSG_MIDDLE_BUTTON_UP: return button_event(false, KAVRO_BUTTON_MIDDLE, position);
    case platform::MSG_RIGHT_BUTTON_DOWN: return button_event(true, KAVRO_BUTTON_RIGHT, position);
    case platform::MSG_RIGHT_BUTTON_UP: return button_event(false, KAVRO_BUTTON_RIGHT, position);
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
    if (code < 0 || code >= static_cast<int>(state.held_keys.size())) return 0;
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
