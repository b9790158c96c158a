// Tests of the picture writer's thread: every picture in order, and a failed output.
#include "toolkit/picture_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/drawing/png.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::Bitmap;

fs::path fresh_dir(const std::string& name) {
    fs::path dir = test_support::output_path(name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(PictureWriterOutputs, EveryPictureSubmittedIsWrittenInOrder) {
    const fs::path dir = fresh_dir("picture_writer_order");
    kavro::PictureWriter writer((dir / "a.gif").string(), dir.string(), 10);
    std::vector<Bitmap> pictures;
    for (int i = 0; i < 12; ++i) {
        pictures.emplace_back(9, 7, 0x102030u * static_cast<unsigned>(i % 5));
        writer.submit(i * 3, pictures.back());
    }
    const kavro::PictureWriter::Result result = writer.finish();
    EXPECT_EQ(result.failed_path, "");
    ASSERT_EQ(result.png_frames.size(), pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(result.png_frames[i], static_cast<std::int64_t>(i) * 3);
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06zu.png", i * 3);
        Bitmap read;
        ASSERT_TRUE(platform::read_png((dir / name).c_str(), read)) << name;
        EXPECT_EQ(read.pixels, pictures[i].pixels) << name;
    }
    EXPECT_GT(fs::file_size(dir / "a.gif"), 0u);
}

TEST(PictureWriterOutputs, AFailedOutputIsReportedAndStopsTheRest) {
    const fs::path dir = fresh_dir("picture_writer_failure");
    kavro::PictureWriter writer("", (dir / "missing").string(), 10);
    for (int i = 0; i < 6; ++i) writer.submit(i, Bitmap(4, 4));
    const kavro::PictureWriter::Result result = writer.finish();
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(result.failed_path, (dir / "missing" / "frame-000000.png").string());
    EXPECT_TRUE(result.png_frames.empty());
    EXPECT_EQ(writer.finish().failed_path, result.failed_path) << "finish is idempotent";
}

}  // namespace
