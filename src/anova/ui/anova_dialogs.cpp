#include "anova/ui/anova_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "anova/ui/anova_windows.h"

namespace tolmex::anova::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

void Fill(QListWidget* list, const std::vector<std::string>& items) {
  const int keep = list->currentRow();
  list->blockSignals(true);
  list->clear();
  for (const auto& i : items) list->addItem(Q(i));
  if (keep >= 0 && keep < list->count()) list->setCurrentRow(keep);
  list->blockSignals(false);
}
}  // namespace

AnovaDialog::AnovaDialog(ClosableForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setModal(true);
}

void AnovaDialog::AfterHandler() {
  if (form_.Closed()) {
    accept();
    return;
  }
  Refresh();
}

void AnovaDialog::showEvent(QShowEvent* e) {
  Refresh();
  QDialog::showEvent(e);
}

void AnovaDialog::reject() {
  if (form_.Closed() || form_.CloseQuery()) {
    form_.ClosedByBox();
    QDialog::reject();
  }
}

// ------------------------------------------------------------------ model window

ModelDialog::ModelDialog(TForm_modelo& form, QWidget* parent) : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(TForm_modelo::kCaption);
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Digite as Fontes de  Variação")), 0, 0);
  edit_ = new QLineEdit;
  grid->addWidget(edit_, 1, 0);
  auto* ops = new QHBoxLayout;
  for (const char* c : {"erro=", "*", "(", ")"}) {
    auto* b = new QPushButton(QString::fromUtf8(c));
    b->setAutoDefault(false);
    ops->addWidget(b);
    const std::string cap = c;
    connect(b, &QPushButton::clicked, this, [this, cap] {
      Pull();
      Do([&] {
        if (cap == "erro=") f_.BotaoErro();
        else if (cap == "*") f_.BotaoAsterisco();
        else if (cap == "(") f_.BotaoAbre();
        else f_.BotaoFecha();
      });
      edit_->setFocus();
    });
  }
  grid->addLayout(ops, 2, 0);
  grid->addWidget(new QLabel(QStringLiteral("TABELA DE ANÁLISE DE VARIÂNCIA")), 3, 0);
  lines_ = new QListWidget;
  grid->addWidget(lines_, 4, 0);
  grid->addWidget(new QLabel(QStringLiteral("Variáveis do arquivo")), 3, 1);
  columns_ = new QListWidget;
  columns_->installEventFilter(this);
  grid->addWidget(columns_, 4, 1);
  hint_ = new QLabel;
  grid->addWidget(hint_, 5, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  auto add = [&](const char* caption, auto handler) {
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, handler] {
      Pull();
      Do([&] { handler(); });
    });
  };
  add("Abrir arquivo", [this] { f_.AbrirArquivo(); });
  add("Fechar arquivo", [this] { f_.FecharArquivo(); });
  add("Adicionar", [this] {
    f_.Adicionar();
    edit_->setFocus();
  });
  add("Remover", [this] { f_.Remover(lines_->currentRow()); });
  add("Limpar", [this] { f_.Limpar(); });
  add("Fim", [this] { f_.Fim(); });
  add("Ajuda", [this] { f_.Ajuda(); });
  grid->addLayout(buttons, 6, 0, 1, 2);
  connect(edit_, &QLineEdit::returnPressed, this, [this] {
    Pull();
    Do([&] { f_.Adicionar(); });
  });
  connect(columns_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    Pull();
    Do([&] { f_.SelectColumn(columns_->row(item)); });
    edit_->setFocus();
  });
  resize(640, 420);
}

bool ModelDialog::eventFilter(QObject* o, QEvent* e) {
  if (o == columns_ && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)) {
    f_.ColumnListFocus(e->type() == QEvent::FocusIn);
    hint_->setText(Q(f_.Hint()));
  }
  return AnovaDialog::eventFilter(o, e);
}

void ModelDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    Pull();
    Do([&] { f_.Escape(); });
    return;
  }
  AnovaDialog::keyPressEvent(e);
}

void ModelDialog::Pull() { f_.Edit_FV = S(edit_->text()); }

void ModelDialog::Refresh() {
  if (edit_->text() != Q(f_.Edit_FV)) edit_->setText(Q(f_.Edit_FV));
  Fill(lines_, f_.Lines());
  Fill(columns_, f_.Columns());
  hint_->setText(Q(f_.Hint()));
}

// ------------------------------------------------------------------ options dialog

OptionsDialog::OptionsDialog(TForm_Opcoes_ANAVA& form, QWidget* parent)
    : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(QStringLiteral("Opções do quadro da análise de variância"));
  setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
  auto* v = new QVBoxLayout(this);
  v->addWidget(new QLabel(QStringLiteral(
      "Dê um clique na FV para escolher os testes a serem realizados (máximo de 7 por FV):")));
  list_ = new QListWidget;
  v->addWidget(list_);
  auto* h = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("Ok"));
  auto* help = new QPushButton(QStringLiteral("Ajuda"));
  h->addWidget(ok);
  h->addWidget(help);
  v->addLayout(h);
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Do([&] { f_.ClickLine(list_->row(item)); }); });
  connect(ok, &QPushButton::clicked, this, [this] { Do([&] { f_.Ok(); }); });
  connect(help, &QPushButton::clicked, this, [this] { Do([&] { f_.Ajuda(); }); });
  resize(520, 360);
}

