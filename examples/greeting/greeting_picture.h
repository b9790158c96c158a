/* Asks the user's name and greets them on the canvas. */
#ifndef GREETING_PICTURE_H
#define GREETING_PICTURE_H

#include <kavro.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Room KAVRO_gets needs for an answer. */
#define GREETING_NAME_SIZE 256
/* The greeting's colour, point size and lower-left corner. */
#define GREETING_COLOR KAVRO_PURPLE
#define GREETING_POINT_SIZE 32
#define GREETING_LEFT (-270)
#define GREETING_BOTTOM 10

/* Fills name with the answer to "What is your name?"; an empty answer, or a
 * dialog that could not be shown, gives "stranger". Returns what KAVRO_gets
 * returned. */
int ask_name(char name[GREETING_NAME_SIZE]);
/* Clears the canvas and draws "Hello, NAME!" with a hint below it. */
void draw_greeting(const char* name);

#ifdef __cplusplus
}
#endif

#endif
