#pragma once

#include <functional>

namespace tavolin {

// Called with every checkpoint that a click of Button8 or Button9 passes, for
// tests that make the work fail at a chosen point by throwing from it.
using StatisticsCheckpointHook = std::function<void(int checkpoint)>;
void SetStatisticsCheckpointHookForTesting(StatisticsCheckpointHook hook);

} // namespace tavolin
