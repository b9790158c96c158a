/* A program as a user writes it against the installed package: a plain
 * main, <kavro.h>, a picture, the event loop. */
#include <kavro.h>

int main(void) {
    int x, y;
    char key;
    KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL);
    KAVRO_logging(0);
    KAVRO_clear();
    KAVRO_rectangle(KAVRO_RED, -100, 100, 100, -100, 0);
    KAVRO_circle(KAVRO_BLUE, 0, 0, 20);
    while (KAVRO_await_event(&x, &y, &key) != KAVRO_QUIT) {
    }
    KAVRO_close();
    return 0;
}
