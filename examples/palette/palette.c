/* A small KAVRO program: shows the palette picture until the user quits. */
#include "palette_picture.h"

#include <kavro.h>

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
