#pragma once
// The model window "TABELA DE ANÁLISE DE VARIÂNCIA" (TForm_modelo): the user opens the data
// table and writes the model, one source of variation per line, closing with "Fim".
#include <string>
#include <vector>

#include "anova/anova_state.h"
#include "anova/form_base.h"

namespace tolmex::data {
class DataTable;
}
namespace tolmex::shell {
class Prompter;
class Report;
}  // namespace tolmex::shell

namespace tolmex::anova {

// Access to the program's one data table: its opening and closing, and its file name.
class TableSource {
 public:
  virtual ~TableSource() = default;
  virtual data::DataTable& Table() = 0;
  // Opens a table file chosen by the person (does nothing when the person cancels).
  virtual void LoadTable() = 0;
  virtual void CloseTable() = 0;
  virtual std::string FileName() const = 0;
};

class TForm_modelo : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_modelo";
  static constexpr const char* kCaption = "TABELA DE ANÁLISE DE VARIÂNCIA";
  static constexpr const char* kHintFocused = "Dê um duplo clique para adicionar FV";
  static constexpr const char* kHintLeft =
      "Dê preferência aos duplos cliques nas variáveis ao invés de digitá-las";

  TForm_modelo(AnovaState& state, TableSource& source, shell::Prompter& prompter)
      : st_(state), source_(source), prompter_(prompter) {}
  std::string_view FormName() const override { return kName; }

  // The run report that receives "Arquivo analisado:".
  void SetReport(shell::Report* report) { report_ = report; }
  void SetHelpOpener(HelpOpener opener) { help_ = std::move(opener); }

  // Showing the window: empty lists, counters and flags.
  void Show();

  // ---- controls ----
  std::string Edit_FV;  // the input box
  const std::vector<std::string>& Lines() const { return st_.LB_Anova; }
  const std::vector<std::string>& Columns() const { return st_.ListBox_Variaveis; }
  const std::string& Hint() const { return hint_; }

  // ---- handlers ----
  void ColumnListFocus(bool focused);
  void SelectColumn(int index);  // appends the name to the input box
  void AbrirArquivo();
  void FecharArquivo();
  void BotaoErro();       // "erro="
  void BotaoAsterisco();  // "*"
  void BotaoAbre();       // "("
  void BotaoFecha();      // ")"
  void Adicionar();
  void Remover(int index);  // 0-based selected line, -1 for none
  void Limpar();
  void Fim();
  void Ajuda();
  void Escape();
  bool CloseQuery() override;

 private:
  void FillColumns();
  AnovaState& st_;
  TableSource& source_;
  shell::Prompter& prompter_;
  shell::Report* report_ = nullptr;
  HelpOpener help_;
  std::string hint_ = kHintLeft;
};

// The name check run before any table is read: every name of every line but the closing
// one must be a column of the model window's list. Shows the message and sets tem_erro
// when it fails; also refuses terms of more than 12 factors.
bool CheckModelNames(AnovaState& st, shell::Prompter& prompter);

}  // namespace tolmex::anova
