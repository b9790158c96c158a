// kavro-replay's command line from the input, split at zero bytes into
// arguments. An accepted line must hold values within their documented
// ranges; a refused one must say why.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/frame_list.h"
#include "tools/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words{"kavro-replay"};
    std::string word;
    for (std::size_t i = 0; i < size && words.size() < 32; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    if (!word.empty()) words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    argv.push_back(nullptr);

    replay::ReplayOptions options;
    std::string error;
    if (!replay::parse_arguments(static_cast<int>(words.size()), argv.data(), options, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (options.help) return 0;
    kavro::FrameList frames;
    std::string frames_error;
    if (options.start_time < 0 || options.start_time > kavro::MAX_START_TIME || options.max_turns < 1 ||
        options.max_frames < 1 || options.then_run < 0 || !frames.parse(options.frames, frames_error))
        std::abort();
    return 0;
}
