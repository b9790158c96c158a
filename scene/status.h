// The lines of text drawn last in every turn: the hint, the welcome line that
// changes with the rain, and the wait rule for a car that cannot enter.
#pragma once

#include "scene/records.h"

namespace bridge {

// Draws the hint and welcome lines. While a car is blocked it shows the wait
// line, sets waiting and counts wait_frames; once wait_frames passes 100 it
// gives up: gave_up 1, the give-up line, waiting and entry_blocked 0 and
// cars_wanted lowered to cars_present.
void draw_status(PanelState& panel, const RainState& rain);

}  // namespace bridge
