// Tests of the GIF writer, read back with a decoder that is not our own.
#include "toolkit/gif_writer.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using platform::Bitmap;
using platform::Pixel;

// What a viewer shows after each frame, decoded by an independent reader.
std::vector<Bitmap> decode_frames(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    EXPECT_NE(gif, nullptr) << "giflib error " << error;
    if (!gif) return {};
    std::vector<Bitmap> shown;
    if (DGifSlurp(gif) == GIF_OK) {
        Bitmap screen(gif->SWidth, gif->SHeight);
        for (int f = 0; f < gif->ImageCount; ++f) {
            const SavedImage& image = gif->SavedImages[f];
            GraphicsControlBlock control{};
            control.TransparentColor = NO_TRANSPARENT_COLOR;
            DGifSavedExtensionToGCB(gif, f, &control);
            EXPECT_EQ(control.DisposalMode, DISPOSE_DO_NOT);
            const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
            const GifImageDesc& d = image.ImageDesc;
            for (int y = 0; y < d.Height; ++y)
                for (int x = 0; x < d.Width; ++x) {
                    const int index = image.RasterBits[y * d.Width + x];
                    if (index == control.TransparentColor) continue;
                    EXPECT_LT(index, map->ColorCount);
                    const GifColorType c = map->Colors[index];
                    screen.row(d.Top + y)[d.Left + x] = Pixel{c.Red} << 16 | Pixel{c.Green} << 8 | c.Blue;
                }
            shown.push_back(screen);
        }
    } else {
        ADD_FAILURE() << "giflib cannot read " << path << ": error " << gif->Error;
    }
    DGifCloseFile(gif, &error);
    return shown;
}

std::vector<Bitmap> write_and_decode(const std::string& name, const std::vector<Bitmap>& pictures) {
    const std::string path = test_support::output_path(name);
    kavro::GifWriter writer;
    EXPECT_TRUE(writer.open(path, pictures[0].width, pictures[0].height, 10));
    for (const Bitmap& picture : pictures) EXPECT_TRUE(writer.add_frame(picture));
    EXPECT_EQ(writer.frames(), static_cast<int>(pictures.size()));
    EXPECT_TRUE(writer.close());
    return decode_frames(path);
}

void expect_same_frames(const std::vector<Bitmap>& decoded, const std::vector<Bitmap>& pictures) {
    ASSERT_EQ(decoded.size(), pictures.size());
    for (std::size_t f = 0; f < pictures.size(); ++f) {
        ASSERT_EQ(decoded[f].width, pictures[f].width) << "frame " << f;
        ASSERT_EQ(decoded[f].height, pictures[f].height) << "frame " << f;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < pictures[f].pixels.size(); ++i)
            differing += decoded[f].pixels[i] != pictures[f].pixels[i];
        EXPECT_EQ(differing, 0u) << "frame " << f;
    }
}

Pixel colour_number(std::uint32_t n) { return (n * 0x9E3779B1u) >> 8; }

void fill(Bitmap& b, int left, int top, int right, int bottom, Pixel pixel) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) b.row(y)[x] = pixel;
}

// A scene-like sequence: flat areas of a couple of dozen colours, a block that
// moves, scattered drops, frames that change one pixel or nothing, new colours
// late, a noisy patch long enough to fill the string table, and a whole new picture.
std::vector<Bitmap> animation() {
    std::vector<Bitmap> frames;
    Bitmap b(301, 203, colour_number(0));
    for (int band = 0; band < 20; ++band)
        fill(b, 0, band * 10, 301, band * 10 + 6, colour_number(static_cast<std::uint32_t>(band)));
    frames.push_back(b);
    frames.push_back(b);
    b.row(100)[150] = colour_number(3);
    frames.push_back(b);
    for (int step = 0; step < 3; ++step) {
        fill(b, 40 + 20 * step, 50, 90 + 20 * step, 80, colour_number(21));
        frames.push_back(b);
    }
    std::uint32_t seed = 7;
    for (int drop = 0; drop < 400; ++drop) {
        seed = seed * 1664525u + 1013904223u;
        const int x = static_cast<int>(seed >> 8) % 301;
        const int y = static_cast<int>(seed >> 20) % 198;
        for (int k = 0; k < 5; ++k) b.row(y + k)[x] = colour_number(22 + drop % 3);
    }
    frames.push_back(b);
    frames.push_back(b);
    for (int y = 120; y < 200; ++y)
        for (int x = 10; x < 290; ++x) {
            seed = seed * 1664525u + 1013904223u;
            b.row(y)[x] = colour_number(seed >> 28);
        }
    frames.push_back(b);
    b.row(202)[300] = colour_number(40);
    frames.push_back(b);
    fill(b, 0, 0, 301, 203, colour_number(30));
    frames.push_back(b);
    return frames;
}

TEST(GifWriterFrames, DecodeToExactlyThePicturesGiven) {
    const std::vector<Bitmap> pictures = animation();
    expect_same_frames(write_and_decode("gif_exact.gif", pictures), pictures);
}

TEST(GifWriterFrames, KeepTheCorrectPixelsWhenAllTwoHundredFiftySixColoursAreUsed) {
    // No index is left for transparency; changed rectangles hold every colour.
    Bitmap b(64, 64);
    for (int i = 0; i < 64 * 64; ++i)
        b.pixels[static_cast<std::size_t>(i)] = colour_number(static_cast<std::uint32_t>(i % 256));
    std::vector<Bitmap> pictures{b};
    b.row(0)[0] = colour_number(255);
    b.row(63)[63] = colour_number(0);
    pictures.push_back(b);
    pictures.push_back(b);
    expect_same_frames(write_and_decode("gif_256.gif", pictures), pictures);
}

TEST(GifWriterFrames, OneColourPicturesAndASinglePixel) {
    std::vector<Bitmap> pictures{Bitmap(1, 1, 0x123456), Bitmap(1, 1, 0x123456), Bitmap(1, 1, 0xFFFFFF)};
    expect_same_frames(write_and_decode("gif_one_pixel.gif", pictures), pictures);
    std::vector<Bitmap> flat{Bitmap(40, 30, 0xABCDEF), Bitmap(40, 30, 0xABCDEF)};
    expect_same_frames(write_and_decode("gif_flat.gif", flat), flat);
}

TEST(GifWriterFrames, AFrameOfAnotherSizeIsCutToTheFirst) {
    Bitmap first(20, 10, 0x00FF00);
    Bitmap larger(30, 5, 0x0000FF);
    const std::vector<Bitmap> decoded = write_and_decode("gif_sizes.gif", {first, larger});
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(decoded[1].width, 20);
    EXPECT_EQ(decoded[1].row(4)[19], 0x0000FFu);
    EXPECT_EQ(decoded[1].row(5)[0], 0u);
}

TEST(GifWriterFailure, AnUnwritablePathFailsAtOpen) {
    kavro::GifWriter writer;
    EXPECT_FALSE(writer.open(test_support::output_path("no_such_directory/a.gif"), 4, 4, 10));
    EXPECT_FALSE(writer.add_frame(Bitmap(4, 4)));
    EXPECT_TRUE(writer.close());
}

}  // namespace
