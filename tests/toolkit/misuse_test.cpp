// Tests of the lines that tell a programmer the toolkit is being misused.
#include <cstring>
#include <string>

#include "support/toolkit_fixture.h"
#include "toolkit/kavro.h"
#include "toolkit/state.h"

using kavro::state;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

using Misuse = test_support::ToolkitTest;

int lines(const std::string& text) {
    int count = 0;
    for (char c : text) count += c == '\n';
    return count;
}

TEST_F(Misuse, CallsBeforeOpenSayOneLineEachDoNothingAndTheLoopEnds) {
    CaptureStderr();
    EXPECT_EQ(KAVRO_circle(KAVRO_RED, 0, 0, 5), 0);
    EXPECT_EQ(KAVRO_circle(KAVRO_RED, 0, 0, 5), 0);
    EXPECT_EQ(KAVRO_text(KAVRO_RED, 0, 0, 12, "hi"), 0);
    EXPECT_EQ(KAVRO_clear(), 0);
    EXPECT_EQ(KAVRO_animate(KAVRO_RUN), 0);
    int x = 7, y = 7;
    char key = 'k';
    EXPECT_EQ(KAVRO_await_event(&x, &y, &key), KAVRO_QUIT);
    EXPECT_EQ(KAVRO_printf("early %d\n", 1), 8);
    std::string said = GetCapturedStderr();
    EXPECT_EQ(lines(said), 6) << said;
    for (const char* call :
         {"KAVRO_circle", "KAVRO_text", "KAVRO_clear", "KAVRO_animate", "KAVRO_await_event", "KAVRO_printf"})
        EXPECT_NE(said.find(std::string("kavro: ") + call + " "), std::string::npos) << call;
    EXPECT_NE(said.find("call KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL) first"), std::string::npos);
    EXPECT_EQ(state.awaited, false);

    // The early text is kept and shown once the windows exist.
    open_toolkit();
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().front(), "early 1\n");
}

TEST_F(Misuse, SecondOpenAndHiddenShowModeAreSaidAndTheFirstWindowsStay) {
    CaptureStderr();
    KAVRO_open(nullptr, nullptr, nullptr, KAVRO_SHOW_HIDDEN);
    platform::Window first = state.graphics_window;
    EXPECT_EQ(KAVRO_open(nullptr, nullptr, nullptr, KAVRO_SHOW_NORMAL), 1);
    std::string said = GetCapturedStderr();
    EXPECT_EQ(state.graphics_window, first);
    EXPECT_EQ(lines(said), 2) << said;
    EXPECT_NE(said.find("show mode 0"), std::string::npos);
    EXPECT_NE(said.find("KAVRO_open was called again"), std::string::npos);
}

TEST_F(Misuse, DrawingWithoutEverWaitingIsSaidOnceAfterAGraceAndAtClose) {
    open_toolkit();
    KAVRO_logging(0);
    CaptureStderr();
    EXPECT_EQ(KAVRO_circle(KAVRO_RED, 0, 0, 5), 1);
    std::string early = GetCapturedStderr();
    EXPECT_EQ(early, "") << "start-up drawing is fine";
    headless->advance_clock(5000);
    CaptureStderr();
    for (int i = 0; i < 100; ++i) KAVRO_line(KAVRO_RED, 0, 0, i, i, 1);
    KAVRO_close();
    std::string said = GetCapturedStderr();
    EXPECT_EQ(lines(said), 1) << said;
    EXPECT_NE(said.find("KAVRO_await_event was never called"), std::string::npos);
}

TEST_F(Misuse, WaitingFirstKeepsDrawingQuiet) {
    open_toolkit();
    KAVRO_logging(0);
    headless->schedule(100, [] { platform::inject_text("a"); });
    await_event();
    headless->advance_clock(5000);
    CaptureStderr();
    KAVRO_circle(KAVRO_RED, 0, 0, 5);
    KAVRO_close();
    EXPECT_EQ(GetCapturedStderr(), "");
}

TEST_F(Misuse, BoundedGetsCutsTheAnswerToTheBufferAndRefusesNoRoom) {
    open_toolkit();
    headless->schedule(100, [] { platform::inject_text("Robin Hood"); });
    headless->schedule(150, [] { platform::inject_key_press(platform::KEY_ENTER); });
    char result[8];
    std::memset(result, 'z', sizeof result);
    EXPECT_EQ(KAVRO_gets_n("Name?", result, 6), 1);
    EXPECT_STREQ(result, "Robin");
    EXPECT_EQ(result[6], 'z');
    CaptureStderr();
    EXPECT_EQ(KAVRO_gets_n("Name?", result, 0), 0);
    EXPECT_NE(GetCapturedStderr().find("KAVRO_gets"), std::string::npos);
    EXPECT_STREQ(result, "Robin");
}

}  // namespace
