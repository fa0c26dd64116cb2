#pragma once
// The WindowHost of the batch runner: each window of the analysis-of-variance chain is
// filled from the options and closed with its own buttons, so that every check and message
// is the window's. What the window refuses stops the run (BatchRefusal); checks that need
// the model and the table together are made when the model is finished, before anything
// is computed.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "anova/model_form.h"
#include "anova/procedures.h"
#include "batch/batch_options.h"
#include "batch/batch_prompter.h"
#include "data/data_table.h"
#include "shell/window_host.h"

namespace tolmex::anova {
class TForm_Opcoes_ANAVA;
class TForm_Opcao_FV;
class TForm_VarComp;
class TForm_Reg_OP_Fv;
class TForm_Variaveis;
class TForm_Transf;
class TForm_Opcao_Transf;
namespace levels {
class TCont;
}
}  // namespace tolmex::anova

namespace tolmex::batch {

// The data table of the run: the table read from --tabela, opened by "Abrir arquivo" of
// the model window; its file name is the path as given.
class BatchTableSource : public anova::TableSource {
 public:
  BatchTableSource(data::DataTable table, std::string path)
      : loaded_(std::move(table)), path_(std::move(path)) {}
  data::DataTable& Table() override { return table_; }
  void LoadTable() override;
  void CloseTable() override;
  std::string FileName() const override { return table_.Active() ? path_ : std::string(); }
  const data::DataTable& Loaded() const { return loaded_; }

 private:
  data::DataTable loaded_;
  data::DataTable table_;
  std::string path_;
};

class BatchWindowHost : public shell::WindowHost {
 public:
  // The prompter's question and input handlers are set here.
  BatchWindowHost(const BatchOptions& options, BatchPrompter& prompter,
                  const data::DataTable& table);
  ~BatchWindowHost() override;

  void ShowModal(shell::Form& form) override;
  void ShowReport(shell::Report& report) override { report_ = &report; }
  void ShowReportModal(shell::Report& report) override { report_ = &report; }

  // The report the chain showed (null when it showed none).
  shell::Report* ShownReport() const { return report_; }
  // The set-up windows are done: the computation begins after this.
  bool SetupDone() const { return setupDone_; }
  void OnSetupDone(std::function<void()> f) { onSetupDone_ = std::move(f); }
  // Something the options could not answer or a window refused during the computation.
  bool Failed() const { return !failures_.empty(); }
  const std::vector<std::string>& Failures() const { return failures_; }

  // The contrasts of a slot, one after the other, through the contrasts dialog: the port
  // the computation asks. It shows the dialog (through this host) with the slot known.
  anova::ContrastPort& Contrasts();

 private:
  class ContrastSlots;

  void Modelo(anova::TForm_modelo& f);
  void CheckAgainstModel(const std::vector<std::string>& lines);
  void Opcoes(anova::TForm_Opcoes_ANAVA& f);
  void OpcaoFV(anova::TForm_Opcao_FV& f);
  void VarComp(anova::TForm_VarComp& f);
  void Regressao(anova::TForm_Reg_OP_Fv& f);
  void Variaveis(anova::TForm_Variaveis& f);
  void Transf(anova::TForm_Transf& f);
  void OpcaoTransf(anova::TForm_Opcao_Transf& f);
  void Contraste(anova::levels::TCont& f);
  void Fail(std::string why);

  const BatchOptions& o_;
  BatchPrompter& prompter_;
  const data::DataTable& table_;
  shell::Report* report_ = nullptr;
  bool setupDone_ = false;
  std::function<void()> onSetupDone_;
  std::vector<std::string> failures_;

  // Resolved options: the model line (0-based in the options list) of each --opcao, and
  // the option of each (line text, slot) once the options dialog gave it a slot.
  std::vector<int> optionLine_;
  std::map<std::pair<std::string, int>, const OptionSpec*> bySlot_;
  const OptionSpec* current_ = nullptr;  // the option being entered
  bool optionShown_ = false;
  int kAsked_ = 0;
  int pendingTransform_ = 0;

  // The contrast being typed: its coefficients, and whether more follow.
  const std::vector<std::string>* contrast_ = nullptr;
  bool lastContrast_ = true;

  std::unique_ptr<ContrastSlots> contrasts_;
};

}  // namespace tolmex::batch
