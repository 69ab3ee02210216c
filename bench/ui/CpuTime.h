#pragma once
// The process's processor time in ms: on a shared, loaded machine the wall clock also
// counts other programs' turns, so the window benchmarks print both.
#include <ctime>

namespace kivtal::bench {

inline double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

}  // namespace kivtal::bench
