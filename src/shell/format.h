#pragma once
// The report number formatters. Every number in a report is written by one of these.
#include <cstdint>
#include <string>

#include "shell/number_locale.h"

namespace tolmex::shell {

// x:w:d — fixed point with d decimals right-aligned in w characters (the field grows).
std::string FormatFixed(double x, int w, int d);
// x:w — scientific form in max(w, 10) characters.
std::string FormatSci(double x, int w);
// i:w — integer right-aligned in w characters (the field grows).
std::string FormatInt(std::int64_t i, int w);
// Shortest general form with up to 15 significant digits, locale decimal separator.
std::string FormatGeneral(double x, const NumberLocale& locale = CurrentNumberLocale());

}  // namespace tolmex::shell
