#include "shell/rtf.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

#include "shell/convert.h"
#include "shell/text_utils.h"

namespace tolmex::shell {

namespace {

// Windows-1252 bytes 0x80..0x9F; the other bytes above 0x7F are Latin-1.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char32_t FromCp1252(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kCp1252High[b - 0x80];
  return b;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one code point at s[i], advancing i; invalid sequences give U+FFFD and advance
// one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + len > s.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += len;
  return cp;
}

// ---------------------------------------------------------------------------------------
// Writer

void AppendInt(std::string& out, long long v) { out += std::to_string(v); }

void AppendUnicodeEscape(std::string& out, char32_t unit) {
  // RTF takes signed 16-bit values.
  long long v = static_cast<long long>(unit);
  if (v > 32767) v -= 65536;
  out += "\\u";
  AppendInt(out, v);
  out += '?';
}

// Escaped text. `needSpace` tells that a control word was just written and text starting
// with a letter, a digit or a space would run into it.
void AppendEscaped(std::string& out, std::string_view text, bool& needSpace) {
  std::size_t i = 0;
  while (i < text.size()) {
    const char32_t cp = NextCodePoint(text, i);
    if (cp == '\t') {
      out += "\\tab";
      needSpace = true;
      continue;
    }
    if (cp < 0x20 || cp == 0x7F) continue;
    if (cp < 0x80) {
      if (needSpace) out += ' ';
      needSpace = false;
      if (cp == '\\' || cp == '{' || cp == '}') out += '\\';
      out += static_cast<char>(cp);
      continue;
    }
    if (cp > 0xFFFF) {
      const char32_t v = cp - 0x10000;
      AppendUnicodeEscape(out, 0xD800 + (v >> 10));
      AppendUnicodeEscape(out, 0xDC00 + (v & 0x3FF));
    } else {
      AppendUnicodeEscape(out, cp);
    }
    needSpace = false;
  }
}

const char* FontFamilyWord(const std::string& name) {
  if (name == "Courier New" || name == "Courier" || name.find("Mono") != std::string::npos)
    return "\\fmodern";
  if (name == "Times New Roman" || name == "Times") return "\\froman";
  if (name == "Arial" || name == "Helvetica") return "\\fswiss";
  return "\\fnil";
}

int HalfPoints(double size) {
  const int hp = RoundToInt(size * 2);
  return std::clamp(hp, 2, 3276);
}

}  // namespace

