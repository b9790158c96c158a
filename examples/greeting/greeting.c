/* greeting: asks the user's name in a dialog, greets them on the canvas and
 * waits until the user quits. */
#include <kavro.h>
#include <string.h>

#define NAME_SIZE 100

int main(void) {
    char name[NAME_SIZE] = "";
    int x, y;
    char key;

    KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL);
    KAVRO_logging(0);
    KAVRO_clear();

    /* The dialog waits until the user presses Okay or Enter. Giving the
     * buffer's size keeps a long answer from running past its end. */
    if (!KAVRO_gets_n("What is your name?", name, sizeof name) || name[0] == '\0') {
        /* No answer, or no dialog at all (it leaves the buffer untouched). */
        strcpy(name, "stranger");
    }
    KAVRO_text(KAVRO_PURPLE, -270, 10, 32, "Hello, %s!", name);
    KAVRO_text(KAVRO_GRAY_50, -270, -30, 12, "Close the window or press Ctrl+Q to quit.");

    while (KAVRO_await_event(&x, &y, &key) != KAVRO_QUIT) {
    }
    KAVRO_close();
    return 0;
}
