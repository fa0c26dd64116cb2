#include <cmath>
#include <string>

#include "anova/means/means_tests.h"
#include "anova/means/print_blocks.h"
#include "shell/format.h"
#include "shell/text_utils.h"

namespace tolmex::anova {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}  // namespace

const std::string& RegraMedias() {
  static const std::string rule(80, '-');
  return rule;
}

std::string RotuloNivel(std::string_view label) {
  return shell::PadRight(shell::Utf8Left(label, 30), 30);
}

std::string LinhaMedia(const LevelMean& m, std::int32_t position, const std::vector<Group>& groups,
                       bool only_own_group) {
  std::string line = RotuloNivel(m.label);
  line += ' ';
  line += shell::FormatFixed(m.media, 16, 6);
  line += ' ';
  for (std::size_t j = 0; j < groups.size(); ++j) {
    if (groups[j].inicio <= position && position <= groups[j].fim) {
      line += 'a';
      line += std::to_string(j + 1);
      line += ' ';
    } else if (!only_own_group) {
      line += "   ";
    }
  }
  return line;
}

void ImprimeTabelaMedias(shell::Report& out, const std::vector<LevelMean>& sorted, double r,
                         const ErrorLine& e, const std::vector<Group>& groups,
                         bool only_own_group) {
  const std::string& rule = RegraMedias();
  std::string text;
  text += "Média harmonica do número de repetições (r): ";
  text += shell::FormatGeneral(r);
  text += kCrLf;
  text += "Erro padrão: ";
  text += shell::FormatGeneral(std::sqrt(e.qm / r));
  text += kCrLf;
  text += rule;
  text += "\r\n\r\n\r\n";
  text += "Tratamentos                             Médias      Resultados do teste ";
  text += kCrLf;
  text += rule;
  text += kCrLf;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    text += LinhaMedia(sorted[i], static_cast<std::int32_t>(i + 1), groups, only_own_group);
    text += kCrLf;
  }
  text += rule;
  text += "\r\n\r\n\r\n";
  out.AppendText(text);
}

}  // namespace tolmex::anova
