/* Every drawing primitive in every colour: one row per colour with its name. */
#include "palette_picture.h"

#include <kavro.h>

static const char* const COLOR_NAMES[KAVRO_COLOR_COUNT] = {
    "black", "white", "red", "green", "blue", "yellow", "magenta", "cyan",
    "purple", "navy blue", "dusty plum", "ice blue", "turquoise", "orange", "brown", "pink",
    "chalk", "gold", "peach", "forest green", "sea green", "olive", "50% gray", "20% gray"};

void draw_palette(void) {
    int color;
    KAVRO_rectangle(KAVRO_GRAY_20, -300, 255, 300, -255, 0);
    KAVRO_text(KAVRO_BLACK, -290, 232, 14, "KAVRO colours and primitives");
    KAVRO_text(KAVRO_BLACK, -90, 214, 10, "pixel   disc   triangle   box   outline   oval   ring   line   wide");
    for (color = 0; color < KAVRO_COLOR_COUNT; ++color) {
        int y = 195 - color * 19;
        KAVRO_text(KAVRO_BLACK, -290, y - 6, 11, "%2d %s", color, COLOR_NAMES[color]);
        KAVRO_pixel(color, -85, y);
        KAVRO_pixel(color, -84, y);
        KAVRO_pixel(color, -85, y - 1);
        KAVRO_pixel(color, -84, y - 1);
        KAVRO_circle(color, -45, y, 7);
        KAVRO_triangle(color, -15, y - 7, 15, y - 7, 0, y + 7, 0);
        KAVRO_rectangle(color, 30, y + 7, 55, y - 7, 0);
        KAVRO_rectangle(color, 70, y + 7, 95, y - 7, 1);
        KAVRO_oval(color, 110, y + 7, 140, y - 7, 0);
        KAVRO_oval(color, 155, y + 7, 185, y - 7, 2);
        KAVRO_line(color, 200, y - 6, 230, y + 6, 0);
        KAVRO_line(color, 245, y - 6, 285, y + 6, 3);
    }
}
