#include "data/field_dialogs.h"

#include "data/graph_form.h"
#include "data/table_convert.h"
#include "shell/text_utils.h"

namespace tolmex::data {

void TField_Del::PopulateFields(const std::vector<std::string>& names) {
  LB_Var = names;
  LB_VarIndex = -1;
  Result = ModalResult::None;
}

void TForm_nomes::FormActivate() {
  LB_nomes.clear();
  ListBox_sel.clear();
  LB_nomesIndex = -1;
  Edit_nn.clear();
  Closed = false;
  if (!Owner) {
    prompter_.Information("Tabela principal não encontrada.");
    return;
  }
  for (const FieldDef& d : Owner->Table1.FieldDefs()) {
    LB_nomes.push_back(d.name);
    ListBox_sel.push_back(false);
  }
  if (!LB_nomes.empty()) LB_nomesIndex = 0;
  EditFocused = true;
}

void TForm_nomes::TrocarClick() {
  if (LB_nomesIndex < 0 || LB_nomesIndex >= static_cast<int>(LB_nomes.size())) {
    prompter_.Information("Nenhum campo foi selecionado!");
    return;
  }
  const std::string name(shell::Trim(Edit_nn));
  if (name.empty()) {
    prompter_.Information("Digite o novo nome do campo!");
    return;
  }
  // A name the next save or the model language could not use is refused here.
  if (HasReservedNameChars(name)) {
    prompter_.Warning(kBadNameChars);
    return;
  }
  for (int i = 0; i < static_cast<int>(LB_nomes.size()); ++i)
    if (i != LB_nomesIndex && LB_nomes[i] == name) {
      prompter_.Warning("Já existe um campo chamado \"" + name + "\".");
      return;
    }
  ListBox_sel[LB_nomesIndex] = true;
  LB_nomes[LB_nomesIndex] = name;
  Edit_nn.clear();
  EditFocused = true;
  if (LB_nomesIndex + 1 < static_cast<int>(LB_nomes.size())) ++LB_nomesIndex;
}

void TForm_nomes::EfetivarClick() {
  Closed = true;
  if (!Owner || !Owner->Table1.Active()) {
    prompter_.Information("Nenhuma tabela aberta para renomear.");
    return;
  }
  bool any = false;
  for (bool b : ListBox_sel) any = any || b;
  if (!any) {
    prompter_.Information("Nenhum campo foi marcado para renomear.");
    return;
  }
  DataTable& t = Owner->Table1;
  try {
    ControlsDisabled off(t);
    std::vector<FieldDef> defs = t.FieldDefs();
    for (std::size_t i = 0; i < ListBox_sel.size() && i < defs.size(); ++i) {
      if (!ListBox_sel[i] || i >= LB_nomes.size()) continue;
      const std::string name(shell::Trim(LB_nomes[i]));
      if (!name.empty()) defs[i].name = name;
    }
    CheckFieldNames(defs);
    // The cells stay where they are: only the names change.
    t.Post();
    for (std::size_t i = 0; i < defs.size(); ++i)
      if (defs[i].name != t.FieldName(static_cast<int>(i)))
        t.RenameField(static_cast<int>(i), defs[i].name);
    Owner->AlignFieldsRight();
    prompter_.Information("Campos renomeados com sucesso!");
  } catch (const std::exception& e) {
    prompter_.Error(std::string("Erro durante a renomeação: ") + e.what());
  }
}

}  // namespace tolmex::data
