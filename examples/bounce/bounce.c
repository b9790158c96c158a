/* bounce: a ball that bounces off the walls, one step on every tick.
 *
 * The shape of every KAVRO program: open the windows, then loop: draw the
 * whole picture, wait for one event, change the program's own variables. */
#include <kavro.h>

/* The walls: a one-pixel outline a little inside the window's visible area
 * (about 595 x 496 pixels). */
#define WALL_X 280
#define WALL_Y 230
#define BALL_RADIUS 12
/* How far the ball's centre may go: there the ball touches a wall. */
#define REACH_X (WALL_X - 1 - BALL_RADIUS)
#define REACH_Y (WALL_Y - 1 - BALL_RADIUS)

int main(void) {
    int ball_x = 0, ball_y = 0; /* the ball's centre; (0, 0) is the window's centre */
    int step_x = 7, step_y = 5; /* how far the ball moves on each tick; y grows upward */
    int event_x, event_y;
    char key;

    KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL);
    KAVRO_logging(0);         /* otherwise every drawing call writes a line in the text window */
    KAVRO_animate(KAVRO_RUN); /* ticks (KAVRO_PERIODIC events) come only while the animation runs */

    for (;;) {
        KAVRO_clear(); /* the canvas keeps what was drawn until it is cleared */
        /* Both corners belong to the rectangle; width 1 draws its outline only. */
        KAVRO_rectangle(KAVRO_NAVY_BLUE, -WALL_X, WALL_Y, WALL_X, -WALL_Y, 1);
        KAVRO_text(KAVRO_GRAY_50, -WALL_X + 10, -WALL_Y + 10, 12, "Ctrl+H halts, Ctrl+A goes on, Ctrl+Q quits");
        KAVRO_circle(KAVRO_RED, ball_x, ball_y, BALL_RADIUS);

        /* The window shows the picture while the program waits here. */
        int kind = KAVRO_await_event(&event_x, &event_y, &key);
        if (kind == KAVRO_QUIT) break;
        if (kind != KAVRO_PERIODIC) continue;

        ball_x += step_x;
        ball_y += step_y;
        /* Past a wall the ball is put back against it and turns round. */
        if (ball_x > REACH_X || ball_x < -REACH_X) {
            ball_x = ball_x > 0 ? REACH_X : -REACH_X;
            step_x = -step_x;
        }
        if (ball_y > REACH_Y || ball_y < -REACH_Y) {
            ball_y = ball_y > 0 ? REACH_Y : -REACH_Y;
            step_y = -step_y;
        }
    }
    KAVRO_close();
    return 0;
}
