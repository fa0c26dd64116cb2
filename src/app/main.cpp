// Tolmex: the GUI entry. Creates the main window first, then every other window once, and
// runs the event loop until the main window closes.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

#include "anova/ui/anova_install.h"
#include "data/graph_form.h"
#include "data/ui/data_install.h"
#include "shell/app_state.h"
#include "shell/ui/main_window.h"
#include "shell/ui/notarich_window.h"
#include "shell/ui/qt_prompter.h"
#include "shell/ui/qt_window_host.h"

using namespace tolmex::shell;

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  // Qt sets the C locale from the environment; the core parses and prints numbers itself
  // and must always see "." in the C library.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Tolmex"));
  QApplication::setApplicationDisplayName(QStringLiteral("Tolmex"));
  QApplication::setApplicationVersion(QStringLiteral(TOLMEX_VERSION));
  // Qt's own dialogs (file, colour, font) in Portuguese when the translations are installed.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);
  // The main window is closed explicitly; report windows left open do not keep the program.
  QApplication::setQuitOnLastWindowClosed(false);

  ui::QtPrompter prompter;
  ui::QtWindowHost host(prompter);
  AppState app(prompter, host);

  ui::TTolmex1 mainWindow(app, host);
  prompter = ui::QtPrompter(&mainWindow);
  host.SetParent(&mainWindow);

  // The other windows, created once. The main report first.
  host.ReportWindow(app.FormNotaRich);

  // Menu commands of the subsystems are attached here, e.g.
  //   mainWindow.SetCommand(ui::MenuCommand::Anava, [&] { ... });
  // The data-table window holds the one table the procedures read.
  tolmex::data::TGraphForm graphForm(prompter, host);
  tolmex::data::ui::InstallDataWindows(mainWindow, app, host, graphForm);
  const auto anova = tolmex::anova::ui::InstallAnova(mainWindow, app, host, graphForm);

  mainWindow.show();
  const int rc = QApplication::exec();
  ui::NotaRichWindow::SetShuttingDown(true);
  return rc;
}