void OptionsDialog::Refresh() { Fill(list_, f_.Lines()); }

// ------------------------------------------------------------------ option window

OptionDialog::OptionDialog(TForm_Opcao_FV& form, QWidget* parent) : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(QStringLiteral("Escolha a opção da fonte de variação selecionada"));
  auto* v = new QVBoxLayout(this);
  label_ = new QLabel;
  v->addWidget(label_);
  auto* box = new QGroupBox(QStringLiteral("Teste escolhido"));
  auto* bv = new QVBoxLayout(box);
  group_ = new QButtonGroup(this);
  for (int i = 0; i < 9; ++i) {
    auto* r = new QRadioButton(QString::fromUtf8(kOptionCaptions[static_cast<std::size_t>(i)]));
    group_->addButton(r, i);
    bv->addWidget(r);
  }
  v->addWidget(box);
  v->addWidget(new QLabel(QStringLiteral("Nível de significância:")));
  alpha_ = new QLineEdit;
  v->addWidget(alpha_);
  factorLabel_ = new QLabel(QStringLiteral("Escolha a variável a ser desdobrada: "));
  v->addWidget(factorLabel_);
  factors_ = new QListWidget;
  v->addWidget(factors_);
  auto* ok = new QPushButton(QStringLiteral("Ok"));
  v->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, [this] {
    f_.Opcao = group_->checkedId() < 0 ? 0 : group_->checkedId();
    f_.Ed_alpha = S(alpha_->text());
    f_.FatorSelecionado = factors_->currentRow();
    Do([&] { f_.Ok(); });
  });
}

void OptionDialog::Refresh() {
  label_->setText(Q(f_.Label()));
  if (auto* b = group_->button(f_.Opcao)) b->setChecked(true);
  alpha_->setText(Q(f_.Ed_alpha));
  factorLabel_->setVisible(f_.ShowsFactors());
  factors_->setVisible(f_.ShowsFactors());
  Fill(factors_, f_.Factors());
  factors_->setCurrentRow(f_.FatorSelecionado);
}

// ------------------------------------------------------------------ complex variances

VarCompDialog::VarCompDialog(TForm_VarComp& form, QWidget* parent) : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(QStringLiteral("Variâncias complexas"));
  auto* g = new QGridLayout(this);
  g->addWidget(new QLabel(QStringLiteral("Digite os valores correspondentes da variância complexa")), 0, 0, 1, 2);
  g->addWidget(new QLabel(QStringLiteral("VC = [QMEa + b*QMEb] / k")), 1, 0, 1, 2);
  erros_ = new QLabel;
  g->addWidget(erros_, 2, 0, 1, 2);
  const char* names[] = {"b", "k", "Digite a ordem do QMEa na ANAVA", "Digite a ordem do QMEb na ANAVA"};
  for (int i = 0; i < 4; ++i) {
    edits_[i] = new QLineEdit;
    g->addWidget(new QLabel(QString::fromUtf8(names[i])), 3 + i, 0);
    g->addWidget(edits_[i], 3 + i, 1);
  }
  auto* ok = new QPushButton(QStringLiteral("Ok"));
  g->addWidget(ok, 7, 1);
  connect(ok, &QPushButton::clicked, this, [this] {
    f_.Ed_b = S(edits_[0]->text());
    f_.Ed_k = S(edits_[1]->text());
    f_.Ed_QMEa = S(edits_[2]->text());
    f_.Ed_QMEb = S(edits_[3]->text());
    Do([&] { f_.Ok(); });
  });
}

void VarCompDialog::Refresh() { erros_->setText(Q(f_.ErrosLabel())); }

// ------------------------------------------------------------------ regression models

RegModelDialog::RegModelDialog(TForm_Reg_OP_Fv& form, QWidget* parent) : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(QStringLiteral("Modelos de Regressão"));
  setWindowFlags((windowFlags() | Qt::WindowCloseButtonHint) & ~Qt::WindowMinMaxButtonsHint);
  auto* v = new QVBoxLayout(this);
  lb1_ = new QLabel;
  lb2_ = new QLabel;
  v->addWidget(lb1_);
  v->addWidget(lb2_);
  auto* box = new QGroupBox(QStringLiteral("Monte seu modelo"));
  auto* g = new QGridLayout(box);
  for (int i = 0; i < 24; ++i) {
    boxes_[i] = new QCheckBox(QString::fromUtf8(TForm_Reg_OP_Fv::kCaptions[static_cast<std::size_t>(i)]));
    g->addWidget(boxes_[i], i % 12, i / 12);
  }
  v->addWidget(box);
  auto* ok = new QPushButton(QStringLiteral("Ok"));
  v->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 24; ++i) f_.cb[static_cast<std::size_t>(i)] = boxes_[i]->isChecked();
    Do([&] { f_.Ok(); });
  });
}

