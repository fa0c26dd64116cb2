// The data-table window over its form: the grid model, painting, display, status bar,
// menus and the two column dialogs, driven by a scripted person.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "data/table_file.h"
#include "data/ui/graph_window.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "shell/file_io.h"
#include "shell/number_locale.h"

using namespace tolmex::data;
using tolmex::data::ui::DataTableModel;
using tolmex::data::ui::TField_DelDialog;
using tolmex::data::ui::TForm_nomesDialog;
using tolmex::data::ui::TGraphFormWindow;
using tolmex::shell::Answer;
using tolmex::shell::FileDialogResult;
using tolmex::shell::NumberLocale;
using tolmex::testing::ScriptedPrompter;
using tolmex::testing::ScriptedWindowHost;

namespace {

struct Fixture {
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  TGraphForm form{prompter, host};
  tolmex::testing::TempDir dir;
  std::unique_ptr<TGraphFormWindow> window;
  Fixture() {
    tolmex::shell::SetCurrentNumberLocale(NumberLocale::Dot());
    window = std::make_unique<TGraphFormWindow>(form, prompter);
    window->show();
  }
  QModelIndex At(int r, int c) const { return window->model()->index(r, c); }
  QString Cell(int r, int c, int role = Qt::DisplayRole) const {
    return window->model()->data(At(r, c), role).toString();
  }
  void Trigger(const QString& menu, const QString& item) {
    QAction* a = window->Item(menu, item);
    ASSERT_NE(a, nullptr) << item.toStdString();
    a->trigger();
  }
};

DataTable Small() {
  DataTable t;
  t.AddField({"Trat", FieldType::ftString, 30});
  t.AddField({"Produtividade", FieldType::ftFloat});
  t.Open();
  for (int i = 0; i < 3; ++i) {
    t.AppendRow();
    t.SetString(i, 0, "T" + std::to_string(i + 1));
    t.SetFloat(i, 1, 1234.567 * (i + 1));
  }
  return t;
}

}  // namespace

// A table created through the dialogs, typed into the grid, saved, closed and reopened
// keeps every cell, empty ones included.
TEST(DataGraphWindow, CreateTypeInGridSaveReopen) {
  Fixture f;
  const std::string path = f.dir.File("novo.fdt");
  f.prompter.ExpectSaveFile(FileDialogResult{path, 1})
      .ExpectInput("Número de campos", "Digite o número de campos (colunas):", "2")
      .ExpectInput("Campo 1", "Nome da variável:", "Trat")
      .ExpectYesNo("O campo \"Trat\" é numérico?", Answer::No)
      .ExpectInput("Campo 2", "Nome da variável:", "Peso")
      .ExpectYesNo("O campo \"Peso\" é numérico?", Answer::Yes);
  f.Trigger("&Arquivo", "&Criar");
  ASSERT_TRUE(f.form.Table1.Active());
  DataTableModel* m = f.window->model();
  EXPECT_EQ(m->columnCount(), 2);
  EXPECT_EQ(m->rowCount(), 1);  // one empty row to type into
  EXPECT_TRUE(m->flags(f.At(0, 0)) & Qt::ItemIsEditable);

  // Rows typed: values through the model, Enter through the grid's keyboard.
  const std::vector<std::pair<QString, QString>> rows = {{"A", "1,5"}, {"", "2"}, {"C", ""}};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int row = static_cast<int>(r);
    f.window->grid()->setCurrentIndex(f.At(row, 0));
    if (!rows[r].first.isEmpty()) ASSERT_TRUE(m->setData(f.At(row, 0), rows[r].first, Qt::EditRole));
    f.window->grid()->setCurrentIndex(f.At(row, 1));
    if (!rows[r].second.isEmpty()) ASSERT_TRUE(m->setData(f.At(row, 1), rows[r].second, Qt::EditRole));
    if (r + 1 < rows.size()) {
      // Enter in the open cell editor, or in the grid when none is open.
      QWidget* target = f.window->grid();
      for (auto* e : f.window->grid()->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) target = e;
      QTest::keyClick(target, Qt::Key_Return);
      QApplication::processEvents();
      EXPECT_EQ(f.form.Table1.RecordCount(), row + 2);
      EXPECT_EQ(f.window->grid()->currentIndex(), f.At(row + 1, 0));
    }
  }
  EXPECT_EQ(f.Cell(0, 1), "1.50");

  f.prompter.ExpectYesNoCancel(kCloseQuestion, Answer::Yes)
      .ExpectYesNo("O arquivo \"" + path + "\" já existe. Deseja sobrescrever?", Answer::Yes);
  f.Trigger("&Arquivo", "&Fechar");
  EXPECT_FALSE(f.form.Table1.Active());
  EXPECT_EQ(m->rowCount(), 0);

  f.prompter.ExpectOpenFile(FileDialogResult{path, 1});
  f.Trigger("&Arquivo", "&Abrir");
  ASSERT_EQ(m->rowCount(), 3);
  EXPECT_EQ(f.Cell(0, 0), "A");
  EXPECT_EQ(f.Cell(0, 1), "1.50");
  EXPECT_EQ(f.Cell(0, 1, Qt::EditRole), "1.5");
  EXPECT_EQ(f.Cell(1, 0), "");
  EXPECT_TRUE(f.form.Table1.IsNull(1, 0));
  EXPECT_EQ(f.Cell(1, 1), "2.00");
  EXPECT_EQ(f.Cell(2, 0), "C");
  EXPECT_TRUE(f.form.Table1.IsNull(2, 1));
}

