/* pong: keep the ball in play with the paddle at the bottom.
 * Keys a and d (or j and l) move the paddle; the ball moves on every tick;
 * each return scores a point. When the ball gets past, a click starts a
 * new game. */
#include <kavro.h>

#define WALL_X 280      /* the side walls are at -WALL_X and WALL_X */
#define WALL_TOP 200    /* the top wall; there is none at the bottom */
#define PADDLE_Y (-200) /* the paddle's top edge */
#define PADDLE_HALF 40  /* half the paddle's width */
#define PADDLE_STEP 20  /* how far one key press moves it */
#define BALL_RADIUS 8
#define BALL_LOST_Y (-240) /* below this the ball is gone */

/* Everything that changes during a game. */
struct game {
    int ball_x, ball_y;
    int step_x, step_y;
    int paddle_x; /* the paddle's centre */
    int score;
    int over; /* 1 once the ball got past the paddle */
};

static void new_game(struct game* game) {
    game->ball_x = 0;
    game->ball_y = 100;
    game->step_x = 6;
    game->step_y = -8;
    game->paddle_x = 0;
    game->score = 0;
    game->over = 0;
}

static void move_paddle(struct game* game, int by) {
    game->paddle_x += by;
    if (game->paddle_x < -WALL_X + PADDLE_HALF) game->paddle_x = -WALL_X + PADDLE_HALF;
    if (game->paddle_x > WALL_X - PADDLE_HALF) game->paddle_x = WALL_X - PADDLE_HALF;
}

static void move_ball(struct game* game) {
    int was_above_paddle = game->ball_y - BALL_RADIUS > PADDLE_Y;
    game->ball_x += game->step_x;
    game->ball_y += game->step_y;
    /* At a wall the ball is put back against it and turns round. */
    if (game->ball_x - BALL_RADIUS < -WALL_X) {
        game->ball_x = -WALL_X + BALL_RADIUS;
        game->step_x = -game->step_x;
    }
    if (game->ball_x + BALL_RADIUS > WALL_X) {
        game->ball_x = WALL_X - BALL_RADIUS;
        game->step_x = -game->step_x;
    }
    if (game->ball_y + BALL_RADIUS > WALL_TOP) {
        game->ball_y = WALL_TOP - BALL_RADIUS;
        game->step_y = -game->step_y;
    }
    /* The paddle returns a ball that comes down onto its top edge. */
    if (was_above_paddle && game->ball_y - BALL_RADIUS <= PADDLE_Y &&
        game->ball_x + BALL_RADIUS >= game->paddle_x - PADDLE_HALF &&
        game->ball_x - BALL_RADIUS <= game->paddle_x + PADDLE_HALF) {
        game->ball_y = PADDLE_Y + BALL_RADIUS;
        game->step_y = -game->step_y;
        game->score += 1;
    }
    if (game->ball_y < BALL_LOST_Y) game->over = 1;
}

static void draw(const struct game* game) {
    KAVRO_clear();
    /* Three walls, each a filled rectangle given by two opposite corners. */
    KAVRO_rectangle(KAVRO_GRAY_50, -WALL_X - 6, WALL_TOP + 6, -WALL_X - 1, BALL_LOST_Y, 0);
    KAVRO_rectangle(KAVRO_GRAY_50, WALL_X + 1, WALL_TOP + 6, WALL_X + 6, BALL_LOST_Y, 0);
    KAVRO_rectangle(KAVRO_GRAY_50, -WALL_X - 6, WALL_TOP + 6, WALL_X + 6, WALL_TOP + 1, 0);
    KAVRO_text(KAVRO_BLACK, -WALL_X, WALL_TOP + 12, 16, "Score: %d", game->score);
    KAVRO_text(KAVRO_GRAY_50, -40, WALL_TOP + 12, 12, "a/d or j/l move the paddle");
    KAVRO_rectangle(KAVRO_BLUE, game->paddle_x - PADDLE_HALF, PADDLE_Y, game->paddle_x + PADDLE_HALF, PADDLE_Y - 8, 0);
    if (game->over) {
        KAVRO_text(KAVRO_RED, -90, 20, 32, "Game over");
        KAVRO_text(KAVRO_BLACK, -105, -15, 16, "Click to play again");
    } else {
        KAVRO_circle(KAVRO_ORANGE, game->ball_x, game->ball_y, BALL_RADIUS);
    }
}

int main(void) {
    struct game game;
    int x, y;
    char key;

    KAVRO_open(NULL, NULL, NULL, KAVRO_SHOW_NORMAL);
    KAVRO_logging(0);
    KAVRO_animate(KAVRO_RUN);
    new_game(&game);

    for (;;) {
        draw(&game);
        int kind = KAVRO_await_event(&x, &y, &key);
        if (kind == KAVRO_QUIT) break;
        if (kind == KAVRO_PERIODIC && !game.over) move_ball(&game);
        if (kind == KAVRO_KBD && (key == 'a' || key == 'j')) move_paddle(&game, -PADDLE_STEP);
        if (kind == KAVRO_KBD && (key == 'd' || key == 'l')) move_paddle(&game, PADDLE_STEP);
        if (kind == KAVRO_MOUSE && game.over) new_game(&game);
    }
    KAVRO_close();
    return 0;
}
