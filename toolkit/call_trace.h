// A trace of the public calls a program makes, for tests and benchmarks that
// check what a program asked the toolkit to do. Off unless an observer is set.
#pragma once

namespace kavro {

struct TracedCall {
    const char* name;  // the operation without its prefix: "rectangle", "text", "open", ...
    const int* args;   // its int arguments in call order (colour first for drawing calls)
    int arg_count;
    const char* text;  // the formatted text of text calls, else null
};

using CallObserver = void (*)(void* context, const TracedCall& call);
void set_call_observer(CallObserver observer, void* context);

namespace detail {
extern CallObserver call_observer;
extern void* call_observer_context;
}  // namespace detail

// Reports a call when someone listens; costs one branch otherwise.
template <typename... Ints>
inline void trace_call(const char* name, const char* text, Ints... values) {
    if (!detail::call_observer) return;
    const int args[sizeof...(values) + 1] = {static_cast<int>(values)..., 0};
    detail::call_observer(detail::call_observer_context,
                          TracedCall{name, args, static_cast<int>(sizeof...(values)), text});
}

}  // namespace kavro
