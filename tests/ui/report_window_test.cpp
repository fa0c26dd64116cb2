// The report window driven as a person would: typing, menu items, toolbar buttons, closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QKeyEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QScrollBar>
#include <QTextList>
#include <filesystem>
#include <random>

#include "scripted_prompter.h"
#include "shell/app_state.h"
#include "shell/file_io.h"
#include "shell/rtf.h"
#include "shell/ui/notarich_window.h"
#include "shell/ui/rich_text_qt.h"
#include "shell/ui/qt_window_host.h"

namespace tolmex::shell::ui {
namespace {

using testing::ScriptedPrompter;

class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("tolmex-ui-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& n) const { return (path_ / n).string(); }

 private:
  std::filesystem::path path_;
};

// Types text as key presses (any characters, accents included).
void Type(QWidget* w, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
  }
}

QString EditorText(NotaRichWindow& w) { return w.editor()->toPlainText(); }

void Trigger(NotaRichWindow& w, const char* captionOrHint) {
  QAction* a = w.FindAction(QString::fromUtf8(captionOrHint));
  ASSERT_NE(a, nullptr) << captionOrHint;
  a->trigger();
}

TEST(ReportWindow, EditSaveCloseWithQuestionReopenGivesTheSameText) {
  TempFolder dir;
  const std::string path = dir.File("relatorio.rtf");
  ScriptedPrompter prompter;
  QtWindowHost host(prompter);
  AppState app(prompter, host);

  Report& run = app.NewRunReport();
  run.AppendText("Análise de variância\r\n");
  run.AppendText("FV        GL\r\nBlocos     3\r\n");
  app.ShowReport(run);
  NotaRichWindow& w = host.ReportWindow(run);
  ASSERT_TRUE(w.isVisible());
  EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Relatórios em RTF1"));
  EXPECT_EQ(EditorText(w), QString::fromUtf8("Análise de variância\nFV        GL\nBlocos     3\n"));
  EXPECT_EQ(w.editor()->document()->defaultFont().pointSizeF(), 8);

  // The person types a line at the end.
  w.editor()->setFocus();
  w.editor()->moveCursor(QTextCursor::End);
  Type(w.editor(), QString::fromUtf8("Observação: ok"));
  const std::string expected = "Análise de variância\r\nFV        GL\r\nBlocos     3\r\nObservação: ok";
  EXPECT_EQ(run.Text(), expected);
  EXPECT_TRUE(run.Alterado);

  // Closing asks; Yes leads to the save dialog of the untitled report.
  prompter.ExpectYesNoCancel("O documento  foi alterado.\r\rVocê quer salvar as alterações?",
                             Answer::Yes);
  prompter.ExpectSaveFile(FileDialogResult{path, 1});
  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(run.Alterado);
  EXPECT_EQ(w.windowTitle(), QString::fromStdString("NotaRich - " + path));
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_TRUE(LooksLikeRtf(ReadWholeFile(path)));

  // Reopen in another report window.
  Report& other = app.NewRunReport();
  app.ShowReport(other);
  NotaRichWindow& w2 = host.ReportWindow(other);
  prompter.ExpectOpenFile(FileDialogResult{path, 1});
  Trigger(w2, "&Abrir...");
  EXPECT_EQ(other.Text(), expected);
  EXPECT_FALSE(other.Alterado);
  EXPECT_EQ(EditorText(w2), EditorText(w));
  // Unchanged after opening: closing asks nothing.
  EXPECT_TRUE(w2.close());
  prompter.VerifyDone();
}

TEST(ReportWindow, CancelInTheSaveDialogKeepsTheWindowOpen) {
  ScriptedPrompter prompter;
  QtWindowHost host(prompter);
  Report report;
  report.AppendText("x\r\n");
  host.ShowReport(report);
  NotaRichWindow& w = host.ReportWindow(report);
  prompter.ExpectYesNoCancel("O documento  foi alterado.\r\rVocê quer salvar as alterações?",
                             Answer::Yes);
  prompter.ExpectSaveFile(std::nullopt);
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  prompter.ExpectYesNoCancel("O documento  foi alterado.\r\rVocê quer salvar as alterações?",
                             Answer::Cancel);
  EXPECT_FALSE(w.close());
  prompter.ExpectYesNoCancel("O documento  foi alterado.\r\rVocê quer salvar as alterações?",
                             Answer::No);
  EXPECT_TRUE(w.close());
  // A closed report window is hidden and comes back with its text.
  host.ShowReport(report);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(EditorText(w), QStringLiteral("x\n"));
  prompter.VerifyDone();
}

TEST(ReportWindow, AppendedTextReachesTheEditorWhenTheEventLoopRuns) {
  ScriptedPrompter prompter;
  QtWindowHost host(prompter);
  Report report;
  host.ShowReport(report);
  NotaRichWindow& w = host.ReportWindow(report);
  std::string all;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = "linha " + std::to_string(i) + " média\r\n";
    report.AppendText(line);
    all += line;
  }
  EXPECT_EQ(report.Text(), all);
  QApplication::processEvents();
  EXPECT_EQ(w.editor()->document()->blockCount(), 20001);
  EXPECT_EQ(FromQtPlain(EditorText(w)), all);
  // Replacing the text (a chain empties the report) and appending again.
  report.ClearText();
  report.AppendText("novo");
  QApplication::processEvents();
  EXPECT_EQ(EditorText(w), QStringLiteral("novo"));
  report.Alterado = false;
  w.close();
}

