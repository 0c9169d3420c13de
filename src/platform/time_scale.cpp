#include "platform/time_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gl {

double TimeScale() {
  const char* text = std::getenv("GLEANER_LIGHT_TIME_SCALE");
  if (text == nullptr || *text == '\0') return 1.0;
  char* end = nullptr;
  const double factor = std::strtod(text, &end);
  if (*end != '\0' || !std::isfinite(factor) || factor <= 0.0) return 1.0;
  return factor;
}

std::chrono::milliseconds Scaled(std::chrono::milliseconds duration) {
  if (duration.count() <= 0) return std::chrono::milliseconds(0);
  const double scaled = std::ceil(static_cast<double>(duration.count()) * TimeScale());
  // A huge factor must not overflow the count; a day is longer than any wait here.
  constexpr double kLongest = 24.0 * 60 * 60 * 1000;
  return std::chrono::milliseconds(
      static_cast<long long>(std::min(std::max(scaled, 1.0), kLongest)));
}

}  // namespace gl
