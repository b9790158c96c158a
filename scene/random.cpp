// The linear congruential generator and its reseeding from the toolkit's clock.
#include "scene/random.h"

#include "toolkit/kavro.h"

namespace bridge {

namespace {

// The one piece of scene state outside the records, hidden here the way the C
// library hides its own generator state. 1 is the unseeded start.
std::uint32_t generator_state = 1;

}  // namespace

void seed_generator(std::uint32_t value) { generator_state = value; }

int random_number() {
    generator_state = generator_state * 214013u + 2531011u;
    return static_cast<int>((generator_state >> 16) & 0x7FFFu);
}

void seed_random() { seed_generator(static_cast<std::uint32_t>(KAVRO_time())); }

}  // namespace bridge
