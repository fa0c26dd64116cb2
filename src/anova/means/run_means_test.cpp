#include <string>

#include "anova/means/means_tests.h"
#include "anova/means/print_blocks.h"
#include "shell/format.h"

namespace tolmex::anova {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string Titulo(std::int32_t code) {
  switch (code) {
    case kTukey: return "   Teste Tukey para a FV ";
    case kBonferroni: return "   Teste t (Bonferroni) para a FV ";
    case kLSD: return "   Teste t (LSD) para a FV ";
    default: return "   Teste Waller-Duncan para a FV ";
  }
}

// Header of Tukey, Bonferroni, LSD and Waller-Duncan.
void ImprimeCabecalhoAgrupa(const MeansTestInput& in, double dms, double alpha, double t_waller,
                            shell::Report& out) {
  const std::string& rule = RegraMedias();
  std::string text = rule;
  text += kCrLf;
  // In the splitting the Waller-Duncan title line is left empty.
  if (!(in.code == kWallerDuncan && in.titles == TitleStyle::Splitting)) text += Titulo(in.code) + in.name;
  text += kCrLf;
  text += rule;
  text += "\r\n\r\n\r\n";
  text += "DMS: " + shell::FormatGeneral(dms);
  if (in.code == kWallerDuncan) {
    text += "  K: " + shell::FormatGeneral(in.k_waller);
    text += kCrLf;
    text += "t crítico: " + shell::FormatGeneral(t_waller);
  } else {
    text += "  NMS: " + shell::FormatGeneral(alpha);
  }
  text += kCrLf;
  text += rule;
  text += "\r\n\r\n\r\n";
  out.AppendText(text);
}

MeansTestOutcome TesteAgrupa(const MeansTestInput& in, const std::vector<LevelMean>& means,
                             double r, SignificanceRefs st, shell::Report& out) {
  const auto k = static_cast<std::int32_t>(means.size());
  MeansTestOutcome res;
  double alpha = NivelAgrupa(st.op_alpha);
  if (in.code == kTukey) {
    alpha = NivelTukey(st.op_alpha);
    st.op_alpha = alpha;
  }
  st.alpha = alpha;
  switch (in.code) {
    case kTukey: res.dms = DmsTukey(alpha, in.error, r, k); break;
    case kWallerDuncan:
      if (in.error.gl > 0) st.t_waller = TWallerMedias(in.k_waller, k, in.error, in.fc);
      res.dms = DmsWaller(st.t_waller, in.error, r);
      break;
    case kBonferroni: res.dms = DmsBonferroni(alpha, in.error, r, k); break;
    default: res.dms = DmsLSD(alpha, in.error, r); break;
  }
  res.groups = AgrupaMedias(means, res.dms);
  ImprimeCabecalhoAgrupa(in, res.dms, alpha, st.t_waller, out);
  ImprimeTabelaMedias(out, means, r, in.error, res.groups, false);
  return res;
}

MeansTestOutcome TesteSNK(const MeansTestInput& in, const std::vector<LevelMean>& means,
                          double r, SignificanceRefs st, shell::Report& out) {
  MeansTestOutcome res;
  const double alpha = NivelSNK(st.op_alpha);
  st.alpha = alpha;
  st.op_alpha = alpha;
  const std::string& rule = RegraMedias();
  std::string head = rule;
  head += kCrLf;
  if (in.titles == TitleStyle::MainEffect) {
    head += "Teste SNK para a FV " + in.name;
    head += kCrLf;
  }
  head += "Médias                DMS ";
  head += kCrLf;
  head += "  NMS: " + shell::FormatGeneral(alpha);
  head += kCrLf;
  head += rule;
  head += kCrLf;
  out.AppendText(head);
  res.groups = GruposSNK(means, [&](std::int32_t s) {
    const double dms = DmsTukey(alpha, in.error, r, s);
    res.dms_snk.push_back(dms);
    out.AppendText(std::to_string(s) + "          " + shell::FormatGeneral(dms) + "\r\n");
    return dms;
  });
  out.AppendText(rule + "\r\n");
  ImprimeTabelaMedias(out, means, r, in.error, res.groups, false);
  return res;
}

MeansTestOutcome TesteScottKnott(const MeansTestInput& in, const std::vector<LevelMean>& means,
                                 double r, SignificanceRefs st, shell::Report& out) {
  const std::string& rule = RegraMedias();
  std::string head = rule;
  head += kCrLf;
  if (in.titles == TitleStyle::MainEffect) {
    head += "Teste Scott-Knott (1974) para a FV " + in.name;
    head += kCrLf;
  }
  head += rule;
  head += kCrLf;
  out.AppendText(head);
  const double alpha = NivelScottKnott(st.op_alpha);
  st.alpha = alpha;
  MeansTestOutcome res;
  res.groups = GruposScottKnott(means, alpha, in.error, r);
  out.AppendText("\r\n  NMS: " + shell::FormatGeneral(alpha) + "\r\n" + rule + "\r\n\r\n\r\n");
  ImprimeTabelaMedias(out, means, r, in.error, res.groups, true);
  return res;
}

}  // namespace

MeansTestOutcome RunMeansTest(const MeansTestInput& in, std::vector<LevelMean>& means, double r,
                              SignificanceRefs st, shell::Report& out) {
  if (SortsMeans(in.code)) OrdenaMedias(means);
  switch (in.code) {
    case kTukey:
    case kBonferroni:
    case kLSD:
    case kWallerDuncan: return TesteAgrupa(in, means, r, st, out);
    case kSNK: return TesteSNK(in, means, r, st, out);
    case kScottKnott: return TesteScottKnott(in, means, r, st, out);
    default: return {};
  }
}

}  // namespace tolmex::anova
