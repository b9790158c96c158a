// The crew boat that rows from right to left across the lake, and the rain of
// up to 900 short falling strokes. Both advance one step in every turn in
// which they are drawn, whatever the event.
#pragma once

#include "scene/records.h"

namespace bridge {

// Draws the boat at (boat_x, boat_y), then moves it 2 px left (1 px up when
// the new x is a multiple of 5); a boat whose hull was already wholly left of
// x = -300 starts again at (335, -230).
void draw_crew_boat(PanelState& panel);

// Raises drop_target by one (up to 900), places the drops it calls for, lets
// every drop fall 3 px (a drop that has fallen 15 is placed anew), then draws
// each drop as a 5 px vertical stroke.
void draw_rain(RainState& rain);

}  // namespace bridge
