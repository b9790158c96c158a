/**
 * @file kavro.h
 * @brief KAVRO: a small teaching toolkit for graphics and events.
 *
 * A program opens the toolkit's two windows with KAVRO_open(), then loops:
 * it draws its whole picture into the canvas, waits for one event with
 * KAVRO_await_event() (the window shows the picture while it waits) and
 * changes its own variables. KAVRO_close() ends the use of the toolkit.
 *
 * Coordinates have their origin at the centre of the graphics window's client
 * area, x to the right and y upward, one unit per pixel: the point (x, y) is
 * canvas pixel (centre_x + x, centre_y - y). Colours are indexes 0 to 23 into
 * the colour table (@ref kavro_constants). Every operation returns an int; 1
 * means done unless its description says otherwise. Usable from C and C++.
 *
 * Calls made before KAVRO_open() do nothing and say so in one line on
 * standard error, "kavro: CALL was called before KAVRO_open, so it did
 * nothing; call KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL) first"; each
 * such line is said once per call.
 */
#ifndef KAVRO_H
#define KAVRO_H

/**
 * @defgroup kavro_constants Constants and colours
 * @brief The version, the colour indexes, show modes and animation modes.
 *
 * | index | constant | name | R | G | B |
 * |---:|---|---|---:|---:|---:|
 * | 0 | #KAVRO_BLACK | black | 0 | 0 | 0 |
 * | 1 | #KAVRO_WHITE | white (the background) | 255 | 255 | 255 |
 * | 2 | #KAVRO_RED | red | 255 | 0 | 0 |
 * | 3 | #KAVRO_GREEN | green | 0 | 255 | 0 |
 * | 4 | #KAVRO_BLUE | blue | 0 | 0 | 255 |
 * | 5 | #KAVRO_YELLOW | yellow | 255 | 255 | 0 |
 * | 6 | #KAVRO_MAGENTA | magenta | 255 | 0 | 255 |
 * | 7 | #KAVRO_CYAN | cyan | 0 | 255 | 255 |
 * | 8 | #KAVRO_PURPLE | purple | 153 | 0 | 204 |
 * | 9 | #KAVRO_NAVY_BLUE | navy blue | 0 | 51 | 153 |
 * | 10 | #KAVRO_DUSTY_PLUM | dusty plum | 153 | 102 | 153 |
 * | 11 | #KAVRO_ICE_BLUE | ice blue | 153 | 255 | 255 |
 * | 12 | #KAVRO_TURQUOISE | turquoise | 153 | 255 | 204 |
 * | 13 | #KAVRO_ORANGE | orange | 255 | 102 | 0 |
 * | 14 | #KAVRO_BROWN | brown | 153 | 102 | 51 |
 * | 15 | #KAVRO_PINK | pink | 255 | 153 | 204 |
 * | 16 | #KAVRO_CHALK | chalk | 255 | 255 | 153 |
 * | 17 | #KAVRO_GOLD | gold | 204 | 153 | 51 |
 * | 18 | #KAVRO_PEACH | peach | 255 | 153 | 102 |
 * | 19 | #KAVRO_FOREST_GREEN | forest green | 0 | 102 | 51 |
 * | 20 | #KAVRO_SEA_GREEN | sea green | 51 | 204 | 153 |
 * | 21 | #KAVRO_OLIVE | olive | 153 | 153 | 51 |
 * | 22 | #KAVRO_GRAY_50 | 50% gray | 128 | 128 | 128 |
 * | 23 | #KAVRO_GRAY_20 | 20% gray | 204 | 204 | 204 |
 *
 * The names are the ones the drawing log uses.
 * @{
 */

/** The toolkit's major version; the library's file name carries the same numbers. */
#define KAVRO_VERSION_MAJOR 2
/** The toolkit's minor version. */
#define KAVRO_VERSION_MINOR 2
/** The toolkit's patch level. */
#define KAVRO_VERSION_PATCH 0

/** @} */