TEST(DataGraphWindow, DisplayPaintingHeaderAndStatusBar) {
  Fixture f;
  tolmex::shell::SetCurrentNumberLocale(NumberLocale::Comma());
  const std::string path = f.dir.File("t.fdt");
  SaveTableFile(Small(), path);
  f.prompter.ExpectOpenFile(FileDialogResult{path, 1});
  f.Trigger("&Arquivo", "&Abrir");
  EXPECT_EQ(f.Cell(1, 1), "2.469,13");
  EXPECT_EQ(f.window->model()->data(f.At(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(f.window->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
            "Produtividade");
  EXPECT_EQ(f.window->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole)
                .value<Qt::Alignment>(),
            Qt::AlignCenter);
  // Widths: 80, or a wide title's width plus 20.
  auto* header = f.window->grid()->horizontalHeader();
  const int titleWidth = header->fontMetrics().horizontalAdvance("Produtividade");
  EXPECT_EQ(header->sectionSize(0), 80);
  EXPECT_EQ(header->sectionSize(1), titleWidth > 60 ? titleWidth + 20 : 80);

  // The current column is painted (208, 208, 240) with black text; the others are not.
  f.window->grid()->setCurrentIndex(f.At(2, 1));
  QApplication::processEvents();
  const QColor paint(208, 208, 240);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(f.window->model()->data(f.At(r, 1), Qt::BackgroundRole).value<QBrush>().color(), paint);
    EXPECT_EQ(f.window->model()->data(f.At(r, 1), Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::black));
    EXPECT_FALSE(f.window->model()->data(f.At(r, 0), Qt::BackgroundRole).isValid());
  }
  // The editor of a text cell holds at most the column's size.
  f.window->grid()->setCurrentIndex(f.At(0, 0));
  f.window->grid()->edit(f.At(0, 0));
  QLineEdit* editor = nullptr;
  for (auto* e : f.window->grid()->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) editor = e;
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->maxLength(), 30);
  f.window->grid()->setCurrentIndex(f.At(2, 1));
  QApplication::processEvents();

  const int widths[] = {200, 300, 400};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.window->statusPanel(i)->width(), widths[i]);
  EXPECT_EQ(f.window->statusPanel(0)->text(), "Registro: 3/3");
  EXPECT_EQ(f.window->statusPanel(1)->text(), "Campo: Produtividade");
  EXPECT_EQ(f.window->statusPanel(2)->text(), "Valor: 3703,701");
  tolmex::shell::SetCurrentNumberLocale(NumberLocale::Dot());
}

