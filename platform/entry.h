// The program's entry: the platform's main calls it with the four start
// parameters; the layer above defines it.
#pragma once

namespace platform {

int application_entry(void* instance, void* previous_instance, const char* command_line, int show_mode);

}  // namespace platform
