/* duel: pong for two players at one keyboard.
 * The left player moves with w and s, the right player with the Up and Down
 * arrow keys, and both may hold their keys at the same time. A ball that gets
 * past a paddle is a point for the other side; the first to five wins. A
 * click starts a new game.
 *
 * Typed characters (KAVRO_KBD) would not do here: a held key repeats only
 * after a pause, and only the key pressed last repeats. So the program asks
 * for key presses and releases and looks at which keys are held on every
 * tick. */
#include <kavro.h>

#define TICK_MS 16     /* about 60 ticks a second */
#define WALL_Y 190     /* the walls at the top and the bottom are at WALL_Y and -WALL_Y */
#define GOAL_X 290     /* past -GOAL_X or GOAL_X the ball is out */
#define PADDLE_X 260   /* the paddles' faces, where the ball turns, are at -PADDLE_X and PADDLE_X */
#define PADDLE_WIDTH 8 /* each paddle reaches this far behind its face */
#define PADDLE_HALF 36 /* half a paddle's height */
#define PADDLE_SPEED 6 /* pixels a paddle moves per tick while its key is held */
#define BALL_RADIUS 8  /* the ball is a disc of 2 * 8 + 1 pixels across */
#define BALL_SPEED 5   /* pixels the ball moves across per tick */
#define WINNING_SCORE 5

/* A player: where the paddle is, which keys move it, the points won. */
struct player {
    int y; /* the paddle's centre */
    int up_key, down_key;
    int score;
};

/* Everything that changes during a game. */
struct game {
    struct player left, right;
    int ball_x, ball_y;
    int step_x, step_y; /* how far the ball moves on each tick */
};

/* Puts the ball in the middle and sends it towards one side: -1 left, 1 right.
 * Its slope changes with every point so no two serves look alike. */
static void serve(struct game* game, int towards) {
    game->ball_x = 0;
    game->ball_y = 0;
    game->step_x = towards * BALL_SPEED;
    game->step_y = (game->left.score + game->right.score) % 2 == 0 ? 3 : -2;
}

static void new_game(struct game* game) {
    game->left.y = 0;
    game->left.up_key = 'W'; /* letter keys have the codes of their capitals */
    game->left.down_key = 'S';
    game->left.score = 0;
    game->right.y = 0;
    game->right.up_key = KAVRO_KEY_UP;
    game->right.down_key = KAVRO_KEY_DOWN;
    game->right.score = 0;
    serve(game, 1);
}

static int game_over(const struct game* game) {
    return game->left.score >= WINNING_SCORE || game->right.score >= WINNING_SCORE;
}

/* KAVRO_key_held answers for each key on its own, so one player's key does
 * not hide the other's. */
static void move_paddle(struct player* player) {
    if (KAVRO_key_held(player->up_key)) player->y += PADDLE_SPEED;
    if (KAVRO_key_held(player->down_key)) player->y -= PADDLE_SPEED;
    if (player->y > WALL_Y - PADDLE_HALF) player->y = WALL_Y - PADDLE_HALF;
    if (player->y < -WALL_Y + PADDLE_HALF) player->y = -WALL_Y + PADDLE_HALF;
}

/* Whether the ball, now at ball_y, touches a paddle whose centre is at paddle_y. */
static int meets_paddle(int ball_y, int paddle_y) {
    return ball_y + BALL_RADIUS >= paddle_y - PADDLE_HALF && ball_y - BALL_RADIUS <= paddle_y + PADDLE_HALF;
}

/* A paddle sends the ball back, the steeper the further from its centre it
 * was hit, so a player can aim. */
static void return_ball(struct game* game, int face_x, int paddle_y) {
    game->ball_x = face_x;
    game->step_x = -game->step_x;
    game->step_y = (game->ball_y - paddle_y) / 8;
}

