#include "anova/ui/anova_install.h"

#include <QDesktopServices>
#include <QUrl>

#include "anova/levels/contrast_form.h"
#include "anova/ui/anova_windows.h"
#include "anova/ui/contrast_dialog.h"
#include "data/graph_form.h"
#include "shell/app_state.h"
#include "shell/chains/anova_chain.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_window_host.h"

namespace tolmex::anova::ui {

namespace {
// The program's data table as the model window sees it.
class GraphTableSource : public TableSource {
 public:
  explicit GraphTableSource(data::TGraphForm& g) : g_(g) {}
  data::DataTable& Table() override { return g_.Table1; }
  void LoadTable() override { g_.LoadTable(); }
  // Through the form, so the grid's columns and status bar follow at once.
  void CloseTable() override {
    if (g_.Table1.Active()) g_.CloseTable();
  }
  std::string FileName() const override { return g_.FCurrentFileName; }

 private:
  data::TGraphForm& g_;
};

template <typename FormT, typename DialogT>
void Reg(shell::ui::QtWindowHost& host) {
  host.Register(FormT::kName, [](shell::Form& f, QWidget* parent) -> QDialog* {
    return new DialogT(static_cast<FormT&>(f), parent);
  });
}

void OpenHelp(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}
}  // namespace

class AnovaProgram {
 public:
  AnovaProgram(shell::AppState& app, shell::ui::QtWindowHost& host, data::TGraphForm& graph)
      : source(graph), windows(source, app.prompter(), host), cont(app.prompter()), contPort(cont, host) {}
  GraphTableSource source;
  chains::AnovaWindows windows;
  levels::TCont cont;
  levels::TContPort contPort;
};

void RegisterAnovaWindows(shell::ui::QtWindowHost& host) {
  Reg<TForm_modelo, ModelDialog>(host);
  Reg<TForm_Opcoes_ANAVA, OptionsDialog>(host);
  Reg<TForm_Opcao_FV, OptionDialog>(host);
  Reg<TForm_VarComp, VarCompDialog>(host);
  Reg<TForm_Reg_OP_Fv, RegModelDialog>(host);
  Reg<TForm_Variaveis, ResponsesDialog>(host);
  Reg<TForm_Transf, TransfDialog>(host);
  Reg<TForm_Opcao_Transf, TransfOptionDialog>(host);
  if (!host.IsRegistered("TCont"))
    host.Register("TCont", [](shell::Form& f, QWidget* parent) -> QDialog* {
      return new ContrastDialog(static_cast<levels::TCont&>(f), parent);
    });
}

std::shared_ptr<AnovaProgram> InstallAnova(shell::ui::TTolmex1& mainWindow, shell::AppState& app,
                                           shell::ui::QtWindowHost& host, data::TGraphForm& graph) {
  RegisterAnovaWindows(host);
  auto program = std::make_shared<AnovaProgram>(app, host, graph);
  program->windows.modelo.SetHelpOpener(OpenHelp);
  program->windows.opcoes.SetHelpOpener(OpenHelp);
  AnovaProgram* p = program.get();
  mainWindow.SetCommand(shell::ui::MenuCommand::Anava, [p, &app, &host] {
    chains::AnovaChainPorts ports{app.prompter(), host, p->source, app.FormNotaRich,
                                  [&app]() -> shell::Report& { return app.NewRunReport(); },
                                  &p->contPort};
    chains::RunAnovaChain(p->windows, ports);
  });
  return program;
}

}  // namespace tolmex::anova::ui
