// Tests of fonts: matching, stock fonts, metrics, extents, drawing and clipping text.
#include "platform/drawing/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "support/test_support.h"

namespace {

using platform::Bitmap;
using platform::FontInstance;
using platform::FontRequest;
using platform::Pixel;

constexpr Pixel PAPER = 0x336699;
constexpr Pixel INK = 0x000000;
constexpr Pixel BACKGROUND = 0xFFFF80;

FontRequest request(const char* face, int height, int weight = 400) {
    FontRequest result;
    std::snprintf(result.face, sizeof result.face, "%s", face);
    result.height = height;
    result.weight = weight;
    return result;
}

const FontInstance* font(const char* face, int height, int weight = 400) {
    return platform::find_font(request(face, height, weight));
}

int width_of(const FontInstance* font, const std::string& text) {
    return platform::text_extent(font, text.data(), static_cast<int>(text.size())).width;
}

Bitmap drawn(const FontInstance* font, const std::string& text, int x = 4, int y = 4, bool opaque = false) {
    Bitmap bitmap(200, 60, PAPER);
    platform::draw_text(platform::whole_target(bitmap), font, x, y, text.data(), static_cast<int>(text.size()), INK,
                        opaque, BACKGROUND);
    return bitmap;
}

int count_of(const Bitmap& bitmap, Pixel pixel) {
    int count = 0;
    for (Pixel p : bitmap.pixels) count += p == pixel;
    return count;
}

// Liberation Sans where it is installed (scripts/deps installs it), else DejaVu Sans.
const platform::FontInstance* substitute(int height) { return font("Liberation Sans", height); }

TEST(FontMatching, NameThatIsNotInstalledIsPinnedToLiberationSans) {
    EXPECT_EQ(font("KAVRO-font", 20), substitute(20));
    EXPECT_EQ(font("Arial", 20), substitute(20));
    EXPECT_EQ(font("", 20), substitute(20));
    EXPECT_NE(font("KAVRO-font", 20), font("DejaVu Sans", 20)) << "Liberation Sans is not installed";
    EXPECT_NE(font("DejaVu Serif", 20), font("DejaVu Sans", 20));
    EXPECT_EQ(font("DejaVu Sans", 20), font("DejaVu Sans", 20));
    // Its metrics are the ones the panel's captions were laid out for.
    const char* caption = "How Many?";
    EXPECT_LE(platform::text_extent(font("KAVRO-font", 12), caption, 9).width, 65);
}

TEST(FontMatching, MonospaceNamesArePinnedToDejaVuSansMono) {
    EXPECT_EQ(font("monospace", 14), font("DejaVu Sans Mono", 14));
    EXPECT_EQ(font("Courier New", 14), font("DejaVu Sans Mono", 14));
}

TEST(FontMatching, BoldWeightSelectsHeavierGlyphs) {
    const std::string text = "Welcome";
    EXPECT_NE(font("KAVRO-font", 20, 700), font("KAVRO-font", 20, 400));
    EXPECT_GT(count_of(drawn(font("KAVRO-font", 20, 700), text), INK),
              count_of(drawn(font("KAVRO-font", 20, 400), text), INK));
}

TEST(FontMatching, NegativeHeightMeansItsAbsoluteValue) { EXPECT_EQ(font("KAVRO-font", -28), font("KAVRO-font", 28)); }

TEST(FontMatching, UnterminatedFaceAndExtremeHeightsGiveUsableFonts) {
    FontRequest unterminated;
    std::memset(unterminated.face, 'Z', sizeof unterminated.face);
    EXPECT_EQ(platform::find_font(unterminated), font("KAVRO-font", 0));
    for (int height : {INT_MIN, INT_MAX, 0}) {
        const platform::TextMetrics metrics = platform::text_metrics(font("KAVRO-font", height));
        EXPECT_GT(metrics.height, 0) << height;
        EXPECT_LE(metrics.height, 2 * platform::MAX_FONT_HEIGHT) << height;
    }
}

TEST(StockFonts, FixedFontHasOneAdvanceForEveryPrintableCharacter) {
    const FontInstance* fixed = platform::find_font(platform::fixed_font_request());
    const platform::TextMetrics metrics = platform::text_metrics(fixed);
    EXPECT_GE(metrics.height, 12);
    EXPECT_LE(metrics.height, 14);
    for (int code = 0x20; code < 0x100; ++code) {
        if (code >= 0x7F && code < 0xA0) continue;
        const char character = static_cast<char>(code);
        EXPECT_EQ(platform::text_extent(fixed, &character, 1).width, metrics.average_char_width) << code;
    }
}

TEST(StockFonts, SystemFontIsProportionalWithCellsOfAboutSixteenPixels) {
    const FontInstance* system = platform::find_font(platform::system_font_request());
    const platform::TextMetrics metrics = platform::text_metrics(system);
    EXPECT_GE(metrics.height, 15);
    EXPECT_LE(metrics.height, 18);
    EXPECT_LT(width_of(system, "i"), width_of(system, "W"));
}

TEST(TextMetrics, CellIsAscentPlusDescentAndLeadingIsWhatExceedsTheEm) {
    for (const char* face : {"KAVRO-font", "DejaVu Sans Mono", "DejaVu Serif"}) {
        for (int height : {1, 8, 13, 28, 127}) {
            const platform::TextMetrics metrics = platform::text_metrics(font(face, height));
            EXPECT_EQ(metrics.height, metrics.ascent + metrics.descent) << face << height;
            EXPECT_EQ(metrics.internal_leading, std::max(0, metrics.height - height)) << face << height;
            EXPECT_GE(metrics.external_leading, 0);
            EXPECT_GT(metrics.average_char_width, 0);
            EXPECT_GE(metrics.max_char_width, metrics.average_char_width);
            EXPECT_EQ(platform::text_extent(font(face, height), "x", 1).height, metrics.height);
        }
    }
    const platform::TextMetrics large = platform::text_metrics(font("KAVRO-font", 28));
    EXPECT_GE(large.height, 28);
    EXPECT_LE(large.height, 36);
}

TEST(TextExtent, EmptyTextIsZeroWideAndOneCellHigh) {
    const FontInstance* sans = font("KAVRO-font", 20);
    const int cell = platform::text_metrics(sans).height;
    for (const platform::Size size : {platform::text_extent(sans, "", 0), platform::text_extent(sans, nullptr, 5),
                                      platform::text_extent(sans, "abc", -1)}) {
        EXPECT_EQ(size.width, 0);
        EXPECT_EQ(size.height, cell);
    }
}

TEST(TextExtent, WidthIsTheSumOfThePartsForEveryByte) {
    const FontInstance* sans = font("KAVRO-font", 17);
    std::string every_byte;
    int sum = 0;
    for (int code = 0; code < 256; ++code) {
        every_byte += static_cast<char>(code);
        sum += width_of(sans, std::string(1, static_cast<char>(code)));
    }
    EXPECT_EQ(width_of(sans, every_byte), sum);
    EXPECT_EQ(width_of(sans, "Car 12"), width_of(sans, "Car ") + width_of(sans, "12"));
}

TEST(DrawText, DrawsTheRunAsItsPartsSideBySide) {
    const FontInstance* sans = font("KAVRO-font", 16);
    const std::string head = "W\x01\n\x81";
    const std::string tail = "\xE9\x80y!";
    Bitmap parts = drawn(sans, head, 3, 5);
    platform::draw_text(platform::whole_target(parts), sans, 3 + width_of(sans, head), 5, tail.data(),
                        static_cast<int>(tail.size()), INK, false, 0);
    EXPECT_EQ(drawn(sans, head + tail, 3, 5).pixels, parts.pixels);
}

TEST(DrawText, TransparentWritesOnlyTheTextColour) {
    const Bitmap bitmap = drawn(font("KAVRO-font", 28), "Welcome \xE9");
    EXPECT_GT(count_of(bitmap, INK), 50);
    EXPECT_EQ(count_of(bitmap, INK) + count_of(bitmap, PAPER), static_cast<int>(bitmap.pixels.size()));
}

TEST(DrawText, OpaqueFillsExactlyTheCellBoxAndKeepsItsBaseline) {
    const FontInstance* sans = font("KAVRO-font", 20);
    const platform::TextMetrics metrics = platform::text_metrics(sans);
    const int left = 7, top = 9, width = width_of(sans, "Hello");
    const Bitmap bitmap = drawn(sans, "Hello", left, top, true);
    int lowest_ink_row = -1;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const Pixel pixel = bitmap.row(y)[x];
            const bool in_box = x >= left && x < left + width && y >= top && y < top + metrics.height;
            if (!in_box) {
                ASSERT_EQ(pixel, PAPER) << x << "," << y;
            } else {
                ASSERT_TRUE(pixel == INK || pixel == BACKGROUND) << x << "," << y;
            }
            if (pixel == INK) lowest_ink_row = y;
        }
    }
    EXPECT_EQ(bitmap.row(top)[left], BACKGROUND);
    EXPECT_EQ(bitmap.row(top + metrics.height - 1)[left + width - 1], BACKGROUND);
    EXPECT_EQ(lowest_ink_row, top + metrics.ascent - 1);
}

