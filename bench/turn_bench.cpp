// The per-turn redraw measured side by side in one run: the worst-case turn,
// its plain-fill floor, the same primitives drawn with Cairo, the whole
// program's headless throughput and the turn's text. Ratios print at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "bench/worst_case.h"
#include "platform/core/window.h"
#include "platform/drawing/span_observer.h"
#include "scene/main_loop.h"
#include "support/recorded_call.h"
#include "toolkit/call_trace.h"
#include "toolkit/inspect.h"

#ifdef KAVRO_HAVE_CAIRO
#include <cairo.h>
#endif

// Counts heap allocations, to show the redraw makes none.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<long> allocations{0};
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

enum class PrimitiveKind { PIXEL, CIRCLE, TRIANGLE, RECTANGLE, OVAL, LINE, TEXT };

// A drawing call with its kind looked up once, so the Cairo peer does not
// compare names while it is timed.
struct Primitive {
    PrimitiveKind kind;
    test_support::RecordedCall call;
};

void keep_primitive(void* context, const kavro::TracedCall& call) {
    static const std::pair<const char*, PrimitiveKind> kinds[] = {
        {"pixel", PrimitiveKind::PIXEL},       {"circle", PrimitiveKind::CIRCLE},
        {"triangle", PrimitiveKind::TRIANGLE}, {"rectangle", PrimitiveKind::RECTANGLE},
        {"oval", PrimitiveKind::OVAL},         {"line", PrimitiveKind::LINE},
        {"text", PrimitiveKind::TEXT}};
    for (const auto& [name, kind] : kinds)
        if (std::strcmp(call.name, name) == 0)
            static_cast<std::vector<Primitive>*>(context)->push_back(Primitive{kind, test_support::recorded(call)});
}

// The primitives one redraw of the scene asks for.
std::vector<Primitive> record_turn(bridge::SceneRecords& records) {
    std::vector<Primitive> list;
    kavro::set_call_observer(keep_primitive, &list);
    bridge::redraw(records);
    kavro::set_call_observer(nullptr, nullptr);
    return list;
}

bridge::SceneRecords worst;
bool worst_ready = false;

void ensure_worst_case() {
    if (worst_ready) return;
    worst_ready = true;
    worst = bridge::SceneRecords{};
    bench::make_worst_case(worst);
    bridge::redraw(worst);  // places the 900 drops and warms the glyph caches
}

void BM_WorstCaseTurn(benchmark::State& state) {
    ensure_worst_case();
    long before = allocations.load();
    long turns = 0;
    for (auto _ : state) {
        bridge::redraw(worst);
        ++turns;
    }
    state.counters["allocations_per_turn"] =
        benchmark::Counter(static_cast<double>(allocations.load() - before) / static_cast<double>(std::max(turns, 1L)));
}
BENCHMARK(BM_WorstCaseTurn)->Unit(benchmark::kMicrosecond);

struct Span {
    std::int64_t offset;
    std::int64_t count;
    platform::Pixel pixel;
};

struct SpanCapture {
    const platform::Pixel* base;
    std::int64_t size;
    std::vector<Span> spans;
};

void collect_span(void* context, const platform::Pixel* start, std::int64_t count, platform::Pixel pixel) {
    auto* capture = static_cast<SpanCapture*>(context);
    // Only the canvas's own spans: the floor writes them back into it.
    if (start < capture->base || start + count > capture->base + capture->size) return;
    capture->spans.push_back(Span{start - capture->base, count, pixel});
}

// The spans one worst-case redraw fills, in order.
SpanCapture capture_floor(platform::Bitmap& canvas) {
    SpanCapture capture{canvas.pixels.data(), static_cast<std::int64_t>(canvas.pixels.size()), {}};
    platform::set_span_observer(collect_span, &capture);
    bridge::redraw(worst);
    platform::set_span_observer(nullptr, nullptr);
    return capture;
}

// Plain scalar fills: no vector stores, no memset.
__attribute__((optimize("no-tree-vectorize", "no-tree-loop-distribute-patterns"))) void fill_spans(
    platform::Pixel* base, const std::vector<Span>& spans) {
    for (const Span& span : spans) {
        platform::Pixel* p = base + span.offset;
        for (std::int64_t i = 0; i < span.count; ++i) p[i] = span.pixel;
    }
}

void BM_PlainFillFloor(benchmark::State& state) {
    ensure_worst_case();
    platform::Bitmap& canvas = kavro::canvas_bitmap();
    SpanCapture capture = capture_floor(canvas);
    std::int64_t pixels = 0;
    for (const Span& span : capture.spans) pixels += span.count;
    for (auto _ : state) {
        fill_spans(canvas.pixels.data(), capture.spans);
        benchmark::ClobberMemory();
    }
    state.counters["spans"] = static_cast<double>(capture.spans.size());
    state.counters["pixels"] = static_cast<double>(pixels);
}
BENCHMARK(BM_PlainFillFloor)->Unit(benchmark::kMicrosecond);

