#include "shell/app_state.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "scripted_prompter.h"
#include "temp_dir.h"

namespace tolmex::shell {
namespace {

using testing::ScriptedPrompter;
using testing::ScriptedWindowHost;

TEST(AppState, RunReportsAreNumberedAndKept) {
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  AppState app(prompter, host);
  EXPECT_EQ(app.CurrentReport, nullptr);
  Report& first = app.NewRunReport();
  Report& second = app.NewRunReport(/*setFontSize8=*/false);
  Report& third = app.NewRunReport();
  EXPECT_EQ(app.Count, 3);
  EXPECT_EQ(first.caption, "Relatórios em RTF1");
  EXPECT_EQ(third.caption, "Relatórios em RTF3");
  EXPECT_EQ(first.fontSize, 8);
  EXPECT_EQ(second.fontSize, 10);
  EXPECT_EQ(app.CurrentReport, &third);
  ASSERT_EQ(app.RunReports().size(), 3u);
  EXPECT_EQ(app.RunReports()[1].get(), &second);
  EXPECT_TRUE(first.Text().empty());
  EXPECT_FALSE(first.Alterado);
  EXPECT_TRUE(host.shownReports.empty());
}

TEST(AppState, TransferMovesTheMainReportIntoTheRunReportAndShowsIt) {
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  AppState app(prompter, host);
  Report& run = app.NewRunReport();
  run.AppendText("cabeçalho\r\n");
  app.FormNotaRich.AppendText("resultado\r\n");
  app.TransferMainReport();
  EXPECT_EQ(run.Text(), "cabeçalho\r\nresultado\r\n");
  EXPECT_EQ(app.FormNotaRich.Text(), "");
  ASSERT_EQ(host.shownReports.size(), 1u);
  EXPECT_EQ(host.shownReports[0], &run);
}

TEST(AppState, CloseGuardsCanKeepTheProgramRunning) {
  ScriptedPrompter prompter;
  ScriptedWindowHost host;
  AppState app(prompter, host);
  EXPECT_TRUE(app.CanCloseMainWindow());
  int asked = 0;
  bool allow = false;
  app.AddCloseGuard([&] {
    ++asked;
    return allow;
  });
  EXPECT_FALSE(app.CanCloseMainWindow());
  allow = true;
  EXPECT_TRUE(app.CanCloseMainWindow());
  EXPECT_EQ(asked, 2);
}

TEST(RunCommand, AnEscapingErrorIsShownWithItsText) {
  ScriptedPrompter prompter;
  prompter.ExpectMessage("Arquivo não encontrado: dados.fdt", BoxKind::Error);
  prompter.ExpectMessage("Erro inesperado.", BoxKind::Error);
  EXPECT_FALSE(RunCommand(prompter, [] { throw std::runtime_error("Arquivo não encontrado: dados.fdt"); }));
  EXPECT_FALSE(RunCommand(prompter, [] { throw 42; }));
  bool ran = false;
  EXPECT_TRUE(RunCommand(prompter, [&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST(About, TitleCarriesVersionAndArchitecture) {
  EXPECT_EQ(AboutTitle("6.5.0.0"), "Tolmex 6.5.0.0 (64-bit)");
  EXPECT_EQ(AboutTitle("7.1.2.3"), "Tolmex 7.1.2.3 (64-bit)");
  EXPECT_EQ(AboutTitle(""), "Tolmex 6.5.0.0 (64-bit)");
}

TEST(UserGuide, FoundBesideTheExecutableThenInTheSourceFolder) {
  testing::TempDir exe, src;
  EXPECT_EQ(FindUserGuide(exe.path().string(), src.path().string()), "");
  std::filesystem::create_directories(src.path() / "docs" / "guia");
  std::ofstream(src.path() / "docs" / "guia" / "index.html") << "<html></html>";
  const std::string fromSource = FindUserGuide(exe.path().string(), src.path().string());
  EXPECT_NE(fromSource.find(src.path().string()), std::string::npos);
  std::filesystem::create_directories(exe.path() / "docs" / "guia");
  std::ofstream(exe.path() / "docs" / "guia" / "index.html") << "<html></html>";
  const std::string beside = FindUserGuide(exe.path().string(), src.path().string());
  EXPECT_NE(beside.find(exe.path().string()), std::string::npos);
}

}  // namespace
}  // namespace tolmex::shell
