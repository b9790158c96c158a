// The pong example on the headless toolkit: paddle keys, the ball and a new game.
#include <vector>

#include "platform/core/message_queue.h"
#include "support/test_support.h"
#include "support/toolkit_fixture.h"

extern "C" int pong_main(void);

namespace {

using test_support::Ink;
using test_support::ink_of;

class Pong : public test_support::ToolkitTest {
protected:
    struct Look {
        Ink paddle;
        Ink ball;
        Ink game_over;
    };
    // Schedules a look at the canvas at at_ms; the result is filled in then.
    void look_at(std::int64_t at_ms, Look& look) {
        headless->schedule(at_ms, [this, &look] {
            look.paddle = ink_of(canvas(), kavro::color_value(KAVRO_BLUE));
            look.ball = ink_of(canvas(), kavro::color_value(KAVRO_ORANGE));
            look.game_over = ink_of(canvas(), kavro::color_value(KAVRO_RED));
        });
    }
    void press_at(std::int64_t at_ms, const char* keys) {
        headless->schedule(at_ms, [keys] { platform::inject_text(keys); });
    }
    void run_until(std::int64_t at_ms) {
        headless->schedule(at_ms, [] { platform::post_quit_message(0); });
        EXPECT_EQ(pong_main(), 0);
    }
};

TEST_F(Pong, KeysMoveThePaddleStepByStepAndTheWallsStopIt) {
    Look start, after_d, after_aa, after_many_j;
    look_at(50, start);
    press_at(100, "d");
    look_at(150, after_d);
    press_at(200, "aa");
    look_at(250, after_aa);
    press_at(300, "jjjjjjjjjjjjjjjjjjjj");
    look_at(350, after_many_j);
    run_until(400);
    ASSERT_GT(start.paddle.count, 0) << "no paddle";
    EXPECT_EQ(start.paddle.left + start.paddle.right, 2 * kavro::canvas_origin().x)
        << "the paddle starts in the middle";
    EXPECT_EQ(after_d.paddle.left - start.paddle.left, 20);
    EXPECT_EQ(after_aa.paddle.left - start.paddle.left, -20);
    EXPECT_EQ(after_d.paddle.top, start.paddle.top) << "the paddle moves sideways only";
    // Twenty steps to the left would take it 400 pixels; the left wall stops it.
    EXPECT_EQ(after_many_j.paddle.left, kavro::canvas_origin().x - 280);
}

TEST_F(Pong, MissedBallEndsTheGameAndAClickStartsANewOne) {
    // Left where it starts, the paddle misses the first ball.
    Look playing, over, again;
    look_at(1'050, playing);
    look_at(6'050, over);
    headless->schedule(6'100, [] {
        platform::Point origin = kavro::canvas_origin();
        platform::inject_click(kavro::graphics_window(), origin.x, origin.y);
    });
    look_at(6'150, again);
    run_until(6'200);
    ASSERT_GT(playing.ball.count, 0) << "no ball in play";
    EXPECT_EQ(playing.game_over.count, 0);
    EXPECT_EQ(over.ball.count, 0) << "the ball is gone";
    EXPECT_GT(over.game_over.count, 0) << "\"Game over\" is shown";
    EXPECT_GT(again.ball.count, 0) << "a click brings a new ball";
    EXPECT_EQ(again.game_over.count, 0);
    EXPECT_LT(again.ball.top, playing.ball.top) << "the new ball starts high up again";
}

TEST_F(Pong, PaddleUnderTheBallReturnsIt) {
    // The first ball comes down at x = 222: eleven steps to the right put the paddle there.
    press_at(100, "ddddddddddd");
    Look later;
    look_at(6'050, later);
    run_until(6'100);
    EXPECT_GT(later.ball.count, 0) << "the ball is still in play";
    EXPECT_EQ(later.game_over.count, 0);
    EXPECT_NE(test_support::save_picture(canvas(), "pong.png"), "");
}

}  // namespace
