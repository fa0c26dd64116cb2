#pragma once
// The main window TTolmex1 "Tolmex": the main menu and the decorative chart.
//
// Every menu item exists from the start; items whose command is not attached yet are
// disabled. A subsystem attaches its command (which enables the item) with
//
//   mainWindow.SetCommand(MenuCommand::Anava, [&] { RunAnavaChain(app, ...); });
//
// The command runs inside RunCommand: an exception it throws is shown in an error box and the
// program goes back to the main menu. Questions to ask before the program ends (the data
// table's unsaved edits) are added with AppState::AddCloseGuard.
#include <QChartView>
#include <QMainWindow>
#include <functional>
#include <map>

#include "shell/app_state.h"

class QAction;
class QDialog;

namespace tolmex::shell::ui {

class QtWindowHost;

enum class MenuCommand {
  Manipular,                // "Arq&uivo" > "&Manipular"
  Anava,                    // "&Análise" > "&Anava"
  PlanosExperimentais,      // "&Planos experimentais"
  EstimadorKernel,          // "Estimador kernel de &densidades"
  EstatisticasDescritivas,  // "&Estatísticas descritivas"
  ShapiroAplicar,           // "Shapiro &Wilk" > "&Aplicar a uma amostra"
  ShapiroCalcularAi,        // "Shapiro &Wilk" > "&Calcular a(i)"
  ShapiroProbabilidade,     // "Shapiro &Wilk" > "Calcular &probabilidade"
  CalculoProbabilidade,     // "&Cálculo de probabilidade"
  Estimacao,                // "E&stimação"
  TestesHipoteses,          // "&Testes de hipóteses"
  RegressaoLinear,          // "&Regressão linear"
  SelecaoModelos,           // "Se&leção de modelos"
  ComparacoesMultiplas,     // "Comparações múltiplas (bootstrap)"
};

// The chart of the main window: a pie of six coloured slices drawn with depth; a double
// click asks for the background colour.
class DecorativeChart : public QChartView {
  Q_OBJECT
 public:
  DecorativeChart(Prompter& prompter, QWidget* parent = nullptr);
  QColor Background() const;
  void SetBackground(const QColor& c);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  Prompter& prompter_;
};

class TTolmex1 : public QMainWindow {
  Q_OBJECT
 public:
  TTolmex1(AppState& app, QtWindowHost& host, QWidget* parent = nullptr);

  // Attaches the command of a menu item and enables it; an empty function disables it.
  void SetCommand(MenuCommand id, std::function<void()> command);
  QAction* Action(MenuCommand id) const;
  // Any action of the menu bar by its caption ("&Relatório", "&Sobre o Tolmex").
  QAction* FindAction(const QString& caption) const;

  DecorativeChart* chart() const { return chart_; }
  // The about box "About Tolmex" (created on each call; the caller owns it).
  QDialog* CreateAboutBox();
  // Opens the user guide with the desktop's default handler; nothing happens when it is
  // missing. Returns the file opened, or an empty string.
  QString OpenHelp();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  void About();

  AppState& app_;
  QtWindowHost& host_;
  DecorativeChart* chart_ = nullptr;
  std::map<MenuCommand, QAction*> actions_;
  std::map<MenuCommand, std::function<void()>> commands_;
};

}  // namespace tolmex::shell::ui
