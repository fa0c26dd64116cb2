// Renders the program's windows offscreen to PNG files (scripts/screenshots.sh): the main
// window and a report window holding a report as an analysis writes it.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextEdit>
#include <clocale>
#include <cstdio>

#include "shell/app_state.h"
#include "shell/format.h"
#include "shell/text_utils.h"
#include "shell/ui/main_window.h"
#include "shell/ui/notarich_window.h"
#include "shell/ui/qt_prompter.h"
#include "shell/ui/qt_window_host.h"

using namespace tolmex::shell;

namespace {

void Save(QWidget& w, const QString& dir, const char* name) {
  QApplication::processEvents();
  const QString path = dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
  if (!w.grab().save(path)) std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(path));
  else std::printf("%s\n", qPrintable(path));
}

std::string ReportText() {
  const std::string rule(80, '-');
  std::string s;
  s += "Arquivo analisado:\r\n";
  s += "/home/usuario/ensaios/milho_blocos.fdt\r\n\r\n";
  s += rule + "\r\n";
  s += "Variável analisada: PRODUÇÃO\r\n\r\n";
  s += "Opção de transformação: Variável sem transformação ( Y )\r\n";
  s += rule + "\r\n\r\n";
  s += "TABELA DE ANÁLISE DE VARIÂNCIA\r\n";
  s += rule + "\r\n";
  s += "FV                GL                 SQ                 QM        Fc  Pr>Fc\r\n";
  s += rule + "\r\n";
  struct Row { const char* fv; int gl; double sq; };
  const Row rows[] = {{"BLOCO", 3, 1.904583}, {"HIBRIDO", 4, 12.614830}, {"erro", 12, 3.118270}};
  const double qmErro = 3.118270 / 12;
  for (const auto& r : rows) {
    std::string fv = r.fv;
    fv.resize(12, ' ');
    s += fv + FormatInt(r.gl, 8) + FormatFixed(r.sq, 19, 6) + FormatFixed(r.sq / r.gl, 19, 6);
    if (std::string(r.fv) != "erro") {
      const double f = (r.sq / r.gl) / qmErro;
      s += FormatFixed(f, 10, 3) + (f > 10 ? "  0.0001" : "  0.0573");
    }
    s += "\r\n";
  }
  s += rule + "\r\n";
  s += "Total corrigido          19          17.637683\r\n";
  s += rule + "\r\n";
  s += "CV (%) =               7.34\r\n";
  s += "Média geral:          6.9470000      Número de observações:           20\r\n";
  s += rule + "\r\n\r\n";
  s += "Teste Tukey para a FV HIBRIDO\r\n";
  s += rule + "\r\n";
  s += "DMS: 1.150 NMS: 0.05\r\n";
  s += rule + "\r\n";
  s += "Média harmônica do número de repetições (r): 4\r\n";
  s += "Erro padrão: 0.255\r\n";
  s += rule + "\r\n";
  s += "Tratamentos                             Médias           Resultados do teste\r\n";
  s += rule + "\r\n";
  const char* names[] = {"AG-122", "BR-201", "Cargill-901", "Pioneer-3232", "Híbrido Nacional"};
  const double means[] = {5.8125, 6.4300, 7.0350, 7.4750, 7.9825};
  const char* groups[] = {"a1", "a1 a2", "a2 a3", "a3", "a3"};
  for (int k = 0; k < 5; ++k) {
    std::string n = names[k];
    while (Utf8Length(n) < 34) n += ' ';
    s += n + FormatFixed(means[k], 12, 6) + "   " + groups[k] + "\r\n";
  }
  s += rule + "\r\n";
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Tolmex"));
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
  QDir().mkpath(dir);

  ui::QtPrompter prompter;
  ui::QtWindowHost host(prompter);
  AppState app(prompter, host);
  ui::TTolmex1 mainWindow(app, host);
  host.SetParent(&mainWindow);
  mainWindow.resize(800, 600);
  mainWindow.show();
  Save(mainWindow, dir, "main_window");

  Report& run = app.NewRunReport();
  run.AppendText(ReportText());
  app.ShowReport(run);
  ui::NotaRichWindow& w = host.ReportWindow(run);
  w.showNormal();
  w.resize(1000, 700);
  Save(w, dir, "report_window");

  run.Alterado = false;
  ui::NotaRichWindow::SetShuttingDown(true);
  return 0;
}
