// The scene tests' view beneath the toolkit: every public call the scene makes
// is recorded through the toolkit's call observer, and queued events reach
// KAVRO_await_event as real input on the headless backend (a click in the
// graphics window, a typed key, a timer tick), so the scene runs on the real
// toolkit and draws real pixels.
#include "scene/scene_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/ui/platform_reset.h"
#include "toolkit/call_trace.h"
#include "toolkit/inspect.h"

namespace {

struct QueuedEvent {
    int kind;
    int x;
    int y;
    char key;
};

std::vector<scene_test::RecordedCall> calls;
std::deque<QueuedEvent> events;
// A queued periodic event is on its way: its await waits for the next tick.
bool periodic_in_flight = false;

void record_call(void*, const kavro::TracedCall& traced) {
    if (std::strcmp(traced.name, "await_event") == 0) periodic_in_flight = false;
    calls.push_back(test_support::recorded(traced));
}

// The toolkit waits for input: hand it the next queued event. A periodic event
// the toolkit arms by itself while animation runs is replaced by the queued
// one, so only queued events ever arrive.
void deliver_next_event() {
    if (periodic_in_flight) return;
    if (events.empty()) {
        platform::post_quit_message(0);
        return;
    }
    QueuedEvent event = events.front();
    events.pop_front();
    switch (event.kind) {
    case KAVRO_PERIODIC:
        periodic_in_flight = true;
        kavro::request_periodic_event();
        break;
    case KAVRO_MOUSE: {
        platform::Point origin = kavro::canvas_origin();
        platform::inject_click(kavro::graphics_window(), origin.x + event.x, origin.y - event.y);
        break;
    }
    case KAVRO_KBD: {
        const char text[2] = {event.key, 0};
        platform::inject_focus(kavro::graphics_window());
        platform::inject_text(text);
        break;
    }
    default: platform::post_quit_message(0); break;
    }
}

// Every test starts on a fresh backend with a freshly opened toolkit (logging
// off), so no window, timer or message of an earlier test reaches it.
class SceneHooks : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        kavro::set_call_observer(nullptr, nullptr);
        kavro::reset_toolkit_state();
        platform::reset_platform();
        platform::HeadlessBackend& headless = platform::install_headless_backend();
        headless.set_idle_observer(deliver_next_event);
        events.clear();
        periodic_in_flight = false;
        KAVRO_open(nullptr, nullptr, "", 1);
        KAVRO_logging(0);
        calls.clear();
        kavro::set_call_observer(record_call, nullptr);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { kavro::set_call_observer(nullptr, nullptr); }
};

const bool installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new SceneHooks);
    return true;
}();

}  // namespace

namespace scene_test {

const std::vector<RecordedCall>& recorded_calls() { return calls; }

std::vector<RecordedCall> recorded_calls_named(const std::string& name) {
    std::vector<RecordedCall> named;
    for (const RecordedCall& call : calls)
        if (call.name == name) named.push_back(call);
    return named;
}

void clear_calls() { calls.clear(); }

void queue_event(int kind, int x, int y, char key) { events.push_back(QueuedEvent{kind, x, y, key}); }

}  // namespace scene_test
