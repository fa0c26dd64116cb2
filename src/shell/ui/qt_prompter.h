#pragma once
// The Prompter of the GUI: Qt message boxes with Portuguese buttons, input boxes, file,
// colour and font dialogs. A "\r" in a text is a line break of the box.
#include <QString>

#include "shell/prompter.h"

class QWidget;

namespace tolmex::shell::ui {

// "\r\n" and lone "\r" become "\n".
QString BoxText(const std::string& text);
// "Desc (*.a)|*.a|Desc2|*.b" as a Qt name filter list "Desc (*.a);;Desc2 (*.b)".
QString QtFileFilter(const std::string& filter);

class QtPrompter : public Prompter {
 public:
  // Boxes are parented to the active window, or to `fallbackParent` when there is none.
  explicit QtPrompter(QWidget* fallbackParent = nullptr) : fallbackParent_(fallbackParent) {}

  void Message(BoxKind kind, const std::string& text, const std::string& title) override;
  Answer AskYesNo(const std::string& text, const std::string& title) override;
  Answer AskYesNoCancel(const std::string& text, const std::string& title) override;
  Answer AskOkCancel(const std::string& text, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& defaultText) override;
  std::optional<FileDialogResult> OpenFile(const FileDialogRequest& request) override;
  std::optional<FileDialogResult> SaveFile(const FileDialogRequest& request) override;
  std::optional<Rgb> ChooseColor(const Rgb& initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;

 private:
  QWidget* parent() const;
  std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request, bool save);
  QWidget* fallbackParent_;
};

}  // namespace tolmex::shell::ui
