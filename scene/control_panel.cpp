// The button column and its sliding sub-menu: drawing them, finding what a
// click hit, and carrying out the command of the row chosen.
#include "scene/control_panel.h"

#include <algorithm>

#include "scene/random.h"
#include "toolkit/kavro.h"

namespace bridge {

namespace {

constexpr int OUTLINE = 1;

constexpr int COLUMN_LEFT = -295;
constexpr int COLUMN_RIGHT = -220;
constexpr int COLUMN_TOP = 245;
constexpr int COLUMN_BOTTOM = 20;
constexpr int BUTTON_HEIGHT = 25;
constexpr int CAPTION_X = -285;
constexpr int CAPTION_TOP_Y = 227;
constexpr int CAPTION_SIZE = 12;

constexpr int SUBMENU_LEFT = -220;
constexpr int SUBMENU_RIGHT = -180;
constexpr int SUBMENU_TOP = 233;
constexpr int ROW_HEIGHT = 15;
constexpr int LABEL_X = -214;
constexpr int LABEL_DROP = 17;
constexpr int LABEL_SIZE = 10;
constexpr int SMALL_LABEL_SIZE = 9;

constexpr int SLIDE_STEP = 5;
constexpr int SLIDE_MAX = 40;
constexpr int LABELS_FROM_WIDTH = 35;

constexpr int MENU_CLOSED = 0;
constexpr int MENU_OPEN = 1;
constexpr int MENU_SLIDING = 2;

constexpr int CAR_BUTTONS = 5;
constexpr int GO = 0;
constexpr int STOP = 1;
constexpr int FASTER = 2;
constexpr int SLOWER = 3;
constexpr int NEW_COLOR = 4;
constexpr int HOW_MANY = 5;
constexpr int RAIN = 6;
constexpr int CREW = 7;

struct Caption {
    const char* text;
    int color;
};

constexpr Caption CAPTIONS[BUTTON_COUNT] = {
    {"Go", KAVRO_FOREST_GREEN},     {"Stop", KAVRO_RED},
    {"Faster", KAVRO_NAVY_BLUE},    {"Slower", KAVRO_NAVY_BLUE},
    {"New Color", KAVRO_NAVY_BLUE}, {"How Many?", KAVRO_NAVY_BLUE},
    {"Rain!!", KAVRO_NAVY_BLUE},    {"VL Crew", KAVRO_NAVY_BLUE},
    {"Quit", KAVRO_NAVY_BLUE},
};

int submenu_top(const PanelState& panel) { return SUBMENU_TOP - BUTTON_HEIGHT * panel.menu_button; }

void draw_row_boxes(const PanelState& panel, int right) {
    int top = submenu_top(panel);
    for (int r = 0; r < panel.row_count; ++r) {
        KAVRO_rectangle(KAVRO_NAVY_BLUE, SUBMENU_LEFT, top - ROW_HEIGHT * r, right, top - ROW_HEIGHT * (r + 1),
                        OUTLINE);
    }
}

void draw_label(const PanelState& panel, int row, const char* text) {
    KAVRO_text(KAVRO_NAVY_BLUE, LABEL_X, submenu_top(panel) - LABEL_DROP - ROW_HEIGHT * row, LABEL_SIZE, "%s", text);
}

void draw_labels(const PanelState& panel) {
    int top = submenu_top(panel);
    if (panel.menu_button >= 0 && panel.menu_button < CAR_BUTTONS) {
        for (int r = 0; r < panel.item_count; ++r) {
            KAVRO_text(KAVRO_NAVY_BLUE, LABEL_X, top - LABEL_DROP - ROW_HEIGHT * r, LABEL_SIZE, "Car %d", r + 1);
        }
        draw_label(panel, panel.item_count, "All");
        draw_label(panel, panel.item_count + 1, "Back");
    } else if (panel.menu_button == HOW_MANY) {
        draw_label(panel, 0, "More");
        draw_label(panel, 1, "Less");
        draw_label(panel, 2, "Back");
    } else if (panel.menu_button == RAIN) {
        draw_label(panel, 0, "Rain");
        draw_label(panel, 1, "Stop");
        draw_label(panel, 2, "Back");
    } else if (panel.menu_button == CREW) {
        // The two longer labels are set smaller and further left to fit the row.
        KAVRO_text(KAVRO_NAVY_BLUE, -217, top - 14, SMALL_LABEL_SIZE, "Practice");
        KAVRO_text(KAVRO_NAVY_BLUE, -219, top - 29, SMALL_LABEL_SIZE, "Go Home");
        KAVRO_text(KAVRO_NAVY_BLUE, LABEL_X, top - 46, LABEL_SIZE, "Back");
    }
}

int clamp_speed(int speed, int lowest) { return std::clamp(speed, lowest, MAX_SPEED); }

// The per-slot half of the car commands; slot is known to be a valid index.
void apply_car_command(int button, int slot, bool all, CarTable& cars) {
    switch (button) {
    case GO:
        cars.speed[slot] = cars.parked_speed[slot];
        if (cars.speed[slot] < 1) {
            cars.speed[slot] = random_number() % MAX_SPEED + 1;
        }
        break;
    case STOP:
        cars.parked_speed[slot] = cars.speed[slot];
        cars.speed[slot] = 0;
        break;
    case FASTER: cars.speed[slot] = clamp_speed(cars.speed[slot] + 1, 0); break;
    case SLOWER:
        // Slowing all cars never stops one, and starts the stopped ones.
        cars.speed[slot] = clamp_speed(cars.speed[slot] - 1, all ? 1 : 0);
        break;
    case NEW_COLOR:
        cars.color[slot] = all ? random_number() % KAVRO_COLOR_COUNT : (cars.color[slot] + 1) % KAVRO_COLOR_COUNT;
        break;
    default: break;
    }
}

void apply_command(int selection, CarTable& cars, PanelState& panel, RainState& rain) {
    int button = panel.menu_button;
    bool slot_selected = selection >= 0 && selection < panel.item_count && selection < MAX_CARS;
    if (button < CAR_BUTTONS) {
        if (slot_selected) {
            apply_car_command(button, selection, false, cars);
        } else if (selection == ROW_ALL) {
            int count = std::clamp(panel.item_count, 0, MAX_CARS);
            for (int s = 0; s < count; ++s) {
                apply_car_command(button, s, true, cars);
            }
        }
        return;
    }
    bool first_row = slot_selected && selection == 0;
    bool second_row = selection == ROW_ALL;
    if (button == HOW_MANY) {
        if (first_row) {
            panel.cars_wanted = std::min(panel.cars_wanted + 1, MAX_CARS);
        } else if (second_row) {
            panel.cars_wanted = std::max(panel.cars_wanted - 1, 1);
            panel.cars_present = std::max(panel.cars_present - 1, 0);
        }
    } else if (button == RAIN) {
        if (first_row) {
            rain.raining = 1;
        } else if (second_row) {
            // The drops stay, so a new rain starts with all of them falling.
            rain.raining = 0;
            rain.drop_target = 0;
        }
    } else if (button == CREW) {
        if (first_row) {
            panel.crew_out = 1;
        } else if (second_row) {
            panel.crew_out = 0;
            panel.boat_x = BOAT_HOME_X;
            panel.boat_y = BOAT_HOME_Y;
        }
    }
}

}  // namespace

void draw_panel(PanelState& panel) {
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        KAVRO_rectangle(KAVRO_NAVY_BLUE, COLUMN_LEFT, COLUMN_TOP - BUTTON_HEIGHT * i, COLUMN_RIGHT,
                        COLUMN_TOP - BUTTON_HEIGHT * (i + 1), OUTLINE);
    }
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        KAVRO_text(CAPTIONS[i].color, CAPTION_X, CAPTION_TOP_Y - BUTTON_HEIGHT * i, CAPTION_SIZE, "%s",
                   CAPTIONS[i].text);
    }
    if (panel.menu_state != MENU_CLOSED && panel.closing == 0) {
        draw_submenu(panel);
    }
}

