// The data-table window installed in the program: "&Manipular", its windows created at
// start-up, and the question about unsaved edits before the program ends.
#include <gtest/gtest.h>

#include <QAction>

#include "data/graph_form.h"
#include "data/ui/data_install.h"
#include "data/ui/graph_window.h"
#include "scripted_prompter.h"
#include "shell/app_state.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_window_host.h"

using namespace tolmex;

TEST(DataInstall, ManipularWindowsAndCloseGuard) {
  tolmex::testing::ScriptedPrompter prompter;
  shell::ui::QtWindowHost host(prompter);
  shell::AppState app(prompter, host);
  shell::ui::TTolmex1 mainWindow(app, host);
  host.SetParent(&mainWindow);
  data::TGraphForm graph(prompter, host);
  data::ui::InstallDataWindows(mainWindow, app, host, graph);

  EXPECT_TRUE(mainWindow.Action(shell::ui::MenuCommand::Manipular)->isEnabled());
  EXPECT_NE(dynamic_cast<data::ui::TGraphFormWindow*>(host.WindowOf(graph)), nullptr);
  EXPECT_NE(dynamic_cast<data::ui::TField_DelDialog*>(host.WindowOf(graph.Field_Del)), nullptr);
  EXPECT_NE(dynamic_cast<data::ui::TForm_nomesDialog*>(host.WindowOf(graph.Form_nomes)), nullptr);
  EXPECT_FALSE(graph.ExeDir.empty());

  // No table: the program ends without a question.
  EXPECT_TRUE(app.CanCloseMainWindow());
  // Edits never saved: the data-table window's question; Cancel keeps the program.
  graph.Table1.AddField({"X", data::FieldType::ftFloat});
  graph.Table1.Open();
  graph.Table1.SetFloat(graph.Table1.AppendRow(), 0, 1);
  prompter.ExpectYesNoCancel(data::kCloseQuestion, shell::Answer::Cancel);
  EXPECT_FALSE(app.CanCloseMainWindow());
  prompter.ExpectYesNoCancel(data::kCloseQuestion, shell::Answer::No);
  EXPECT_TRUE(app.CanCloseMainWindow());
}
