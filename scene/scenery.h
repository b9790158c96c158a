// The background of every picture (sky, sun, land, lake, road, mountains) and
// the day cycle that moves the sun and darkens the sky.
#pragma once

#include "scene/records.h"

namespace bridge {

// Paints the background over x -300..300, y -250..250 in 136 primitives; the
// strips of the canvas outside that area are left as they are.
void draw_scenery(int sun_x, int sun_y, int sky_color);

// One periodic step: the sun moves 7 px left; when it passes x = -330 it comes
// back on the right 15 px lower, and the sky turns dusk below y 125 and stays
// night once the sun would sink below 0.
void advance_sun(SkyState& sky);

}  // namespace bridge