void draw_submenu(PanelState& panel) {
    panel.row_count = panel.item_count + 2;
    slide_submenu(SLIDE_OPEN, panel);
    if (panel.menu_width < LABELS_FROM_WIDTH) {
        return;
    }
    if (panel.menu_state == MENU_OPEN) {
        draw_row_boxes(panel, SUBMENU_RIGHT);
    }
    draw_labels(panel);
    panel.menu_state = MENU_OPEN;
}

int slide_submenu(int mode, PanelState& panel) {
    if (panel.menu_width > SLIDE_MAX) {
        return 1;
    }
    draw_row_boxes(panel, panel.menu_width + SUBMENU_LEFT);
    if (mode == SLIDE_OPEN) {
        panel.menu_width += SLIDE_STEP;
        panel.menu_state = MENU_SLIDING;
        return 0;
    }
    panel.menu_width -= SLIDE_STEP;
    if (panel.menu_width <= 0) {
        panel.menu_state = MENU_CLOSED;
        return 0;
    }
    return 1;
}

int panel_hit_test(int x, int y, PanelState& panel) {
    if (panel.closing != 0 || panel.waiting != 0) {
        return HIT_NOTHING;
    }
    if (x > COLUMN_LEFT && x < COLUMN_RIGHT && y > COLUMN_BOTTOM && y < COLUMN_TOP) {
        panel.gave_up = 0;
        panel.wait_frames = 0;
        return HIT_BUTTON;
    }
    int top = submenu_top(panel);
    if (x > SUBMENU_LEFT && x < SUBMENU_RIGHT && y > top - ROW_HEIGHT * panel.row_count && y < top &&
        panel.menu_state == MENU_OPEN) {
        panel.gave_up = 0;
        panel.wait_frames = 0;
        return HIT_SUBMENU;
    }
    return HIT_NOTHING;
}

