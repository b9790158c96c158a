// Tests of windows: classes, creation, the client area, painting, sizing and
// destruction.
#include "platform/core/window.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/core/timer.h"
#include "platform/drawing/drawing_context.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/menu.h"
#include "platform/ui/platform_reset.h"

namespace platform {
namespace {

constexpr ColorWord WHITE = color_word(255, 255, 255);
constexpr ColorWord RED = color_word(255, 0, 0);
constexpr ColorWord SLATE = color_word(10, 20, 30);

std::vector<Message> received;

std::intptr_t recording_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    received.push_back(Message{window, message, word, position});
    return default_window_proc(window, message, word, position);
}

std::intptr_t silent_proc(Window, unsigned, std::uintptr_t, std::intptr_t) { return 0; }

bool register_recorder(const char* name, ColorWord background = WHITE, unsigned style = 0) {
    WindowClass window_class;
    window_class.name = name;
    window_class.procedure = recording_proc;
    window_class.style = style;
    window_class.background = background;
    return register_class(window_class);
}

// A fresh platform with one recording class; a top-level window of that class.
void start() {
    reset_platform();
    install_headless_backend();
    received.clear();
    register_recorder("recorder");
}

// Frameless, so the client area is the outer size less the menu bar.
Window make_window(const char* class_name = "recorder", int width = 300, int height = 200,
                   unsigned style = STYLE_POPUP) {
    return create_window(class_name, "test", style, 10, 10, width, height, Window::NONE, nullptr);
}

std::vector<Message> of_kind(unsigned kind) {
    std::vector<Message> found;
    for (const Message& m : received)
        if (m.message == kind) found.push_back(m);
    return found;
}

Size size_in(const Message& m) { return Size{low_half(m.position), high_half(m.position)}; }

// Paint messages are synthesised, so they arrive one at a time until every
// window is valid. An idle wait that nothing can end posts a quit; skip it.
int dispatch_paints() {
    int painted = 0;
    Message m;
    for (int i = 0; i < 100 && peek_message(m); ++i) {
        if (m.message != MSG_PAINT) continue;
        dispatch_message(m);
        ++painted;
    }
    return painted;
}

bool all_pixels_are(const Bitmap& bitmap, ColorWord color) {
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            if (bitmap.get(x, y) != color) return false;
    return bitmap.width > 0 && bitmap.height > 0;
}

TEST(WindowClass, RegisteringANameTwiceFailsAndKeepsTheFirst) {
    start();
    WindowClass other;
    other.name = "recorder";
    other.procedure = silent_proc;
    EXPECT_FALSE(register_class(other));
    make_window();
    EXPECT_EQ(of_kind(MSG_CREATE).size(), 1u);
}

TEST(WindowClass, IncompleteClassesAreRefused) {
    start();
    WindowClass no_procedure;
    no_procedure.name = "lonely";
    EXPECT_FALSE(register_class(no_procedure));
    WindowClass no_name;
    no_name.procedure = silent_proc;
    EXPECT_FALSE(register_class(no_name));
    no_name.name = "";
    EXPECT_FALSE(register_class(no_name));
    EXPECT_EQ(make_window("lonely"), Window::NONE);
    EXPECT_EQ(create_window(nullptr, "t", 0, 0, 0, 10, 10, Window::NONE, nullptr), Window::NONE);
    EXPECT_TRUE(received.empty());
}

TEST(CreateWindow, SendsCreateWithTheCreateValueBeforeReturning) {
    start();
    Window window =
        create_window("recorder", "title", STYLE_OVERLAPPED_WINDOW, 0, 0, 100, 80, Window::NONE, nullptr, 77);
    ASSERT_NE(window, Window::NONE);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].window, window);
    EXPECT_EQ(received[0].message, MSG_CREATE);
    EXPECT_EQ(received[0].position, 77);
    EXPECT_FALSE(is_visible(window));
    EXPECT_STREQ(window_title(window), "title");
}

