#include "anova/ui/contrast_dialog.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "anova/levels/contrast_form.h"
#include "shell/ui/qt_window_host.h"

namespace tolmex::anova::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

ContrastDialog::ContrastDialog(levels::TCont& form, QWidget* parent)
    : QDialog(parent), form_(form) {
  setWindowTitle(Q(levels::TCont::kCaption));
  setModal(true);

  lb1_ = new QLabel(this);
  lb2_ = new QLabel(this);
  lb3_ = new QLabel(this);
  lblNivel_ = new QLabel(this);
  niveis_ = new QListWidget(this);
  coef_ = new QListWidget(this);
  edCoef_ = new QLineEdit(this);
  QFont mono(QStringLiteral("Courier New"));
  mono.setStyleHint(QFont::TypeWriter);
  niveis_->setFont(mono);
  coef_->setFont(mono);

  auto* acrescentar = new QPushButton(QStringLiteral("Acrescentar"), this);
  auto* alterar = new QPushButton(QStringLiteral("Alterar"), this);
  auto* limpar = new QPushButton(QStringLiteral("Limpar"), this);
  auto* novo = new QPushButton(QStringLiteral("Novo contraste"), this);
  auto* finalizar = new QPushButton(QStringLiteral("Finalizar"), this);
  for (QPushButton* b : {acrescentar, alterar, limpar, novo, finalizar}) b->setAutoDefault(false);

  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel(QStringLiteral("Níveis dos tratamentos:"), this), 0, 0);
  lists->addWidget(new QLabel(QStringLiteral("Coeficientes:"), this), 0, 1);
  lists->addWidget(niveis_, 1, 0);
  lists->addWidget(coef_, 1, 1);

  auto* entry = new QHBoxLayout;
  entry->addWidget(lblNivel_, 1);
  entry->addWidget(edCoef_, 1);
  entry->addWidget(acrescentar);
  entry->addWidget(alterar);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(limpar);
  buttons->addStretch(1);
  buttons->addWidget(novo);
  buttons->addWidget(finalizar);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lb1_);
  layout->addWidget(lb2_);
  layout->addWidget(lb3_);
  layout->addLayout(lists);
  layout->addLayout(entry);
  layout->addLayout(buttons);

  connect(acrescentar, &QPushButton::clicked, this, [this] { Forward([](levels::TCont& f) { f.Acrescentar(); }); });
  connect(edCoef_, &QLineEdit::returnPressed, this, [this] { Forward([](levels::TCont& f) { f.Acrescentar(); }); });
  connect(alterar, &QPushButton::clicked, this, [this] { Forward([](levels::TCont& f) { f.Alterar(); }); });
  connect(limpar, &QPushButton::clicked, this, [this] { Forward([](levels::TCont& f) { f.Limpar(); }); });
  connect(novo, &QPushButton::clicked, this, [this] { Forward([](levels::TCont& f) { f.NovoContraste(); }); });
  connect(finalizar, &QPushButton::clicked, this, [this] { Forward([](levels::TCont& f) { f.Finalizar(); }); });
  connect(coef_, &QListWidget::currentRowChanged, this, [this](int row) {
    form_.coefSelecionado = row;
    if (row >= 0 && row < static_cast<int>(form_.LB_Coef.size()))
      edCoef_->setText(Q(form_.LB_Coef[static_cast<std::size_t>(row)]));
  });
}

void ContrastDialog::Run() {
  form_.Activate();
  exec();
}

void ContrastDialog::showEvent(QShowEvent* event) {
  Refresh();
  QDialog::showEvent(event);
}

void ContrastDialog::Pull() {
  form_.Ed_coef = edCoef_->text().toStdString();
  form_.coefSelecionado = coef_->currentRow();
}

void ContrastDialog::Refresh() {
  lb1_->setText(Q(form_.Lb1));
  lb2_->setText(Q(form_.Lb2));
  lb3_->setText(Q(form_.Lb3));
  lb3_->setVisible(form_.Lb3Visivel);
  lblNivel_->setText(Q(form_.Lbl_nivel));
  niveis_->clear();
  for (const auto& n : form_.LB_Niveis) niveis_->addItem(Q(n));
  niveis_->setCurrentRow(form_.nivelSelecionado);
  {
    const QSignalBlocker block(coef_);
    coef_->clear();
    for (const auto& c : form_.LB_Coef) coef_->addItem(Q(c));
    coef_->setCurrentRow(form_.coefSelecionado);
  }
  edCoef_->setText(Q(form_.Ed_coef));
  if (form_.focoEdCoef) edCoef_->setFocus();
}

template <typename Handler>
void ContrastDialog::Forward(Handler h) {
  Pull();
  h(form_);
  Refresh();
  if (form_.Closed()) accept();
}

void ContrastDialog::closeEvent(QCloseEvent* event) {
  Pull();
  if (form_.CloseQuery()) {
    event->accept();
    QDialog::accept();
  } else {
    Refresh();
    event->ignore();
  }
}

void ContrastDialog::reject() {
  Pull();
  if (form_.CloseQuery())
    QDialog::accept();
  else
    Refresh();
}

void RegisterContrastDialog(shell::ui::QtWindowHost& host) {
  host.Register("TCont", [](shell::Form& f, QWidget* parent) -> QDialog* {
    return new ContrastDialog(static_cast<levels::TCont&>(f), parent);
  });
}

}  // namespace tolmex::anova::ui