int handle_button(int x, int y, PanelState& panel) {
    if (x < COLUMN_LEFT || x > COLUMN_RIGHT) {
        show_bad_news();
        return 0;
    }
    int i = (COLUMN_TOP - y) / BUTTON_HEIGHT;
    if (i >= 0 && i < CAR_BUTTONS) {
        panel.menu_button = i;
        panel.item_count = panel.cars_wanted;
        draw_submenu(panel);
        return 0;
    }
    if (i >= CAR_BUTTONS && i < QUIT_BUTTON) {
        panel.menu_button = i;
        panel.item_count = 1;
        draw_submenu(panel);
        return 0;
    }
    if (i == QUIT_BUTTON) {
        return 1;
    }
    show_bad_news();
    return 0;
}

int handle_submenu_row(int x, int y, CarTable& cars, PanelState& panel, RainState& rain) {
    if (x < SUBMENU_LEFT || x > SUBMENU_RIGHT) {
        show_bad_news();
        return 0;
    }
    panel.picked_row = (submenu_top(panel) - y) / ROW_HEIGHT;
    int selection = 0;
    if (panel.picked_row < panel.item_count) {
        selection = panel.picked_row;
    } else if (panel.picked_row == panel.row_count - 2) {
        selection = ROW_ALL;
    } else if (panel.picked_row == panel.row_count - 1) {
        selection = ROW_BACK;
    } else {
        return 0;
    }
    if (panel.menu_button < 0 || panel.menu_button > CREW) {
        show_bad_news();
        return 0;
    }
    apply_command(selection, cars, panel, rain);
    if (selection == ROW_BACK) {
        panel.menu_width = SLIDE_MAX;
        return 1;
    }
    return 0;
}

void show_bad_news() { KAVRO_text(KAVRO_RED, 0, 0, 16, "BAAAADDD NEWS!"); }

}  // namespace bridge
