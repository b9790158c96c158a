// The script line reader against a model of its grammar written from the
// documented rules alone, so that any disagreement between the two crashes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/kavro.h"
#include "toolkit/script_line.h"

namespace {

// The runs of a line: maximal stretches of digits (and '-' when signed)
// from index 6 on, each read as its first 11 characters with an optional
// leading sign, clamped to 32 bits.
class NumberRuns {
public:
    explicit NumberRuns(std::string_view line) : line_(line), at_(6) {}

    std::optional<std::int32_t> next(bool is_signed) {
        auto in_run = [is_signed](char c) { return (c >= '0' && c <= '9') || (is_signed && c == '-'); };
        while (at_ < line_.size() && !in_run(line_[at_])) ++at_;
        if (at_ >= line_.size()) return std::nullopt;
        std::size_t end = at_;
        while (end < line_.size() && in_run(line_[end])) ++end;
        std::string field(line_.substr(at_, std::min<std::size_t>(end - at_, 11)));
        at_ = end;
        // strtoll stops where the sign-and-digits prefix stops; 11 characters cannot overflow it.
        long long value = std::strtoll(field.c_str(), nullptr, 10);
        return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
    }

private:
    std::string_view line_;
    std::size_t at_;
};

std::optional<kavro::ScriptEvent> model(std::string_view line) {
    if (line.size() <= 6) return std::nullopt;
    NumberRuns runs(line);
    switch (line[6]) {
    case 'M':
    case 'A': {
        auto x = runs.next(true);
        auto y = runs.next(true);
        if (!x || !y) return std::nullopt;
        return kavro::ScriptEvent{line[6] == 'M' ? KAVRO_MOUSE : KAVRO_MOTION, *x, *y, 0, 0};
    }
    case 'K': {
        auto code = runs.next(true);
        if (!code) return std::nullopt;
        return kavro::ScriptEvent{KAVRO_KBD, 0, 0, static_cast<char>(*code & 0xFF), 0};
    }
    case 'P': {
        auto count = runs.next(false);
        if (!count) return std::nullopt;
        return kavro::ScriptEvent{KAVRO_PERIODIC, 0, 0, 0, *count};
    }
    case 'D':
    case 'U': {
        auto code = runs.next(false);
        if (!code || *code > 255) return std::nullopt;
        return kavro::ScriptEvent{line[6] == 'D' ? KAVRO_KEY_PRESS : KAVRO_KEY_RELEASE, *code, 0, 0, 0};
    }
    case 'B': {
        auto x = runs.next(true);
        auto y = runs.next(true);
        auto button = runs.next(false);
        auto pressed = runs.next(false);
        if (!x || !y || !button || !pressed || *button < 1 || *button > 3 || *pressed > 1) return std::nullopt;
        return kavro::ScriptEvent{*pressed == 1 ? KAVRO_BUTTON_DOWN : KAVRO_BUTTON_UP, *x, *y,
                                  static_cast<char>(*button), 0};
    }
    case 'W': {
        auto x = runs.next(true);
        auto y = runs.next(true);
        auto steps = runs.next(true);
        if (!x || !y || !steps) return std::nullopt;
        return kavro::ScriptEvent{KAVRO_WHEEL, *x, *y, static_cast<char>(std::clamp(*steps, -127, 127)), 0};
    }
    default: return std::nullopt;
    }
}

bool same(const kavro::ScriptEvent& a, const kavro::ScriptEvent& b) {
    return a.kind == b.kind && a.x == b.x && a.y == b.y && a.key == b.key && a.count == b.count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader sees a C string: the line ends at the first zero byte.
    std::string line(reinterpret_cast<const char*>(data), size);
    kavro::ScriptEvent event;
    bool accepted = kavro::parse_script_line(line.c_str(), event);
    std::optional<kavro::ScriptEvent> expected = model(std::string_view(line.c_str()));
    if (accepted != expected.has_value() || (accepted && !same(event, *expected))) std::abort();
    return 0;
}