#ifdef KAVRO_HAVE_CAIRO
void set_color(cairo_t* cr, int color) {
    platform::ColorWord c = kavro::color_value(color < 0 || color > 23 ? 2 : color);
    cairo_set_source_rgb(cr, platform::red_of(c) / 255.0, platform::green_of(c) / 255.0, platform::blue_of(c) / 255.0);
}

// Arguments as the call trace gives them: colour first, then the points, then
// the radius, line width or point size.
void draw_with_cairo(cairo_t* cr, const std::vector<Primitive>& list, double cx, double cy) {
    for (const Primitive& p : list) {
        const std::vector<int>& a = p.call.args;
        set_color(cr, a[0]);
        switch (p.kind) {
        case PrimitiveKind::PIXEL:
            cairo_rectangle(cr, cx + a[1], cy - a[2], 1, 1);
            cairo_fill(cr);
            break;
        case PrimitiveKind::CIRCLE:
            cairo_arc(cr, cx + a[1] + 0.5, cy - a[2] + 0.5, a[3] + 0.5, 0, 6.283185307179586);
            cairo_fill(cr);
            break;
        case PrimitiveKind::TRIANGLE:
            cairo_move_to(cr, cx + a[1], cy - a[2]);
            cairo_line_to(cr, cx + a[3], cy - a[4]);
            cairo_line_to(cr, cx + a[5], cy - a[6]);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case PrimitiveKind::RECTANGLE:
        case PrimitiveKind::OVAL: {
            double left = cx + std::min(a[1], a[3]);
            double top = cy - std::max(a[2], a[4]);
            double w = std::abs(a[3] - a[1]) + 1;
            double h = std::abs(a[4] - a[2]) + 1;
            int width = a[5];
            if (p.kind == PrimitiveKind::RECTANGLE) {
                if (width == 0) {
                    cairo_rectangle(cr, left, top, w, h);
                    cairo_fill(cr);
                } else {
                    cairo_rectangle(cr, left + 0.5, top + 0.5, w - 1, h - 1);
                    cairo_set_line_width(cr, width);
                    cairo_stroke(cr);
                }
            } else {
                cairo_save(cr);
                cairo_translate(cr, left + w / 2, top + h / 2);
                cairo_scale(cr, w / 2, h / 2);
                cairo_arc(cr, 0, 0, 1, 0, 6.283185307179586);
                cairo_restore(cr);
                if (width == 0) {
                    cairo_fill(cr);
                } else {
                    cairo_set_line_width(cr, width);
                    cairo_stroke(cr);
                }
            }
            break;
        }
        case PrimitiveKind::LINE:
            cairo_move_to(cr, cx + a[1] + 0.5, cy - a[2] + 0.5);
            cairo_line_to(cr, cx + a[3] + 0.5, cy - a[4] + 0.5);
            cairo_set_line_width(cr, a[5] < 1 ? 1 : a[5]);
            cairo_stroke(cr);
            break;
        case PrimitiveKind::TEXT:
            cairo_set_font_size(cr, a[3]);
            cairo_move_to(cr, cx + a[1], cy - a[2] - a[3] * 0.2);
            cairo_show_text(cr, p.call.text.c_str());
            break;
        }
    }
}

// No antialiasing for shapes or glyphs, as our own drawing.
void prepare_cairo(cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

void BM_CairoTurn(benchmark::State& state) {
    ensure_worst_case();
    std::vector<Primitive> list = record_turn(worst);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 601, 540);
    cairo_t* cr = cairo_create(surface);
    prepare_cairo(cr);
    platform::Point origin = kavro::canvas_origin();
    double cx = origin.x;
    double cy = origin.y;
    draw_with_cairo(cr, list, cx, cy);
    for (auto _ : state) {
        draw_with_cairo(cr, list, cx, cy);
        cairo_surface_flush(surface);
    }
    state.counters["primitives"] = static_cast<double>(list.size());
    cairo_surface_write_to_png(surface, "cairo-peer-turn.png");
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_CairoTurn)->Unit(benchmark::kMicrosecond);
#endif

// The three in turns within every iteration, so a slower stretch of the
// machine slows all three alike and the ratios hold.
void BM_SideBySide(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    ensure_worst_case();
    platform::Bitmap& canvas = kavro::canvas_bitmap();
    SpanCapture capture = capture_floor(canvas);
#ifdef KAVRO_HAVE_CAIRO
    platform::Point origin = kavro::canvas_origin();
    std::vector<Primitive> list = record_turn(worst);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 601, 540);
    cairo_t* cr = cairo_create(surface);
    prepare_cairo(cr);
