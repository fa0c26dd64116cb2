#include "anova/model_language.h"

#include <gtest/gtest.h>

#include "anova/transform.h"

namespace tolmex::anova {
namespace {

using Names = std::vector<std::string>;

TEST(ModelLanguage, KindsAndNames) {
  struct Case {
    std::string line;
    FvKind kind;
    FvKind computation;
    Names names;
    Names factors;
  };
  const std::vector<Case> cases = {
      {"Trat", kMainEffect, kMainEffect, {"Trat"}, {"Trat"}},
      {"A*B*C", kInteraction, kInteraction, {"A", "B", "C"}, {"A", "B", "C"}},
      {"B(A)", kNested, kNested, {"B", "A"}, {"B", "A"}},
      {"C*D(A*B)", kNested, kNested, {"C", "D", "A", "B"}, {"C", "D", "A", "B"}},
      {"erro=Bloco*A", kErrorTerm, kInteraction, {"Bloco", "A"}, {"Bloco", "A"}},
      {"erro=Rep(A)", kErrorTerm, kNested, {"Rep", "A"}, {"Rep", "A"}},
      {"erro=Bloco", kErrorTerm, kMainEffect, {"Bloco"}, {"Bloco"}},
      {"A*A", kInteraction, kInteraction, {"A", "A"}, {"A"}},
      {"A*B ", kInteraction, kInteraction, {"A", "B "}, {"A", "B "}},
      {"Fim", kMainEffect, kMainEffect, {"Fim"}, {"Fim"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyLine(c.line), c.kind) << c.line;
    EXPECT_EQ(ComputationKind(c.line), c.computation) << c.line;
    EXPECT_EQ(LineNames(c.line), c.names) << c.line;
    EXPECT_EQ(TermFactors(c.line), c.factors) << c.line;
  }
}

TEST(ModelLanguage, NestedParts) {
  struct Case {
    std::string line;
    Names outer, nesting;
  };
  const std::vector<Case> cases = {
      {"B(A)", {"B"}, {"A"}},
      {"C*D(A)", {"C", "D"}, {"A"}},
      {"B(A*C)", {"B"}, {"A", "C"}},
      {"erro=Rep(Bloco*A)", {"Rep"}, {"Bloco", "A"}},
      {"((A)", {}, {"A"}},
  };
  for (const auto& c : cases) {
    const auto p = SplitNested(c.line);
    EXPECT_EQ(p.outer, c.outer) << c.line;
    EXPECT_EQ(p.nesting, c.nesting) << c.line;
  }
}

TEST(ModelLanguage, ErrorLineIsFirstKind4AtOrAfter) {
  AnovaState st;
  st.LB_Anova = {"Bloco", "A", "erro=Bloco*A", "B", "A*B", "Fim"};
  st.nfv = 6;
  for (int i = 1; i <= 6; ++i) st.identifica_FV[i] = i == 6 ? kErrorTerm : ClassifyLine(Linha(st, i));
  const std::vector<int> want = {3, 3, 3, 6, 6, 6};
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(ErrorLineOf(st, i), want[i - 1]) << i;
}

TEST(Transform, DomainsAndValues) {
  struct Case {
    int code;
    double y;
    std::optional<double> want;
  };
  const std::vector<Case> cases = {
      {0, -3.0, -3.0},      {1, 4.0, 2.0},          {1, 0.0, 0.0},
      {1, -0.1, std::nullopt}, {2, -0.5, 0.0},      {2, -0.6, std::nullopt},
      {3, 3.0, 2.0},        {3, -1.1, std::nullopt}, {4, 1000.0, 3.0},
      {4, 0.0, std::nullopt}, {5, 1.0, 0.0},        {5, -1.0, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto got = TransformValue(c.y, c.code);
    ASSERT_EQ(got.has_value(), c.want.has_value()) << c.code << " " << c.y;
    if (got) {
      EXPECT_NEAR(*got, *c.want, 1e-14) << c.code << " " << c.y;
    }
  }
  AnovaState st;
  st.Op_VarToAna[1] = {2, 4, 1};
  EXPECT_EQ(TransformCode(st, 1, 1), 0);
  EXPECT_EQ(TransformCode(st, 1, 2), 4);
  EXPECT_EQ(TransformCode(st, 1, 3), 1);
  EXPECT_EQ(Transform(st, 0.0, 1, 2), 0.0);
  EXPECT_TRUE(st.tem_erro);
  EXPECT_EQ(TransformTitle(st, 1, 3), "Raiz quadrada - SQRT ( Y )");
}

}  // namespace
}  // namespace tolmex::anova