TEST(SizeMessage, FirstShowSendsTheClientSizeOnce) {
    start();
    Window window = make_window("recorder", 300, 200);
    EXPECT_TRUE(of_kind(MSG_SIZE).empty());
    EXPECT_FALSE(show_window(window, SHOW_NORMAL));
    EXPECT_TRUE(show_window(window, SHOW_NORMAL));
    auto sizes = of_kind(MSG_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(size_in(sizes[0]).width, 300);
    EXPECT_EQ(size_in(sizes[0]).height, 200);
}

TEST(SizeMessage, EveryLaterChangeSendsItAndTheSameSizeDoesNot) {
    start();
    Window window = make_window("recorder", 300, 200);
    show_window(window, SHOW_NORMAL);
    move_window(window, 50, 60, 300, 200);
    EXPECT_EQ(of_kind(MSG_SIZE).size(), 1u);
    move_window(window, 50, 60, 320, 210);
    show_window(window, SHOW_HIDE);
    move_window(window, 50, 60, 330, 220);
    show_window(window, SHOW_NORMAL);
    auto sizes = of_kind(MSG_SIZE);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(size_in(sizes[1]).width, 320);
    EXPECT_EQ(size_in(sizes[2]).height, 220);
}

TEST(SizeMessage, SizesBeyondTheSurfaceLimitAreClamped) {
    start();
    Window window = make_window("recorder", -50, 1 << 30);
    Rect client;
    ASSERT_TRUE(get_client_rect(window, client));
    EXPECT_EQ(client.width(), 0);
    EXPECT_EQ(client.height(), 16384);
    EXPECT_TRUE(move_window(window, 0, 0, 1 << 30, -1));
    ASSERT_TRUE(get_client_rect(window, client));
    EXPECT_EQ(client.width(), 16384);
    EXPECT_EQ(client.height(), 0);
}

TEST(CreateWindow, ExtremePositionsAreSafe) {
    start();
    constexpr int BIG = std::numeric_limits<int>::max();
    constexpr int SMALL = std::numeric_limits<int>::min();
    Window window = create_window("recorder", "far", STYLE_OVERLAPPED_WINDOW | STYLE_VISIBLE, BIG, BIG, 300, 200,
                                  Window::NONE, nullptr);
    Window child = create_window("recorder", "", STYLE_CHILD | STYLE_VISIBLE, SMALL, BIG, BIG, 10, window, nullptr);
    ASSERT_NE(child, Window::NONE);
    Rect outer;
    ASSERT_TRUE(get_window_rect(window, outer));
    EXPECT_GT(outer.right, outer.left);
    EXPECT_EQ(outer.width(), 300);
    EXPECT_TRUE(move_window(window, SMALL, SMALL, 400, 300));
    EXPECT_TRUE(move_window(child, BIG, SMALL, 5, 5));
    ASSERT_TRUE(get_window_rect(child, outer));
    EXPECT_EQ(outer.width(), 5);
    dispatch_paints();
    EXPECT_TRUE(is_window(child));
}

TEST(ClientArea, FrameTitleBarAndMenuBarAllLieInsideTheOuterSize) {
    start();
    Window window = make_window("recorder", 300, 200, STYLE_OVERLAPPED_WINDOW);
    Insets frame = window_frame(window);
    EXPECT_EQ(frame.left, SIZING_BORDER);
    EXPECT_EQ(frame.top, SIZING_BORDER + TITLE_BAR_HEIGHT);
    Rect client;
    ASSERT_TRUE(get_client_rect(window, client));
    EXPECT_EQ(client.bottom, 200 - frame.top - frame.bottom);
    ASSERT_TRUE(set_menu(window, create_menu()));
    ASSERT_TRUE(get_client_rect(window, client));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, 300 - 2 * SIZING_BORDER);
    EXPECT_EQ(client.bottom, 200 - frame.top - frame.bottom - MENU_BAR_HEIGHT);
    EXPECT_EQ(client_origin(window).x, SIZING_BORDER);
    EXPECT_EQ(client_origin(window).y, frame.top + MENU_BAR_HEIGHT);
    EXPECT_EQ(window_surface(window)->height, 200);
    EXPECT_EQ(client_picture(window).height, client.bottom);
    EXPECT_EQ(client_screen_origin(window).x, 10 + SIZING_BORDER);
    Rect outer;
    ASSERT_TRUE(get_window_rect(window, outer));
    EXPECT_EQ(outer.top, 10);
    EXPECT_EQ(outer.bottom, 210);
}

