// A traced call as tests and benchmarks keep it: an owning copy of the
// kavro::TracedCall the toolkit hands its observer, comparable and printable.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "toolkit/call_trace.h"

namespace test_support {

struct RecordedCall {
    std::string name;
    std::vector<int> args;
    std::string text;

    bool operator==(const RecordedCall&) const = default;
};

inline RecordedCall recorded(const kavro::TracedCall& call) {
    return RecordedCall{call.name, std::vector<int>(call.args, call.args + call.arg_count), call.text ? call.text : ""};
}

inline std::ostream& operator<<(std::ostream& out, const RecordedCall& call) {
    out << call.name << "(";
    for (std::size_t i = 0; i < call.args.size(); ++i) out << (i ? ", " : "") << call.args[i];
    if (!call.text.empty()) out << ", \"" << call.text << "\"";
    return out << ")";
}

}  // namespace test_support
