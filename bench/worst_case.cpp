#include "bench/worst_case.h"

#include <cstdint>

#include "platform/backends/headless_backend.h"
#include "platform/ui/platform_reset.h"
#include "toolkit/inspect.h"
#include "toolkit/kavro.h"

namespace bench {

void make_worst_case(bridge::SceneRecords& records) {
    kavro::reset_toolkit_state();
    platform::reset_platform();
    platform::HeadlessBackend& headless = platform::install_headless_backend(platform::Size{1024, 768}, 1000);
    headless.set_time_limit(INT64_C(1) << 60);
    static int instance;
    bridge::start_up(records, &instance, nullptr, "", 1);
    auto& panel = records.panel;
    auto& cars = records.cars;
    panel.cars_wanted = 20;
    panel.cars_present = 20;
    for (int i = 0; i < 20; ++i) {
        bool lower = i % 2 == 0;
        cars.lane[i] = lower ? 1 : 2;
        cars.dir[i] = lower ? -1 : 1;
        cars.y[i] = lower ? -135 : -115;
        cars.x[i] = -290 + 30 * i;
        cars.color[i] = i % 24;
        cars.speed[i] = 12;
    }
    records.rain.raining = 1;
    records.rain.drop_count = 0;
    records.rain.drop_target = 899;
    panel.crew_out = 1;
    panel.menu_button = 4;
    panel.item_count = 20;
    panel.menu_state = 1;
    panel.menu_width = 45;
    panel.closing = 0;
    panel.waiting = 0;
    panel.entry_blocked = 0;
    // A program draws from inside its event loop: one wait first, so that the
    // primitives timed are those of a program that has waited, as the scene's have.
    int x = 0;
    int y = 0;
    char key = 0;
    KAVRO_await_event(&x, &y, &key);
}

}  // namespace bench
