#pragma once
// Tests of means on the levels of one factor: Tukey, Student-Newman-Keuls, Bonferroni t,
// LSD t, Waller-Duncan and Scott-Knott (1974), with the table of means and group labels
// they print.
//
// Everything here is a function of plain values, so that the main effects
// (TestesMediasFV) and the splitting of interactions run the same code:
//
//   1. build the level means of the factor (MediasNiveis, or any other way) and r;
//   2. call RunMeansTest with
//        - the option code (1 Tukey, 2 SNK, 3 Bonferroni, 4 LSD, 5 Scott-Knott,
//          8 Waller-Duncan; 0 only sorts),
//        - the name printed in the titles (the FV's column, or the split factor's name),
//        - the error line {gl, qm} the test uses (a complex variance goes here as well),
//        - the F of the treatments (Waller-Duncan: the FV's f, or the combination's Fc),
//        - the Waller-Duncan k-ratio and the title style (MainEffect or Splitting),
//        - references to the slot's significance level, the state's `alpha` and
//          `t_waller` (Tukey and SNK write their clamped level back to the slot's level),
//        - the report the blocks are appended to (CurrentReport, or the splitting's
//          test buffer).
//      It sorts the means in place, computes the groups and prints the whole block.
//
// Errors are not caught here: the main-effect driver catches them per option slot, the
// splitting lets them end the source's options.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "anova/anova_state.h"
#include "shell/report.h"

