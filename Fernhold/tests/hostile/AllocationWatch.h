// The largest block the system's libraries ask for while a hostile input runs.
#pragma once

#include <cstddef>

// Reroutes the libraries' heap and DIB-section requests through counters (their import
// tables are patched once, at the first call); main thread or one driving thread only.
void StartAllocationWatch();
// The largest single request since the last call, and the count starts again.
size_t TakeLargestAllocation();
