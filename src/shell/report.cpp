#include "shell/report.h"

#include <utility>

namespace tolmex::shell {

void Report::SetText(std::string text) {
  text_ = std::move(text);
  Alterado = true;
  if (observer_) observer_->TextReplaced();
}

void Report::AppendText(std::string_view piece) {
  if (piece.empty()) return;
  const std::size_t from = text_.size();
  text_.append(piece);
  Alterado = true;
  if (observer_) observer_->TextAppended(from);
}

}  // namespace tolmex::shell
