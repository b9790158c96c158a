// Tests of the headless backend: installing it, its clock, scheduled input,
// the idle observer and the time limit.
#include "platform/backends/headless_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/base/clock.h"
#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/drawing/drawing_context.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/platform_reset.h"

namespace platform {
namespace {

using Event = std::pair<std::int64_t, unsigned>;  // virtual time, message kind
std::vector<Event> events;

std::intptr_t recording_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (message == MSG_TIMER || message == MSG_LEFT_BUTTON_DOWN || message == MSG_KEY_DOWN)
        events.emplace_back(monotonic_ms(), message);
    return default_window_proc(window, message, word, position);
}

Window make_window(bool visible = true) {
    return create_window("recorder", "h", STYLE_OVERLAPPED_WINDOW | (visible ? STYLE_VISIBLE : 0u), 0, 0, 120, 80,
                         Window::NONE, nullptr);
}

HeadlessBackend& start(Size screen = Size{1024, 768}, std::int64_t calendar = 0) {
    reset_platform();
    HeadlessBackend& headless = install_headless_backend(screen, calendar);
    events.clear();
    WindowClass window_class;
    window_class.name = "recorder";
    window_class.procedure = recording_proc;
    register_class(window_class);
    return headless;
}

// The program's pump; returns the exit code of the quit that ends it.
int run_until_quit() {
    Message m;
    for (int i = 0; i < 100000; ++i) {
        if (!peek_message(m)) continue;
        if (m.message == MSG_QUIT) return static_cast<int>(m.word);
        dispatch_message(m);
    }
    ADD_FAILURE() << "the pump never saw a quit";
    return -1;
}

TEST(HeadlessClock, StartsAtZeroWithTheCalendarTheTestSet) {
    HeadlessBackend& headless = start(Size{800, 600}, 1'000'000);
    EXPECT_EQ(monotonic_ms(), 0);
    EXPECT_EQ(calendar_seconds(), 1'000'000);
    headless.advance_clock(2'500);
    EXPECT_EQ(monotonic_ms(), 2'500);
    EXPECT_EQ(calendar_seconds(), 1'000'002);
    headless.set_calendar_start(5);
    EXPECT_EQ(calendar_seconds(), 7);
    EXPECT_EQ(screen_width(), 800);
}

TEST(ScheduledInput, ArrivesAtItsVirtualTime) {
    HeadlessBackend& headless = start();
    Window window = make_window();
    headless.set_time_limit(500);
    set_timer(window, 1, 100);
    headless.schedule(350, [window] { inject_click(window, 5, 5); });
    headless.schedule(1'000, [] { inject_key_press('A'); });
    EXPECT_EQ(run_until_quit(), 1);
    std::vector<Event> expected{{100, MSG_TIMER}, {200, MSG_TIMER}, {300, MSG_TIMER}, {350, MSG_LEFT_BUTTON_DOWN},
                                {400, MSG_TIMER}, {500, MSG_TIMER}};
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(headless.time_limit_reached());
}

TEST(ScheduledInput, RunsInTimeOrderThenInTheOrderScheduled) {
    HeadlessBackend& headless = start();
    std::string order;
    headless.schedule(20, [&] { order += 'a'; });
    headless.schedule(10, [&] { order += 'b'; });
    headless.schedule(10, [&] { order += 'c'; });
    headless.poll_input();
    EXPECT_EQ(order, "");
    headless.wait_for_input(-1);
    EXPECT_EQ(order, "bc");
    EXPECT_EQ(headless.now(), 10);
    headless.wait_for_input(15);
    EXPECT_EQ(headless.now(), 15);
    EXPECT_EQ(order, "bc");
    headless.wait_for_input(-1);
    EXPECT_EQ(order, "bca");
    EXPECT_FALSE(headless.time_limit_reached());
}

TEST(ScheduledInput, AnActionMayScheduleMore) {
    HeadlessBackend& headless = start();
    std::string order;
    headless.schedule(10, [&] {
        order += 'a';
        headless.schedule(5, [&] { order += 'b'; });
        headless.schedule(30, [&] { order += 'c'; });
    });
    headless.wait_for_input(-1);
    EXPECT_EQ(order, "ab");
    headless.wait_for_input(-1);
    EXPECT_EQ(order, "abc");
    EXPECT_EQ(headless.now(), 30);
}

TEST(TimeLimit, AWaitThatCanNeverEndPostsAQuit) {
    HeadlessBackend& headless = start();
    make_window();
    EXPECT_EQ(run_until_quit(), 1);
    EXPECT_TRUE(headless.time_limit_reached());
    EXPECT_EQ(headless.now(), 0);
}

TEST(TimeLimit, AWaitPastTheLimitPostsAQuitAndLeavesTheClock) {
    HeadlessBackend& headless = start();
    Window window = make_window(false);
    headless.set_time_limit(1'000);
    set_timer(window, 1, 1'000);
    headless.wait_for_input(next_timer_deadline());
    EXPECT_EQ(headless.now(), 1'000);
    EXPECT_FALSE(headless.time_limit_reached());
    Message m;
    ASSERT_TRUE(take_due_timer(headless.now(), m));
    headless.wait_for_input(next_timer_deadline());
    EXPECT_EQ(headless.now(), 1'000);
    EXPECT_TRUE(headless.time_limit_reached());
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.message, MSG_QUIT);
    EXPECT_EQ(headless.wait_count(), 2);
}

TEST(IdleObserver, InputItInjectsIsTakenBeforeTheClockMoves) {
    HeadlessBackend& headless = start();
    Window window = make_window();
    set_timer(window, 1, 100);
    int calls = 0;
    headless.set_idle_observer([&] {
        if (++calls == 1) inject_key_press('Z');
    });
    headless.set_time_limit(100);
    run_until_quit();
    EXPECT_EQ(events, (std::vector<Event>{{0, MSG_KEY_DOWN}, {100, MSG_TIMER}}));
    EXPECT_GE(calls, 2);
}

TEST(Present, ChangedShownWindowsAreHandedOverAtTheNextPeek) {
    HeadlessBackend& headless = start();
    std::vector<Window> presented;
    headless.set_present_observer([&](Window w, const Bitmap& surface) {
        EXPECT_EQ(surface.width, 120);
        presented.push_back(w);
    });
    Window shown = make_window();
    Window hidden = make_window(false);
    EXPECT_TRUE(presented.empty());
    Message m;
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(presented, std::vector<Window>{shown});
    dispatch_message(m);
    peek_message(m);
    EXPECT_EQ(presented.size(), 2u);
    DrawingContext context = get_window_dc(hidden);
    set_pixel(context, 1, 1, color_word(0, 0, 0));
    release_dc(hidden, context);
    peek_message(m);
    EXPECT_EQ(presented, (std::vector<Window>{shown, shown}));
    EXPECT_EQ(headless.present_count(), 2);
}

TEST(Install, StartsAfreshEveryTime) {
    start();
    Window window = make_window();
    set_timer(window, 1, 100);
    post_message(window, MSG_COMMAND, 1, 0);
    HeadlessBackend& headless = start();
    EXPECT_FALSE(is_window(window));
    EXPECT_EQ(next_timer_deadline(), -1);
    EXPECT_EQ(headless.now(), 0);
    Message m;
    EXPECT_FALSE(peek_message(m));
}

}  // namespace
}  // namespace platform
