// Start-up and the main loop of the bridge scene: one turn per event, each
// turn dispatching the event and then redrawing the whole picture.
#pragma once

#include "scene/records.h"
#include "toolkit/kavro.h"

namespace bridge {

struct SceneRecords {
    SkyState sky;
    CarTable cars;
    PanelState panel;
    RainState rain;
};

// Opens the toolkit with the four start parameters, switches the drawing log
// off, clears the canvas, starts the animation, sets the start values and
// draws the first picture (which already holds the first car).
void start_up(SceneRecords& s, KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
              int show_mode);

// Awaits one event, applies it, and redraws; returns 1 when the event ended
// the program (a quit event or the "Quit" button), else 0.
int run_turn(SceneRecords& s);

// The full picture, back to front; also advances the closing slide, the
// traffic's entry, the boat, the rain and the wait rule by one turn.
void redraw(SceneRecords& s);

// Start-up, turns until one asks to quit, then the toolkit's close; 0.
int run_bridge(SceneRecords& s, KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
               int show_mode);

}  // namespace bridge
