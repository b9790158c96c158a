// Tests of menus: entries, check marks, the menu bar and the menu loop.
#include "platform/ui/menu.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/menu_layout.h"
#include "platform/ui/menu_loop.h"
#include "platform/ui/mnemonic.h"
#include "platform/ui/platform_reset.h"

namespace platform {
namespace {

std::vector<std::uintptr_t> commands;
std::vector<Message> sizes;
int timers_while_open = 0;
// Run once, by the first timer message that arrives while a menu is open.
std::function<void()> on_timer_while_open;

std::intptr_t menu_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (message == MSG_COMMAND) commands.push_back(word);
    if (message == MSG_SIZE) sizes.push_back(Message{window, message, word, position});
    if (message == MSG_TIMER && open_menu_view()) {
        ++timers_while_open;
        auto hook = std::move(on_timer_while_open);
        on_timer_while_open = nullptr;
        if (hook) hook();
    }
    return default_window_proc(window, message, word, position);
}

constexpr unsigned GO = 101, HALT = 102, STOP = 103, FAST = 201, SLOW = 202;

struct Fixture {
    HeadlessBackend* headless = nullptr;
    Window window = Window::NONE;
    Menu bar = Menu::NONE;
    Menu file = Menu::NONE;  // Go, separator, Halt (grayed), Stop
    Menu run = Menu::NONE;   // Fast, Slow (checked)
};

// A fresh platform with a shown, focused window carrying the bar "&File &Run".
Fixture start(bool attach = true) {
    Fixture f;
    reset_platform();
    f.headless = &install_headless_backend();
    commands.clear();
    sizes.clear();
    timers_while_open = 0;
    on_timer_while_open = nullptr;
    WindowClass window_class;
    window_class.name = "menu";
    window_class.procedure = menu_proc;
    register_class(window_class);
    // Frameless: the bar starts at the surface's top edge.
    f.window = create_window("menu", "m", STYLE_POPUP, 0, 0, 400, 300, Window::NONE, nullptr);
    f.file = create_popup_menu();
    append_menu(f.file, MENU_STRING, GO, "&Go\tF5");
    append_menu(f.file, MENU_SEPARATOR, 0, nullptr);
    append_menu(f.file, MENU_GRAYED, HALT, "&Halt");
    append_menu(f.file, MENU_STRING, STOP, "&Stop");
    f.run = create_popup_menu();
    append_menu(f.run, MENU_STRING, FAST, "&Fast");
    append_menu(f.run, MENU_CHECKED, SLOW, "&Slow");
    f.bar = create_menu();
    append_menu(f.bar, MENU_POPUP, static_cast<unsigned>(f.file), "&File");
    append_menu(f.bar, MENU_POPUP, static_cast<unsigned>(f.run), "&Run");
    if (attach) set_menu(f.window, f.bar);
    show_window(f.window, SHOW_NORMAL);
    return f;
}

// The program's pump; returns the exit code of the quit that ends it (an idle
// wait with nothing left to wake it posts one).
int run_until_quit() {
    Message m;
    for (int i = 0; i < 100000; ++i) {
        if (!peek_message(m)) continue;
        if (m.message == MSG_QUIT) return static_cast<int>(m.word);
        translate_message(m);
        dispatch_message(m);
    }
    ADD_FAILURE() << "the pump never saw a quit";
    return -1;
}

TEST(MenuEntries, ReadBackTextFlagsAndPopups) {
    Fixture f = start();
    EXPECT_EQ(menu_entry_count(f.bar), 2);
    MenuEntry entry;
    ASSERT_TRUE(menu_entry(f.bar, 1, entry));
    EXPECT_EQ(entry.text, "&Run");
    EXPECT_EQ(entry.popup, f.run);
    EXPECT_TRUE(entry.flags & MENU_POPUP);
    ASSERT_TRUE(menu_entry(f.file, 0, entry));
    EXPECT_EQ(entry.text, "&Go\tF5");
    EXPECT_EQ(entry.identifier, GO);
    ASSERT_TRUE(menu_entry(f.file, 1, entry));
    EXPECT_TRUE(entry.flags & MENU_SEPARATOR);
    EXPECT_EQ(entry.text, "");
    ASSERT_TRUE(find_menu_entry(f.bar, HALT, entry));
    EXPECT_TRUE(entry.flags & MENU_GRAYED);
    EXPECT_FALSE(menu_entry(f.file, 4, entry));
    EXPECT_FALSE(menu_entry(f.file, -1, entry));
    EXPECT_FALSE(find_menu_entry(f.bar, 999, entry));
    EXPECT_EQ(get_menu(f.window), f.bar);
}

TEST(MenuEntries, APopupEntryNeedsALivePopup) {
    Fixture f = start();
    EXPECT_FALSE(append_menu(f.bar, MENU_POPUP, 9999, "&Nothing"));
    EXPECT_EQ(menu_entry_count(f.bar), 2);
}

TEST(CheckMark, SetAndClearedByIdentifierReturningThePreviousState) {
    Fixture f = start();
    EXPECT_EQ(check_menu_item(f.bar, FAST, true), 0);
    EXPECT_EQ(check_menu_item(f.bar, FAST, true), 1);
    EXPECT_EQ(check_menu_item(f.bar, SLOW, false), 1);
    MenuEntry entry;
    ASSERT_TRUE(find_menu_entry(f.bar, FAST, entry));
    EXPECT_TRUE(entry.flags & MENU_CHECKED);
    ASSERT_TRUE(find_menu_entry(f.bar, SLOW, entry));
    EXPECT_FALSE(entry.flags & MENU_CHECKED);
    EXPECT_EQ(check_menu_item(f.bar, 999, true), -1);
    EXPECT_EQ(check_menu_item(f.bar, 0, true), -1);  // the separator's identifier
}

TEST(ChooseEntry, PostsTheCommandToTheWindow) {
    Fixture f = start();
    ASSERT_TRUE(choose_menu_command(f.window, STOP));
    EXPECT_EQ(run_until_quit(), 1);
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{STOP});
}

