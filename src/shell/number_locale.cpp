#include "shell/number_locale.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace tolmex::shell {

NumberLocale NumberLocale::FromLocaleName(const std::string& name) {
  // Languages whose conventional decimal separator is a comma.
  static constexpr std::array<std::string_view, 30> kComma = {
      "pt", "es", "fr", "de", "it", "nl", "ru", "pl", "cs", "sk", "sl", "hr", "sr", "bg", "ro",
      "hu", "fi", "sv", "da", "nb", "nn", "no", "tr", "el", "uk", "be", "ca", "gl", "eu", "id"};
  std::string_view lang(name);
  lang = lang.substr(0, lang.find_first_of("_.@"));
  if (name.rfind("en_IN", 0) == 0) return Dot();
  for (auto c : kComma)
    if (lang == c) return Comma();
  return Dot();
}

NumberLocale NumberLocale::FromEnvironment() {
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) return FromLocaleName(v);
  }
  return Dot();
}

namespace {
NumberLocale& Current() {
  static NumberLocale locale = NumberLocale::FromEnvironment();
  return locale;
}
}  // namespace

const NumberLocale& CurrentNumberLocale() { return Current(); }
void SetCurrentNumberLocale(const NumberLocale& locale) { Current() = locale; }

}  // namespace tolmex::shell
