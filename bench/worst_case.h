// The scene's worst case for a turn, shared by the benchmarks that time it
// and the soak that runs it for a long time.
#pragma once

#include "scene/main_loop.h"

namespace bench {

// A fresh headless platform and toolkit with the scene started up in its
// worst case: 20 cars on the road, 900 drops, the boat out and the car
// sub-menu of button 4 open with 22 rows. The virtual clock never runs out.
void make_worst_case(bridge::SceneRecords& records);

}  // namespace bench