TEST(ClientArea, TheHostsDecorationsReplaceOurFrameInsideTheSameOuterSize) {
    start();
    Window window = make_window("recorder", 300, 200, STYLE_CAPTION | STYLE_SYSTEM_MENU);
    set_menu(window, create_menu());
    show_window(window, SHOW_NORMAL);
    EXPECT_FALSE(close_box_rect(window).empty());
    received.clear();
    ASSERT_TRUE(set_host_frame(window, Insets{1, 20, 1, 1}));
    Rect outer, client;
    get_window_rect(window, outer);
    get_client_rect(window, client);
    EXPECT_EQ(outer.width(), 300);
    EXPECT_EQ(outer.height(), 200);
    EXPECT_EQ(client.right, 298);
    EXPECT_EQ(client.bottom, 200 - 21 - MENU_BAR_HEIGHT);
    EXPECT_EQ(window_surface(window)->width, 298) << "the surface is what the native window shows";
    EXPECT_EQ(window_surface(window)->height, 179);
    EXPECT_EQ(client_origin(window).x, 0);
    EXPECT_EQ(client_origin(window).y, MENU_BAR_HEIGHT);
    EXPECT_EQ(client_screen_origin(window).y, 10 + 20 + MENU_BAR_HEIGHT);
    EXPECT_TRUE(close_box_rect(window).empty()) << "the host draws the close box";
    std::vector<Message> sizes = of_kind(MSG_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(high_half(sizes[0].position), client.bottom);
    // The host moves and resizes what it shows; the outer rectangle follows.
    inject_move(window, 50, 60);
    get_window_rect(window, outer);
    EXPECT_EQ(outer.left, 49);
    EXPECT_EQ(outer.top, 40);
    inject_resize(window, 398, 279);
    get_window_rect(window, outer);
    EXPECT_EQ(outer.width(), 400);
    EXPECT_EQ(outer.height(), 300);
    // All zero: the host draws nothing after all, our frame is back.
    set_host_frame(window, Insets{});
    get_client_rect(window, client);
    EXPECT_EQ(client.right, 400 - 2 * FIXED_BORDER);
    EXPECT_EQ(window_surface(window)->width, 400);
}

TEST(Paint, ComesAfterShowOnceTheQueueIsEmpty) {
    start();
    Window window = make_window();
    Message m;
    EXPECT_FALSE(peek_message(m));
    show_window(window, SHOW_NORMAL);
    post_message(window, MSG_COMMAND, 5, 0);
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.message, MSG_COMMAND);
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.message, MSG_PAINT);
    EXPECT_EQ(m.window, window);
}

TEST(Paint, HiddenWindowsAreNotPainted) {
    start();
    Window window = make_window();
    show_window(window, SHOW_HIDE);
    invalidate(window);
    EXPECT_EQ(dispatch_paints(), 0);
    show_window(window, SHOW_NORMAL);
    EXPECT_EQ(dispatch_paints(), 1);
}

TEST(Paint, BeginPaintErasesWithTheClassBackgroundAndValidates) {
    start();
    register_recorder("slate", SLATE);
    Window window = make_window("slate");
    set_menu(window, create_menu());
    show_window(window, SHOW_NORMAL);
    Bitmap before = *window_surface(window);
    PaintInfo info;
    DrawingContext context = begin_paint(window, info);
    EXPECT_NE(context, DrawingContext::NONE);
    Rect client;
    get_client_rect(window, client);
    EXPECT_EQ(info.area.right, client.right);
    EXPECT_EQ(info.area.bottom, client.bottom);
    EXPECT_TRUE(all_pixels_are(client_picture(window), SLATE));
    const Bitmap& after = *window_surface(window);
    Point origin = client_origin(window);
    for (int y = 0; y < origin.y; ++y)
        for (int x = 0; x < after.width; ++x) ASSERT_EQ(after.get(x, y), before.get(x, y)) << x << "," << y;
    EXPECT_TRUE(end_paint(window, info));
    EXPECT_EQ(dispatch_paints(), 0);
}

TEST(Paint, DefaultProcedureValidates) {
    start();
    Window window = make_window();
    show_window(window, SHOW_NORMAL);
    EXPECT_EQ(dispatch_paints(), 1);
    EXPECT_EQ(of_kind(MSG_PAINT).size(), 1u);
}

