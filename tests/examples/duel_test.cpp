// The duel example replayed from its own script: both paddles move in the
// same turns while both players hold keys, the score is drawn, and the
// replay gives the same pictures every time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/ui/platform_reset.h"
#include "support/test_support.h"
#include "toolkit/inspect.h"
#include "toolkit/kavro.h"
#include "toolkit/replay_driver.h"

extern "C" int duel_main(void);

namespace fs = std::filesystem;

namespace {

using test_support::Ink;
using test_support::ink_of;

const std::string SCRIPT = (fs::path(KAVRO_SOURCE_DIR) / "examples" / "duel" / "duel.scr").string();

// One turn of the replay: what the picture showed and whether each player held a key.
struct Turn {
    Ink left, right, score;
    bool both_held = false;
};

TEST(Duel, BothPaddlesMoveInTheSameTurnsWhileBothPlayersHoldKeysAndTheScoreCounts) {
    kavro::reset_toolkit_state();
    platform::reset_platform();
    platform::install_headless_backend();
    kavro::ReplaySettings settings;
    settings.script = SCRIPT;
    std::string ignored;
    settings.frames.parse("all", ignored);
    std::vector<Turn> turns;
    settings.frame_observer = [&turns](std::int64_t, const platform::Bitmap& picture) {
        turns.push_back(Turn{ink_of(picture, kavro::color_value(KAVRO_BLUE)),
                             ink_of(picture, kavro::color_value(KAVRO_FOREST_GREEN)),
                             ink_of(picture, kavro::color_value(KAVRO_PURPLE)),
                             (KAVRO_key_held('W') || KAVRO_key_held('S')) &&
                                 (KAVRO_key_held(KAVRO_KEY_UP) || KAVRO_key_held(KAVRO_KEY_DOWN))});
    };
    kavro::start_replay(std::move(settings));
    EXPECT_EQ(duel_main(), 0);
    EXPECT_TRUE(kavro::finish_replay().playback_finished);
    kavro::reset_toolkit_state();
    ASSERT_GT(turns.size(), 100u);

    // A paddle steps at most 6 pixels a tick (less against a wall); a new game's jump back is no step.
    auto stepped = [](int moved) { return moved != 0 && std::abs(moved) <= 6; };
    int together = 0, score_changes = 0;
    for (std::size_t i = 1; i < turns.size(); ++i) {
        const Turn& before = turns[i - 1];
        if (!(turns[i].score == before.score)) ++score_changes;
        if (!stepped(turns[i].left.top - before.left.top) || !stepped(turns[i].right.top - before.right.top)) continue;
        ++together;
        EXPECT_TRUE(before.both_held) << "turn " << i;
    }
    EXPECT_GE(together, 20) << "the script holds w and Up together for half a second";
    EXPECT_GT(turns.front().score.count, 0) << "no score at the start";
    EXPECT_EQ(score_changes, 3) << "a point each, then the new game's 0 : 0";
    EXPECT_EQ(turns.back().score, turns.front().score);
}

TEST(DuelReplay, TheScriptReplaysToTheSamePictures) {
    fs::path dir = fs::temp_directory_path() / ("kavro-duel-test-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    test_support::ProgramOutcome first = test_support::run_program(
        KAVRO_REPLAY_TOOL, {KAVRO_DUEL, SCRIPT, "--frames", "every:20", "--out", (dir / "first").string()});
    ASSERT_EQ(first.code, 0) << first.output;
    test_support::ProgramOutcome second = test_support::run_program(
        KAVRO_REPLAY_TOOL, {KAVRO_DUEL, SCRIPT, "--frames", "every:20", "--out", (dir / "second").string(), "--compare",
                            (dir / "first").string()});
    EXPECT_EQ(second.code, 0) << second.output;
    EXPECT_NE(second.output.find(" frames compared, 0 differ"), std::string::npos) << second.output;
    fs::remove_all(dir);
}

}  // namespace
