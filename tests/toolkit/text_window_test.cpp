// Tests of the text window: its lines, the message ring and forwarded keys.
#include <string>

#include "platform/core/input.h"
#include "platform/drawing/font.h"
#include "support/toolkit_fixture.h"
#include "toolkit/kavro.h"
#include "toolkit/state.h"

using kavro::state;
using test_support::AwaitedEvent;

namespace {

constexpr platform::Pixel WHITE_PIXEL = 0xFFFFFF;

class TextWindowTest : public test_support::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        open_toolkit();
        settle();
        const platform::FontInstance* font = platform::find_font(platform::fixed_font_request());
        platform::TextMetrics metrics = platform::text_metrics(font);
        line_height = metrics.height + metrics.external_leading;
    }
    platform::Bitmap shown() const { return platform::client_picture(state.text_window); }
    // Line `from_bottom` (0 = the bottom line) of the text window's client area.
    platform::Bitmap line(const platform::Bitmap& window, int from_bottom) const {
        platform::Bitmap band(window.width, line_height);
        int top = window.height - (from_bottom + 1) * line_height;
        for (int y = 0; y < line_height; ++y)
            for (int x = 0; x < window.width; ++x) band.row(y)[x] = window.row(top + y)[x];
        return band;
    }
    // The line as the text window should show these characters.
    platform::Bitmap expected_line(const std::string& text, int width) const {
        platform::Bitmap band(width, line_height, WHITE_PIXEL);
        platform::draw_text(platform::whole_target(band), platform::find_font(platform::fixed_font_request()), 5, 0,
                            text.data(), static_cast<int>(text.size()), 0x000000, true, WHITE_PIXEL);
        return band;
    }
    ::testing::AssertionResult shows(int from_bottom, const std::string& text) const {
        platform::Bitmap window = shown();
        return test_support::same_picture(line(window, from_bottom), expected_line(text, window.width),
                                          "text-window-line-" + std::to_string(from_bottom));
    }

    int line_height = 0;
};

std::string numbered(int n) { return "message " + std::to_string(n) + "\n"; }

}  // namespace

using MessageRing = TextWindowTest;

TEST_F(MessageRing, TheTwentySixthMessageDropsTheFirst) {
    KAVRO_logging(0);
    for (int n = 1; n <= 25; ++n) KAVRO_printf("message %d\n", n);
    EXPECT_EQ(state.message_ring.oldest, 0);
    EXPECT_EQ(state.message_ring.next, 0);
    KAVRO_printf("message %d\n", 26);
    EXPECT_EQ(state.message_ring.oldest, 1);
    EXPECT_EQ(state.message_ring.next, 1);
    EXPECT_STREQ(state.message_ring.slots[0].get(), "message 26\n");
    std::vector<std::string> texts = messages();
    ASSERT_EQ(texts.size(), 25u);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(texts[static_cast<std::size_t>(i)], numbered(i + 2));
}

TEST_F(MessageRing, PrintfCountsTheFormattedCharacters) {
    EXPECT_EQ(KAVRO_printf("%d-%s\n", 12, "x"), 5);
    EXPECT_EQ(KAVRO_printf("%s", ""), 0);
    EXPECT_EQ(messages().back(), "");
}

TEST_F(MessageRing, AMessageBeyond1023CharactersIsStoredCut) {
    std::string longer(1500, 'm');
    EXPECT_EQ(KAVRO_printf("%s!", longer.c_str()), 1023);
    EXPECT_EQ(messages().back(), longer.substr(0, 1023));
}

using TextWindowLines = TextWindowTest;

TEST_F(TextWindowLines, EveryMessageTakesTheBottomLineAndScrollsTheOthersUp) {
    KAVRO_printf("ab");
    KAVRO_printf("cd");
    KAVRO_printf("\n");
    KAVRO_printf("ef\n\n");
    EXPECT_TRUE(shows(0, "ef\n")) << "only the last newline is left out";
    EXPECT_TRUE(shows(1, ""));
    EXPECT_TRUE(shows(2, "cd"));
    EXPECT_TRUE(shows(3, "ab"));
    EXPECT_TRUE(shows(4, ""));
    EXPECT_NE(line(shown(), 0).pixels, expected_line("ef", shown().width).pixels)
        << "the inner newline is drawn as a character";
}

TEST_F(TextWindowLines, ARepaintBeforeAnyMessageDrawsNothing) {
    platform::invalidate(state.text_window);
    settle();
    platform::Bitmap window = shown();
    EXPECT_TRUE(test_support::same_picture(window, platform::Bitmap(window.width, window.height, WHITE_PIXEL),
                                           "text-window-empty"));
}

TEST_F(TextWindowLines, ARepaintShowsTheStoredMessagesOldestFirst) {
    platform::move_window(state.text_window, 0, 0, 400, 28 * line_height);
    settle();
    KAVRO_logging(0);
    for (int n = 1; n <= 26; ++n) KAVRO_printf("message %d\n", n);
    platform::invalidate(state.text_window);
    settle();
    for (int k = 0; k < 25; ++k) EXPECT_TRUE(shows(k, "message " + std::to_string(26 - k))) << k;
    EXPECT_TRUE(shows(25, "")) << "the dropped first message is not replayed";
}

using KeyForwarding = TextWindowTest;

TEST_F(KeyForwarding, KeysTypedInTheTextWindowBecomeGraphicsWindowEvents) {
    platform::inject_focus(state.text_window);
    platform::inject_text("ab");
    EXPECT_EQ(await_event().key, 'a');
    EXPECT_EQ(await_event().key, 'b');
    headless->schedule(headless->now() + 500, [] { platform::inject_click(state.graphics_window, 1, 1); });
    EXPECT_EQ(await_event().kind, KAVRO_MOUSE) << "one event per typed character";
}

TEST_F(KeyForwarding, CtrlCommandsWorkFromTheTextWindow) {
    platform::inject_focus(state.text_window);
    schedule_ctrl_key(headless->now() + 10, 'A');
    AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_PERIODIC);
    EXPECT_EQ(state.running, 1);
    settle();
    EXPECT_EQ(state.ctrl_down, 0u) << "the Ctrl key-up was forwarded too";
}
