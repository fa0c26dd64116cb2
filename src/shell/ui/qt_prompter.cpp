#include "shell/ui/qt_prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace tolmex::shell::ui {

QString BoxText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList out;
  for (int k = 0; k + 1 < parts.size(); k += 2) {
    QString desc = parts[k].trimmed();
    QString patterns = parts[k + 1].trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (!desc.endsWith(QLatin1Char(')')) || !desc.contains(QLatin1Char('(')))
      desc += QStringLiteral(" (") + patterns + QLatin1Char(')');
    else
      desc = desc.left(desc.lastIndexOf(QLatin1Char('('))) + QLatin1Char('(') + patterns +
             QLatin1Char(')');
    out << desc;
  }
  if (out.isEmpty() && !filter.empty()) out << QString::fromStdString(filter);
  return out.join(QStringLiteral(";;"));
}

QWidget* QtPrompter::parent() const {
  QWidget* w = QApplication::activeModalWidget();
  if (!w) w = QApplication::activeWindow();
  return w ? w : fallbackParent_;
}

namespace {

QString Title(const std::string& title) {
  return title.empty() ? QStringLiteral("Tolmex") : QString::fromStdString(title);
}

Answer RunBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
              const std::string& title, QMessageBox::StandardButtons buttons,
              QMessageBox::StandardButton defaultButton) {
  QMessageBox box(icon, Title(title), BoxText(text), buttons, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(defaultButton);
  auto name = [&](QMessageBox::StandardButton b, const char* caption) {
    if (QAbstractButton* button = box.button(b)) button->setText(QString::fromUtf8(caption));
  };
  name(QMessageBox::Yes, "&Sim");
  name(QMessageBox::No, "&Não");
  name(QMessageBox::Cancel, "Cancelar");
  name(QMessageBox::Ok, "OK");
  const int r = box.exec();
  switch (r) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
  }
}

}  // namespace

void QtPrompter::Message(BoxKind kind, const std::string& text, const std::string& title) {
  QMessageBox::Icon icon = QMessageBox::Information;
  if (kind == BoxKind::Warning) icon = QMessageBox::Warning;
  if (kind == BoxKind::Error) icon = QMessageBox::Critical;
  if (kind == BoxKind::Confirmation) icon = QMessageBox::Question;
  RunBox(parent(), icon, text, title, QMessageBox::Ok, QMessageBox::Ok);
}

Answer QtPrompter::AskYesNo(const std::string& text, const std::string& title) {
  const Answer a = RunBox(parent(), QMessageBox::Question, text, title,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
  return a == Answer::Yes ? Answer::Yes : Answer::No;
}

Answer QtPrompter::AskYesNoCancel(const std::string& text, const std::string& title) {
  return RunBox(parent(), QMessageBox::Question, text, title,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

Answer QtPrompter::AskOkCancel(const std::string& text, const std::string& title) {
  const Answer a = RunBox(parent(), QMessageBox::Question, text, title,
                          QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
  return a == Answer::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<std::string> QtPrompter::InputBox(const std::string& title, const std::string& prompt,
                                                const std::string& defaultText) {
  QInputDialog dlg(parent());
  dlg.setWindowTitle(Title(title));
  dlg.setLabelText(BoxText(prompt));
  dlg.setTextValue(QString::fromStdString(defaultText));
  dlg.setOkButtonText(QStringLiteral("OK"));
  dlg.setCancelButtonText(QStringLiteral("Cancelar"));
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  return dlg.textValue().toStdString();
}

std::optional<FileDialogResult> QtPrompter::FileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dlg(parent(), QString::fromStdString(request.title));
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = QtFileFilter(request.filter).split(QStringLiteral(";;"));
  dlg.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
    dlg.selectNameFilter(filters[request.filterIndex - 1]);
  if (!request.defaultExt.empty()) dlg.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  if (!request.initialDir.empty()) dlg.setDirectory(QString::fromStdString(request.initialDir));
  if (!request.fileName.empty()) dlg.selectFile(QString::fromStdString(request.fileName));
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  dlg.setOption(QFileDialog::ReadOnly, false);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  FileDialogResult r;
  r.path = dlg.selectedFiles().front().toStdString();
  r.filterIndex = static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1;
  if (r.filterIndex < 1) r.filterIndex = 1;
  return r;
}

std::optional<FileDialogResult> QtPrompter::OpenFile(const FileDialogRequest& request) {
  return FileDialog(request, false);
}

std::optional<FileDialogResult> QtPrompter::SaveFile(const FileDialogRequest& request) {
  return FileDialog(request, true);
}

std::optional<Rgb> QtPrompter::ChooseColor(const Rgb& initial) {
  const QColor c = QColorDialog::getColor(QColor(initial.r, initial.g, initial.b), parent(),
                                          QStringLiteral("Cor"));
  if (!c.isValid()) return std::nullopt;
  return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
             static_cast<std::uint8_t>(c.blue())};
}

std::optional<FontChoice> QtPrompter::ChooseFont(const FontChoice& initial) {
  QFont f(QString::fromStdString(initial.family));
  if (initial.pointSize > 0) f.setPointSizeF(initial.pointSize);
  f.setBold(initial.bold);
  f.setItalic(initial.italic);
  f.setUnderline(initial.underline);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, f, parent(), QStringLiteral("Fonte"));
  if (!ok) return std::nullopt;
  FontChoice r = initial;
  r.family = chosen.family().toStdString();
  r.pointSize = chosen.pointSizeF();
  r.bold = chosen.bold();
  r.italic = chosen.italic();
  r.underline = chosen.underline();
  return r;
}

}  // namespace tolmex::shell::ui
