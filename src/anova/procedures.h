#pragma once
// What the analysis-of-variance computation hands to the procedures that follow each
// table (tests of means, Scott-Knott, contrasts, regression on levels, splitting), and the
// ports those procedures reach the person through.
//
// After printing the table of response v under analysis t, RunAnova calls, for every
// model line fv that is not an error term, ctx.testesMediasFV(ctx, v, t, fv) when it is
// set. DefaultProcedures() gives the implementations linked into the program: the
// tests-of-means module defines TestesMediasFV (declared below) in src/anova/means/ and
// provides the header "anova/means/testes_medias.h"; when that header exists the
// default procedures call it.
//
// When the call runs, ctx.state holds that analysis: Tabela_ANAVA, Total, med, n_obsg,
// var_atual = v, transf_atual = t, and aq_tab1 is restricted to the rows taking part in
// it (rows with an empty response cell are not records). The response value of a record
// is ResponseValue(ctx, record).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "anova/anova_state.h"

namespace tolmex::data {
class DataTable;
}
namespace tolmex::shell {
class Prompter;
class Report;
class WindowHost;
}  // namespace tolmex::shell

namespace tolmex::anova {

// The coefficients of one contrast among the levels of an FV, typed in the contrasts
// dialog (GUI) or given by the batch runner's options.
struct ContrastRequest {
  std::string fvName;               // the FV's line
  std::string variable;             // "Variável " + response name
  std::vector<std::string> levels;  // level labels, in level order
  std::string context;              // extra label (the level conditioned on, when splitting)
  int fv = 0, slot = 0;
};
struct ContrastAnswer {
  std::vector<std::string> coefficients;  // as typed, in level order
  bool finalizou = false;                 // closed with "Finalizar" (last contrast)
  bool Ach_erro = false;                  // the coefficients were rejected
};
class ContrastPort {
 public:
  virtual ~ContrastPort() = default;
  // One contrast; nullopt when nothing more is asked (batch without more contrasts).
  virtual std::optional<ContrastAnswer> AskContrast(const ContrastRequest& request) = 0;
};

struct AnovaContext;
using TestesMediasFn = std::function<void(AnovaContext& ctx, int v, int t, int fv)>;

struct AnovaContext {
  AnovaState& state;
  const data::DataTable& table;  // the data table (column types, file order)
  shell::Report& report;         // the run report
  shell::Prompter& prompter;
  shell::WindowHost* host = nullptr;     // null in the batch runner
  ContrastPort* contrasts = nullptr;     // null: no contrast is asked
  TestesMediasFn testesMediasFV;         // empty: nothing runs after the tables
};

// The transformed response of a record (1-based, current order) of the analysis now
// running: Transform of the response cell under ctx.state.transf_atual.
double ResponseValue(AnovaContext& ctx, int record);

// Implemented by the tests-of-means module: the options of FV fv after the table of
// response v, analysis t.
void TestesMediasFV(AnovaContext& ctx, int v, int t, int fv);

// The procedures linked into the program (empty function when none is).
TestesMediasFn DefaultProcedures();

}  // namespace tolmex::anova
