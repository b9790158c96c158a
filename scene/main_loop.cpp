// The scene's start values, one turn of the main loop and the redraw that
// paints every layer in order.
#include "scene/main_loop.h"

#include "scene/control_panel.h"
#include "scene/rain_and_crew.h"
#include "scene/random.h"
#include "scene/scenery.h"
#include "scene/status.h"
#include "scene/traffic.h"

namespace bridge {

namespace {

constexpr int ANIMATE_RUN = 2;

void set_panel_start_values(PanelState& panel) {
    panel.cars_present = 0;
    panel.item_count = 0;
    panel.cars_wanted = 1;
    panel.menu_state = 0;
    panel.menu_button = 0;
    panel.menu_width = 0;
    panel.closing = 0;
    panel.picked_row = 0;
    panel.row_count = 0;
    panel.entry_blocked = 0;
    panel.wait_frames = 0;
    panel.waiting = 0;
    panel.gave_up = 1;
    panel.crew_out = 0;
    panel.boat_x = BOAT_HOME_X;
    panel.boat_y = BOAT_HOME_Y;
}

void set_car_start_values(CarTable& cars) {
    for (int i = 0; i < MAX_CARS; ++i) {
        cars.parked_speed[i] = START_PARKED_SPEED;
        cars.x[i] = 0;
        cars.y[i] = 0;
        cars.dir[i] = 0;
        cars.color[i] = 0;
        cars.speed[i] = 0;
        cars.lane[i] = 0;
        cars.gap[i] = 0;
    }
}

}  // namespace

void start_up(SceneRecords& s, KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
              int show_mode) {
    s.sky.sky_color = KAVRO_ICE_BLUE;
    seed_random();
    KAVRO_open(instance, previous_instance, command_line, show_mode);
    // The log goes off before the canvas is cleared, so start-up writes no
    // line to the text window.
    KAVRO_logging(0);
    KAVRO_clear();
    KAVRO_animate(ANIMATE_RUN);
    s.sky.sun_x = 250;
    s.sky.sun_y = 195;
    set_panel_start_values(s.panel);
    set_car_start_values(s.cars);
    s.rain.drop_count = 0;
    s.rain.drop_target = 0;
    s.rain.raining = 0;
    draw_scenery(s.sky.sun_x, s.sky.sun_y, s.sky.sky_color);
    draw_panel(s.panel);
    spawn_and_draw_cars(s.cars, s.panel);
}

int run_turn(SceneRecords& s) {
    int x = 0;
    int y = 0;
    char key = 0;
    int quit = 0;
    switch (KAVRO_await_event(&x, &y, &key)) {
    case KAVRO_MOUSE: {
        int hit = panel_hit_test(x, y, s.panel);
        if (hit == HIT_BUTTON) {
            quit = handle_button(x, y, s.panel);
        } else if (hit == HIT_SUBMENU) {
            s.panel.closing = handle_submenu_row(x, y, s.cars, s.panel, s.rain);
        }
        break;
    }
    case KAVRO_PERIODIC:
        advance_sun(s.sky);
        move_cars(s.cars, s.panel);
        break;
    case KAVRO_QUIT: quit = 1; break;
    default: break;
    }
    redraw(s);
    return quit;
}

void redraw(SceneRecords& s) {
    draw_scenery(s.sky.sun_x, s.sky.sun_y, s.sky.sky_color);
    draw_panel(s.panel);
    if (s.panel.closing != 0) {
        s.panel.closing = slide_submenu(SLIDE_CLOSE, s.panel);
    }
    spawn_and_draw_cars(s.cars, s.panel);
    if (s.panel.crew_out != 0) {
        draw_crew_boat(s.panel);
    }
    if (s.rain.raining != 0) {
        draw_rain(s.rain);
    }
    draw_status(s.panel, s.rain);
}

int run_bridge(SceneRecords& s, KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
               int show_mode) {
    start_up(s, instance, previous_instance, command_line, show_mode);
    int quit = 0;
    while (quit == 0) {
        quit = run_turn(s);
    }
    KAVRO_close();
    return 0;
}

}  // namespace bridge
