#include "batch/batch_prompter.h"

#include <algorithm>

namespace tolmex::batch {

using shell::Answer;

const char* AnswerWord(Answer a) {
  switch (a) {
    case Answer::Yes:
      return "Sim";
    case Answer::No:
      return "Não";
    case Answer::Cancel:
      return "Cancelar";
    case Answer::Ok:
      return "OK";
  }
  return "";
}

std::string BatchPrompter::Lines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

void BatchPrompter::Unanswered(const std::string& what) {
  unforeseen_.push_back(what);
  err_ << "(nenhuma opção responde a esta pergunta; a análise não prossegue)\n";
}

void BatchPrompter::Message(shell::BoxKind kind, const std::string& text, const std::string&) {
  shown_.push_back(text);
  if (kind == shell::BoxKind::Warning || kind == shell::BoxKind::Error) ++problems_;
  err_ << Lines(text) << '\n';
  err_.flush();
}

Answer BatchPrompter::Ask(const std::string& text, Answer giveUp,
                          std::initializer_list<Answer> allowed) {
  shown_.push_back(text);
  std::optional<Answer> a = questions_ ? questions_(text) : std::nullopt;
  if (a && std::find(allowed.begin(), allowed.end(), *a) == allowed.end()) a.reset();
  err_ << Lines(text) << " [" << AnswerWord(a ? *a : giveUp) << "]\n";
  if (!a) Unanswered(text);
  err_.flush();
  return a ? *a : giveUp;
}

Answer BatchPrompter::AskYesNo(const std::string& text, const std::string&) {
  return Ask(text, Answer::No, {Answer::Yes, Answer::No});
}

Answer BatchPrompter::AskYesNoCancel(const std::string& text, const std::string&) {
  return Ask(text, Answer::Cancel, {Answer::Yes, Answer::No, Answer::Cancel});
}

Answer BatchPrompter::AskOkCancel(const std::string& text, const std::string&) {
  return Ask(text, Answer::Cancel, {Answer::Ok, Answer::Cancel});
}

std::optional<std::string> BatchPrompter::InputBox(const std::string& title,
                                                   const std::string& prompt,
                                                   const std::string& defaultText) {
  shown_.push_back(prompt);
  std::optional<std::string> a = inputs_ ? inputs_(title, prompt, defaultText) : std::nullopt;
  err_ << Lines(title) << ' ' << Lines(prompt) << " [" << (a ? *a : std::string("Cancelar"))
       << "]\n";
  if (!a) Unanswered(title + " " + prompt);
  err_.flush();
  return a;
}

std::optional<shell::FileDialogResult> BatchPrompter::OpenFile(const shell::FileDialogRequest& r) {
  shown_.push_back(r.title);
  err_ << Lines(r.title) << " [Cancelar]\n";
  Unanswered(r.title);
  return std::nullopt;
}

std::optional<shell::FileDialogResult> BatchPrompter::SaveFile(const shell::FileDialogRequest& r) {
  shown_.push_back(r.title);
  err_ << Lines(r.title) << " [Cancelar]\n";
  Unanswered(r.title);
  return std::nullopt;
}

std::optional<shell::Rgb> BatchPrompter::ChooseColor(const shell::Rgb&) { return std::nullopt; }

std::optional<shell::FontChoice> BatchPrompter::ChooseFont(const shell::FontChoice&) {
  return std::nullopt;
}

}  // namespace tolmex::batch
