#include "data/ui/data_install.h"

#include <QCoreApplication>

#include "data/graph_form.h"
#include "data/ui/graph_window.h"
#include "shell/app_state.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_window_host.h"

namespace tolmex::data::ui {

void InstallDataWindows(shell::ui::TTolmex1& mainWindow, shell::AppState& app,
                        shell::ui::QtWindowHost& host, TGraphForm& graphForm) {
  shell::Prompter& prompter = app.prompter();
  host.Register("TGraphForm", [&prompter](shell::Form& f, QWidget* parent) -> QDialog* {
    return new TGraphFormWindow(static_cast<TGraphForm&>(f), prompter, parent);
  });
  host.Register("TField_Del", [](shell::Form& f, QWidget* parent) -> QDialog* {
    return new TField_DelDialog(static_cast<TField_Del&>(f), parent);
  });
  host.Register("TForm_nomes", [](shell::Form& f, QWidget* parent) -> QDialog* {
    return new TForm_nomesDialog(static_cast<TForm_nomes&>(f), parent);
  });
  graphForm.ExeDir = QCoreApplication::applicationDirPath().toStdString();
  // Every window is created once at start-up.
  host.CreateWindow(graphForm);
  host.CreateWindow(graphForm.Field_Del);
  host.CreateWindow(graphForm.Form_nomes);
  mainWindow.SetCommand(shell::ui::MenuCommand::Manipular,
                        [&host, &graphForm] { host.ShowModal(graphForm); });
  app.AddCloseGuard([&graphForm] { return graphForm.ConfirmDiscardEdits(); });
}

}  // namespace tolmex::data::ui
