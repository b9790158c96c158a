// The one-line messages for calls used wrongly, each said once per call.
#include "toolkit/misuse.h"

#include <cstdio>
#include <cstring>

#include "platform/base/clock.h"

namespace kavro {
namespace {

// Long enough for any start-up drawing; a program still drawing after this
// without having waited is a loop that never lets the window show anything.
constexpr std::int64_t UNSHOWN_GRACE_MS = 2000;

constexpr const char* NEVER_CALLED =
    "was never called, so nothing drawn reaches the screen: the window shows the picture while the program "
    "waits in KAVRO_await_event; call it in the program's loop";

}  // namespace

void report_misuse(const char* call, const char* advice) {
    MisuseLog& log = state.misuse;
    for (int i = 0; i < log.count; ++i)
        if (std::strcmp(log.calls[i], call) == 0 && log.advice[i] == advice) return;
    if (log.count < MisuseLog::CAPACITY) {
        log.calls[log.count] = call;
        log.advice[log.count] = advice;
        ++log.count;
    }
    std::fprintf(stderr, "kavro: %s %s\n", call, advice);
}

bool opened_for(const char* call) {
    if (state.opened) return true;
    report_misuse(call,
                  "was called before KAVRO_open, so it did nothing; call KAVRO_open(NULL, NULL, NULL, "
                  "KAVRO_SHOW_NORMAL) first");
    return false;
}

bool check_before_first_wait(const char* call) {
    if (!opened_for(call)) return false;
    state.drew_before_waiting = true;
    if (platform::monotonic_ms() - state.opened_at_ms >= UNSHOWN_GRACE_MS)
        report_misuse("KAVRO_await_event", NEVER_CALLED);
    return true;
}

void report_if_never_shown() {
    if (!state.awaited && state.drew_before_waiting) report_misuse("KAVRO_await_event", NEVER_CALLED);
}

}  // namespace kavro
