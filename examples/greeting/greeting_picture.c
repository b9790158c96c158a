/* The greeting: the name comes from the prompt dialog, the text goes on the canvas. */
#include "greeting_picture.h"

#include <string.h>

int ask_name(char name[GREETING_NAME_SIZE]) {
    int shown;
    name[0] = '\0';
    shown = KAVRO_gets("What is your name?", name);
    /* The dialog leaves the buffer alone when it cannot run. */
    if (!shown || name[0] == '\0') strcpy(name, "stranger");
    return shown;
}

void draw_greeting(const char* name) {
    KAVRO_clear();
    KAVRO_text(GREETING_COLOR, GREETING_LEFT, GREETING_BOTTOM, GREETING_POINT_SIZE, "Hello, %s!", name);
    KAVRO_text(KAVRO_GRAY_50, GREETING_LEFT, GREETING_BOTTOM - 40, 12, "Close the window or press Ctrl+Q to quit.");
}