std::string WriteRtf(const RichDocument& doc) {
  std::vector<std::string> fonts;
  std::vector<Rgb> colors;
  auto fontIndex = [&](const std::string& name) {
    auto it = std::find(fonts.begin(), fonts.end(), name);
    if (it != fonts.end()) return static_cast<int>(it - fonts.begin());
    fonts.push_back(name);
    return static_cast<int>(fonts.size() - 1);
  };
  auto colorIndex = [&](const Rgb& c) {
    auto it = std::find(colors.begin(), colors.end(), c);
    if (it != colors.end()) return static_cast<int>(it - colors.begin()) + 1;
    colors.push_back(c);
    return static_cast<int>(colors.size());
  };
  const CharFormat* first = nullptr;
  bool anyBullet = false;
  for (const auto& p : doc.paragraphs) {
    anyBullet = anyBullet || p.bullet;
    for (const auto& r : p.runs) {
      if (!first) first = &r.format;
      fontIndex(r.format.font);
      colorIndex(r.format.color);
    }
  }
  const CharFormat defaults;
  if (!first) {
    first = &defaults;
    fontIndex(defaults.font);
    colorIndex(defaults.color);
  }
  const int symbolFont = anyBullet ? static_cast<int>(fonts.size()) : -1;

  std::string out;
  std::size_t textBytes = 0;
  for (const auto& p : doc.paragraphs)
    for (const auto& r : p.runs) textBytes += r.text.size();
  out.reserve(textBytes + doc.paragraphs.size() * 8 + 512);

  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
  for (std::size_t k = 0; k < fonts.size(); ++k) {
    out += "{\\f";
    AppendInt(out, static_cast<long long>(k));
    out += FontFamilyWord(fonts[k]);
    out += "\\fcharset0";
    bool needSpace = true;
    std::string name = fonts[k];
    name.erase(std::remove(name.begin(), name.end(), ';'), name.end());
    AppendEscaped(out, name, needSpace);
    out += ";}";
  }
  if (symbolFont >= 0) {
    out += "{\\f";
    AppendInt(out, symbolFont);
    out += "\\ftech\\fcharset2 Symbol;}";
  }
  out += "}\n{\\colortbl;";
  for (const auto& c : colors) {
    out += "\\red";
    AppendInt(out, c.r);
    out += "\\green";
    AppendInt(out, c.g);
    out += "\\blue";
    AppendInt(out, c.b);
    out += ';';
  }
  out += "}\n{\\*\\generator Tolmex;}\\viewkind4\n";

  CharFormat cur = *first;
  out += "\\pard\\plain\\f";
  AppendInt(out, fontIndex(cur.font));
  out += "\\fs";
  AppendInt(out, HalfPoints(cur.size));
  if (cur.bold) out += "\\b";
  if (cur.italic) out += "\\i";
  if (cur.underline) out += "\\ul";
  out += "\\cf";
  AppendInt(out, colorIndex(cur.color));
  bool needSpace = true;

  for (const auto& p : doc.paragraphs) {
    out += "\\pard";
    if (p.bullet) {
      out += "{\\pntext\\f";
      AppendInt(out, symbolFont);
      out += "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf";
      AppendInt(out, symbolFont);
      out += "\\pnindent360{\\pntxtb\\'B7}}\\fi-360\\li360";
    }
    switch (p.alignment) {
      case Alignment::Left: out += "\\ql"; break;
      case Alignment::Right: out += "\\qr"; break;
      case Alignment::Center: out += "\\qc"; break;
      case Alignment::Justify: out += "\\qj"; break;
    }
    needSpace = true;
    for (const auto& r : p.runs) {
      const CharFormat& f = r.format;
      if (f.font != cur.font) {
        out += "\\f";
        AppendInt(out, fontIndex(f.font));
        needSpace = true;
      }
      if (HalfPoints(f.size) != HalfPoints(cur.size)) {
        out += "\\fs";
        AppendInt(out, HalfPoints(f.size));
        needSpace = true;
      }
      if (f.bold != cur.bold) {
        out += f.bold ? "\\b" : "\\b0";
        needSpace = true;
      }
      if (f.italic != cur.italic) {
        out += f.italic ? "\\i" : "\\i0";
        needSpace = true;
      }
      if (f.underline != cur.underline) {
        out += f.underline ? "\\ul" : "\\ulnone";
        needSpace = true;
      }
      if (!(f.color == cur.color)) {
        out += "\\cf";
        AppendInt(out, colorIndex(f.color));
        needSpace = true;
      }
      cur = f;
      AppendEscaped(out, r.text, needSpace);
    }
    out += "\\par\n";
    needSpace = false;
  }
  out += "}\n";
  return out;
}

// ---------------------------------------------------------------------------------------
// Reader

namespace {

enum class Dest { Normal, Skip, FontTable, ColorTable, Pn };

struct GroupState {
  Dest dest = Dest::Normal;
  int font = -1;  // -1: the default font
  int halfPoints = 24;
  bool bold = false, italic = false, underline = false;
  int color = 0;
  int uc = 1;
  bool ignorableNext = false;  // "\*" seen at the start of this group
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view s) : s_(s) {}

  RichDocument Run() {
    std::size_t i = 0;
    bool started = false;
    while (i < s_.size()) {
      const char c = s_[i];
      if (c == '{') {
        ++i;
        skipChars_ = 0;
        if (stack_.size() >= kMaxDepth) {
          ++overflow_;
          continue;
        }
        GroupState g = stack_.empty() ? GroupState{} : stack_.back();
        g.ignorableNext = false;
        stack_.push_back(g);
        started = true;
      } else if (c == '}') {
        ++i;
        skipChars_ = 0;
        if (overflow_ > 0) {
          --overflow_;
          continue;
        }
        if (stack_.empty()) continue;
        if (stack_.back().dest == Dest::FontTable) fontEntryEnd();
        stack_.pop_back();
        if (stack_.empty() && started) break;
      } else if (c == '\\') {
        i = controlAt(i);
      } else {
        ++i;
        if (c == '\r' || c == '\n') continue;
        if (overflow_ > 0 || stack_.empty()) continue;
        if (skipChars_ > 0) {
          --skipChars_;
          continue;
        }
        if (c == '\t') {
          text('\t');
          continue;
        }
        if (static_cast<unsigned char>(c) < 0x20) continue;
        text(FromCp1252(static_cast<unsigned char>(c)));
      }
    }
    flushSurrogate();
    if (!para_.runs.empty()) endParagraph();
    return std::move(doc_);
  }