TEST(Paint, ResizeInvalidatesOnlyForTheClassRedrawDirection) {
    start();
    register_recorder("wide", WHITE, CLASS_REDRAW_ON_WIDTH);
    Window window = make_window("wide", 300, 200);
    show_window(window, SHOW_NORMAL);
    dispatch_paints();
    move_window(window, 10, 10, 300, 250);
    EXPECT_EQ(dispatch_paints(), 0);
    move_window(window, 10, 10, 310, 250);
    EXPECT_EQ(dispatch_paints(), 1);
}

TEST(Paint, ChildEraseStaysInsideTheParentClientArea) {
    start();
    register_recorder("red_child", RED);
    Window parent = make_window("recorder", 100, 100);
    set_menu(parent, create_menu());
    show_window(parent, SHOW_NORMAL);
    EXPECT_EQ(dispatch_paints(), 1);
    Bitmap before = *window_surface(parent);
    Window child = create_window("red_child", "", STYLE_CHILD | STYLE_VISIBLE, -5, -5, 20, 20, parent, nullptr);
    ASSERT_NE(child, Window::NONE);
    EXPECT_EQ(dispatch_paints(), 1);
    const Bitmap& surface = *window_surface(parent);
    for (int y = 0; y < MENU_BAR_HEIGHT; ++y)
        for (int x = 0; x < surface.width; ++x) ASSERT_EQ(surface.get(x, y), before.get(x, y)) << x << "," << y;
    EXPECT_EQ(surface.get(0, MENU_BAR_HEIGHT), RED);
    EXPECT_EQ(surface.get(14, MENU_BAR_HEIGHT + 14), RED);
    EXPECT_EQ(surface.get(15, MENU_BAR_HEIGHT + 15), WHITE);
}

TEST(Paint, ChildEraseStaysInsideItsParent) {
    start();
    register_recorder("red_child", RED);
    Window window = make_window("recorder", 100, 100);
    show_window(window, SHOW_NORMAL);
    Window panel = create_window("recorder", "", STYLE_CHILD | STYLE_VISIBLE, 0, 0, 20, 20, window, nullptr);
    create_window("red_child", "", STYLE_CHILD | STYLE_VISIBLE, 10, 10, 20, 20, panel, nullptr);
    EXPECT_EQ(dispatch_paints(), 3);
    Bitmap picture = client_picture(window);
    EXPECT_EQ(picture.get(19, 19), RED);
    EXPECT_EQ(picture.get(20, 19), WHITE);
    EXPECT_EQ(picture.get(25, 25), WHITE);
}

TEST(Destroy, CloseThroughTheDefaultProcedureDestroysTheWindow) {
    start();
    Window window = make_window();
    set_timer(window, 1, 100);
    post_message(window, MSG_CLOSE, 0, 0);
    Message m;
    ASSERT_TRUE(peek_message(m));
    dispatch_message(m);
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(received[received.size() - 2].message, MSG_CLOSE);
    EXPECT_EQ(received.back().message, MSG_DESTROY);
    EXPECT_FALSE(is_window(window));
    EXPECT_EQ(next_timer_deadline(), -1);
}

TEST(Destroy, ChildrenAreDestroyedBeforeTheirParent) {
    start();
    Window parent = make_window();
    Window child = create_window("recorder", "", STYLE_CHILD, 0, 0, 10, 10, parent, nullptr);
    received.clear();
    EXPECT_TRUE(destroy_window(parent));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].window, child);
    EXPECT_EQ(received[1].window, parent);
    EXPECT_FALSE(is_window(child));
}

