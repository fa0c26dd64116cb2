#pragma once
// A rich-text document as the report window edits it and as RTF files hold it: paragraphs of
// runs, each run one piece of text with one character format.
#include <string>
#include <string_view>
#include <vector>

#include "shell/prompter.h"

namespace tolmex::shell {

inline constexpr const char* kReportFontName = "Courier New";

struct CharFormat {
  std::string font = kReportFontName;
  double size = 10;  // points
  bool bold = false, italic = false, underline = false;
  Rgb color{};  // black
  bool operator==(const CharFormat&) const = default;
};

enum class Alignment { Left, Right, Center, Justify };

struct TextRun {
  std::string text;  // UTF-8, no line breaks (a tab is kept)
  CharFormat format;
  bool operator==(const TextRun&) const = default;
};

struct Paragraph {
  Alignment alignment = Alignment::Left;
  bool bullet = false;
  std::vector<TextRun> runs;
  std::string PlainText() const;
  bool operator==(const Paragraph&) const = default;
};

struct RichDocument {
  std::vector<Paragraph> paragraphs;

  // The text with paragraphs separated by CR LF (the report text).
  std::string PlainText() const;
  // One paragraph per line of `text`; CR LF, a lone LF or a lone CR end a line.
  static RichDocument FromPlainText(std::string_view text, const CharFormat& format = {});
  bool operator==(const RichDocument&) const = default;
};

}  // namespace tolmex::shell
