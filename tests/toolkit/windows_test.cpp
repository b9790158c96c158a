// Tests of the toolkit's windows: the canvas, the switches and the text
// window's place.
#include "platform/core/input.h"
#include "platform/ui/menu.h"
#include "platform/ui/platform_reset.h"
#include "support/toolkit_fixture.h"
#include "toolkit/kavro.h"
#include "toolkit/state.h"

using kavro::state;
using test_support::ToolkitTest;

namespace {

constexpr platform::ColorWord BLACK = platform::color_word(0, 0, 0);
constexpr platform::ColorWord WHITE = platform::color_word(255, 255, 255);

bool logging_checked() {
    platform::MenuEntry entry;
    return platform::find_menu_entry(state.run_menu, kavro::CMD_LOGGING, entry) &&
           (entry.flags & platform::MENU_CHECKED) != 0;
}

}  // namespace

using Switches = ToolkitTest;

TEST_F(Switches, AnimateAndLoggingRefuseBeforeOpen) {
    EXPECT_EQ(KAVRO_animate(2), 0);
    EXPECT_EQ(KAVRO_logging(0), 0);
    EXPECT_EQ(state.running, 0);
    EXPECT_EQ(state.logging, 1);
}

TEST_F(Switches, AnimateModes) {
    open_toolkit();
    EXPECT_EQ(state.running, 0);
    for (int ignored : {3, 4, 6, -1}) {
        EXPECT_EQ(KAVRO_animate(ignored), 1);
        EXPECT_EQ(state.running | state.single_step | state.quit_requested, 0);
    }
    KAVRO_animate(2);
    KAVRO_animate(1);
    EXPECT_EQ(state.running, 1);
    EXPECT_EQ(state.single_step, 1);
    KAVRO_animate(0);
    EXPECT_EQ(state.running | state.single_step, 0);
    KAVRO_animate(5);
    EXPECT_EQ(state.quit_requested, 1);
}

TEST_F(Switches, LoggingMovesTheCheckMarkAndOnlyShowsTheTextWindow) {
    open_toolkit();
    EXPECT_TRUE(logging_checked());
    KAVRO_show_text(0);
    KAVRO_logging(0);
    EXPECT_FALSE(logging_checked());
    EXPECT_FALSE(platform::is_visible(state.text_window));
    KAVRO_logging(7);
    EXPECT_EQ(state.logging, 1);
    EXPECT_TRUE(logging_checked());
    EXPECT_TRUE(platform::is_visible(state.text_window));
    KAVRO_logging(0);
    EXPECT_TRUE(platform::is_visible(state.text_window));
}

TEST_F(Switches, ShowTextReportsTheFormerVisibility) {
    open_toolkit();
    EXPECT_NE(KAVRO_show_text(0), 0);
    EXPECT_EQ(KAVRO_show_text(0), 0);
    EXPECT_EQ(KAVRO_show_text(1), 0);
    EXPECT_NE(KAVRO_show_text(1), 0);
}

using Canvas = ToolkitTest;

TEST_F(Canvas, ClearLeavesABlackRingAndLogsWhenLoggingIsOn) {
    open_toolkit();
    EXPECT_EQ(KAVRO_clear(), 1);
    EXPECT_EQ(canvas().get(0, 0), BLACK);
    EXPECT_EQ(canvas().get(600, 539), BLACK);
    EXPECT_EQ(canvas().get(600, 0), BLACK);
    EXPECT_EQ(canvas().get(1, 1), WHITE);
    EXPECT_EQ(canvas().get(599, 538), WHITE);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Clearing the graphics window\n");
}

TEST_F(Canvas, ClearWithLoggingOffWritesNoLine) {
    open_toolkit();
    KAVRO_logging(0);
    KAVRO_clear();
    EXPECT_TRUE(messages().empty());
}