TEST(StaleWindow, EveryOperationFailsWithoutHarm) {
    start();
    Window window = make_window();
    post_message(window, MSG_COMMAND, 1, 0);
    ASSERT_TRUE(destroy_window(window));
    received.clear();
    Rect rect;
    PaintInfo info;
    char text[8] = "x";
    EXPECT_FALSE(destroy_window(window));
    EXPECT_FALSE(show_window(window, SHOW_NORMAL));
    EXPECT_FALSE(is_visible(window));
    EXPECT_FALSE(move_window(window, 0, 0, 10, 10));
    EXPECT_FALSE(get_client_rect(window, rect));
    EXPECT_FALSE(get_window_rect(window, rect));
    EXPECT_FALSE(invalidate(window));
    EXPECT_FALSE(set_window_text(window, "y"));
    EXPECT_EQ(get_window_text(window, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_STREQ(window_title(window), "");
    EXPECT_EQ(window_surface(window), nullptr);
    EXPECT_EQ(client_picture(window).width, 0);
    EXPECT_FALSE(set_menu(window, create_menu()));
    EXPECT_EQ(set_timer(window, 1, 100), 0u);
    EXPECT_FALSE(post_message(window, MSG_COMMAND, 2, 0));
    EXPECT_EQ(send_message(window, MSG_COMMAND, 3, 0), 0);
    EXPECT_EQ(get_window_dc(window), DrawingContext::NONE);
    EXPECT_EQ(begin_paint(window, info), DrawingContext::NONE);
    EXPECT_EQ(set_focus(window), Window::NONE);
    Message m;
    EXPECT_FALSE(peek_message(m));
    EXPECT_TRUE(received.empty());
    EXPECT_FALSE(is_window(static_cast<Window>(12345)));
}

TEST(WindowText, CopiesWhatFitsAndTerminates) {
    start();
    Window window = make_window();
    ASSERT_TRUE(set_window_text(window, "Bridge"));
    char text[4] = "zzz";
    EXPECT_EQ(get_window_text(window, text, sizeof text), 3);
    EXPECT_STREQ(text, "Bri");
    EXPECT_EQ(get_window_text(window, text, 1), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(get_window_text(window, nullptr, 10), 0);
}

TEST(Screen, SizeComesFromTheBackend) {
    start();
    EXPECT_EQ(screen_width(), 1024);
    EXPECT_EQ(screen_height(), 768);
    reset_platform();
    HeadlessBackend& headless = install_headless_backend(Size{640, 480});
    EXPECT_EQ(screen_width(), 640);
    headless.set_screen_size(Size{800, 600});
    EXPECT_EQ(screen_height(), 600);
}

// A procedure that builds more windows while it is being shown, as a frame
// creating its panels when it gains the focus might.
std::intptr_t spawning_proc(Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    if (message == MSG_SET_FOCUS)
        for (int i = 0; i < 8; ++i) make_window();
    return recording_proc(window, message, word, position);
}

// Client drawing never reaches the frame, so only what the frame shows repaints it.
TEST(Present, TheFrameAndBarRepaintOnlyWhenWhatTheyShowChanged) {
    start();
    Window window = make_window("recorder", 300, 200, STYLE_OVERLAPPED_WINDOW);
    show_window(window, SHOW_SHOW);
    Message m;
    auto frame_paints_after = [&](auto change) {
        change();
        received.clear();
        peek_message(m);
        return of_kind(MSG_NONCLIENT_PAINT).size();
    };
    EXPECT_EQ(frame_paints_after([] {}), 1u);
    EXPECT_EQ(frame_paints_after([&] {
                  DrawingContext context = get_window_dc(window);
                  set_pixel(context, 1, 1, RED);
                  release_dc(window, context);
              }),
              0u);
    EXPECT_EQ(frame_paints_after([&] { set_window_text(window, "renamed"); }), 1u);
    Menu bar = create_menu();
    EXPECT_EQ(frame_paints_after([&] { set_menu(window, bar); }), 1u);
    EXPECT_EQ(frame_paints_after([&] { append_menu(bar, 0, 1, "&Late"); }), 1u);
    EXPECT_EQ(frame_paints_after([&] { move_window(window, 0, 0, 320, 220); }), 1u);
}

TEST(Show, SurvivesAProcedureThatCreatesWindowsWhenFocused) {
    reset_platform();
    install_headless_backend();
    received.clear();
    register_recorder("recorder");
    WindowClass spawning;
    spawning.name = "spawning";
    spawning.procedure = spawning_proc;
    ASSERT_TRUE(register_class(spawning));
    Window window = make_window("spawning");
    show_window(window, SHOW_NORMAL);
    EXPECT_TRUE(is_visible(window));
    auto sizes = of_kind(MSG_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].window, window);
}

}  // namespace
}  // namespace platform
