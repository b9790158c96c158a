// The picture pipeline measured side by side in one run: the demo replay
// writing PNG frames and a GIF against the same replay writing none, then per
// frame the PNG encoding at every compression level against libpng's
// defaults, the GIF encoding, the frame comparison, and the GIF's size
// against gifsicle -O3 run on it.
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/drawing/png.h"
#include "toolkit/gif_writer.h"
#include "tools/compare.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int REPETITIONS = 7;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct Spread {
    double median = 0, low = 0, high = 0;
};

Spread spread_of(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    if (values.empty()) return {};
    return {values[values.size() / 2], values.front(), values.back()};
}

double run(const std::string& command) {
    Clock::time_point start = Clock::now();
    int status = std::system(command.c_str());
    double elapsed = seconds_since(start);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "picture_bench: failed: %s\n", command.c_str());
        std::exit(1);
    }
    return elapsed;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::vector<platform::Bitmap> read_frames(const fs::path& dir) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".png") names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    std::vector<platform::Bitmap> frames(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) platform::read_png(names[i].c_str(), frames[i]);
    return frames;
}

struct PngCost {
    double ms_per_frame;
    std::uintmax_t bytes;
};

// Median over repetitions of writing every frame with these settings.
PngCost png_cost(const std::vector<platform::Bitmap>& frames, const fs::path& dir,
                 const platform::PngSettings& settings) {
    std::vector<double> times;
    std::uintmax_t bytes = 0;
    for (int r = 0; r < REPETITIONS; ++r) {
        bytes = 0;
        Clock::time_point start = Clock::now();
        for (std::size_t i = 0; i < frames.size(); ++i) {
            fs::path path = dir / ("f" + std::to_string(i) + ".png");
            platform::write_png(path.c_str(), frames[i], settings);
        }
        times.push_back(seconds_since(start));
        for (std::size_t i = 0; i < frames.size(); ++i)
            bytes += fs::file_size(dir / ("f" + std::to_string(i) + ".png"));
    }
    return {spread_of(times).median * 1000 / static_cast<double>(frames.size()), bytes};
}

}  // namespace

