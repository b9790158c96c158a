// Event delivery: the wait that polls the platform's queue one message per
// turn, arms periodic events, consults the script and records what it delivers.
#include "platform/core/message_queue.h"
#include "toolkit/call_trace.h"
#include "toolkit/misuse.h"
#include "toolkit/replay_driver.h"
#include "toolkit/state.h"

namespace kavro {

bool pump_one_message() {
    platform::Message message;
    // Script events come as fast as the program asks: playback never idles.
    bool may_wait = !(state.playing || state.play_one);
    if (platform::peek_message(message, may_wait)) {
        if (message.message == platform::MSG_QUIT) {
            state.pending.kind = KAVRO_QUIT;
            return true;
        }
        platform::translate_message(message);
        platform::dispatch_message(message);
    }
    if (state.dirty) {
        present_canvas();
        state.dirty = 0;
    }
    return false;
}

}  // namespace kavro

using namespace kavro;

extern "C" int KAVRO_await_event(int* x, int* y, char* key) {
    // Without windows nothing could ever come; a loop waiting for KAVRO_QUIT ends.
    if (!opened_for("KAVRO_await_event")) return KAVRO_QUIT;
    state.awaited = true;
    if (replay_active) replay_before_wait();
    bool from_script = false;
    state.pending = PendingEvent{NO_EVENT, 0, 0, 0};
    while (state.pending.kind == NO_EVENT || (state.pending.kind == KAVRO_PERIODIC && !state.tick)) {
        if (pump_one_message()) break;
        if (state.play_one || state.playing) {
            state.play_one = 0;
            if (script_read_event()) {
                from_script = true;
                break;
            }
            stop_playback();
        }
        if ((state.single_step || state.running) && state.pending.kind == NO_EVENT) {
            state.pending.kind = KAVRO_PERIODIC;
            state.tick = 0;
            state.single_step = 0;
            state.play_one = 0;
        }
    }
    if (state.recording) {
        if (state.pending.kind == KAVRO_PERIODIC) {
            ++state.periodic_count;
        } else {
            if (state.periodic_count > 0) {
                script_write_event(KAVRO_PERIODIC, 0, 0, 0);
                state.periodic_count = 0;
            }
            script_write_event(state.pending.kind, state.pending.x, state.pending.y, state.pending.key);
        }
    }
    note_held_key(state.pending.kind, state.pending.x);
    if (replay_active) replay_after_event(state.pending.kind, from_script);
    trace_call("await_event", nullptr, state.pending.kind, state.pending.x, state.pending.y, state.pending.key);
    if (x) *x = state.pending.x;
    if (y) *y = state.pending.y;
    if (key) *key = state.pending.key;
    return state.quit_requested ? KAVRO_QUIT : state.pending.kind;
}
