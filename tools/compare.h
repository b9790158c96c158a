// Exact comparison of replayed frames with reference pictures, for grading
// scripts and regression tests.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/base/bitmap.h"

namespace replay {

// Pixels that differ; a picture of another size differs in all of its pixels.
std::int64_t differing_pixels(const platform::Bitmap& actual, const platform::Bitmap& expected);

// The differing pixels in red over a faded copy of the actual picture.
platform::Bitmap difference_picture(const platform::Bitmap& actual, const platform::Bitmap& expected);

// Compares out_dir/frame-NNNNNN.png of every frame with the file of the same
// name in reference_dir, writes frame-NNNNNN-difference.png beside each one
// that differs and prints "N frames compared, M differ; first: frame K, P
// pixels". True when all are equal and present.
bool compare_frames(const std::vector<std::int64_t>& frames, const std::string& out_dir,
                    const std::string& reference_dir, std::ostream& out, std::ostream& err);

}  // namespace replay
