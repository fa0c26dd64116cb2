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
    // Called by `Text()` after `MarkEdited`: the editor's current plain text, lines
    // separated by CR LF.
    virtual std::string EditedText() { return {}; }
    // The caption, `NomeArq` or `Alterado` changed (so the window can retitle itself).
    virtual void StateChanged() {}
  };

  Report() = default;
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // The whole text. When the person edited the text in the window, it is fetched from the
  // window first.
  const std::string& Text() const;
  // Replaces the text. Sets `Alterado` when the text differs from the old one.
  void SetText(std::string text);
  // Appends in time proportional to the piece.
  void AppendText(std::string_view piece);
  void ClearText() { SetText({}); }

  // The window's editor now holds text the report has not seen (the person typed, or a file
  // was loaded): the next `Text()` asks the observer for it. `changed` sets `Alterado`.
  void MarkEdited(bool changed);
  bool HasEditorText() const { return stale_; }

  // The window's caption ("Relatórios em RTF" + run number for run reports).
  std::string caption = kReportCaption;
  // File the report was last opened from or saved to; empty for an untitled report.
  std::string NomeArq;
  // The report changed since it was created, opened or saved.
  bool Alterado = false;
  // Font size of the whole text in points.
  double fontSize = 10;

  // Tells the observer that caption, NomeArq or Alterado were changed.
  void NotifyStateChanged() {
    if (observer_) observer_->StateChanged();
  }

  void SetObserver(Observer* o) { observer_ = o; }
  Observer* observer() const { return observer_; }

 private:
  void Sync() const;
  mutable std::string text_;
  mutable bool stale_ = false;
  Observer* observer_ = nullptr;
};

inline void AppendText(Report& report, std::string_view piece) { report.AppendText(piece); }
inline void ClearText(Report& report) { report.ClearText(); }

}  // namespace tolmex::shell
