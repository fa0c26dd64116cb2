#pragma once
// The user's decimal and thousands separators, where the user's locale applies (the
// general number format, the grid display). Everything else uses ".".
#include <string>

namespace tolmex::shell {

struct NumberLocale {
  char decimalSeparator = '.';
  char thousandsSeparator = ',';

  static NumberLocale Dot() { return {'.', ','}; }
  static NumberLocale Comma() { return {',', '.'}; }

  // From the environment: LC_ALL, else LC_NUMERIC, else LANG. Portuguese, and the other
  // languages that write a decimal comma, give ","; C, POSIX, English and unset give ".".
  static NumberLocale FromEnvironment();
  static NumberLocale FromLocaleName(const std::string& name);
};

// The process-wide locale used where no locale is passed. Starts from the environment; the
// GUI and the batch runner keep it, tests pin it.
const NumberLocale& CurrentNumberLocale();
void SetCurrentNumberLocale(const NumberLocale& locale);

}  // namespace tolmex::shell
