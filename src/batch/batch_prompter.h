#pragma once
// The Prompter of the batch runner: every box is written to standard error (its text, with
// the box's line breaks as new lines), and every question is answered by the runner's
// options through the handlers. A question nobody foresaw gets the answer that gives up
// (No, Cancel) and is recorded, so that the run can fail instead of guessing.
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shell/prompter.h"

namespace tolmex::batch {

class BatchPrompter : public shell::Prompter {
 public:
  explicit BatchPrompter(std::ostream& err) : err_(err) {}

  // nullopt: the question is not foreseen.
  using QuestionHandler = std::function<std::optional<shell::Answer>(const std::string& text)>;
  // nullopt: cancel the box.
  using InputHandler = std::function<std::optional<std::string>(
      const std::string& title, const std::string& prompt, const std::string& defaultText)>;
  void SetQuestionHandler(QuestionHandler h) { questions_ = std::move(h); }
  void SetInputHandler(InputHandler h) { inputs_ = std::move(h); }

  // Texts of the boxes shown, in order (messages, questions, input prompts).
  const std::vector<std::string>& Shown() const { return shown_; }
  // Warning and error boxes shown so far.
  int Problems() const { return problems_; }
  // Questions and dialogs that no option answered.
  const std::vector<std::string>& Unforeseen() const { return unforeseen_; }

  // The text as written to standard error: "\r\n" and "\r" become "\n".
  static std::string Lines(const std::string& text);

  void Message(shell::BoxKind kind, const std::string& text, const std::string& title) override;
  shell::Answer AskYesNo(const std::string& text, const std::string& title) override;
  shell::Answer AskYesNoCancel(const std::string& text, const std::string& title) override;
  shell::Answer AskOkCancel(const std::string& text, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& defaultText) override;
  std::optional<shell::FileDialogResult> OpenFile(const shell::FileDialogRequest& r) override;
  std::optional<shell::FileDialogResult> SaveFile(const shell::FileDialogRequest& r) override;
  std::optional<shell::Rgb> ChooseColor(const shell::Rgb& initial) override;
  std::optional<shell::FontChoice> ChooseFont(const shell::FontChoice& initial) override;

 private:
  shell::Answer Ask(const std::string& text, shell::Answer giveUp,
                    std::initializer_list<shell::Answer> allowed);
  void Unanswered(const std::string& what);

  std::ostream& err_;
  QuestionHandler questions_;
  InputHandler inputs_;
  std::vector<std::string> shown_;
  std::vector<std::string> unforeseen_;
  int problems_ = 0;
};

// The Portuguese word of an answer ("Sim", "Não", "Cancelar", "OK").
const char* AnswerWord(shell::Answer a);

}  // namespace tolmex::batch
