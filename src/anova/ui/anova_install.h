#pragma once
// Puts the analysis of variance into the program: registers its windows with the window
// host and attaches the "&Anava" command to the main window.
#include <memory>

namespace tolmex::shell {
class AppState;
}
namespace tolmex::shell::ui {
class QtWindowHost;
class TTolmex1;
}  // namespace tolmex::shell::ui
namespace tolmex::data {
class TGraphForm;
}

namespace tolmex::anova::ui {

class AnovaProgram;

// Creates the analysis-of-variance windows (kept for the whole run) over the data-table
// window `graph`, registers them and enables "&Anava". The returned object must live as
// long as the main window.
std::shared_ptr<AnovaProgram> InstallAnova(shell::ui::TTolmex1& mainWindow, shell::AppState& app,
                                           shell::ui::QtWindowHost& host, data::TGraphForm& graph);

// Registers the windows of the analysis-of-variance forms (by form name).
void RegisterAnovaWindows(shell::ui::QtWindowHost& host);

}  // namespace tolmex::anova::ui
