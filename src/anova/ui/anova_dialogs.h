#pragma once
// The Qt windows of the analysis-of-variance set-up: thin bindings of widgets to the forms
// of anova/model_form.h and anova/setup_forms.h.
#include <QDialog>

#include "anova/form_base.h"

class QKeyEvent;

namespace tolmex::anova::ui {

// A dialog bound to a ClosableForm: refreshes itself from the form when shown and after
// each handler, closes when a handler closed the form, and asks the form before closing
// by its close box.
class AnovaDialog : public QDialog {
  Q_OBJECT
 public:
  AnovaDialog(ClosableForm& form, QWidget* parent);
  void reject() override;  // close box and Escape

 protected:
  // Runs a handler of the form, then refreshes or closes.
  template <typename F>
  void Do(F&& handler) {
    handler();
    AfterHandler();
  }
  void AfterHandler();
  virtual void Refresh() = 0;
  void showEvent(QShowEvent* e) override;
  ClosableForm& form_;
};

}  // namespace tolmex::anova::ui