TEST(ReportWindow, LongReportOpensScrollsSavesAndReopens) {
  TempFolder dir;
  const std::string path = dir.File("longo.rtf");
  ScriptedPrompter prompter;
  QtWindowHost host(prompter);
  AppState app(prompter, host);
  Report& run = app.NewRunReport();
  constexpr int kLines = 200000;
  for (int i = 0; i < kLines; ++i)
    run.AppendText("   " + std::to_string(i) + "   12.3456   0.0001   previsão\r\n");
  app.ShowReport(run);
  NotaRichWindow& w = host.ReportWindow(run);
  QApplication::processEvents();
  EXPECT_EQ(w.editor()->document()->blockCount(), kLines + 1);
  QScrollBar* bar = w.editor()->verticalScrollBar();
  bar->setValue(bar->maximum());
  QApplication::processEvents();
  (void)w.grab();
  EXPECT_GT(bar->value(), 0);

  prompter.ExpectSaveFile(FileDialogResult{path, 1});
  Trigger(w, "Salvar como");
  EXPECT_FALSE(run.Alterado);
  const RichDocument saved = ReadRtf(ReadWholeFile(path));
  ASSERT_EQ(saved.paragraphs.size(), static_cast<std::size_t>(kLines + 1));
  EXPECT_EQ(saved.paragraphs[kLines - 1].PlainText(), "   199999   12.3456   0.0001   previsão");

  Report& other = app.NewRunReport();
  app.ShowReport(other);
  NotaRichWindow& w2 = host.ReportWindow(other);
  prompter.ExpectOpenFile(FileDialogResult{path, 1});
  Trigger(w2, "&Abrir...");
  QApplication::processEvents();
  EXPECT_EQ(w2.editor()->document()->blockCount(), kLines + 1);
  EXPECT_EQ(other.Text(), run.Text());
  prompter.VerifyDone();
}

