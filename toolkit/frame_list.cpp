// Reading which turns a replay writes pictures at: lists, ranges, every:K and all.
#include "toolkit/frame_list.h"

#include <cerrno>
#include <cstdlib>

namespace kavro {
namespace {

bool parse_number(const std::string& text, std::int64_t& value) {
    if (text.empty() || text.size() > 12) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

}  // namespace

bool FrameList::parse(const std::string& text, std::string& error) {
    all_ = false;
    every_ = 0;
    ranges_.clear();
    if (text == "all") {
        all_ = true;
        return true;
    }
    if (text.rfind("every:", 0) == 0) {
        if (!parse_number(text.substr(6), every_) || every_ <= 0) {
            error = "every:K needs a whole number K of 1 or more";
            return false;
        }
        return true;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        std::size_t dash = item.find('-');
        Range range{};
        bool ok = dash == std::string::npos
                      ? parse_number(item, range.first) && (range.last = range.first, true)
                      : parse_number(item.substr(0, dash), range.first) &&
                            parse_number(item.substr(dash + 1), range.last) && range.first <= range.last;
        if (!ok) {
            error = "cannot read frame list item \"" + item + "\"";
            return false;
        }
        ranges_.push_back(range);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

bool FrameList::contains(std::int64_t frame) const {
    if (all_) return true;
    if (every_ > 0) return frame % every_ == 0;
    for (const Range& range : ranges_)
        if (frame >= range.first && frame <= range.last) return true;
    return false;
}

}  // namespace kavro
