#include "shell/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QPieSeries>
#include <QPieSlice>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "shell/random.h"
#include "shell/ui/notarich_window.h"
#include "shell/ui/qt_window_host.h"

#ifndef TOLMEX_VERSION
#define TOLMEX_VERSION ""
#endif
#ifndef TOLMEX_SOURCE_DIR
#define TOLMEX_SOURCE_DIR ""
#endif

namespace tolmex::shell::ui {

// ------------------------------------------------------------------ chart

DecorativeChart::DecorativeChart(Prompter& prompter, QWidget* parent)
    : QChartView(parent), prompter_(prompter) {
  auto* chart = new QChart();
  chart->setTitle(QStringLiteral("Tolmex"));
  QFont tf = chart->titleFont();
  tf.setPointSize(20);
  tf.setBold(true);
  chart->setTitleFont(tf);
  chart->setTitleBrush(QColor(0x00, 0x80, 0x80));  // teal
  chart->legend()->hide();
  chart->setBackgroundBrush(Qt::white);

  // Red, green, yellow, purple, aqua, white; each 0.5 + 0.3·u.
  const QColor colors[] = {QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x80, 0x00),
                           QColor(0xFF, 0xFF, 0x00), QColor(0x80, 0x00, 0x80),
                           QColor(0x00, 0xFF, 0xFF), QColor(0xFF, 0xFF, 0xFF)};
  Random& rng = GlobalRandom();
  rng.Randomize();
  double sizes[6];
  for (double& s : sizes) s = 0.5 + 0.3 * rng.NextDouble();

  // Depth: the same pie stacked a few times, lower layers darker, the top one in full colour.
  constexpr int kLayers = 14;
  for (int layer = 0; layer < kLayers; ++layer) {
    auto* series = new QPieSeries();
    const bool top = layer == kLayers - 1;
    for (int k = 0; k < 6; ++k) {
      QPieSlice* slice = series->append(QStringLiteral("Prod"), sizes[k]);
      slice->setLabelVisible(false);
      slice->setColor(top ? colors[k] : colors[k].darker(k == 5 ? 125 : 160));
      slice->setBorderColor(top ? QColor(0x40, 0x40, 0x40) : colors[k].darker(k == 5 ? 140 : 190));
      slice->setBorderWidth(top ? 1 : 0);
    }
    series->setPieSize(0.72);
    series->setHorizontalPosition(0.5);
    series->setVerticalPosition(0.52 - 0.0035 * (layer - kLayers / 2));
    series->setPieStartAngle(20);
    series->setPieEndAngle(380);
    chart->addSeries(series);
  }
  setChart(chart);
  setRenderHint(QPainter::Antialiasing);
}

QColor DecorativeChart::Background() const { return chart()->backgroundBrush().color(); }

void DecorativeChart::SetBackground(const QColor& c) { chart()->setBackgroundBrush(c); }

void DecorativeChart::mouseDoubleClickEvent(QMouseEvent* event) {
  const QColor cur = Background();
  RunCommand(prompter_, [&] {
    const auto chosen = prompter_.ChooseColor(
        {static_cast<std::uint8_t>(cur.red()), static_cast<std::uint8_t>(cur.green()),
         static_cast<std::uint8_t>(cur.blue())});
    if (chosen) SetBackground(QColor(chosen->r, chosen->g, chosen->b));
  });
  event->accept();
}

// ------------------------------------------------------------------ main window

TTolmex1::TTolmex1(AppState& app, QtWindowHost& host, QWidget* parent)
    : QMainWindow(parent), app_(app), host_(host) {
  setObjectName(QStringLiteral("TTolmex1"));
  setWindowTitle(QStringLiteral("Tolmex"));
  chart_ = new DecorativeChart(app_.prompter(), this);
  setCentralWidget(chart_);
  BuildMenu();
  resize(720, 540);
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect r = s->availableGeometry();
    move(r.center() - rect().center());
  }
}