TEST(ChooseEntry, GrayedEntriesSeparatorsAndTitlesPostNothing) {
    Fixture f = start();
    EXPECT_FALSE(choose_menu_command(f.window, HALT));
    EXPECT_FALSE(choose_menu_command(f.window, 0));
    EXPECT_FALSE(choose_menu_command(f.window, static_cast<unsigned>(f.run)));
    EXPECT_FALSE(choose_menu_command(f.window, 999));
    run_until_quit();
    EXPECT_TRUE(commands.empty());
}

TEST(SetMenu, AttachingAfterTheSizeSendsTheSmallerClientSize) {
    Fixture f = start(false);
    ASSERT_EQ(sizes.size(), 1u);
    ASSERT_TRUE(set_menu(f.window, f.bar));
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(high_half(sizes[1].position), 300 - MENU_BAR_HEIGHT);
    ASSERT_TRUE(set_menu(f.window, Menu::NONE));
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(high_half(sizes[2].position), 300);
    EXPECT_EQ(low_half(sizes[2].position), 400);
}

TEST(SetMenu, BeforeTheFirstSizeSendsNothing) {
    start();
    Window hidden = create_window("menu", "h", STYLE_POPUP, 0, 0, 100, 100, Window::NONE, nullptr);
    sizes.clear();
    set_menu(hidden, create_menu());
    EXPECT_TRUE(sizes.empty());
    show_window(hidden, SHOW_NORMAL);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(high_half(sizes[0].position), 100 - MENU_BAR_HEIGHT);
}

TEST(DestroyMenu, StaleHandlesFailWithoutHarm) {
    Fixture f = start();
    ASSERT_TRUE(destroy_menu(f.bar));
    EXPECT_FALSE(destroy_menu(f.bar));
    EXPECT_EQ(get_menu(f.window), Menu::NONE);
    EXPECT_FALSE(append_menu(f.bar, MENU_STRING, 1, "x"));
    EXPECT_EQ(check_menu_item(f.bar, FAST, true), -1);
    EXPECT_EQ(menu_entry_count(f.bar), 0);
    MenuEntry entry;
    EXPECT_FALSE(menu_entry(f.bar, 0, entry));
    EXPECT_FALSE(set_menu(f.window, f.bar));
    EXPECT_FALSE(choose_menu_command(f.window, FAST));
    EXPECT_FALSE(draw_menu_bar(f.window));
    inject_open_menu(f.window);
    EXPECT_EQ(run_until_quit(), 1);
    EXPECT_TRUE(commands.empty());
}

TEST(MenuLoop, DownAndEnterChooseTheHighlightedEntry) {
    Fixture f = start();
    int highlighted = -2;
    inject_open_menu(f.window);
    f.headless->schedule(10, [] { inject_key_press(KEY_DOWN); });
    f.headless->schedule(20, [&] {
        highlighted = open_menu_view() ? open_menu_view()->highlighted : -3;
        inject_key_press(KEY_ENTER);
    });
    run_until_quit();
    EXPECT_EQ(highlighted, 0);
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{GO});
    EXPECT_EQ(open_menu_view(), nullptr);
}