/** @cond KAVRO_INTERNAL */
/* Only the calls declared here are visible from the shared library. */
#if defined(__GNUC__)
#define KAVRO_API __attribute__((visibility("default")))
#define KAVRO_PRINTF_FORMAT(format_index, first_argument) __attribute__((format(printf, format_index, first_argument)))
#else
#define KAVRO_API
#define KAVRO_PRINTF_FORMAT(format_index, first_argument)
#endif
/** @endcond */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/**
 * @defgroup kavro_events Events
 * @brief Waiting for clicks, typed characters, ticks and quit requests.
 * @{
 */

/** Event kind: a left-button click in the graphics window; x and y are its
 * position in application coordinates, key is 0. */
#define KAVRO_MOUSE 1
/** Event kind: a character typed while a toolkit window has the keyboard
 * focus; key is the character (Enter gives 13, Backspace 8), x and y are 0.
 * Nothing typed with Ctrl held is a key event; Ctrl with A, F, H, L, O, P, Q
 * or R is a Run menu command. */
#define KAVRO_KBD 2
/** Event kind: a tick of the 100 ms timer, delivered only while the animation
 * runs (#KAVRO_RUN, Ctrl+A) or one step is asked for (#KAVRO_STEP, Ctrl+F);
 * x, y and key are 0. */
#define KAVRO_PERIODIC 3
/** Event kind: the user closed the graphics window, chose Quit or pressed
 * Ctrl+Q (or the program asked with KAVRO_animate(#KAVRO_END)). The program
 * ends its loop and calls KAVRO_close(). */
#define KAVRO_QUIT 4

/** @} */

/**
 * @addtogroup kavro_constants
 * @{
 */

/** Colour 0, black (0, 0, 0). */
#define KAVRO_BLACK 0
/** Colour 1, white (255, 255, 255): also the background and the clearing colour. */
#define KAVRO_WHITE 1
/** Colour 2, red (255, 0, 0): also what an illegal colour index becomes. */
#define KAVRO_RED 2
/** Colour 3, green (0, 255, 0). */
#define KAVRO_GREEN 3
/** Colour 4, blue (0, 0, 255). */
#define KAVRO_BLUE 4
/** Colour 5, yellow (255, 255, 0). */
#define KAVRO_YELLOW 5
/** Colour 6, magenta (255, 0, 255). */
#define KAVRO_MAGENTA 6
/** Colour 7, cyan (0, 255, 255). */
#define KAVRO_CYAN 7
/** Colour 8, purple (153, 0, 204). */
#define KAVRO_PURPLE 8
/** Colour 9, navy blue (0, 51, 153). */
#define KAVRO_NAVY_BLUE 9
/** Colour 10, dusty plum (153, 102, 153). */
#define KAVRO_DUSTY_PLUM 10
/** Colour 11, ice blue (153, 255, 255). */
#define KAVRO_ICE_BLUE 11
/** Colour 12, turquoise (153, 255, 204). */
#define KAVRO_TURQUOISE 12
/** Colour 13, orange (255, 102, 0). */
#define KAVRO_ORANGE 13
/** Colour 14, brown (153, 102, 51). */
#define KAVRO_BROWN 14
/** Colour 15, pink (255, 153, 204). */
#define KAVRO_PINK 15
/** Colour 16, chalk (255, 255, 153). */
#define KAVRO_CHALK 16
/** Colour 17, gold (204, 153, 51). */
#define KAVRO_GOLD 17
/** Colour 18, peach (255, 153, 102). */
#define KAVRO_PEACH 18
/** Colour 19, forest green (0, 102, 51). */
#define KAVRO_FOREST_GREEN 19
/** Colour 20, sea green (51, 204, 153). */
#define KAVRO_SEA_GREEN 20
/** Colour 21, olive (153, 153, 51). */
#define KAVRO_OLIVE 21
/** Colour 22, "50% gray" (128, 128, 128). */
#define KAVRO_GRAY_50 22
/** Colour 23, "20% gray" (204, 204, 204). */
#define KAVRO_GRAY_20 23
/** The number of colours: valid indexes are 0 to KAVRO_COLOR_COUNT - 1. */
#define KAVRO_COLOR_COUNT 24