TEST(DrawText, Cp1252CharactersDrawTheirOwnGlyphs) {
    const FontInstance* sans = font("KAVRO-font", 20);
    const Bitmap e_acute = drawn(sans, "\xE9");
    const Bitmap euro = drawn(sans, "\x80");
    EXPECT_GT(count_of(e_acute, INK), 0);
    EXPECT_GT(count_of(euro, INK), 0);
    EXPECT_NE(e_acute.pixels, drawn(sans, "e").pixels);
    EXPECT_NE(euro.pixels, drawn(sans, "\x81").pixels);
}

TEST(DrawText, ControlAndUndefinedCharactersDrawTheMissingGlyphBox) {
    const FontInstance* sans = font("KAVRO-font", 20);
    const Bitmap box = drawn(sans, "\x81");
    EXPECT_GT(count_of(box, INK), 0);
    for (const char* text : {"\n", "\x01", "\x7F", "\x9D"}) EXPECT_EQ(drawn(sans, text).pixels, box.pixels) << +text[0];
    const std::string nul(1, '\0');
    EXPECT_EQ(drawn(sans, nul).pixels, box.pixels);
}

TEST(DrawText, UnderlineAndStrikeOutSpanTheExtentBelowAndAboveTheBaseline) {
    for (bool underline : {true, false}) {
        FontRequest decorated = request("KAVRO-font", 20);
        decorated.underline = underline;
        decorated.strike_out = !underline;
        const FontInstance* font = platform::find_font(decorated);
        const platform::TextMetrics metrics = platform::text_metrics(font);
        const int width = width_of(font, "   ");
        const Bitmap bitmap = drawn(font, "   ", 10, 10);
        int ink_rows = 0;
        for (int y = 0; y < bitmap.height; ++y) {
            if (bitmap.row(y)[10] != INK) continue;
            ++ink_rows;
            const int baseline = 10 + metrics.ascent;
            EXPECT_TRUE(underline ? y >= baseline && y < 10 + metrics.height : y >= 10 && y < baseline) << y;
            EXPECT_EQ(bitmap.row(y)[9], PAPER);
            EXPECT_EQ(bitmap.row(y)[10 + width - 1], INK);
            EXPECT_EQ(bitmap.row(y)[10 + width], PAPER);
        }
        EXPECT_GE(ink_rows, 1);
        EXPECT_EQ(count_of(bitmap, INK), ink_rows * width);
    }
}

