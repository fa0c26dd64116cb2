#pragma once
// Window logic of the contrasts dialog: the person types one coefficient per level; the
// closing buttons check that they are numbers adding up to zero.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "anova/procedures.h"
#include "shell/form.h"

namespace tolmex::shell {
class Prompter;
class WindowHost;
}  // namespace tolmex::shell

namespace tolmex::anova::levels {

class TCont : public shell::Form {
 public:
  explicit TCont(shell::Prompter& prompter) : prompter_(prompter) {}
  std::string_view FormName() const override { return "TCont"; }

  static constexpr const char* kCaption = "Contrastes ";

  // Controls.
  std::vector<std::string> LB_Niveis;  // level labels
  std::vector<std::string> LB_Coef;    // coefficients typed so far, as text
  std::string Ed_coef;
  std::string Lbl_nivel;               // the level whose coefficient is expected next
  int nivelSelecionado = -1;           // selected row of LB_Niveis (-1: none)
  int coefSelecionado = -1;            // selected row of LB_Coef (-1: none)
  bool focoEdCoef = false;             // Ed_coef holds the focus
  std::string Lb1, Lb2, Lb3;
  bool Lb3Visivel = false;

  // State.
  bool finalizou = false;  // the last contrast was closed with "Finalizar"
  bool Ach_erro = false;   // the coefficients of this contrast were rejected
  int Numniv = 0;          // number of levels

  // Handlers.
  void Activate();      // the dialog is shown
  void Acrescentar();   // "Acrescentar", or Enter in Ed_coef
  void Alterar();
  void Limpar();
  void NovoContraste();
  void Finalizar();
  // The window's close button: checked like "Novo contraste". Returns true when the window
  // may close.
  bool CloseQuery();

  // The window was closed by a button (or allowed to close); reset by Activate.
  bool Closed() const { return closed_; }
  // Coefficients of the last check that passed, in level order.
  const std::vector<double>& Coeficientes() const { return coef_; }

 private:
  // True when the coefficients are wrong (the messages are shown here).
  bool ContrasteErrado();
  void SelectLevel(std::size_t i);

  shell::Prompter& prompter_;
  std::vector<double> coef_;
  bool closed_ = false;
};

// The contrasts dialog as the port the contrasts ask: each request shows the dialog
// modally for one contrast.
class TContPort : public ContrastPort {
 public:
  TContPort(TCont& form, shell::WindowHost& host) : form_(form), host_(host) {}
  std::optional<ContrastAnswer> AskContrast(const ContrastRequest& request) override;

 private:
  TCont& form_;
  shell::WindowHost& host_;
};

// A coefficient as typed: the whole text, "." as the decimal separator.
bool ParseCoefficient(std::string_view text, double& value);

}  // namespace tolmex::anova::levels
