#include "shell/rich_text.h"

namespace tolmex::shell {

std::string Paragraph::PlainText() const {
  std::string s;
  for (const auto& r : runs) s += r.text;
  return s;
}

std::string RichDocument::PlainText() const {
  std::string s;
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i) s += "\r\n";
    for (const auto& r : paragraphs[i].runs) s += r.text;
  }
  return s;
}

RichDocument RichDocument::FromPlainText(std::string_view text, const CharFormat& format) {
  RichDocument doc;
  auto add = [&](std::string_view line) {
    Paragraph p;
    if (!line.empty()) p.runs.push_back({std::string(line), format});
    doc.paragraphs.push_back(std::move(p));
  };
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    add(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  add(text.substr(start));
  return doc;
}

}  // namespace tolmex::shell
