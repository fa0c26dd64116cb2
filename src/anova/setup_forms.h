#pragma once
// The run set-up dialogs of an analysis of variance: options per source of variation, the
// option window, complex variances, the regression-model dialog, responses and
// transformations.
#include <array>
#include <string>
#include <vector>

#include "anova/anova_state.h"
#include "anova/form_base.h"

namespace tolmex::data {
class DataTable;
}
namespace tolmex::shell {
class Prompter;
class WindowHost;
}  // namespace tolmex::shell

namespace tolmex::anova {

inline constexpr std::array<const char*, 9> kOptionCaptions = {
    "Nenhum teste",  "Teste Tukey",   "Teste SNK",  "Teste de t de Bonferroni", "Teste t (LSD)",
    "Scott & Knott", "Contrastes",    "Regressão ", "Waller Duncan"};

// Complex-variance window "Variâncias complexas".
class TForm_VarComp : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_VarComp";
  TForm_VarComp(AnovaState& st, shell::Prompter& p) : st_(st), prompter_(p) {}
  std::string_view FormName() const override { return kName; }
  void Show(int fv, int slot);
  std::string ErrosLabel() const;  // "Número de erros da TABELA de ANAVA é: " + num_erros
  std::string Ed_b, Ed_k, Ed_QMEa, Ed_QMEb;
  void Ok();
  bool Accepted() const { return accepted_; }

 private:
  AnovaState& st_;
  shell::Prompter& prompter_;
  int fv_ = 0, slot_ = 0;
  bool accepted_ = false;
};

// Option window "Escolha a opção da fonte de variação selecionada".
class TForm_Opcao_FV : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_Opcao_FV";
  TForm_Opcao_FV(AnovaState& st, shell::Prompter& p, shell::WindowHost& host, TForm_VarComp& vc)
      : st_(st), prompter_(p), host_(host), varComp_(vc) {}
  std::string_view FormName() const override { return kName; }
  // Prepares the window for slot `slot` of line fv (asks about complex variances).
  void Show(int fv, int slot);

  std::string Label() const { return label_; }
  bool ShowsFactors() const { return showFactors_; }
  const std::vector<std::string>& Factors() const { return factors_; }
  int Opcao = 0;                  // selected radio button, 0..8 (kept between uses)
  std::string Ed_alpha = "0.05";  // kept between uses
  int FatorSelecionado = -1;      // 0-based selection in the factor list
  void Ok();

 private:
  AnovaState& st_;
  shell::Prompter& prompter_;
  shell::WindowHost& host_;
  TForm_VarComp& varComp_;
  int fv_ = 0, slot_ = 0;
  std::string label_;
  bool showFactors_ = false;
  std::vector<std::string> factors_;
};

// Options dialog "Opções do quadro da análise de variância".
class TForm_Opcoes_ANAVA : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_Opcoes_ANAVA";
  TForm_Opcoes_ANAVA(AnovaState& st, shell::Prompter& p, shell::WindowHost& host,
                     TForm_Opcao_FV& option)
      : st_(st), prompter_(p), host_(host), option_(option) {}
  std::string_view FormName() const override { return kName; }
  void SetHelpOpener(HelpOpener h) { help_ = std::move(h); }
  void Show();
  const std::vector<std::string>& Lines() const { return lines_; }
  // A click on line i (0-based in the list, FV i + 1).
  void ClickLine(int index);
  void Ok() { Close(); }
  void Ajuda() {
    if (help_) help_(kAnovaHelpFile);
  }
  bool CloseQuery() override { return false; }  // no close box: only "Ok"

 private:
  AnovaState& st_;
  shell::Prompter& prompter_;
  shell::WindowHost& host_;
  TForm_Opcao_FV& option_;
  HelpOpener help_;
  std::vector<std::string> lines_;
};

// Regression-model dialog "Modelos de Regressão": 1 to 10 of the 24 terms.
class TForm_Reg_OP_Fv : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_Reg_OP_Fv";
  static const std::array<const char*, 24> kCaptions;
  explicit TForm_Reg_OP_Fv(shell::Prompter& p) : prompter_(p) {}
  std::string_view FormName() const override { return kName; }
  std::string Lb1 = "Nome da FV";
  std::string Lb2 = "Número da opção";
  std::array<bool, 24> cb{};  // cb[0] is box cb1 (code 1)
  int conta = 0;
  // Activation clears every box.
  void Show();
  void Ok();
  bool Accepted() const { return accepted_; }

 private:
  shell::Prompter& prompter_;
  bool accepted_ = false;
};

// Asks the regression models of every slot with option 7 and stores them in Op_Reg.
// A dialog closed without "Ok" turns its slot into "Nenhum teste".
void AskRegressionModels(AnovaState& st, shell::WindowHost& host, TForm_Reg_OP_Fv& dialog);

// Responses dialog "Variáveis a serem analisadas".
class TForm_Variaveis : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_Variaveis";
  TForm_Variaveis(AnovaState& st, const data::DataTable& table, shell::Prompter& p)
      : st_(st), table_(table), prompter_(p) {}
  std::string_view FormName() const override { return kName; }
  void Show();
  const std::vector<std::string>& Columns() const { return columns_; }
  const std::vector<std::string>& Chosen() const { return st_.responses; }
  std::string Counter() const;  // "N. variáveis: " + nva
  void ClickColumn(int index);
  void Remover(int index);  // 0-based in the chosen list
  void Finalizar();
  bool CloseQuery() override;

 private:
  AnovaState& st_;
  const data::DataTable& table_;
  shell::Prompter& prompter_;
  std::vector<std::string> columns_;
  bool finished_ = false;
};

// Transformation window "Opções de transformação".
class TForm_Opcao_Transf : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_Opcao_Transf";
  // Radio buttons in window order and their codes.
  static constexpr std::array<const char*, 6> kCaptions = {
      "X^0.5", "( X + 0.5 )^0.5", "( X + 1 )^0.5", "Log( X)", "Ln (X)", "Nenhuma"};
  static constexpr std::array<int, 6> kCodes = {1, 2, 3, 4, 5, 0};
  explicit TForm_Opcao_Transf(AnovaState& st) : st_(st) {}
  std::string_view FormName() const override { return kName; }
  void Show(int v);
  std::string Label() const { return label_; }
  int Codigo = 0;  // code of the selected button, "Nenhuma" initially
  void Ok();

 private:
  AnovaState& st_;
  int v_ = 0;
  std::string label_;
};

// Transformations dialog "Se desejar, escolha a transformação que lhe convier".
class TForm_Transf : public ClosableForm {
 public:
  static constexpr const char* kName = "TForm_Transf";
  TForm_Transf(AnovaState& st, shell::Prompter& p, shell::WindowHost& host,
               TForm_Opcao_Transf& window)
      : st_(st), prompter_(p), host_(host), window_(window) {}
  std::string_view FormName() const override { return kName; }
  void Show();
  const std::vector<std::string>& Responses() const { return st_.responses; }
  const std::string& Status() const { return status_; }
  void MouseOverList(bool overList);
  void ClickResponse(int index);  // 0-based
  void Finalizar() { Close(); }

 private:
  AnovaState& st_;
  shell::Prompter& prompter_;
  shell::WindowHost& host_;
  TForm_Opcao_Transf& window_;
  std::string status_;
};

}  // namespace tolmex::anova
