// Which frames a replay writes: "0,83,500", "100-120", "every:K" or "all".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kavro {

class FrameList {
public:
    // False (with a reason) for a list that cannot be read.
    bool parse(const std::string& text, std::string& error);
    bool contains(std::int64_t frame) const;
    bool empty() const { return !all_ && every_ == 0 && ranges_.empty(); }

private:
    struct Range {
        std::int64_t first;
        std::int64_t last;
    };
    bool all_ = false;
    std::int64_t every_ = 0;
    std::vector<Range> ranges_;
};

}  // namespace kavro
