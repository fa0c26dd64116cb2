#pragma once
// The Waller-Duncan Bayesian k-ratio critical t.
#include <array>

namespace tolmex::numeric {

// Critical t with N(t)/D(t) = k, by bisection on [1, 40]: k the k-ratio, q the treatments'
// df, f the error df, Fc the observed F of the treatments.
double TCriticoWaller(double k, double q, double f, double Fc);

// The 32-point Gauss-Legendre rule on (-1, 1), nodes ascending, 17 significant digits.
extern const std::array<double, 32> kGaussLegendre32Nodes;
extern const std::array<double, 32> kGaussLegendre32Weights;

}  // namespace tolmex::numeric
