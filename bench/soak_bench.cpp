// The soak: the worst-case scene run for many headless turns (a million
// unless told otherwise) while the resident memory is sampled. What counts is
// the growth from the first sample after warm-up to the last; a leak of a
// few bytes a turn shows as megabytes.
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench/worst_case.h"

namespace {

constexpr int SAMPLES = 100;

std::int64_t resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size_pages = 0;
    std::int64_t resident_pages = 0;
    statm >> size_pages >> resident_pages;
    return resident_pages * sysconf(_SC_PAGESIZE);
}

}  // namespace

int main(int argc, char** argv) {
    std::int64_t turns = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
    if (turns < SAMPLES) {
        std::fprintf(stderr, "usage: soak_bench [TURNS], at least %d\n", SAMPLES);
        return 2;
    }
    // The first tenth warms the glyph caches, the drops and the traffic up.
    const std::int64_t warm_up = turns / 10;
    const std::int64_t every = (turns - warm_up) / SAMPLES;
    static bridge::SceneRecords records;
    bench::make_worst_case(records);
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t highest = 0;
    auto start = std::chrono::steady_clock::now();
    for (std::int64_t turn = 1; turn <= turns; ++turn) {
        if (bridge::run_turn(records)) {
            std::fprintf(stderr, "soak: the scene quit at turn %lld\n", static_cast<long long>(turn));
            return 1;
        }
        if (turn < warm_up || (turn - warm_up) % every != 0) continue;
        last = resident_bytes();
        if (first == 0) first = last;
        if (last > highest) highest = last;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    KAVRO_close();
    std::printf("soak: %lld worst-case turns in %.0f s (%.0f a second)\n", static_cast<long long>(turns), seconds,
                static_cast<double>(turns) / seconds);
    std::printf("soak: resident memory after warm-up %.1f MiB, at the end %.1f MiB, highest %.1f MiB\n",
                static_cast<double>(first) / 1048576.0, static_cast<double>(last) / 1048576.0,
                static_cast<double>(highest) / 1048576.0);
    // Whether the turns stayed the worst case: the traffic, the rain and the sub-menu as they ended.
    std::printf("soak: at the end %d cars, rain %s, sub-menu %s\n", records.panel.cars_present,
                records.rain.raining ? "on" : "off", records.panel.menu_state ? "open" : "closed");
    std::printf("soak: growth from the first to the last sample %+lld KiB (goal 0)\n",
                static_cast<long long>((last - first) / 1024));
    return 0;
}
