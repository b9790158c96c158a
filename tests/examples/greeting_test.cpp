// The greeting example on the headless toolkit: the dialog's answer on the canvas.
#include <cstring>
#include <string>

#include "platform/core/message_queue.h"
#include "platform/drawing/font.h"
#include "support/test_support.h"
#include "support/toolkit_fixture.h"

extern "C" int greeting_main(void);

namespace {

using test_support::Ink;
using test_support::ink_of;

// Where and how the program greets.
constexpr int GREETING_COLOR = KAVRO_PURPLE;
constexpr int GREETING_POINT_SIZE = 32;
constexpr int GREETING_LEFT = -270;
constexpr int GREETING_BOTTOM = 10;

class Greeting : public test_support::ToolkitTest {
protected:
    // Types the answer as a person would and confirms it with Enter; the
    // program is quit a moment later.
    void answer_with(const char* typed) {
        std::string text = typed;
        headless->schedule(100, [text] { platform::inject_text(text.c_str()); });
        headless->schedule(150, [] { platform::inject_key_press(platform::KEY_ENTER); });
        headless->schedule(300, [] { platform::post_quit_message(0); });
    }
    // The greeting's ink must cover the box its text takes: a name left out
    // or cut short, or text drawn elsewhere, moves the right edge or the box.
    void expect_greeting_for(const std::string& name) {
        platform::FontRequest request;
        request.height = GREETING_POINT_SIZE;
        std::strcpy(request.face, "KAVRO-font");
        std::string text = "Hello, " + name + "!";
        platform::Size extent =
            platform::text_extent(platform::find_font(request), text.data(), static_cast<int>(text.size()));
        int left = kavro::canvas_origin().x + GREETING_LEFT;
        int bottom = kavro::canvas_origin().y - GREETING_BOTTOM;
        Ink ink = ink_of(canvas(), kavro::color_value(GREETING_COLOR));
        ASSERT_GT(ink.count, 0) << "nothing in the greeting's colour";
        EXPECT_GE(ink.left, left);
        EXPECT_LE(ink.left, left + 4);
        EXPECT_LE(ink.right, left + extent.width - 1);
        EXPECT_GE(ink.right, left + extent.width - 8) << "the text ends where \"" << text << "\" ends";
        EXPECT_GE(ink.top, bottom - extent.height);
        EXPECT_LT(ink.bottom, bottom);
        EXPECT_GT(ink.bottom - ink.top, GREETING_POINT_SIZE / 2);
    }
};

TEST_F(Greeting, TypedNameIsGreetedInItsColourAndWritesAPictureToLookAt) {
    answer_with("Robin");
    EXPECT_EQ(greeting_main(), 0);
    expect_greeting_for("Robin");
    // The hint sits below the greeting, in its own colour.
    Ink hint = ink_of(canvas(), kavro::color_value(KAVRO_GRAY_50));
    EXPECT_GT(hint.count, 0);
    EXPECT_GT(hint.top, kavro::canvas_origin().y - GREETING_BOTTOM);
    EXPECT_TRUE(messages().empty()) << "no correction messages expected";
    EXPECT_NE(test_support::save_picture(canvas(), "greeting.png"), "");
}

TEST_F(Greeting, EmptyAnswerGreetsAStranger) {
    answer_with("");
    EXPECT_EQ(greeting_main(), 0);
    expect_greeting_for("stranger");
}

TEST_F(Greeting, ADialogThatCannotRunStillGivesAName) {
    // The windows are open already and the graphics window is gone, so the
    // dialog has no owner to run over; the window's end also quits the program.
    open_toolkit();
    platform::destroy_window(kavro::graphics_window());
    EXPECT_EQ(greeting_main(), 0);
    expect_greeting_for("stranger");
}

}  // namespace