/** @} */

/**
 * @addtogroup kavro_entry
 * @{
 */

/** One of the four start parameters the platform hands the program's entry
 * (instance and previous instance); a program with a plain main passes NULL. */
typedef void* KAVRO_instance;

/** @} */

/**
 * @addtogroup kavro_constants
 * @{
 */

/** Show mode for KAVRO_open(): both windows stay hidden. Rarely what a
 * program wants; KAVRO_open() says so on standard error. */
#define KAVRO_SHOW_HIDDEN 0
/** Show mode for KAVRO_open(): both windows are shown. A program with a plain
 * main opens the windows with KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL). */
#define KAVRO_SHOW_NORMAL 1

/** Animation mode for KAVRO_animate(): halt; no #KAVRO_PERIODIC events (as Ctrl+H). */
#define KAVRO_HALT 0
/** Animation mode for KAVRO_animate(): one #KAVRO_PERIODIC event at the next
 * tick, then halted again (as Ctrl+F, which also halts a running animation). */
#define KAVRO_STEP 1
/** Animation mode for KAVRO_animate(): run; a #KAVRO_PERIODIC event every
 * 100 ms (as Ctrl+A). */
#define KAVRO_RUN 2
/** Animation mode for KAVRO_animate(): from now on every KAVRO_await_event()
 * still waits for an event but returns #KAVRO_QUIT. */
#define KAVRO_END 5

/** @} */

/**
 * @defgroup kavro_windows Windows and switches
 * @brief Opening and closing the toolkit, the animation and logging switches,
 * the text window's visibility and clearing the canvas.
 * @{
 */

/**
 * Opens the toolkit: the graphics window "KAVRO Graphics" (outer size
 * 601 x 540 at the screen's top left, with the "&Run" menu), the text window
 * "KAVRO Text" across the bottom third of the screen, the 601 x 540 canvas
 * behind the graphics window and the 100 ms tick timer. Call it once, first.
 *
 * Afterwards the animation is halted and logging is on. The canvas is not
 * cleared: call KAVRO_clear() before drawing.
 *
 * A program that installs no backend itself gets the screen, or, when the
 * environment says KAVRO_BACKEND=headless, a backend without a display whose
 * clock is virtual; KAVRO_PICTURE=file.png then writes the visible part of
 * the canvas at KAVRO_close() or exit, and the program is sent a quit request
 * after 60 s of virtual time. With no display to open it prints one line on
 * standard error and ends the program with exit code 1.
 *
 * @param instance the start parameter of a KAVRO_main() program, or NULL.
 * @param previous_instance the start parameter of a KAVRO_main() program, or
 *        NULL; the window classes are registered only when it is NULL.
 * @param command_line ignored; NULL will do.
 * @param show_mode #KAVRO_SHOW_NORMAL; 0 (#KAVRO_SHOW_HIDDEN) keeps both
 *        windows hidden.
 * @return 1.
 *
 * @par Misuse
 * A second call does nothing: "kavro: KAVRO_open was called again; the
 * windows are open already, so it did nothing (call it once)". Show mode 0:
 * "kavro: KAVRO_open was given show mode 0, which keeps both windows hidden;
 * pass KAVRO_SHOW_NORMAL".
 */
KAVRO_API int KAVRO_open(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
                         int show_mode);
/**
 * Ends the use of the toolkit: closes the script file and, headless with
 * KAVRO_PICTURE set, writes the picture. The windows and the canvas stay
 * until the program ends, which it should do next.
 *
 * @return 1; 0 before KAVRO_open().
 *
 * @par Misuse
 * A program that drew but never called KAVRO_await_event() showed nothing:
 * "kavro: KAVRO_await_event was never called, so nothing drawn reaches the
 * screen: the window shows the picture while the program waits in
 * KAVRO_await_event; call it in the program's loop".
 */
