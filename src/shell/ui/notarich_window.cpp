#include "shell/ui/notarich_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>
#include <QToolBar>

#include "shell/app_state.h"
#include "shell/ui/rich_text_qt.h"

namespace tolmex::shell::ui {

namespace {
bool g_shuttingDown = false;
constexpr std::size_t kNoPending = static_cast<std::size_t>(-1);
}  // namespace

void NotaRichWindow::SetShuttingDown(bool on) { g_shuttingDown = on; }

NotaRichWindow::NotaRichWindow(Report& report, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), report_(report), prompter_(prompter), form_(report, prompter) {
  if (parent) setWindowFlag(Qt::Window, true);
  setObjectName(QStringLiteral("TFormNotaRich"));
  resize(900, 640);
  edit_ = new QTextEdit(this);
  edit_->setObjectName(QStringLiteral("RichEdit1"));
  edit_->setLineWrapMode(QTextEdit::NoWrap);
  edit_->setAcceptRichText(true);
  setCentralWidget(edit_);
  ApplyReportFont();
  edit_->installEventFilter(this);
  edit_->viewport()->installEventFilter(this);
  connect(edit_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (!programmatic_) report_.MarkEdited(true);
  });
  connect(edit_, &QTextEdit::cursorPositionChanged, this, [this] { SelectionChanged(); });
  connect(edit_, &QTextEdit::currentCharFormatChanged, this, [this] { SelectionChanged(); });
  BuildMenus();
  form_.SetEditor(this);
  report_.SetObserver(this);
  if (!report_.Text().empty()) pendingReplace_ = true;
  setWindowTitle(QString::fromStdString(report_.caption));
}

NotaRichWindow::~NotaRichWindow() {
  // Let the report take the editor's text before the editor goes away.
  if (report_.observer() == this) {
    Flush();
    (void)report_.Text();
    report_.SetObserver(nullptr);
  }
}

void NotaRichWindow::ApplyReportFont() {
  appliedFontSize_ = report_.fontSize;
  edit_->document()->setDefaultFont(ReportFont(report_.fontSize));
}

QAction* NotaRichWindow::FindAction(const QString& captionOrHint) const {
  const auto actions = findChildren<QAction*>();
  for (QAction* a : actions)
    if (a->text() == captionOrHint) return a;
  for (QAction* a : actions)
    if (a->toolTip() == captionOrHint) return a;
  return nullptr;
}

void NotaRichWindow::Guarded(const std::function<void()>& command) {
  RunCommand(prompter_, [&] {
    Flush();
    command();
  });
}

