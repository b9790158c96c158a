// The headless backend, the model for a new one: it implements every call of
// the Backend interface (native windows are no-ops, present counts and hands
// the picture to an observer, waiting moves a virtual clock to the next timer
// or scheduled input) and injects input only through input.h, as any backend
// must. It draws nothing, decides nothing about windows, and has no screen,
// native event loop or host decorations to translate.
#include "platform/backends/headless_backend.h"

#include <algorithm>

#include "platform/core/message_queue.h"
#include "platform/core/window.h"

namespace platform {

HeadlessBackend::HeadlessBackend(Size screen, std::int64_t calendar_start)
    : screen_(screen), calendar_start_(calendar_start) {}

void HeadlessBackend::create_native_window(Window, const char*, const Rect&, bool) {}
void HeadlessBackend::show_native_window(Window, bool) {}
void HeadlessBackend::move_native_window(Window, const Rect&) {}
void HeadlessBackend::destroy_native_window(Window) {}

void HeadlessBackend::present(Window window, const Bitmap& surface) {
    ++present_count_;
    if (observer_) observer_(window, surface);
}

void HeadlessBackend::schedule(std::int64_t at_ms, std::function<void()> action) {
    scheduled_.push_back(Scheduled{at_ms, next_order_++, std::move(action)});
}

void HeadlessBackend::run_due(std::int64_t up_to) {
    // Actions may schedule more; take them one at a time in time order.
    for (;;) {
        auto due = scheduled_.end();
        for (auto it = scheduled_.begin(); it != scheduled_.end(); ++it)
            if (it->at <= up_to &&
                (due == scheduled_.end() || it->at < due->at || (it->at == due->at && it->order < due->order)))
                due = it;
        if (due == scheduled_.end()) return;
        auto action = std::move(due->action);
        scheduled_.erase(due);
        if (action) action();
    }
}

void HeadlessBackend::poll_input() { run_due(now_); }

void HeadlessBackend::wait_for_input(std::int64_t deadline_ms) {
    ++wait_count_;
    if (idle_observer_) {
        idle_observer_();
        // The observer may have injected input: let the program take it first.
        if (has_pending_messages()) return;
    }
    std::int64_t next_input = -1;
    for (const Scheduled& s : scheduled_)
        if (next_input < 0 || s.at < next_input) next_input = s.at;
    std::int64_t wake = deadline_ms;
    if (next_input >= 0 && (wake < 0 || next_input < wake)) wake = next_input;
    if (wake < 0 || wake > time_limit_) {
        // Nothing could ever end this wait, or not before the limit.
        limit_reached_ = true;
        post_quit_message(1);
        return;
    }
    now_ = std::max(now_, wake);
    run_due(now_);
}

HeadlessBackend& install_headless_backend(Size screen, std::int64_t calendar_start) {
    auto owned = std::make_unique<HeadlessBackend>(screen, calendar_start);
    HeadlessBackend& headless = *owned;
    install_backend(std::move(owned));
    return headless;
}

}  // namespace platform
