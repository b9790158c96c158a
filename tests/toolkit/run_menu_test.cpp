// Tests of the Run menu: its bar, its commands and the graphics window's input.
#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/drawing/system_look.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_layout.h"
#include "platform/ui/menu_loop.h"
#include "support/toolkit_fixture.h"
#include "toolkit/kavro.h"
#include "toolkit/state.h"

using kavro::state;
using test_support::AwaitedEvent;

namespace {

class RunMenuTest : public test_support::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        open_toolkit();
        KAVRO_logging(0);
    }
    // A key-down as the platform hands it to the graphics window.
    void key_down(int key) { platform::send_message(state.graphics_window, platform::MSG_KEY_DOWN, key, 0); }
    void key_up(int key) { platform::send_message(state.graphics_window, platform::MSG_KEY_UP, key, 0); }
    void ctrl(int key) {
        key_down(platform::KEY_CONTROL);
        key_down(key);
        key_up(platform::KEY_CONTROL);
    }
};

}  // namespace

using MenuBar = test_support::ToolkitTest;

TEST_F(MenuBar, HoldsTheRunPopupWithItsEntriesInOrder) {
    open_toolkit();
    platform::MenuEntry bar_entry;
    ASSERT_TRUE(platform::menu_entry(platform::get_menu(state.graphics_window), 0, bar_entry));
    EXPECT_EQ(bar_entry.text, "&Run");
    EXPECT_EQ(bar_entry.popup, state.run_menu);
    struct Expected {
        unsigned identifier;
        const char* text;  // null: separator
        bool grayed;
    };
    const Expected expected[] = {
        {1, "&Animate\tCtrl+A", false},
        {2, "&Halt animation\tCtrl+H", false},
        {3, "Advance one &frame\tCtrl+F", false},
        {0, nullptr, false},
        {4, "&Logging\tCtrl+L", false},
        {0, nullptr, false},
        {5, "&Record Script\tCtrl+R", false},
        {6, "&Playback Script\tCtrl+P", false},
        {7, "Play &One Script\tCtrl+O", false},
        {0, nullptr, false},
        {8, "&Quit\tCtrl+Q", false},
        {0, nullptr, false},
        {9, "KAVRO v2.2 July 1997", true},
        {9, nullptr, true},
        {9, nullptr, true},
        {9, nullptr, true},
    };
    ASSERT_EQ(platform::menu_entry_count(state.run_menu), 16);
    for (int i = 0; i < 16; ++i) {
        platform::MenuEntry entry;
        ASSERT_TRUE(platform::menu_entry(state.run_menu, i, entry));
        const Expected& e = expected[i];
        bool separator = e.identifier == 0;
        EXPECT_EQ((entry.flags & platform::MENU_SEPARATOR) != 0, separator) << "position " << i + 1;
        if (separator) continue;
        EXPECT_EQ(entry.identifier, e.identifier) << "position " << i + 1;
        if (e.text)
            EXPECT_EQ(entry.text, e.text);
        else
            EXPECT_FALSE(entry.text.empty()) << "contact line at position " << i + 1;
        EXPECT_EQ((entry.flags & platform::MENU_GRAYED) != 0, e.grayed) << "position " << i + 1;
        EXPECT_EQ((entry.flags & platform::MENU_CHECKED) != 0, e.identifier == 4) << "position " << i + 1;
    }
}

using Commands = RunMenuTest;

TEST_F(Commands, CtrlLettersActWhateverTheCaseOfTheReportedKey) {
    for (int key : {'A', 'a'}) {
        state.running = 0;
        ctrl(key);
        EXPECT_EQ(state.running, 1) << static_cast<char>(key);
    }
    for (int key : {'H', 'h'}) {
        state.running = 1;
        ctrl(key);
        EXPECT_EQ(state.running, 0) << static_cast<char>(key);
    }
    key_down('a');
    EXPECT_EQ(state.running, 0) << "a letter without Ctrl is no command";
}

TEST_F(Commands, AnimationCommandsMoveOnlyTheirFlags) {
    state.single_step = 1;
    ctrl('A');
    EXPECT_EQ(state.running, 1);
    EXPECT_EQ(state.single_step, 1);
    ctrl('F');
    EXPECT_EQ(state.running, 0);
    EXPECT_EQ(state.single_step, 1);
    ctrl('H');
    EXPECT_EQ(state.single_step, 1);
    state.running = 1;
    ctrl('O');
    EXPECT_EQ(state.play_one, 1);
    EXPECT_EQ(state.running | state.single_step, 0);
    for (unsigned identifier : {1u, 2u, 3u, 7u, 8u}) EXPECT_FALSE(menu_checked(identifier)) << identifier;
}

TEST_F(Commands, LoggingFromTheMenuTogglesItsMarkButNotTheTextWindow) {
    KAVRO_show_text(0);
    platform::inject_menu_choice(state.graphics_window, kavro::CMD_LOGGING);
    settle();
    EXPECT_EQ(state.logging, 1);
    EXPECT_TRUE(menu_checked(kavro::CMD_LOGGING));
    EXPECT_FALSE(platform::is_visible(state.text_window));
    ctrl('L');
    EXPECT_EQ(state.logging, 0);
    EXPECT_FALSE(menu_checked(kavro::CMD_LOGGING));
}

TEST_F(Commands, EveryRepeatedKeyDownTogglesRecording) {
    key_down(platform::KEY_CONTROL);
    key_down('R');
    EXPECT_EQ(state.recording, 1);
    EXPECT_TRUE(menu_checked(kavro::CMD_RECORD));
    key_down('R');
    EXPECT_EQ(state.recording, 0);
    EXPECT_FALSE(menu_checked(kavro::CMD_RECORD));
    EXPECT_EQ(state.script_file, nullptr) << "an empty recording opens no file";
}

