#pragma once
// The logic of the report window TFormNotaRich: new, open, save, save as, the question
// before discarding changes, counting characters. The Qt window binds its menu to these
// handlers and lends its editor through `ReportEditor`.
#include <string>
#include <string_view>

#include "shell/form.h"
#include "shell/prompter.h"
#include "shell/report.h"
#include "shell/rich_text.h"

namespace tolmex::shell {

inline constexpr const char* kRtfFilter =
    "Arquivo Rich Text (*.rtf)|*.rtf|Todos os arquivos (*.*)|*.*";
inline constexpr const char* kUntitledCaption = "NotaRich - [Sem Título]";
inline constexpr const char* kCaptionPrefix = "NotaRich - ";

// The window's rich-text editor, as the form sees it.
class ReportEditor {
 public:
  virtual ~ReportEditor() = default;
  // The editor's whole content with its formatting.
  virtual RichDocument Document() = 0;
  // Replaces the editor's content (a file was opened). The form then marks the report's text
  // as held by the editor.
  virtual void LoadDocument(const RichDocument& doc) = 0;
};

class TFormNotaRich : public Form {
 public:
  TFormNotaRich(Report& report, Prompter& prompter) : report_(report), prompter_(prompter) {}
  std::string_view FormName() const override { return "TFormNotaRich"; }

  void SetEditor(ReportEditor* editor) { editor_ = editor; }
  Report& report() { return report_; }

  // Asks whether to save the changes: true to go on (saved, or the person said No), false to
  // stop (Cancel, or the save dialog was cancelled).
  bool SalvarAlt();
  // Writes the report to NomeArq as RTF (SalvarComo when untitled); false when cancelled.
  // A failed write throws and leaves Alterado set.
  bool Salvar();
  bool SalvarComo();

  // Menu commands.
  void CmdSalvar();  // "&Salvar": saves only when changed
  void Novo();
  void Abrir();
  void ContaCaracteres();
  void SobreRelatorio();
  // The window asks to close: true when it may close.
  bool CanClose();

  // The content to save or print: the editor's document, or the report text in the report
  // font when there is no editor.
  RichDocument Document();
  CharFormat PlainFormat() const;

 private:
  Report& report_;
  Prompter& prompter_;
  ReportEditor* editor_ = nullptr;
};

}  // namespace tolmex::shell
