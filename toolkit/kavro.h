/* KAVRO: a small teaching toolkit for graphics and events.
 *
 * Coordinates have their origin at the centre of the graphics window's client
 * area, x to the right and y upward, one unit per pixel. Colours are indexes
 * 0 to 23 into the colour table below. Every operation returns an int; 1 means
 * done unless a comment says otherwise. Usable from C and C++. */
#ifndef KAVRO_H
#define KAVRO_H

#ifdef __cplusplus
extern "C" {
#endif

/* Event kinds returned by KAVRO_await_event. */
#define KAVRO_MOUSE 1
#define KAVRO_KBD 2
#define KAVRO_PERIODIC 3
#define KAVRO_QUIT 4

/* Colour indexes. */
#define KAVRO_BLACK 0
#define KAVRO_WHITE 1
#define KAVRO_RED 2
#define KAVRO_GREEN 3
#define KAVRO_BLUE 4
#define KAVRO_YELLOW 5
#define KAVRO_MAGENTA 6
#define KAVRO_CYAN 7
#define KAVRO_PURPLE 8
#define KAVRO_NAVY_BLUE 9
#define KAVRO_DUSTY_PLUM 10
#define KAVRO_ICE_BLUE 11
#define KAVRO_TURQUOISE 12
#define KAVRO_ORANGE 13
#define KAVRO_BROWN 14
#define KAVRO_PINK 15
#define KAVRO_CHALK 16
#define KAVRO_GOLD 17
#define KAVRO_PEACH 18
#define KAVRO_FOREST_GREEN 19
#define KAVRO_SEA_GREEN 20
#define KAVRO_OLIVE 21
#define KAVRO_GRAY_50 22
#define KAVRO_GRAY_20 23
#define KAVRO_COLOR_COUNT 24

/* The four start parameters the platform hands the program's entry. */
typedef void* KAVRO_instance;

/* Windows, canvas and switches. */
int KAVRO_open(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
               int show_mode);
int KAVRO_close(void);
/* mode: 0 halt, 1 single step, 2 run, 5 quit; other values are ignored. */
int KAVRO_animate(int mode);
int KAVRO_logging(int flag);
/* Returns nonzero when the text window was visible before the call. */
int KAVRO_show_text(int flag);
int KAVRO_clear(void);

/* Waits for one event; returns its kind with the click position or the
 * typed character in the outputs. */
int KAVRO_await_event(int* x, int* y, char* key);

/* Drawing. A width of 0 fills triangles, rectangles and ovals. */
int KAVRO_pixel(int color, int x, int y);
int KAVRO_circle(int color, int x, int y, int radius);
int KAVRO_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int KAVRO_rectangle(int color, int x1, int y1, int x2, int y2, int width);
int KAVRO_oval(int color, int x1, int y1, int x2, int y2, int width);
int KAVRO_line(int color, int x1, int y1, int x2, int y2, int width);
/* The point is the lower-left corner of the first line. Returns the number of
 * characters the format produced. */
int KAVRO_text(int color, int x, int y, int ptsize, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
int KAVRO_textf(int color, int x, int y, int ptsize, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
int KAVRO_undo(void);

/* One line in the text window; returns the number of characters formatted. */
int KAVRO_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* Asks for a line of text in a modal dialog. result must hold 256 bytes.
 * Returns 1 when the dialog ran, 0 when it could not be created. */
int KAVRO_gets(const char* prompt, char* result);

/* The program's entry, written by the application: the platform's start-up
 * calls it with the four start parameters; its result is the exit code. */
int KAVRO_main(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
               int show_mode);

/* Calendar time in whole seconds from the toolkit's clock (virtual under the
 * headless backend), so programs that seed from it stay reproducible. */
long long KAVRO_time(void);

#ifdef __cplusplus
}
#endif

#endif
