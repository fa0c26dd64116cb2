#pragma once
// The "&Importar" and "&Exportar" commands of the data-table window's menu bar.
class QMenuBar;

namespace tolmex::shell {
class Prompter;
}

namespace tolmex::data {
class TGraphForm;

// Adds both commands, in this order, at the end of the menu bar.
void AddExchangeCommands(QMenuBar* bar, TGraphForm& form, shell::Prompter& prompter);

}  // namespace tolmex::data
