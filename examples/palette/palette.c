/* palette: every drawing call in every colour, one row per colour with its
 * index and name, until the user quits.
 *
 * Written with the four-argument entry KAVRO_main instead of main: link
 * KAVRO::kavro_main (pkg-config: kavro-main) before KAVRO::kavro, and the
 * toolkit's main calls KAVRO_main with the start parameters to hand on to
 * KAVRO_open. */
#include <kavro.h>

static const char* const COLOR_NAMES[KAVRO_COLOR_COUNT] = {
    "black",  "white",     "red",        "green",        "blue",      "yellow", "magenta",  "cyan",
    "purple", "navy blue", "dusty plum", "ice blue",     "turquoise", "orange", "brown",    "pink",
    "chalk",  "gold",      "peach",      "forest green", "sea green", "olive",  "50% gray", "20% gray"};

static void draw_palette(void) {
    int color;
    KAVRO_rectangle(KAVRO_GRAY_20, -300, 255, 300, -255, 0);
    KAVRO_text(KAVRO_BLACK, -290, 232, 14, "KAVRO colours and primitives");
    KAVRO_text(KAVRO_BLACK, -90, 214, 10, "pixel   disc   triangle   box   outline   oval   ring   line   wide");
    for (color = 0; color < KAVRO_COLOR_COUNT; ++color) {
        int y = 195 - color * 19; /* the row's centre line */
        KAVRO_text(KAVRO_BLACK, -290, y - 6, 11, "%2d %s", color, COLOR_NAMES[color]);
        KAVRO_pixel(color, -85, y);
        KAVRO_pixel(color, -84, y);
        KAVRO_pixel(color, -85, y - 1);
        KAVRO_pixel(color, -84, y - 1);
        KAVRO_circle(color, -45, y, 7);
        KAVRO_triangle(color, -15, y - 7, 15, y - 7, 0, y + 7, 0);
        KAVRO_rectangle(color, 30, y + 7, 55, y - 7, 0); /* width 0: filled */
        KAVRO_rectangle(color, 70, y + 7, 95, y - 7, 1); /* width 1: outline */
        KAVRO_oval(color, 110, y + 7, 140, y - 7, 0);
        KAVRO_oval(color, 155, y + 7, 185, y - 7, 2);
        KAVRO_line(color, 200, y - 6, 230, y + 6, 0);
        KAVRO_line(color, 245, y - 6, 285, y + 6, 3);
    }
}

int KAVRO_main(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line, int show_mode) {
    int x, y;
    char key;
    KAVRO_open(instance, previous_instance, command_line, show_mode);
    KAVRO_logging(0);
    KAVRO_clear();
    draw_palette();
    while (KAVRO_await_event(&x, &y, &key) != KAVRO_QUIT) {
    }
    KAVRO_close();
    return 0;
}
