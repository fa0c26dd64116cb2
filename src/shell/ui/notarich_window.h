#pragma once
// The report window TFormNotaRich: a rich-text editor over one Report, with the menus and
// toolbar of the report editor. Text that procedures append is buffered by the Report and
// brought into the editor in one piece when the window is shown or the event loop runs again
// (the end of a procedure step).
#include <QMainWindow>
#include <functional>
#include <memory>

#include "shell/prompter.h"
#include "shell/report.h"
#include "shell/report_form.h"

class QAction;
class QActionGroup;
class QPrinter;
class QTextCharFormat;
class QTextEdit;
class QToolBar;

namespace tolmex::shell::ui {

class NotaRichWindow : public QMainWindow, public Report::Observer, public ReportEditor {
  Q_OBJECT
 public:
  NotaRichWindow(Report& report, Prompter& prompter, QWidget* parent = nullptr);
  ~NotaRichWindow() override;

  Report& report() { return report_; }
  TFormNotaRich& form() { return form_; }
  QTextEdit* editor() const { return edit_; }

  // Brings buffered report text into the editor now.
  void Flush();

  // The menu item or toolbar button with this caption or hint ("&Novo", "Salvar como").
  QAction* FindAction(const QString& captionOrHint) const;

  // Prints the whole report to `printer` with NomeArq as the job's title.
  void PrintTo(QPrinter& printer);
  // Replaces the print dialog (tests): returns true to print.
  void SetPrintDialog(std::function<bool(QPrinter&)> dialog) { printDialog_ = std::move(dialog); }

  // While the program ends, closing does not ask about unsaved changes.
  static void SetShuttingDown(bool on);

  // Toggle fields of the toolbar's bold, italic and underline buttons.
  bool tbol = false, tit = false, tsub = false;

 signals:
  void hidden();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Report::Observer
  void TextReplaced() override;
  void TextAppended(std::size_t from) override;
  std::string EditedText() override;
  void StateChanged() override;
  // ReportEditor
  RichDocument Document() override;
  void LoadDocument(const RichDocument& doc) override;

  void BuildMenus();
  void ScheduleFlush();
  void Guarded(const std::function<void()>& command);
  void ApplyToSelection(const std::function<void(QTextCharFormat&)>& change);
  void ToolbarStyle(bool& field, const std::function<void(QTextCharFormat&, bool)>& set);
  void SetFontName(const QString& name, QAction* item);
  void SetFontSize(double size, QAction* item);
  void SetAlignment(Qt::Alignment a, QAction* item);
  void ToggleBullets();
  void MoreFonts();
  void BackgroundColor();
  void Print();
  void SelectionChanged();
  void ApplyReportFont();

  Report& report_;
  Prompter& prompter_;
  TFormNotaRich form_;
  QTextEdit* edit_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  bool programmatic_ = false;
  bool pendingReplace_ = false;
  std::size_t pendingFrom_ = static_cast<std::size_t>(-1);
  bool flushScheduled_ = false;
  double appliedFontSize_ = 0;
  std::function<bool(QPrinter&)> printDialog_;

  QActionGroup* fontNames_ = nullptr;
  QActionGroup* fontSizes_ = nullptr;
  QActionGroup* alignments_ = nullptr;
  QAction* actBold_ = nullptr;
  QAction* actItalic_ = nullptr;
  QAction* actBullets_ = nullptr;
  QAction* actReadOnly_ = nullptr;
  QAction* actLeft_ = nullptr;
  QAction* actRight_ = nullptr;
  QAction* actCenter_ = nullptr;
};

}  // namespace tolmex::shell::ui
