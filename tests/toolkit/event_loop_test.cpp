// Tests of KAVRO_await_event: input, periodic events and quitting.
#include <fstream>

#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "support/toolkit_fixture.h"
#include "toolkit/kavro.h"
#include "toolkit/state.h"

using kavro::state;
using test_support::AwaitedEvent;

namespace {

class EventLoopTest : public test_support::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        open_toolkit();
        KAVRO_logging(0);
    }
    // Something that ends a halted wait long after any tick of interest.
    void type_late(std::int64_t at_ms, const char* text = "z") {
        headless->schedule(at_ms, [text] { platform::inject_text(text); });
    }
};

}  // namespace

using Periodic = EventLoopTest;

TEST_F(Periodic, ComesEveryHundredMillisecondsWhileRunning) {
    KAVRO_animate(2);
    std::int64_t previous = headless->now();
    for (int i = 0; i < 5; ++i) {
        AwaitedEvent event = await_event();
        EXPECT_EQ(event.kind, KAVRO_PERIODIC);
        EXPECT_EQ(event.x | event.y | event.key, 0);
        EXPECT_EQ(headless->now() - previous, 100) << "event " << i;
        previous = headless->now();
    }
}

TEST_F(Periodic, NoneWhileHaltedThenOneAfterCtrlF) {
    schedule_ctrl_key(1000, 'F');
    AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_PERIODIC);
    EXPECT_GE(headless->now(), 1000);
    EXPECT_LE(headless->now(), 1100);
    EXPECT_EQ(state.single_step, 0);
    type_late(3000);
    event = await_event();
    EXPECT_EQ(event.kind, KAVRO_KBD);
    EXPECT_EQ(headless->now(), 3000);
}

TEST_F(Periodic, AnArmedEventSurvivesCtrlHThenTheWaitGoesOn) {
    KAVRO_animate(2);
    ASSERT_EQ(await_event().kind, KAVRO_PERIODIC);
    schedule_ctrl_key(headless->now() + 20, 'H');
    EXPECT_EQ(await_event().kind, KAVRO_PERIODIC);
    EXPECT_EQ(headless->now(), 200);
    EXPECT_EQ(state.running, 0);
    type_late(2000);
    EXPECT_EQ(await_event().kind, KAVRO_KBD);
    EXPECT_EQ(headless->now(), 2000);
}

TEST_F(Periodic, AClickReplacesTheArmedEventAndDropsTheStep) {
    KAVRO_animate(1);
    int px = state.centre_x + 7;
    int py = state.centre_y - 9;
    headless->schedule(50, [px, py] { platform::inject_click(state.graphics_window, px, py); });
    AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_MOUSE);
    EXPECT_EQ(event.x, 7);
    EXPECT_EQ(event.y, 9);
    EXPECT_EQ(headless->now(), 50);
    type_late(2000);
    EXPECT_EQ(await_event().kind, KAVRO_KBD) << "the step was lost with the replaced event";
}

using Input = EventLoopTest;

TEST_F(Input, ClickAtTheClientCentreIsTheOrigin) {
    platform::inject_click(state.graphics_window, state.centre_x, state.centre_y);
    AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_MOUSE);
    EXPECT_EQ(event.x, 0);
    EXPECT_EQ(event.y, 0);
    EXPECT_EQ(event.key, 0);
}

TEST_F(Input, QueuedEventsComeOneAtATimeWithUnwrittenFieldsZero) {
    platform::inject_click(state.graphics_window, 10, 20);
    platform::inject_text("a");
    AwaitedEvent click = await_event();
    EXPECT_EQ(click.kind, KAVRO_MOUSE);
    EXPECT_EQ(click.x, 10 - state.centre_x);
    EXPECT_EQ(click.y, state.centre_y - 20);
    AwaitedEvent key = await_event();
    EXPECT_EQ(key.kind, KAVRO_KBD);
    EXPECT_EQ(key.key, 97);
    EXPECT_EQ(key.x | key.y, 0);
}

