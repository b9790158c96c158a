// Tests of KAVRO_gets: its dialog template and the answers it hands back.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/message_queue.h"
#include "platform/ui/dialog.h"
#include "support/toolkit_fixture.h"
#include "toolkit/kavro.h"
#include "toolkit/state.h"

namespace kavro {
// Lives in prompt.cpp without a header: only KAVRO_gets and these tests use it.
void build_gets_template(const char* prompt, std::uint8_t (&block)[292]);
}  // namespace kavro

using kavro::state;

namespace {

constexpr std::size_t TEMPLATE_SIZE = 292;
constexpr int OKAY_ID = 101;
constexpr int EDIT_ID = 102;
constexpr int PROMPT_ID = 103;
constexpr std::size_t PROMPT_LENGTH = 79;
// Where the prompt's 79 units and their terminator sit in the block.
constexpr std::size_t PROMPT_TEXT_OFFSET = 130;

using Block = std::uint8_t[TEMPLATE_SIZE];

unsigned word_at(const Block& block, std::size_t offset) {
    return static_cast<unsigned>(block[offset] | (block[offset + 1] << 8));
}
std::uint32_t dword_at(const Block& block, std::size_t offset) {
    return word_at(block, offset) | (static_cast<std::uint32_t>(word_at(block, offset + 2)) << 16);
}
// The zero-terminated 16-bit text at offset; every unit must fit a byte.
std::string text_at(const Block& block, std::size_t offset) {
    std::string text;
    for (unsigned unit; offset + 1 < TEMPLATE_SIZE && (unit = word_at(block, offset)) != 0; offset += 2) {
        EXPECT_LE(unit, 0xFFu) << "at " << offset;
        text += static_cast<char>(unit);
    }
    return text;
}

std::string prompt_in_template(const char* prompt) {
    Block block;
    kavro::build_gets_template(prompt, block);
    EXPECT_EQ(word_at(block, PROMPT_TEXT_OFFSET + 2 * PROMPT_LENGTH), 0u) << "terminator after 79 units";
    return text_at(block, PROMPT_TEXT_OFFSET);
}

// ---- the template ----

struct ItemFields {
    std::size_t offset;
    std::uint32_t style;
    unsigned x, y, width, height, id, atom;
    std::string text;
};

TEST(GetsTemplate, HeaderAndItemsSitAtTheirOffsetsOnFourByteBoundaries) {
    Block block;
    kavro::build_gets_template("Age", block);
    static_assert(sizeof block == 292);
    EXPECT_EQ(dword_at(block, 0), 0x90C80080u) << "popup, visible, caption, system menu, modal frame";
    EXPECT_EQ(dword_at(block, 4), 0u);
    EXPECT_EQ(word_at(block, 8), 3u) << "item count";
    EXPECT_EQ(word_at(block, 10), 50u);
    EXPECT_EQ(word_at(block, 12), 50u);
    EXPECT_EQ(word_at(block, 14), 185u);
    EXPECT_EQ(word_at(block, 16), 92u);
    EXPECT_EQ(word_at(block, 18), 0u) << "no menu";
    EXPECT_EQ(word_at(block, 20), 0u) << "the default dialog class";
    EXPECT_EQ(text_at(block, 22), "KAVRO_gets");

    const std::vector<ItemFields> items = {
        {44, 0x50810044, 8, 30, 167, 37, EDIT_ID, platform::EDIT_CLASS_ATOM, ""},
        {72, 0x50010001, 67, 74, 50, 14, OKAY_ID, platform::BUTTON_CLASS_ATOM, "Okay"},
        {108, 0x50020000, 8, 3, 167, 24, PROMPT_ID, platform::STATIC_CLASS_ATOM, "Age" + std::string(76, ' ')},
    };
    for (const ItemFields& item : items) {
        SCOPED_TRACE("item " + std::to_string(item.id));
        EXPECT_EQ(item.offset % 4, 0u);
        EXPECT_EQ(dword_at(block, item.offset), item.style);
        EXPECT_EQ(dword_at(block, item.offset + 4), 0u);
        EXPECT_EQ(word_at(block, item.offset + 8), item.x);
        EXPECT_EQ(word_at(block, item.offset + 10), item.y);
        EXPECT_EQ(word_at(block, item.offset + 12), item.width);
        EXPECT_EQ(word_at(block, item.offset + 14), item.height);
        EXPECT_EQ(word_at(block, item.offset + 16), item.id);
        EXPECT_EQ(word_at(block, item.offset + 18), 0xFFFFu) << "class by atom";
        EXPECT_EQ(word_at(block, item.offset + 20), item.atom);
        EXPECT_EQ(text_at(block, item.offset + 22), item.text);
        std::size_t after_text = item.offset + 22 + 2 * (item.text.size() + 1);
        EXPECT_EQ(word_at(block, after_text), 0u) << "no creation data";
    }
    // The padding before the second and third items, and the block's end.
    EXPECT_EQ(word_at(block, 70), 0u);
    EXPECT_EQ(word_at(block, 106), 0u);
    EXPECT_EQ(PROMPT_TEXT_OFFSET + 2 * (PROMPT_LENGTH + 1) + 2, TEMPLATE_SIZE) << "the prompt's creation word ends it";

    // The platform reads it back the same way.
    platform::DialogTemplate parsed;
    ASSERT_TRUE(platform::parse_dialog_template(block, sizeof block, parsed));
    EXPECT_EQ(parsed.title, "KAVRO_gets");
    ASSERT_EQ(parsed.items.size(), 3u);
    EXPECT_EQ(parsed.items[0].class_name, platform::EDIT_CLASS);
    EXPECT_EQ(parsed.items[1].class_name, platform::BUTTON_CLASS);
    EXPECT_EQ(parsed.items[2].class_name, platform::STATIC_CLASS);
    EXPECT_FALSE(platform::parse_dialog_template(block, sizeof block - 1, parsed)) << "every byte is needed";
}

TEST(GetsTemplate, PromptIsPaddedWithSpacesOrCutToSeventyNineCharacters) {
    EXPECT_EQ(prompt_in_template("Age"), "Age" + std::string(76, ' '));
    std::string hundred;
    for (int i = 0; i < 100; ++i) hundred += static_cast<char>('A' + i % 26);
    EXPECT_EQ(prompt_in_template(hundred.c_str()), hundred.substr(0, 79));
    std::string exactly(79, 'x');
    EXPECT_EQ(prompt_in_template(exactly.c_str()), exactly);
    EXPECT_EQ(prompt_in_template(nullptr), std::string(79, ' '));
    EXPECT_EQ(prompt_in_template(""), std::string(79, ' '));
}

TEST(GetsTemplate, BytesAboveAsciiBecomeOneUnitEachWithoutSignExtension) {
    Block block;
    kavro::build_gets_template("\xE9t\xE9", block);
    EXPECT_EQ(word_at(block, PROMPT_TEXT_OFFSET), 0x00E9u);
    EXPECT_EQ(word_at(block, PROMPT_TEXT_OFFSET + 2), unsigned{'t'});
    EXPECT_EQ(word_at(block, PROMPT_TEXT_OFFSET + 4), 0x00E9u);
}

TEST(GetsTemplate, WhatTheBlockHeldBeforeDoesNotShowThrough) {
    Block clean;
    std::memset(clean, 0, sizeof clean);
    kavro::build_gets_template("Name?", clean);
    Block dirty;
    std::memset(dirty, 0xAA, sizeof dirty);
    kavro::build_gets_template("Name?", dirty);
    EXPECT_EQ(std::memcmp(clean, dirty, sizeof clean), 0);
}

// ---- running the dialog ----

class Gets : public test_support::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        open_toolkit();
    }
    // A click in the middle of one of the dialog's controls.
    static void click_item(int id) {
        platform::Window dialog = platform::active_dialog();
        platform::Rect area;
        platform::get_window_rect(platform::get_dialog_item(dialog, id), area);
        platform::inject_click(dialog, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    }
    static std::string item_text(int id) {
        char buffer[1024];
        platform::get_dialog_item_text(platform::active_dialog(), id, buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(Gets, EmptyAnswerGivesAnEmptyString) {
    char result[8];
    std::memset(result, 'z', sizeof result);
    headless->schedule(100, [] { platform::inject_key_press(platform::KEY_ENTER); });
    EXPECT_EQ(KAVRO_gets("Name?", result), 1);
    EXPECT_STREQ(result, "");
}

TEST_F(Gets, TypedAnswerComesBackAndTheDialogShowsThePromptWithTheFocusInTheField) {
    std::string title, prompt;
    platform::Window focused = platform::Window::NONE, edit = platform::Window::NONE;
    platform::Bitmap picture;
    headless->schedule(100, [] { platform::inject_text("Robin 42"); });
    headless->schedule(150, [&] {
        platform::Window dialog = platform::active_dialog();
        title = platform::window_title(dialog);
        prompt = item_text(PROMPT_ID);
        focused = platform::focus_window();
        edit = platform::get_dialog_item(dialog, EDIT_ID);
        picture = platform::client_picture(dialog);
        platform::inject_key_press(platform::KEY_ENTER);
    });
    char result[256];
    EXPECT_EQ(KAVRO_gets("What is your name?", result), 1);
    EXPECT_STREQ(result, "Robin 42");
    EXPECT_EQ(title, "KAVRO_gets");
    EXPECT_EQ(prompt, "What is your name?" + std::string(79 - 18, ' '));
    EXPECT_EQ(focused, edit);
    EXPECT_NE(test_support::save_picture(picture, "gets_dialog.png"), "");
    EXPECT_EQ(platform::active_dialog(), platform::Window::NONE);
}

TEST_F(Gets, LongAnswerIsCutTo255CharactersAndNothingBeyond256BytesIsWritten) {
    std::string typed;
    for (int i = 0; i < 300; ++i) typed += static_cast<char>('a' + i % 26);
    std::size_t held = 0;
    headless->schedule(100, [&] { platform::inject_text(typed.c_str()); });
    headless->schedule(150, [&] {
        held = item_text(EDIT_ID).size();
        platform::inject_key_press(platform::KEY_ENTER);
    });
    char result[400];
    std::memset(result, 'z', sizeof result);
    EXPECT_EQ(KAVRO_gets("Say a lot", result), 1);
    EXPECT_EQ(held, 300u) << "the field takes all of it; the cut is the answer's";
    EXPECT_EQ(std::string(result), typed.substr(0, 255));
    EXPECT_EQ(result[255], '\0');
    for (std::size_t i = 256; i < sizeof result; ++i) ASSERT_EQ(result[i], 'z') << "byte " << i;
}

TEST_F(Gets, EscapeAndTheCloseBoxLeaveItOpenWithTheTextKept) {
    bool open_after = false;
    std::string text_after;
    headless->schedule(100, [] { platform::inject_text("Kim"); });
    headless->schedule(150, [] { platform::inject_key_press(platform::KEY_ESCAPE); });
    headless->schedule(200, [] { platform::inject_close(platform::active_dialog()); });
    headless->schedule(250, [&] {
        open_after = platform::is_visible(platform::active_dialog());
        text_after = item_text(EDIT_ID);
        platform::inject_key_press(platform::KEY_ENTER);
    });
    char result[256];
    EXPECT_EQ(KAVRO_gets("Name?", result), 1);
    EXPECT_TRUE(open_after);
    EXPECT_EQ(text_after, "Kim");
    EXPECT_STREQ(result, "Kim");
}

TEST_F(Gets, OkayButtonConfirmsByClickAndBySpaceOnIt) {
    char result[256];
    headless->schedule(100, [] { platform::inject_text("one"); });
    headless->schedule(150, [] { click_item(OKAY_ID); });
    EXPECT_EQ(KAVRO_gets("Click", result), 1);
    EXPECT_STREQ(result, "one");

    std::int64_t at = headless->now();
    headless->schedule(at + 100, [] { platform::inject_text("two"); });
    headless->schedule(at + 150, [] { platform::inject_key_press(platform::KEY_TAB); });
    headless->schedule(at + 200, [] { platform::inject_key_press(platform::KEY_SPACE); });
    EXPECT_EQ(KAVRO_gets("Space", result), 1);
    EXPECT_STREQ(result, "two") << "the space went to the button, not the field";
}

TEST_F(Gets, GraphicsWindowOwnsTheDialogAndItsTimerKeepsTicking) {
    std::vector<int> ticks;
    std::vector<bool> owner_enabled;
    for (std::int64_t at = 1000; at <= 3000; at += 500) {
        headless->schedule(at, [] { state.tick = 0; });
        headless->schedule(at + 250, [&] {
            ticks.push_back(static_cast<int>(state.tick));
            owner_enabled.push_back(platform::is_enabled(state.graphics_window));
        });
    }
    platform::Point dialog_client, owner_client;
    headless->schedule(3500, [&] {
        dialog_client = platform::client_screen_origin(platform::active_dialog());
        owner_client = platform::client_screen_origin(state.graphics_window);
        platform::inject_key_press(platform::KEY_ENTER);
    });
    char result[256];
    EXPECT_EQ(KAVRO_gets("Wait", result), 1);
    EXPECT_EQ(ticks, (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(owner_enabled, (std::vector<bool>{false, false, false, false, false}));
    EXPECT_TRUE(platform::is_enabled(state.graphics_window));
    EXPECT_EQ(platform::focus_window(), state.graphics_window);
    platform::Rect offset{0, 0, 50, 50};
    platform::map_dialog_rect(offset);
    EXPECT_EQ(dialog_client.x, owner_client.x + offset.right) << "the template places the client areas";
    EXPECT_EQ(dialog_client.y, owner_client.y + offset.bottom);
}

TEST_F(Gets, KeysTypedIntoTheDialogNeverReachTheProgramAsEvents) {
    headless->schedule(100, [] { platform::inject_text("xyz"); });
    headless->schedule(150, [] { platform::inject_key_press(platform::KEY_ENTER); });
    char result[256];
    ASSERT_EQ(KAVRO_gets("Keys", result), 1);
    std::int64_t at = headless->now();
    headless->schedule(at + 100,
                       [] { platform::inject_click(state.graphics_window, state.centre_x + 5, state.centre_y - 7); });
    test_support::AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_MOUSE);
    EXPECT_EQ(event.x, 5);
    EXPECT_EQ(event.y, 7);
}

TEST_F(Gets, QuitWhileAskingEndsItWithAnEmptyAnswerAndReachesTheProgram) {
    headless->schedule(100, [] { platform::inject_text("half"); });
    headless->schedule(150, [] { platform::post_quit_message(0); });
    char result[256];
    std::memset(result, 'z', sizeof result);
    EXPECT_EQ(KAVRO_gets("Name?", result), 1) << "the dialog ran";
    EXPECT_STREQ(result, "") << "no answer was given, and the caller may read the buffer";
    EXPECT_EQ(platform::active_dialog(), platform::Window::NONE);
    EXPECT_EQ(await_event().kind, KAVRO_QUIT);
}

TEST_F(Gets, NullResultReturnsZeroWithoutOpeningADialog) {
    std::int64_t before = headless->now();
    int waits = headless->wait_count();
    EXPECT_EQ(KAVRO_gets("Name?", nullptr), 0);
    EXPECT_EQ(headless->now(), before);
    EXPECT_EQ(headless->wait_count(), waits);
    EXPECT_EQ(platform::active_dialog(), platform::Window::NONE);
}

TEST_F(Gets, GoneGraphicsWindowGivesZeroAndLeavesTheBufferAlone) {
    platform::destroy_window(state.graphics_window);
    int waits = headless->wait_count();
    char result[16] = "untouched";
    char expected[16] = "untouched";
    EXPECT_EQ(KAVRO_gets("Name?", result), 0);
    EXPECT_EQ(std::memcmp(result, expected, sizeof result), 0);
    EXPECT_EQ(headless->wait_count(), waits) << "no dialog ran";
    EXPECT_EQ(platform::active_dialog(), platform::Window::NONE);
}

using GetsWithoutToolkit = test_support::ToolkitTest;

TEST_F(GetsWithoutToolkit, RunsWithoutAnOwnerBeforeTheToolkitIsOpen) {
    headless->schedule(100, [] { platform::inject_text("early"); });
    headless->schedule(150, [] { platform::inject_key_press(platform::KEY_ENTER); });
    char result[256];
    EXPECT_EQ(KAVRO_gets("Name?", result), 1);
    EXPECT_STREQ(result, "early");
}

}  // namespace
