#include "data/ui/graph_window.h"

#include "data/ui/exchange_menu.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace tolmex::data::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

// ---------------------------------------------------------------- model

DataTableModel::DataTableModel(TGraphForm& form, QObject* parent)
    : QAbstractTableModel(parent), form_(form) {
  active_ = form_.Table1.Active();
  defs_ = form_.Table1.FieldDefs();
  rows_ = form_.GridRowCount();
}

int DataTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !active_ ? 0 : static_cast<int>(defs_.size());
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
  // The table may have changed under a modal box before Sync ran: read only what exists.
  if (!index.isValid() || !form_.Table1.Active() || index.column() >= form_.Table1.FieldCount())
    return {};
  const int row = index.row(), col = index.column();
  try {
    switch (role) {
      case Qt::DisplayRole: return Q(form_.DisplayText(row, col));
      case Qt::EditRole: return Q(form_.EditText(row, col));
      case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
      case Qt::BackgroundRole:
        if (col == form_.CurrentCol) return QBrush(CurrentColumnColor());
        return {};
      case Qt::ForegroundRole:
        if (col == form_.CurrentCol) return QBrush(Qt::black);
        return {};
      default: return {};
    }
  } catch (const std::exception&) {
    return {};
  }
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= static_cast<int>(defs_.size())) return {};
    if (role == Qt::DisplayRole) return Q(defs_[section].name);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
  }
  if (role == Qt::DisplayRole) return section + 1;
  return {};
}

Qt::ItemFlags DataTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (form_.GridEditable && !form_.RowSelectMode) f |= Qt::ItemIsEditable;
  return f;
}

bool DataTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  // Unchanged text: nothing to edit (opening and closing an editor is not an edit).
  const std::string text = value.toString().toStdString();
  if (text == form_.EditText(index.row(), index.column())) return true;
  return form_.SetCell(index.row(), index.column(), text);
}

void DataTableModel::Sync() {
  const bool active = form_.Table1.Active();
  const auto& defs = form_.Table1.FieldDefs();
  const int rows = active ? form_.GridRowCount() : 0;
  if (active != active_ || defs != defs_ || rows < rows_) {
    beginResetModel();
    active_ = active;
    defs_ = defs;
    rows_ = rows;
    endResetModel();
    return;
  }
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  }
  if (rows_ > 0 && !defs_.empty())
    emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(defs_.size()) - 1));
}

// ---------------------------------------------------------------- grid

bool GridDelegate::eventFilter(QObject* editor, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      auto* w = qobject_cast<QWidget*>(editor);
      emit commitData(w);
      emit closeEditor(w, QAbstractItemDelegate::NoHint);
      emit enterPressed();
      return true;
    }
  }
  return QStyledItemDelegate::eventFilter(editor, event);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
  const DataTable& t = form_.Table1;
  if (auto* line = qobject_cast<QLineEdit*>(w);
      line && t.Active() && index.column() < t.FieldCount() &&
      t.DataType(index.column()) == FieldType::ftString && t.Field(index.column()).size > 0)
    line->setMaxLength(t.Field(index.column()).size);
  return w;
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit enterPressed();
    return;
  }
  if (event->key() == Qt::Key_Escape && state() != EditingState) {
    emit escapePressed();
    return;
  }
  QTableView::keyPressEvent(event);
}

// ---------------------------------------------------------------- window

