#pragma once
// Port through which core code talks to the person: message boxes, questions, input
// boxes, file, colour and font dialogs. The Qt implementation lives in shell/ui; tests use
// the scripted fake of tests/support; the batch runner answers from its options.
//
// Texts are UTF-8. A "\r" inside a message is a line break of the box.
#include <cstdint>
#include <optional>
#include <string>

namespace tolmex::shell {

enum class Answer { Yes, No, Cancel, Ok };

enum class BoxKind { Information, Warning, Error, Confirmation };

// A file dialog request. `filter` uses the "Description (*.ext)|*.ext|..." form of the
// program's captions; `filterIndex` is the 1-based selected filter.
struct FileDialogRequest {
  std::string title;
  std::string filter;
  int filterIndex = 1;
  std::string defaultExt;   // without the dot, e.g. "fdt"
  std::string initialDir;   // empty: the dialog's own default folder
  std::string fileName;     // proposed name
  bool overwritePrompt = false;  // save dialogs: ask before overwriting
  bool mustExist = false;        // open dialogs: file must exist
};

struct FileDialogResult {
  std::string path;
  int filterIndex = 1;  // the filter the person chose, 1-based
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct FontChoice {
  std::string family;
  double pointSize = 10;
  bool bold = false, italic = false, underline = false;
  Rgb color{};
  bool operator==(const FontChoice&) const = default;
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  // A box with a single OK button.
  virtual void Message(BoxKind kind, const std::string& text, const std::string& title = {}) = 0;
  void Information(const std::string& text, const std::string& title = {}) {
    Message(BoxKind::Information, text, title);
  }
  void Warning(const std::string& text, const std::string& title = {}) {
    Message(BoxKind::Warning, text, title);
  }
  void Error(const std::string& text, const std::string& title = {}) {
    Message(BoxKind::Error, text, title);
  }

  // Questions. Yes/No returns Yes or No; Yes/No/Cancel adds Cancel; OK/Cancel returns Ok or
  // Cancel.
  virtual Answer AskYesNo(const std::string& text, const std::string& title = {}) = 0;
  virtual Answer AskYesNoCancel(const std::string& text, const std::string& title = {}) = 0;
  virtual Answer AskOkCancel(const std::string& text, const std::string& title = {}) = 0;

  // Input box; nullopt when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                              const std::string& defaultText) = 0;

  // File dialogs; nullopt when cancelled.
  virtual std::optional<FileDialogResult> OpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<FileDialogResult> SaveFile(const FileDialogRequest& request) = 0;

  virtual std::optional<Rgb> ChooseColor(const Rgb& initial) = 0;
  virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;
};

}  // namespace tolmex::shell
