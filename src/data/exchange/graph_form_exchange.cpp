#include "data/exchange/graph_form_exchange.h"

namespace tolmex::data::exchange {

void GraphFormExchange::ReplaceTable(DataTable&& table, bool cellEditing) {
  if (cellEditing) form_.GridEditable = true;
  // The first row and column become current.
  const int col = table.FieldCount() > 0 ? 0 : -1;
  form_.CurrentCol = col;
  form_.ReplaceTable(std::move(table));
  form_.GridCellChanged(0, col);
}

}  // namespace tolmex::data::exchange