TEST_F(Canvas, FrameTitleAndMenuBarLieInsideTheOuterSizeAndTheOriginIsTheClientCentre) {
    open_toolkit();
    platform::Rect outer;
    platform::get_window_rect(state.graphics_window, outer);
    EXPECT_EQ(outer.width(), 601);
    EXPECT_EQ(outer.height(), 540);
    platform::Rect client;
    platform::get_client_rect(state.graphics_window, client);
    EXPECT_EQ(client.width(), 601 - 2 * platform::FIXED_BORDER);
    EXPECT_EQ(client.height(),
              540 - 2 * platform::FIXED_BORDER - platform::TITLE_BAR_HEIGHT - platform::MENU_BAR_HEIGHT);
    EXPECT_EQ(state.centre_x, client.width() / 2);
    EXPECT_EQ(state.centre_y, client.height() / 2);
    // The scenery spans x -300..300 and y -250..250: nothing of the client lies outside it.
    EXPECT_GE(state.centre_x, 0);
    EXPECT_LE(state.centre_x, 300);
    EXPECT_LE(client.width() - 1 - state.centre_x, 300);
    EXPECT_LE(state.centre_y, 250);
    EXPECT_LE(client.height() - 1 - state.centre_y, 250);
}

TEST_F(Canvas, OddClientWidthTruncatesTheCentre) {
    open_toolkit();
    const int frame = 2 * platform::FIXED_BORDER;
    platform::move_window(state.graphics_window, 0, 0, 300 + frame, 300);
    EXPECT_EQ(state.centre_x, 150);
    platform::move_window(state.graphics_window, 0, 0, 301 + frame, 301);
    EXPECT_EQ(state.centre_x, 150);
    platform::Rect client;
    platform::get_client_rect(state.graphics_window, client);
    EXPECT_EQ(state.centre_y, client.height() / 2);
}

TEST_F(Canvas, PresentCopiesTheCanvasIntoTheWindow) {
    open_toolkit();
    KAVRO_logging(0);
    KAVRO_clear();
    settle();
    platform::Bitmap shown = platform::client_picture(state.graphics_window);
    EXPECT_EQ(shown.get(0, 0), BLACK);
    EXPECT_EQ(shown.get(5, 5), WHITE);
    EXPECT_EQ(state.dirty, 0u);
}

TEST_F(Canvas, StaysUsableAfterTheCloseBox) {
    open_toolkit();
    KAVRO_logging(0);
    platform::inject_close(state.graphics_window);
    ASSERT_EQ(await_event().kind, KAVRO_QUIT);
    EXPECT_EQ(KAVRO_rectangle(KAVRO_RED, -5, 5, 5, -5, 0), 1);
    EXPECT_EQ(canvas_at(0, 0), kavro::COLOR_TABLE[KAVRO_RED].value);
    EXPECT_FALSE(kavro::pump_one_message());
    EXPECT_EQ(state.dirty, 0u) << "the copy to the destroyed window is harmless";
    state.script_file = std::tmpfile();
    EXPECT_EQ(KAVRO_close(), 1);
    EXPECT_EQ(state.script_file, nullptr);
}

using TextWindowPlace = ToolkitTest;

TEST_F(TextWindowPlace, CoversTheBottomThirdOfTheScreen) {
    for (int height : {600, 768}) {
        kavro::reset_toolkit_state();
        platform::reset_platform();
        headless = &platform::install_headless_backend(platform::Size{800, height});
        open_toolkit();
        platform::Rect outer;
        platform::get_window_rect(state.text_window, outer);
        EXPECT_EQ(outer.top, (2 * height) / 3 + 1);
        EXPECT_EQ(outer.height(), height / 3);
        EXPECT_EQ(outer.width(), 800);
        platform::Rect graphics;
        platform::get_window_rect(state.graphics_window, graphics);
        EXPECT_EQ(graphics.left, 0);
        EXPECT_EQ(graphics.top, 0);
        EXPECT_EQ(graphics.width(), 601);
        EXPECT_EQ(graphics.height(), 540);
    }
}
