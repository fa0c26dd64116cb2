#include "shell/report.h"

#include <utility>

namespace tolmex::shell {

void Report::Sync() const {
  if (!stale_) return;
  stale_ = false;
  if (observer_) text_ = observer_->EditedText();
}

const std::string& Report::Text() const {
  Sync();
  return text_;
}

void Report::SetText(std::string text) {
  Sync();
  if (text != text_) Alterado = true;
  text_ = std::move(text);
  if (observer_) observer_->TextReplaced();
}

void Report::AppendText(std::string_view piece) {
  if (piece.empty()) return;
  Sync();
  const std::size_t from = text_.size();
  text_.append(piece);
  Alterado = true;
  if (observer_) observer_->TextAppended(from);
}

void Report::MarkEdited(bool changed) {
  stale_ = true;
  if (changed) Alterado = true;
}

}  // namespace tolmex::shell
