#pragma once
// The computation of an analysis-of-variance run: for every response and every analysis
// of it (untransformed, then each transformation), the corrected total, the sums of
// squares and degrees of freedom of every model line by cell subtotals, the residual, the
// F tests against the error terms, and the printed table; then the options of every
// source (ctx.testesMediasFV).
//
// A cell of a term is a combination of levels of ALL its factors; a row whose response
// cell is empty takes no part in that response's analysis.
#include <vector>

#include "anova/procedures.h"

namespace tolmex::anova {

// Copies the data table into st.aq_tab1. Refuses tables of more than 60 columns with the
// message, setting tem_erro.
bool CopyToScratch(AnovaState& st, const data::DataTable& table, shell::Prompter& prompter);

// The whole computation (the name check first).
void RunAnova(AnovaContext& ctx);

// The steps, for tests and for the procedures that follow the table.
// Totals of response v under analysis t: Total, med, n_obsg, and the scratch table
// restricted to the rows taking part. False (with the message) outside the
// transformation's domain, or when the response is not a numeric column.
bool TotalsOfResponse(AnovaContext& ctx, int v, int t);
// gl, sq, qm of model lines 1 .. nfv - 1 (after TotalsOfResponse).
void SumsOfSquares(AnovaContext& ctx, int v, int t);
void ResidualLine(AnovaState& st);
void PrintAnovaTable(AnovaContext& ctx, int v, int t);

// Sum over the cells of the given columns of T^2/m minus G^2/N of the analysis now
// running, and the number of cells (records restricted as by TotalsOfResponse).
struct CellSums {
  double ss = 0.0;
  int cells = 0;
};
CellSums CellSS(AnovaContext& ctx, const std::vector<int>& columns);

// Next subset of s positions out of 1 .. k in lexicographic order, in st.Vet_comb[1 .. s].
// Before the first subset set Vet_comb = (1, 2, ..., s - 1, s - 1) with StartCombination.
void StartCombination(AnovaState& st, int s);
void NextCombination(AnovaState& st, int k, int s);

}  // namespace tolmex::anova
