#include "shell/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace tolmex::shell {

namespace {

// Decimal digits of |x| (no leading zeros) and the exponent of the first one:
// |x| = 0.d1d2d3... * 10^(exp + 1).
struct Digits {
  std::string d;
  int exp = 0;
};

Digits SignificantDigits(double x, int count) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific,
                         count - 1);
  std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));
  Digits out;
  const std::size_t e = s.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (s[i] != '.') out.d.push_back(s[i]);
  std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), out.exp);
  return out;
}

// Rounds the digit string to `keep` digits, halves away from zero; returns true when the
// carry added a new leading digit.
bool RoundDigits(std::string& d, int keep) {
  if (keep < 0) {
    d.clear();
    return false;
  }
  if (keep >= static_cast<int>(d.size())) return false;
  const bool up = d[static_cast<std::size_t>(keep)] >= '5';
  d.resize(static_cast<std::size_t>(keep));
  if (!up) return false;
  int i = keep - 1;
  for (; i >= 0; --i) {
    if (d[static_cast<std::size_t>(i)] == '9') {
      d[static_cast<std::size_t>(i)] = '0';
    } else {
      ++d[static_cast<std::size_t>(i)];
      break;
    }
  }
  if (i < 0) {
    d.insert(d.begin(), '1');
    return true;
  }
  return false;
}

std::string PadTo(std::string s, int w) {
  if (w > 0 && static_cast<int>(s.size()) < w) s.insert(0, static_cast<std::size_t>(w) - s.size(), ' ');
  return s;
}

std::string Special(double x, int w) {
  if (std::isnan(x)) return PadTo("Nan", w);
  return PadTo(x > 0 ? "+Inf" : "-Inf", w);
}

}  // namespace

std::string FormatSci(double x, int w) {
  if (!std::isfinite(x)) return Special(x, w);
  int W = std::max(w, 10);
  if (W > 255) W = 255;
  const int inner = std::min(W, 26);
  const int sig = inner - 8;  // digits of the mantissa
  std::string out;
  if (W > 26) out.append(static_cast<std::size_t>(W - 26), ' ');
  out.push_back(x < 0 ? '-' : ' ');
  int exp = 0;
  std::string d;
  if (x == 0) {
    d.assign(static_cast<std::size_t>(sig), '0');
  } else {
    Digits dg = SignificantDigits(x, 18);
    d = dg.d;
    exp = dg.exp;
    if (RoundDigits(d, sig)) {
      ++exp;
      d.pop_back();
    }
    d.resize(static_cast<std::size_t>(sig), '0');
  }
  out.push_back(d[0]);
  out.push_back('.');
  out.append(d, 1, std::string::npos);
  out.push_back('E');
  out.push_back(exp < 0 ? '-' : '+');
  const int ae = std::abs(exp);
  char eb[8];
  eb[0] = static_cast<char>('0' + ae / 1000 % 10);
  eb[1] = static_cast<char>('0' + ae / 100 % 10);
  eb[2] = static_cast<char>('0' + ae / 10 % 10);
  eb[3] = static_cast<char>('0' + ae % 10);
  out.append(eb, 4);
  return out;
}

std::string FormatFixed(double x, int w, int d) {
  if (!std::isfinite(x)) return Special(x, w);
  if (d < 0) d = 0;
  if (d > 216) d = 216;
  if (x != 0) {
    if (std::fabs(x) > std::ldexp(1.0, 119)) return FormatSci(x, w);
    const int e10 = SignificantDigits(x, 18).exp;
    if (e10 > 35 || e10 < -35) return FormatSci(x, w);
  }
  std::string intPart, frac;
  if (x == 0) {
    intPart = "0";
    frac.assign(static_cast<std::size_t>(d), '0');
  } else {
    Digits dg = SignificantDigits(x, 18);
    int exp = dg.exp;
    std::string digits = dg.d;
    if (RoundDigits(digits, exp + 1 + d)) ++exp;
    // digits now hold the value's leading digits, the first at 10^exp; pad to reach 10^-d.
    const int last = exp - static_cast<int>(digits.size()) + 1;  // power of the last digit
    if (digits.empty()) {
      intPart = "0";
      frac.assign(static_cast<std::size_t>(d), '0');
    } else {
      if (last > -d) digits.append(static_cast<std::size_t>(last + d), '0');
      // Now the last digit is at 10^-d.
      const int intDigits = exp + 1;
      if (intDigits <= 0) {
        intPart = "0";
        frac.assign(static_cast<std::size_t>(-intDigits), '0');
        frac += digits;
      } else {
        intPart = digits.substr(0, static_cast<std::size_t>(intDigits));
        frac = digits.substr(static_cast<std::size_t>(intDigits));
      }
    }
  }
  std::string out;
  if (x < 0) out.push_back('-');
  out += intPart;
  if (d > 0) {
    out.push_back('.');
    out += frac;
  }
  return PadTo(std::move(out), w);
}

std::string FormatInt(std::int64_t i, int w) { return PadTo(std::to_string(i), w); }

std::string FormatGeneral(double x, const NumberLocale& locale) {
  if (std::isnan(x)) return "Nan";
  if (std::isinf(x)) return x > 0 ? "+Inf" : "-Inf";
  if (x == 0) return "0";
  Digits dg = SignificantDigits(x, 15);
  std::string d = dg.d;
  while (d.size() > 1 && d.back() == '0') d.pop_back();
  const int exp = dg.exp;
  std::string out;
  if (x < 0) out.push_back('-');
  if (exp < -4 || exp >= 15) {
    out.push_back(d[0]);
    if (d.size() > 1) {
      out.push_back(locale.decimalSeparator);
      out.append(d, 1, std::string::npos);
    }
    out.push_back('E');
    if (exp < 0) out.push_back('-');
    out += std::to_string(std::abs(exp));
  } else if (exp < 0) {
    out += '0';
    out.push_back(locale.decimalSeparator);
    out.append(static_cast<std::size_t>(-exp - 1), '0');
    out += d;
  } else {
    const std::size_t intDigits = static_cast<std::size_t>(exp) + 1;
    if (d.size() <= intDigits) {
      out += d;
      out.append(intDigits - d.size(), '0');
    } else {
      out.append(d, 0, intDigits);
      out.push_back(locale.decimalSeparator);
      out.append(d, intDigits, std::string::npos);
    }
  }
  return out;
}

}  // namespace tolmex::shell
