#pragma once
// The data-table window's logic as the exchange commands see it.
#include "data/exchange/exchange_commands.h"
#include "data/graph_form.h"

namespace tolmex::data::exchange {

class GraphFormExchange : public ExchangeWindow {
 public:
  explicit GraphFormExchange(TGraphForm& form) : form_(form) {}
  DataTable& Table1() override { return form_.Table1; }
  bool ConfirmDiscardEdits() override { return form_.ConfirmDiscardEdits(); }
  void ReplaceTable(DataTable&& table, bool cellEditing) override;
  void SetCurrentFileName(const std::string& path) override { form_.FCurrentFileName = path; }
  void SaveTable() override { form_.SaveTable(); }
  void SetBusy(bool busy) override { form_.Host().SetBusy(busy); }

 private:
  TGraphForm& form_;
};

}  // namespace tolmex::data::exchange
