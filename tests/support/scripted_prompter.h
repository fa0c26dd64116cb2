#pragma once
// Scripted fakes of the ports for tests: the person's side of every box, question and
// dialog, given in order. An unexpected prompt, or a text that differs from the expected
// one, fails the test.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/form.h"
#include "shell/prompter.h"
#include "shell/window_host.h"

namespace tolmex::testing {

using shell::Answer;
using shell::BoxKind;
using shell::FileDialogRequest;
using shell::FileDialogResult;

class ScriptedPrompter : public shell::Prompter {
 public:
  ~ScriptedPrompter() override;

  // A box with one OK button and this exact text (and kind, when given).
  ScriptedPrompter& ExpectMessage(std::string text, std::optional<BoxKind> kind = std::nullopt);
  // A Yes/No, Yes/No/Cancel or OK/Cancel question with this exact text, and the answer.
  ScriptedPrompter& ExpectYesNo(std::string text, Answer answer);
  ScriptedPrompter& ExpectYesNoCancel(std::string text, Answer answer);
  ScriptedPrompter& ExpectOkCancel(std::string text, Answer answer);
  // An input box with this title and prompt; nullopt answers Cancel.
  ScriptedPrompter& ExpectInput(std::string title, std::string prompt,
                                std::optional<std::string> answer);
  // File dialogs: the check (optional) sees the request; nullopt answers Cancel.
  ScriptedPrompter& ExpectOpenFile(std::optional<FileDialogResult> answer,
                                   std::function<void(const FileDialogRequest&)> check = {});
  ScriptedPrompter& ExpectSaveFile(std::optional<FileDialogResult> answer,
                                   std::function<void(const FileDialogRequest&)> check = {});
  ScriptedPrompter& ExpectColor(std::optional<shell::Rgb> answer);
  ScriptedPrompter& ExpectFont(std::optional<shell::FontChoice> answer);

  // Every text shown so far, in order (messages, questions, input prompts, dialog titles).
  const std::vector<std::string>& Shown() const { return shown_; }
  bool Done() const { return script_.empty(); }
  // Fails the test when expectations are left.
  void VerifyDone();

  // Prompter
  void Message(BoxKind kind, const std::string& text, const std::string& title) override;
  Answer AskYesNo(const std::string& text, const std::string& title) override;
  Answer AskYesNoCancel(const std::string& text, const std::string& title) override;
  Answer AskOkCancel(const std::string& text, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& defaultText) override;
  std::optional<FileDialogResult> OpenFile(const FileDialogRequest& request) override;
  std::optional<FileDialogResult> SaveFile(const FileDialogRequest& request) override;
  std::optional<shell::Rgb> ChooseColor(const shell::Rgb& initial) override;
  std::optional<shell::FontChoice> ChooseFont(const shell::FontChoice& initial) override;

 private:
  enum class Kind { Message, YesNo, YesNoCancel, OkCancel, Input, Open, Save, Color, Font };
  struct Step {
    Kind kind;
    std::string text, prompt;
    std::optional<BoxKind> box;
    Answer answer = Answer::Ok;
    std::optional<std::string> input;
    std::optional<FileDialogResult> file;
    std::function<void(const FileDialogRequest&)> check;
    std::optional<shell::Rgb> color;
    std::optional<shell::FontChoice> font;
  };
  // Pops the next step, failing the test when it is not of `kind` (returns nullopt then).
  std::optional<Step> Next(Kind kind, const std::string& what);

  std::deque<Step> script_;
  std::vector<std::string> shown_;
  bool verified_ = false;
};

// Scripted WindowHost: each modal form shown runs the next handler given for its name (the
// scripted user fills fields and presses buttons); reports shown are recorded.
class ScriptedWindowHost : public shell::WindowHost {
 public:
  ~ScriptedWindowHost() override;
  using Handler = std::function<void(shell::Form&)>;
  ScriptedWindowHost& Expect(std::string formName, Handler handler);

  void ShowModal(shell::Form& form) override;
  void ShowReport(shell::Report& report) override { shownReports.push_back(&report); }
  void ShowReportModal(shell::Report& report) override { modalReports.push_back(&report); }
  void SetBusy(bool busy) override { busyChanges.push_back(busy); }

  std::vector<shell::Report*> shownReports, modalReports;
  std::vector<bool> busyChanges;
  std::vector<std::string> formsShown;
  void VerifyDone();

 private:
  std::deque<std::pair<std::string, Handler>> script_;
  bool verified_ = false;
};

// Text with "\r\n" shown as "\n", for readable failure messages when comparing reports.
std::string Visible(const std::string& text);

}  // namespace tolmex::testing
