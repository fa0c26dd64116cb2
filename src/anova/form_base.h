#pragma once
// Common base of the analysis-of-variance windows: a form that knows whether it asked to
// be closed, and answers the window's close box.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "shell/form.h"

namespace tolmex::anova {

class ClosableForm : public shell::Form {
 public:
  // True once a handler closed the window; the host closes it then.
  bool Closed() const { return closed_; }
  // The window's close box: true when the window may close.
  virtual bool CloseQuery() { return true; }
  // Called by the window host when the window is being closed by its close box and
  // CloseQuery agreed.
  void ClosedByBox() { closed_ = true; }

 protected:
  void Close() { closed_ = true; }
  void Reopen() { closed_ = false; }

 private:
  bool closed_ = false;
};

// Number typed with "." as the decimal separator: the whole text, finite values only.
std::optional<double> ParseDotNumber(std::string_view text);

// Opens the program's help file (set by the GUI; does nothing elsewhere).
using HelpOpener = std::function<void(const std::string& path)>;
inline constexpr const char* kAnovaHelpFile = "c:\\Arquivos de Programas\\Tolmex\\tolmex.chm";

}  // namespace tolmex::anova
