// The program's main: picks the backend linked into the program and calls
// the application's entry with the four start parameters.
#include <string>

#include "platform/backend.h"
#include "platform/entry.h"
#include "platform/window.h"

int main(int argc, char** argv) {
    std::unique_ptr<platform::Backend> backend = platform::create_program_backend();
    if (!backend) return 1;
    platform::install_backend(std::move(backend));
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        command_line += argv[i];
    }
    static int instance_marker;
    int code = platform::application_entry(&instance_marker, nullptr, command_line.c_str(), platform::SHOW_NORMAL);
    platform::install_backend(nullptr);
    return code;
}