TEST(MenuLoop, HighlightSkipsSeparatorsAndAGrayedEntryChoosesNothing) {
    Fixture f = start();
    std::vector<int> seen;
    auto look = [&] { seen.push_back(open_menu_view() ? open_menu_view()->highlighted : -3); };
    inject_open_menu(f.window);
    f.headless->schedule(10, [] {
        inject_key_press(KEY_DOWN);
        inject_key_press(KEY_DOWN);
    });
    f.headless->schedule(20, [&] {
        look();
        inject_key_press(KEY_ENTER);
    });
    f.headless->schedule(30, [&] {
        look();
        inject_key_press(KEY_DOWN);
        inject_key_press(KEY_UP);
        inject_key_press(KEY_UP);
    });
    f.headless->schedule(40, [&] {
        look();
        inject_key_press(KEY_UP);
        inject_key_press(KEY_ENTER);
    });
    run_until_quit();
    EXPECT_EQ(seen, (std::vector<int>{2, 2, 0}));
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{STOP});
}

TEST(MenuLoop, EscapeClosesWithoutACommand) {
    Fixture f = start();
    bool was_open = false;
    inject_open_menu(f.window);
    f.headless->schedule(10, [&] {
        was_open = open_menu_view() != nullptr;
        inject_key_press(KEY_ESCAPE);
    });
    run_until_quit();
    EXPECT_TRUE(was_open);
    EXPECT_EQ(open_menu_view(), nullptr);
    EXPECT_TRUE(commands.empty());
}

TEST(MenuLoop, AMnemonicLetterChoosesItsEntryButNotAGrayedOne) {
    Fixture f = start();
    bool open_after_grayed = false;
    inject_open_menu(f.window);
    f.headless->schedule(10, [] { inject_key_press('H'); });
    f.headless->schedule(20, [&] {
        open_after_grayed = open_menu_view() != nullptr;
        inject_key_down(KEY_SHIFT);
        inject_key_press('S');
        inject_key_up(KEY_SHIFT);
    });
    run_until_quit();
    EXPECT_TRUE(open_after_grayed);
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{STOP});
}

TEST(MenuLoop, TimersKeepBeingDispatchedWhileOpen) {
    Fixture f = start();
    f.headless->set_time_limit(1500);
    set_timer(f.window, 1, 100);
    inject_open_menu(f.window);
    f.headless->schedule(1000, [] { inject_key_press(KEY_ESCAPE); });
    run_until_quit();
    EXPECT_EQ(timers_while_open, 9);
    EXPECT_EQ(f.headless->now(), 1500);
}

TEST(MenuLoop, AltAndAMnemonicOpenThatPopup) {
    Fixture f = start();
    int opened = -1;
    inject_key_down(KEY_ALT);
    inject_key_press('R');
    inject_key_up(KEY_ALT);
    f.headless->schedule(10, [&] {
        if (open_menu_view()) opened = open_menu_view()->popup_index;
        inject_key_press(KEY_DOWN);
        inject_key_press(KEY_ENTER);
    });
    run_until_quit();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{FAST});
}

TEST(MenuLoop, F10OpensTheFirstPopupAndClosesIt) {
    Fixture f = start();
    std::vector<int> opened;
    inject_key_press(KEY_F10);
    f.headless->schedule(10, [&] {
        opened.push_back(open_menu_view() ? open_menu_view()->popup_index : -1);
        inject_key_press(KEY_F10);
    });
    f.headless->schedule(20, [&] { opened.push_back(open_menu_view() ? open_menu_view()->popup_index : -1); });
    run_until_quit();
    EXPECT_EQ(opened, (std::vector<int>{0, -1}));
    EXPECT_TRUE(commands.empty());
}

TEST(MenuLoop, ClickingAnEntryChoosesIt) {
    Fixture f = start();
    inject_open_menu(f.window);
    f.headless->schedule(10, [&] {
        Rect area = popup_rect(f.window, 0);
        int x = area.left + 10;
        for (int y = area.top; y < area.bottom; ++y) {
            if (popup_entry_at(f.window, 0, x, y) == 3) {
                inject_mouse_move(f.window, x, y);
                inject_mouse_down(f.window, x, y);
                inject_mouse_up(f.window, x, y);
                return;
            }
        }
    });
    run_until_quit();
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{STOP});
}

