#pragma once
// The state of the main window TTolmex1 that command chains share: the run counter `Count`,
// the run report `CurrentReport`, the main report `FormNotaRich`, and the ports.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/prompter.h"
#include "shell/report.h"
#include "shell/window_host.h"

namespace tolmex::shell {

class AppState {
 public:
  AppState(Prompter& prompter, WindowHost& host) : prompter_(prompter), host_(host) {}
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  Prompter& prompter() { return prompter_; }
  WindowHost& host() { return host_; }

  // Run reports created so far; gives each run report its number.
  std::int32_t Count = 0;
  // The run report of the command now running (null before the first one).
  Report* CurrentReport = nullptr;
  // The main report, one for the whole program.
  Report FormNotaRich;

  // Creates the next run report, captioned "Relatórios em RTF" + Count, empty, and makes it
  // the CurrentReport. `setFontSize8` false keeps the window's default font size (the
  // descriptive statistics).
  Report& NewRunReport(bool setFontSize8 = true);

  // Appends the main report's text to CurrentReport, empties the main report and shows
  // CurrentReport without blocking. Without a run report, shows the main report instead.
  void TransferMainReport();

  void ShowReport(Report& report) { host_.ShowReport(report); }
  void ShowReportModal(Report& report) { host_.ShowReportModal(report); }

  // Run reports in creation order; they live until the program ends.
  const std::deque<std::unique_ptr<Report>>& RunReports() const { return runReports_; }

  // Questions asked before the main window closes (e.g. the data table's unsaved edits).
  // Each returns false to keep the program running.
  void AddCloseGuard(std::function<bool()> guard) { closeGuards_.push_back(std::move(guard)); }
  bool CanCloseMainWindow();

 private:
  Prompter& prompter_;
  WindowHost& host_;
  std::deque<std::unique_ptr<Report>> runReports_;
  std::vector<std::function<bool()>> closeGuards_;
};

// Runs one command of a menu. An exception escaping from it is shown in an error box with
// its text and does not go further; returns false then.
bool RunCommand(Prompter& prompter, const std::function<void()>& command);

// "Tolmex " + version + " (64-bit)"; an empty version gives "6.5.0.0".
std::string AboutTitle(const std::string& version);

// The user guide's first page: docs/guia/index.html beside the executable, in
// ../share/tolmex/ above it, or in the source folder; empty when none exists.
std::string FindUserGuide(const std::string& executableDir, const std::string& sourceDir);

}  // namespace tolmex::shell
