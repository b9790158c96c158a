// The deterministic backend every test uses: no display, a fixed screen size,
// a virtual clock that jumps to the next deadline when the program is idle,
// and input injected by the test, at once or at a scheduled virtual time.
#pragma once

#include <functional>
#include <vector>

#include "platform/core/backend.h"

namespace platform {

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(Size screen = Size{1024, 768}, std::int64_t calendar_start = 0);

    void create_native_window(Window window, const char* title, const Rect& outer, bool resizable) override;
    void show_native_window(Window window, bool visible) override;
    void move_native_window(Window window, const Rect& outer) override;
    void destroy_native_window(Window window) override;
    void activate_native_window(Window window) override { last_activated_ = window; }
    void present(Window window, const Bitmap& surface) override;
    void poll_input() override;
    void wait_for_input(std::int64_t deadline_ms) override;
    Size screen_size() override { return screen_; }
    std::int64_t monotonic_ms() override { return now_; }
    std::int64_t calendar_seconds() override { return calendar_start_ + now_ / 1000; }

    // Test hooks.
    void set_screen_size(Size size) { screen_ = size; }
    void set_calendar_start(std::int64_t seconds) { calendar_start_ = seconds; }
    // Runs the action (typically inject_* calls) once the virtual clock has
    // reached at_ms, at the first poll or wait from then on.
    void schedule(std::int64_t at_ms, std::function<void()> action);
    // A wait that would take the clock past this limit, or that could never
    // end, posts a quit request instead and marks the limit as reached.
    void set_time_limit(std::int64_t limit_ms) { time_limit_ = limit_ms; }
    bool time_limit_reached() const { return limit_reached_; }
    std::int64_t now() const { return now_; }
    void advance_clock(std::int64_t ms) { now_ += ms; }
    int present_count() const { return present_count_; }
    // The window last given the keyboard focus by the platform.
    Window last_activated() const { return last_activated_; }
    int wait_count() const { return wait_count_; }
    // Called whenever the program goes idle (a wait begins), before the clock moves.
    void set_idle_observer(std::function<void()> observer) { idle_observer_ = std::move(observer); }
    // Called with every presented surface (e.g. to keep frames).
    void set_present_observer(std::function<void(Window, const Bitmap&)> observer) { observer_ = std::move(observer); }

private:
    struct Scheduled {
        std::int64_t at = 0;
        std::uint64_t order = 0;
        std::function<void()> action;
    };
    void run_due(std::int64_t up_to);

    Size screen_;
    std::int64_t calendar_start_;
    std::int64_t now_ = 0;
    std::int64_t time_limit_ = 3'600'000;
    bool limit_reached_ = false;
    int present_count_ = 0;
    Window last_activated_ = Window::NONE;
    int wait_count_ = 0;
    std::uint64_t next_order_ = 0;
    std::vector<Scheduled> scheduled_;
    std::function<void(Window, const Bitmap&)> observer_;
    std::function<void()> idle_observer_;
};

// Installs a fresh headless backend (reset_platform first for a clean start);
// the platform owns it, the reference stays valid until the next install.
HeadlessBackend& install_headless_backend(Size screen = Size{1024, 768}, std::int64_t calendar_start = 0);

}  // namespace platform
