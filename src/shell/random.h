#pragma once
// The program's one pseudo-random generator (xoshiro256**, seeded through splitmix64).
// `Randomize` seeds it from the clock; tests and the batch runner seed it explicitly so
// that plans and bootstrap runs repeat.
#include <cstdint>

namespace tolmex::shell {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0x853c49e6748fea9bULL) { Seed(seed); }

  void Seed(std::uint64_t seed);
  void Randomize();  // seed from the clock

  std::uint64_t NextU64();
  // Uniform integer in 0 .. m-1 (0 when m <= 0), without modulo bias.
  std::int32_t Next(std::int32_t m);
  // Uniform real in [0, 1) with 53 random bits.
  double NextDouble();

 private:
  std::uint64_t s_[4];
};

// The process-wide generator (the decorative chart, bootstrap, plans).
Random& GlobalRandom();

}  // namespace tolmex::shell
