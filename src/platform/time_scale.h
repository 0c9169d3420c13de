#pragma once

#include <chrono>

// Every time-out of the program passes through one factor, read from the environment variable
// GLEANER_LIGHT_TIME_SCALE (a positive decimal such as "0.001"; default 1). Tests set it small so
// the real waiting logic runs in milliseconds.

namespace gl {

// The factor in force; anything that is not a positive finite number counts as 1.
double TimeScale();

// `duration` times the factor, rounded up to whole milliseconds; never zero for a positive
// duration, so a scaled wait still waits.
std::chrono::milliseconds Scaled(std::chrono::milliseconds duration);

}  // namespace gl
