/* A small KAVRO program: asks the user's name, greets them and waits until
 * the user quits. */
#include "greeting_picture.h"

#include <kavro.h>

int KAVRO_main(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line, int show_mode) {
    char name[GREETING_NAME_SIZE];
    int x, y;
    char key;
    KAVRO_open(instance, previous_instance, command_line, show_mode);
    KAVRO_logging(0);
    KAVRO_clear();
    ask_name(name);
    draw_greeting(name);
    while (KAVRO_await_event(&x, &y, &key) != KAVRO_QUIT) {
    }
    KAVRO_close();
    return 0;
}
