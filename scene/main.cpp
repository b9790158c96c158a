// The program's entry: the scene's records live here, in the entry's own
// scope, for the whole run.
#include "scene/main_loop.h"
#include "toolkit/kavro.h"

extern "C" int KAVRO_main(KAVRO_instance instance, KAVRO_instance previous_instance, const char* command_line,
                          int show_mode) {
    bridge::SceneRecords records{};
    return bridge::run_bridge(records, instance, previous_instance, command_line, show_mode);
}