TEST_F(Commands, PlaybackHaltsTheAnimationAndStoppingItDoesNotRestart) {
    KAVRO_animate(2);
    ctrl('P');
    EXPECT_EQ(state.playing, 1);
    EXPECT_EQ(state.running, 0);
    EXPECT_TRUE(menu_checked(kavro::CMD_PLAYBACK));
    ctrl('P');
    EXPECT_EQ(state.playing, 0);
    EXPECT_EQ(state.running, 0);
    EXPECT_FALSE(menu_checked(kavro::CMD_PLAYBACK));
}

TEST_F(Commands, OtherKeysAndCommandValuesDoNothing) {
    key_down(platform::KEY_CONTROL);
    key_down('B');
    key_down(platform::KEY_F10);
    platform::send_message(state.graphics_window, platform::MSG_COMMAND, kavro::CMD_ABOUT, 0);
    platform::send_message(state.graphics_window, platform::MSG_COMMAND, 0, 0);
    platform::send_message(state.graphics_window, platform::MSG_COMMAND, 200, 0);
    EXPECT_EQ(state.running | state.single_step | state.recording | state.playing | state.play_one, 0);
    EXPECT_EQ(state.logging, 0);
    EXPECT_FALSE(platform::choose_menu_command(state.graphics_window, kavro::CMD_ABOUT)) << "grayed";
}

using GraphicsWindowInput = RunMenuTest;

TEST_F(GraphicsWindowInput, TypedLetterIsItsCharacterCode) {
    platform::inject_text("a");
    AwaitedEvent event = await_event();
    EXPECT_EQ(event.kind, KAVRO_KBD);
    EXPECT_EQ(event.key, 97);
    EXPECT_EQ(event.x | event.y, 0);
}

TEST_F(GraphicsWindowInput, CharactersWhileCtrlIsHeldAreIgnored) {
    key_down(platform::KEY_CONTROL);
    state.pending.kind = kavro::NO_EVENT;
    platform::send_message(state.graphics_window, platform::MSG_CHARACTER, 'x', 0);
    EXPECT_EQ(state.pending.kind, kavro::NO_EVENT);
    key_up(platform::KEY_CONTROL);
    platform::send_message(state.graphics_window, platform::MSG_CHARACTER, 0x1E9, 0);
    EXPECT_EQ(state.pending.kind, KAVRO_KBD);
    EXPECT_EQ(static_cast<unsigned char>(state.pending.key), 0xE9) << "the low 8 bits";
}

TEST_F(GraphicsWindowInput, AnyTimerSetsTheTick) {
    state.tick = 0;
    platform::send_message(state.graphics_window, platform::MSG_TIMER, 77, 0);
    EXPECT_EQ(state.tick, 1u);
}

// The platform composes the open menu, so a headless run presents it as the
// screen shows it, and closing it leaves the window's own pixels as they were.
TEST_F(RunMenuTest, TheOpenMenuIsPresentedOverTheWindowAndLeavesNoTrace) {
    platform::Bitmap shown;
    headless->set_present_observer([&](platform::Window window, const platform::Bitmap& picture) {
        if (window == state.graphics_window) shown = picture;
    });
    KAVRO_clear();
    settle();
    platform::Bitmap before = shown;
    platform::Bitmap open;
    std::int64_t now = headless->monotonic_ms();
    platform::inject_open_menu(state.graphics_window);
    headless->schedule(now + 10, [] { platform::inject_key_press(platform::KEY_DOWN); });
    headless->schedule(now + 20, [&] {
        open = shown;
        platform::inject_key_press(platform::KEY_ESCAPE);
    });
    settle();
    ASSERT_EQ(open.width, before.width);
    test_support::save_picture(open, "open_run_menu.png");

    auto at = [](const platform::Bitmap& picture, int x, int y) { return picture.row(y)[x]; };
    platform::Rect title = platform::menu_bar_item_rect(state.graphics_window, 0);
    platform::Rect popup = platform::popup_rect(state.graphics_window, 0);
    EXPECT_EQ(at(open, title.left + 1, title.top + 1), platform::HIGHLIGHT);
    EXPECT_EQ(at(before, title.left + 1, title.top + 1), platform::FACE);
    // The first entry is highlighted, the rest of the popup is the menu face with dark text on it.
    int first_row = popup.top + platform::MENU_POPUP_BORDER + 1;
    EXPECT_EQ(at(open, popup.left + platform::MENU_POPUP_BORDER, first_row), platform::HIGHLIGHT);
    int text_pixels = 0;
    int face_pixels = 0;
    for (int y = first_row + platform::MENU_ITEM_HEIGHT; y < popup.bottom - platform::MENU_POPUP_BORDER; ++y)
        for (int x = popup.left + platform::MENU_POPUP_BORDER; x < popup.right - platform::MENU_POPUP_BORDER; ++x) {
            platform::Pixel pixel = at(open, x, y);
            face_pixels += pixel == platform::FACE;
            text_pixels += pixel == 0x000000;
        }
    EXPECT_GT(text_pixels, 200);
    EXPECT_GT(face_pixels, text_pixels * 5);
    EXPECT_NE(at(before, popup.left + 40, popup.top + 40), at(open, popup.left + 40, popup.top + 40));
    EXPECT_EQ(shown.pixels, before.pixels);
    EXPECT_EQ(platform::open_menu_view(), nullptr);
}
