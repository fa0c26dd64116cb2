#pragma once
// The contrasts dialog: a thin Qt window over the TCont form.
#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace tolmex::anova::levels {
class TCont;
}

namespace tolmex::anova::ui {

class ContrastDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ContrastDialog(levels::TCont& form, QWidget* parent = nullptr);

  // Activates the form, shows the dialog modally and returns when one of the form's
  // closing paths lets it close.
  void Run();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape: the same as the window's close button

 private:
  void Pull();     // widgets -> form
  void Refresh();  // form -> widgets
  template <typename Handler>
  void Forward(Handler h);

  levels::TCont& form_;
  QLabel* lb1_;
  QLabel* lb2_;
  QLabel* lb3_;
  QLabel* lblNivel_;
  QListWidget* niveis_;
  QListWidget* coef_;
  QLineEdit* edCoef_;
};

}  // namespace tolmex::anova::ui