TEST(ReportWindow, MenuStateRadioGroupsAndToggles) {
  ScriptedPrompter prompter;
  QtWindowHost host(prompter);
  Report report;
  report.SetText("um dois\r\ntrês");
  report.Alterado = false;
  NotaRichWindow& w = host.ReportWindow(report);
  // Initial check marks.
  for (const char* checked : {"&Times New Roman", "&Média (14)", "Alinhado à &Esquerda"})
    EXPECT_TRUE(w.FindAction(QString::fromUtf8(checked))->isChecked()) << checked;
  for (const char* unchecked : {"&Courier New", "&Arial", "&Pequena (10)", "&Grande (18)",
                                "&Negrito", "&Itálico", "Somente &Leitura"})
    EXPECT_FALSE(w.FindAction(QString::fromUtf8(unchecked))->isChecked()) << unchecked;
  host.ShowReport(report);

  // Select "um" and make it Arial 18 bold.
  QTextCursor c(w.editor()->document());
  c.movePosition(QTextCursor::Start);
  c.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
  w.editor()->setTextCursor(c);
  Trigger(w, "&Arial");
  Trigger(w, "&Grande (18)");
  Trigger(w, "&Negrito");
  EXPECT_TRUE(w.FindAction(QStringLiteral("&Arial"))->isChecked());
  EXPECT_FALSE(w.FindAction(QStringLiteral("&Times New Roman"))->isChecked());
  EXPECT_TRUE(w.FindAction(QStringLiteral("&Grande (18)"))->isChecked());
  RichDocument doc = w.form().Document();
  ASSERT_GE(doc.paragraphs[0].runs.size(), 2u);
  EXPECT_EQ(doc.paragraphs[0].runs[0].text, "um");
  EXPECT_EQ(doc.paragraphs[0].runs[0].format.font, "Arial");
  EXPECT_EQ(doc.paragraphs[0].runs[0].format.size, 18);
  EXPECT_TRUE(doc.paragraphs[0].runs[0].format.bold);
  EXPECT_FALSE(doc.paragraphs[0].runs[1].format.bold);
  EXPECT_TRUE(report.Alterado);

  // Moving into plain text updates the check marks from the selection.
  c.movePosition(QTextCursor::End);
  w.editor()->setTextCursor(c);
  EXPECT_TRUE(w.FindAction(QStringLiteral("&Courier New"))->isChecked());
  EXPECT_FALSE(w.FindAction(QStringLiteral("&Negrito"))->isChecked());

  // Paragraph: centre, bullets on and off.
  Trigger(w, "&Centralizado");
  EXPECT_EQ(w.form().Document().paragraphs[1].alignment, Alignment::Center);
  Trigger(w, "Inserir/retirar marcas do parágrafo");
  EXPECT_TRUE(w.form().Document().paragraphs[1].bullet);
  EXPECT_NE(w.FindAction(QStringLiteral("&Retirar marcas")), nullptr);
  Trigger(w, "&Retirar marcas");
  EXPECT_FALSE(w.form().Document().paragraphs[1].bullet);
  EXPECT_NE(w.FindAction(QStringLiteral("&Inserir marcas")), nullptr);
  // Toolbar alignment leaves the menu alone.
  Trigger(w, "Alinhar à direita");
  EXPECT_EQ(w.form().Document().paragraphs[1].alignment, Alignment::Right);
  EXPECT_TRUE(w.FindAction(QStringLiteral("&Centralizado"))->isChecked());

  // Toolbar underline without selection: the first press removes, the second adds, on the
  // whole text.
  c.clearSelection();
  w.editor()->setTextCursor(c);
  EXPECT_FALSE(w.tsub);
  Trigger(w, "Sublinhar o texto selecionado ou no texto todo");
  EXPECT_TRUE(w.tsub);
  for (const auto& p : w.form().Document().paragraphs)
    for (const auto& r : p.runs) EXPECT_FALSE(r.format.underline);
  Trigger(w, "Sublinhar o texto selecionado ou no texto todo");
  EXPECT_FALSE(w.tsub);
  for (const auto& p : w.form().Document().paragraphs)
    for (const auto& r : p.runs) EXPECT_TRUE(r.format.underline) << r.text;

  // Read-only toggles the editor and the check mark.
  Trigger(w, "Somente &Leitura");
  EXPECT_TRUE(w.editor()->isReadOnly());
  EXPECT_TRUE(w.FindAction(QStringLiteral("Somente &Leitura"))->isChecked());
  Trigger(w, "Somente &Leitura");
  EXPECT_FALSE(w.editor()->isReadOnly());

  // Background colour and character count.
  prompter.ExpectColor(Rgb{255, 255, 200});
  Trigger(w, "Cor de &Fundo...");
  EXPECT_EQ(w.editor()->palette().color(QPalette::Base), QColor(255, 255, 200));
  prompter.ExpectMessage("O texto possui 13 caracteres.", BoxKind::Information);
  Trigger(w, "&Conta caracteres...");
  prompter.ExpectMessage("Relatório de saída em Rich Text", BoxKind::Information);
  Trigger(w, "&Sobre o relatório...");

  // "Mais Fontes..." applies the chosen font to the selection.
  c.movePosition(QTextCursor::End);
  c.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
  w.editor()->setTextCursor(c);
  FontChoice chosen;
  chosen.family = "Times New Roman";
  chosen.pointSize = 14;
  chosen.italic = true;
  chosen.color = {0, 0, 255};
  prompter.ExpectFont(chosen);
  Trigger(w, "Mais &Fontes...");
  doc = w.form().Document();
  EXPECT_EQ(doc.paragraphs[1].runs[0].format.font, "Times New Roman");
  EXPECT_TRUE(doc.paragraphs[1].runs[0].format.italic);
  EXPECT_EQ(doc.paragraphs[1].runs[0].format.color, (Rgb{0, 0, 255}));
  EXPECT_TRUE(w.FindAction(QStringLiteral("&Times New Roman"))->isChecked());
  EXPECT_TRUE(w.FindAction(QString::fromUtf8("&Itálico"))->isChecked());
  prompter.VerifyDone();
  report.Alterado = false;
}

