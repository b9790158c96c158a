// Tests of the platform's dialogs: reading templates, and the modal dialog's
// placement, focus, controls and result.
#include "platform/ui/dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/drawing/font.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/dialog_template_writer.h"
#include "platform/ui/platform_reset.h"
#include "support/test_support.h"

namespace {

using namespace platform;

constexpr ColorWord BLACK = color_word(0, 0, 0);
constexpr ColorWord WHITE = color_word(255, 255, 255);
constexpr int EDIT_ID = 10;
constexpr int LABEL_ID = 11;
constexpr int OTHER_ID = 12;
constexpr unsigned CHILD = STYLE_CHILD | STYLE_VISIBLE;

using TemplateBytes = DialogTemplateWriter;

constexpr unsigned DIALOG_STYLE = STYLE_POPUP | STYLE_VISIBLE | STYLE_CAPTION | STYLE_SYSTEM_MENU | DIALOG_MODAL_FRAME;

// An edit, a label, the default button (ID_OK), a cancel button and one more push button.
TemplateBytes name_dialog(unsigned edit_style = CHILD | STYLE_BORDER | STYLE_TABSTOP | EDIT_MULTILINE |
                                                EDIT_AUTO_VERTICAL_SCROLL) {
    TemplateBytes t;
    t.header(DIALOG_STYLE, 5, 20, 10, 180, 90, "Name");
    t.item(edit_style, 8, 30, 164, 37, EDIT_ID, EDIT_CLASS_ATOM, "");
    t.item(CHILD | STATIC_LEFT, 8, 3, 164, 24, LABEL_ID, STATIC_CLASS_ATOM, "Who are you?");
    t.item(CHILD | STYLE_TABSTOP | BUTTON_DEFAULT_PUSH, 8, 72, 50, 14, ID_OK, BUTTON_CLASS_ATOM, "OK");
    t.item(CHILD | STYLE_TABSTOP | BUTTON_PUSH, 64, 72, 50, 14, ID_CANCEL, BUTTON_CLASS_ATOM, "Cancel");
    t.item(CHILD | STYLE_TABSTOP | BUTTON_PUSH, 120, 72, 50, 14, OTHER_ID, BUTTON_CLASS_ATOM, "More");
    return t;
}

// What the test dialog procedure saw.
struct Seen {
    std::vector<std::pair<int, int>> commands;  // identifier, notification
    Window init_focus = Window::NONE;
    std::intptr_t init_value = 0;
    bool init_answer = true;
    int end_on = -1;  // command that ends the dialog with 1000 + its identifier
    bool end_in_init = false;
};
Seen seen;

std::intptr_t recording_proc(Window dialog, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (message == MSG_INIT_DIALOG) {
        seen.init_focus = static_cast<Window>(word);
        seen.init_value = position;
        if (seen.end_in_init) end_dialog(dialog, 77);
        return seen.init_answer;
    }
    if (message == MSG_COMMAND) {
        int id = low_half(static_cast<std::intptr_t>(word));
        seen.commands.emplace_back(id, high_half(static_cast<std::intptr_t>(word)));
        if (id == seen.end_on) end_dialog(dialog, 1000 + id);
        return 1;
    }
    return 0;
}

int owner_ticks = 0;
std::intptr_t owner_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (message == MSG_TIMER) ++owner_ticks;
    return default_window_proc(window, message, word, position);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_platform();
        headless = &install_headless_backend();
        headless->set_time_limit(600'000);
        seen = Seen{};
        owner_ticks = 0;
        WindowClass owner_class;
        owner_class.name = "Owner";
        owner_class.procedure = owner_proc;
        register_class(owner_class);
        owner = create_window("Owner", "Owner", STYLE_CAPTION | STYLE_VISIBLE, 40, 30, 400, 300, Window::NONE, nullptr);
    }
    std::intptr_t run(const TemplateBytes& t, std::intptr_t init = 0) {
        return dialog_box_indirect(nullptr, t.bytes.data(), t.bytes.size(), owner, recording_proc, init);
    }
    // Runs the action while the dialog is open, then ends it through the cancel button's command.
    std::intptr_t run_with(const TemplateBytes& t, std::function<void(Window)> action) {
        headless->schedule(headless->now() + 100, [action] { action(active_dialog()); });
        headless->schedule(headless->now() + 200, [] { end_dialog(active_dialog(), 5); });
        return run(t);
    }
    std::string item_text(Window dialog, int id) {
        char buffer[512];
        get_dialog_item_text(dialog, id, buffer, sizeof buffer);
        return buffer;
    }
    // A click in the middle of a control, in the dialog's client coordinates.
    void click_item(Window dialog, int id) {
        Rect area;
        get_window_rect(get_dialog_item(dialog, id), area);
        inject_click(dialog, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    }

    HeadlessBackend* headless = nullptr;
    Window owner = Window::NONE;
};

// ---- reading templates ----

TEST(DialogTemplate, ReadsHeaderAndItemsOnFourByteBoundaries) {
    TemplateBytes t = name_dialog();
    DialogTemplate parsed;
    ASSERT_TRUE(parse_dialog_template(t.bytes.data(), t.bytes.size(), parsed));
    EXPECT_EQ(parsed.style, DIALOG_STYLE);
    EXPECT_EQ(parsed.x, 20);
    EXPECT_EQ(parsed.y, 10);
    EXPECT_EQ(parsed.width, 180);
    EXPECT_EQ(parsed.height, 90);
    EXPECT_EQ(parsed.title, "Name");
    EXPECT_FALSE(parsed.has_menu);
    EXPECT_FALSE(parsed.has_class);
    ASSERT_EQ(parsed.items.size(), 5u);
    EXPECT_EQ(parsed.items[0].class_name, EDIT_CLASS);
    EXPECT_EQ(parsed.items[0].id, EDIT_ID);
    EXPECT_EQ(parsed.items[0].text, "");
    EXPECT_EQ(parsed.items[1].class_name, STATIC_CLASS);
    EXPECT_EQ(parsed.items[1].text, "Who are you?");
    EXPECT_EQ(parsed.items[2].class_name, BUTTON_CLASS);
    EXPECT_EQ(parsed.items[2].class_atom, BUTTON_CLASS_ATOM);
    EXPECT_EQ(parsed.items[2].style, CHILD | STYLE_TABSTOP | BUTTON_DEFAULT_PUSH);
    EXPECT_EQ(parsed.items[4].x, 120);
    EXPECT_EQ(parsed.items[4].height, 14);
}

TEST(DialogTemplate, ReadsNegativePositionsOrdinalsNamedClassesFontAndCreationData) {
    TemplateBytes t;
    t.header(DIALOG_STYLE | DIALOG_SET_FONT, 2, -5, -7, 40, 30, "F");
    t.word(8);
    t.text("Sans");
    t.item_fields(CHILD, -3, 2, 10, 10, 0xFFFE);
    t.text("Static");
    t.word(0xFFFF);
    t.word(42);
    t.word(6);
    t.word(0xBEEF);
    t.word(0x1234);
    t.item_fields(CHILD, 0, 0, 10, 10, 3);
    t.word(0xFFFF);
    t.word(BUTTON_CLASS_ATOM);
    t.word(0x263A);  // a unit no byte stands for
    t.word('x');
    t.word(0);
    t.word(0);
    DialogTemplate parsed;
    ASSERT_TRUE(parse_dialog_template(t.bytes.data(), t.bytes.size(), parsed));
    EXPECT_EQ(parsed.x, -5);
    EXPECT_EQ(parsed.font_point_size, 8);
    EXPECT_EQ(parsed.font_face, "Sans");
    ASSERT_EQ(parsed.items.size(), 2u);
    EXPECT_EQ(parsed.items[0].x, -3);
    EXPECT_EQ(parsed.items[0].id, 0xFFFE);
    EXPECT_EQ(parsed.items[0].class_atom, 0);
    EXPECT_EQ(parsed.items[0].class_name, "Static");
    EXPECT_EQ(parsed.items[0].text_ordinal, 42);
    EXPECT_EQ(parsed.items[0].creation_data, (std::vector<std::uint8_t>{0xEF, 0xBE, 0x34, 0x12}));
    EXPECT_EQ(parsed.items[1].text, "?x");
}

TEST(DialogTemplate, RefusesEveryTruncatedTemplate) {
    TemplateBytes t = name_dialog();
    DialogTemplate parsed;
    for (std::size_t size = 0; size < t.bytes.size(); ++size)
        EXPECT_FALSE(parse_dialog_template(t.bytes.data(), size, parsed)) << size;
    EXPECT_FALSE(parse_dialog_template(nullptr, 100, parsed));
}

TEST(DialogTemplate, RefusesTheExtendedLayoutAndClassesItDoesNotProvide) {
    DialogTemplate parsed;
    TemplateBytes extended;
    extended.header(0xFFFF0001, 0, 0, 0, 10, 10, "");
    EXPECT_FALSE(parse_dialog_template(extended.bytes.data(), extended.bytes.size(), parsed));
    TemplateBytes list_box;
    list_box.header(DIALOG_STYLE, 1, 0, 0, 10, 10, "");
    list_box.item(CHILD, 0, 0, 5, 5, 1, 0x0083, "");
    EXPECT_FALSE(parse_dialog_template(list_box.bytes.data(), list_box.bytes.size(), parsed));
}

// ---- running a dialog ----

TEST_F(DialogTest, UnusableTemplateOrOwnerGivesMinusOneAndChangesNothing) {
    TemplateBytes good = name_dialog();
    TemplateBytes truncated = good;
    truncated.bytes.resize(good.bytes.size() - 1);
    TemplateBytes with_menu;
    with_menu.dword(DIALOG_STYLE);
    with_menu.dword(0);
    for (int v : {0, 0, 0, 10, 10}) with_menu.word(static_cast<unsigned>(v));
    with_menu.word(0xFFFF);
    with_menu.word(7);
    with_menu.word(0);
    with_menu.text("");
    TemplateBytes unknown_class;
    unknown_class.header(DIALOG_STYLE, 1, 0, 0, 10, 10, "");
    unknown_class.item_fields(CHILD, 0, 0, 5, 5, 1);
    unknown_class.text("NoSuchClass");
    unknown_class.text("");
    unknown_class.word(0);
    Window focus = focus_window();
    for (const TemplateBytes* t : {&truncated, &with_menu, &unknown_class}) {
        EXPECT_EQ(run(*t), -1);
        EXPECT_TRUE(is_enabled(owner));
        EXPECT_EQ(focus_window(), focus);
    }
    EXPECT_EQ(
        dialog_box_indirect(nullptr, good.bytes.data(), good.bytes.size(), static_cast<Window>(999), recording_proc, 0),
        -1);
    EXPECT_EQ(seen.init_focus, Window::NONE);
    for (std::uint32_t later = 1; later <= 10; ++later)
        EXPECT_FALSE(is_window(static_cast<Window>(static_cast<std::uint32_t>(owner) + later))) << "left behind";
}

TEST_F(DialogTest, ReturnsTheEndDialogValueWithTheOwnerDisabledMeanwhile) {
    bool owner_enabled_inside = true;
    bool dialog_visible = false;
    seen.end_on = ID_CANCEL;
    headless->schedule(100, [&] {
        owner_enabled_inside = is_enabled(owner);
        dialog_visible = is_visible(active_dialog());
        inject_click(owner, 10, 10);
        inject_key_press(KEY_ESCAPE);
    });
    EXPECT_EQ(run(name_dialog()), 1000 + ID_CANCEL);
    EXPECT_FALSE(owner_enabled_inside);
    EXPECT_TRUE(dialog_visible);
    EXPECT_TRUE(is_enabled(owner));
    EXPECT_EQ(active_dialog(), Window::NONE);
    EXPECT_EQ(focus_window(), owner);
    EXPECT_FALSE(end_dialog(owner, 1));
}

TEST_F(DialogTest, TheOwnerIsActiveAgainWithTheNativeFocusEvenWhenAnotherWindowHadIt) {
    Window other =
        create_window("Owner", "Other", STYLE_CAPTION | STYLE_VISIBLE, 0, 0, 100, 100, Window::NONE, nullptr);
    Window during = Window::NONE;
    run_with(name_dialog(), [&](Window dialog) {
        during = headless->last_activated();
        EXPECT_EQ(during, dialog) << "the dialog takes the keyboard on the screen";
        set_focus(other);
    });
    EXPECT_EQ(focus_window(), owner);
    EXPECT_EQ(headless->last_activated(), owner);
}

TEST_F(DialogTest, IsPlacedAndSizedInDialogUnitsFromTheOwnersClientArea) {
    int bx = dialog_base_unit_x();
    int by = dialog_base_unit_y();
    Point dialog_client;
    Point owner_client = client_screen_origin(owner);
    Rect client_rect;
    Rect edit_rect;
    run_with(name_dialog(), [&](Window dialog) {
        dialog_client = client_screen_origin(dialog);
        get_client_rect(dialog, client_rect);
        get_window_rect(get_dialog_item(dialog, EDIT_ID), edit_rect);
    });
    auto round = [](int v, int base, int div) { return (v * base + div / 2) / div; };
    EXPECT_EQ(dialog_client.x, owner_client.x + round(20, bx, 4));
    EXPECT_EQ(dialog_client.y, owner_client.y + round(10, by, 8));
    EXPECT_EQ(client_rect.width(), round(180, bx, 4)) << "the frame comes around the template's size";
    EXPECT_EQ(client_rect.height(), round(90, by, 8));
    EXPECT_EQ(edit_rect.left, round(8, bx, 4));
    EXPECT_EQ(edit_rect.top, round(30, by, 8));
    EXPECT_EQ(edit_rect.right, round(172, bx, 4));
    EXPECT_EQ(edit_rect.bottom, round(67, by, 8));
}

TEST_F(DialogTest, KeepsDispatchingTheOwnersTimer) {
    set_timer(owner, 1, 100);
    headless->schedule(1000, [] { end_dialog(active_dialog(), 3); });
    EXPECT_EQ(run(name_dialog()), 3);
    EXPECT_GE(owner_ticks, 9);
}

TEST_F(DialogTest, QuitRequestEndsTheLoopAndIsPostedAgain) {
    headless->schedule(100, [] { post_quit_message(4); });
    EXPECT_EQ(run(name_dialog()), 0);
    Message message;
    bool quit = false;
    for (int i = 0; i < 10 && !quit; ++i) quit = peek_message(message) && message.message == MSG_QUIT;
    EXPECT_TRUE(quit);
    EXPECT_EQ(message.word, 4u);
}

TEST_F(DialogTest, EndedDuringInitialisationItIsNeverShown) {
    seen.end_in_init = true;
    int presents = headless->present_count();
    EXPECT_EQ(run(name_dialog()), 77);
    EXPECT_EQ(headless->present_count(), presents);
}

// ---- focus ----

TEST_F(DialogTest, FocusGoesToTheFirstTabStopWhenInitialisationAnswersTrue) {
    Window focused = Window::NONE;
    Window edit = Window::NONE;
    run_with(name_dialog(), [&](Window dialog) {
        focused = focus_window();
        edit = get_dialog_item(dialog, EDIT_ID);
    });
    EXPECT_EQ(seen.init_focus, edit);
    EXPECT_EQ(focused, edit);
    seen.init_answer = false;
    bool dialog_focused = false;
    EXPECT_EQ(run_with(name_dialog(), [&](Window dialog) { dialog_focused = focus_window() == dialog; }), 5);
    EXPECT_TRUE(dialog_focused) << "the procedure put the focus nowhere, so the dialog keeps it";
}

TEST_F(DialogTest, InitialisationValueReachesTheProcedure) {
    int marker = 0;
    headless->schedule(100, [] { end_dialog(active_dialog(), 0); });
    run(name_dialog(), reinterpret_cast<std::intptr_t>(&marker));
    EXPECT_EQ(seen.init_value, reinterpret_cast<std::intptr_t>(&marker));
}

TEST_F(DialogTest, TabMovesAmongTabStopsInTemplateOrderAndShiftTabGoesBack) {
    std::vector<int> forward;
    std::vector<int> backward;
    std::int64_t at = 100;
    auto press = [&](bool shift, std::vector<int>& out) {
        headless->schedule(at, [shift] {
            if (shift) inject_key_down(KEY_SHIFT);
            inject_key_press(KEY_TAB);
            if (shift) inject_key_up(KEY_SHIFT);
        });
        headless->schedule(at + 5, [&out] { out.push_back(window_id(focus_window())); });
        at += 10;
    };
    for (int i = 0; i < 5; ++i) press(false, forward);
    for (int i = 0; i < 3; ++i) press(true, backward);
    headless->schedule(at, [] { end_dialog(active_dialog(), 0); });
    run(name_dialog());
    EXPECT_EQ(forward, (std::vector<int>{ID_OK, ID_CANCEL, OTHER_ID, EDIT_ID, ID_OK}));
    EXPECT_EQ(backward, (std::vector<int>{EDIT_ID, OTHER_ID, ID_CANCEL}));
}

// ---- keys the dialog takes ----

TEST_F(DialogTest, EnterSendsTheDefaultButtonWithNotificationZero) {
    seen.end_on = ID_OK;
    headless->schedule(100, [] { inject_key_press(KEY_ENTER); });
    EXPECT_EQ(run(name_dialog()), 1000 + ID_OK);
    EXPECT_EQ(seen.commands, (std::vector<std::pair<int, int>>{{ID_OK, BUTTON_CLICKED}}));
}

TEST_F(DialogTest, EnterOnAFocusedPushButtonSendsThatButton) {
    seen.end_on = OTHER_ID;
    headless->schedule(100, [] {
        for (int i = 0; i < 3; ++i) inject_key_press(KEY_TAB);
    });
    headless->schedule(110, [] { inject_key_press(KEY_ENTER); });
    EXPECT_EQ(run(name_dialog()), 1000 + OTHER_ID);
    EXPECT_EQ(seen.commands, (std::vector<std::pair<int, int>>{{OTHER_ID, BUTTON_CLICKED}}));
}

TEST_F(DialogTest, EscapeAndTheCloseBoxSendCancelAndLeaveTheDialogOpen) {
    bool open_after = false;
    headless->schedule(100, [] { inject_key_press(KEY_ESCAPE); });
    headless->schedule(200, [] { inject_close(active_dialog()); });
    headless->schedule(300, [&] { open_after = is_window(active_dialog()); });
    headless->schedule(400, [] { end_dialog(active_dialog(), 9); });
    EXPECT_EQ(run(name_dialog()), 9);
    EXPECT_TRUE(open_after);
    EXPECT_EQ(seen.commands, (std::vector<std::pair<int, int>>{{ID_CANCEL, 0}, {ID_CANCEL, 0}}));
}

// ---- buttons ----

TEST_F(DialogTest, ButtonClickSendsItsCommandAndAPressLeavingTheButtonDoesNot) {
    seen.end_on = OTHER_ID;
    headless->schedule(100, [this] {
        Window dialog = active_dialog();
        Rect other;
        get_window_rect(get_dialog_item(dialog, OTHER_ID), other);
        inject_mouse_down(dialog, other.left + 3, other.top + 3);
        inject_mouse_up(dialog, other.left - 20, other.top - 20);
        click_item(dialog, ID_CANCEL);
        inject_mouse_down(dialog, 2, 2);
        inject_mouse_up(dialog, other.left + 3, other.top + 3);
    });
    headless->schedule(200, [this] { click_item(active_dialog(), OTHER_ID); });
    EXPECT_EQ(run(name_dialog()), 1000 + OTHER_ID);
    EXPECT_EQ(seen.commands, (std::vector<std::pair<int, int>>{{ID_CANCEL, 0}, {OTHER_ID, 0}}));
}

TEST_F(DialogTest, SpaceOnAFocusedButtonClicksIt) {
    seen.end_on = ID_CANCEL;
    headless->schedule(100, [] {
        inject_key_press(KEY_TAB);
        inject_key_press(KEY_TAB);
    });
    headless->schedule(110, [] { inject_key_press(KEY_SPACE); });
    EXPECT_EQ(run(name_dialog()), 1000 + ID_CANCEL);
}

// ---- item texts ----

TEST_F(DialogTest, ItemTextIsCutToTheBufferAndAlwaysTerminated) {
    int results[4] = {};
    char buffers[4][8];
    std::memset(buffers, 'z', sizeof buffers);
    run_with(name_dialog(), [&](Window dialog) {
        results[0] = get_dialog_item_text(dialog, LABEL_ID, buffers[0], 0);
        results[1] = get_dialog_item_text(dialog, LABEL_ID, buffers[1], 1);
        results[2] = get_dialog_item_text(dialog, LABEL_ID, buffers[2], 5);
        results[3] = get_dialog_item_text(dialog, 4242, buffers[3], 5);
    });
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(buffers[0][0], 'z');
    EXPECT_EQ(results[1], 0);
    EXPECT_EQ(buffers[1][0], '\0');
    EXPECT_EQ(buffers[1][1], 'z');
    EXPECT_EQ(results[2], 4);
    EXPECT_STREQ(buffers[2], "Who ");
    EXPECT_EQ(buffers[2][5], 'z');
    EXPECT_EQ(results[3], 0);
    EXPECT_STREQ(buffers[3], "");
}

// ---- the edit control ----

TEST_F(DialogTest, EditTypesAtTheCaretAndEditsWithTheKeys) {
    std::vector<std::string> texts;
    const std::vector<std::pair<std::function<void()>, std::string>> steps = {
        {[] { inject_text("abcd"); }, "abcd"},
        {[] {
             inject_key_press(KEY_HOME);
             inject_key_press(KEY_DELETE);
         },
         "bcd"},
        {[] {
             inject_key_press(KEY_END);
             inject_key_press(KEY_BACKSPACE);
         },
         "bc"},
        {[] {
             inject_key_press(KEY_LEFT);
             inject_text("X");
         },
         "bXc"},
        {[] {
             inject_key_press(KEY_RIGHT);
             inject_key_press(KEY_RIGHT);
             inject_text("!");
         },
         "bXc!"},
        {[] {
             inject_key_press(KEY_HOME);
             inject_key_press(KEY_BACKSPACE);
             inject_key_press(KEY_LEFT);
             inject_text("<");
         },
         "<bXc!"},
        {[] {
             inject_key_press(KEY_END);
             inject_key_press(KEY_DELETE);
             inject_text(" Ok?");
         },
         "<bXc! Ok?"},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        headless->schedule(100 + static_cast<std::int64_t>(i) * 10, steps[i].first);
        headless->schedule(105 + static_cast<std::int64_t>(i) * 10,
                           [&texts, this] { texts.push_back(item_text(active_dialog(), EDIT_ID)); });
    }
    headless->schedule(500, [] { end_dialog(active_dialog(), 0); });
    run(name_dialog());
    ASSERT_EQ(texts.size(), steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(texts[i], steps[i].second) << "step " << i;
}

TEST_F(DialogTest, EditWithWantReturnTakesEnterAsALineBreak) {
    std::string text;
    headless->schedule(100, [] { inject_text("a\nb"); });
    headless->schedule(150, [&, this] { text = item_text(active_dialog(), EDIT_ID); });
    headless->schedule(200, [] { end_dialog(active_dialog(), 0); });
    run(name_dialog(CHILD | STYLE_BORDER | STYLE_TABSTOP | EDIT_MULTILINE | EDIT_WANT_RETURN));
    EXPECT_EQ(text, "a\r\nb");
    EXPECT_TRUE(seen.commands.empty());
}

// ---- how the controls look ----

// Columns of a box holding a vertical run of at least `length` black pixels.
std::vector<int> tall_black_columns(const Bitmap& picture, const Rect& box, int length) {
    std::vector<int> columns;
    for (int x = box.left; x < box.right; ++x) {
        int run = 0;
        int longest = 0;
        for (int y = box.top; y < box.bottom; ++y) {
            run = picture.get(x, y) == BLACK ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        if (longest >= length) columns.push_back(x);
    }
    return columns;
}

bool has_ink(const Bitmap& picture, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (picture.get(x, y) == BLACK) return true;
    return false;
}

TEST_F(DialogTest, EditIsAWhiteFieldInAOnePixelBorderWithTextAndACaretWhileFocused) {
    Bitmap focused;
    Bitmap unfocused;
    Rect edit;
    headless->schedule(100, [] { inject_text("Hi"); });
    headless->schedule(150, [&] {
        focused = client_picture(active_dialog());
        get_window_rect(get_dialog_item(active_dialog(), EDIT_ID), edit);
        inject_key_press(KEY_TAB);
    });
    headless->schedule(200, [&] {
        unfocused = client_picture(active_dialog());
        end_dialog(active_dialog(), 0);
    });
    run(name_dialog());
    test_support::save_picture(focused, "dialog_edit_focused.png");
    int cell = dialog_base_unit_y();
    int text_left = edit.left + 3;
    int text_top = edit.top + 2;
    int hi_width = text_extent(find_font(system_font_request()), "Hi", 2).width;
    for (int x = edit.left; x < edit.right; ++x) {
        EXPECT_EQ(focused.get(x, edit.top), BLACK) << x;
        EXPECT_EQ(focused.get(x, edit.bottom - 1), BLACK) << x;
        if (x > edit.left && x < edit.right - 1) {
            EXPECT_EQ(focused.get(x, edit.bottom - 2), WHITE) << x;
        }
    }
    for (int y = edit.top; y < edit.bottom; ++y) {
        EXPECT_EQ(focused.get(edit.left, y), BLACK) << y;
        EXPECT_EQ(focused.get(edit.right - 1, y), BLACK) << y;
        EXPECT_EQ(focused.get(edit.left + 1, y == edit.top || y == edit.bottom - 1 ? edit.top + 1 : y), WHITE) << y;
    }
    EXPECT_EQ(focused.get(edit.left - 1, edit.top + 5), DIALOG_FACE_COLOR);
    EXPECT_TRUE(has_ink(focused, text_left, text_top, text_left + hi_width, text_top + cell));
    EXPECT_FALSE(has_ink(focused, text_left + hi_width + 1, text_top, edit.right - 1, edit.bottom - 1));
    Rect field{edit.left + 1, edit.top + 1, edit.right - 1, edit.bottom - 1};
    std::vector<int> caret = tall_black_columns(focused, field, cell);
    EXPECT_EQ(caret, std::vector<int>{text_left + hi_width});
    EXPECT_EQ(focused.get(text_left + hi_width, text_top), BLACK);
    EXPECT_EQ(focused.get(text_left + hi_width, text_top + cell - 1), BLACK);
    EXPECT_TRUE(tall_black_columns(unfocused, field, cell).empty());
}

TEST_F(DialogTest, EditWithAutoScrollTakesEverythingAndKeepsTheCaretInView) {
    std::string dots(400, '.');
    for (bool auto_scroll : {true, false}) {
        unsigned style =
            CHILD | STYLE_BORDER | STYLE_TABSTOP | EDIT_MULTILINE | (auto_scroll ? EDIT_AUTO_VERTICAL_SCROLL : 0);
        std::string text;
        std::vector<int> caret;
        headless->schedule(headless->now() + 100, [&] { inject_text(dots.c_str()); });
        headless->schedule(headless->now() + 150, [&, this] {
            Window dialog = active_dialog();
            text = item_text(dialog, EDIT_ID);
            Rect edit;
            get_window_rect(get_dialog_item(dialog, EDIT_ID), edit);
            caret = tall_black_columns(client_picture(dialog),
                                       Rect{edit.left + 1, edit.top + 1, edit.right - 1, edit.bottom - 1},
                                       dialog_base_unit_y());
            end_dialog(dialog, 0);
        });
        run(name_dialog(style));
        if (auto_scroll)
            EXPECT_EQ(text.size(), dots.size());
        else
            EXPECT_LT(text.size(), dots.size()) << "only what fits the field";
        EXPECT_GT(text.size(), 100u);
        EXPECT_EQ(caret.size(), 1u) << (auto_scroll ? "auto-scroll" : "fixed");
    }
}

TEST_F(DialogTest, StaticWrapsWordsAndStartsEachLineAtTheLeft) {
    std::string word(4, 'W');
    int word_width = text_extent(find_font(system_font_request()), word.data(), 4).width;
    // Wide enough for one word and a few blanks, too narrow for both words.
    int width_units = (word_width + 10) * 4 / dialog_base_unit_x();
    TemplateBytes t;
    t.header(DIALOG_STYLE, 1, 0, 0, 100, 60, "");
    t.item(CHILD | STATIC_LEFT, 10, 10, width_units, 40, LABEL_ID, STATIC_CLASS_ATOM, word + "      " + word);
    Bitmap picture;
    Rect label;
    run_with(t, [&](Window dialog) {
        picture = client_picture(dialog);
        get_window_rect(get_dialog_item(dialog, LABEL_ID), label);
    });
    test_support::save_picture(picture, "dialog_static_wrapped.png");
    int cell = dialog_base_unit_y();
    for (int line = 0; line < 2; ++line) {
        int top = label.top + line * cell;
        EXPECT_TRUE(has_ink(picture, label.left, top, label.left + 3, top + cell)) << "line " << line;
        EXPECT_FALSE(has_ink(picture, label.left + word_width + 2, top, label.right, top + cell)) << "line " << line;
    }
    EXPECT_FALSE(has_ink(picture, label.left, label.top + 2 * cell, label.right, label.bottom));
}

}  // namespace
