#include "shell/chains/anova_chain.h"

#include "anova/anova_run.h"
#include "data/data_table.h"
#include "shell/prompter.h"
#include "shell/report.h"
#include "shell/window_host.h"

namespace tolmex::chains {

AnovaWindows::AnovaWindows(anova::TableSource& source, shell::Prompter& prompter,
                           shell::WindowHost& host)
    : modelo(state, source, prompter),
      varComp(state, prompter),
      opcao(state, prompter, host, varComp),
      opcoes(state, prompter, host, opcao),
      regressao(prompter),
      variaveis(state, source.Table(), prompter),
      opcaoTransf(state),
      transf(state, prompter, host, opcaoTransf) {}

namespace {
// Restores the cursor and the grid whatever happens in the computation.
struct BusyGuard {
  BusyGuard(shell::WindowHost& h, data::DataTable& t) : host(h), table(t) {
    table.DisableControls();
    host.SetBusy(true);
  }
  ~BusyGuard() {
    host.SetBusy(false);
    table.EnableControls();
  }
  shell::WindowHost& host;
  data::DataTable& table;
};
}  // namespace

void RunAnovaChain(AnovaWindows& w, AnovaChainPorts& ports) {
  anova::AnovaState& st = w.state;
  ports.mainReport.ClearText();
  shell::Report& run = ports.newRunReport();

  w.modelo.SetReport(&run);
  w.modelo.Show();
  ports.host.ShowModal(w.modelo);
  if (!st.press_fim) st.tem_erro = true;  // the model was not finished
  if (!st.tem_erro) {
    w.opcoes.Show();
    ports.host.ShowModal(w.opcoes);
  }
  if (!st.tem_erro) anova::AskRegressionModels(st, ports.host, w.regressao);
  if (!st.tem_erro) {
    w.variaveis.Show();
    ports.host.ShowModal(w.variaveis);
  }
  if (!st.tem_erro) {
    w.transf.Show();
    ports.host.ShowModal(w.transf);
  }
  if (st.tem_erro) return;

  data::DataTable& table = ports.source.Table();
  {
    BusyGuard busy(ports.host, table);
    try {
      if (anova::CopyToScratch(st, table, ports.prompter) && !st.tem_erro) {
        anova::AnovaContext ctx{st, table, run, ports.prompter, &ports.host, ports.contrasts,
                                ports.procedures ? ports.procedures : anova::DefaultProcedures()};
        anova::RunAnova(ctx);
      }
    } catch (...) {
      st.aq_tab1.Clear();
      throw;
    }
    st.aq_tab1.Clear();  // the scratch table lives in memory only: nothing to delete
  }
  ports.host.ShowReport(run);
}

}  // namespace tolmex::chains
