#pragma once

#include "memory/memory_format.h"
#include "memory/memory_sample.h"

// One GlobalMemoryStatusEx reading; a failed call leaves every figure 0.
MemorySample ReadMemoryStatus();

// The user's thousands and decimal separators, "," and "." where the locale has none to give.
NumberSeparators UserNumberSeparators();
