#pragma once
// The data-table window TGraphForm: a grid over Table1 (a lazy model: nothing is copied
// into widgets, so a million rows scroll at once), the menus "&Arquivo", "&Registros",
// "&Campos", "&Importar" and "&Exportar", and a status bar of three panels. All behaviour is
// in the form; this window forwards the person's actions and shows the form's state.
#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <map>

#include "data/graph_form.h"

class QAction;
class QLabel;
class QListWidget;
class QLineEdit;
class QMenu;
class QMenuBar;

namespace tolmex::data::ui {

// The grid's model: the form's table as the form shows it.
class DataTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit DataTableModel(TGraphForm& form, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Brings the model in line with the table: a reset when the columns changed, rows added
  // or removed at the end, otherwise the cells repainted.
  void Sync();

  static QColor CurrentColumnColor() { return QColor(208, 208, 240); }

 private:
  TGraphForm& form_;
  std::vector<FieldDef> defs_;
  int rows_ = 0;
  bool active_ = false;
};

// Enter in a cell editor commits the cell and then moves as the form says.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  GridDelegate(TGraphForm& form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}
  bool eventFilter(QObject* editor, QEvent* event) override;
  // The editor of a text cell takes no more characters than the column holds.
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
 signals:
  void enterPressed();

 private:
  TGraphForm& form_;
};

class DataGrid : public QTableView {
  Q_OBJECT
 public:
  using QTableView::QTableView;
 signals:
  void enterPressed();
  void escapePressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class TGraphFormWindow : public QDialog, public TGraphFormView {
  Q_OBJECT
 public:
  TGraphFormWindow(TGraphForm& form, shell::Prompter& prompter, QWidget* parent = nullptr);
  ~TGraphFormWindow() override;

  TGraphForm& form() { return form_; }
  DataGrid* grid() const { return grid_; }
  DataTableModel* model() const { return model_; }
  QLabel* statusPanel(int i) const { return panels_[i]; }
  // A menu of the menu bar by caption ("&Arquivo", "&Importar", ...), and an item of it.
  QMenu* Menu(const QString& caption) const;
  QAction* Item(const QString& menu, const QString& caption) const;

  // TGraphFormView
  void TableChanged() override;
  void StateChanged() override;
  void CloseWindow() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QMenu* AddMenu(const QString& caption);
  QAction* AddItem(QMenu* menu, const QString& caption, std::function<void()> handler);
  void Run(const std::function<void()>& handler);
  void ApplyColumns();
  void ApplyMode();
  void SyncCurrent();
  void OnCurrentChanged(const QModelIndex& current);
  void OnEnter();

  TGraphForm& form_;
  shell::Prompter& prompter_;
  QMenuBar* menuBar_ = nullptr;
  DataGrid* grid_ = nullptr;
  DataTableModel* model_ = nullptr;
  QLabel* panels_[3] = {};
  std::map<QString, QMenu*> menus_;
  QAction* deletarRegistros_ = nullptr;
  QAction* desativar_ = nullptr;
  bool syncing_ = false;
};

// "Deleção de campos".
class TField_DelDialog : public QDialog {
  Q_OBJECT
 public:
  TField_DelDialog(TField_Del& form, QWidget* parent = nullptr);
  QListWidget* list() const { return list_; }
  void Ok();
  void Cancelar();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TField_Del& form_;
  QListWidget* list_ = nullptr;
};

// "Nomes".
class TForm_nomesDialog : public QDialog {
  Q_OBJECT
 public:
  TForm_nomesDialog(TForm_nomes& form, QWidget* parent = nullptr);
  QListWidget* list() const { return list_; }
  QLineEdit* edit() const { return edit_; }
  void Trocar();
  void Abandonar();
  void Efetivar();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ToForm();
  void FromForm();
  TForm_nomes& form_;
  QListWidget* list_ = nullptr;
  QLineEdit* edit_ = nullptr;
};

}  // namespace tolmex::data::ui
