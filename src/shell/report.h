#pragma once
// A report: the text every procedure writes its results to, lines ending in CR LF, laid out
// for a fixed-pitch font. The report window (shell/ui) shows and edits it; computations
// only append text.
#include <cstddef>
#include <string>
#include <string_view>

namespace tolmex::shell {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr const char* kReportCaption = "Relatórios em RTF";

class Report {
 public:
  // Notified when the text changes, so that a window can refresh itself.
  class Observer {
   public:
    virtual ~Observer() = default;
    // The text was replaced as a whole (SetText, ClearText).
    virtual void TextReplaced() = 0;
    // `Text()` grew; the new part starts at byte `from`.
    virtual void TextAppended(std::size_t from) = 0;
  };

  Report() = default;
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  // Appends in time proportional to the piece.
  void AppendText(std::string_view piece);
  void ClearText() { SetText({}); }

  // The window's caption ("Relatórios em RTF" + run number for run reports).
  std::string caption = kReportCaption;
  // File the report was last opened from or saved to; empty for an untitled report.
  std::string NomeArq;
  // The report changed since it was created, opened or saved.
  bool Alterado = false;
  // Font size of the whole text in points.
  double fontSize = 10;

  void SetObserver(Observer* o) { observer_ = o; }
  Observer* observer() const { return observer_; }

 private:
  std::string text_;
  Observer* observer_ = nullptr;
};

inline void AppendText(Report& report, std::string_view piece) { report.AppendText(piece); }
inline void ClearText(Report& report) { report.ClearText(); }

}  // namespace tolmex::shell
