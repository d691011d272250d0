#pragma once

#include "memory/memory_sample.h"

// A 16 GB computer at 47 %: the reading the native benchmarks measure with.
inline MemorySample TypicalSample() {
    MemorySample s;
    s.MemoryLoad = 47;
    s.TotalPhys = 17179869184;
    s.AvailPhys = 9105330176;
    s.TotalPageFile = 19327352832;
    s.AvailPageFile = 8053063680;
    return s;
}
