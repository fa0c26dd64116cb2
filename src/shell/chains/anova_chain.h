#pragma once
// The "&Anava" command: the model window, the options of every source, the regression
// models, the responses and the transformations, then the computation into a new run
// report, which is shown at the end. Runs over the WindowHost and the Prompter, so the
// whole chain runs in a test with a scripted user.
#include <functional>

#include "anova/anova_state.h"
#include "anova/model_form.h"
#include "anova/procedures.h"
#include "anova/setup_forms.h"

namespace tolmex::shell {
class Prompter;
class Report;
class WindowHost;
}  // namespace tolmex::shell

namespace tolmex::chains {

// The windows of the analysis of variance, created once and kept between runs, with the
// state they share.
struct AnovaWindows {
  AnovaWindows(anova::TableSource& source, shell::Prompter& prompter, shell::WindowHost& host);
  anova::AnovaState state;
  anova::TForm_modelo modelo;
  anova::TForm_VarComp varComp;
  anova::TForm_Opcao_FV opcao;
  anova::TForm_Opcoes_ANAVA opcoes;
  anova::TForm_Reg_OP_Fv regressao;
  anova::TForm_Variaveis variaveis;
  anova::TForm_Opcao_Transf opcaoTransf;
  anova::TForm_Transf transf;
};

struct AnovaChainPorts {
  shell::Prompter& prompter;
  shell::WindowHost& host;
  anova::TableSource& source;
  shell::Report& mainReport;
  // Creates the run report of this command (numbered, 8 points) and makes it current.
  std::function<shell::Report&()> newRunReport;
  anova::ContrastPort* contrasts = nullptr;
  // The procedures after each table; DefaultProcedures() when empty.
  anova::TestesMediasFn procedures;
};

// Runs the chain. Errors escaping the computation are rethrown after the wait cursor and
// the grid updates are restored; the run report is then not shown.
void RunAnovaChain(AnovaWindows& windows, AnovaChainPorts& ports);

}  // namespace tolmex::chains
