// The palette example on the headless toolkit: one row in each colour.
#include "platform/core/message_queue.h"
#include "support/test_support.h"
#include "support/toolkit_fixture.h"

extern "C" int palette_main(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
                            int show_mode);

using PalettePicture = test_support::ToolkitTest;

TEST_F(PalettePicture, DrawsEveryColourAndWritesAPictureToLookAt) {
    headless->schedule(100, [] { platform::post_quit_message(0); });
    EXPECT_EQ(palette_main(nullptr, nullptr, "", KAVRO_SHOW_NORMAL), 0);
    // The disc column holds each colour at its row's centre.
    for (int color = 0; color < KAVRO_COLOR_COUNT; ++color)
        EXPECT_EQ(canvas_at(-45, 195 - color * 19), kavro::color_value(color)) << "colour " << color;
    EXPECT_TRUE(messages().empty()) << "no correction messages expected";
    EXPECT_NE(test_support::save_picture(canvas(), "palette.png"), "");
}