void NotaRichWindow::BuildMenus() {
  toolbar_ = addToolBar(QStringLiteral("Ferramentas"));
  toolbar_->setObjectName(QStringLiteral("ToolBar1"));
  toolbar_->setMovable(false);
  auto tip = [this](QAction* a, const char* hint, bool onToolbar = true) {
    a->setToolTip(QString::fromUtf8(hint));
    a->setStatusTip(QString::fromUtf8(hint));
    if (onToolbar) toolbar_->addAction(a);
  };
  auto cmd = [this](std::function<void()> f) { return [this, f] { Guarded(f); }; };
  QStyle* st = style();

  QMenu* arq = menuBar()->addMenu(QStringLiteral("&Arquivo"));
  arq->addAction(QStringLiteral("&Novo"), this, cmd([this] { form_.Novo(); }));
  QAction* abrir = arq->addAction(QStringLiteral("&Abrir..."), this, cmd([this] { form_.Abrir(); }));
  abrir->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
  tip(abrir, "Abrir novo arquivo");
  arq->addAction(QStringLiteral("&Salvar"), this, cmd([this] { form_.CmdSalvar(); }));
  QAction* como =
      arq->addAction(QStringLiteral("Salvar &Como..."), this, cmd([this] { form_.SalvarComo(); }));
  como->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
  tip(como, "Salvar como");
  QAction* imprimir = arq->addAction(QStringLiteral("&Imprimir"), this, cmd([this] { Print(); }));
  imprimir->setIcon(QIcon::fromTheme(QStringLiteral("document-print")));
  if (imprimir->icon().isNull()) imprimir->setIconText(QStringLiteral("Imprimir"));
  tip(imprimir, "Imprimir o documento");
  arq->addSeparator();
  // The item closes the window (with the question about unsaved changes).
  arq->addAction(QStringLiteral("Sai&r"), this, [this] { close(); });
  toolbar_->addSeparator();

  QMenu* ed = menuBar()->addMenu(QStringLiteral("&Editar"));
  QAction* undo = ed->addAction(QStringLiteral("&Undo"), this, cmd([this] {
    if (edit_->document()->isUndoAvailable()) edit_->undo();
  }));
  undo->setIcon(st->standardIcon(QStyle::SP_ArrowBack));
  tip(undo, "Undo");
  ed->addSeparator();
  QAction* cut = ed->addAction(QStringLiteral("&Recortar"), this, cmd([this] { edit_->cut(); }));
  cut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  cut->setIconText(QStringLiteral("Recortar"));
  tip(cut, "Cortar texto selecionado");
  QAction* copy = ed->addAction(QStringLiteral("&Copiar"), this, cmd([this] { edit_->copy(); }));
  copy->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
  copy->setIconText(QStringLiteral("Copiar"));
  tip(copy, "Copiar texto selecionado");
  QAction* paste = ed->addAction(QStringLiteral("Co&lar"), this, cmd([this] { edit_->paste(); }));
  paste->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
  paste->setIconText(QStringLiteral("Colar"));
  tip(paste, "Colar");
  for (QAction* a : {cut, copy, paste}) a->setShortcutContext(Qt::WindowShortcut);
  toolbar_->addSeparator();

  QMenu* fonte = menuBar()->addMenu(QStringLiteral("&Fonte"));
  fontNames_ = new QActionGroup(this);
  for (const char* name : {"&Times New Roman", "&Courier New", "&Arial"}) {
    QAction* a = fonte->addAction(QString::fromUtf8(name));
    a->setCheckable(true);
    fontNames_->addAction(a);
    connect(a, &QAction::triggered, this, [this, a] {
      Guarded([this, a] { SetFontName(a->text().mid(1), a); });
    });
  }
  fontNames_->actions().front()->setChecked(true);
  fonte->addSeparator();
  actBold_ = fonte->addAction(QStringLiteral("&Negrito"));
  actItalic_ = fonte->addAction(QString::fromUtf8("&Itálico"));
  for (QAction* a : {actBold_, actItalic_}) {
    a->setCheckable(true);
    const bool bold = a == actBold_;
    connect(a, &QAction::triggered, this, [this, bold](bool checked) {
      Guarded([this, bold, checked] {
        if (!edit_->textCursor().hasSelection()) return;
        ApplyToSelection([bold, checked](QTextCharFormat& f) {
          if (bold)
            f.setFontWeight(checked ? QFont::Bold : QFont::Normal);
          else
            f.setFontItalic(checked);
        });
      });
    });
  }
  fonte->addSeparator();
  fontSizes_ = new QActionGroup(this);
  const std::pair<const char*, double> sizes[] = {
      {"&Pequena (10)", 10}, {"&Média (14)", 14}, {"&Grande (18)", 18}};
  for (const auto& [caption, size] : sizes) {
    QAction* a = fonte->addAction(QString::fromUtf8(caption));
    a->setCheckable(true);
    a->setData(size);
    fontSizes_->addAction(a);
    const double sz = size;
    connect(a, &QAction::triggered, this, [this, a, sz] { Guarded([this, a, sz] { SetFontSize(sz, a); }); });
  }
  fontSizes_->actions()[1]->setChecked(true);
  fonte->addSeparator();
  fonte->addAction(QStringLiteral("Mais &Fontes..."), this, cmd([this] { MoreFonts(); }));

  QMenu* par = menuBar()->addMenu(QString::fromUtf8("&Parágrafo"));
  actBullets_ = par->addAction(QStringLiteral("&Inserir marcas"), this, cmd([this] { ToggleBullets(); }));
  actBullets_->setIconText(QStringLiteral("Marcas"));
  tip(actBullets_, "Inserir/retirar marcas do parágrafo");
  par->addSeparator();
  alignments_ = new QActionGroup(this);
  actLeft_ = par->addAction(QString::fromUtf8("Alinhado à &Esquerda"));
  actRight_ = par->addAction(QString::fromUtf8("Alinhado à &Direita"));
  actCenter_ = par->addAction(QStringLiteral("&Centralizado"));
  const std::pair<QAction*, Qt::Alignment> aligns[] = {
      {actLeft_, Qt::AlignLeft | Qt::AlignAbsolute},
      {actRight_, Qt::AlignRight | Qt::AlignAbsolute},
      {actCenter_, Qt::AlignHCenter}};
  for (const auto& [a, al] : aligns) {
    a->setCheckable(true);
    alignments_->addAction(a);
    QAction* item = a;
    const Qt::Alignment alignment = al;
    connect(a, &QAction::triggered, this,
            [this, item, alignment] { Guarded([=, this] { SetAlignment(alignment, item); }); });
  }
  actLeft_->setChecked(true);
  // Toolbar alignment buttons: set the alignment without touching the menu.
  const std::tuple<const char*, const char*, Qt::Alignment> toolAligns[] = {
      {"Esquerda", "Alinhar parágrafo à esquerda", Qt::AlignLeft | Qt::AlignAbsolute},
      {"Centro", "Centralizar parágrafo", Qt::AlignHCenter},
      {"Direita", "Alinhar à direita", Qt::AlignRight | Qt::AlignAbsolute}};
  for (const auto& [text, hint, al] : toolAligns) {
    QAction* a = new QAction(QString::fromUtf8(text), this);
    const Qt::Alignment alignment = al;
    connect(a, &QAction::triggered, this,
            [this, alignment] { Guarded([=, this] { SetAlignment(alignment, nullptr); }); });
    tip(a, hint);
  }
  toolbar_->addSeparator();

  // Toolbar bold, italic and underline toggles.
  const std::tuple<const char*, const char*, int> styles[] = {
      {"N", "Negrito no texto selecionado ou no texto todo", 0},
      {"I", "Itálico no texto selecionado ou no texto todo", 1},
      {"S", "Sublinhar o texto selecionado ou no texto todo", 2}};
  for (const auto& [text, hint, which] : styles) {
    QAction* a = new QAction(QString::fromUtf8(text), this);
    QFont f = a->font();
    if (which == 0) f.setBold(true);
    if (which == 1) f.setItalic(true);
    if (which == 2) f.setUnderline(true);
    a->setFont(f);
    const int w = which;
    connect(a, &QAction::triggered, this, [this, w] {
      Guarded([this, w] {
        if (w == 0)
          ToolbarStyle(tbol, [](QTextCharFormat& f, bool on) {
            f.setFontWeight(on ? QFont::Bold : QFont::Normal);
          });
        else if (w == 1)
          ToolbarStyle(tit, [](QTextCharFormat& f, bool on) { f.setFontItalic(on); });
        else
          ToolbarStyle(tsub, [](QTextCharFormat& f, bool on) { f.setFontUnderline(on); });
      });
    });
    tip(a, hint);
  }

  QMenu* op = menuBar()->addMenu(QString::fromUtf8("&Opções"));
  op->addAction(QStringLiteral("Cor de &Fundo..."), this, cmd([this] { BackgroundColor(); }));
  actReadOnly_ = op->addAction(QStringLiteral("Somente &Leitura"));
  actReadOnly_->setCheckable(true);
  connect(actReadOnly_, &QAction::triggered, this, [this] {
    edit_->setReadOnly(!edit_->isReadOnly());
    actReadOnly_->setChecked(edit_->isReadOnly());
  });
  op->addAction(QStringLiteral("&Conta caracteres..."), this, cmd([this] { form_.ContaCaracteres(); }));

  QMenu* aj = menuBar()->addMenu(QStringLiteral("Aj&uda"));
  aj->addAction(QString::fromUtf8("&Sobre o relatório..."), this, cmd([this] { form_.SobreRelatorio(); }));
}