KAVRO_API int KAVRO_close(void);
/**
 * Switches the animation, as the Run menu and its Ctrl keys do.
 *
 * @param mode #KAVRO_HALT (0) stops #KAVRO_PERIODIC events and drops a step
 *        asked for; #KAVRO_STEP (1) asks for one; #KAVRO_RUN (2) delivers one
 *        every 100 ms; #KAVRO_END (5) makes every later KAVRO_await_event()
 *        return #KAVRO_QUIT. Other values are ignored.
 * @return 1; 0 before KAVRO_open() or once the graphics window is closed.
 */
KAVRO_API int KAVRO_animate(int mode);
/**
 * Switches the drawing log: while it is on, every drawing call writes one
 * line describing itself into the text window. It is on after KAVRO_open()
 * and can be toggled with Ctrl+L. Switching it on also shows the text
 * window; switching it off does not hide it.
 *
 * @param flag 0 off, any other value on.
 * @return 1; 0 before KAVRO_open() or once the graphics window is closed.
 */
KAVRO_API int KAVRO_logging(int flag);
/**
 * Shows or hides the text window.
 *
 * @param flag 0 hides it, any other value shows and activates it.
 * @return nonzero when the text window was visible before the call, 0 when
 *         it was hidden (and 0 before KAVRO_open()).
 */
KAVRO_API int KAVRO_show_text(int flag);
/**
 * Clears the whole canvas to white (#KAVRO_WHITE), with a one-pixel black
 * border at its outermost columns and rows (of which the left column and the
 * top row lie inside the window).
 *
 * @return 1; 0 before KAVRO_open().
 *
 * @par Log line
 * While logging is on: "Clearing the graphics window\n".
 */
KAVRO_API int KAVRO_clear(void);

/** @} */

/**
 * @addtogroup kavro_events
 * @{
 */

/**
 * Waits for one event and returns its kind. While it waits, the graphics
 * window shows the canvas as the program last drew it: nothing drawn reaches
 * the screen until the program waits here. Only one event comes per call, in
 * the order they happened; a #KAVRO_PERIODIC event comes at the first tick
 * after the call began, and a click or key that comes first replaces it.
 * During playback of the script "KAVRO.SCR" (Ctrl+P, Ctrl+O) the events come
 * from the script; while recording (Ctrl+R) every event is written to it.
 *
 * @param[out] x the click's x for #KAVRO_MOUSE, otherwise 0; may be NULL.
 * @param[out] y the click's y for #KAVRO_MOUSE, otherwise 0; may be NULL.
 * @param[out] key the typed character for #KAVRO_KBD, otherwise 0; may be NULL.
 * @return #KAVRO_MOUSE, #KAVRO_KBD, #KAVRO_PERIODIC or #KAVRO_QUIT.
 *
 * @par Misuse
 * Before KAVRO_open() it returns #KAVRO_QUIT at once, so a program's loop
 * ends, with the line "kavro: KAVRO_await_event was called before KAVRO_open,
 * so it did nothing; call KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL)
 * first".
 */
KAVRO_API int KAVRO_await_event(int* x, int* y, char* key);

/** @} */

/**
 * @defgroup kavro_input More input, asked for
 * @brief Keys pressed and released, keys held, every mouse button, the
 * pointer's movement, the wheel and a faster tick, for games.
 *
 * A program sees none of this until it asks with KAVRO_want_events(): until
 * then KAVRO_await_event() returns the four kinds above, exactly as always.
 * The new events are recorded to "KAVRO.SCR" and played back like the old
 * ones, each as a line of its own form:
 * "KAVRO_DOWN(code);", "KAVRO_UP(code);", "KAVRO_BUTTON(x, y, button, pressed);",
 * "KAVRO_AT(x, y);" and "KAVRO_WHEEL(x, y, steps);". A script written without
 * them is what it always was. During playback a line of a kind the program
 * did not ask for is passed over.
 * @{
 */

/** Event kind: a key went down (#KAVRO_WANT_KEYS); x is its #KAVRO_KEY_LEFT
 * style code, y and key are 0. A key held down comes once; the character it
 * types still comes (and repeats) as #KAVRO_KBD after it. With Ctrl held no
 * other key comes as #KAVRO_KEY_PRESS (Ctrl with A, F, H, L, O, P, Q or R is a
 * Run menu command); F10 opens the Run menu and comes as nothing. */
