// Tests of the message queue: order, posting and sending, translation, idle
// waits and quitting.
#include "platform/core/message_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/platform_reset.h"

namespace platform {
namespace {

std::vector<Message> received;

// Records what the program's code would see; frame and bar painting is the default procedure's.
std::intptr_t recording_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (message != MSG_NONCLIENT_PAINT) received.push_back(Message{window, message, word, position});
    if (message == MSG_COMMAND && word == 21) return 42;
    return default_window_proc(window, message, word, position);
}

HeadlessBackend* headless = nullptr;

// A fresh platform with one shown, painted, focused window.
Window start() {
    reset_platform();
    headless = &install_headless_backend();
    received.clear();
    WindowClass window_class;
    window_class.name = "recorder";
    window_class.procedure = recording_proc;
    register_class(window_class);
    Window window = create_window("recorder", "test", STYLE_OVERLAPPED_WINDOW, 0, 0, 200, 100, Window::NONE, nullptr);
    show_window(window, SHOW_NORMAL);
    Message paint;
    if (peek_message(paint)) dispatch_message(paint);
    received.clear();
    return window;
}

// Translates and dispatches what waits now; returns the characters produced.
std::string typed() {
    std::string characters;
    Message m;
    for (int i = 0; i < 1000 && peek_message(m); ++i) {
        translate_message(m);
        if (m.message == MSG_CHARACTER || m.message == MSG_SYSTEM_CHARACTER) characters += static_cast<char>(m.word);
        dispatch_message(m);
    }
    return characters;
}

TEST(MessageOrder, PostedMessagesFirstInOrderThenPaintThenTimer) {
    Window window = start();
    set_timer(window, 9, 100);
    headless->advance_clock(150);
    invalidate(window);
    post_message(window, MSG_COMMAND, 1, 0);
    post_message(window, MSG_COMMAND, 2, 0);
    post_quit_message(0);
    post_message(window, MSG_COMMAND, 3, 0);
    std::vector<std::pair<unsigned, std::uintptr_t>> order;
    Message m;
    while (order.size() < 10 && peek_message(m)) {
        order.emplace_back(m.message, m.word);
        dispatch_message(m);
    }
    std::vector<std::pair<unsigned, std::uintptr_t>> expected{{MSG_COMMAND, 1}, {MSG_COMMAND, 2}, {MSG_QUIT, 0},
                                                              {MSG_COMMAND, 3}, {MSG_PAINT, 0},   {MSG_TIMER, 9}};
    EXPECT_EQ(order, expected);
}

TEST(QuitRequest, CarriesItsExitCodeAndIsNeverDispatched) {
    Window window = start();
    post_quit_message(3);
    Message m;
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.message, MSG_QUIT);
    EXPECT_EQ(m.window, Window::NONE);
    EXPECT_EQ(m.word, 3u);
    EXPECT_EQ(dispatch_message(m), 0);
    ASSERT_TRUE(post_message(window, MSG_QUIT, 4, 0));
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(dispatch_message(m), 0);
    EXPECT_TRUE(received.empty());
}

TEST(PostMessage, MessagesForADestroyedWindowAreDropped) {
    Window window = start();
    Window other = create_window("recorder", "other", STYLE_OVERLAPPED_WINDOW, 0, 0, 50, 50, Window::NONE, nullptr);
    post_message(window, MSG_COMMAND, 1, 0);
    post_message(other, MSG_COMMAND, 2, 0);
    destroy_window(window);
    EXPECT_FALSE(post_message(window, MSG_COMMAND, 3, 0));
    Message m;
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.window, other);
    EXPECT_EQ(m.word, 2u);
    EXPECT_FALSE(peek_message(m));
}

TEST(PostMessage, ThreadMessagesAreQueuedButReachNoProcedure) {
    start();
    ASSERT_TRUE(post_message(Window::NONE, MSG_COMMAND, 7, 0));
    Message m;
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.word, 7u);
    EXPECT_EQ(dispatch_message(m), 0);
    EXPECT_TRUE(received.empty());
}

TEST(SendMessage, CallsTheProcedureAtOnceAndReturnsItsAnswer) {
    Window window = start();
    EXPECT_EQ(send_message(window, MSG_COMMAND, 21, 0), 42);
    ASSERT_EQ(received.size(), 1u);
    Message m;
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(default_window_proc(window, MSG_COMMAND, 21, 0), 0);
}

