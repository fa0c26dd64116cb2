#include "shell/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tolmex::shell;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
}

TEST(FormatFixed, Cases) {
  struct Case { double x; int w, d; const char* out; };
  const Case cases[] = {
      {3.14159, 8, 3, "   3.142"},
      {-0.0004, 6, 2, " -0.00"},
      {123456, 3, 1, "123456.0"},
      {2.5, 4, 0, "   3"},
      {-2.5, 4, 0, "  -3"},
      {0.125, 0, 2, "0.13"},        // half away from zero (0.125 is exact)
      {0.0996, 6, 2, "  0.10"},     // carry into a new digit
      {9.995, 1, 2, "9.99"},        // the double is 9.99499999999999922...
      {0, 5, 2, " 0.00"},
      {-0.0, 5, 1, "  0.0"},
      {1e25, 1, 0, "10000000000000000900000000"},  // the double, to 18 digits
      {123456789012345678901.0, 1, 0, "123456789012345684000"},
      {0.6, 1, 0, "1"},
      {0.4, 1, 0, "0"},
      {1.5, 1, 20, "1.50000000000000000000"},
      {kInf, 6, 2, "  +Inf"},
      {-kInf, 2, 2, "-Inf"},
      {std::nan(""), 5, 1, "  Nan"},
      {1e-40, 12, 4, " 1.000E-0040"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFixed(c.x, c.w, c.d), c.out) << c.x << ":" << c.w << ":" << c.d;
}

TEST(FormatFixed, SwitchesToScientificBeyondTheRange) {
  EXPECT_EQ(FormatFixed(1e36, 10, 2), FormatSci(1e36, 10));
  EXPECT_EQ(FormatFixed(-1e-36, 10, 2), FormatSci(-1e-36, 10));
  EXPECT_EQ(FormatFixed(1e35, 1, 0), "99999999999999996900000000000000000");
  EXPECT_EQ(FormatFixed(1e-35, 1, 2), "0.00");
}

TEST(FormatSci, Cases) {
  struct Case { double x; int w; const char* out; };
  const Case cases[] = {
      {1234.5, 10, " 1.2E+0003"},
      {-0.000123, 12, "-1.230E-0004"},
      {0, 10, " 0.0E+0000"},
      {9.96, 10, " 1.0E+0001"},
      {1.0, 3, " 1.0E+0000"},
      {1.0, 26, " 1.00000000000000000E+0000"},
      {-1.0, 28, "  -1.00000000000000000E+0000"},
      {1e-40, 12, " 1.000E-0040"},
      {kInf, 12, "        +Inf"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatSci(c.x, c.w), c.out) << c.x << ":" << c.w;
}

TEST(FormatInt, RightAlignsAndGrows) {
  EXPECT_EQ(FormatInt(42, 5), "   42");
  EXPECT_EQ(FormatInt(-42, 2), "-42");
  EXPECT_EQ(FormatInt(0, 0), "0");
}

TEST(FormatGeneral, Cases) {
  struct Case { double x; const char* dot; const char* comma; };
  const Case cases[] = {
      {0.1 + 0.2, "0.3", "0,3"},
      {3, "3", "3"},
      {-2.5, "-2.5", "-2,5"},
      {0.0001, "0.0001", "0,0001"},
      {0.00001234, "1.234E-5", "1,234E-5"},
      {1e15, "1E15", "1E15"},
      {123456789012345.0, "123456789012345", "123456789012345"},
      {1.0 / 3, "0.333333333333333", "0,333333333333333"},
      {0, "0", "0"},
      {std::nan(""), "Nan", "Nan"},
      {kInf, "+Inf", "+Inf"},
      {-kInf, "-Inf", "-Inf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatGeneral(c.x, NumberLocale::Dot()), c.dot) << c.x;
    EXPECT_EQ(FormatGeneral(c.x, NumberLocale::Comma()), c.comma) << c.x;
  }
}
