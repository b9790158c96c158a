// The four records that hold the whole state of the bridge scene, and the
// constants they are sized and steered by. The records live in the entry's
// scope for the whole run and are handed by reference to every operation.
#pragma once

namespace bridge {

static_assert(sizeof(int) == 4, "the scene's arithmetic assumes 32-bit ints");

inline constexpr int MAX_CARS = 20;
inline constexpr int MAX_DROPS = 900;

// Traffic.
inline constexpr int WRAP_LIMIT = 340;
inline constexpr int WRAP_SPAN = 640;
inline constexpr int LOOK_AHEAD = 75;
inline constexpr int NO_GAP = 601;
inline constexpr int PUSH_BACK = 3;
inline constexpr int ENTRY_ZONE_NEAR = 225;
inline constexpr int ENTRY_ZONE_FAR = 375;
inline constexpr int LANE_LOWER = 1;
inline constexpr int LANE_UPPER = 2;
inline constexpr int LANE_LOWER_Y = -135;
inline constexpr int LANE_UPPER_Y = -115;
inline constexpr int ENTRY_BLOCKED = 5;
inline constexpr int START_PARKED_SPEED = 8;
inline constexpr int MAX_SPEED = 15;

// Control panel: the two selections that are not a car slot.
inline constexpr int ROW_ALL = 50;
inline constexpr int ROW_BACK = 51;

// Crew boat home position, where "Go Home" and the wrap put it.
inline constexpr int BOAT_HOME_X = 335;
inline constexpr int BOAT_HOME_Y = -230;

// Status messages: more waiting turns than this and the request is dropped.
inline constexpr int WAIT_LIMIT = 100;

struct SkyState {
    int sun_x;
    int sun_y;
    int sky_color;
};

// One car per slot, as parallel arrays; slot i is on the road while
// i < PanelState::cars_present.
struct CarTable {
    int x[MAX_CARS];
    int y[MAX_CARS];
    int dir[MAX_CARS];
    int color[MAX_CARS];
    int speed[MAX_CARS];
    int parked_speed[MAX_CARS];
    int lane[MAX_CARS];
    int gap[MAX_CARS];
};

struct PanelState {
    int cars_present;
    int item_count;
    int cars_wanted;
    int menu_state;
    int menu_button;
    int menu_width;
    int closing;
    int picked_row;
    int row_count;
    int entry_blocked;
    int wait_frames;
    int waiting;
    int gave_up;
    int crew_out;
    int boat_x;
    int boat_y;
};

struct RainState {
    int drop_x[MAX_DROPS];
    int drop_y[MAX_DROPS];
    int drop_fall[MAX_DROPS];
    int drop_count;
    int drop_target;
    int raining;
};

}  // namespace bridge
