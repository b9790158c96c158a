/* typing: what the user types appears on the canvas. Backspace takes the
 * last character back and Enter starts a new line. */
#include <kavro.h>

#define MAX_TYPED 300 /* characters kept; later ones are not taken */
#define TEXT_SIZE 24  /* point size: the height of the letters in pixels */

int main(void) {
    char typed[MAX_TYPED + 1] = ""; /* always a complete string */
    int length = 0;
    int x, y;
    char key;

    KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL);
    KAVRO_logging(0);

    for (;;) {
        KAVRO_clear();
        KAVRO_text(KAVRO_GRAY_50, -280, 215, 12, "Type something. Backspace erases, Enter starts a new line.");
        /* The point given is the lower-left corner of the first line; further
         * lines go below it. The text is an argument, never the format: a %
         * typed by the user must not be read as a conversion. */
        KAVRO_text(KAVRO_NAVY_BLUE, -280, 170, TEXT_SIZE, "%s_", typed);

        int kind = KAVRO_await_event(&x, &y, &key);
        if (kind == KAVRO_QUIT) break;
        if (kind != KAVRO_KBD) continue;
        if (key == '\b') {
            if (length > 0) typed[--length] = '\0';
        } else if (length < MAX_TYPED && (key == '\r' || key == '\n')) {
            typed[length++] = '\n';
            typed[length] = '\0';
        } else if (length < MAX_TYPED && key >= ' ') {
            typed[length++] = key;
            typed[length] = '\0';
        }
    }
    KAVRO_close();
    return 0;
}
