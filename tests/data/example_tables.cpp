#include "example_tables.h"

#include <cmath>
#include <numbers>

#include "shell/random.h"

namespace tolmex::datatest {

using data::DataTable;
using data::FieldType;

namespace {

// Normal deviates by the Box-Muller method.
class Normal {
 public:
  explicit Normal(std::uint64_t seed) : rng_(seed) {}
  double operator()(double mean, double sd) {
    double u1 = 0;
    while (u1 <= 0) u1 = rng_.NextDouble();
    const double u2 = rng_.NextDouble();
    return mean + sd * std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
  }

 private:
  shell::Random rng_;
};

double Round(double x, int decimals) {
  const double f = std::pow(10.0, decimals);
  return std::round(x * f) / f;
}

// Completely randomised trial: five bean cultivars, four replicates.
DataTable Dic() {
  DataTable t;
  t.AddField({"Cultivar", FieldType::ftString, 30});
  t.AddField({"Rep", FieldType::ftFloat});
  t.AddField({"Prod", FieldType::ftFloat});     // grain yield, kg/ha
  t.AddField({"Peso100", FieldType::ftFloat});  // mass of 100 seeds, g
  t.Open();
  Normal n(101);
  const char* cv[] = {"Carioca", "Perola", "BRS-Estilo", "IAC-Alvorada", "Jalo"};
  const double prod[] = {2450, 2710, 2980, 2620, 2190};
  const double peso[] = {24.8, 26.1, 25.3, 25.9, 38.6};
  for (int i = 0; i < 5; ++i)
    for (int r = 1; r <= 4; ++r) {
      const int row = t.AppendRow();
      t.SetString(row, 0, cv[i]);
      t.SetFloat(row, 1, r);
      t.SetFloat(row, 2, Round(n(prod[i], 210), 0));
      t.SetFloat(row, 3, Round(n(peso[i], 1.1), 1));
    }
  return t;
}

// Randomised blocks: six maize hybrids in four blocks.
DataTable Dbc() {
  DataTable t;
  t.AddField({"Hibrido", FieldType::ftString, 30});
  t.AddField({"Bloco", FieldType::ftFloat});
  t.AddField({"Prod", FieldType::ftFloat});    // t/ha
  t.AddField({"Altura", FieldType::ftFloat});  // plant height, m
  t.Open();
  Normal n(202);
  const char* h[] = {"AG1051", "BRS1030", "DKB390", "P30F53", "BM207", "AL-Bandeirante"};
  const double prod[] = {8.4, 7.9, 9.1, 9.6, 7.2, 6.5};
  const double alt[] = {2.35, 2.18, 2.22, 2.30, 2.10, 2.45};
  const double bloco[] = {0.35, -0.10, 0.20, -0.45};
  for (int i = 0; i < 6; ++i)
    for (int b = 1; b <= 4; ++b) {
      const int row = t.AppendRow();
      t.SetString(row, 0, h[i]);
      t.SetFloat(row, 1, b);
      t.SetFloat(row, 2, Round(n(prod[i] + bloco[b - 1], 0.45), 2));
      t.SetFloat(row, 3, Round(n(alt[i] + bloco[b - 1] / 10, 0.06), 2));
    }
  return t;
}

// 3 x 2 factorial in four blocks: nitrogen source and irrigation, rice yield.
DataTable FatorialDbc() {
  DataTable t;
  t.AddField({"Bloco", FieldType::ftFloat});
  t.AddField({"Fonte", FieldType::ftString, 30});
  t.AddField({"Irrig", FieldType::ftString, 30});
  t.AddField({"Prod", FieldType::ftFloat});  // kg/ha
  t.Open();
  Normal n(303);
  const char* fonte[] = {"Ureia", "Sulfato", "Nitrato"};
  const char* irr[] = {"Com", "Sem"};
  const double mean[3][2] = {{6150, 4820}, {6480, 4950}, {5890, 5010}};
  const double bloco[] = {180, -60, 90, -210};
  for (int b = 1; b <= 4; ++b)
    for (int f = 0; f < 3; ++f)
      for (int i = 0; i < 2; ++i) {
        const int row = t.AppendRow();
        t.SetFloat(row, 0, b);
        t.SetString(row, 1, fonte[f]);
        t.SetString(row, 2, irr[i]);
        t.SetFloat(row, 3, Round(n(mean[f][i] + bloco[b - 1], 260), 0));
      }
  return t;
}

// Split plot in four blocks: soil tillage in the main plots, soybean cultivars in the
// subplots.
DataTable ParcelaSubdividida() {
  DataTable t;
  t.AddField({"Bloco", FieldType::ftFloat});
  t.AddField({"Preparo", FieldType::ftString, 30});
  t.AddField({"Cultivar", FieldType::ftString, 30});
  t.AddField({"Prod", FieldType::ftFloat});  // kg/ha
  t.Open();
  Normal n(404);
  const char* prep[] = {"Convencional", "Minimo", "Direto"};
  const char* cv[] = {"C1", "C2", "C3", "C4"};
  const double prepEf[] = {0, 120, 310};
  const double cvEf[] = {2950, 3180, 3320, 3060};
  const double bloco[] = {140, -90, 40, -90};
  for (int b = 1; b <= 4; ++b)
    for (int p = 0; p < 3; ++p) {
      const double plot = n(0, 150);  // main-plot error
      for (int c = 0; c < 4; ++c) {
        const int row = t.AppendRow();
        t.SetFloat(row, 0, b);
        t.SetString(row, 1, prep[p]);
        t.SetString(row, 2, cv[c]);
        const double inter = (p == 2 && c == 2) ? 180 : 0;
        t.SetFloat(row, 3,
                   Round(n(cvEf[c] + prepEf[p] + bloco[b - 1] + plot + inter, 110), 0));
      }
    }
  return t;
}

// Dose-response in randomised blocks: nitrogen doses (kg/ha) on wheat yield, a quadratic
// response.
DataTable DoseResposta() {
  DataTable t;
  t.AddField({"Bloco", FieldType::ftFloat});
  t.AddField({"Dose", FieldType::ftFloat});
  t.AddField({"Prod", FieldType::ftFloat});  // kg/ha
  t.Open();
  Normal n(505);
  const double bloco[] = {-70, 40, 110, -80};
  for (int b = 1; b <= 4; ++b)
    for (double d : {0.0, 40.0, 80.0, 120.0, 160.0}) {
      const int row = t.AppendRow();
      t.SetFloat(row, 0, b);
      t.SetFloat(row, 1, d);
      t.SetFloat(row, 2, Round(n(1850 + 21.5 * d - 0.075 * d * d + bloco[b - 1], 120), 0));
    }
  return t;
}

}  // namespace

std::vector<ExampleTable> BuildExampleTables() {
  std::vector<ExampleTable> out;
  out.push_back({"dic_feijao.fdt", Dic()});
  out.push_back({"dbc_milho.fdt", Dbc()});
  out.push_back({"fatorial_dbc_arroz.fdt", FatorialDbc()});
  out.push_back({"parcela_subdividida_soja.fdt", ParcelaSubdividida()});
  out.push_back({"dose_resposta_trigo.fdt", DoseResposta()});
  return out;
}

}  // namespace tolmex::datatest