#define KAVRO_KEY_PRESS 5
/** Event kind: a key came up (#KAVRO_WANT_KEYS); x is its code. */
#define KAVRO_KEY_RELEASE 6
/** Event kind: a mouse button went down in the graphics window
 * (#KAVRO_WANT_BUTTONS); x and y are the position, key is the button
 * (#KAVRO_BUTTON_LEFT, #KAVRO_BUTTON_MIDDLE or #KAVRO_BUTTON_RIGHT). A left
 * press then comes as this, not as #KAVRO_MOUSE. */
#define KAVRO_BUTTON_DOWN 7
/** Event kind: a mouse button came up (#KAVRO_WANT_BUTTONS); as #KAVRO_BUTTON_DOWN. */
#define KAVRO_BUTTON_UP 8
/** Event kind: the pointer moved over the graphics window
 * (#KAVRO_WANT_MOTION); x and y are where it is now. Moves that come faster
 * than the program waits are one event with the latest position. */
#define KAVRO_MOTION 9
/** Event kind: the mouse wheel turned (#KAVRO_WANT_WHEEL); x and y are the
 * pointer's position, key the steps, positive away from the user. */
#define KAVRO_WHEEL 10

/** KAVRO_want_events() bit: #KAVRO_KEY_PRESS and #KAVRO_KEY_RELEASE, and KAVRO_key_held(). */
#define KAVRO_WANT_KEYS 0x01
/** KAVRO_want_events() bit: #KAVRO_BUTTON_DOWN and #KAVRO_BUTTON_UP for all three buttons. */
#define KAVRO_WANT_BUTTONS 0x02
/** KAVRO_want_events() bit: #KAVRO_MOTION. */
#define KAVRO_WANT_MOTION 0x04
/** KAVRO_want_events() bit: #KAVRO_WHEEL. */
#define KAVRO_WANT_WHEEL 0x08
/** KAVRO_want_events() bits: everything above. */
#define KAVRO_WANT_ALL 0x0F

/** Buttons, in the key of #KAVRO_BUTTON_DOWN and #KAVRO_BUTTON_UP. */
#define KAVRO_BUTTON_LEFT 1
#define KAVRO_BUTTON_MIDDLE 2
#define KAVRO_BUTTON_RIGHT 3

/** Key codes: letters are 'A' to 'Z' and digits '0' to '9' (their characters). */
#define KAVRO_KEY_BACKSPACE 0x08
#define KAVRO_KEY_TAB 0x09
#define KAVRO_KEY_ENTER 0x0D
#define KAVRO_KEY_SHIFT 0x10
#define KAVRO_KEY_CTRL 0x11
#define KAVRO_KEY_ALT 0x12
#define KAVRO_KEY_ESCAPE 0x1B
#define KAVRO_KEY_SPACE 0x20
#define KAVRO_KEY_PAGE_UP 0x21
#define KAVRO_KEY_PAGE_DOWN 0x22
#define KAVRO_KEY_END 0x23
#define KAVRO_KEY_HOME 0x24
#define KAVRO_KEY_LEFT 0x25
#define KAVRO_KEY_UP 0x26
#define KAVRO_KEY_RIGHT 0x27
#define KAVRO_KEY_DOWN 0x28
#define KAVRO_KEY_INSERT 0x2D
#define KAVRO_KEY_DELETE 0x2E
/** F1 to F12 are KAVRO_KEY_F1 + 0 to KAVRO_KEY_F1 + 11 (F10 opens the Run menu). */
#define KAVRO_KEY_F1 0x70

/**
 * Asks for the events of the given #KAVRO_WANT_KEYS style bits from now on;
 * 0 goes back to the four classic kinds. Unknown bits are ignored.
 *
 * @param mask an or of #KAVRO_WANT_KEYS, #KAVRO_WANT_BUTTONS,
 *        #KAVRO_WANT_MOTION and #KAVRO_WANT_WHEEL, or #KAVRO_WANT_ALL.
 * @return the bits asked for before.
 */
