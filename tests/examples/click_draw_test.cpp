// The click_draw example on the headless toolkit: dots, lines, colours and clearing.
#include "platform/core/message_queue.h"
#include "support/test_support.h"
#include "support/toolkit_fixture.h"

extern "C" int click_draw_main(void);

namespace {

class ClickDraw : public test_support::ToolkitTest {
protected:
    // A click at application point (x, y), at virtual time at_ms.
    void click_at(std::int64_t at_ms, int x, int y) {
        headless->schedule(at_ms, [x, y] {
            platform::Point origin = kavro::canvas_origin();
            platform::inject_click(kavro::graphics_window(), origin.x + x, origin.y - y);
        });
    }
    void type_at(std::int64_t at_ms, const char* text) {
        headless->schedule(at_ms, [text] { platform::inject_text(text); });
    }
    void quit_at(std::int64_t at_ms) {
        headless->schedule(at_ms, [] { platform::post_quit_message(0); });
    }
    static platform::ColorWord color(int index) { return kavro::color_value(index); }
};

TEST_F(ClickDraw, ClicksLeaveDotsJoinedByALineInTheChosenColour) {
    click_at(100, -100, 50);
    click_at(200, 100, 50);
    type_at(300, "1");  // red
    click_at(400, 100, -100);
    quit_at(500);
    EXPECT_EQ(click_draw_main(), 0);
    EXPECT_EQ(canvas_at(-100, 50), color(KAVRO_BLUE)) << "the first dot, in the first colour";
    EXPECT_EQ(canvas_at(0, 50), color(KAVRO_BLUE)) << "the line between the first two dots";
    EXPECT_EQ(canvas_at(0, 60), color(KAVRO_WHITE)) << "nothing beside the line";
    EXPECT_EQ(canvas_at(100, -100), color(KAVRO_RED)) << "the dot after the key 1";
    EXPECT_EQ(canvas_at(100, -25), color(KAVRO_RED)) << "its line from the previous dot";
    EXPECT_NE(test_support::save_picture(canvas(), "click_draw.png"), "");
}

TEST_F(ClickDraw, KeyCClearsAndTheNextClickStartsWithoutALine) {
    click_at(100, -100, 50);
    type_at(200, "c");
    click_at(300, 100, 50);
    quit_at(400);
    EXPECT_EQ(click_draw_main(), 0);
    EXPECT_EQ(canvas_at(-100, 50), color(KAVRO_WHITE)) << "the dot before the clear is gone";
    EXPECT_EQ(canvas_at(0, 50), color(KAVRO_WHITE)) << "no line from a dot that was cleared";
    EXPECT_EQ(canvas_at(100, 50), color(KAVRO_BLUE));
}

}  // namespace
