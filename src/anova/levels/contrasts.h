#pragma once
// Contrasts among the level means of a source of variation: estimate, t and F tests, the
// Scheffé critical difference and exact probability, the report of each contrast and the
// analysis-of-variance table of all contrasts of one run of the dialog.
#include <string>
#include <vector>

#include "anova/levels/level_types.h"

#include "anova/procedures.h"

namespace tolmex::shell {
class Report;
}  // namespace tolmex::shell

namespace tolmex::anova::levels {

// What the contrasts of one source see: its levels in first-appearance order.
struct ContrastContext {
  std::string fvColumnName;          // name of the source's column ("Contraste para a FV ")
  std::vector<std::string> labels;   // level labels, as listed in the dialog
  std::vector<double> means;         // level means, same order
  double r = 1;                      // harmonic mean of the level counts
  ErrorLine erro;
  double alphaOption = 0.05;         // significance level of the option slot
  Copy copy = Copy::Main;
};

struct ContrastResult {
  double P = 0, N = 0;        // sums of the positive coefficients and of |negative| ones
  double Y = 0;               // estimate
  double V = 0, s = 0;        // variance and standard error
  double t = 0, prT = 0;      // t and Pr>|t|
  double F = 0, prF = 0;      // F = t² and Pr>F
  double dms = 0, prScheffe = 0;
  double alpha = 0.05;        // significance level used
  std::string block;          // report of this contrast
  std::string tableLine;      // its line of the table of contrasts
};

// Label of a numeric level in the dialog's list and the contrast report.
std::string ContrastLevelLabel(double x);

// Contrast number n with coefficients c (c[i] for level i; fewer than k coefficients leave
// the remaining levels out).
ContrastResult CalculaContraste(const ContrastContext& ctx, int n, const std::vector<double>& c);

// Table of contrasts around the contrast lines.
std::string TabelaContrastes(const std::vector<std::string>& lines, const ErrorLine& erro);

// The whole option: asks the port for one contrast after another until the person
// finishes, computes every accepted one, writes their reports and then the table of
// contrasts to `out`. Coefficients that do not form a contrast (fewer than two, not numbers,
// more than the levels, not adding up to zero) are skipped: the dialog has already said so.
// Returns the number of contrasts computed; `alpha` receives the level of the last one.
int ContrastesFV(const ContrastContext& ctx, ContrastPort& port, const ContrastRequest& request,
                 shell::Report& out, double& alpha);

}  // namespace tolmex::anova::levels
