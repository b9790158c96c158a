#include "tools/replay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/png.h"
#include "platform/window.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

class Replay : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kavro-replay-test-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write_script(const std::string& text) {
        std::string path = (dir_ / "script.scr").string();
        std::ofstream(path) << text;
        return path;
    }
    int run(std::vector<std::string> args) {
        std::vector<const char*> argv{"kavro-replay"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        replay::ReplayOptions options;
        std::string error;
        if (!replay::parse_arguments(static_cast<int>(argv.size()), argv.data(), options, error)) {
            err_ << error;
            return 2;
        }
        out_.str("");
        err_.str("");
        return replay::run_replay(options, out_, err_);
    }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

// Pixels that differ by more than a small amount per channel.
int differing_pixels(const platform::Bitmap& a, const platform::Bitmap& b, platform::Bitmap& difference) {
    difference = platform::Bitmap(a.width, a.height, 0xFFFFFF);
    int count = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            platform::Pixel p = a.row(y)[x];
            platform::Pixel q = b.row(y)[x];
            int worst = 0;
            for (int shift : {0, 8, 16})
                worst = std::max(worst, std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF)));
            if (worst > 8) {
                ++count;
                difference.row(y)[x] = 0xFF0000;
            }
        }
    return count;
}

}  // namespace

TEST_F(Replay, WritesTheChosenFramesAndCountsTurns) {
    std::string script = write_script("KAVRO_PERIODIC(5);\nKAVRO_MOUSE(-257, 107);\nKAVRO_PERIODIC(4);\n");
    fs::path out = dir_ / "frames";
    ASSERT_EQ(run({script, "--frames", "0,2,9-11", "--out", out.string()}), 0) << err_.str();
    // Ten script events, then one more turn for the close box.
    EXPECT_NE(out_.str().find("turns: 11"), std::string::npos) << out_.str();
    for (const char* name : {"frame-000000.png", "frame-000002.png", "frame-000009.png", "frame-000010.png",
                             "frame-000011.png"})
        EXPECT_TRUE(fs::exists(out / name)) << name;
    EXPECT_FALSE(fs::exists(out / "frame-000001.png"));
    EXPECT_FALSE(fs::exists(out / "frame-000012.png"));
    platform::Bitmap frame;
    ASSERT_TRUE(platform::read_png((out / "frame-000000.png").c_str(), frame));
    EXPECT_EQ(frame.width, 601 - 2 * platform::FIXED_BORDER) << "the client area, inside the frame";
}

TEST_F(Replay, ThenRunAnimatesAfterPlaybackAndNeverTouchesTheUsersScript) {
    std::string script = write_script("KAVRO_PERIODIC(3);\n");
    fs::path out = dir_ / "frames";
    std::string before;
    ASSERT_EQ(run({script, "--then-run", "20", "--frames", "all", "--gif", (dir_ / "a.gif").string()}), 0) << err_.str();
    EXPECT_NE(out_.str().find("turns: 24"), std::string::npos) << out_.str();
    EXPECT_TRUE(fs::exists(dir_ / "a.gif"));
    EXPECT_GT(fs::file_size(dir_ / "a.gif"), 1000u);
    std::ifstream in(script);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "KAVRO_PERIODIC(3);\n");
    EXPECT_FALSE(fs::exists("KAVRO.SCR")) << "nothing is written into the current directory";
}

TEST_F(Replay, SameStartTimeGivesTheSamePictures) {
    std::string script = write_script("KAVRO_PERIODIC(60);\n");
    ASSERT_EQ(run({script, "--frames", "60", "--start-time", "1234", "--out", (dir_ / "a").string()}), 0);
    ASSERT_EQ(run({script, "--frames", "60", "--start-time", "1234", "--out", (dir_ / "b").string()}), 0);
    platform::Bitmap a, b, difference;
    ASSERT_TRUE(platform::read_png((dir_ / "a/frame-000060.png").c_str(), a));
    ASSERT_TRUE(platform::read_png((dir_ / "b/frame-000060.png").c_str(), b));
    EXPECT_EQ(a.pixels, b.pixels);
}

TEST_F(Replay, BadInputGivesExitCodeTwoWithAMessage) {
    EXPECT_EQ(run({(dir_ / "missing.scr").string()}), 2);
    EXPECT_NE(err_.str().find("cannot read script"), std::string::npos);
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"x.scr", "--bogus"}), 2);
    EXPECT_EQ(run({"x.scr", "--frames", "every:0"}), 2);
    EXPECT_EQ(run({"x.scr", "--then-run", "-3"}), 2);
    std::string script = write_script("KAVRO_PERIODIC(1);\n");
    std::ofstream(dir_ / "file") << "x";
    EXPECT_EQ(run({script, "--out", (dir_ / "file" / "sub").string()}), 2);
    EXPECT_EQ(run({script, "--gif", (dir_ / "no-such-dir" / "a.gif").string()}), 2);
}

TEST_F(Replay, DemoFramesMatchTheirReferencePictures) {
    fs::path demo = fs::path(KAVRO_SOURCE_DIR) / "examples" / "demo.scr";
    fs::path golden = fs::path(KAVRO_SOURCE_DIR) / "tests" / "tools" / "golden";
    fs::path out = dir_ / "demo";
    ASSERT_EQ(run({demo.string(), "--frames", "0,150,330,400", "--out", out.string()}), 0) << err_.str();
    for (const char* name : {"frame-000000.png", "frame-000150.png", "frame-000330.png", "frame-000400.png"}) {
        platform::Bitmap expected, actual, difference;
        ASSERT_TRUE(platform::read_png((golden / name).c_str(), expected)) << name;
        ASSERT_TRUE(platform::read_png((out / name).c_str(), actual)) << name;
        ASSERT_EQ(actual.width, expected.width);
        ASSERT_EQ(actual.height, expected.height);
        int differing = differing_pixels(expected, actual, difference);
        // A little room for glyph rendering differences between FreeType builds.
        if (differing > 200) {
            test_support::save_picture(actual, std::string("actual-") + name);
            test_support::save_picture(difference, std::string("difference-") + name);
        }
        EXPECT_LE(differing, 200) << name << ": see actual- and difference- pictures in " << test_support::output_dir();
    }
}