 private:
  static constexpr std::size_t kMaxDepth = 4096;

  GroupState& st() { return stack_.back(); }

  // Parses the control word or symbol at s_[i] ('\\'); returns the index after it.
  std::size_t controlAt(std::size_t i) {
    ++i;
    if (i >= s_.size()) return i;
    const char c = s_[i];
    if (!IsLetter(c)) {
      ++i;
      if (overflow_ > 0 || stack_.empty()) return i;
      if (c == '\'') {
        int v = 0, n = 0;
        while (n < 2 && i < s_.size() && HexValue(s_[i]) >= 0) {
          v = v * 16 + HexValue(s_[i]);
          ++i;
          ++n;
        }
        if (skipChars_ > 0) {
          --skipChars_;
          return i;
        }
        if (n > 0) byteText(static_cast<unsigned char>(v));
        return i;
      }
      if (skipChars_ > 0) {
        --skipChars_;
        return i;
      }
      switch (c) {
        case '\\': case '{': case '}': text(static_cast<char32_t>(c)); break;
        case '~': text(0x00A0); break;
        case '_': text(0x2011); break;
        case '*': st().ignorableNext = true; break;
        case '\r': case '\n': paragraphBreak(); break;
        default: break;  // "\-" and unknown symbols
      }
      return i;
    }
    const std::size_t wordStart = i;
    while (i < s_.size() && IsLetter(s_[i])) ++i;
    std::string_view word = s_.substr(wordStart, std::min<std::size_t>(i - wordStart, 32));
    bool hasParam = false;
    bool negative = false;
    long long param = 0;
    if (i < s_.size() && s_[i] == '-' && i + 1 < s_.size() && IsDigit(s_[i + 1])) {
      negative = true;
      ++i;
    }
    while (i < s_.size() && IsDigit(s_[i])) {
      hasParam = true;
      if (param < 100000000000LL) param = param * 10 + (s_[i] - '0');
      ++i;
    }
    if (negative) param = -param;
    if (i < s_.size() && s_[i] == ' ') ++i;
    if (overflow_ > 0 || stack_.empty()) return i;
    const int p = static_cast<int>(std::clamp<long long>(param, -2147483647LL, 2147483647LL));
    if (word == "bin") {
      // Binary data: skip it whole.
      const std::size_t n = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
      return std::min(s_.size(), i + n);
    }
    if (skipChars_ > 0) {
      --skipChars_;
      return i;
    }
    controlWord(word, hasParam, p);
    return i;
  }

