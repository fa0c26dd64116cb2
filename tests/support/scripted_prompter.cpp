#include "scripted_prompter.h"

#include <gtest/gtest.h>

namespace tolmex::testing {

namespace {
const char* KindName(int k) {
  static const char* names[] = {"message box",   "Yes/No question", "Yes/No/Cancel question",
                                "OK/Cancel question", "input box",  "open dialog",
                                "save dialog",   "colour dialog",   "font dialog"};
  return names[k];
}
}  // namespace

ScriptedPrompter::~ScriptedPrompter() {
  if (!verified_) VerifyDone();
}

void ScriptedPrompter::VerifyDone() {
  verified_ = true;
  for (const Step& s : script_)
    ADD_FAILURE() << "expected " << KindName(static_cast<int>(s.kind)) << " never shown: \""
                  << s.text << "\"";
  script_.clear();
}

ScriptedPrompter& ScriptedPrompter::ExpectMessage(std::string text, std::optional<BoxKind> kind) {
  script_.push_back({Kind::Message, std::move(text), {}, kind});
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectYesNo(std::string text, Answer answer) {
  Step s{Kind::YesNo, std::move(text)};
  s.answer = answer;
  script_.push_back(std::move(s));
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectYesNoCancel(std::string text, Answer answer) {
  Step s{Kind::YesNoCancel, std::move(text)};
  s.answer = answer;
  script_.push_back(std::move(s));
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectOkCancel(std::string text, Answer answer) {
  Step s{Kind::OkCancel, std::move(text)};
  s.answer = answer;
  script_.push_back(std::move(s));
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectInput(std::string title, std::string prompt,
                                                std::optional<std::string> answer) {
  Step s{Kind::Input, std::move(title), std::move(prompt)};
  s.input = std::move(answer);
  script_.push_back(std::move(s));
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectOpenFile(
    std::optional<FileDialogResult> answer, std::function<void(const FileDialogRequest&)> check) {
  Step s{Kind::Open, "open file"};
  s.file = std::move(answer);
  s.check = std::move(check);
  script_.push_back(std::move(s));
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectSaveFile(
    std::optional<FileDialogResult> answer, std::function<void(const FileDialogRequest&)> check) {
  Step s{Kind::Save, "save file"};
  s.file = std::move(answer);
  s.check = std::move(check);
  script_.push_back(std::move(s));
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectColor(std::optional<shell::Rgb> answer) {
  Step s{Kind::Color, "colour"};
  s.color = answer;
  script_.push_back(std::move(s));
  return *this;
}
ScriptedPrompter& ScriptedPrompter::ExpectFont(std::optional<shell::FontChoice> answer) {
  Step s{Kind::Font, "font"};
  s.font = std::move(answer);
  script_.push_back(std::move(s));
  return *this;
}

std::optional<ScriptedPrompter::Step> ScriptedPrompter::Next(Kind kind, const std::string& what) {
  shown_.push_back(what);
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(static_cast<int>(kind)) << ": \"" << what << "\"";
    return std::nullopt;
  }
  Step s = std::move(script_.front());
  script_.pop_front();
  if (s.kind != kind) {
    ADD_FAILURE() << "expected " << KindName(static_cast<int>(s.kind)) << " \"" << s.text
                  << "\", got " << KindName(static_cast<int>(kind)) << " \"" << what << "\"";
    return std::nullopt;
  }
  return s;
}

void ScriptedPrompter::Message(BoxKind kind, const std::string& text, const std::string&) {
  auto s = Next(Kind::Message, text);
  if (!s) return;
  EXPECT_EQ(s->text, text) << "message box text";
  if (s->box) {
    EXPECT_EQ(static_cast<int>(*s->box), static_cast<int>(kind)) << "box kind of \"" << text << "\"";
  }
}

Answer ScriptedPrompter::AskYesNo(const std::string& text, const std::string&) {
  auto s = Next(Kind::YesNo, text);
  if (!s) return Answer::No;
  EXPECT_EQ(s->text, text) << "question text";
  return s->answer;
}

Answer ScriptedPrompter::AskYesNoCancel(const std::string& text, const std::string&) {
  auto s = Next(Kind::YesNoCancel, text);
  if (!s) return Answer::Cancel;
  EXPECT_EQ(s->text, text) << "question text";
  return s->answer;
}

Answer ScriptedPrompter::AskOkCancel(const std::string& text, const std::string&) {
  auto s = Next(Kind::OkCancel, text);
  if (!s) return Answer::Cancel;
  EXPECT_EQ(s->text, text) << "question text";
  return s->answer;
}

std::optional<std::string> ScriptedPrompter::InputBox(const std::string& title,
                                                      const std::string& prompt,
                                                      const std::string&) {
  auto s = Next(Kind::Input, title + " / " + prompt);
  if (!s) return std::nullopt;
  EXPECT_EQ(s->text, title) << "input box title";
  EXPECT_EQ(s->prompt, prompt) << "input box prompt";
  return s->input;
}

std::optional<FileDialogResult> ScriptedPrompter::OpenFile(const FileDialogRequest& request) {
  auto s = Next(Kind::Open, request.title);
  if (!s) return std::nullopt;
  if (s->check) s->check(request);
  return s->file;
}

std::optional<FileDialogResult> ScriptedPrompter::SaveFile(const FileDialogRequest& request) {
  auto s = Next(Kind::Save, request.title);
  if (!s) return std::nullopt;
  if (s->check) s->check(request);
  return s->file;
}

std::optional<shell::Rgb> ScriptedPrompter::ChooseColor(const shell::Rgb&) {
  auto s = Next(Kind::Color, "colour");
  return s ? s->color : std::nullopt;
}

std::optional<shell::FontChoice> ScriptedPrompter::ChooseFont(const shell::FontChoice&) {
  auto s = Next(Kind::Font, "font");
  return s ? s->font : std::nullopt;
}

// ---- ScriptedWindowHost ----

ScriptedWindowHost::~ScriptedWindowHost() {
  if (!verified_) VerifyDone();
}

ScriptedWindowHost& ScriptedWindowHost::Expect(std::string formName, Handler handler) {
  script_.emplace_back(std::move(formName), std::move(handler));
  return *this;
}

void ScriptedWindowHost::ShowModal(shell::Form& form) {
  const std::string name(form.FormName());
  formsShown.push_back(name);
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected window shown: " << name;
    return;
  }
  auto [expected, handler] = std::move(script_.front());
  script_.pop_front();
  if (expected != name) {
    ADD_FAILURE() << "expected window " << expected << ", got " << name;
    return;
  }
  if (handler) handler(form);
}

void ScriptedWindowHost::VerifyDone() {
  verified_ = true;
  for (auto& [name, h] : script_) ADD_FAILURE() << "expected window never shown: " << name;
  script_.clear();
}

std::string Visible(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace tolmex::testing