// ------------------------------------------------------------------ buffered text

void NotaRichWindow::TextReplaced() {
  pendingReplace_ = true;
  pendingFrom_ = kNoPending;
  ScheduleFlush();
}

void NotaRichWindow::TextAppended(std::size_t from) {
  if (!pendingReplace_ && pendingFrom_ == kNoPending) pendingFrom_ = from;
  ScheduleFlush();
}

std::string NotaRichWindow::EditedText() {
  return FromQtPlain(edit_->document()->toPlainText());
}

void NotaRichWindow::StateChanged() {
  setWindowTitle(QString::fromStdString(report_.caption));
  // A new font size for the report's text (a file opened keeps its own fonts).
  if (appliedFontSize_ != report_.fontSize) ApplyReportFont();
}

void NotaRichWindow::ScheduleFlush() {
  if (flushScheduled_ || !isVisible()) return;
  flushScheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    flushScheduled_ = false;
    Flush();
  });
}

void NotaRichWindow::Flush() {
  if (!pendingReplace_ && pendingFrom_ == kNoPending) return;
  QTextDocument* doc = edit_->document();
  programmatic_ = true;
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  const std::string& text = report_.Text();
  if (pendingReplace_) {
    doc->setPlainText(ToQtPlain(text));
  } else if (pendingFrom_ < text.size()) {
    QTextCursor c(doc);
    c.movePosition(QTextCursor::End);
    c.insertText(ToQtPlain(std::string_view(text).substr(pendingFrom_)), QTextCharFormat());
  }
  doc->setUndoRedoEnabled(undo);
  pendingReplace_ = false;
  pendingFrom_ = kNoPending;
  programmatic_ = false;
}