TEST(MenuLoop, APressOffThePopupClosesIt) {
    Fixture f = start();
    inject_open_menu(f.window);
    f.headless->schedule(10, [&] {
        Rect area = popup_rect(f.window, 0);
        inject_mouse_down(f.window, area.right + 5, area.bottom + 5);
    });
    f.headless->schedule(20, [&] { EXPECT_EQ(open_menu_view(), nullptr); });
    run_until_quit();
    EXPECT_TRUE(commands.empty());
}

TEST(MenuLoop, AQuitWhileOpenEndsTheLoopAndReachesTheProgram) {
    Fixture f = start();
    inject_open_menu(f.window);
    f.headless->schedule(10, [] { post_quit_message(5); });
    EXPECT_EQ(run_until_quit(), 5);
    EXPECT_EQ(open_menu_view(), nullptr);
}

TEST(MenuLoop, EndsWhenItsWindowIsClosed) {
    Fixture f = start();
    inject_open_menu(f.window);
    f.headless->schedule(10, [&] { inject_close(f.window); });
    run_until_quit();
    EXPECT_FALSE(is_window(f.window));
    EXPECT_EQ(open_menu_view(), nullptr);
}

TEST(MenuLoop, SurvivesMenusBuiltWhileItIsOpen) {
    Fixture f = start();
    f.headless->set_time_limit(500);
    set_timer(f.window, 1, 100);
    on_timer_while_open = [&] {
        // Runs at the loop's next look for input, before it handles the keys.
        f.headless->schedule(f.headless->now(), [] {
            for (int i = 0; i < 64; ++i) create_popup_menu();
            inject_key_press(KEY_DOWN);
            inject_key_press(KEY_ENTER);
        });
    };
    inject_open_menu(f.window);
    run_until_quit();
    EXPECT_EQ(commands, std::vector<std::uintptr_t>{GO});
}

TEST(MenuLoop, ABarReplacedWhileOpenClosesTheMenuAndAClickChoosesNothing) {
    Fixture f = start();
    f.headless->set_time_limit(1000);
    set_timer(f.window, 1, 100);
    on_timer_while_open = [&] {
        on_timer_while_open = nullptr;
        // A longer popup under the same title: its rows lie past the opened popup's end.
        Menu longer = create_popup_menu();
        for (unsigned i = 0; i < 12; ++i) append_menu(longer, MENU_STRING, 100 + i, "&Entry");
        Menu bar = create_menu();
        append_menu(bar, MENU_POPUP, static_cast<unsigned>(longer), "&File");
        set_menu(f.window, bar);
        Rect area = popup_rect(f.window, 0);
        inject_mouse_down(f.window, area.left + 10, area.bottom - 4);
        inject_mouse_up(f.window, area.left + 10, area.bottom - 4);
    };
    inject_open_menu(f.window);
    f.headless->schedule(300, [] { post_quit_message(0); });
    run_until_quit();
    EXPECT_EQ(open_menu_view(), nullptr);
    EXPECT_TRUE(commands.empty());
}

// One reading of '&' serves drawing and choosing: what is underlined is what the key chooses.
TEST(Mnemonic, TheUnderlinedCharacterIsTheOneTheKeyChooses) {
    MnemonicText save = split_mnemonic_text("Save && &Quit\tCtrl+Q");
    EXPECT_EQ(save.shown, "Save & Quit");
    EXPECT_EQ(save.mnemonic, 7);
    EXPECT_EQ(save.label, "Ctrl+Q");
    EXPECT_TRUE(matches_mnemonic("Save && &Quit", 'q'));
    EXPECT_TRUE(matches_mnemonic("Save && &Quit", 'Q'));
    EXPECT_FALSE(matches_mnemonic("Save && &Quit", '&'));
    EXPECT_FALSE(matches_mnemonic("Save && &Quit", 's'));
    // No mnemonic: none, a trailing '&', or '&' before the label.
    EXPECT_EQ(mnemonic_key("Plain"), 0);
    EXPECT_EQ(mnemonic_key("Trailing&"), 0);
    EXPECT_EQ(mnemonic_key("Tab&\tlabel"), 0);
    EXPECT_EQ(split_mnemonic_text("Tab&\tlabel").shown, "Tab");
    EXPECT_EQ(mnemonic_key("&&&x"), 'x');
}

}  // namespace
}  // namespace platform