void TTolmex1::BuildMenu() {
  auto item = [this](QMenu* menu, MenuCommand id, const char* caption) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, [this, id] {
      auto it = commands_.find(id);
      if (it == commands_.end() || !it->second) return;
      const auto command = it->second;
      RunCommand(app_.prompter(), command);
    });
    actions_[id] = a;
  };

  QMenu* arq = menuBar()->addMenu(QStringLiteral("Arq&uivo"));
  item(arq, MenuCommand::Manipular, "&Manipular");
  arq->addSeparator();
  arq->addAction(QStringLiteral("&Sair"), this, [this] { close(); });

  QMenu* an = menuBar()->addMenu(QString::fromUtf8("&Análise"));
  item(an, MenuCommand::Anava, "&Anava");
  item(an, MenuCommand::PlanosExperimentais, "&Planos experimentais");
  item(an, MenuCommand::EstimadorKernel, "Estimador kernel de &densidades");
  item(an, MenuCommand::EstatisticasDescritivas, "&Estatísticas descritivas");
  QMenu* sw = an->addMenu(QStringLiteral("Shapiro &Wilk"));
  item(sw, MenuCommand::ShapiroAplicar, "&Aplicar a uma amostra");
  item(sw, MenuCommand::ShapiroCalcularAi, "&Calcular a(i)");
  item(sw, MenuCommand::ShapiroProbabilidade, "Calcular &probabilidade");
  item(an, MenuCommand::CalculoProbabilidade, "&Cálculo de probabilidade");
  item(an, MenuCommand::Estimacao, "E&stimação");
  item(an, MenuCommand::TestesHipoteses, "&Testes de hipóteses");
  item(an, MenuCommand::RegressaoLinear, "&Regressão linear");
  item(an, MenuCommand::SelecaoModelos, "Se&leção de modelos");
  item(an, MenuCommand::ComparacoesMultiplas, "Comparações múltiplas (bootstrap)");

  menuBar()->addAction(QString::fromUtf8("&Relatório"), this, [this] {
    RunCommand(app_.prompter(), [this] { app_.ShowReport(app_.FormNotaRich); });
  });

  QMenu* aux = menuBar()->addMenu(QStringLiteral("Au&xílio"));
  aux->addAction(QString::fromUtf8("&Conteúdo"), this, [this] { OpenHelp(); });
  aux->addAction(QStringLiteral("&Sobre o Tolmex"), this, [this] { About(); });
}

void TTolmex1::SetCommand(MenuCommand id, std::function<void()> command) {
  const bool on = static_cast<bool>(command);
  commands_[id] = std::move(command);
  if (QAction* a = Action(id)) a->setEnabled(on);
}

QAction* TTolmex1::Action(MenuCommand id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* TTolmex1::FindAction(const QString& caption) const {
  for (QAction* a : menuBar()->findChildren<QAction*>())
    if (a->text() == caption) return a;
  for (QAction* a : menuBar()->actions())
    if (a->text() == caption) return a;
  return nullptr;
}

QString TTolmex1::OpenHelp() {
  const std::string guide = FindUserGuide(QCoreApplication::applicationDirPath().toStdString(),
                                          TOLMEX_SOURCE_DIR);
  if (guide.empty()) return {};
  const QString path = QString::fromStdString(guide);
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  return path;
}

QDialog* TTolmex1::CreateAboutBox() {
  auto* box = new QDialog(this);
  box->setObjectName(QStringLiteral("AboutBox"));
  box->setWindowTitle(QStringLiteral("About Tolmex"));
  auto* layout = new QVBoxLayout(box);
  auto* title = new QLabel(QString::fromStdString(AboutTitle(TOLMEX_VERSION)), box);
  title->setObjectName(QStringLiteral("ProductName"));
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 6);
  f.setBold(true);
  title->setFont(f);
  layout->addWidget(title);
  auto* notice = new QLabel(
      QString::fromUtf8("Análise estatística de experimentos agronômicos e biológicos.\n"
                        "Distribuído com o código-fonte, sem qualquer garantia."),
      box);
  layout->addWidget(notice);
  const std::string guide = FindUserGuide(QCoreApplication::applicationDirPath().toStdString(),
                                          TOLMEX_SOURCE_DIR);
  if (!guide.empty()) {
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">Guia do usuário</a>")
                                .arg(QUrl::fromLocalFile(QString::fromStdString(guide)).toString()),
                            box);
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);
    layout->addWidget(link);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
  connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
  layout->addWidget(buttons);
  return box;
}

void TTolmex1::About() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QDialog* box = CreateAboutBox();
  QApplication::restoreOverrideCursor();
  box->exec();
  delete box;
}

void TTolmex1::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  RunCommand(app_.prompter(), [&] { mayClose = app_.CanCloseMainWindow(); });
  if (!mayClose) {
    event->ignore();
    return;
  }
  event->accept();
  // The program ends at once; open reports are not asked about.
  NotaRichWindow::SetShuttingDown(true);
  QCoreApplication::exit(0);
}

}  // namespace tolmex::shell::ui