namespace tolmex::anova {

// True for the codes whose means are sorted before the test (0 to 5 and 8).
bool SortsMeans(std::int32_t code);
// True for the codes RunMeansTest runs (1 to 5 and 8).
bool IsMeansTest(std::int32_t code);

// The mean of one level of the factor.
struct LevelMean {
  double n = 0;               // number of observations
  double media = 0;           // mean of the transformed response
  std::int32_t nivel = 0;     // level number in order of first appearance, 1 ... k
  std::int32_t ultimo = 0;    // record number of the level's last observation
  std::string label;          // the factor's cell in record `ultimo`, as printed
};

// A group: the first and last sorted positions (1-based) of a run of means.
struct Group {
  std::int32_t inicio = 0;
  std::int32_t fim = 0;
  bool operator==(const Group&) const = default;
};

// The error line a test uses: nu = gl, QME = qm.
struct ErrorLine {
  std::int32_t gl = 0;
  double qm = 0;
};

struct LevelMeans {
  std::vector<LevelMean> means;  // in order of first appearance
  double r = 0;                  // harmonic mean of the level counts, k / sum(1/n)
};

// The level means of records first ... last, walked in order: a level is a maximal run of
// records for which same_level(first record of the run, record) holds. value(rec) is the
// transformed response of a record, label(rec) the printed factor cell of a record (called
// with each level's last record). `ultimo` is the record number of the level's last
// observation.
LevelMeans MediasNiveis(std::int32_t first, std::int32_t last,
                        const std::function<bool(std::int32_t, std::int32_t)>& same_level,
                        const std::function<double(std::int32_t)>& value,
                        const std::function<std::string(std::int32_t)>& label);

// Sorts the means in ascending order of `media` with Wirth's quicksort; equal means stay in
// the order the procedure leaves them.
void OrdenaMedias(std::vector<LevelMean>& means);

// The groups of sorted means for a critical difference: from each position the longest run
// whose spread is at most dms, kept when it reaches beyond the previous group.
std::vector<Group> AgrupaMedias(const std::vector<LevelMean>& sorted, double dms);

// Significance levels as the tests use them. NaN counts as out of range.
// Tukey, Bonferroni, LSD and Waller-Duncan: outside (0, 0.5) becomes 0.05.
double NivelAgrupa(double op_alpha);
// Tukey and SNK: clamped to [0.01, 0.1] (Tukey after the rule above).
double NivelTukey(double op_alpha);
double NivelSNK(double op_alpha);
// Scott-Knott: outside (0, 1) becomes 0.05.
double NivelScottKnott(double op_alpha);

// Critical differences (0 when gl <= 0). k is the number of means (or the span for SNK).
double DmsTukey(double alpha, const ErrorLine& e, double r, std::int32_t k);
double DmsBonferroni(double alpha, const ErrorLine& e, double r, std::int32_t k);
double DmsLSD(double alpha, const ErrorLine& e, double r);
// Waller-Duncan: t is the critical t.
double DmsWaller(double t, const ErrorLine& e, double r);
// Waller-Duncan critical t for k means: the treatments' degrees of freedom k - 1 go to
// TCriticoWaller.
double TWallerMedias(double k_waller, std::int32_t k, const ErrorLine& e, double fc);

// Student-Newman-Keuls groups: ranges of s sorted means (s = k down to 2) within DMS_s and
// not inside a group already found, then the uncovered positions as single groups.
// dms_of_span(s) gives DMS_s; it is called once per span, in that order.
std::vector<Group> GruposSNK(const std::vector<LevelMean>& sorted,
                             const std::function<double(std::int32_t)>& dms_of_span);

// Scott-Knott (1974).
struct ParticaoResult {
  std::int32_t s = 0;  // last position of the first group
  double b0 = 0;       // its between-groups sum of squares
  double ssm = 0;      // sum of squares of the means a ... b about their mean
};
// Best split of sorted positions a ... b (1-based, a < b); ties keep the first split.
ParticaoResult ParticaoSK(const std::vector<LevelMean>& sorted, std::int32_t a, std::int32_t b);
// Recursive division of positions a ... b; appends the groups in left-to-right order.
void DivideSK(const std::vector<LevelMean>& sorted, std::int32_t a, std::int32_t b, double alpha,
              const ErrorLine& e, double r, std::vector<Group>& groups);
// The groups of all k sorted means at level alpha.
std::vector<Group> GruposScottKnott(const std::vector<LevelMean>& sorted, double alpha,
                                    const ErrorLine& e, double r);

// The 30-character label column of a level.
std::string RotuloNivel(std::string_view label);
// One line of the table of means (without the line end): the label, the mean and the group
// labels "a1 ", "a2 ", ... ; an absent group is three spaces, or nothing when
// only_own_group (Scott-Knott).
std::string LinhaMedia(const LevelMean& m, std::int32_t position, const std::vector<Group>& groups,
                       bool only_own_group);
// The common block: r, standard error, the table header and one line per sorted mean.
void ImprimeTabelaMedias(shell::Report& out, const std::vector<LevelMean>& sorted, double r,
                         const ErrorLine& e, const std::vector<Group>& groups,
                         bool only_own_group);

// Title blocks: the main effects print "para a FV" titles; in the splitting of interactions
// the Waller-Duncan title line is empty and SNK and Scott-Knott print none.
enum class TitleStyle { MainEffect, Splitting };

struct MeansTestInput {
  std::int32_t code = kTukey;
  std::string name;            // printed in the titles
  ErrorLine error;             // nu and QME
  double fc = 0;               // F of the treatments (Waller-Duncan)
  double k_waller = 100;       // Waller-Duncan k-ratio
  TitleStyle titles = TitleStyle::MainEffect;
};

// The state the tests read and write.
struct SignificanceRefs {
  double& op_alpha;  // the slot's level: read; Tukey and SNK write their clamped level back
  double& alpha;     // the level the last test used
  double& t_waller;  // the last Waller-Duncan critical t (kept when gl <= 0)
};

struct MeansTestOutcome {
  double dms = 0;              // Tukey, Bonferroni, LSD, Waller-Duncan
  std::vector<double> dms_snk; // SNK: DMS_s for s = k down to 2
  std::vector<Group> groups;
};

// Sorts the means (codes 0 to 5 and 8), runs the test of `in.code` and appends its whole
// block to `out`. Code 0 only sorts; other codes print nothing and return no groups.
MeansTestOutcome RunMeansTest(const MeansTestInput& in, std::vector<LevelMean>& means, double r,
                              SignificanceRefs st, shell::Report& out);

}  // namespace tolmex::anova