KAVRO_API int KAVRO_want_events(int mask);
/**
 * Tells whether a key is held: answered from the #KAVRO_KEY_PRESS and
 * #KAVRO_KEY_RELEASE events delivered so far, so a replay answers it as the live
 * run did. Two players can each hold a key at once.
 *
 * @param code a key code (#KAVRO_KEY_LEFT, 'W', ...).
 * @return 1 while held; 0 otherwise, for unknown codes and without #KAVRO_WANT_KEYS.
 */
KAVRO_API int KAVRO_key_held(int code);
/**
 * Sets the interval of the #KAVRO_PERIODIC tick, 100 ms unless set; 16 gives
 * about 60 ticks a second. Values below 10 become 10 and values above 1000
 * become 1000. May be called before KAVRO_open().
 *
 * @param milliseconds the interval wanted.
 * @return the interval now in effect.
 */
KAVRO_API int KAVRO_set_tick(int milliseconds);

/** @} */

/**
 * @defgroup kavro_drawing Drawing
 * @brief Shapes and text, drawn at once into the canvas.
 *
 * Every call draws into the canvas, which the graphics window shows while the
 * program waits in KAVRO_await_event(). No argument is refused; a bad one is
 * corrected with a message in the text window (even while logging is off):
 * - a colour outside 0 to 23: "Illegal color %d; using RED.\n" and the shape is red;
 * - a negative width: "Width of %d not possible, using width %d\n" with its absolute value;
 * - a negative radius: "Radius of %d not possible, using radius %d\n";
 * - a negative point size, or one above 127: "ptsize of %d not possible, using ptsize %d\n".
 *
 * While logging is on (KAVRO_logging()) each call also writes its log line,
 * which names the colour by its name. Texts, log lines included, stay within
 * 1023 characters. Before KAVRO_open() a call does nothing and returns 0, with
 * the line "kavro: CALL was called before KAVRO_open, so it did nothing; call
 * KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL) first"; a program that keeps
 * drawing for two seconds without waiting in KAVRO_await_event() is told that
 * it never called it.
 * @{
 */

/**
 * Sets the one pixel at (x, y).
 *
 * @param color a colour index, 0 to 23.
 * @param x,y the point.
 * @return 1.
 *
 * @par Log line
 * While logging is on: "%s pixel at (%d,%d)\n" (colour name, x, y).
 */
KAVRO_API int KAVRO_pixel(int color, int x, int y);
/**
 * Draws a filled disc centred on (x, y): the disc inscribed in the square of
 * 2 * radius + 1 pixels around the centre, so it reaches x - radius and
 * x + radius inclusive. There is no outlined circle; use KAVRO_oval().
 *
 * @param color a colour index, 0 to 23; checked first.
 * @param x,y the centre.
 * @param radius in pixels; a negative one is made positive with "Radius of %d
 *        not possible, using radius %d\n".
 * @return 1.
 *
 * @par Log line
 * While logging is on: "%s circle at (%d,%d), radius %d\n" (colour name, x,
 * y, radius).
 */
KAVRO_API int KAVRO_circle(int color, int x, int y, int radius);
/**
 * Draws the triangle through three points, in the order given.
 *
 * @param color a colour index, 0 to 23; checked before the width.
 * @param x1,y1 the first corner.
 * @param x2,y2 the second corner.
 * @param x3,y3 the third corner.
 * @param width 0 fills the triangle (inside and a one-pixel edge in the
 *        colour); otherwise the outline only, with a pen this many pixels
 *        wide centred on the edges, leaving the inside untouched.
 * @return 1.
 *
 * @par Log line
 * While logging is on: "%s triangle at (%d,%d), (%d,%d), (%d,%d)\n" (colour
 * name and the three corners; the width is not logged).
 */
