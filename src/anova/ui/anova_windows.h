#pragma once
// The windows of the analysis-of-variance set-up.
#include <array>

#include "anova/model_form.h"
#include "anova/setup_forms.h"
#include "anova/ui/anova_dialogs.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tolmex::anova::ui {

class ModelDialog : public AnovaDialog {
 public:
  ModelDialog(TForm_modelo& form, QWidget* parent);

 protected:
  void Refresh() override;
  bool eventFilter(QObject* o, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Pull();
  TForm_modelo& f_;
  QLineEdit* edit_;
  QListWidget* lines_;
  QListWidget* columns_;
  QLabel* hint_;
};

class OptionsDialog : public AnovaDialog {
 public:
  OptionsDialog(TForm_Opcoes_ANAVA& form, QWidget* parent);

 protected:
  void Refresh() override;

 private:
  TForm_Opcoes_ANAVA& f_;
  QListWidget* list_;
};

class OptionDialog : public AnovaDialog {
 public:
  OptionDialog(TForm_Opcao_FV& form, QWidget* parent);

 protected:
  void Refresh() override;

 private:
  TForm_Opcao_FV& f_;
  QLabel* label_;
  QButtonGroup* group_;
  QLineEdit* alpha_;
  QLabel* factorLabel_;
  QListWidget* factors_;
};

class VarCompDialog : public AnovaDialog {
 public:
  VarCompDialog(TForm_VarComp& form, QWidget* parent);

 protected:
  void Refresh() override;

 private:
  TForm_VarComp& f_;
  QLabel* erros_;
  std::array<QLineEdit*, 4> edits_{};
};

class RegModelDialog : public AnovaDialog {
 public:
  RegModelDialog(TForm_Reg_OP_Fv& form, QWidget* parent);

 protected:
  void Refresh() override;

 private:
  TForm_Reg_OP_Fv& f_;
  QLabel* lb1_;
  QLabel* lb2_;
  std::array<QCheckBox*, 24> boxes_{};
};

class ResponsesDialog : public AnovaDialog {
 public:
  ResponsesDialog(TForm_Variaveis& form, QWidget* parent);

 protected:
  void Refresh() override;

 private:
  TForm_Variaveis& f_;
  QListWidget* columns_;
  QListWidget* chosen_;
  QLabel* counter_;
};

class TransfDialog : public AnovaDialog {
 public:
  TransfDialog(TForm_Transf& form, QWidget* parent);

 protected:
  void Refresh() override;
  bool eventFilter(QObject* o, QEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  TForm_Transf& f_;
  QListWidget* list_;
  QLabel* status_;
};

class TransfOptionDialog : public AnovaDialog {
 public:
  TransfOptionDialog(TForm_Opcao_Transf& form, QWidget* parent);

 protected:
  void Refresh() override;

 private:
  TForm_Opcao_Transf& f_;
  QLabel* label_;
  QButtonGroup* group_;
};

}  // namespace tolmex::anova::ui
