// What the scene tests need from beneath the toolkit's public API: a record of
// the calls the scene made, and a script of events for KAVRO_await_event.
// The hooks are weak references, so the suite also links against a toolkit
// that lacks them; a test that needs one then reports itself skipped.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/kavro.h"

extern "C" {

// One call: the operation's name without the prefix ("rectangle", "text",
// "open", "await_event", ...), its int arguments in call order (the colour
// first for drawing calls; colour, x, y, point size for text) and, for text,
// the formatted text.
struct KavroTestCall {
    char name[16];
    int args[8];
    int arg_count;
    char text[256];
};

int kavro_test_recorded_call_count(void) __attribute__((weak));
const KavroTestCall* kavro_test_recorded_call(int index) __attribute__((weak));
void kavro_test_clear_recorded_calls(void) __attribute__((weak));

// Queues one event for KAVRO_await_event; once the queue is empty it returns
// KAVRO_QUIT, so a run can never wait for ever.
void kavro_test_queue_event(int kind, int x, int y, char key) __attribute__((weak));
}

namespace scene_test {

struct Call {
    std::string name;
    std::vector<int> args;
    std::string text;

    bool operator==(const Call&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Call& call) {
    out << call.name << "(";
    for (size_t i = 0; i < call.args.size(); ++i) {
        out << (i ? ", " : "") << call.args[i];
    }
    if (!call.text.empty()) {
        out << ", \"" << call.text << "\"";
    }
    return out << ")";
}

inline Call call(const std::string& name, std::vector<int> args, const std::string& text = "") {
    return Call{name, std::move(args), text};
}

inline bool have_recorder() {
    return kavro_test_recorded_call_count && kavro_test_recorded_call && kavro_test_clear_recorded_calls;
}

inline bool have_event_script() { return have_recorder() && kavro_test_queue_event; }

// The drawing operations expect an open toolkit; tests that run the scene's
// start-up open it through that instead. The hooks open a fresh one for
// every test themselves.
inline void ensure_toolkit_open() {
    if (have_recorder()) {
        return;
    }
    static const bool opened = [] {
        KAVRO_open(nullptr, nullptr, "", 1);
        KAVRO_logging(0);
        return true;
    }();
    (void)opened;
}

inline void clear_calls() {
    if (have_recorder()) {
        kavro_test_clear_recorded_calls();
    }
}

// Call at the start of every test that draws.
inline void start_drawing() {
    ensure_toolkit_open();
    clear_calls();
}

inline std::vector<Call> recorded_calls() {
    std::vector<Call> calls;
    if (!have_recorder()) {
        return calls;
    }
    int count = kavro_test_recorded_call_count();
    for (int i = 0; i < count; ++i) {
        const KavroTestCall* recorded = kavro_test_recorded_call(i);
        Call c{recorded->name, std::vector<int>(recorded->args, recorded->args + recorded->arg_count), recorded->text};
        calls.push_back(c);
    }
    return calls;
}

inline std::vector<Call> recorded_calls_named(const std::string& name) {
    std::vector<Call> calls;
    for (const Call& c : recorded_calls()) {
        if (c.name == name) {
            calls.push_back(c);
        }
    }
    return calls;
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

#define REQUIRE_RECORDER()                                                        \
    do {                                                                          \
        if (!scene_test::have_recorder()) {                                       \
            GTEST_SKIP() << "no call recorder beneath the toolkit in this build"; \
        }                                                                         \
    } while (0)

#define REQUIRE_EVENT_SCRIPT()                                                   \
    do {                                                                         \
        if (!scene_test::have_event_script()) {                                  \
            GTEST_SKIP() << "no event script beneath the toolkit in this build"; \
        }                                                                        \
    } while (0)