RichDocument NotaRichWindow::Document() {
  Flush();
  return ToRichDocument(*edit_->document());
}

void NotaRichWindow::LoadDocument(const RichDocument& doc) {
  programmatic_ = true;
  pendingReplace_ = false;
  pendingFrom_ = kNoPending;
  LoadRichDocument(*edit_->document(), doc);
  programmatic_ = false;
}

// ------------------------------------------------------------------ events

void NotaRichWindow::closeEvent(QCloseEvent* event) {
  Flush();
  if (g_shuttingDown) {
    event->accept();
    return;
  }
  bool mayClose = false;
  RunCommand(prompter_, [&] { mayClose = form_.CanClose(); });
  if (mayClose)
    event->accept();
  else
    event->ignore();
}

void NotaRichWindow::showEvent(QShowEvent* event) {
  Flush();
  QMainWindow::showEvent(event);
}

void NotaRichWindow::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  emit hidden();
}

bool NotaRichWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
    case QEvent::DragEnter:
    case QEvent::Drop:
    case QEvent::InputMethod:
      Flush();
      break;
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------ formatting

void NotaRichWindow::ApplyToSelection(const std::function<void(QTextCharFormat&)>& change) {
  QTextCharFormat f;
  change(f);
  QTextCursor c = edit_->textCursor();
  if (c.hasSelection()) c.mergeCharFormat(f);
}

