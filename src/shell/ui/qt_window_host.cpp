#include "shell/ui/qt_window_host.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <stdexcept>

#include "shell/ui/notarich_window.h"

namespace tolmex::shell::ui {

QtWindowHost::~QtWindowHost() {
  while (busy_ > 0) SetBusy(false);
  // Windows without a parent are ours; the others belong to their parent.
  for (auto& [form, dlg] : dialogs_)
    if (dlg && !dlg->parent()) delete dlg.data();
  for (auto& [report, w] : reports_)
    if (w && !w->parent()) delete w.data();
}

void QtWindowHost::Register(const std::string& formName, DialogFactory factory) {
  factories_[formName] = std::move(factory);
}

QDialog* QtWindowHost::WindowOf(const Form& form) const {
  auto it = dialogs_.find(&form);
  return it == dialogs_.end() ? nullptr : it->second.data();
}

QDialog* QtWindowHost::CreateWindow(Form& form) {
  if (QDialog* d = WindowOf(form)) return d;
  const std::string name(form.FormName());
  auto it = factories_.find(name);
  if (it == factories_.end() || !it->second)
    throw std::runtime_error("A janela \"" + name + "\" não está disponível nesta versão.");
  QDialog* d = it->second(form, parent_);
  if (!d) throw std::runtime_error("A janela \"" + name + "\" não pôde ser criada.");
  dialogs_[&form] = d;
  return d;
}

void QtWindowHost::ShowModal(Form& form) {
  QDialog* d = CreateWindow(form);
  // The wait cursor of a long step must not cover a dialog that waits for the person.
  const int busy = busy_;
  for (int k = 0; k < busy; ++k) SetBusy(false);
  d->exec();
  for (int k = 0; k < busy; ++k) SetBusy(true);
}

NotaRichWindow* QtWindowHost::FindReportWindow(const Report& report) const {
  auto it = reports_.find(&report);
  return it == reports_.end() ? nullptr : it->second.data();
}

NotaRichWindow& QtWindowHost::ReportWindow(Report& report) {
  if (NotaRichWindow* w = FindReportWindow(report)) return *w;
  auto* w = new NotaRichWindow(report, prompter_, parent_);
  reports_[&report] = w;
  return *w;
}

void QtWindowHost::ShowReport(Report& report) {
  NotaRichWindow& w = ReportWindow(report);
  if (w.isVisible()) {
    w.Flush();
  } else if (w.property("tolmexShown").toBool()) {
    w.show();
  } else {
    w.setProperty("tolmexShown", true);
    w.showMaximized();
  }
  w.raise();
  w.activateWindow();
}

void QtWindowHost::ShowReportModal(Report& report) {
  NotaRichWindow& w = ReportWindow(report);
  const bool wasVisible = w.isVisible();
  if (wasVisible) w.hide();
  w.setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  QObject::connect(&w, &NotaRichWindow::hidden, &loop, &QEventLoop::quit);
  ShowReport(report);
  if (w.isVisible()) loop.exec();
  w.setWindowModality(Qt::NonModal);
}

void QtWindowHost::SetBusy(bool busy) {
  if (busy) {
    ++busy_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busy_ > 0) {
    --busy_;
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace tolmex::shell::ui
