// Every KAVRO_ drawing call with arguments taken from the input, the extremes
// of int included, and text of any length passed as an argument, never as a
// format. Each span the drawing writes must lie within one row of a picture.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_toolkit.h"
#include "platform/core/window.h"
#include "platform/drawing/span_observer.h"
#include "toolkit/state.h"

namespace {

// Past the 1023 characters a formatted text is cut to, and no further: long
// texts of large letters are what makes an input slow.
constexpr std::size_t MAX_TEXT = 1100;
constexpr int MAX_CALLS = 16;

// The pictures the calls may write: the canvas, and the two windows' surfaces
// for the text window's lines and the presented canvas.
bool within_one_row(const platform::Bitmap* bitmap, const platform::Pixel* start, std::int64_t count) {
    if (!bitmap || bitmap->pixels.empty()) return false;
    std::int64_t offset = start - bitmap->pixels.data();
    if (offset < 0 || offset >= static_cast<std::int64_t>(bitmap->pixels.size())) return false;
    return count > 0 && offset % bitmap->width + count <= bitmap->width;
}

void check_span(void*, const platform::Pixel* start, std::int64_t count, platform::Pixel) {
    if (!within_one_row(&kavro::canvas_bitmap(), start, count) &&
        !within_one_row(platform::window_surface(kavro::state.graphics_window), start, count) &&
        !within_one_row(platform::window_surface(kavro::state.text_window), start, count))
        std::abort();
}

// Mostly the values where arithmetic breaks, otherwise anything.
int any_int(FuzzedDataProvider& input) {
    static constexpr int EDGES[] = {INT_MIN, INT_MIN + 1, -65536, -32769, -601, -1, 0, 1, 127, 128, 32768, INT_MAX};
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: return input.PickValueInArray(EDGES);
    case 1: return input.ConsumeIntegralInRange(-700, 700);
    default: return input.ConsumeIntegral<int>();
    }
}

void draw_one(FuzzedDataProvider& input) {
    auto a = [&input] { return any_int(input); };
    switch (input.ConsumeIntegralInRange(0, 12)) {
    case 0: KAVRO_pixel(a(), a(), a()); break;
    case 1: KAVRO_circle(a(), a(), a(), a()); break;
    case 2: KAVRO_triangle(a(), a(), a(), a(), a(), a(), a(), a()); break;
    case 3: KAVRO_rectangle(a(), a(), a(), a(), a(), a()); break;
    case 4: KAVRO_oval(a(), a(), a(), a(), a(), a()); break;
    case 5: KAVRO_line(a(), a(), a(), a(), a(), a()); break;
    case 6: {
        int color = a(), x = a(), y = a(), size = a();
        KAVRO_text(color, x, y, size, "%s", input.ConsumeRandomLengthString(MAX_TEXT).c_str());
        break;
    }
    case 7: {
        int color = a(), x = a(), y = a(), size = a();
        KAVRO_textf(color, x, y, size, "%d|%x|%c|%5.2f|%-8s|%%\n%u", a(), a(), a(), a() / 7.0, "abc", a());
        break;
    }
    case 8: KAVRO_printf("%s", input.ConsumeRandomLengthString(MAX_TEXT).c_str()); break;
    case 9: KAVRO_printf("%d %ld %08x %s\n", a(), static_cast<long>(a()), a(), "kavro"); break;
    case 10: KAVRO_clear(); break;
    case 11: KAVRO_undo(); break;
    default: KAVRO_logging(a() & 1); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // Opened once: a fresh toolkit's pictures cost more than the calls. Each
    // input starts from a cleared canvas with logging off.
    static bool opened = false;
    if (!opened) fuzz_support::open_toolkit(60'000);
    opened = true;
    KAVRO_clear();
    KAVRO_logging(0);
    platform::set_span_observer(check_span, nullptr);
    for (int call = 0; call < MAX_CALLS && input.remaining_bytes() > 0; ++call) draw_one(input);
    platform::set_span_observer(nullptr, nullptr);
    return 0;
}
