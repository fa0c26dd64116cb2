#include "anova/transform.h"

#include <cmath>

namespace tolmex::anova {

std::optional<double> TransformValue(double y, int code) {
  switch (code) {
    case 1:
      if (!(y >= 0)) return std::nullopt;
      return std::sqrt(y);
    case 2:
      if (!(y + 0.5 >= 0)) return std::nullopt;
      return std::sqrt(y + 0.5);
    case 3:
      if (!(y + 1.0 >= 0)) return std::nullopt;
      return std::sqrt(y + 1.0);
    case 4:
      if (!(y > 0)) return std::nullopt;
      return std::log(y) * 0.4342944819032518;
    case 5:
      if (!(y > 0)) return std::nullopt;
      return std::log(y);
    default:
      return y;
  }
}

int TransformCode(const AnovaState& st, int v, int t) {
  if (t <= 1 || v < 1 || v > kMaxFV || t - 1 > kMaxTransforms) return 0;
  return st.Op_VarToAna[static_cast<std::size_t>(v)][static_cast<std::size_t>(t - 1)];
}

double Transform(AnovaState& st, double y, int v, int t) {
  const auto r = TransformValue(y, TransformCode(st, v, t));
  if (!r) {
    st.tem_erro = true;
    return 0.0;
  }
  return *r;
}

std::string TransformTitle(const AnovaState& st, int v, int t) {
  switch (TransformCode(st, v, t)) {
    case 1: return "Raiz quadrada - SQRT ( Y )";
    case 2: return "Raiz quadrada de Y + 0.5 - SQRT ( Y + 0.5 )";
    case 3: return "Raiz quadrada de Y + 1.0 - SQRT ( Y + 1.0 )";
    case 4: return "Logarítmo base 10 de Y  - Log10 ( Y )";
    case 5: return "Logarítmo neperiano de Y  - Ln( Y )";
    default: return "Variável sem transformação ( Y )";
  }
}

}  // namespace tolmex::anova
