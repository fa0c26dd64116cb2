#include "shell/report_form.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "scripted_prompter.h"
#include "shell/file_io.h"
#include "shell/rtf.h"
#include "temp_dir.h"

namespace tolmex::shell {
namespace {

using testing::ScriptedPrompter;
using testing::TempDir;

const std::string kQuestionUntitled =
    "O documento  foi alterado.\r\rVocê quer salvar as alterações?";

std::string Question(const std::string& name) {
  return "O documento " + name + " foi alterado.\r\rVocê quer salvar as alterações?";
}

std::string Slurp(const std::string& path) { return ReadWholeFile(path); }

TEST(ReportForm, CloseAsksOnlyWhenChangedAndFollowsTheAnswer) {
  TempDir dir;
  const struct {
    const char* name;
    Answer answer;
    bool saveDialog;     // Yes leads to the save dialog (untitled)
    bool saveConfirmed;
    bool mayClose;
  } cases[] = {
      {"cancel_keeps_open", Answer::Cancel, false, false, false},
      {"no_discards", Answer::No, false, false, true},
      {"yes_then_cancel_save_dialog_keeps_open", Answer::Yes, true, false, false},
      {"yes_then_save", Answer::Yes, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Report report;
    report.AppendText("FV   GL\r\n");
    ScriptedPrompter prompter;
    prompter.ExpectYesNoCancel(kQuestionUntitled, c.answer);
    const std::string target = dir.File(std::string(c.name) + ".rtf");
    if (c.saveDialog)
      prompter.ExpectSaveFile(c.saveConfirmed ? std::optional<FileDialogResult>({target, 1})
                                              : std::nullopt);
    TFormNotaRich form(report, prompter);
    EXPECT_EQ(form.CanClose(), c.mayClose);
    EXPECT_EQ(std::filesystem::exists(target), c.saveConfirmed);
    EXPECT_EQ(report.Alterado, !c.saveConfirmed);
    prompter.VerifyDone();
  }
  Report unchanged;
  ScriptedPrompter silent;
  TFormNotaRich form(unchanged, silent);
  EXPECT_TRUE(form.CanClose());
}

TEST(ReportForm, SaveOnAnUnchangedReportDoesNothing) {
  Report report;
  ScriptedPrompter prompter;  // no dialog expected
  TFormNotaRich form(report, prompter);
  form.CmdSalvar();
  EXPECT_TRUE(report.NomeArq.empty());
}

TEST(ReportForm, SaveAsWritesRtfAndRenamesTheWindow) {
  TempDir dir;
  Report report;
  report.fontSize = 8;
  report.AppendText("Análise de variância\r\nFV  GL\r\n");
  ScriptedPrompter prompter;
  prompter.ExpectSaveFile(FileDialogResult{dir.File("relatorio"), 1},
                          [](const FileDialogRequest& r) {
                            EXPECT_EQ(r.filter, "Arquivo Rich Text (*.rtf)|*.rtf|Todos os arquivos (*.*)|*.*");
                            EXPECT_EQ(r.defaultExt, "rtf");
                            EXPECT_TRUE(r.overwritePrompt);
                            EXPECT_EQ(r.fileName, "");
                          });
  TFormNotaRich form(report, prompter);
  form.CmdSalvar();
  const std::string path = dir.File("relatorio.rtf");
  EXPECT_EQ(report.NomeArq, path);
  EXPECT_EQ(report.caption, "NotaRich - " + path);
  EXPECT_FALSE(report.Alterado);
  const RichDocument saved = ReadRtf(Slurp(path));
  EXPECT_EQ(saved.PlainText(), "Análise de variância\r\nFV  GL\r\n");
  EXPECT_EQ(saved.paragraphs[0].runs[0].format.font, "Courier New");
  EXPECT_EQ(saved.paragraphs[0].runs[0].format.size, 8);

  // A titled, changed report is saved to its file without a dialog; the question names it.
  report.AppendText("Blocos 3\r\n");
  form.CmdSalvar();
  EXPECT_EQ(ReadRtf(Slurp(path)).PlainText(), "Análise de variância\r\nFV  GL\r\nBlocos 3\r\n");
  report.AppendText("x");
  prompter.ExpectYesNoCancel(Question(path), Answer::Cancel);
  EXPECT_FALSE(form.CanClose());
}

TEST(ReportForm, FailedSaveKeepsTheOldFileAndTheChangedFlag) {
  TempDir dir;
  const std::string path = dir.File("antigo.rtf");
  WriteFileAtomic(path, "conteúdo antigo");
  Report report;
  report.NomeArq = path;
  report.AppendText(std::string(100000, 'x'));
  ScriptedPrompter prompter;
  TFormNotaRich form(report, prompter);

  // A file-size limit makes the write fail half-way (works for every user, root included).
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(form.CmdSalvar(), std::runtime_error);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);

  EXPECT_TRUE(report.Alterado);
  EXPECT_EQ(Slurp(path), "conteúdo antigo");
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1) << "the temporary file is removed";

