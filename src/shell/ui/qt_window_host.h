#pragma once
// The WindowHost of the GUI. Windows of other subsystems register a factory under their
// form's name:
//
//   host.Register("TForm_modelo", [](shell::Form& f, QWidget* parent) -> QDialog* {
//     return new ModelDialog(static_cast<anova::TForm_modelo&>(f), parent);
//   });
//
// `ShowModal(form)` creates the dialog for that form on first use (or at start-up through
// `CreateWindow`), keeps it for the rest of the run, and runs it modally. Reports map to their
// TFormNotaRich windows, created when first needed.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "shell/form.h"
#include "shell/prompter.h"
#include "shell/report.h"
#include "shell/window_host.h"

class QDialog;

namespace tolmex::shell::ui {

class NotaRichWindow;

class QtWindowHost : public WindowHost {
 public:
  using DialogFactory = std::function<QDialog*(Form& form, QWidget* parent)>;

  QtWindowHost(Prompter& prompter, QWidget* parent = nullptr) : prompter_(prompter), parent_(parent) {}
  ~QtWindowHost() override;

  // The parent of the windows created from now on (the main window).
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Register(const std::string& formName, DialogFactory factory);
  bool IsRegistered(const std::string& formName) const { return factories_.count(formName) > 0; }
  // Creates the window bound to `form` now (start-up), without showing it.
  QDialog* CreateWindow(Form& form);
  // The window bound to `form`, or null when none was created yet.
  QDialog* WindowOf(const Form& form) const;

  void ShowModal(Form& form) override;
  void ShowReport(Report& report) override;
  void ShowReportModal(Report& report) override;
  void SetBusy(bool busy) override;

  // The report's window, created when needed.
  NotaRichWindow& ReportWindow(Report& report);
  NotaRichWindow* FindReportWindow(const Report& report) const;

 private:
  Prompter& prompter_;
  QWidget* parent_;
  std::map<std::string, DialogFactory> factories_;
  std::map<const Form*, QPointer<QDialog>> dialogs_;
  std::map<const Report*, QPointer<NotaRichWindow>> reports_;
  int busy_ = 0;
};

}  // namespace tolmex::shell::ui
