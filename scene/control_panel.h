// The column of nine buttons at the left of the picture and the sub-menu that
// slides out beside the button last clicked. Clicks arrive in scene
// coordinates; the commands change the cars, the number of cars wanted, the
// rain and the crew boat.
#pragma once

#include "scene/records.h"

namespace bridge {

inline constexpr int BUTTON_COUNT = 9;
inline constexpr int QUIT_BUTTON = 8;

// Hit test results.
inline constexpr int HIT_NOTHING = 0;
inline constexpr int HIT_BUTTON = 1;
inline constexpr int HIT_SUBMENU = 2;

// Slide modes.
inline constexpr int SLIDE_CLOSE = 0;
inline constexpr int SLIDE_OPEN = 1;

// The nine outlined boxes and their captions; then the sub-menu while one is
// open or opening and none is closing.
void draw_panel(PanelState& panel);

// One opening step of the sub-menu of menu_button; from width 35 on also the
// row labels (and the full boxes once the width rests at 45).
void draw_submenu(PanelState& panel);

// Draws the row boxes at the current width, then widens (SLIDE_OPEN) or
// narrows (SLIDE_CLOSE) by 5. Does nothing once the width is above 40.
// 0 when the step widened the sub-menu or has just shut it, else 1.
int slide_submenu(int mode, PanelState& panel);

// HIT_BUTTON or HIT_SUBMENU for a click strictly inside the button column or
// the labelled sub-menu (clearing wait_frames and gave_up), else HIT_NOTHING;
// every click is ignored while the sub-menu closes or a car waits to enter.
int panel_hit_test(int x, int y, PanelState& panel);

// Opens or moves the sub-menu for the button under the click; 1 for "Quit".
int handle_button(int x, int y, PanelState& panel);

// Applies the command of the sub-menu row under the click; 1 after "Back"
// (which starts the closing slide), else 0.
int handle_submenu_row(int x, int y, CarTable& cars, PanelState& panel, RainState& rain);

// Draws "BAAAADDD NEWS!" for a click a handler cannot place.
void show_bad_news();

}  // namespace bridge