TEST(Translate, LettersFollowShiftAndCapsLock) {
    start();
    inject_key_press('A');
    inject_key_down(KEY_SHIFT);
    inject_key_press('B');
    inject_key_up(KEY_SHIFT);
    inject_key_press(KEY_CAPS_LOCK);
    inject_key_press('C');
    inject_key_down(KEY_SHIFT);
    inject_key_press('D');
    inject_key_up(KEY_SHIFT);
    inject_key_press(KEY_CAPS_LOCK);
    inject_key_press('E');
    EXPECT_EQ(typed(), "aBCde");
}

TEST(Translate, UsesTheModifiersOfTheMomentTheKeyWasPressed) {
    start();
    inject_key_down(KEY_SHIFT);
    inject_key_down('Q');
    inject_key_up(KEY_SHIFT);
    inject_key_up('Q');
    inject_key_down(KEY_CONTROL);
    inject_key_down('F');
    inject_key_up(KEY_CONTROL);
    inject_key_press('Q');
    EXPECT_EQ(typed(), "Q\x06q");
}

TEST(Translate, ABurstOfKeysReachesTheWindowInTypingOrder) {
    start();
    inject_text("ab");
    inject_key_press(KEY_ENTER);
    received.clear();
    typed();
    std::vector<unsigned> order;
    for (const Message& m : received)
        if (m.message == MSG_CHARACTER || (m.message == MSG_KEY_DOWN && m.word == KEY_ENTER))
            order.push_back(m.message == MSG_CHARACTER ? static_cast<unsigned>(m.word) : 0u);
    // The Enter key-down, 0 here, comes after both letters and before its own character.
    EXPECT_EQ(order, (std::vector<unsigned>{'a', 'b', 0u, '\r'}));
}

TEST(Translate, ControlLettersGiveCodesOneToTwentySix) {
    for (int key = 'A'; key <= 'Z'; ++key) {
        EXPECT_EQ(character_for_key(key, MODIFIER_CONTROL), key - 'A' + 1);
        EXPECT_EQ(character_for_key(key, MODIFIER_CONTROL | MODIFIER_SHIFT | MODIFIER_CAPS_LOCK), key - 'A' + 1);
    }
    EXPECT_EQ(character_for_key('5', MODIFIER_CONTROL), -1);
    EXPECT_EQ(character_for_key(KEY_COMMA, MODIFIER_CONTROL), -1);
}

// Both directions read one table: every character a key types maps back to that key.
TEST(Translate, EveryTypableCharacterRoundTripsThroughItsKey) {
    for (int c = 1; c < 128; ++c) {
        bool shift = false;
        int key = key_for_character(c, shift);
        bool typable = (c >= 32 && c < 127) || c == 8 || c == 9 || c == 10 || c == 13 || c == 27;
        ASSERT_EQ(key >= 0, typable) << c;
        if (key < 0) continue;
        EXPECT_EQ(character_for_key(key, shift ? MODIFIER_SHIFT : 0), c == '\n' ? 13 : c) << c;
    }
    bool shift = false;
    EXPECT_EQ(key_for_character(0xE9, shift), -1);
}

TEST(Translate, DigitsAndPunctuationFollowAUsLayout) {
    const std::string digits = "0123456789";
    const std::string shifted = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(character_for_key('0' + d, 0), digits[d]);
        EXPECT_EQ(character_for_key('0' + d, MODIFIER_SHIFT), shifted[d]);
        EXPECT_EQ(character_for_key('0' + d, MODIFIER_CAPS_LOCK), digits[d]);
    }
    const struct {
        int key;
        char plain, with_shift;
    } punctuation[] = {{KEY_SEMICOLON, ';', ':'},     {KEY_EQUALS, '=', '+'},       {KEY_COMMA, ',', '<'},
                       {KEY_MINUS, '-', '_'},         {KEY_PERIOD, '.', '>'},       {KEY_SLASH, '/', '?'},
                       {KEY_BACKQUOTE, '`', '~'},     {KEY_LEFT_BRACKET, '[', '{'}, {KEY_BACKSLASH, '\\', '|'},
                       {KEY_RIGHT_BRACKET, ']', '}'}, {KEY_QUOTE, '\'', '"'}};
    for (const auto& p : punctuation) {
        EXPECT_EQ(character_for_key(p.key, 0), p.plain);
        EXPECT_EQ(character_for_key(p.key, MODIFIER_SHIFT), p.with_shift);
    }
}

