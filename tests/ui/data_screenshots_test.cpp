// Picture of the data-table window with the randomised-blocks example open, for the user
// guide. Written to $TOLMEX_SCREENSHOT_DIR (scripts/screenshots.sh), or a temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <cstdlib>

#include "data/graph_form.h"
#include "data/ui/graph_window.h"
#include "scripted_prompter.h"
#include "shell/number_locale.h"

using namespace tolmex;

TEST(DataScreenshots, TableOpen) {
  const char* d = std::getenv("TOLMEX_SCREENSHOT_DIR");
  const QString dir = d ? QString::fromLocal8Bit(d) : QDir::tempPath() + "/tolmex-data-shots";
  QDir().mkpath(dir);
  const char* src = std::getenv("TOLMEX_SOURCE_DIR");
  const std::string example = std::string(src ? src : ".") + "/examples/dbc_milho.fdt";

  shell::SetCurrentNumberLocale(shell::NumberLocale::Comma());
  tolmex::testing::ScriptedPrompter prompter;
  tolmex::testing::ScriptedWindowHost host;
  data::TGraphForm form(prompter, host);
  data::ui::TGraphFormWindow w(form, prompter);
  w.resize(720, 480);
  w.show();
  prompter.ExpectOpenFile(shell::FileDialogResult{example, 1});
  form.Abrir1Click();
  ASSERT_TRUE(form.Table1.Active());
  w.grid()->setCurrentIndex(w.model()->index(4, 2));
  const QPixmap p = w.grab();
  ASSERT_FALSE(p.isNull());
  EXPECT_TRUE(p.save(dir + "/tabela_dados.png"));
  shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
}