KAVRO_API int KAVRO_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
/**
 * Draws the rectangle with two opposite corners (x1, y1) and (x2, y2), given
 * in any order. Both corners belong to it: it covers x1 to x2 and y1 to y2
 * inclusive, so (-10, 10) and (10, -10) fill a square of 21 x 21 pixels.
 *
 * @param color a colour index, 0 to 23; checked before the width.
 * @param x1,y1 one corner.
 * @param x2,y2 the opposite corner.
 * @param width 0 fills the rectangle; otherwise the outline only, with a pen
 *        this many pixels wide centred on the edges (width 1: exactly the
 *        border pixels), leaving the inside untouched.
 * @return 1.
 *
 * @par Log line
 * While logging is on, with a width of 0: "%s rectangle with bounding box
 * (%d,%d) to (%d,%d), filled\n"; with any other width: "%s rectangle with
 * bounding box (%d,%d) to (%d,%d) with line width %d\n" (colour name, the
 * upper-left and the lower-right corner, the width).
 */
KAVRO_API int KAVRO_rectangle(int color, int x1, int y1, int x2, int y2, int width);
/**
 * Draws the ellipse inscribed in the rectangle that KAVRO_rectangle() would
 * draw with the same corners (both corners included, any order).
 *
 * @param color a colour index, 0 to 23; checked after the width.
 * @param x1,y1 one corner of the bounding box.
 * @param x2,y2 the opposite corner.
 * @param width 0 fills the ellipse; otherwise its outline only, with a pen
 *        this many pixels wide.
 * @return 1.
 *
 * @par Log line
 * While logging is on, with a width of 0: "%s oval with bounding box (%d,%d)
 * to (%d,%d), filled\n"; with any other width: "%s oval with bounding box
 * (%d,%d) to (%d,%d), line width %d\n" (as for KAVRO_rectangle()).
 */
KAVRO_API int KAVRO_oval(int color, int x1, int y1, int x2, int y2, int width);
/**
 * Draws a straight line from (x1, y1) up to, but not including, (x2, y2): the
 * start point is drawn and the end point is not, so lines drawn end to end
 * never cover a pixel twice.
 *
 * @param color a colour index, 0 to 23; checked after the width.
 * @param x1,y1 the start point.
 * @param x2,y2 the end point, left out.
 * @param width the pen's width in pixels; 0 draws one pixel wide.
 * @return 1.
 *
 * @par Log line
 * While logging is on: "%s line from (%d,%d) to (%d,%d), width %d\n" (colour
 * name, both points and the width; a width of 0 is logged as 0).
 */
KAVRO_API int KAVRO_line(int color, int x1, int y1, int x2, int y2, int width);
/**
 * Draws text formatted with printf rules. The point (x, y) is the lower-left
 * corner of the first line: that line stands on it, and each newline starts
 * a further line one line height lower, at the same x. Only the letters are
 * painted; what lies behind them stays.
 *
 * @param color a colour index, 0 to 23; checked after the point size.
 * @param x,y the lower-left corner of the first line.
 * @param ptsize the letters' height in pixels, 0 to 127; 0 lets the toolkit
 *        choose. A negative size is made positive and one above 127 becomes
 *        127, each with "ptsize of %d not possible, using ptsize %d\n".
 * @param format a printf format; pass user text as an argument ("%s"), never
 *        as the format. The formatted text stays within 1023 characters.
 * @return the number of characters formatted; 0 before KAVRO_open().
 *
 * @par Log line
 * While logging is on: "%s text at (%d,%d), \"%s\"\n" (colour name, x, y,
 * the formatted text).
 */
KAVRO_API int KAVRO_text(int color, int x, int y, int ptsize, const char* format, ...) KAVRO_PRINTF_FORMAT(5, 6);
/**
 * The same as KAVRO_text(), under a second name.
 *
 * @param color a colour index, 0 to 23.
 * @param x,y the lower-left corner of the first line.
 * @param ptsize the letters' height in pixels, 0 to 127.
 * @param format a printf format.
 * @return the number of characters formatted.
 */