  // Save as into a folder that does not exist: the report keeps its name.
  prompter.ExpectSaveFile(FileDialogResult{dir.File("nada/novo.rtf"), 1});
  EXPECT_THROW(form.SalvarComo(), std::runtime_error);
  EXPECT_EQ(report.NomeArq, path);
  EXPECT_TRUE(report.Alterado);
}

TEST(ReportForm, NewAsksThenEmptiesTheUntitledReport) {
  Report report;
  report.NomeArq = "/tmp/x.rtf";
  report.AppendText("texto");
  ScriptedPrompter prompter;
  prompter.ExpectYesNoCancel(Question("/tmp/x.rtf"), Answer::Cancel);
  prompter.ExpectYesNoCancel(Question("/tmp/x.rtf"), Answer::No);
  TFormNotaRich form(report, prompter);
  form.Novo();
  EXPECT_EQ(report.Text(), "texto");
  form.Novo();
  EXPECT_EQ(report.Text(), "");
  EXPECT_EQ(report.NomeArq, "");
  EXPECT_FALSE(report.Alterado);
  EXPECT_EQ(report.caption, "NotaRich - [Sem Título]");
}

TEST(ReportForm, OpenLoadsRtfWithFormattingAndOtherFilesAsText) {
  TempDir dir;
  RichDocument doc;
  Paragraph p;
  p.alignment = Alignment::Center;
  CharFormat bold;
  bold.bold = true;
  p.runs.push_back({"Título", bold});
  doc.paragraphs.push_back(p);
  doc.paragraphs.push_back(Paragraph{});
  const std::string rtf = dir.File("a.rtf");
  WriteFileAtomic(rtf, WriteRtf(doc));
  const std::string txt = dir.File("b.txt");
  WriteFileAtomic(txt, "linha {1}\nlinha 2");

  struct FakeEditor : ReportEditor {
    RichDocument loaded;
    RichDocument Document() override { return loaded; }
    void LoadDocument(const RichDocument& d) override { loaded = d; }
  };

  Report report;
  ScriptedPrompter prompter;
  prompter.ExpectOpenFile(FileDialogResult{rtf, 1}, [](const FileDialogRequest& r) {
    EXPECT_TRUE(r.mustExist);
    EXPECT_EQ(r.filter, kRtfFilter);
  });
  TFormNotaRich form(report, prompter);
  form.Abrir();
  EXPECT_EQ(report.Text(), "Título\r\n");
  EXPECT_EQ(report.NomeArq, rtf);
  EXPECT_EQ(report.caption, "NotaRich - " + rtf);
  EXPECT_FALSE(report.Alterado);

  FakeEditor editor;
  form.SetEditor(&editor);
  prompter.ExpectOpenFile(FileDialogResult{txt, 2});
  form.Abrir();
  EXPECT_EQ(editor.loaded.PlainText(), "linha {1}\r\nlinha 2");
  EXPECT_EQ(editor.loaded.paragraphs[0].runs[0].format.font, "Courier New");
  EXPECT_EQ(report.NomeArq, txt);
  EXPECT_FALSE(report.Alterado);
  EXPECT_TRUE(report.HasEditorText());
}

TEST(ReportForm, FailedOrCancelledOpenChangesNothing) {
  TempDir dir;
  Report report;
  report.NomeArq = dir.File("meu.rtf");
  report.SetText("meu texto");
  report.Alterado = false;
  ScriptedPrompter prompter;
  prompter.ExpectOpenFile(std::nullopt);
  prompter.ExpectOpenFile(FileDialogResult{dir.File("sumiu.rtf"), 1});
  TFormNotaRich form(report, prompter);
  form.Abrir();
  EXPECT_THROW(form.Abrir(), std::runtime_error);
  EXPECT_EQ(report.Text(), "meu texto");
  EXPECT_EQ(report.NomeArq, dir.File("meu.rtf"));
  EXPECT_FALSE(report.Alterado);
}

TEST(ReportForm, CountsCharactersWithLineBreaks) {
  Report report;
  report.SetText("ação\r\nb");
  ScriptedPrompter prompter;
  prompter.ExpectMessage("O texto possui 7 caracteres.", BoxKind::Information);
  prompter.ExpectMessage("Relatório de saída em Rich Text", BoxKind::Information);
  TFormNotaRich form(report, prompter);
  form.ContaCaracteres();
  form.SobreRelatorio();
}

}  // namespace
}  // namespace tolmex::shell