int main() {
    const fs::path work = fs::absolute("picture-bench");
    fs::remove_all(work);
    const fs::path none = work / "none", pictures = work / "pictures", scratch = work / "scratch";
    for (const fs::path& dir : {none, pictures, scratch}) fs::create_directories(dir);
    const fs::path gif = work / "demo.gif";
    const std::string replay = std::string(quoted(KAVRO_REPLAY_TOOL)) + " " + quoted(KAVRO_BRIDGE) + " " +
                               quoted(fs::path(KAVRO_SOURCE_DIR) / "examples" / "demo.scr");
    // A frame past the end: the same replay, no picture kept.
    const std::string bare = replay + " --frames 1000000 --out " + quoted(none) + " >/dev/null";
    const std::string full =
        replay + " --frames every:3 --out " + quoted(pictures) + " --gif " + quoted(gif) + " >/dev/null";

    // In turns, so a busy stretch of the machine slows both alike.
    std::vector<double> bare_times, full_times, ratios;
    run(bare);
    for (int r = 0; r < REPETITIONS; ++r) {
        double b = run(bare);
        double f = run(full);
        bare_times.push_back(b);
        full_times.push_back(f);
        ratios.push_back(f / b);
    }
    const Spread bare_s = spread_of(bare_times), full_s = spread_of(full_times), ratio_s = spread_of(ratios);
    const std::vector<platform::Bitmap> frames = read_frames(pictures);
    if (frames.empty()) return 1;
    const double count = static_cast<double>(frames.size());

    std::printf("demo replay, %zu frames of %dx%d (median of %d, range):\n", frames.size(), frames[0].width,
                frames[0].height, REPETITIONS);
    std::printf("  no pictures   %.3f s (%.3f-%.3f)\n", bare_s.median, bare_s.low, bare_s.high);
    std::printf("  PNG every 3 + GIF   %.3f s (%.3f-%.3f)\n", full_s.median, full_s.low, full_s.high);

    // PNG: every level of the palette encoding against libpng's defaults in RGB.
    platform::PngSettings defaults;
    defaults.palette = false;
    defaults.compression_level = -1;
    const PngCost reference = png_cost(frames, scratch, defaults);
    std::printf("PNG per frame: libpng defaults (RGB, level 6): %.2f ms, %ju bytes in all\n", reference.ms_per_frame,
                reference.bytes);
    const platform::PngSettings chosen;
    PngCost ours{};
    for (int level = 0; level <= 9; ++level) {
        platform::PngSettings palette;
        palette.compression_level = level;
        const PngCost cost = png_cost(frames, scratch, palette);
        if (level == chosen.compression_level) ours = cost;
        std::printf("  palette, level %d: %.2f ms (%.2f of the defaults' time), %ju bytes (%.2f of their size)%s\n",
                    level, cost.ms_per_frame, cost.ms_per_frame / reference.ms_per_frame, cost.bytes,
                    static_cast<double>(cost.bytes) / static_cast<double>(reference.bytes),
                    level == chosen.compression_level ? "  <- chosen" : "");
    }

    // GIF: the whole animation, as the replay writes it.
    std::vector<double> gif_times;
    const fs::path gif_copy = scratch / "demo.gif";
    for (int r = 0; r < REPETITIONS; ++r) {
        Clock::time_point start = Clock::now();
        kavro::GifWriter writer;
        writer.open(gif_copy.string(), frames[0].width, frames[0].height, 10);
        for (const platform::Bitmap& frame : frames) writer.add_frame(frame);
        writer.close();
        gif_times.push_back(seconds_since(start));
    }
    std::printf("GIF per frame: %.2f ms, %ju bytes\n", spread_of(gif_times).median * 1000 / count,
                static_cast<std::uintmax_t>(fs::file_size(gif_copy)));

    // Comparison as --compare does it: both files read, pixels compared.
    std::vector<double> compare_times;
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(pictures)) names.push_back(entry.path());
    for (int r = 0; r < REPETITIONS; ++r) {
        Clock::time_point start = Clock::now();
        for (const fs::path& name : names) {
            platform::Bitmap a, b;
            platform::read_png(name.c_str(), a);
            platform::read_png(name.c_str(), b);
            if (replay::differing_pixels(a, b) != 0) return 1;
        }
        compare_times.push_back(seconds_since(start));
    }
    std::printf("comparison per frame: %.2f ms\n", spread_of(compare_times).median * 1000 / count);

    std::printf("\nreplay to pictures / replay without: %.1f x (%.1f-%.1f) (goal <= 4)\n", ratio_s.median, ratio_s.low,
                ratio_s.high);
    std::printf("PNG, palette level %d / libpng defaults: time %.2f, size %.2f\n", chosen.compression_level,
                ours.ms_per_frame / reference.ms_per_frame,
                static_cast<double>(ours.bytes) / static_cast<double>(reference.bytes));
    const std::uintmax_t gif_bytes = fs::file_size(gif);
    if (std::system("command -v gifsicle >/dev/null 2>&1") != 0) {
        std::printf("GIF: %ju bytes; gifsicle not installed, no comparison\n", gif_bytes);
    } else {
        const fs::path optimised = work / "demo-O3.gif";
        const double t = run("gifsicle -O3 " + quoted(gif) + " -o " + quoted(optimised));
        const std::uintmax_t o3 = fs::file_size(optimised);
        std::printf("GIF: %ju bytes, gifsicle -O3 of it %ju bytes (%.2f s): ours / theirs %.3f (goal <= 1)\n",
                    gif_bytes, o3, t, static_cast<double>(gif_bytes) / static_cast<double>(o3));
    }
    return 0;
}
