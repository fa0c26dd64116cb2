#pragma once
// The contrasts dialog: a thin Qt window over the TCont form.
#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace tolmex::anova::levels {
class TCont;
}
namespace tolmex::shell::ui {
class QtWindowHost;
}

namespace tolmex::anova::ui {

class ContrastDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ContrastDialog(levels::TCont& form, QWidget* parent = nullptr);

  // Activates the form, shows the dialog modally and returns when one of the form's
  // closing paths lets it close. (Through the window host the port activates the form.)
  void Run();

 protected:
  void showEvent(QShowEvent* event) override;
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

// Binds the "TCont" form to this dialog in the GUI's window host. The chain's contrast
// port is then a levels::TContPort over the same form and host.
void RegisterContrastDialog(shell::ui::QtWindowHost& host);

}  // namespace tolmex::anova::ui