TGraphFormWindow::TGraphFormWindow(TGraphForm& form, shell::Prompter& prompter, QWidget* parent)
    : QDialog(parent), form_(form), prompter_(prompter) {
  setWindowTitle(Q(TGraphForm::kCaption));
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
  resize(960, 600);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  layout->setMenuBar(menuBar_);

  QMenu* arquivo = AddMenu("&Arquivo");
  AddItem(arquivo, "&Abrir", [this] { form_.Abrir1Click(); });
  AddItem(arquivo, "&Criar", [this] { form_.Criar1Click(); });
  AddItem(arquivo, "&Salvar Como", [this] { form_.SalvarComo1Click(); });
  AddItem(arquivo, "&Fechar", [this] { form_.Fechar1Click(); });
  AddItem(arquivo, "&Deletar", [this] { form_.Deletar1Click(); });
  arquivo->addSeparator();
  AddItem(arquivo, "&Sair", [this] { form_.Sair1Click(); });

  QMenu* registros = AddMenu("&Registros");
  deletarRegistros_ = AddItem(registros, "&Deletar", [this] { form_.Deletar2Click(); });
  desativar_ = AddItem(registros, "D&esativar", [this] {
    form_.SelectedRows.clear();
    for (const QModelIndex& i : grid_->selectionModel()->selectedRows())
      form_.SelectedRows.push_back(i.row());
    form_.Desativar1Click();
  });

  QMenu* campos = AddMenu("&Campos");
  AddItem(campos, "&Acrescentar", [this] { form_.Acrescentar1Click(); });
  AddItem(campos, "&Deletar", [this] { form_.Deletar3Click(); });
  AddItem(campos, "&Renomear", [this] { form_.Renomear1Click(); });
  AddItem(campos, "Alterar &Tipo de coluna", [this] { form_.AlterarTipoColunaClick(); });

  AddExchangeCommands(menuBar_, form_, prompter_);

  grid_ = new DataGrid(this);
  model_ = new DataTableModel(form_, this);
  grid_->setModel(model_);
  auto* delegate = new GridDelegate(form_, grid_);
  grid_->setItemDelegate(delegate);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->setWordWrap(false);
  layout->addWidget(grid_, 1);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(true);
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(status);
    panels_[i]->setFixedWidth(TGraphForm::kStatusWidths[i]);
    status->addWidget(panels_[i]);
  }
  layout->addWidget(status);

  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& cur, const QModelIndex&) { OnCurrentChanged(cur); });
  connect(grid_, &DataGrid::enterPressed, this, [this] { OnEnter(); });
  connect(delegate, &GridDelegate::enterPressed, this, [this] { OnEnter(); },
          Qt::QueuedConnection);
  connect(grid_, &DataGrid::escapePressed, this, [this] { Run([this] { form_.CancelPressed(); }); });

  form_.TitleWidth = [this](const std::string& s) {
    return grid_->horizontalHeader()->fontMetrics().horizontalAdvance(Q(s));
  };
  form_.SetView(this);
  TableChanged();
  StateChanged();
}

TGraphFormWindow::~TGraphFormWindow() {
  form_.SetView(nullptr);
  form_.TitleWidth = nullptr;
}

QMenu* TGraphFormWindow::AddMenu(const QString& caption) {
  QMenu* m = menuBar_->addMenu(caption);
  menus_[caption] = m;
  return m;
}

QAction* TGraphFormWindow::AddItem(QMenu* menu, const QString& caption,
                                   std::function<void()> handler) {
  QAction* a = menu->addAction(caption);
  connect(a, &QAction::triggered, this, [this, handler] { Run(handler); });
  return a;
}

QMenu* TGraphFormWindow::Menu(const QString& caption) const {
  auto it = menus_.find(caption);
  return it == menus_.end() ? nullptr : it->second;
}

QAction* TGraphFormWindow::Item(const QString& menu, const QString& caption) const {
  QMenu* m = Menu(menu);
  if (!m) return nullptr;
  for (QAction* a : m->actions())
    if (a->text() == caption) return a;
  return nullptr;
}

// An exception must never cross Qt's event loop: it is shown and the window stays usable.
void TGraphFormWindow::Run(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    prompter_.Error(e.what());
  }
  TableChanged();
  StateChanged();
}

void TGraphFormWindow::ApplyColumns() {
  auto* header = grid_->horizontalHeader();
  for (int c = 0; c < model_->columnCount(); ++c) {
    const int w = c < static_cast<int>(form_.Columns.size()) ? form_.Columns[c].width : 80;
    header->resizeSection(c, w);
  }
}

