// Hands the platform's start parameters to the application's entry.
#include "platform/entry.h"
#include "toolkit/kavro.h"

namespace platform {

int application_entry(void* instance, void* previous_instance, const char* command_line, int show_mode) {
    return KAVRO_main(instance, previous_instance, command_line, show_mode);
}

}  // namespace platform