void NotaRichWindow::ToolbarStyle(bool& field, const std::function<void(QTextCharFormat&, bool)>& set) {
  QTextCharFormat f;
  set(f, field);
  QTextCursor c = edit_->textCursor();
  if (c.hasSelection()) {
    c.mergeCharFormat(f);
  } else {
    QTextCursor all(edit_->document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(f);
    edit_->mergeCurrentCharFormat(f);
  }
  field = !field;
}

void NotaRichWindow::SetFontName(const QString& name, QAction* item) {
  ApplyToSelection([&](QTextCharFormat& f) { f.setFontFamilies(QStringList{name}); });
  item->setChecked(true);
}

void NotaRichWindow::SetFontSize(double size, QAction* item) {
  ApplyToSelection([&](QTextCharFormat& f) { f.setFontPointSize(size); });
  item->setChecked(true);
}

void NotaRichWindow::SetAlignment(Qt::Alignment a, QAction* item) {
  edit_->setAlignment(a);
  if (item) item->setChecked(true);
}

void NotaRichWindow::ToggleBullets() {
  QTextCursor c = edit_->textCursor();
  QTextList* list = c.currentList();
  if (list) {
    list->remove(c.block());
    QTextBlockFormat bf = c.blockFormat();
    bf.setIndent(0);
    c.setBlockFormat(bf);
    actBullets_->setText(QStringLiteral("&Inserir marcas"));
  } else {
    c.createList(QTextListFormat::ListDisc);
    actBullets_->setText(QStringLiteral("&Retirar marcas"));
  }
}

void NotaRichWindow::MoreFonts() {
  const QTextCharFormat cur = edit_->currentCharFormat();
  const QFont f = cur.font().resolve(edit_->document()->defaultFont());
  FontChoice initial;
  const QStringList fams = cur.fontFamilies().toStringList();
  initial.family = (fams.isEmpty() ? f.family() : fams.front()).toStdString();
  initial.pointSize = f.pointSizeF();
  initial.bold = f.bold();
  initial.italic = f.italic();
  initial.underline = f.underline();
  if (cur.foreground().style() != Qt::NoBrush) {
    const QColor c = cur.foreground().color();
    initial.color = {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                     static_cast<std::uint8_t>(c.blue())};
  }
  const auto chosen = prompter_.ChooseFont(initial);
  if (chosen) {
    CharFormat cf;
    cf.font = chosen->family;
    cf.size = chosen->pointSize;
    cf.bold = chosen->bold;
    cf.italic = chosen->italic;
    cf.underline = chosen->underline;
    cf.color = chosen->color;
    QTextCharFormat q = ToQtFormat(cf);
    q.setForeground(QColor(cf.color.r, cf.color.g, cf.color.b));
    edit_->mergeCurrentCharFormat(q);
  }
  SelectionChanged();
}

void NotaRichWindow::BackgroundColor() {
  const QColor cur = edit_->palette().color(QPalette::Base);
  const auto chosen = prompter_.ChooseColor(
      {static_cast<std::uint8_t>(cur.red()), static_cast<std::uint8_t>(cur.green()),
       static_cast<std::uint8_t>(cur.blue())});
  if (!chosen) return;
  QPalette p = edit_->palette();
  p.setColor(QPalette::Base, QColor(chosen->r, chosen->g, chosen->b));
  edit_->setPalette(p);
}

void NotaRichWindow::SelectionChanged() {
  if (!edit_) return;
  const QTextCharFormat cur = edit_->currentCharFormat();
  const QFont def = edit_->document()->defaultFont();
  const QFont f = cur.font().resolve(def);
  const QStringList fams = cur.fontFamilies().toStringList();
  const QString family = fams.isEmpty() ? def.family() : fams.front();
  for (QAction* a : fontNames_->actions())
    if (a->text() == QLatin1Char('&') + family) a->setChecked(true);
  actItalic_->setChecked(f.italic());
  actBold_->setChecked(f.weight() >= QFont::DemiBold);
  for (QAction* a : fontSizes_->actions())
    if (a->data().toDouble() == f.pointSizeF()) a->setChecked(true);
  const Qt::Alignment al = edit_->alignment();
  if (al & Qt::AlignRight)
    actRight_->setChecked(true);
  else if (al & Qt::AlignHCenter)
    actCenter_->setChecked(true);
  else
    actLeft_->setChecked(true);
}

// ------------------------------------------------------------------ printing

void NotaRichWindow::PrintTo(QPrinter& printer) {
  Flush();
  printer.setDocName(QString::fromStdString(report_.NomeArq));
  edit_->document()->print(&printer);
}

void NotaRichWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  bool go = false;
  if (printDialog_) {
    go = printDialog_(printer);
  } else {
    QPrintDialog dlg(&printer, this);
    go = dlg.exec() == QDialog::Accepted;
  }
  if (go) PrintTo(printer);
}

}  // namespace tolmex::shell::ui
