// A newcomer's mistakes with the toolkit get one line on standard error that
// names the call and says what to do. Each line is said once per call, so a
// mistake inside a loop does not flood the terminal.
#pragma once

#include "toolkit/state.h"

namespace kavro {

// Says "kavro: CALL ADVICE" unless it was said for this call already.
void report_misuse(const char* call, const char* advice);

// True when KAVRO_open has run; otherwise says that call came too early.
bool opened_for(const char* call);

// The out-of-line part of ready_to_draw.
bool check_before_first_wait(const char* call);

// Drawing calls ask this first. Once the program has waited for an event it
// is one branch; before that it also notices a program that keeps drawing
// without ever letting the window show the picture.
inline bool ready_to_draw(const char* call) {
    if (state.awaited) [[likely]]
        return true;
    return check_before_first_wait(call);
}

// At KAVRO_close: a program that drew but never waited showed nothing.
void report_if_never_shown();

}  // namespace kavro
