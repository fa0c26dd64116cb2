#include "shell/report_form.h"

#include <filesystem>

#include "shell/file_io.h"
#include "shell/rtf.h"
#include "shell/text_utils.h"

namespace tolmex::shell {

namespace {

FileDialogRequest RtfDialog(const std::string& fileName) {
  FileDialogRequest r;
  r.filter = kRtfFilter;
  r.filterIndex = 1;
  r.defaultExt = "rtf";
  r.fileName = fileName;
  return r;
}

// The name with the default extension added when it has none and the RTF filter was used.
std::string WithDefaultExtension(const FileDialogResult& chosen) {
  const std::filesystem::path p(chosen.path);
  if (chosen.filterIndex == 1 && !p.filename().has_extension()) return chosen.path + ".rtf";
  return chosen.path;
}

}  // namespace

CharFormat TFormNotaRich::PlainFormat() const {
  CharFormat f;
  f.font = kReportFontName;
  f.size = report_.fontSize;
  return f;
}

RichDocument TFormNotaRich::Document() {
  if (editor_) return editor_->Document();
  return RichDocument::FromPlainText(report_.Text(), PlainFormat());
}

bool TFormNotaRich::SalvarAlt() {
  const std::string text = "O documento " + report_.NomeArq + " foi alterado.\r\r" +
                           "Você quer salvar as alterações?";
  switch (prompter_.AskYesNoCancel(text)) {
    case Answer::Yes: return Salvar();
    case Answer::No: return true;
    default: return false;
  }
}

bool TFormNotaRich::Salvar() {
  if (report_.NomeArq.empty()) return SalvarComo();
  WriteFileAtomic(report_.NomeArq, WriteRtf(Document()));
  report_.Alterado = false;
  report_.NotifyStateChanged();
  return true;
}

bool TFormNotaRich::SalvarComo() {
  FileDialogRequest req = RtfDialog(report_.NomeArq);
  req.title = "Salvar como";
  req.overwritePrompt = true;
  const auto chosen = prompter_.SaveFile(req);
  if (!chosen) return false;
  const std::string old = report_.NomeArq;
  report_.NomeArq = WithDefaultExtension(*chosen);
  try {
    Salvar();
  } catch (...) {
    // The report stays bound to the file it had; nothing was written.
    report_.NomeArq = old;
    throw;
  }
  report_.caption = kCaptionPrefix + report_.NomeArq;
  report_.NotifyStateChanged();
  return true;
}

void TFormNotaRich::CmdSalvar() {
  if (report_.Alterado) Salvar();
}

void TFormNotaRich::Novo() {
  if (report_.Alterado && !SalvarAlt()) return;
  report_.ClearText();
  report_.Alterado = false;
  report_.NomeArq.clear();
  report_.caption = kUntitledCaption;
  report_.NotifyStateChanged();
}

void TFormNotaRich::Abrir() {
  if (report_.Alterado && !SalvarAlt()) return;
  FileDialogRequest req = RtfDialog({});
  req.title = "Abrir";
  req.mustExist = true;
  const auto chosen = prompter_.OpenFile(req);
  if (!chosen) return;
  // Read first: when reading fails the report keeps its file name, so that a later save
  // cannot overwrite the file that failed to open with the old text.
  const std::string data = ReadWholeFile(chosen->path);
  const RichDocument doc = DocumentFromFileData(data, PlainFormat());
  report_.NomeArq = chosen->path;
  if (editor_) {
    editor_->LoadDocument(doc);
    report_.MarkEdited(false);
  } else {
    report_.SetText(doc.PlainText());
  }
  report_.Alterado = false;
  report_.caption = kCaptionPrefix + report_.NomeArq;
  report_.NotifyStateChanged();
}

void TFormNotaRich::ContaCaracteres() {
  prompter_.Information("O texto possui " + std::to_string(Utf8Length(report_.Text())) +
                        " caracteres.");
}

void TFormNotaRich::SobreRelatorio() { prompter_.Information("Relatório de saída em Rich Text"); }

bool TFormNotaRich::CanClose() { return !report_.Alterado || SalvarAlt(); }

}  // namespace tolmex::shell
