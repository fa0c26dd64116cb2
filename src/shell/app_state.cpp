#include "shell/app_state.h"

#include <exception>
#include <filesystem>
#include <new>

namespace tolmex::shell {

Report& AppState::NewRunReport(bool setFontSize8) {
  ++Count;
  auto report = std::make_unique<Report>();
  report->caption = std::string(kReportCaption) + std::to_string(Count);
  report->ClearText();
  if (setFontSize8) report->fontSize = 8;
  CurrentReport = report.get();
  runReports_.push_back(std::move(report));
  return *CurrentReport;
}

void AppState::TransferMainReport() {
  Report& target = CurrentReport ? *CurrentReport : FormNotaRich;
  if (&target != &FormNotaRich) {
    target.AppendText(FormNotaRich.Text());
    FormNotaRich.ClearText();
  }
  host_.ShowReport(target);
}

bool AppState::CanCloseMainWindow() {
  for (auto& guard : closeGuards_)
    if (guard && !guard()) return false;
  return true;
}

bool RunCommand(Prompter& prompter, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::bad_alloc&) {
    prompter.Error("Memória insuficiente para concluir a operação.");
  } catch (const std::exception& e) {
    prompter.Error(e.what());
  } catch (...) {
    prompter.Error("Erro inesperado.");
  }
  return false;
}

std::string AboutTitle(const std::string& version) {
  return "Tolmex " + (version.empty() ? std::string("6.5.0.0") : version) + " (64-bit)";
}

std::string FindUserGuide(const std::string& executableDir, const std::string& sourceDir) {
  namespace fs = std::filesystem;
  const fs::path rel = fs::path("docs") / "guia" / "index.html";
  std::vector<fs::path> candidates;
  if (!executableDir.empty()) {
    candidates.push_back(fs::path(executableDir) / rel);
    candidates.push_back(fs::path(executableDir) / ".." / "share" / "tolmex" / rel);
  }
  if (!sourceDir.empty()) candidates.push_back(fs::path(sourceDir) / rel);
  for (const auto& c : candidates) {
    std::error_code ec;
    if (fs::is_regular_file(c, ec)) return fs::weakly_canonical(c, ec).string();
  }
  return {};
}

}  // namespace tolmex::shell
