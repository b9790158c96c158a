/* A small KAVRO program for the replay tests: a red ball that moves right on
 * every tick and jumps to a click; the key q ends the program, c crashes it. */
#include <kavro.h>
#include <stdlib.h>

int main(void) {
    int x = -200, y = 0, event_x, event_y;
    char key;
    KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL);
    KAVRO_logging(0);
    for (;;) {
        int kind;
        KAVRO_clear();
        KAVRO_circle(KAVRO_RED, x, y, 10);
        kind = KAVRO_await_event(&event_x, &event_y, &key);
        if (kind == KAVRO_QUIT || (kind == KAVRO_KBD && key == 'q')) break;
        if (kind == KAVRO_KBD && key == 'c') abort();
        if (kind == KAVRO_PERIODIC) x += 5;
        if (kind == KAVRO_MOUSE) {
            x = event_x;
            y = event_y;
        }
    }
    KAVRO_close();
    return 0;
}