KAVRO_API int KAVRO_textf(int color, int x, int y, int ptsize, const char* format, ...) KAVRO_PRINTF_FORMAT(5, 6);
/**
 * Does nothing to the canvas: what is drawn is not kept, so nothing can be
 * taken back. Prints "KAVRO_undo is no longer supported.\n" in the text window,
 * whether logging is on or not.
 *
 * @return 1.
 */
KAVRO_API int KAVRO_undo(void);

/** @} */

/**
 * @defgroup kavro_text_window Text window
 * @brief The scrolling text window "KAVRO Text" and its message log.
 * @{
 */

/**
 * Writes one message, formatted with printf rules, as the new bottom line of
 * the text window; the older lines scroll up. The last 25 messages are kept
 * for repainting. One trailing newline is left out; a message without one
 * still takes a line of its own. The toolkit's own notices (log lines,
 * corrections, script messages) come the same way.
 *
 * @param format a printf format; the message stays within 1023 characters.
 * @return the number of characters formatted, a trailing newline included.
 *
 * @par Misuse
 * Before KAVRO_open() the message is kept and shows once the window exists,
 * with the line "kavro: KAVRO_printf was called before KAVRO_open; its text is
 * kept and shows in the text window once KAVRO_open has run".
 */
KAVRO_API int KAVRO_printf(const char* format, ...) KAVRO_PRINTF_FORMAT(1, 2);

/** @} */

/**
 * @defgroup kavro_prompt Prompt
 * @brief Asking the user for a line of text in a modal dialog.
 * @{
 */

/**
 * Asks for a line of text in the modal dialog "KAVRO_gets": the prompt (its
 * first 79 characters), an edit field and an "Okay" button, over the graphics
 * window. It returns when the user presses Okay or Enter; Escape and the
 * dialog's close box do nothing. The windows keep repainting meanwhile and no
 * event reaches the program. A quit request (Ctrl+Q in the graphics window,
 * its close box) ends the dialog with an empty answer and reaches the
 * program's next KAVRO_await_event(). May be called before KAVRO_open().
 * Use this one rather than KAVRO_gets().
 *
 * @param prompt the question.
 * @param[out] result receives at most size - 1 characters of the answer (and
 *        never more than 255) and a terminating zero.
 * @param size the size of result in bytes.
 * @return 1 when the dialog ran; 0 when it could not be created, and result
 *         is then untouched.
 *
 * @par Misuse
 * A NULL result or a size of 0 opens no dialog and returns 0: "kavro:
 * KAVRO_gets was given no room for the answer; pass a buffer and its size".
 */
KAVRO_API int KAVRO_gets_n(const char* prompt, char* result, size_t size);
/**
 * As KAVRO_gets_n() with a size of 256: result must hold 256 bytes, and an
 * answer of up to 255 characters is written to it.
 *
 * @param prompt the question.
 * @param[out] result a buffer of at least 256 bytes.
 * @return 1 when the dialog ran, 0 when it could not be created.
 */
KAVRO_API int KAVRO_gets(const char* prompt, char* result);

/** @} */

/**
 * @defgroup kavro_entry Entry and clock
 * @brief The four-argument program entry and the toolkit's clock.
 * @{
 */

/**
 * The program's entry for programs written in the four-argument style,
 * written by the application instead of main: link libkavro_main
 * (KAVRO::kavro_main, pkg-config kavro-main) before the library, and its
 * main calls KAVRO_main. A program with its own main does not define it.
 *
 * @param instance to be handed to KAVRO_open().
 * @param previous_instance to be handed to KAVRO_open().
 * @param command_line the program's arguments, separated by single spaces.
 * @param show_mode to be handed to KAVRO_open().
 * @return the program's exit code.
 */
KAVRO_API int KAVRO_main(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
                         int show_mode);

/**
 * Calendar time in whole seconds from the toolkit's clock: virtual under the
 * headless backend, so a program that seeds its random numbers from it
 * (srand(KAVRO_time())) behaves the same on every headless run.
 *
 * @return seconds since 1970-01-01.
 */
KAVRO_API long long KAVRO_time(void);

/** @} */

#ifdef __cplusplus
}
#endif

#endif
