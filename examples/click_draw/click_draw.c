/* click_draw: every click leaves a dot, joined to the previous one by a line.
 * The key c clears the picture; a digit picks one of ten colours.
 *
 * The canvas keeps whatever was drawn on it, so this program draws only the
 * new dot and line after each click and never has to remember the old ones. */
#include <kavro.h>

#define DOT_RADIUS 4

static void draw_help(void) {
    KAVRO_text(KAVRO_GRAY_50, -285, -235, 12, "Click to draw.  0-9: colour   c: clear   Ctrl+Q: quit");
}

int main(void) {
    int color = KAVRO_BLUE;
    int have_previous = 0; /* no line before the first dot */
    int previous_x = 0, previous_y = 0;
    int x, y;
    char key;

    KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL);
    KAVRO_logging(0);
    KAVRO_clear(); /* a fresh canvas is not blank until it is cleared */
    draw_help();

    for (;;) {
        int kind = KAVRO_await_event(&x, &y, &key);
        if (kind == KAVRO_QUIT) break;
        if (kind == KAVRO_MOUSE) {
            /* x and y are where the click was, in the same coordinates as drawing. */
            if (have_previous) KAVRO_line(color, previous_x, previous_y, x, y, 2);
            KAVRO_circle(color, x, y, DOT_RADIUS);
            previous_x = x;
            previous_y = y;
            have_previous = 1;
        } else if (kind == KAVRO_KBD && key == 'c') {
            KAVRO_clear();
            draw_help();
            have_previous = 0;
        } else if (kind == KAVRO_KBD && key >= '0' && key <= '9') {
            /* Colour 1 is white, the background: 0 gives black, the others 2 to 10. */
            color = key == '0' ? KAVRO_BLACK : key - '0' + 1;
        }
    }
    KAVRO_close();
    return 0;
}
