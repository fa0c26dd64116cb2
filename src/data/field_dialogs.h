#pragma once
// The two small dialogs of column editing: TField_Del (choose the column to delete) and
// TForm_nomes (rename columns).
#include <string>
#include <string_view>
#include <vector>

#include "shell/form.h"
#include "shell/prompter.h"

namespace tolmex::data {

class TGraphForm;

enum class ModalResult { None, Ok, Cancel };

// "Deleção de campos": a list of the column names, "Ok" and "Cancelar".
class TField_Del : public shell::Form {
 public:
  std::string_view FormName() const override { return "TField_Del"; }
  static constexpr const char* kCaption = "Deleção de campos";

  std::vector<std::string> LB_Var;  // the list's items
  int LB_VarIndex = -1;             // selected item, -1 none
  ModalResult Result = ModalResult::None;

  void PopulateFields(const std::vector<std::string>& names);
  void OkClick() { Result = ModalResult::Ok; }
  void CancelarClick() {
    LB_VarIndex = -1;
    Result = ModalResult::Cancel;
  }
};

// "Nomes": the column names (LB_nomes), the new name (Edit_nn), "Trocar", "Abandonar" and
// "Efetivar"; ListBox_sel marks the positions given a new name.
class TForm_nomes : public shell::Form {
 public:
  explicit TForm_nomes(shell::Prompter& prompter) : prompter_(prompter) {}
  std::string_view FormName() const override { return "TForm_nomes"; }
  static constexpr const char* kCaption = "Nomes";

  TGraphForm* Owner = nullptr;  // the data-table window whose table is renamed

  std::vector<std::string> LB_nomes;
  int LB_nomesIndex = -1;
  std::string Edit_nn;
  std::vector<bool> ListBox_sel;
  bool EditFocused = false;
  bool Closed = false;

  // When the dialog is shown: the lists rebuilt from the table.
  void FormActivate();
  void TrocarClick();
  // Enter in Edit_nn works as "Trocar" (the key is consumed).
  void Edit_nnEnter() { TrocarClick(); }
  void EfetivarClick();
  void AbandonarClick() { Closed = true; }

 private:
  shell::Prompter& prompter_;
};

}  // namespace tolmex::data