void RegModelDialog::Refresh() {
  lb1_->setText(Q(f_.Lb1));
  lb2_->setText(Q(f_.Lb2));
  for (int i = 0; i < 24; ++i) boxes_[i]->setChecked(f_.cb[static_cast<std::size_t>(i)]);
}

// ------------------------------------------------------------------ responses

ResponsesDialog::ResponsesDialog(TForm_Variaveis& form, QWidget* parent) : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(QStringLiteral("Variáveis a serem analisadas"));
  auto* g = new QGridLayout(this);
  g->addWidget(new QLabel(QStringLiteral("Variáveis do arquivo:")), 0, 0);
  g->addWidget(new QLabel(QStringLiteral("Variáveis escolhidas para analisar:")), 0, 1);
  columns_ = new QListWidget;
  chosen_ = new QListWidget;
  g->addWidget(columns_, 1, 0);
  g->addWidget(chosen_, 1, 1);
  counter_ = new QLabel;
  g->addWidget(counter_, 2, 0);
  auto* remove = new QPushButton(QStringLiteral("Remover"));
  auto* finish = new QPushButton(QStringLiteral("Finalizar"));
  g->addWidget(remove, 2, 1);
  g->addWidget(finish, 3, 1);
  connect(columns_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Do([&] { f_.ClickColumn(columns_->row(item)); }); });
  connect(remove, &QPushButton::clicked, this, [this] { Do([&] { f_.Remover(chosen_->currentRow()); }); });
  connect(finish, &QPushButton::clicked, this, [this] { Do([&] { f_.Finalizar(); }); });
}

void ResponsesDialog::Refresh() {
  Fill(columns_, f_.Columns());
  Fill(chosen_, f_.Chosen());
  counter_->setText(Q(f_.Counter()));
}

// ------------------------------------------------------------------ transformations

TransfDialog::TransfDialog(TForm_Transf& form, QWidget* parent) : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(QStringLiteral("Se desejar, escolha a transformação que lhe convier"));
  setMouseTracking(true);
  auto* v = new QVBoxLayout(this);
  v->addWidget(new QLabel(QStringLiteral("Escolha as opções de transformações:")));
  list_ = new QListWidget;
  list_->setMouseTracking(true);
  list_->viewport()->installEventFilter(this);
  v->addWidget(list_);
  status_ = new QLabel;
  v->addWidget(status_);
  auto* finish = new QPushButton(QStringLiteral("Finalizar"));
  v->addWidget(finish);
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Do([&] { f_.ClickResponse(list_->row(item)); }); });
  connect(finish, &QPushButton::clicked, this, [this] { Do([&] { f_.Finalizar(); }); });
}

bool TransfDialog::eventFilter(QObject* o, QEvent* e) {
  if (o == list_->viewport() && e->type() == QEvent::MouseMove) {
    f_.MouseOverList(true);
    status_->setText(Q(f_.Status()));
  }
  return AnovaDialog::eventFilter(o, e);
}

void TransfDialog::mouseMoveEvent(QMouseEvent* e) {
  f_.MouseOverList(false);
  status_->setText(Q(f_.Status()));
  AnovaDialog::mouseMoveEvent(e);
}

void TransfDialog::Refresh() {
  Fill(list_, f_.Responses());
  status_->setText(Q(f_.Status()));
}

TransfOptionDialog::TransfOptionDialog(TForm_Opcao_Transf& form, QWidget* parent)
    : AnovaDialog(form, parent), f_(form) {
  setWindowTitle(QStringLiteral("Opções de transformação"));
  auto* v = new QVBoxLayout(this);
  label_ = new QLabel;
  v->addWidget(label_);
  auto* box = new QGroupBox(QStringLiteral("Transformação:"));
  auto* bv = new QVBoxLayout(box);
  group_ = new QButtonGroup(this);
  for (std::size_t i = 0; i < TForm_Opcao_Transf::kCaptions.size(); ++i) {
    auto* r = new QRadioButton(QString::fromUtf8(TForm_Opcao_Transf::kCaptions[i]));
    group_->addButton(r, TForm_Opcao_Transf::kCodes[i]);
    bv->addWidget(r);
  }
  v->addWidget(box);
  auto* ok = new QPushButton(QStringLiteral("Ok"));
  v->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, [this] {
    f_.Codigo = group_->checkedId() < 0 ? 0 : group_->checkedId();
    Do([&] { f_.Ok(); });
  });
}

void TransfOptionDialog::Refresh() {
  label_->setText(Q(f_.Label()));
  if (auto* b = group_->button(f_.Codigo)) b->setChecked(true);
}

}  // namespace tolmex::anova::ui
