// A session recorded live and its replay give the same pictures, turn for
// turn, with cars entering by the time-seeded random numbers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "platform/core/window.h"
#include "platform/ui/platform_reset.h"
#include "scene/main_loop.h"
#include "toolkit/inspect.h"
#include "toolkit/program_backend.h"
#include "toolkit/replay_driver.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t CALENDAR_START = 1'700'000'000;

std::uint64_t picture_hash(const platform::Bitmap& picture) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (platform::Pixel p : picture.pixels) hash = (hash ^ (p & 0xFFFFFF)) * 1099511628211ULL;
    return hash;
}

std::vector<std::uint64_t> run_scene_to_the_end() {
    std::vector<std::uint64_t> frames;
    bridge::SceneRecords records{};
    bridge::start_up(records, nullptr, nullptr, "", KAVRO_SHOW_NORMAL);
    frames.push_back(picture_hash(kavro::visible_canvas()));
    while (!bridge::run_turn(records)) frames.push_back(picture_hash(kavro::visible_canvas()));
    frames.push_back(picture_hash(kavro::visible_canvas()));
    KAVRO_close();
    return frames;
}

// Clicks on the panel and its sub-menus and typed letters at random moments
// of a session of `seconds` virtual seconds, all recorded from the start.
std::vector<std::uint64_t> record_session(unsigned seed, int seconds) {
    kavro::reset_toolkit_state();
    platform::reset_platform();
    platform::HeadlessBackend& headless = platform::install_headless_backend(platform::Size{1024, 768}, CALENDAR_START);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> when(1, seconds * 1000 - 1), x(-295, -120), y(-130, 130), letter('a', 'z');
    for (int i = 0; i < seconds / 2; ++i) {
        int at = when(random), px = x(random), py = y(random);
        char typed[2] = {static_cast<char>(letter(random)), 0};
        headless.schedule(at, [px, py] {
            platform::Point origin = kavro::canvas_origin();
            platform::inject_click(kavro::graphics_window(), origin.x + px, origin.y - py);
        });
        if (i % 4 == 0)
            headless.schedule(at + 7, [typed] {
                platform::inject_focus(kavro::graphics_window());
                platform::inject_text(typed);
            });
    }
    headless.schedule(seconds * 1000, [] { platform::inject_close(kavro::graphics_window()); });
    kavro::set_recording(true);
    return run_scene_to_the_end();
}

std::vector<std::uint64_t> replay_session() {
    kavro::reset_toolkit_state();
    platform::reset_platform();
    platform::install_headless_backend();
    kavro::ReplaySettings settings;
    settings.script = kavro::SCRIPT_FILE_NAME;
    settings.start_time = CALENDAR_START;
    std::string ignored;
    std::vector<std::uint64_t> frames;
    settings.frames.parse("all", ignored);
    settings.frame_observer = [&frames](std::int64_t, const platform::Bitmap& picture) {
        frames.push_back(picture_hash(picture));
    };
    kavro::start_replay(std::move(settings));
    std::vector<std::uint64_t> drawn = run_scene_to_the_end();
    kavro::ReplayOutcome outcome = kavro::finish_replay();
    EXPECT_TRUE(outcome.playback_finished);
    EXPECT_EQ(outcome.stopped_at_line, 0);
    EXPECT_EQ(frames, drawn) << "the driver keeps the picture after every turn";
    return drawn;
}

TEST(ReplayIdentity, RecordedSessionsReplayToTheSamePictures) {
    fs::path scratch = fs::temp_directory_path() / ("kavro-identity-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    fs::path home = fs::current_path();
    fs::current_path(scratch);
    for (unsigned seed : {1u, 2u}) {
        std::vector<std::uint64_t> live = record_session(seed, 120);
        std::vector<std::uint64_t> replayed = replay_session();
        ASSERT_GT(live.size(), 1000u);
        ASSERT_EQ(replayed.size(), live.size()) << "seed " << seed;
        for (std::size_t i = 0; i < live.size(); ++i)
            ASSERT_EQ(replayed[i], live[i]) << "seed " << seed << ", frame " << i;
    }
    fs::current_path(home);
    fs::remove_all(scratch);
}

}  // namespace