TEST(ReportWindow, EveryMenuItemAndToolbarHintExists) {
  ScriptedPrompter prompter;
  QtWindowHost host(prompter);
  Report report;
  NotaRichWindow& w = host.ReportWindow(report);
  for (const char* caption :
       {"&Novo", "&Abrir...", "&Salvar", "Salvar &Como...", "&Imprimir", "Sai&r", "&Undo",
        "&Recortar", "&Copiar", "Co&lar", "&Times New Roman", "&Courier New", "&Arial",
        "&Negrito", "&Itálico", "&Pequena (10)", "&Média (14)", "&Grande (18)", "Mais &Fontes...",
        "&Inserir marcas", "Alinhado à &Esquerda", "Alinhado à &Direita", "&Centralizado",
        "Cor de &Fundo...", "Somente &Leitura", "&Conta caracteres...", "&Sobre o relatório...",
        "Abrir novo arquivo", "Salvar como", "Imprimir o documento", "Undo",
        "Cortar texto selecionado", "Copiar texto selecionado", "Colar",
        "Inserir/retirar marcas do parágrafo", "Alinhar parágrafo à esquerda", "Alinhar à direita",
        "Centralizar parágrafo", "Negrito no texto selecionado ou no texto todo",
        "Itálico no texto selecionado ou no texto todo",
        "Sublinhar o texto selecionado ou no texto todo"})
    EXPECT_NE(w.FindAction(QString::fromUtf8(caption)), nullptr) << caption;
  EXPECT_EQ(w.FindAction(QStringLiteral("&Recortar"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
  EXPECT_EQ(w.FindAction(QStringLiteral("&Copiar"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
  EXPECT_EQ(w.FindAction(QStringLiteral("Co&lar"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
}

TEST(ReportWindow, PrintsToPdf) {
  TempFolder dir;
  ScriptedPrompter prompter;
  QtWindowHost host(prompter);
  Report report;
  report.NomeArq = "relatorio.rtf";
  report.AppendText("Quadro da análise de variância\r\nTotal   11\r\n");
  NotaRichWindow& w = host.ReportWindow(report);
  const std::string pdf = dir.File("saida.pdf");
  w.SetPrintDialog([&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf));
    return true;
  });
  Trigger(w, "Imprimir o documento");
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(ReadWholeFile(pdf).substr(0, 5), "%PDF-");
  const std::string txt = dir.File("saida.txt");
  if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + pdf + "' '" + txt + "'").c_str()), 0);
    EXPECT_NE(ReadWholeFile(txt).find("Quadro da análise de variância"), std::string::npos);
  }
  report.Alterado = false;
}

}  // namespace
}  // namespace tolmex::shell::ui
