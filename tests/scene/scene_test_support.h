// What the scene tests need from beneath the toolkit's public API: a record of
// the calls the scene made, and a script of events for KAVRO_await_event.
// Every test starts on a freshly opened toolkit with both empty.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/recorded_call.h"
#include "toolkit/kavro.h"

namespace scene_test {

using test_support::RecordedCall;

// The calls made since the test started or the record was last cleared.
const std::vector<RecordedCall>& recorded_calls();
// Those of them with this name, in order.
std::vector<RecordedCall> recorded_calls_named(const std::string& name);
void clear_calls();

// Queues one event for KAVRO_await_event; once the queue is empty it returns
// KAVRO_QUIT, so a run can never wait for ever.
void queue_event(int kind, int x, int y, char key);

inline RecordedCall call(const std::string& name, std::vector<int> args, const std::string& text = "") {
    return RecordedCall{name, std::move(args), text};
}

// Runs attempt until it ran within one second of the toolkit's clock, so a
// test that needs two reseeds to agree does not fail at a second's boundary.
template <typename Attempt>
bool within_one_second(Attempt attempt) {
    for (int tries = 0; tries < 5; ++tries) {
        long long before = KAVRO_time();
        attempt();
        if (KAVRO_time() == before) {
            return true;
        }
    }
    return false;
}

}  // namespace scene_test
