#include "batch/batch_run.h"

#include <memory>
#include <stdexcept>

#include "batch/batch_cli.h"
#include "batch/batch_host.h"
#include "batch/batch_prompter.h"
#include "data/exchange/csv.h"
#include "data/exchange/exchange_common.h"
#include "data/exchange/ods.h"
#include "data/exchange/xlsx.h"
#include "data/table_file.h"
#include "shell/app_state.h"
#include "shell/chains/anova_chain.h"
#include "shell/file_io.h"
#include "shell/random.h"
#include "shell/report_form.h"

namespace tolmex::batch {

namespace {

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

}  // namespace

data::DataTable ReadInputTable(const std::string& path) {
  const std::string ext = LowerExtension(path);
  try {
    if (ext == ".fdt") {
      data::DataTable table;
      data::LoadTableFile(path, table);
      return table;
    }
    if (ext == ".csv" || ext == ".ods" || ext == ".xlsx") {
      const std::string bytes = data::exchange::ReadFileBytes(path);
      data::exchange::ImportResult r = ext == ".csv"   ? data::exchange::ReadCsv(bytes)
                                       : ext == ".ods" ? data::exchange::ReadOds(bytes)
                                                       : data::exchange::ReadXlsx(bytes);
      if (!r.read) throw BatchRefusal("--tabela \"" + path + "\": o arquivo não tem dados");
      return std::move(r.table);
    }
  } catch (const data::DataError& e) {
    throw BatchRefusal("--tabela \"" + path + "\": " + e.what());
  }
  throw BatchRefusal("--tabela \"" + path + "\": use um arquivo .fdt, .csv, .ods ou .xlsx");
}

void WriteReport(const BatchOptions& o, shell::Report& report, shell::Prompter& prompter,
                 std::ostream& out) {
  switch (o.outputKind) {
    case OutputKind::Stdout: {
      const std::string& t = report.Text();
      std::string lf;
      lf.reserve(t.size());
      for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') continue;
        lf.push_back(t[i]);
      }
      out << lf;
      out.flush();
      if (!out) throw std::runtime_error("falha ao escrever o relatório na saída padrão");
      return;
    }
    case OutputKind::Text:
      shell::WriteFileAtomic(o.saida, report.Text());
      return;
    case OutputKind::Rtf: {
      // Saved as the report window saves it.
      report.NomeArq = o.saida;
      shell::TFormNotaRich window(report, prompter);
      window.Salvar();
      return;
    }
  }
}

int Run(const BatchOptions& o, std::ostream& out, std::ostream& err) {
  data::DataTable table = ReadInputTable(o.tabela);
  if (o.semente) shell::GlobalRandom().Seed(*o.semente);

  BatchPrompter prompter(err);
  BatchWindowHost host(o, prompter, table);
  BatchTableSource source(table, o.tabela);
  shell::AppState app(prompter, host);
  auto windows = std::make_unique<chains::AnovaWindows>(source, prompter, host);
  chains::AnovaChainPorts ports{prompter, host, source, app.FormNotaRich,
                                [&app]() -> shell::Report& { return app.NewRunReport(); },
                                &host.Contrasts()};
  int problemsBefore = 0;
  host.OnSetupDone([&] { problemsBefore = prompter.Problems(); });
  try {
    chains::RunAnovaChain(*windows, ports);
  } catch (const BatchRefusal&) {
    if (!host.SetupDone()) throw;
    windows->state.tem_erro = true;
  }
  if (!host.SetupDone()) {
    // The chain stopped in a window: the window's messages said why.
    err << "tolmex-batch: análise não executada (entrada recusada)\n";
    return kExitRefused;
  }
  shell::Report* report = host.ShownReport();
  if (!report) {
    err << "tolmex-batch: o relatório não foi produzido\n";
    return kExitFailure;
  }
  WriteReport(o, *report, prompter, out);
  // A warning or an error box during the computation means that part of what was asked
  // was not done (an analysis skipped, a slot that failed): the report is kept, but the
  // run is not a success.
  if (windows->state.tem_erro || host.Failed() || !prompter.Unforeseen().empty() ||
      prompter.Problems() > problemsBefore) {
    err << "tolmex-batch: a análise foi interrompida; o relatório está incompleto\n";
    return kExitFailure;
  }
  return kExitOk;
}

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const CommandLine cl = ParseCommandLine(args);
    if (cl.help) {
      out << HelpText();
      return kExitOk;
    }
    return Run(cl.options, out, err);
  } catch (const BatchRefusal& e) {
    err << "tolmex-batch: " << e.what() << '\n';
    return kExitRefused;
  } catch (const std::exception& e) {
    err << "tolmex-batch: " << e.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace tolmex::batch
