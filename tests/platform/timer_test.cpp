// Tests of timers: setting, killing, their period and coalesced ticks.
#include "platform/core/timer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/base/clock.h"
#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/platform_reset.h"

namespace platform {
namespace {

using Tick = std::pair<std::int64_t, std::uintptr_t>;  // virtual time, timer identifier
std::vector<Tick> ticks;

std::intptr_t ticking_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (message == MSG_TIMER) ticks.emplace_back(monotonic_ms(), word);
    return default_window_proc(window, message, word, position);
}

HeadlessBackend* headless = nullptr;

// A fresh platform with one hidden window, so no paint gets in the way.
Window start() {
    reset_platform();
    headless = &install_headless_backend();
    ticks.clear();
    WindowClass window_class;
    window_class.name = "ticking";
    window_class.procedure = ticking_proc;
    register_class(window_class);
    return create_window("ticking", "t", STYLE_OVERLAPPED_WINDOW, 0, 0, 100, 100, Window::NONE, nullptr);
}

// The program's pump; ends at the quit the time limit posts.
void run_until_quit() {
    Message m;
    for (int i = 0; i < 100000; ++i) {
        if (!peek_message(m)) continue;
        if (m.message == MSG_QUIT) return;
        dispatch_message(m);
    }
    ADD_FAILURE() << "the pump never saw a quit";
}

TEST(TimerCoalescing, ABusyStretchYieldsOneMessageAndKeepsTheGrid) {
    Window window = start();
    ASSERT_EQ(set_timer(window, 7, 100), 7u);
    headless->advance_clock(350);
    Message m;
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.message, MSG_TIMER);
    EXPECT_EQ(m.window, window);
    EXPECT_EQ(m.word, 7u);
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(next_timer_deadline(), 400);
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(headless->now(), 400);
    EXPECT_TRUE(peek_message(m));
}

TEST(TimerCoalescing, NeverQueuedBehindOrBetweenPostedMessages) {
    Window window = start();
    set_timer(window, 1, 100);
    headless->advance_clock(1000);
    for (std::uintptr_t i = 0; i < 3; ++i) post_message(window, MSG_COMMAND, i, 0);
    std::vector<unsigned> kinds;
    Message m;
    while (kinds.size() < 10 && peek_message(m)) kinds.push_back(m.message);
    EXPECT_EQ(kinds, (std::vector<unsigned>{MSG_COMMAND, MSG_COMMAND, MSG_COMMAND, MSG_TIMER}));
}

TEST(TimerPeriod, AnIdleProgramTicksExactlyOnTheGrid) {
    Window window = start();
    headless->set_time_limit(1000);
    set_timer(window, 3, 100);
    run_until_quit();
    ASSERT_EQ(ticks.size(), 10u);
    for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_EQ(ticks[i], Tick(100 * (i + 1), 3));
    EXPECT_TRUE(headless->time_limit_reached());
}

TEST(TimerPeriod, TwoTimersInterleaveByDeadline) {
    Window window = start();
    headless->set_time_limit(600);
    set_timer(window, 1, 300);
    set_timer(window, 2, 200);
    run_until_quit();
    EXPECT_EQ(ticks, (std::vector<Tick>{{200, 2}, {300, 1}, {400, 2}, {600, 1}, {600, 2}}));
}

TEST(TimerPeriod, ZeroPeriodCountsAsOneMillisecond) {
    Window window = start();
    set_timer(window, 1, 0);
    headless->advance_clock(1000);
    Message m;
    EXPECT_TRUE(peek_message(m));
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(next_timer_deadline(), 1001);
}

TEST(SetTimer, RestartingMovesTheDeadlineFromNow) {
    Window window = start();
    set_timer(window, 1, 100);
    headless->advance_clock(50);
    ASSERT_EQ(set_timer(window, 1, 300), 1u);
    EXPECT_EQ(next_timer_deadline(), 350);
    Message m;
    EXPECT_FALSE(take_due_timer(349, m));
    EXPECT_TRUE(take_due_timer(350, m));
}

TEST(SetTimer, NeedsALiveWindow) {
    Window window = start();
    EXPECT_EQ(set_timer(Window::NONE, 1, 100), 0u);
    EXPECT_EQ(set_timer(static_cast<Window>(999), 1, 100), 0u);
    set_timer(window, 1, 100);
    destroy_window(window);
    EXPECT_EQ(next_timer_deadline(), -1);
    EXPECT_EQ(set_timer(window, 1, 100), 0u);
}

TEST(KillTimer, StopsOnlyThatTimer) {
    Window window = start();
    Window other = create_window("ticking", "o", 0, 0, 0, 10, 10, Window::NONE, nullptr);
    set_timer(window, 1, 100);
    set_timer(window, 2, 500);
    set_timer(other, 1, 300);
    EXPECT_TRUE(kill_timer(window, 1));
    EXPECT_FALSE(kill_timer(window, 1));
    EXPECT_FALSE(kill_timer(window, 9));
    EXPECT_EQ(next_timer_deadline(), 300);
    EXPECT_TRUE(kill_timer(other, 1));
    EXPECT_EQ(next_timer_deadline(), 500);
}

}  // namespace
}  // namespace platform