TEST(DrawText, NullFontDrawsInTheDefaultFont) {
    EXPECT_EQ(drawn(nullptr, "Go").pixels, drawn(platform::find_font(FontRequest{}), "Go").pixels);
}

TEST(TextClipping, ClippedRunEqualsTheUnclippedRunInsideTheClip) {
    const FontInstance* sans = font("KAVRO-font", 28);
    const std::string text = "Stop\xE9gj";
    for (int x : {-30, 0, 25, 60}) {
        for (int y : {-20, 3, 30}) {
            const Bitmap whole = drawn(sans, text, x, y, true);
            Bitmap clipped(200, 60, PAPER);
            platform::PixelTarget target = platform::whole_target(clipped);
            target.clip = platform::Rect{20, 10, 70, 40};
            platform::draw_text(target, sans, x, y, text.data(), static_cast<int>(text.size()), INK, true, BACKGROUND);
            for (int row = 0; row < 60; ++row) {
                for (int column = 0; column < 200; ++column) {
                    const bool inside = column >= 20 && column < 70 && row >= 10 && row < 40;
                    ASSERT_EQ(clipped.row(row)[column], inside ? whole.row(row)[column] : PAPER)
                        << x << "," << y << " at " << column << "," << row;
                }
            }
        }
    }
}

