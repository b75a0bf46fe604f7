// What a process holds, measured the same way by the soak and the benchmarks.
#pragma once

#include <cstddef>

// Committed private memory, summed region by region (the process-memory
// counters do not follow heap growth under Wine).
size_t privateBytes();
