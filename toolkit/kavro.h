/* KAVRO: a small teaching toolkit for graphics and events.
 *
 * Coordinates have their origin at the centre of the graphics window's client
 * area, x to the right and y upward, one unit per pixel. Colours are indexes
 * 0 to 23 into the colour table below. Every operation returns an int; 1 means
 * done unless a comment says otherwise. Usable from C and C++. */
#ifndef KAVRO_H
#define KAVRO_H

/* The toolkit's version; the library's file name carries the same numbers. */
#define KAVRO_VERSION_MAJOR 2
#define KAVRO_VERSION_MINOR 2
#define KAVRO_VERSION_PATCH 0

/* Only the calls declared here are visible from the shared library. */
#if defined(__GNUC__)
#define KAVRO_API __attribute__((visibility("default")))
#define KAVRO_PRINTF_FORMAT(format_index, first_argument) \
    __attribute__((format(printf, format_index, first_argument)))
#else
#define KAVRO_API
#define KAVRO_PRINTF_FORMAT(format_index, first_argument)
#endif

#include <stddef.h>

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

/* Show modes for KAVRO_open. A program with a plain main opens the windows
 * with KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL). */
#define KAVRO_SHOW_HIDDEN 0
#define KAVRO_SHOW_NORMAL 1

/* Modes for KAVRO_animate. */
#define KAVRO_HALT 0
#define KAVRO_STEP 1
#define KAVRO_RUN 2
#define KAVRO_END 5

/* Windows, canvas and switches. */
KAVRO_API int KAVRO_open(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
               int show_mode);
KAVRO_API int KAVRO_close(void);
/* mode: 0 halt, 1 single step, 2 run, 5 quit; other values are ignored. */
KAVRO_API int KAVRO_animate(int mode);
KAVRO_API int KAVRO_logging(int flag);
/* Returns nonzero when the text window was visible before the call. */
KAVRO_API int KAVRO_show_text(int flag);
KAVRO_API int KAVRO_clear(void);

/* Waits for one event; returns its kind with the click position or the
 * typed character in the outputs. */
KAVRO_API int KAVRO_await_event(int* x, int* y, char* key);

/* Drawing. A width of 0 fills triangles, rectangles and ovals. */
KAVRO_API int KAVRO_pixel(int color, int x, int y);
KAVRO_API int KAVRO_circle(int color, int x, int y, int radius);
KAVRO_API int KAVRO_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
KAVRO_API int KAVRO_rectangle(int color, int x1, int y1, int x2, int y2, int width);
KAVRO_API int KAVRO_oval(int color, int x1, int y1, int x2, int y2, int width);
KAVRO_API int KAVRO_line(int color, int x1, int y1, int x2, int y2, int width);
/* The point is the lower-left corner of the first line. Returns the number of
 * characters the format produced. */
KAVRO_API int KAVRO_text(int color, int x, int y, int ptsize, const char* format, ...)
    KAVRO_PRINTF_FORMAT(5, 6);
KAVRO_API int KAVRO_textf(int color, int x, int y, int ptsize, const char* format, ...)
    KAVRO_PRINTF_FORMAT(5, 6);
KAVRO_API int KAVRO_undo(void);

/* One line in the text window; returns the number of characters formatted. */
KAVRO_API int KAVRO_printf(const char* format, ...) KAVRO_PRINTF_FORMAT(1, 2);

/* Asks for a line of text in a modal dialog and stores at most size - 1
 * characters of the answer and a terminating zero in result. Returns 1 when
 * the dialog ran, 0 when it could not be created (result is then untouched).
 * Use this one rather than KAVRO_gets. */
KAVRO_API int KAVRO_gets_n(const char* prompt, char* result, size_t size);
/* As KAVRO_gets_n with a size of 256: result must hold 256 bytes. */
KAVRO_API int KAVRO_gets(const char* prompt, char* result);

/* The program's entry, written by the application: the platform's start-up
 * calls it with the four start parameters; its result is the exit code. */
KAVRO_API int KAVRO_main(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
               int show_mode);

/* Calendar time in whole seconds from the toolkit's clock (virtual under the
 * headless backend), so programs that seed from it stay reproducible. */
KAVRO_API long long KAVRO_time(void);

#ifdef __cplusplus
}
#endif

#endif
