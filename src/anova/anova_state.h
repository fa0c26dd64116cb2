#pragma once
// The analysis-of-variance state: the record the model window holds for a whole run.
// The model window fills the model, the run set-up dialogs the options, responses and
// transformations, the computation the table; the procedures that follow the table (tests
// of means, contrasts, regression on levels, splitting) read it.
//
// Indices follow the program's numbering: an FV index is the 1-based position of a line in
// the model list (1 .. 200), a slot is 1 .. 7, a response 1 .. nva. Index 0 of the arrays
// is not used, except byte 0 of Op_FV / Op_VarToAna / Op_Reg (the counts).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "anova/scratch_table.h"

namespace tolmex::anova {

inline constexpr int kMaxFV = 200;       // model lines, "Fim" included
inline constexpr int kMaxSlots = 7;      // options per FV
inline constexpr int kMaxFactors = 12;   // factors of an interaction or nested term
inline constexpr int kMaxTransforms = 5; // transformations per response
inline constexpr int kMaxRegTerms = 10;  // regression terms per slot

// Option codes of a slot.
enum OptionCode : std::uint8_t {
  kNenhumTeste = 0,
  kTukey = 1,
  kSNK = 2,
  kBonferroni = 3,
  kLSD = 4,
  kScottKnott = 5,
  kContrastes = 6,
  kRegressao = 7,
  kWallerDuncan = 8,
};

// Kinds of model lines (identifica_FV).
enum FvKind : std::uint8_t {
  kMainEffect = 1,
  kInteraction = 2,
  kNested = 3,
  kErrorTerm = 4,
};

// One line of an analysis-of-variance table.
struct Var_Q_Anava {
  std::int32_t gl = 0;
  double sq = 0.0;
  double qm = 0.0;
  double f = 0.0;
  double prf = 0.0;
};

// Complex-variance record of a slot: VC = [QMEa + b*QMEb] / k, QMEa and QMEb the mean
// squares of the error terms of orders QMEa and QMEb (1 = first error term of the model).
struct VarComplexa {
  double QMEa = 0.0;
  double QMEb = 0.0;
  double b = 0.0;
  double k = 0.0;
  std::uint8_t usa = 0;  // 1 = use VC as the error of the slot
};

struct AnovaState {
  // ---- model (model window) ----
  std::int32_t nfv = 0;        // lines of LB_Anova; after "Fim" it counts the closing line
  std::int32_t num_erros = 1;  // error terms: the residual plus one per "erro=" line
  std::int32_t nva = 0;        // responses chosen
  bool erro = false;           // a check of the model failed
  bool tem_erro = false;       // abort flag of the run
  bool press_fim = false;      // the model was closed with "Fim"
  std::vector<std::string> LB_Anova;           // model lines as typed, "Fim" last
  std::vector<std::string> ListBox_Variaveis;  // columns of the table opened in the window

  // ---- run set-up ----
  std::array<std::array<std::uint8_t, kMaxSlots + 1>, kMaxFV + 1> Op_FV{};   // [fv][0]=count
  std::array<std::array<std::uint8_t, kMaxSlots + 1>, kMaxFV + 1> Op_FVC{};  // [fv][slot]
  std::array<std::uint8_t, kMaxFV + 1> identifica_FV{};                      // [fv]
  std::array<std::array<VarComplexa, kMaxSlots + 1>, kMaxFV + 1> OP_VarComp{};
  std::array<std::array<double, kMaxSlots + 1>, kMaxFV + 1> Op_Alpha{};
  std::array<std::array<std::uint8_t, kMaxTransforms + 1>, kMaxFV + 1> Op_VarToAna{};  // [v]
  std::array<std::array<std::array<std::uint8_t, kMaxRegTerms + 1>, kMaxSlots + 1>, kMaxFV + 1>
      Op_Reg{};  // [fv][slot][0]=count, [1..] term codes ascending
  std::vector<std::string> responses;  // names of the chosen responses, 1..nva at [v-1]

  // ---- table of the analysis being done ----
  std::array<Var_Q_Anava, kMaxFV + 1> Tabela_ANAVA{};  // [fv]
  Var_Q_Anava Total{};
  std::array<std::int32_t, kMaxFV + 1> Vet_comb{};
  double CV = 0.0;
  double med = 0.0;
  double n_obsg = 0.0;
  double alpha = 0.05;
  double k_waller = 100.0;
  double t_waller = 0.0;

  // ---- scratch table and the analysis now running ----
  ScratchTable aq_tab1;
  int var_atual = 0;     // response being analysed, 1..nva
  int transf_atual = 0;  // analysis of it: 1 untransformed, 2.. the stored transformations
  int excluidas = 0;     // rows left out of this analysis (empty response cell)
  // Transformed response of the analysis now running, by data-table row (0-based); only
  // the rows taking part (the records of aq_tab1) hold meaningful values.
  std::vector<double> Y;
};

// The model line i (1-based) text.
inline const std::string& Linha(const AnovaState& st, int fv) {
  return st.LB_Anova.at(static_cast<std::size_t>(fv - 1));
}

}  // namespace tolmex::anova