  void controlWord(std::string_view w, bool hasParam, int p) {
    GroupState& g = st();
    if (g.ignorableNext) {
      g.ignorableNext = false;
      if (w == "pn") {
        g.dest = Dest::Pn;
      } else if (g.dest != Dest::Skip) {
        // An ignorable destination we do not read.
        g.dest = Dest::Skip;
      }
      return;
    }
    if (g.dest == Dest::Skip) return;
    if (g.dest == Dest::Pn) {
      if (w == "pnlvlblt" || w == "pnlvlbody" || w == "pnlvlcont") paraBullet_ = true;
      if (w == "pntxtb" || w == "pntxta") g.dest = Dest::Skip;
      return;
    }
    if (g.dest == Dest::FontTable) {
      if (w == "f" && hasParam) {
        fontEntryStart();
        fontIndex_ = p;
      } else if (w == "u" && hasParam) {
        const int unit = UnicodeUnit(p);
        if (unit >= 0x20 && unit != 0x7F) AppendUtf8(fontName_, static_cast<char32_t>(unit));
        skipChars_ = g.uc;
      } else if (w == "uc" && hasParam) {
        g.uc = std::clamp(p, 0, 16);
      }
      return;
    }
    if (g.dest == Dest::ColorTable) {
      if (w == "red") red_ = std::clamp(p, 0, 255), colorSet_ = true;
      else if (w == "green") green_ = std::clamp(p, 0, 255), colorSet_ = true;
      else if (w == "blue") blue_ = std::clamp(p, 0, 255), colorSet_ = true;
      return;
    }
    // Destinations.
    if (w == "fonttbl") {
      g.dest = Dest::FontTable;
      fontEntryStart();
      return;
    }
    if (w == "colortbl") {
      g.dest = Dest::ColorTable;
      return;
    }
    if (w == "pntext" || w == "listtext") {
      paraBullet_ = true;
      g.dest = Dest::Skip;
      return;
    }
    if (w == "pn") {
      g.dest = Dest::Pn;
      return;
    }
    if (w == "stylesheet" || w == "info" || w == "pict" || w == "object" || w == "header" ||
        w == "headerl" || w == "headerr" || w == "headerf" || w == "footer" ||
        w == "footerl" || w == "footerr" || w == "footerf" || w == "footnote" ||
        w == "fldinst" || w == "xe" || w == "tc" || w == "themedata" || w == "colorschememapping" ||
        w == "listtable" || w == "listoverridetable" || w == "rsidtbl" || w == "generator" ||
        w == "latentstyles" || w == "datastore" || w == "xmlnstbl" || w == "mmathPr" ||
        w == "filetbl" || w == "revtbl" || w == "userprops" || w == "nonshppict" ||
        w == "shppict" || w == "bkmkstart" || w == "bkmkend" || w == "atnid" ||
        w == "annotation" || w == "template" || w == "shp") {
      g.dest = Dest::Skip;
      return;
    }
    // Text and formatting.
    if (w == "par" || w == "line" || w == "sect") {
      paragraphBreak();
    } else if (w == "tab") {
      text('\t');
    } else if (w == "u" && hasParam) {
      unicodeUnit(UnicodeUnit(p));
      skipChars_ = g.uc;
    } else if (w == "uc" && hasParam) {
      g.uc = std::clamp(p, 0, 16);
    } else if (w == "pard") {
      paraAlign_ = Alignment::Left;
      paraBullet_ = false;
    } else if (w == "ql") {
      paraAlign_ = Alignment::Left;
    } else if (w == "qr") {
      paraAlign_ = Alignment::Right;
    } else if (w == "qc") {
      paraAlign_ = Alignment::Center;
    } else if (w == "qj") {
      paraAlign_ = Alignment::Justify;
    } else if (w == "ls" && hasParam) {
      paraBullet_ = true;
    } else if (w == "plain") {
      const int uc = g.uc;
      const Dest d = g.dest;
      g = GroupState{};
      g.uc = uc;
      g.dest = d;
    } else if (w == "b") {
      g.bold = !hasParam || p != 0;
    } else if (w == "i") {
      g.italic = !hasParam || p != 0;
    } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" ||
               w == "ulth" || w == "ulwave") {
      g.underline = !hasParam || p != 0;
    } else if (w == "ulnone") {
      g.underline = false;
    } else if (w == "f" && hasParam) {
      g.font = p;
    } else if (w == "fs" && hasParam) {
      if (p > 0) g.halfPoints = std::clamp(p, 2, 3276);
    } else if (w == "cf" && hasParam) {
      g.color = p;
    } else if (w == "deff" && hasParam) {
      defaultFont_ = p;
    } else if (w == "emdash") {
      text(0x2014);
    } else if (w == "endash") {
      text(0x2013);
    } else if (w == "bullet") {
      text(0x2022);
    } else if (w == "lquote") {
      text(0x2018);
    } else if (w == "rquote") {
      text(0x2019);
    } else if (w == "ldblquote") {
      text(0x201C);
    } else if (w == "rdblquote") {
      text(0x201D);
    }
  }

  void fontEntryStart() {
    fontEntryEnd();
    fontIndex_ = -1;
    fontName_.clear();
  }
  void fontEntryEnd() {
    if (fontIndex_ >= 0) {
      std::string name(Trim(fontName_));
      if (!name.empty() && !fonts_.count(fontIndex_)) fonts_[fontIndex_] = name;
    }
    fontIndex_ = -1;
    fontName_.clear();
  }

  void byteText(unsigned char b) {
    GroupState& g = st();
    if (g.dest == Dest::FontTable) {
      if (b >= 0x20 && b != 0x7F) AppendUtf8(fontName_, FromCp1252(b));
      return;
    }
    text(FromCp1252(b));
  }

  void unicodeUnit(int unit) {
    if (st().dest == Dest::Normal && unit >= 0xD800 && unit <= 0xDBFF) {
      flushSurrogate();
      highSurrogate_ = unit;
      return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_) {
      const char32_t cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
      highSurrogate_ = 0;
      text(cp);
      return;
    }
    text(static_cast<char32_t>(unit));
  }

  void flushSurrogate() {
    if (highSurrogate_) {
      highSurrogate_ = 0;
      textRaw(0xFFFD);
    }
  }

  void text(char32_t cp) {
    if ((cp < 0x20 && cp != '\t') || cp == 0x7F) return;
    GroupState& g = st();
    switch (g.dest) {
      case Dest::Normal: break;
      case Dest::FontTable:
        if (cp == ';')
          fontEntryEnd();
        else if (cp != '\t')
          AppendUtf8(fontName_, cp);
        return;
      case Dest::ColorTable:
        if (cp == ';') {
          colorTable_.push_back(colorSet_ ? std::optional<Rgb>(Rgb{static_cast<std::uint8_t>(red_),
                                                                   static_cast<std::uint8_t>(green_),
                                                                   static_cast<std::uint8_t>(blue_)})
                                          : std::nullopt);
          red_ = green_ = blue_ = 0;
          colorSet_ = false;
        }
        return;
      default: return;
    }
    flushSurrogate();
    textRaw(cp);
  }

  void textRaw(char32_t cp) {
    if (stack_.empty() || st().dest != Dest::Normal) return;
    // The run's format is worked out only when the group's formatting changed.
    const GroupState& g = st();
    const FormatKey key{g.font, g.halfPoints, g.bold, g.italic, g.underline, g.color};
    if (para_.runs.empty() || !(key == lastKey_)) {
      CharFormat f = currentFormat();
      if (para_.runs.empty() || !(para_.runs.back().format == f)) para_.runs.push_back({{}, f});
      lastKey_ = key;
    }
    AppendUtf8(para_.runs.back().text, cp);
  }

  struct FormatKey {
    int font = 0, halfPoints = 0;
    bool bold = false, italic = false, underline = false;
    int color = 0;
    bool operator==(const FormatKey&) const = default;
  };
  FormatKey lastKey_;

  CharFormat currentFormat() {
    const GroupState& g = st();
    CharFormat f;
    int fi = g.font >= 0 ? g.font : defaultFont_;
    auto it = fonts_.find(fi);
    f.font = it != fonts_.end() ? it->second : std::string(kReportFontName);
    f.size = g.halfPoints / 2.0;
    f.bold = g.bold;
    f.italic = g.italic;
    f.underline = g.underline;
    if (g.color > 0 && static_cast<std::size_t>(g.color) < colorTable_.size() &&
        colorTable_[g.color])
      f.color = *colorTable_[g.color];
    return f;
  }

  void paragraphBreak() {
    if (stack_.empty() || st().dest != Dest::Normal) return;
    flushSurrogate();
    endParagraph();
  }

  void endParagraph() {
    para_.alignment = paraAlign_;
    para_.bullet = paraBullet_;
    doc_.paragraphs.push_back(std::move(para_));
    para_ = Paragraph{};
  }

  // \uN takes a signed 16-bit value; anything outside gives U+FFFD.
  static int UnicodeUnit(int p) {
    if (p < -32768 || p > 65535) return 0xFFFD;
    return p < 0 ? p + 65536 : p;
  }
  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  std::string_view s_;
  std::vector<GroupState> stack_;
  std::size_t overflow_ = 0;
  int skipChars_ = 0;
  int highSurrogate_ = 0;
  std::map<int, std::string> fonts_;
  int fontIndex_ = -1;
  std::string fontName_;
  int defaultFont_ = 0;
  std::vector<std::optional<Rgb>> colorTable_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorSet_ = false;
  Alignment paraAlign_ = Alignment::Left;
  bool paraBullet_ = false;
  Paragraph para_;
  RichDocument doc_;
};

}  // namespace

RichDocument ReadRtf(std::string_view rtf) { return RtfReader(rtf).Run(); }

bool LooksLikeRtf(std::string_view data) {
  if (data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
  while (!data.empty() && (data[0] == ' ' || data[0] == '\t' || data[0] == '\r' || data[0] == '\n'))
    data.remove_prefix(1);
  return data.substr(0, 5) == "{\\rtf";
}

RichDocument DocumentFromFileData(std::string_view data, const CharFormat& plainFormat) {
  if (LooksLikeRtf(data)) return ReadRtf(data);
  if (data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
  if (IsValidUtf8(data)) return RichDocument::FromPlainText(data, plainFormat);
  std::string utf8;
  utf8.reserve(data.size() + data.size() / 8);
  for (char c : data) AppendUtf8(utf8, FromCp1252(static_cast<unsigned char>(c)));
  return RichDocument::FromPlainText(utf8, plainFormat);
}

}  // namespace tolmex::shell
