#include "platform/time_scale.h"

#include <gtest/gtest.h>

#include "support/scoped_environment.h"

namespace gl {
namespace {

using std::chrono::milliseconds;

TEST(TimeScaleTest, OnlyPositiveNumbersScale) {
  const std::pair<const char*, double> rows[] = {
      {"0.001", 0.001}, {"1e-3", 0.001}, {"", 1.0},    {"0.5x", 1.0},
      {"0", 1.0},       {"-1", 1.0},     {"inf", 1.0}, {"nan", 1.0},
  };
  for (const auto& [text, factor] : rows) {
    SCOPED_TRACE(text);
    const test::ScopedTimeScale scale(text);
    EXPECT_DOUBLE_EQ(TimeScale(), factor);
  }
}

TEST(TimeScaleTest, ScaledWaitsRoundUpAndNeverVanish) {
  const struct {
    const char* factor;
    long long in;
    long long out;
  } rows[] = {
      {"1", 32000, 32000}, {"0.001", 32000, 32}, {"0.0001", 5000, 1},
      {"0.003", 5000, 15}, {"0.001", 0, 0},      {"1e300", 5000, 86400000},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.factor) + " " + std::to_string(row.in));
    const test::ScopedTimeScale scale(row.factor);
    EXPECT_EQ(Scaled(milliseconds(row.in)), milliseconds(row.out));
  }
}

}  // namespace
}  // namespace gl
