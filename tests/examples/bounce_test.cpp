// The bounce example on the headless toolkit: the ball's path and the walls.
#include <vector>

#include "platform/core/message_queue.h"
#include "support/test_support.h"
#include "support/toolkit_fixture.h"

extern "C" int bounce_main(void);

namespace {

using test_support::Ink;
using test_support::ink_of;

class Bounce : public test_support::ToolkitTest {
protected:
    // The red ball's pixels as the canvas held them at each of these times;
    // the program quits after the last.
    std::vector<Ink> run_and_look_at(const std::vector<std::int64_t>& times) {
        std::vector<Ink> balls(times.size());
        for (std::size_t i = 0; i < times.size(); ++i)
            headless->schedule(times[i], [this, &balls, i] { balls[i] = ink_of(canvas(), red()); });
        headless->schedule(times.back() + 1, [] { platform::post_quit_message(0); });
        EXPECT_EQ(bounce_main(), 0);
        return balls;
    }
    static platform::ColorWord red() { return kavro::color_value(KAVRO_RED); }
};

TEST_F(Bounce, BallMovesRightAndUpOnEveryTick) {
    // Three ticks (at 300, 400 and 500 ms) lie between the two looks.
    std::vector<Ink> balls = run_and_look_at({250, 550});
    ASSERT_GT(balls[0].count, 0) << "no ball";
    EXPECT_EQ(balls[1].count, balls[0].count) << "the ball keeps its size";
    EXPECT_EQ(balls[1].left - balls[0].left, 3 * 7);
    EXPECT_EQ(balls[1].top - balls[0].top, -3 * 5) << "y grows upward, canvas rows downward";
    EXPECT_NE(test_support::save_picture(canvas(), "bounce.png"), "");
}

TEST_F(Bounce, BallTouchesEachWallWithoutCoveringItAndTurnsThere) {
    // Twenty seconds take the ball to every wall at least once.
    std::vector<std::int64_t> times;
    for (std::int64_t t = 50; t < 20'000; t += 100) times.push_back(t);
    std::vector<Ink> balls = run_and_look_at(times);
    Ink walls = ink_of(canvas(), kavro::color_value(KAVRO_NAVY_BLUE));
    ASSERT_GT(walls.count, 0) << "no walls";
    bool touched_left = false, touched_right = false, touched_top = false, touched_bottom = false;
    for (std::size_t i = 0; i < balls.size(); ++i) {
        const Ink& ball = balls[i];
        ASSERT_GT(ball.count, 0) << "no ball at " << times[i] << " ms";
        ASSERT_GT(ball.left, walls.left) << "at " << times[i] << " ms";
        ASSERT_LT(ball.right, walls.right) << "at " << times[i] << " ms";
        ASSERT_GT(ball.top, walls.top) << "at " << times[i] << " ms";
        ASSERT_LT(ball.bottom, walls.bottom) << "at " << times[i] << " ms";
        if (i == 0 || i + 1 == balls.size()) continue;
        // A touch is a turn: the ball comes from one side and goes back there.
        if (ball.left == walls.left + 1) {
            touched_left = true;
            EXPECT_GT(balls[i - 1].left, ball.left);
            EXPECT_GT(balls[i + 1].left, ball.left);
        }
        if (ball.right == walls.right - 1) {
            touched_right = true;
            EXPECT_LT(balls[i - 1].right, ball.right);
            EXPECT_LT(balls[i + 1].right, ball.right);
        }
        if (ball.top == walls.top + 1) {
            touched_top = true;
            EXPECT_GT(balls[i - 1].top, ball.top);
            EXPECT_GT(balls[i + 1].top, ball.top);
        }
        if (ball.bottom == walls.bottom - 1) {
            touched_bottom = true;
            EXPECT_LT(balls[i - 1].bottom, ball.bottom);
            EXPECT_LT(balls[i + 1].bottom, ball.bottom);
        }
    }
    EXPECT_TRUE(touched_left && touched_right && touched_top && touched_bottom)
        << "left " << touched_left << ", right " << touched_right << ", top " << touched_top << ", bottom "
        << touched_bottom;
}

}  // namespace
