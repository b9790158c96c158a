// Tests of kavro-replay run as a program: frames and the GIF, comparison,
// exit codes and hostile input.
#include "tools/replay.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/drawing/png.h"
#include "support/test_support.h"
#include "tools/compare.h"

namespace fs = std::filesystem;

namespace {

using Outcome = test_support::ProgramOutcome;

class Replay : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kavro-replay-test-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write_script(const std::string& text, const char* name = "script.scr") {
        std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // kavro-replay as a user runs it.
    Outcome run(const std::vector<std::string>& args) { return test_support::run_program(KAVRO_REPLAY_TOOL, args); }
    platform::Bitmap frame(const fs::path& dir, int number) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", number);
        platform::Bitmap picture;
        EXPECT_TRUE(platform::read_png((dir / name).c_str(), picture)) << name;
        return picture;
    }
    // The pixel under application point (x, y) of a frame.
    static platform::Pixel at(const platform::Bitmap& picture, int x, int y) {
        return picture.row(picture.height / 2 - y)[picture.width / 2 + x] & 0xFFFFFF;
    }

    fs::path dir_;
};

constexpr platform::Pixel RED = 0xFF0000;
const std::string TARGET = KAVRO_REPLAY_TARGET;

TEST_F(Replay, AnyProgramReplaysToTheChosenFramesAndAGif) {
    std::string script = write_script("KAVRO_PERIODIC(4);\n\nKAVRO_MOUSE(50, 60);\nKAVRO_PERIODIC(2);\n");
    fs::path out = dir_ / "frames";
    Outcome r = run({TARGET, script, "--frames", "0,4,5,8", "--out", out.string(), "--gif", (dir_ / "a.gif").string()});
    ASSERT_EQ(r.code, 0) << r.output;
    // Seven script events, then one more turn for the close box.
    EXPECT_NE(r.output.find("turns: 8, frames written: 4"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("script: 7 events played, 1 blank lines skipped"), std::string::npos) << r.output;
    EXPECT_EQ(at(frame(out, 0), -200, 0), RED);
    EXPECT_EQ(at(frame(out, 4), -180, 0), RED);
    EXPECT_EQ(at(frame(out, 5), 50, 60), RED);
    EXPECT_FALSE(fs::exists(out / "frame-000001.png"));
    EXPECT_GT(fs::file_size(dir_ / "a.gif"), 100u);
    EXPECT_FALSE(fs::exists("KAVRO.SCR")) << "nothing is written into the current directory";
}

TEST_F(Replay, CompareFindsEqualFramesAndTheFirstDifferingOne) {
    std::string script = write_script("KAVRO_PERIODIC(3);\nKAVRO_MOUSE(0, 0);\n");
    fs::path reference = dir_ / "reference";
    ASSERT_EQ(run({TARGET, script, "--out", reference.string()}).code, 0);
    Outcome same = run({TARGET, script, "--out", (dir_ / "a").string(), "--compare", reference.string()});
    EXPECT_EQ(same.code, 0) << same.output;
    EXPECT_NE(same.output.find("6 frames compared, 0 differ\n"), std::string::npos) << same.output;

    platform::Bitmap changed = frame(reference, 2);
    changed.row(1)[1] = 0x123456;
    ASSERT_TRUE(platform::write_png((reference / "frame-000002.png").c_str(), changed));
    fs::remove(reference / "frame-000004.png");
    Outcome differs = run({TARGET, script, "--out", (dir_ / "b").string(), "--compare", reference.string()});
    EXPECT_EQ(differs.code, replay::EXIT_FRAMES_DIFFER);
    EXPECT_NE(differs.output.find("6 frames compared, 2 differ; first: frame 2, 1 pixels"), std::string::npos)
        << differs.output;
    EXPECT_NE(differs.output.find("no reference picture"), std::string::npos);
    platform::Bitmap difference;
    ASSERT_TRUE(platform::read_png((dir_ / "b" / "frame-000002-difference.png").c_str(), difference));
    EXPECT_EQ(difference.row(1)[1] & 0xFFFFFF, RED);
    EXPECT_NE(difference.row(5)[5] & 0xFFFFFF, RED);
}

TEST_F(Replay, ProgramsThatEndEarlyCrashOrAreNoKavroProgramGetTheirOwnExitCodes) {
    std::string gif = (dir_ / "a.gif").string();
    Outcome early = run({TARGET, write_script("KAVRO_PERIODIC(2);\nKAVRO_KBD(113);\nKAVRO_PERIODIC(9);\n"), "--frames",
                         "0", "--out", dir_.string()});
    EXPECT_EQ(early.code, replay::EXIT_ENDED_EARLY) << early.output;
    EXPECT_NE(early.output.find("ended by itself after 3 turns"), std::string::npos) << early.output;

    Outcome crash = run({TARGET, write_script("KAVRO_PERIODIC(2);\nKAVRO_KBD(99);\n"), "--gif", gif});
    EXPECT_EQ(crash.code, replay::EXIT_PROGRAM_FAILED) << crash.output;
    EXPECT_FALSE(fs::exists(gif)) << "a GIF cut short is removed";

    Outcome other = run({"/bin/true", write_script("KAVRO_PERIODIC(1);\n")});
    EXPECT_EQ(other.code, replay::EXIT_PROGRAM_FAILED);
    EXPECT_NE(other.output.find("is it a KAVRO program?"), std::string::npos) << other.output;
}

TEST_F(Replay, HostileInputIsBoundedAndSaidInOneLine) {
    std::string endless = write_script("KAVRO_PERIODIC(2147483647);\n");
    Outcome bound = run({TARGET, endless, "--max-turns", "30", "--out", dir_.string()});
    EXPECT_EQ(bound.code, replay::EXIT_BOUND_REACHED) << bound.output;
    EXPECT_NE(bound.output.find("stopped after 30 turns (--max-turns)"), std::string::npos) << bound.output;
    Outcome frames = run({TARGET, endless, "--max-frames", "5", "--out", (dir_ / "f").string()});
    EXPECT_EQ(frames.code, replay::EXIT_BOUND_REACHED) << frames.output;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "f"), fs::directory_iterator()), 5);

    Outcome time = run({TARGET, endless, "--start-time", "9223372036854775807"});
    EXPECT_EQ(time.code, replay::EXIT_BAD_INPUT);
    EXPECT_NE(time.output.find("from 0 to 253402300799"), std::string::npos) << time.output;
    std::string gif = (dir_ / "no-such-dir" / "a.gif").string();
    Outcome unwritable = run({TARGET, endless, "--gif", gif});
    EXPECT_EQ(unwritable.code, replay::EXIT_BAD_INPUT);
    EXPECT_NE(unwritable.output.find("cannot write " + gif), std::string::npos) << unwritable.output;
    EXPECT_EQ(run({TARGET, (dir_ / "missing.scr").string()}).code, replay::EXIT_BAD_INPUT);
    EXPECT_EQ(run({"x.scr", "--frames", "every:0"}).code, replay::EXIT_BAD_INPUT);
    EXPECT_EQ(run({"x.scr", "--bogus"}).code, replay::EXIT_BAD_INPUT);

    Outcome binary = run({TARGET,
                          write_script(std::string("\x7f"
                                                   "ELF\x02\x01\x01\0\0\0\n\x03\x00>\0",
                                                   16)),
                          "--frames", "0", "--out", dir_.string()});
    EXPECT_EQ(binary.code, 0) << binary.output;
    EXPECT_NE(binary.output.find("playback stopped at line 1, which is no event line"), std::string::npos)
        << binary.output;

    Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.output.rfind("usage: kavro-replay [PROGRAM] SCRIPT", 0), 0u) << help.output;
}

TEST_F(Replay, DemoFramesOfTheBridgeMatchTheirReferencePictures) {
    fs::path demo = fs::path(KAVRO_SOURCE_DIR) / "examples" / "demo.scr";
    fs::path golden = fs::path(KAVRO_SOURCE_DIR) / "tests" / "tools" / "golden";
    fs::path out = dir_ / "demo";
    Outcome r = run({demo.string(), "--frames", "0,150,330,400", "--out", out.string()});
    ASSERT_EQ(r.code, 0) << r.output;
    for (int number : {0, 150, 330, 400}) {
        platform::Bitmap expected = frame(golden, number), actual = frame(out, number);
        std::int64_t differing = replay::differing_pixels(actual, expected);
        // A little room for glyph rendering differences between FreeType builds.
        if (differing > 200) {
            test_support::save_picture(actual, "actual-frame-" + std::to_string(number) + ".png");
            test_support::save_picture(replay::difference_picture(actual, expected),
                                       "difference-frame-" + std::to_string(number) + ".png");
        }
        EXPECT_LE(differing, 200) << number << ": see the pictures in " << test_support::output_dir();
    }
}

}  // namespace
