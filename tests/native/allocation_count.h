#pragma once

#include <cstddef>

// Calls of the global operator new (every form) since the test program started.
size_t AllocationCount();
