#pragma once
// Installs the data-table window in the program: its window and dialogs registered with
// the window host (created at start-up), the main menu's "&Manipular", and the question
// about unsaved edits before the program ends.
namespace tolmex::shell {
class AppState;
namespace ui {
class QtWindowHost;
class TTolmex1;
}  // namespace ui
}  // namespace tolmex::shell

namespace tolmex::data {
class TGraphForm;
namespace ui {

void InstallDataWindows(shell::ui::TTolmex1& mainWindow, shell::AppState& app,
                        shell::ui::QtWindowHost& host, TGraphForm& graphForm);

}  // namespace ui
}  // namespace tolmex::data
