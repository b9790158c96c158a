// Tests of recording and playing back event scripts.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/ui/menu.h"
#include "support/toolkit_fixture.h"
#include "toolkit/state.h"

using kavro::state;

namespace {

struct Event {
    int kind = 0;
    int x = 0;
    int y = 0;
    int key = 0;
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "{" << e.kind << ", " << e.x << ", " << e.y << ", " << e.key << "}";
}

class Scripts : public test_support::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        enter_scratch_directory();
        open_toolkit();
        KAVRO_logging(0);
        headless->set_time_limit(1'000'000'000);
    }
    void TearDown() override {
        kavro::close_script_file();
        ToolkitTest::TearDown();
    }

    Event next() {
        Event e;
        char key = 0;
        e.kind = KAVRO_await_event(&e.x, &e.y, &key);
        e.key = static_cast<unsigned char>(key);
        return e;
    }
    // Input arriving shortly after now, while the next wait runs.
    void soon(std::function<void()> action) { headless->schedule(headless->now() + 10, std::move(action)); }
    void click_at(int x, int y) {
        int px = state.centre_x + x;
        int py = state.centre_y - y;
        soon([px, py] { platform::inject_click(state.graphics_window, px, py); });
    }
    void type(char c) {
        std::string text(1, c);
        soon([text] { platform::inject_text(text.c_str()); });
    }
    void write_script(const std::string& text) {
        std::ofstream out("KAVRO.SCR", std::ios::binary);
        out << text;
    }
    std::string script_text() {
        std::ifstream in("KAVRO.SCR", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool checked(unsigned identifier) {
        platform::MenuEntry entry;
        return platform::find_menu_entry(state.run_menu, identifier, entry) &&
               (entry.flags & platform::MENU_CHECKED) != 0;
    }
    std::string last_message() { return messages().empty() ? std::string() : messages().back(); }
    // Playback of whole script; the events until playback stops by itself.
    std::vector<Event> play_all(int limit = 1000) {
        kavro::run_command(kavro::CMD_PLAYBACK);
        // Once playback stops the wait blocks: a key long after every script event ends it.
        headless->schedule(headless->now() + 500'000, [] { platform::inject_text("!"); });
        std::vector<Event> events;
        while (static_cast<int>(events.size()) < limit) {
            Event e = next();
            if (!state.playing && e == Event{KAVRO_KBD, 0, 0, '!'}) break;
            events.push_back(e);
        }
        return events;
    }
};

}  // namespace

TEST_F(Scripts, RecordingWritesTheFourLineExampleAndPlaysBackSeventeenEvents) {
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_TRUE(checked(kavro::CMD_RECORD));
    KAVRO_animate(2);
    std::vector<Event> delivered;
    for (int i = 0; i < 12; ++i) delivered.push_back(next());
    click_at(-250, 100);
    delivered.push_back(next());
    for (int i = 0; i < 3; ++i) delivered.push_back(next());
    KAVRO_animate(0);
    type('q');
    delivered.push_back(next());
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_FALSE(checked(kavro::CMD_RECORD));
    EXPECT_EQ(script_text(), "KAVRO_PERIODIC(12);\nKAVRO_MOUSE(-250, 100);\nKAVRO_PERIODIC(3);\nKAVRO_KBD(113);\n");

    kavro::run_command(kavro::CMD_PLAYBACK);
    EXPECT_TRUE(checked(kavro::CMD_PLAYBACK));
    std::vector<Event> played;
    for (int i = 0; i < 17; ++i) played.push_back(next());
    EXPECT_EQ(played, delivered);
    EXPECT_EQ(played[12], (Event{KAVRO_MOUSE, -250, 100, 0}));
    EXPECT_EQ(state.running, 0) << "playback halts the animation";
}

TEST_F(Scripts, PendingPeriodicCountIsWrittenWhenRecordingStopsOrAQuitArrives) {
    kavro::run_command(kavro::CMD_RECORD);
    KAVRO_animate(2);
    for (int i = 0; i < 5; ++i) next();
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_EQ(script_text(), "KAVRO_PERIODIC(5);\n");

    kavro::run_command(kavro::CMD_RECORD);
    for (int i = 0; i < 4; ++i) next();
    soon([] { platform::inject_menu_choice(state.graphics_window, kavro::CMD_QUIT); });
    EXPECT_EQ(next().kind, KAVRO_QUIT);
    KAVRO_close();
    EXPECT_EQ(script_text(), "KAVRO_PERIODIC(4);\n");
}

TEST_F(Scripts, StoppingAnEmptyRecordingOpensNothingButAQuitLeavesAnEmptyFile) {
    write_script("KAVRO_KBD(65);\n");
    kavro::run_command(kavro::CMD_RECORD);
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_EQ(script_text(), "KAVRO_KBD(65);\n");

    kavro::run_command(kavro::CMD_RECORD);
    soon([] { platform::inject_close(state.graphics_window); });
    EXPECT_EQ(next().kind, KAVRO_QUIT);
    KAVRO_close();
    EXPECT_TRUE(std::filesystem::exists("KAVRO.SCR"));
    EXPECT_EQ(script_text(), "");
}

TEST_F(Scripts, ReaderAcceptsTheLooseGrammar) {
    write_script(
        "KAVRO_KBD(-23);\nXXXXXXM 5 6\n\n\nKAVRO_MOUSE(-5,-6);\nKAVRO_MOUSE(12-3, --5);\nKAVRO_PERIODIC(2);\n");
    std::vector<Event> expected = {{KAVRO_KBD, 0, 0, 233},  {KAVRO_MOUSE, 5, 6, 0},    {KAVRO_MOUSE, -5, -6, 0},
                                   {KAVRO_MOUSE, 12, 0, 0}, {KAVRO_PERIODIC, 0, 0, 0}, {KAVRO_PERIODIC, 0, 0, 0}};
    EXPECT_EQ(play_all(), expected);
    EXPECT_EQ(last_message(), "EOF encountered in script file KAVRO.SCR\n");
}

TEST_F(Scripts, ALineOfBlanksOrALowerCaseLetterEndsPlaybackSilently) {
    for (const char* stopper : {"          \n", "KAVRO_mOUSE(1, 2);\n"}) {
        kavro::close_script_file();
        write_script(std::string("KAVRO_KBD(65);\n") + stopper + "KAVRO_KBD(66);\n");
        std::size_t before = messages().size();
        EXPECT_EQ(play_all(), (std::vector<Event>{{KAVRO_KBD, 0, 0, 65}})) << stopper;
        EXPECT_EQ(messages().size(), before);
        EXPECT_FALSE(checked(kavro::CMD_PLAYBACK));
    }
}

TEST_F(Scripts, ALastLineWithoutLineEndIsDroppedWithTheEndOfFileMessage) {
    write_script("KAVRO_KBD(65);\nKAVRO_KBD(66);");
    EXPECT_EQ(play_all(), (std::vector<Event>{{KAVRO_KBD, 0, 0, 65}}));
    EXPECT_EQ(last_message(), "EOF encountered in script file KAVRO.SCR\n");
}

TEST_F(Scripts, PlayOneThreeTimesOnTwoLines) {
    write_script("KAVRO_KBD(65);\nKAVRO_MOUSE(1, 2);\n");
    kavro::run_command(kavro::CMD_PLAY_ONE);
    EXPECT_EQ(next(), (Event{KAVRO_KBD, 0, 0, 65}));
    kavro::run_command(kavro::CMD_PLAY_ONE);
    EXPECT_EQ(next(), (Event{KAVRO_MOUSE, 1, 2, 0}));
    kavro::run_command(kavro::CMD_PLAY_ONE);
    type('z');
    EXPECT_EQ(next(), (Event{KAVRO_KBD, 0, 0, 'z'}));
    EXPECT_EQ(last_message(), "EOF encountered in script file KAVRO.SCR\n");
}

TEST_F(Scripts, EndOfFileAgainUntilTheHandleIsClosedThenAFreshStart) {
    write_script("KAVRO_KBD(65);\n");
    EXPECT_EQ(play_all().size(), 1u);
    std::size_t before = messages().size();
    EXPECT_TRUE(play_all().empty());
    EXPECT_EQ(messages().size(), before + 1);
    EXPECT_EQ(last_message(), "EOF encountered in script file KAVRO.SCR\n");
    // Playback on and off closes the handle: the next playback starts afresh.
    kavro::run_command(kavro::CMD_PLAYBACK);
    kavro::run_command(kavro::CMD_PLAYBACK);
    EXPECT_EQ(play_all(), (std::vector<Event>{{KAVRO_KBD, 0, 0, 65}}));
}

TEST_F(Scripts, RecordingOnAndOffAfterAnEmptyPlaybackRestartsFromTheFirstLine) {
    write_script("KAVRO_KBD(65);\n");
    EXPECT_EQ(play_all().size(), 1u);
    kavro::run_command(kavro::CMD_RECORD);
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_EQ(play_all(), (std::vector<Event>{{KAVRO_KBD, 0, 0, 65}}));
}

TEST_F(Scripts, OpenFailuresPrintTheirMessages) {
    kavro::run_command(kavro::CMD_PLAYBACK);
    type('a');
    EXPECT_EQ(next(), (Event{KAVRO_KBD, 0, 0, 'a'}));
    EXPECT_EQ(last_message(), "Cannot open script file KAVRO.SCR for reading\n");
    EXPECT_FALSE(state.playing);
    EXPECT_EQ(state.script_file, nullptr);

    std::filesystem::create_directory("KAVRO.SCR");
    kavro::run_command(kavro::CMD_RECORD);
    type('b');
    next();
    EXPECT_EQ(last_message(), "Cannot open script file KAVRO.SCR for writing\n");
    EXPECT_TRUE(state.recording) << "recording stays on and tries again";
    std::size_t before = messages().size();
    type('c');
    next();
    EXPECT_EQ(messages().size(), before + 1);
}

TEST_F(Scripts, MalformedLinesStopPlaybackInsteadOfReplayingGarbage) {
    for (const char* bad :
         {"KAV\n", "KAVRO_\n", "KAVRO_M\n", "KAVRO_MOUSE(7);\n", "KAVRO_KBD();\n", "KAVRO_PERIODIC(-);\n"}) {
        kavro::close_script_file();
        write_script(std::string("KAVRO_KBD(65);\n") + bad + "KAVRO_KBD(66);\n");
        EXPECT_EQ(play_all(), (std::vector<Event>{{KAVRO_KBD, 0, 0, 65}})) << bad;
    }
}

TEST_F(Scripts, LongNumberRunsAreCutToTheirFieldWithoutOverrun) {
    std::string digits(600, '7');
    write_script("KAVRO_MOUSE(123456789012345, -99999999999999999);\nKAVRO_KBD(" + digits + ");\n");
    std::vector<Event> played = play_all();
    ASSERT_GE(played.size(), 1u);
    EXPECT_EQ(played[0].kind, KAVRO_MOUSE);
    EXPECT_EQ(played[0].x, 2147483647);
    EXPECT_EQ(played[0].y, -2147483647 - 1);
}

TEST_F(Scripts, APeriodicCountOfZeroGivesOneEvent) {
    write_script("KAVRO_PERIODIC(0);\nKAVRO_KBD(65);\n");
    EXPECT_EQ(play_all(), (std::vector<Event>{{KAVRO_PERIODIC, 0, 0, 0}, {KAVRO_KBD, 0, 0, 65}}));
}

TEST_F(Scripts, StoppingPlaybackMidLineDropsTheRestOfThePeriodicRun) {
    write_script("KAVRO_PERIODIC(10);\n");
    kavro::run_command(kavro::CMD_PLAYBACK);
    next();
    next();
    kavro::run_command(kavro::CMD_PLAYBACK);
    EXPECT_EQ(state.periodic_count, 0);
    kavro::run_command(kavro::CMD_RECORD);
    type('x');
    next();
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_EQ(script_text(), "KAVRO_KBD(120);\n");
}

TEST_F(Scripts, RecordingAndPlaybackAreKeptApart) {
    write_script("KAVRO_PERIODIC(3);\n");
    kavro::run_command(kavro::CMD_PLAYBACK);
    next();
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_FALSE(state.playing);
    EXPECT_FALSE(checked(kavro::CMD_PLAYBACK));
    type('y');
    EXPECT_EQ(next(), (Event{KAVRO_KBD, 0, 0, 'y'}));
    // Starting playback completes the recording first.
    kavro::run_command(kavro::CMD_PLAYBACK);
    EXPECT_FALSE(state.recording);
    EXPECT_EQ(script_text(), "KAVRO_KBD(121);\n");
    EXPECT_EQ(next(), (Event{KAVRO_KBD, 0, 0, 'y'}));
}

TEST_F(Scripts, RandomEventStreamsComeBackIdentical) {
    std::mt19937 random(12345);
    platform::Rect client;
    platform::get_client_rect(state.graphics_window, client);
    const std::string keys = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.;/-=[]'`";
    for (int round = 0; round < 5; ++round) {
        kavro::close_script_file();
        kavro::run_command(kavro::CMD_RECORD);
        std::vector<Event> delivered;
        int count = 20 + static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            switch (random() % 3) {
            case 0: KAVRO_animate(1); break;
            case 1:
                click_at(static_cast<int>(random() % static_cast<unsigned>(client.right)) - state.centre_x,
                         state.centre_y - static_cast<int>(random() % static_cast<unsigned>(client.bottom)));
                break;
            default: type(keys[random() % keys.size()]); break;
            }
            delivered.push_back(next());
        }
        kavro::run_command(kavro::CMD_RECORD);
        EXPECT_EQ(play_all(), delivered) << "round " << round;
    }
}

TEST_F(Scripts, PlaybackDeliversEventsWithoutWaitingOrMovingTheClock) {
    write_script("KAVRO_PERIODIC(300);\nKAVRO_MOUSE(1, 2);\nKAVRO_KBD(65);\n");
    kavro::run_command(kavro::CMD_PLAYBACK);
    std::int64_t before = headless->now();
    int waits = headless->wait_count();
    for (int i = 0; i < 302; ++i) next();
    EXPECT_EQ(headless->now(), before);
    EXPECT_EQ(headless->wait_count(), waits);
    EXPECT_EQ(state.script_counts.events, 302);
}

namespace {

// A point of the canvas in the window-surface coordinates presses are injected in.
platform::Point surface_point(int x, int y) {
    platform::Point origin = platform::client_origin(state.graphics_window);
    return platform::Point{origin.x + state.centre_x + x, origin.y + state.centre_y - y};
}

void press(platform::MouseButton button, bool down, int x, int y) {
    platform::Point p = surface_point(x, y);
    if (down)
        platform::inject_mouse_down(state.graphics_window, p.x, p.y, button);
    else
        platform::inject_mouse_up(state.graphics_window, p.x, p.y, button);
}

void move_to(int x, int y) {
    platform::Point p = surface_point(x, y);
    platform::inject_mouse_move(state.graphics_window, p.x, p.y);
}

}  // namespace

using MoreInput = Scripts;

TEST_F(MoreInput, NothingNewComesUntilAskedFor) {
    soon([] {
        press(platform::MouseButton::RIGHT, true, 5, 6);
        press(platform::MouseButton::RIGHT, false, 5, 6);
        move_to(1, 2);
        platform::Point p = surface_point(0, 0);
        platform::inject_mouse_wheel(state.graphics_window, p.x, p.y, 1);
        platform::inject_key_press(platform::KEY_LEFT);
        platform::inject_key_press(platform::KEY_F1);
    });
    click_at(3, 4);
    EXPECT_EQ(next(), (Event{KAVRO_MOUSE, 3, 4, 0}));
    EXPECT_EQ(KAVRO_key_held(KAVRO_KEY_LEFT), 0);
}

TEST_F(MoreInput, KeysHeldTogetherEveryButtonTheLatestMoveAndTheWheel) {
    EXPECT_EQ(KAVRO_want_events(KAVRO_WANT_ALL | 0x100), 0);
    soon([] {
        platform::inject_key_down('W');
        platform::inject_key_down('W');  // a repeat: one press, two characters
        platform::inject_key_down(platform::KEY_UP);
    });
    EXPECT_EQ(next(), (Event{KAVRO_KEY_PRESS, 'W', 0, 0}));
    EXPECT_EQ(next(), (Event{KAVRO_KBD, 0, 0, 'w'}));
    EXPECT_EQ(next(), (Event{KAVRO_KBD, 0, 0, 'w'}));
    EXPECT_EQ(next(), (Event{KAVRO_KEY_PRESS, KAVRO_KEY_UP, 0, 0}));
    EXPECT_TRUE(KAVRO_key_held('W') && KAVRO_key_held(KAVRO_KEY_UP));
    soon([] { platform::inject_key_up('W'); });
    EXPECT_EQ(next(), (Event{KAVRO_KEY_RELEASE, 'W', 0, 0}));
    EXPECT_FALSE(KAVRO_key_held('W'));
    EXPECT_TRUE(KAVRO_key_held(KAVRO_KEY_UP));

    soon([] {
        press(platform::MouseButton::MIDDLE, true, 5, 6);
        move_to(1, 1);
        move_to(-7, 8);
        platform::Point p = surface_point(-7, 8);
        platform::inject_mouse_wheel(state.graphics_window, p.x, p.y, -2);
        press(platform::MouseButton::LEFT, true, 0, 0);
        press(platform::MouseButton::LEFT, false, 0, 0);
    });
    EXPECT_EQ(next(), (Event{KAVRO_BUTTON_DOWN, 5, 6, KAVRO_BUTTON_MIDDLE}));
    EXPECT_EQ(next(), (Event{KAVRO_MOTION, -7, 8, 0}));
    EXPECT_EQ(next(), (Event{KAVRO_WHEEL, -7, 8, static_cast<unsigned char>(-2)}));
    EXPECT_EQ(next(), (Event{KAVRO_BUTTON_DOWN, 0, 0, KAVRO_BUTTON_LEFT}));
    EXPECT_EQ(next(), (Event{KAVRO_BUTTON_UP, 0, 0, KAVRO_BUTTON_LEFT}));
    EXPECT_EQ(KAVRO_want_events(0), KAVRO_WANT_ALL);
    EXPECT_FALSE(KAVRO_key_held(KAVRO_KEY_UP));
}

TEST_F(MoreInput, NewEventsRecordAsNewFormsAndPlayBackAsTheSameEvents) {
    KAVRO_want_events(KAVRO_WANT_ALL);
    kavro::run_command(kavro::CMD_RECORD);
    soon([] {
        platform::inject_key_down('A');
        press(platform::MouseButton::RIGHT, true, 5, -6);
        move_to(2, 3);
        platform::Point p = surface_point(2, 3);
        platform::inject_mouse_wheel(state.graphics_window, p.x, p.y, 1);
        platform::inject_key_up('A');
    });
    std::vector<Event> live;
    for (int i = 0; i < 6; ++i) live.push_back(next());
    kavro::run_command(kavro::CMD_RECORD);
    EXPECT_EQ(script_text(),
              "KAVRO_DOWN(65);\nKAVRO_KBD(97);\nKAVRO_BUTTON(5, -6, 3, 1);\nKAVRO_AT(2, 3);\nKAVRO_WHEEL(2, 3, 1);\n"
              "KAVRO_UP(65);\n");
    // Playback from the file's start; the keys of play_all's closing "!" are no part of it.
    auto replay = [this] {
        kavro::close_script_file();
        std::vector<Event> events = play_all();
        std::erase_if(events, [](const Event& e) {
            return (e.kind == KAVRO_KEY_PRESS || e.kind == KAVRO_KEY_RELEASE) && (e.x == '1' || e.x == KAVRO_KEY_SHIFT);
        });
        return events;
    };
    EXPECT_EQ(replay(), live);
    // A program that did not ask sees only the classic lines of the same file.
    KAVRO_want_events(0);
    EXPECT_EQ(replay(), (std::vector<Event>{{KAVRO_KBD, 0, 0, 'a'}}));
    // A malformed new line ends playback as any other does.
    KAVRO_want_events(KAVRO_WANT_ALL);
    write_script("KAVRO_DOWN(65);\nKAVRO_BUTTON(1, 2, 9, 1);\nKAVRO_UP(65);\n");
    EXPECT_EQ(replay(), (std::vector<Event>{{KAVRO_KEY_PRESS, 'A', 0, 0}}));
}

TEST_F(MoreInput, TheTickIntervalIsBoundedAndTakesEffectAtOnce) {
    EXPECT_EQ(KAVRO_set_tick(1), 10);
    EXPECT_EQ(KAVRO_set_tick(5000), 1000);
    EXPECT_EQ(KAVRO_set_tick(16), 16);
    KAVRO_animate(2);
    std::int64_t before = headless->now();
    EXPECT_EQ(next().kind, KAVRO_PERIODIC);
    EXPECT_EQ(next().kind, KAVRO_PERIODIC);
    EXPECT_EQ(headless->now() - before, 32);
}