TEST(TextClipping, FarAwayCoordinatesWriteNothing) {
    FontRequest decorated = request("KAVRO-font", 28);
    decorated.underline = decorated.strike_out = true;
    const FontInstance* font = platform::find_font(decorated);
    const std::int64_t far[] = {INT64_MIN, INT64_MIN / 2, -(std::int64_t{1} << 40), INT_MIN,       -5000,
                                5000,      INT_MAX,       std::int64_t{1} << 40,    INT64_MAX / 2, INT64_MAX};
    Bitmap bitmap(64, 32, PAPER);
    for (std::int64_t x : far) {
        for (std::int64_t y : far) {
            platform::draw_text(platform::whole_target(bitmap), font, x, y, "Welcome", 7, INK, true, BACKGROUND);
            platform::draw_text(platform::whole_target(bitmap), font, x, 0, "Welcome", 7, INK, true, BACKGROUND);
            platform::draw_text(platform::whole_target(bitmap), font, 0, y, "Welcome", 7, INK, true, BACKGROUND);
        }
    }
    EXPECT_EQ(count_of(bitmap, PAPER), 64 * 32);
}

TEST(TextClipping, EmptyTargetsAndNegativeLengthsWriteNothing) {
    Bitmap bitmap(20, 20, PAPER);
    platform::PixelTarget target = platform::whole_target(bitmap);
    platform::draw_text(target, nullptr, 0, 0, "Go", -1, INK, true, BACKGROUND);
    platform::draw_text(target, nullptr, 0, 0, nullptr, 2, INK, false, BACKGROUND);
    target.clip = platform::Rect{10, 10, 5, 20};
    platform::draw_text(target, nullptr, 0, 0, "Go", 2, INK, true, BACKGROUND);
    platform::draw_text(platform::PixelTarget{}, nullptr, 0, 0, "Go", 2, INK, true, BACKGROUND);
    EXPECT_EQ(count_of(bitmap, PAPER), 400);
}

TEST(FontSamples, WritesASampleSheetOfSeveralFontsAndSizes) {
    Bitmap sheet(800, 420, 0xFFFFFF);
    const platform::PixelTarget target = platform::whole_target(sheet);
    const std::string sample = "Welcome to HW-731... (kind of) Car 12 \xE9\x80\xC4\xDF";
    int y = 4;
    auto line = [&](const FontRequest& request, Pixel ink, bool opaque) {
        const FontInstance* font = platform::find_font(request);
        platform::draw_text(target, font, 4, y, sample.data(), static_cast<int>(sample.size()), ink, opaque, 0xFFF0A0);
        y += platform::text_metrics(font).height + 3;
    };
    for (const char* face : {"KAVRO-font", "DejaVu Sans Mono", "DejaVu Serif"}) {
        for (int height : {10, 13, 20, 28}) line(request(face, height), 0x000000, height == 20);
    }
    FontRequest styled = request("KAVRO-font", 20, 700);
    styled.italic = styled.underline = styled.strike_out = true;
    line(styled, 0xC00000, false);
    line(platform::system_font_request(), 0x0000C0, false);
    line(platform::fixed_font_request(), 0x006000, false);
    EXPECT_FALSE(test_support::save_picture(sheet, "font_samples.png").empty());
}

}  // namespace
