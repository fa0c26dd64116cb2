// The table of means: level labels, mean lines with their group labels, the common block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "means_test_support.h"
#include "shell/number_locale.h"
#include "shell/report.h"

namespace tolmex::anova {
namespace {

using testing::kRule;
using testing::Medias;

class MeansPrint : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(shell::NumberLocale::Dot()); }
};

std::string Pad30(const std::string& s) { return s + std::string(30 - s.size(), ' '); }

TEST_F(MeansPrint, LabelsAreCutOrPaddedToThirtyCharacters) {
  struct Case {
    std::string label, want;
  };
  const Case cases[] = {
      {"2.5", Pad30("2.5")},
      {"", std::string(30, ' ')},
      {"abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopqrstuvwxyz0123"},
      {"123456789012345678901234567890", "123456789012345678901234567890"},
      // Characters, not bytes: "ç" and "ã" are two bytes each.
      {"Adubação", "Adubação" + std::string(22, ' ')},
      {"ããããããããããããããããããããããããããããããããã", "ãããããããããããããããããããããããããããããã"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(RotuloNivel(c.label), c.want);
  }
}

TEST_F(MeansPrint, GroupLabelsAndAbsentGroups) {
  const auto v = Medias({10, 11, 15, 16});
  const std::vector<Group> g = {{1, 2}, {3, 4}};
  EXPECT_EQ(LinhaMedia(v[0], 1, g, false), Pad30("L1") + "        10.000000 a1    ");
  EXPECT_EQ(LinhaMedia(v[1], 2, g, false), Pad30("L2") + "        11.000000 a1    ");
  EXPECT_EQ(LinhaMedia(v[2], 3, g, false), Pad30("L3") + "        15.000000    a2 ");
  EXPECT_EQ(LinhaMedia(v[3], 4, g, false), Pad30("L4") + "        16.000000    a2 ");
  // Scott-Knott writes only the mean's own group.
  EXPECT_EQ(LinhaMedia(v[2], 3, g, true), Pad30("L3") + "        15.000000 a2 ");
  // A mean in two groups.
  const auto w = Medias({1, 2, 3});
  EXPECT_EQ(LinhaMedia(w[1], 2, {{1, 2}, {2, 3}}, false), Pad30("L2") + "         2.000000 a1 a2 ");
}

TEST_F(MeansPrint, TenGroupsAndMoreWidenTheColumns) {
  std::vector<double> values;
  std::vector<Group> g;
  for (int i = 1; i <= 11; ++i) {
    values.push_back(i);
    g.push_back({i, i});
  }
  const auto v = Medias(values);
  const std::string three(3, ' ');
  std::string blanks9, blanks10;
  for (int i = 0; i < 9; ++i) blanks9 += three;
  blanks10 = blanks9 + three;
  EXPECT_EQ(LinhaMedia(v[8], 9, g, false),
            Pad30("L9") + "         9.000000 " + std::string(24, ' ') + "a9 " + three + three);
  EXPECT_EQ(LinhaMedia(v[9], 10, g, false), Pad30("L10") + "        10.000000 " + blanks9 + "a10 " + three);
  EXPECT_EQ(LinhaMedia(v[10], 11, g, false), Pad30("L11") + "        11.000000 " + blanks10 + "a11 ");
}

TEST_F(MeansPrint, MeansWideOrNegative) {
  auto v = Medias({-3.25, 123456789012.5});
  EXPECT_EQ(LinhaMedia(v[0], 1, {{1, 2}}, false), Pad30("L1") + "        -3.250000 a1 ");
  EXPECT_EQ(LinhaMedia(v[1], 2, {{1, 2}}, false), Pad30("L2") + " 123456789012.500000 a1 ");
}

TEST_F(MeansPrint, CommonBlock) {
  shell::Report out;
  out.AppendText("antes");
  ImprimeTabelaMedias(out, Medias({10, 11}), 4, ErrorLine{12, 4}, {{1, 2}}, false);
  const std::string want = std::string("antes") +
                           "Média harmonica do número de repetições (r): 4\r\n"
                           "Erro padrão: 1\r\n" +
                           kRule + "\r\n\r\n\r\n" +
                           "Tratamentos                             Médias      Resultados do teste \r\n" +
                           kRule + "\r\n" + Pad30("L1") + "        10.000000 a1 \r\n" + Pad30("L2") +
                           "        11.000000 a1 \r\n" + kRule + "\r\n\r\n\r\n";
  EXPECT_EQ(out.Text(), want);
}

}  // namespace
}  // namespace tolmex::anova
