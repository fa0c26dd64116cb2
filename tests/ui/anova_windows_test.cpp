// The analysis-of-variance windows forward the person's actions to their forms.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "anova/ui/anova_windows.h"
#include "data/data_table.h"
#include "scripted_prompter.h"

namespace tolmex::anova {
namespace {

QPushButton* Button(QWidget& w, const QString& text) {
  for (auto* b : w.findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

class Source : public TableSource {
 public:
  data::DataTable& Table() override { return t; }
  void LoadTable() override {
    t.AddField({"Trat", data::FieldType::ftString, 10});
    t.AddField({"y", data::FieldType::ftFloat});
    t.Open();
  }
  void CloseTable() override { t.Close(); }
  std::string FileName() const override { return "x.fdt"; }
  data::DataTable t;
};

TEST(AnovaWindows, ModelWindowAddsLinesAndFinishes) {
  AnovaState st;
  Source source;
  testing::ScriptedPrompter prompter;
  TForm_modelo form(st, source, prompter);
  form.Show();
  ui::ModelDialog dialog(form, nullptr);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("TABELA DE ANÁLISE DE VARIÂNCIA"));
  Button(dialog, "Abrir arquivo")->click();
  auto lists = dialog.findChildren<QListWidget*>();
  ASSERT_EQ(lists.size(), 2);
  EXPECT_EQ(lists[1]->count(), 2);  // the columns
  auto* edit = dialog.findChild<QLineEdit*>();
  edit->setText("Trat");
  Button(dialog, "Adicionar")->click();
  EXPECT_EQ(form.Lines(), std::vector<std::string>{"Trat"});
  EXPECT_EQ(lists[0]->count(), 1);
  EXPECT_TRUE(edit->text().isEmpty());
  prompter.ExpectYesNo("Quer encerrar o quadro de análise de variância?", shell::Answer::Yes);
  Button(dialog, "Fim")->click();
  prompter.VerifyDone();
  EXPECT_TRUE(st.press_fim);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AnovaWindows, ClosingTheOptionWindowWithoutOkAsksNothing) {
  AnovaState st;
  st.LB_Anova = {"Dose", "Fim"};
  st.nfv = 2;
  st.identifica_FV[1] = kMainEffect;
  testing::ScriptedPrompter prompter;
  testing::ScriptedWindowHost host;
  TForm_VarComp vc(st, prompter);
  TForm_Opcao_FV form(st, prompter, host, vc);
  form.Show(1, 1);
  ui::OptionDialog dialog(form, nullptr);
  dialog.show();
  auto radios = dialog.findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 9);
  EXPECT_EQ(radios[7]->text(), QStringLiteral("Regressão "));
  radios[4]->setChecked(true);
  dialog.findChild<QLineEdit*>()->setText("0.10");
  Button(dialog, "Ok")->click();
  EXPECT_EQ(st.Op_FV[1][1], kLSD);
  EXPECT_DOUBLE_EQ(st.Op_Alpha[1][1], 0.1);
}

TEST(AnovaWindows, RegressionModelDialogStoresTheTickedBoxes) {
  testing::ScriptedPrompter prompter;
  TForm_Reg_OP_Fv form(prompter);
  form.Show();
  ui::RegModelDialog dialog(form, nullptr);
  dialog.show();
  auto boxes = dialog.findChildren<QCheckBox*>();
  ASSERT_EQ(boxes.size(), 24);
  EXPECT_EQ(boxes[23]->text(), QStringLiteral("Exp (X) * SenH (X)"));
  prompter.ExpectMessage("Modelo com mais de 10 parâmetros, ou sem parâmetro!");
  Button(dialog, "Ok")->click();
  EXPECT_TRUE(dialog.isVisible());
  boxes[1]->setChecked(true);
  Button(dialog, "Ok")->click();
  prompter.VerifyDone();
  EXPECT_EQ(form.conta, 1);
  EXPECT_TRUE(form.cb[1]);
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace tolmex::anova