#endif
    Clock::duration turn{}, floor{}, peer{};
    for (auto _ : state) {
        Clock::time_point t0 = Clock::now();
        bridge::redraw(worst);
        Clock::time_point t1 = Clock::now();
        fill_spans(canvas.pixels.data(), capture.spans);
        benchmark::ClobberMemory();
        Clock::time_point t2 = Clock::now();
#ifdef KAVRO_HAVE_CAIRO
        draw_with_cairo(cr, list, origin.x, origin.y);
        cairo_surface_flush(surface);
#endif
        Clock::time_point t3 = Clock::now();
        turn += t1 - t0;
        floor += t2 - t1;
        peer += t3 - t2;
    }
#ifdef KAVRO_HAVE_CAIRO
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
#endif
    auto us = [&](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count() / static_cast<double>(state.iterations());
    };
    state.counters["turn_us"] = us(turn);
    state.counters["floor_us"] = us(floor);
    if (peer.count() > 0 && us(peer) > 0.01) state.counters["cairo_us"] = us(peer);
}
BENCHMARK(BM_SideBySide)->Unit(benchmark::kMicrosecond);

void BM_HeadlessThroughput(benchmark::State& state) {
    worst_ready = false;
    ensure_worst_case();
    for (auto _ : state) bridge::run_turn(worst);
    // The turns moved the scene on: the next benchmark builds the worst case afresh.
    worst_ready = false;
    state.SetItemsProcessed(state.iterations());
    state.counters["turns_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessThroughput)->Unit(benchmark::kMicrosecond);

// One rain stroke as the scene draws it: a call that must cost next to nothing.
void BM_RainStroke(benchmark::State& state) {
    ensure_worst_case();
    int x = -290;
    for (auto _ : state) {
        KAVRO_line(KAVRO_NAVY_BLUE, x, 100, x, 95, 1);
        x = x < 290 ? x + 1 : -290;
    }
}
BENCHMARK(BM_RainStroke)->Unit(benchmark::kNanosecond);

void BM_TurnText(benchmark::State& state) {
    ensure_worst_case();
    std::vector<test_support::RecordedCall> texts;
    for (const Primitive& p : record_turn(worst))
        if (p.kind == PrimitiveKind::TEXT) texts.push_back(p.call);
    auto draw = [](const test_support::RecordedCall& t) {
        KAVRO_text(t.args[0], t.args[1], t.args[2], t.args[3], "%s", t.text.c_str());
    };
    for (const auto& t : texts) draw(t);
    long before = allocations.load();
    for (auto _ : state)
        for (const auto& t : texts) draw(t);
    state.counters["strings"] = static_cast<double>(texts.size());
    state.counters["allocations"] = static_cast<double>(allocations.load() - before);
}
BENCHMARK(BM_TurnText)->Unit(benchmark::kMicrosecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // The median repetitions: the side-by-side run, which other work on the machine barely moves,
        // the throughput and the allocations.
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
            const std::string& function = run.run_name.function_name;
            if (function != "BM_SideBySide" && function != "BM_HeadlessThroughput" && function != "BM_WorstCaseTurn")
                continue;
            for (const char* name : {"turn_us", "floor_us", "cairo_us", "turns_per_second", "allocations_per_turn"}) {
                auto found = run.counters.find(name);
                if (found != run.counters.end()) times_[name] = found->second.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void print_ratios() const {
        auto time_of = [this](const char* name) {
            auto found = times_.find(name);
            return found == times_.end() ? 0.0 : found->second;
        };
        double turn = time_of("turn_us");
        double floor = time_of("floor_us");
        double cairo = time_of("cairo_us");
        if (turn <= 0) return;
        std::printf("side by side, medians: turn %.0f us, floor %.0f us, Cairo %.0f us\n", turn, floor, cairo);
        if (turn > 0 && floor > 0)
            std::printf("worst-case turn / plain-fill floor: %.2f (goal <= 0.6)\n", turn / floor);
        if (turn > 0 && cairo > 0)
            std::printf("Cairo turn / worst-case turn: %.1f x (goal >= 5)\n", cairo / turn);
        else if (turn > 0)
            std::printf("Cairo peer skipped: built without Cairo\n");
        std::printf("headless program, worst case: %.0f turns a second (goal >= 8000)\n", time_of("turns_per_second"));
        std::printf("heap allocations per turn: %.2f (goal 0)\n", time_of("allocations_per_turn"));
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    // Repetitions in random order spread every benchmark over the same stretch
    // of time, so the ratios hold on a busy machine; flags given override these.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=7";
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions, interleaving, aggregates});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_ratios();
    benchmark::Shutdown();
    return 0;
}
