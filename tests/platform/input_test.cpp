// Tests of input injection: clicks, keys and text reaching the right window.
#include "platform/core/input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_layout.h"
#include "platform/ui/platform_reset.h"

namespace platform {
namespace {

std::intptr_t plain_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    return default_window_proc(window, message, word, position);
}

HeadlessBackend* headless = nullptr;

// Frameless: surface and client coordinates differ by the menu bar alone.
Window make_window(unsigned style = STYLE_POPUP) {
    return create_window("plain", "w", style | STYLE_VISIBLE, 0, 0, 400, 300, Window::NONE, nullptr);
}

// A fresh platform with one shown, focused window.
Window start() {
    reset_platform();
    headless = &install_headless_backend();
    WindowClass window_class;
    window_class.name = "plain";
    window_class.procedure = plain_proc;
    register_class(window_class);
    return make_window();
}

// Takes what waits now without dispatching it; paint is handled on the way,
// and the quit an idle wait posts when nothing can end it is left out.
std::vector<Message> queued() {
    std::vector<Message> messages;
    Message m;
    for (int i = 0; i < 1000 && peek_message(m); ++i) {
        if (m.message == MSG_PAINT)
            dispatch_message(m);
        else if (m.message != MSG_QUIT)
            messages.push_back(m);
    }
    return messages;
}

Menu attach_bar(Window window) {
    Menu file = create_popup_menu();
    append_menu(file, MENU_STRING, 11, "&Open");
    append_menu(file, MENU_GRAYED, 12, "&Save");
    Menu run = create_popup_menu();
    append_menu(run, MENU_STRING, 21, "&Go");
    Menu bar = create_menu();
    append_menu(bar, MENU_POPUP, static_cast<unsigned>(file), "&File");
    append_menu(bar, MENU_POPUP, static_cast<unsigned>(run), "&Run");
    set_menu(window, bar);
    return bar;
}

TEST(Click, ArrivesAtTheClientPointBelowTheBar) {
    Window window = start();
    attach_bar(window);
    inject_click(window, 30, 40);
    auto messages = queued();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, MSG_LEFT_BUTTON_DOWN);
    EXPECT_EQ(messages[0].window, window);
    EXPECT_EQ(low_half(messages[0].position), 30);
    EXPECT_EQ(high_half(messages[0].position), 40);
    EXPECT_EQ(messages[1].message, MSG_LEFT_BUTTON_UP);
    EXPECT_EQ(high_half(messages[1].position), 40);
}

TEST(Click, APressOnTheBarAsksToOpenThePopupUnderIt) {
    Window window = start();
    attach_bar(window);
    Rect run_title = menu_bar_item_rect(window, 1);
    inject_mouse_down(window, run_title.left + 2, 5);
    inject_mouse_up(window, run_title.left + 2, 5);
    inject_mouse_down(window, run_title.right + 50, 5);
    auto messages = queued();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, MSG_OPEN_MENU);
    EXPECT_EQ(messages[0].word, 1u);
}

TEST(Click, GoesToTheVisibleChildUnderThePointInItsCoordinates) {
    Window window = start();
    Window child = create_window("plain", "", STYLE_CHILD | STYLE_VISIBLE, 50, 50, 100, 40, window, nullptr);
    Window hidden = create_window("plain", "", STYLE_CHILD, 200, 50, 100, 40, window, nullptr);
    inject_click(window, 60, 70);
    inject_click(window, 210, 60);
    auto messages = queued();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].window, child);
    EXPECT_EQ(low_half(messages[0].position), 10);
    EXPECT_EQ(high_half(messages[0].position), 20);
    EXPECT_EQ(messages[2].window, window);
    EXPECT_NE(messages[2].window, hidden);
    EXPECT_EQ(low_half(messages[2].position), 210);
}

TEST(Click, ADisabledWindowGetsNoInputAtAll) {
    Window window = start();
    Window child = create_window("plain", "", STYLE_CHILD | STYLE_VISIBLE, 0, 0, 50, 50, window, nullptr);
    attach_bar(window);
    enable_window(window, false);
    inject_click(window, 10, 10);
    inject_click(window, 100, 100);
    inject_key_press('A');
    inject_close(window);
    inject_open_menu(window);
    inject_menu_choice(window, 11);
    EXPECT_TRUE(queued().empty());
    enable_window(window, true);
    enable_window(child, false);
    inject_click(window, 10, 10);
    EXPECT_TRUE(queued().empty());
}