TEST(Translate, EditingKeysGiveTheirControlCodes) {
    start();
    for (int key : {KEY_ENTER, KEY_BACKSPACE, KEY_TAB, KEY_ESCAPE, KEY_SPACE}) inject_key_press(key);
    EXPECT_EQ(typed(), std::string("\r\b\t\x1b "));
}

TEST(Translate, KeysWithoutACharacterPostNothing) {
    Window window = start();
    for (int key : {KEY_SHIFT, KEY_CONTROL, KEY_ALT, KEY_CAPS_LOCK, KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_HOME,
                    KEY_END, KEY_DELETE, KEY_F10, 0, 255})
        EXPECT_FALSE(translate_message(Message{window, MSG_KEY_DOWN, static_cast<std::uintptr_t>(key), 1}));
    EXPECT_FALSE(translate_message(Message{window, MSG_KEY_UP, 'A', 1}));
    EXPECT_FALSE(translate_message(Message{window, MSG_CHARACTER, 'a', 1}));
    Message m;
    EXPECT_FALSE(peek_message(m));
}

TEST(Translate, SystemKeyGivesSystemCharacterForTheSameWindow) {
    Window window = start();
    inject_key_down(KEY_ALT);
    inject_key_press('R');
    inject_key_up(KEY_ALT);
    std::vector<Message> characters;
    Message m;
    for (int i = 0; i < 20 && peek_message(m); ++i) {
        translate_message(m);
        if (m.message == MSG_CHARACTER || m.message == MSG_SYSTEM_CHARACTER) characters.push_back(m);
    }
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].message, MSG_SYSTEM_CHARACTER);
    EXPECT_EQ(characters[0].word, static_cast<std::uintptr_t>('r'));
    EXPECT_EQ(characters[0].window, window);
}

TEST(KeyState, CapsLockTogglesOnPressOnly) {
    start();
    inject_key_down(KEY_CAPS_LOCK);
    EXPECT_TRUE(is_key_down(KEY_CAPS_LOCK));
    EXPECT_EQ(current_modifiers(), MODIFIER_CAPS_LOCK);
    inject_key_down(KEY_CAPS_LOCK);  // auto-repeat
    inject_key_up(KEY_CAPS_LOCK);
    EXPECT_EQ(current_modifiers(), MODIFIER_CAPS_LOCK);
    inject_key_down(KEY_SHIFT);
    inject_key_down(KEY_CONTROL);
    EXPECT_EQ(current_modifiers(), MODIFIER_CAPS_LOCK | MODIFIER_SHIFT | MODIFIER_CONTROL);
    inject_key_press(KEY_CAPS_LOCK);
    inject_key_up(KEY_SHIFT);
    EXPECT_EQ(current_modifiers(), MODIFIER_CONTROL);
    EXPECT_FALSE(is_key_down(-1));
    EXPECT_FALSE(is_key_down(256));
}

TEST(IdleWait, TwoEmptyPeeksInARowMoveTheClockToTheNextTimer) {
    Window window = start();
    set_timer(window, 1, 250);
    Message m;
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(headless->now(), 0);
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(headless->now(), 250);
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.message, MSG_TIMER);
}

TEST(IdleWait, AMessageInBetweenStartsTheCountAgain) {
    Window window = start();
    set_timer(window, 1, 250);
    Message m;
    EXPECT_FALSE(peek_message(m));
    post_message(window, MSG_COMMAND, 1, 0);
    EXPECT_TRUE(peek_message(m));
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(headless->now(), 0);
    EXPECT_EQ(headless->wait_count(), 0);
}

TEST(DefaultProcedure, AnswersZeroAndOpensNoMenuWithoutABar) {
    Window window = start();
    EXPECT_EQ(default_window_proc(window, MSG_OPEN_MENU, 0, 0), 0);
    EXPECT_EQ(default_window_proc(window, MSG_SYSTEM_KEY_DOWN, KEY_F10, 0), 0);
    EXPECT_EQ(default_window_proc(window, MSG_SYSTEM_CHARACTER, 'r', 0), 0);
    EXPECT_EQ(default_window_proc(window, MSG_TIMER, 1, 0), 0);
    EXPECT_EQ(default_window_proc(Window::NONE, MSG_CLOSE, 0, 0), 0);
    EXPECT_TRUE(is_window(window));
}

}  // namespace
}  // namespace platform