static void move_ball(struct game* game) {
    int left_face = -PADDLE_X + BALL_RADIUS; /* where the ball's centre is when it touches a face */
    int right_face = PADDLE_X - BALL_RADIUS;
    int was_in_front = game->ball_x >= left_face && game->ball_x <= right_face;

    game->ball_x += game->step_x;
    game->ball_y += game->step_y;
    /* At a wall the ball is put back against it and turns round. */
    if (game->ball_y + BALL_RADIUS > WALL_Y) {
        game->ball_y = WALL_Y - BALL_RADIUS;
        game->step_y = -game->step_y;
    }
    if (game->ball_y - BALL_RADIUS < -WALL_Y) {
        game->ball_y = -WALL_Y + BALL_RADIUS;
        game->step_y = -game->step_y;
    }
    /* Only a ball that was in front of a paddle can bounce off it; one that
     * got past flies on into the goal. */
    if (was_in_front && game->ball_x < left_face && meets_paddle(game->ball_y, game->left.y))
        return_ball(game, left_face, game->left.y);
    if (was_in_front && game->ball_x > right_face && meets_paddle(game->ball_y, game->right.y))
        return_ball(game, right_face, game->right.y);
    /* Out at one side is a point for the other; the player who missed gets the next ball. */
    if (game->ball_x < -GOAL_X) {
        game->right.score += 1;
        serve(game, -1);
    }
    if (game->ball_x > GOAL_X) {
        game->left.score += 1;
        serve(game, 1);
    }
}

/* One tick of play: both paddles, then the ball. */
static void play_tick(struct game* game) {
    move_paddle(&game->left);
    move_paddle(&game->right);
    move_ball(game);
}

static void draw_field(void) {
    int y;
    KAVRO_rectangle(KAVRO_GRAY_50, -GOAL_X, WALL_Y + 6, GOAL_X, WALL_Y + 1, 0);
    KAVRO_rectangle(KAVRO_GRAY_50, -GOAL_X, -WALL_Y - 1, GOAL_X, -WALL_Y - 6, 0);
    /* The dashed centre line: a short rectangle every 20 pixels. */
    for (y = -WALL_Y + 5; y < WALL_Y; y += 20) KAVRO_rectangle(KAVRO_GRAY_20, -1, y, 1, y + 9, 0);
}

/* A paddle stands behind its face: the left one to the left of -PADDLE_X,
 * the right one to the right of PADDLE_X. */
static void draw_paddle(int color, int face_x, int back_x, int y) {
    KAVRO_rectangle(color, face_x, y + PADDLE_HALF, back_x, y - PADDLE_HALF, 0);
}

static void draw(const struct game* game) {
    KAVRO_clear();
    draw_field();
    KAVRO_text(KAVRO_PURPLE, -70, WALL_Y + 12, 32, "%d", game->left.score);
    KAVRO_text(KAVRO_PURPLE, 50, WALL_Y + 12, 32, "%d", game->right.score);
    KAVRO_text(KAVRO_GRAY_50, -170, -WALL_Y - 26, 12, "left: w and s    right: Up and Down    click: new game");
    draw_paddle(KAVRO_BLUE, -PADDLE_X, -PADDLE_X - PADDLE_WIDTH + 1, game->left.y);
    draw_paddle(KAVRO_FOREST_GREEN, PADDLE_X, PADDLE_X + PADDLE_WIDTH - 1, game->right.y);
    if (game_over(game)) {
        KAVRO_text(KAVRO_RED, -95, 20, 32, game->left.score > game->right.score ? "Left wins" : "Right wins");
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
    /* Presses and releases let KAVRO_key_held answer; with buttons asked for,
     * a left click comes as KAVRO_BUTTON_DOWN instead of KAVRO_MOUSE. */
    KAVRO_want_events(KAVRO_WANT_KEYS | KAVRO_WANT_BUTTONS);
    KAVRO_set_tick(TICK_MS);
    KAVRO_animate(KAVRO_RUN);
    new_game(&game);

    for (;;) {
        draw(&game);
        int kind = KAVRO_await_event(&x, &y, &key);
        if (kind == KAVRO_QUIT) break;
        if (kind == KAVRO_PERIODIC && !game_over(&game)) play_tick(&game);
        if (kind == KAVRO_BUTTON_DOWN && key == KAVRO_BUTTON_LEFT) new_game(&game);
    }
    KAVRO_close();
    return 0;
}
