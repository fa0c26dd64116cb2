#pragma once
// Regression of the level means of a quantitative factor on functions of the level value:
// the sequence of reduced models (first term, first two terms, ...), each with its
// parameter table, R² and estimated means, and the table of sequential sums of squares.
// Sums of squares are those of the level means times r, on the scale of the analysis of
// variance, tested against its error mean square.
#include <array>
#include <string>
#include <vector>

#include "anova/levels/level_types.h"

namespace tolmex::anova::levels {

inline constexpr int kMaxRegressionTerms = 10;
inline constexpr int kRegressionTermCodes = 24;

// Report name of term `code` (1 .. 24; any other code is X).
std::string NomeTermo(int code);
// Caption of term `code` in the model dialog (1 .. 24).
std::string LegendaTermo(int code);
// Value of term `code` at level value x. Unsuitable values give infinities or NaN.
double ValorTermo(int code, double x);

// The cross-product matrix and the sweep: intercept at index 0, terms 1 .. p, the response
// at p + 1. Only the upper triangle is read and written.
struct MatrizVarredura {
  static constexpr int kDim = 12;
  std::array<std::array<double, kDim>, kDim> XX{};
  std::array<int, kDim> sinal{};
  std::array<bool, kDim> singular{};
  std::array<double, kDim> tol{};
  int m = 0;  // p + 2

  void IniciaVarredura();
  void Varredura(int n);
};

struct RegressionLevelsInput {
  std::string fvColumnName;   // "Regressão para a FV " + this
  std::vector<double> x;      // level values, levels in first-appearance order
  std::vector<double> means;  // level means, same order
  double r = 1;               // harmonic mean of the level counts
  ErrorLine erro;
  std::vector<int> terms;     // term codes, 1 .. 10 of them
  Copy copy = Copy::Main;
};

struct RegressionModel {  // one reduced model, terms 1 .. q
  std::vector<double> estimate, se, t, prT;
  double R2 = 0;
  std::vector<double> estimated;  // estimated mean of each level
  std::vector<int> collinear;     // parameters reported collinear at this step
};

struct RegressionLevelsResult {
  std::vector<RegressionModel> models;  // q = 1 .. p
  std::vector<double> SQseq, SQres;     // indices 0 .. p
  std::vector<bool> singular;           // per parameter 0 .. p
  int npar = 0;
  int dfDesvio = 0;
  std::string text;
};

// Throws std::invalid_argument for a model without terms or with more than ten.
RegressionLevelsResult RegressaoNiveis(const RegressionLevelsInput& in);

}  // namespace tolmex::anova::levels
