// The main window: its menu, commands attached by the subsystems, the chart, closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPieSeries>
#include <QPieSlice>
#include <QTest>
#include <QTextEdit>
#include <stdexcept>

#include "scripted_prompter.h"
#include "shell/app_state.h"
#include "shell/ui/main_window.h"
#include "shell/ui/notarich_window.h"
#include "shell/ui/qt_window_host.h"

namespace tolmex::shell::ui {
namespace {

using testing::ScriptedPrompter;

struct Fixture {
  ScriptedPrompter prompter;
  QtWindowHost host{prompter};
  AppState app{prompter, host};
  TTolmex1 window{app, host};
  Fixture() { host.SetParent(&window); }
  ~Fixture() { NotaRichWindow::SetShuttingDown(false); }
};

// "Menu > Item" paths of every entry of the menu bar.
QStringList MenuPaths(const QList<QAction*>& actions, const QString& prefix) {
  QStringList out;
  for (QAction* a : actions) {
    if (a->isSeparator()) continue;
    const QString path = prefix.isEmpty() ? a->text() : prefix + " > " + a->text();
    out << path;
    if (a->menu()) out << MenuPaths(a->menu()->actions(), path);
  }
  return out;
}

TEST(MainWindow, HasTheWholeMenuWithUnbuiltItemsDisabled) {
  Fixture f;
  EXPECT_EQ(f.window.windowTitle(), QStringLiteral("Tolmex"));
  const QStringList expected = {
      "Arq&uivo", "Arq&uivo > &Manipular", "Arq&uivo > &Sair", "&Análise",
      "&Análise > &Anava", "&Análise > &Planos experimentais",
      "&Análise > Estimador kernel de &densidades", "&Análise > &Estatísticas descritivas",
      "&Análise > Shapiro &Wilk", "&Análise > Shapiro &Wilk > &Aplicar a uma amostra",
      "&Análise > Shapiro &Wilk > &Calcular a(i)",
      "&Análise > Shapiro &Wilk > Calcular &probabilidade",
      "&Análise > &Cálculo de probabilidade", "&Análise > E&stimação",
      "&Análise > &Testes de hipóteses", "&Análise > &Regressão linear",
      "&Análise > Se&leção de modelos", "&Análise > Comparações múltiplas (bootstrap)",
      "&Relatório", "Au&xílio", "Au&xílio > &Conteúdo", "Au&xílio > &Sobre o Tolmex"};
  EXPECT_EQ(MenuPaths(f.window.menuBar()->actions(), {}), expected);
  for (MenuCommand id : {MenuCommand::Manipular, MenuCommand::Anava, MenuCommand::SelecaoModelos,
                         MenuCommand::ComparacoesMultiplas, MenuCommand::ShapiroAplicar})
    EXPECT_FALSE(f.window.Action(id)->isEnabled());
  for (const char* on : {"&Sair", "&Relatório", "&Conteúdo", "&Sobre o Tolmex"})
    EXPECT_TRUE(f.window.FindAction(QString::fromUtf8(on))->isEnabled()) << on;
}

TEST(MainWindow, AttachedCommandsRunAndTheirErrorsAreShown) {
  Fixture f;
  int runs = 0;
  f.window.SetCommand(MenuCommand::Anava, [&] {
    ++runs;
    f.app.NewRunReport();
    if (runs == 2) throw std::runtime_error("O modelo contém erros.");
    f.app.ShowReport(*f.app.CurrentReport);
  });
  QAction* anava = f.window.Action(MenuCommand::Anava);
  EXPECT_TRUE(anava->isEnabled());
  anava->trigger();
  f.prompter.ExpectMessage("O modelo contém erros.", BoxKind::Error);
  anava->trigger();
  anava->trigger();
  EXPECT_EQ(runs, 3);
  const auto& reports = f.app.RunReports();
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_TRUE(f.host.FindReportWindow(*reports[0])->isVisible());
  EXPECT_EQ(f.host.FindReportWindow(*reports[1]), nullptr) << "a failed run shows no report";
  EXPECT_EQ(f.host.FindReportWindow(*reports[2])->windowTitle(),
            QString::fromUtf8("Relatórios em RTF3"));
  f.window.SetCommand(MenuCommand::Anava, {});
  EXPECT_FALSE(anava->isEnabled());
  f.prompter.VerifyDone();
}

TEST(MainWindow, ReportItemShowsTheMainReport) {
  Fixture f;
  f.app.FormNotaRich.AppendText("Regressão\r\n");
  f.window.FindAction(QString::fromUtf8("&Relatório"))->trigger();
  NotaRichWindow* w = f.host.FindReportWindow(f.app.FormNotaRich);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->editor()->toPlainText(), QString::fromUtf8("Regressão\n"));
  f.app.FormNotaRich.Alterado = false;
}

TEST(MainWindow, ChartHasSixSlicesTealTitleAndDoubleClickColour) {
  Fixture f;
  QChart* chart = f.window.chart()->chart();
  EXPECT_EQ(chart->title(), QStringLiteral("Tolmex"));
  EXPECT_EQ(chart->titleBrush().color(), QColor(0, 128, 128));
  EXPECT_FALSE(chart->legend()->isVisible());
  auto* top = qobject_cast<QPieSeries*>(chart->series().back());
  ASSERT_NE(top, nullptr);
  ASSERT_EQ(top->count(), 6);
  const QColor colors[] = {Qt::red, QColor(0, 128, 0), Qt::yellow, QColor(128, 0, 128), Qt::cyan, Qt::white};
  for (int k = 0; k < 6; ++k) {
    QPieSlice* s = top->slices()[k];
    EXPECT_EQ(s->color(), colors[k]) << k;
    EXPECT_EQ(s->label(), QStringLiteral("Prod"));
    EXPECT_FALSE(s->isLabelVisible());
    EXPECT_GE(s->value(), 0.5);
    EXPECT_LT(s->value(), 0.8);
  }
  f.prompter.ExpectColor(Rgb{10, 20, 30});
  f.prompter.ExpectColor(std::nullopt);
  QTest::mouseDClick(f.window.chart()->viewport(), Qt::LeftButton);
  EXPECT_EQ(f.window.chart()->Background(), QColor(10, 20, 30));
  QTest::mouseDClick(f.window.chart()->viewport(), Qt::LeftButton);
  EXPECT_EQ(f.window.chart()->Background(), QColor(10, 20, 30));
  f.prompter.VerifyDone();
}

TEST(MainWindow, AboutBoxShowsNameVersionAndArchitecture) {
  Fixture f;
  std::unique_ptr<QDialog> box(f.window.CreateAboutBox());
  EXPECT_EQ(box->windowTitle(), QStringLiteral("About Tolmex"));
  auto* title = box->findChild<QLabel*>(QStringLiteral("ProductName"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QStringLiteral("Tolmex 6.5.0.0 (64-bit)"));
}

TEST(MainWindow, CloseAsksTheGuardsButNotTheReports) {
  Fixture f;
  f.window.show();
  Report& run = f.app.NewRunReport();
  run.AppendText("não salvo\r\n");
  f.app.ShowReport(run);
  bool allow = false;
  f.app.AddCloseGuard([&] { return allow; });
  EXPECT_FALSE(f.window.close());
  EXPECT_TRUE(f.window.isVisible());
  allow = true;
  EXPECT_TRUE(f.window.close());  // no question about the unsaved run report
  f.prompter.VerifyDone();
}

}  // namespace
}  // namespace tolmex::shell::ui