TEST(Keys, GoToTheFocusWindowWithTheModifiersOfThatMoment) {
    Window first = start();
    Window second = make_window();
    inject_focus(first);
    inject_key_down(KEY_SHIFT);
    inject_key_press('K');
    inject_key_up(KEY_SHIFT);
    auto messages = queued();
    ASSERT_EQ(messages.size(), 4u);
    for (const Message& m : messages) EXPECT_EQ(m.window, first);
    EXPECT_EQ(messages[1].message, MSG_KEY_DOWN);
    EXPECT_EQ(messages[1].word, static_cast<std::uintptr_t>('K'));
    EXPECT_EQ(key_modifiers(messages[1].position), MODIFIER_SHIFT);
    EXPECT_EQ(messages[2].message, MSG_KEY_UP);
    EXPECT_EQ(key_modifiers(messages[3].position), 0u);
    EXPECT_NE(first, second);
}

TEST(Keys, WithAltHeldBecomeSystemKeys) {
    start();
    inject_key_down(KEY_ALT);
    inject_key_press('X');
    inject_key_up(KEY_ALT);
    inject_key_press(KEY_F10);
    std::vector<std::pair<unsigned, std::uintptr_t>> seen;
    for (const Message& m : queued()) seen.emplace_back(m.message, m.word);
    std::vector<std::pair<unsigned, std::uintptr_t>> expected{
        {MSG_SYSTEM_KEY_DOWN, KEY_ALT}, {MSG_SYSTEM_KEY_DOWN, 'X'},     {MSG_SYSTEM_KEY_UP, 'X'},
        {MSG_SYSTEM_KEY_UP, KEY_ALT},   {MSG_SYSTEM_KEY_DOWN, KEY_F10}, {MSG_SYSTEM_KEY_UP, KEY_F10}};
    EXPECT_EQ(seen, expected);
}

TEST(Keys, WithoutAFocusWindowAreDroppedButStillTracked) {
    Window window = start();
    destroy_window(window);
    inject_key_down(KEY_SHIFT);
    EXPECT_TRUE(queued().empty());
    EXPECT_TRUE(is_key_down(KEY_SHIFT));
    inject_key_up(KEY_SHIFT);
    EXPECT_FALSE(is_key_down(KEY_SHIFT));
    inject_key_press(-5);
    inject_key_press(100000);
}

TEST(Text, TypesEachCharacterWithShiftWhereNeeded) {
    start();
    inject_text("Hi, {World}!\n\t~\"x\"");
    inject_text("\x01\xe9");
    inject_text(nullptr);
    std::string typed;
    Message m;
    for (int i = 0; i < 1000 && peek_message(m); ++i) {
        translate_message(m);
        if (m.message == MSG_CHARACTER) typed += static_cast<char>(m.word);
    }
    EXPECT_EQ(typed, "Hi, {World}!\r\t~\"x\"");
    EXPECT_FALSE(is_key_down(KEY_SHIFT));
}

TEST(WindowInput, CloseResizeAndMenuChoiceBecomeMessages) {
    Window window = start();
    attach_bar(window);
    queued();
    inject_close(window);
    inject_menu_choice(window, 21);
    inject_menu_choice(window, 12);
    inject_open_menu(window);
    auto messages = queued();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, MSG_CLOSE);
    EXPECT_EQ(messages[1].message, MSG_COMMAND);
    EXPECT_EQ(messages[1].word, 21u);
    EXPECT_EQ(messages[2].message, MSG_OPEN_MENU);
    EXPECT_TRUE(is_window(window));
    inject_resize(window, 500, 420);
    Rect client;
    ASSERT_TRUE(get_client_rect(window, client));
    EXPECT_EQ(client.right, 500);
    EXPECT_EQ(client.bottom, 400);
}

TEST(WindowInput, AMoveByTheUserKeepsTheSizeAndSkipsChildren) {
    Window window = start();
    Window child = create_window("plain", "c", STYLE_CHILD | STYLE_VISIBLE, 5, 6, 50, 40, window, nullptr);
    inject_move(window, 120, 80);
    inject_move(child, 30, 30);
    Rect outer;
    ASSERT_TRUE(get_window_rect(window, outer));
    EXPECT_EQ(outer.left, 120);
    EXPECT_EQ(outer.top, 80);
    EXPECT_EQ(outer.width(), 400);
    EXPECT_EQ(outer.height(), 300);
    ASSERT_TRUE(get_window_rect(child, outer));
    EXPECT_EQ(outer.left, 5) << "a child stays where its parent put it";
}

TEST(WindowInput, ExposePresentsTheWindowAgain) {
    Window window = start();
    queued();
    int before = headless->present_count();
    Message m;
    peek_message(m);
    EXPECT_EQ(headless->present_count(), before);
    inject_expose(window);
    peek_message(m);
    EXPECT_EQ(headless->present_count(), before + 1);
}

}  // namespace
}  // namespace platform
