#include "data/exchange/graph_form_exchange.h"

namespace tolmex::data::exchange {

void GraphFormExchange::ReplaceTable(DataTable&& table, bool cellEditing) {
  if (cellEditing) form_.GridEditable = true;
  form_.ReplaceTable(std::move(table));
  // The first row and column become current.
  form_.GridCellChanged(0, form_.Table1.FieldCount() > 0 ? 0 : -1);
}

}  // namespace tolmex::data::exchange
