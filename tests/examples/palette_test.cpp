#include "support/test_support.h"
#include "support/toolkit_fixture.h"

#include "palette_picture.h"

using PalettePicture = test_support::ToolkitTest;

TEST_F(PalettePicture, DrawsEveryColourAndWritesAPictureToLookAt) {
    open_toolkit();
    KAVRO_logging(0);
    KAVRO_clear();
    draw_palette();
    // The disc column holds each colour at its row's centre.
    for (int color = 0; color < KAVRO_COLOR_COUNT; ++color)
        EXPECT_EQ(canvas_at(-45, 195 - color * 19), kavro::COLOR_TABLE[color].value) << "colour " << color;
    EXPECT_TRUE(messages().empty()) << "no correction messages expected";
    EXPECT_NE(test_support::save_picture(canvas(), "palette.png"), "");
}
