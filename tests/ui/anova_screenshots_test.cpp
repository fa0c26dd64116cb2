// Pictures of the analysis-of-variance windows for the user guide: the model window with the
// split-plot model, the options dialog and the run report with its table. The pictures are
// written to $TOLMEX_SCREENSHOT_DIR (scripts/screenshots.sh), or to a temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QStandardPaths>
#include <cstdlib>

#include "anova/anova_run.h"
#include "anova/ui/anova_windows.h"
#include "data/data_table.h"
#include "data/table_file.h"
#include "scripted_prompter.h"
#include "shell/report.h"
#include "shell/ui/notarich_window.h"

namespace tolmex::anova {
namespace {

QString OutDir() {
  const char* d = std::getenv("TOLMEX_SCREENSHOT_DIR");
  QString dir = d ? QString::fromLocal8Bit(d) : QDir::tempPath() + "/tolmex-anova-shots";
  QDir().mkpath(dir);
  return dir;
}

std::string Example() {
  const char* src = std::getenv("TOLMEX_SOURCE_DIR");
  return std::string(src ? src : ".") + "/examples/parcela_subdividida_soja.fdt";
}

class FileSource : public TableSource {
 public:
  data::DataTable& Table() override { return t; }
  void LoadTable() override { data::LoadTableFile(Example(), t); }
  void CloseTable() override { t.Close(); }
  std::string FileName() const override { return Example(); }
  data::DataTable t;
};

void Save(QWidget& w, const char* name) {
  w.resize(w.sizeHint().expandedTo(w.size()));
  const QPixmap p = w.grab();
  ASSERT_FALSE(p.isNull());
  EXPECT_TRUE(p.save(OutDir() + "/" + name)) << name;
}

TEST(AnovaScreenshots, ModelOptionsAndReport) {
  AnovaState st;
  FileSource source;
  testing::ScriptedPrompter prompter;
  testing::ScriptedWindowHost host;
  TForm_modelo model(st, source, prompter);
  model.Show();
  model.AbrirArquivo();
  for (const char* l : {"Bloco", "Preparo", "erro=Bloco*Preparo", "Cultivar", "Preparo*Cultivar"}) {
    model.Edit_FV = l;
    model.Adicionar();
  }
  ui::ModelDialog modelWindow(model, nullptr);
  modelWindow.show();
  Save(modelWindow, "anava_modelo.png");

  st.LB_Anova.push_back("Fim");
  st.nfv = static_cast<int>(st.LB_Anova.size());
  st.press_fim = true;
  TForm_VarComp vc(st, prompter);
  TForm_Opcao_FV option(st, prompter, host, vc);
  TForm_Opcoes_ANAVA options(st, prompter, host, option);
  options.Show();
  ui::OptionsDialog optionsWindow(options, nullptr);
  optionsWindow.show();
  Save(optionsWindow, "anava_opcoes.png");

  st.responses = {"Prod"};
  st.nva = 1;
  ASSERT_TRUE(CopyToScratch(st, source.t, prompter));
  shell::Report report;
  AnovaContext ctx{st, source.t, report, prompter};
  RunAnova(ctx);
  ASSERT_NE(report.Text().find("erro 2"), std::string::npos);
  shell::ui::NotaRichWindow reportWindow(report, prompter);
  reportWindow.resize(900, 640);
  reportWindow.show();
  Save(reportWindow, "anava_relatorio_parcela_subdividida.png");
}

}  // namespace
}  // namespace tolmex::anova