void TGraphFormWindow::ApplyMode() {
  if (!form_.GridEditable || form_.RowSelectMode) {
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(form_.RowSelectMode ? QAbstractItemView::ExtendedSelection
                                                : QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  } else {
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The cell editor opens on the current cell, as an always-shown editor does.
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  }
}

void TGraphFormWindow::SyncCurrent() {
  const int row = form_.Table1.Active() ? form_.Table1.CurrentRow() : -1;
  const int col = form_.CurrentCol;
  QModelIndex want = (row >= 0 && col >= 0) ? model_->index(row, col) : QModelIndex();
  if (want.isValid() && grid_->currentIndex() != want) {
    syncing_ = true;
    grid_->selectionModel()->setCurrentIndex(
        want, form_.RowSelectMode ? QItemSelectionModel::NoUpdate
                                  : QItemSelectionModel::ClearAndSelect);
    grid_->scrollTo(want);
    syncing_ = false;
  }
}

void TGraphFormWindow::TableChanged() {
  model_->Sync();
  ApplyColumns();
  SyncCurrent();
  grid_->viewport()->update();
}

void TGraphFormWindow::StateChanged() {
  ApplyMode();
  deletarRegistros_->setVisible(form_.DeletarVisible);
  desativar_->setVisible(form_.DesativarVisible);
  for (int i = 0; i < 3; ++i) panels_[i]->setText(Q(form_.StatusPanel[i]));
  SyncCurrent();
  grid_->viewport()->update();
}

void TGraphFormWindow::CloseWindow() { close(); }

void TGraphFormWindow::OnCurrentChanged(const QModelIndex& current) {
  if (syncing_ || !current.isValid()) return;
  Run([&] { form_.GridCellChanged(current.row(), current.column()); });
}

void TGraphFormWindow::OnEnter() {
  Run([this] { form_.EnterPressed(); });
  if (form_.GridEditable && !form_.RowSelectMode && grid_->currentIndex().isValid())
    grid_->edit(grid_->currentIndex());
}

void TGraphFormWindow::keyPressEvent(QKeyEvent* event) {
  // Escape drops a pending edit; it does not close the window.
  if (event->key() == Qt::Key_Escape) {
    Run([this] { form_.CancelPressed(); });
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(event);
}

void TGraphFormWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  TableChanged();
  StateChanged();
}

// ---------------------------------------------------------------- TField_Del

TField_DelDialog::TField_DelDialog(TField_Del& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), form_(form) {
  setWindowTitle(TField_Del::kCaption);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Escolha a variável a ser deletada e", this));
  layout->addWidget(new QLabel("clique em Ok!", this));
  list_ = new QListWidget(this);
  list_->setObjectName("LB_Var");
  layout->addWidget(list_);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("Ok", this);
  auto* cancel = new QPushButton("Cancelar", this);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TField_DelDialog::Ok);
  connect(cancel, &QPushButton::clicked, this, &TField_DelDialog::Cancelar);
  connect(list_, &QListWidget::itemDoubleClicked, this, &TField_DelDialog::Ok);
}

void TField_DelDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  list_->clear();
  for (const auto& n : form_.LB_Var) list_->addItem(Q(n));
  list_->setCurrentRow(form_.LB_VarIndex);
}

void TField_DelDialog::Ok() {
  form_.LB_VarIndex = list_->currentItem() && list_->currentItem()->isSelected()
                          ? list_->currentRow()
                          : -1;
  form_.OkClick();
  accept();
}

void TField_DelDialog::Cancelar() {
  form_.CancelarClick();
  list_->clearSelection();
  reject();
}

// ---------------------------------------------------------------- TForm_nomes

TForm_nomesDialog::TForm_nomesDialog(TForm_nomes& form, QWidget* parent)
    : QDialog(parent), form_(form) {
  setWindowTitle(TForm_nomes::kCaption);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Selecione o nome da coluna do arquivo:", this));
  list_ = new QListWidget(this);
  list_->setObjectName("LB_nomes");
  layout->addWidget(list_);
  layout->addWidget(new QLabel("Novo nome:", this));
  edit_ = new QLineEdit(this);
  edit_->setObjectName("Edit_nn");
  layout->addWidget(edit_);
  auto* buttons = new QHBoxLayout;
  auto* trocar = new QPushButton("Trocar", this);
  auto* abandonar = new QPushButton("Abandonar", this);
  auto* efetivar = new QPushButton("Efetivar", this);
  for (QPushButton* b : {trocar, abandonar, efetivar}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  connect(trocar, &QPushButton::clicked, this, &TForm_nomesDialog::Trocar);
  connect(abandonar, &QPushButton::clicked, this, &TForm_nomesDialog::Abandonar);
  connect(efetivar, &QPushButton::clicked, this, &TForm_nomesDialog::Efetivar);
  // Enter in the edit box works as "Trocar" and goes no further.
  connect(edit_, &QLineEdit::returnPressed, this, [this] {
    ToForm();
    form_.Edit_nnEnter();
    FromForm();
  });
}

void TForm_nomesDialog::ToForm() {
  form_.LB_nomesIndex = list_->currentItem() ? list_->currentRow() : -1;
  form_.Edit_nn = edit_->text().toStdString();
}

void TForm_nomesDialog::FromForm() {
  list_->clear();
  for (const auto& n : form_.LB_nomes) list_->addItem(Q(n));
  list_->setCurrentRow(form_.LB_nomesIndex);
  edit_->setText(Q(form_.Edit_nn));
  if (form_.EditFocused) edit_->setFocus();
}

void TForm_nomesDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FromForm();
}

void TForm_nomesDialog::Trocar() {
  ToForm();
  form_.TrocarClick();
  FromForm();
}

void TForm_nomesDialog::Abandonar() {
  form_.AbandonarClick();
  reject();
}

void TForm_nomesDialog::Efetivar() {
  ToForm();
  form_.EfetivarClick();
  accept();
}

}  // namespace tolmex::data::ui
