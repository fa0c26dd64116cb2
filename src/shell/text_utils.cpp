#include "shell/text_utils.h"

namespace tolmex::shell {

namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s)
    if (!IsContinuation(c)) ++n;
  return n;
}

std::string Utf8Left(std::string_view s, std::size_t n) {
  std::size_t count = 0, i = 0;
  for (; i < s.size(); ++i) {
    if (!IsContinuation(static_cast<unsigned char>(s[i]))) {
      if (count == n) break;
      ++count;
    }
  }
  return std::string(s.substr(0, i));
}

std::string PadRight(std::string_view s, std::size_t n) {
  std::string r(s);
  const std::size_t len = Utf8Length(s);
  if (len < n) r.append(n - len, ' ');
  return r;
}

std::string PadLeft(std::string_view s, std::size_t n) {
  const std::size_t len = Utf8Length(s);
  std::string r;
  if (len < n) r.append(n - len, ' ');
  r.append(s);
  return r;
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t extra;
    char32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if (!IsContinuation(cc)) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are invalid.
    if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
        (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
      return false;
    i += extra + 1;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace tolmex::shell
