// The typing example on the headless toolkit: typed lines, Backspace and Enter.
#include <cstring>
#include <string>

#include "platform/core/message_queue.h"
#include "platform/drawing/font.h"
#include "support/test_support.h"
#include "support/toolkit_fixture.h"

extern "C" int typing_main(void);

namespace {

using test_support::Ink;
using test_support::ink_of;

class Typing : public test_support::ToolkitTest {
protected:
    // Runs the program while the text is typed, and returns the ink of the
    // typed text as the program left it.
    Ink run_typing(const char* typed) {
        std::string text = typed;
        headless->schedule(100, [text] { platform::inject_text(text.c_str()); });
        headless->schedule(1000, [] { platform::post_quit_message(0); });
        EXPECT_EQ(typing_main(), 0);
        return ink_of(canvas(), kavro::color_value(KAVRO_NAVY_BLUE));
    }
    // How wide the program's text font draws this text.
    static int width_of(const std::string& text) {
        platform::FontRequest request;
        request.height = 24;
        std::strcpy(request.face, "KAVRO-font");
        return platform::text_extent(platform::find_font(request), text.data(), static_cast<int>(text.size())).width;
    }
};

TEST_F(Typing, TypedTextAppearsWithItsCursorAtTheTextsPlace) {
    Ink ink = run_typing("Hi there");
    ASSERT_GT(ink.count, 0) << "nothing typed on the canvas";
    int left = kavro::canvas_origin().x - 280;
    EXPECT_GE(ink.left, left);
    EXPECT_LE(ink.left, left + 4);
    EXPECT_LE(ink.right, left + width_of("Hi there_") - 1);
    EXPECT_GE(ink.right, left + width_of("Hi there_") - 6) << "the text ends where \"Hi there_\" ends";
    EXPECT_LT(ink.bottom, kavro::canvas_origin().y - 170 + 6) << "the line stands on its anchor";
    EXPECT_NE(test_support::save_picture(canvas(), "typing.png"), "");
}

TEST_F(Typing, BackspaceTakesBackAndEnterStartsALineBelow) {
    Ink one_line = run_typing("abcd\b\b");
    // The second run on a fresh toolkit, as the fixture starts one.
    TearDown();
    SetUp();
    Ink two_lines = run_typing("ab\nab");
    int left = kavro::canvas_origin().x - 280;
    EXPECT_LE(one_line.right, left + width_of("ab_") - 1) << "two characters taken back";
    EXPECT_GE(one_line.right, left + width_of("ab_") - 6);
    EXPECT_EQ(two_lines.top, one_line.top) << "the first line stays where it was";
    EXPECT_GT(two_lines.bottom, one_line.bottom + 15) << "the second line goes below";
    EXPECT_EQ(two_lines.right, one_line.right) << "the second line \"ab_\" starts at the first one's left edge";
}

}  // namespace
