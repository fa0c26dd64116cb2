#pragma once
// A table of reference values: what was computed, the expected value and the tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

namespace tolmex::numeric::testing {

struct Case {
  std::string what;
  double got;
  double expected;
  double tolerance;  // absolute; 0 asks for the exact value
};

inline void ExpectCases(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    if (c.tolerance == 0) {
      EXPECT_EQ(c.got, c.expected) << c.what;
    } else {
      EXPECT_NEAR(c.got, c.expected, c.tolerance) << c.what;
    }
  }
}

}  // namespace tolmex::numeric::testing
