// The hint, the welcome line and the wait rule drawn at the end of each turn.
#include "scene/status.h"

#include "toolkit/kavro.h"

namespace bridge {

namespace {

constexpr int HINT_SIZE = 14;
constexpr int WELCOME_SIZE = 28;

}  // namespace

void draw_status(PanelState& panel, const RainState& rain) {
    KAVRO_text(KAVRO_WHITE, -285, -220, HINT_SIZE, "Click a button to control the program.");
    if (rain.raining == 0) {
        KAVRO_text(KAVRO_NAVY_BLUE, -150, 210, WELCOME_SIZE, "Welcome to HW-731... (kind of)");
    } else {
        KAVRO_text(KAVRO_NAVY_BLUE, -150, 210, WELCOME_SIZE, "Welcome to HW-731...");
        KAVRO_text(KAVRO_NAVY_BLUE, -85, 180, WELCOME_SIZE, "that's more like it!");
    }
    if (panel.entry_blocked == ENTRY_BLOCKED) {
        KAVRO_text(KAVRO_BLACK, -15, -50, HINT_SIZE, "Please wait until the road is safe and the car enters");
        panel.waiting = 1;
        panel.wait_frames += 1;
    }
    if (panel.wait_frames > WAIT_LIMIT) {
        panel.gave_up = 1;
        KAVRO_text(KAVRO_BLACK, -10, -60, HINT_SIZE, "It's not gonna happen, please choose another option...");
        panel.waiting = 0;
        panel.entry_blocked = 0;
        panel.cars_wanted = panel.cars_present;
    }
}

}  // namespace bridge
