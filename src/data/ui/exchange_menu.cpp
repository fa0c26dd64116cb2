#include "data/ui/exchange_menu.h"

#include <QAction>
#include <QMenuBar>

#include "data/exchange/exchange_commands.h"
#include "data/exchange/graph_form_exchange.h"
#include "data/graph_form.h"

namespace tolmex::data {

void AddExchangeCommands(QMenuBar* bar, TGraphForm& form, shell::Prompter& prompter) {
  auto run = [&form, &prompter](bool import) {
    exchange::GraphFormExchange window(form);
    exchange::ExchangeCommands commands(window, prompter, form.ExeDir);
    if (import)
      commands.Importar();
    else
      commands.Exportar();
  };
  QAction* importar = bar->addAction(QString::fromUtf8("&Importar"));
  QObject::connect(importar, &QAction::triggered, bar, [run] { run(true); });
  QAction* exportar = bar->addAction(QString::fromUtf8("&Exportar"));
  QObject::connect(exportar, &QAction::triggered, bar, [run] { run(false); });
}

}  // namespace tolmex::data