TEST_F(Input, CtrlLetterIsACommandNotAKey) {
    schedule_ctrl_key(500, 'A');
    AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_PERIODIC);
    EXPECT_EQ(state.running, 1);
}

using Quit = EventLoopTest;

TEST_F(Quit, CtrlQEndsTheWait) {
    KAVRO_animate(2);
    schedule_ctrl_key(1050, 'Q');
    int periodic = 0;
    AwaitedEvent event;
    while ((event = await_event()).kind == KAVRO_PERIODIC) ++periodic;
    EXPECT_EQ(event.kind, KAVRO_QUIT);
    EXPECT_EQ(periodic, 10);
}

TEST_F(Quit, TheQuitEntryEndsTheWait) {
    headless->schedule(300, [] { platform::inject_menu_choice(state.graphics_window, kavro::CMD_QUIT); });
    EXPECT_EQ(await_event().kind, KAVRO_QUIT);
    EXPECT_EQ(headless->now(), 300);
}

TEST_F(Quit, TheCloseBoxEndsTheWait) {
    headless->schedule(300, [] { platform::inject_close(state.graphics_window); });
    EXPECT_EQ(await_event().kind, KAVRO_QUIT);
    EXPECT_FALSE(platform::is_window(state.graphics_window));
}

// A playback that would go on for long: every turn delivers a script event at once.
class QuitDuringPlayback : public EventLoopTest {
protected:
    void SetUp() override {
        EventLoopTest::SetUp();
        enter_scratch_directory();
        std::ofstream("KAVRO.SCR") << "KAVRO_PERIODIC(100);\n";
        platform::inject_menu_choice(state.graphics_window, kavro::CMD_PLAYBACK);
        settle();
    }
    // The number of script events delivered before the quit, or -1.
    int script_events_before_quit() {
        for (int turn = 0; turn < 10; ++turn) {
            int kind = await_event().kind;
            if (kind == KAVRO_QUIT) return turn;
            EXPECT_EQ(kind, KAVRO_PERIODIC);
        }
        return -1;
    }
};

TEST_F(QuitDuringPlayback, CtrlQ) {
    ASSERT_EQ(state.playing, 1);
    platform::inject_key_down(platform::KEY_CONTROL);
    platform::inject_key_down('Q');
    EXPECT_EQ(script_events_before_quit(), 3) << "Ctrl down, Q down and its character take a turn each";
}

TEST_F(QuitDuringPlayback, TheQuitEntry) {
    platform::inject_menu_choice(state.graphics_window, kavro::CMD_QUIT);
    EXPECT_EQ(script_events_before_quit(), 1);
}

TEST_F(QuitDuringPlayback, TheCloseBox) {
    platform::inject_close(state.graphics_window);
    EXPECT_EQ(script_events_before_quit(), 1);
}

TEST_F(Quit, AnimateFiveStillWaitsThenReportsTheEventAsQuit) {
    KAVRO_animate(5);
    type_late(700, "b");
    AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_QUIT);
    EXPECT_EQ(event.key, 'b');
    EXPECT_EQ(headless->now(), 700);
}

TEST_F(Quit, ThePumpTakesTheQuitRequestWithoutCopyingTheCanvas) {
    settle();
    KAVRO_rectangle(KAVRO_RED, -50, 50, 50, -50, 0);
    platform::post_quit_message(0);
    EXPECT_TRUE(kavro::pump_one_message());
    EXPECT_EQ(state.pending.kind, KAVRO_QUIT);
    EXPECT_EQ(state.dirty, 1u);
    auto shown = [] { return platform::client_picture(state.graphics_window).get(state.centre_x, state.centre_y); };
    EXPECT_NE(shown(), kavro::COLOR_TABLE[KAVRO_RED].value);
    EXPECT_FALSE(kavro::pump_one_message());
    EXPECT_EQ(shown(), kavro::COLOR_TABLE[KAVRO_RED].value);
}