TEST(DataGraphWindow, MenusAndRowSelectionMode) {
  Fixture f;
  const std::vector<std::pair<QString, std::vector<QString>>> menus = {
      {"&Arquivo", {"&Abrir", "&Criar", "&Salvar Como", "&Fechar", "&Deletar", "&Sair"}},
      {"&Registros", {"&Deletar", "D&esativar"}},
      {"&Campos", {"&Acrescentar", "&Deletar", "&Renomear", "Alterar &Tipo de coluna"}},
  };
  for (const auto& [menu, items] : menus)
    for (const QString& item : items) EXPECT_NE(f.window->Item(menu, item), nullptr) << item.toStdString();
  // Import and export are enabled commands of the menu bar itself, after "&Campos".
  const QList<QAction*> bar = f.window->findChild<QMenuBar*>()->actions();
  ASSERT_GE(bar.size(), 5);
  EXPECT_EQ(bar[bar.size() - 2]->text(), "&Importar");
  EXPECT_EQ(bar[bar.size() - 1]->text(), "&Exportar");
  EXPECT_TRUE(bar[bar.size() - 2]->isEnabled());
  EXPECT_TRUE(bar[bar.size() - 1]->isEnabled());
  // Before a table is opened: whole rows, no editing.
  EXPECT_EQ(f.window->grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(f.window->grid()->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_FALSE(f.window->Item("&Registros", "D&esativar")->isVisible());

  const std::string path = f.dir.File("t.fdt");
  SaveTableFile(Small(), path);
  f.prompter.ExpectOpenFile(FileDialogResult{path, 1});
  f.Trigger("&Arquivo", "&Abrir");
  EXPECT_EQ(f.window->grid()->selectionBehavior(), QAbstractItemView::SelectItems);
  EXPECT_NE(f.window->grid()->editTriggers(), QAbstractItemView::NoEditTriggers);

  f.prompter.ExpectMessage(
      "Selecione os registros com Ctrl + Clique ou Shift + Clique. Depois clique em "
      "\"Desativar\" para excluir.");
  f.Trigger("&Registros", "&Deletar");
  EXPECT_TRUE(f.window->Item("&Registros", "D&esativar")->isVisible());
  EXPECT_FALSE(f.window->Item("&Registros", "&Deletar")->isVisible());
  EXPECT_EQ(f.window->grid()->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_FALSE(f.window->model()->flags(f.At(0, 0)) & Qt::ItemIsEditable);
  // Pick rows 1 and 3 with Ctrl + click.
  auto* vp = f.window->grid()->viewport();
  QTest::mouseClick(vp, Qt::LeftButton, {}, f.window->grid()->visualRect(f.At(0, 0)).center());
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ControlModifier,
                    f.window->grid()->visualRect(f.At(2, 0)).center());
  f.prompter.ExpectYesNo("Excluir 2 registro(s) selecionado(s)?", Answer::Yes)
      .ExpectYesNo("O arquivo \"" + path + "\" já existe. Deseja sobrescrever?", Answer::No)
      .ExpectMessage("Modo de edição normal restaurado.");
  f.Trigger("&Registros", "D&esativar");
  ASSERT_EQ(f.window->model()->rowCount(), 1);
  EXPECT_EQ(f.Cell(0, 0), "T2");
  EXPECT_FALSE(f.window->Item("&Registros", "D&esativar")->isVisible());
  EXPECT_EQ(f.window->grid()->selectionBehavior(), QAbstractItemView::SelectItems);

  // "&Sair" closes the window; the table stays open.
  f.Trigger("&Arquivo", "&Sair");
  EXPECT_FALSE(f.window->isVisible());
  EXPECT_TRUE(f.form.Table1.Active());
}

// A million rows: the model answers from the table itself, so the grid scrolls to the end
// at once and shows the last row.
TEST(DataGraphWindow, MillionRowsScroll) {
  Fixture f;
  DataTable big;
  big.AddField({"X", FieldType::ftFloat});
  big.AddField({"T", FieldType::ftString, 30});
  big.Open();
  big.Reserve(1000000);
  for (int r = 0; r < 1000000; ++r) {
    big.AppendRow();
    big.SetFloat(r, 0, r);
  }
  big.SetString(999999, 1, "último");
  const std::string path = f.dir.File("grande.fdt");
  SaveTableFile(big, path);
  f.prompter.ExpectOpenFile(FileDialogResult{path, 1});
  f.Trigger("&Arquivo", "&Abrir");
  EXPECT_EQ(f.window->model()->rowCount(), 1000000);
  f.window->grid()->scrollToBottom();
  QApplication::processEvents();
  EXPECT_EQ(f.window->grid()->verticalScrollBar()->value(),
            f.window->grid()->verticalScrollBar()->maximum());
  EXPECT_EQ(f.Cell(999999, 0), "999,999.00");
  EXPECT_EQ(f.Cell(999999, 1), "último");
  f.window->grid()->setCurrentIndex(f.At(999999, 1));
  QApplication::processEvents();
  EXPECT_EQ(f.window->statusPanel(0)->text(), "Registro: 1000000/1000000");
}

TEST(DataGraphWindow, FieldDeleteDialog) {
  TField_Del form;
  form.PopulateFields({"A", "B", "C"});
  TField_DelDialog d(form);
  EXPECT_EQ(d.windowTitle(), "Deleção de campos");
  d.show();
  ASSERT_EQ(d.list()->count(), 3);
  d.list()->setCurrentRow(2);
  d.Ok();
  EXPECT_EQ(form.Result, ModalResult::Ok);
  EXPECT_EQ(form.LB_VarIndex, 2);
  form.PopulateFields({"A"});
  d.show();
  d.list()->setCurrentRow(0);
  d.Cancelar();
  EXPECT_EQ(form.Result, ModalResult::Cancel);
  EXPECT_EQ(form.LB_VarIndex, -1);
}

TEST(DataGraphWindow, RenameDialogEnterInEditWorksAsTrocar) {
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  TGraphForm owner(prompter, host);
  owner.Table1 = Small();
  TForm_nomes& form = owner.Form_nomes;
  form.FormActivate();
  TForm_nomesDialog d(form);
  EXPECT_EQ(d.windowTitle(), "Nomes");
  d.show();
  ASSERT_EQ(d.list()->count(), 2);
  EXPECT_EQ(d.list()->currentRow(), 0);
  d.edit()->setText("Tratamento");
  QTest::keyClick(d.edit(), Qt::Key_Return);
  EXPECT_EQ(d.list()->item(0)->text(), "Tratamento");
  EXPECT_EQ(d.list()->currentRow(), 1);
  EXPECT_EQ(d.edit()->text(), "");
  EXPECT_TRUE(d.isVisible());  // Enter did not close the dialog
  prompter.ExpectMessage("Campos renomeados com sucesso!");
  d.Efetivar();
  EXPECT_EQ(owner.Table1.FieldName(0), "Tratamento");
  EXPECT_EQ(owner.Table1.GetString(2, 0), "T3");
}

// "&Importar" and "&Exportar" from the window's menu bar: the grid shows the imported
// columns, ready for editing, and a table exported to ODS and imported again is the same.
TEST(DataGraphWindow, ImportAndExportFromTheMenuBar) {
  Fixture f;
  const QList<QAction*> bar = f.window->findChild<QMenuBar*>()->actions();
  ASSERT_GE(bar.size(), 2);
  QAction* importar = bar[bar.size() - 2];
  QAction* exportar = bar[bar.size() - 1];

  const std::string csv = f.dir.File("ensaio.csv");
  tolmex::shell::WriteFileAtomic(csv, "trat;peso\r\nA;3,5\r\n\"B; C\";4\r\n");
  f.prompter.ExpectOpenFile(FileDialogResult{csv, 3}, [](const auto& request) {
    EXPECT_EQ(request.title, "Importar arquivo");
  });
  f.prompter.ExpectMessage("Importado com sucesso usando separador [\";\"]");
  importar->trigger();
  f.prompter.VerifyDone();
  DataTableModel* m = f.window->model();
  ASSERT_EQ(m->columnCount(), 2);
  ASSERT_EQ(m->rowCount(), 2);
  EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "trat");
  EXPECT_EQ(f.Cell(1, 0), "B; C");
  EXPECT_EQ(f.Cell(0, 1, Qt::EditRole), "3.5");
  EXPECT_TRUE(m->flags(f.At(0, 0)) & Qt::ItemIsEditable);
  EXPECT_TRUE(std::filesystem::exists(f.dir.File("ensaio.fdt")));

  const std::string ods = f.dir.File("copia.ods");
  f.prompter.ExpectSaveFile(FileDialogResult{ods, 2}, [](const auto& request) {
    EXPECT_EQ(request.title, "Exportar tabela");
  });
  f.prompter.ExpectMessage("Arquivo ODS exportado com sucesso!");
  exportar->trigger();
  f.prompter.VerifyDone();
  ASSERT_TRUE(std::filesystem::exists(ods));

  f.prompter.ExpectOpenFile(FileDialogResult{ods, 2});
  f.prompter.ExpectMessage("ODS Importado!");
  importar->trigger();
  f.prompter.VerifyDone();
  EXPECT_EQ(f.form.FCurrentFileName, f.dir.File("copia.fdt"));
  ASSERT_EQ(m->rowCount(), 2);
  EXPECT_EQ(f.Cell(0, 0), "A");
  EXPECT_EQ(f.Cell(1, 0), "B; C");
  EXPECT_EQ(f.Cell(0, 1, Qt::EditRole), "3.5");
  EXPECT_EQ(f.Cell(1, 1, Qt::EditRole), "4");
}
