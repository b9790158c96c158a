// The scene's pseudo-random numbers: a linear congruential generator with the
// 0..32767 range, reseeded from the toolkit's clock so that every draw within
// one calendar second repeats the same sequence.
#pragma once

#include <cstdint>

namespace bridge {

inline constexpr int RANDOM_MAX = 32767;

// Restarts the sequence; the same value always gives the same sequence.
void seed_generator(std::uint32_t value);

// The next number of the sequence, 0..RANDOM_MAX.
int random_number();

// Seeds with the toolkit's calendar time in whole seconds.
void seed_random();

}  // namespace bridge
