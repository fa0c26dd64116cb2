#include "shell/random.h"

#include <chrono>

namespace tolmex::shell {

namespace {
std::uint64_t SplitMix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}
std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
}  // namespace

void Random::Seed(std::uint64_t seed) {
  for (auto& s : s_) s = SplitMix(seed);
}

void Random::Randomize() {
  Seed(static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

std::uint64_t Random::NextU64() {
  const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
  const std::uint64_t t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = Rotl(s_[3], 45);
  return result;
}

std::int32_t Random::Next(std::int32_t m) {
  if (m <= 0) return 0;
  const std::uint64_t range = static_cast<std::uint64_t>(m);
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % range;
  std::uint64_t v;
  do {
    v = NextU64();
  } while (v >= limit);
  return static_cast<std::int32_t>(v % range);
}

double Random::NextDouble() { return static_cast<double>(NextU64() >> 11) * 0x1.0p-53; }

Random& GlobalRandom() {
  static Random r;
  return r;
}

}  // namespace tolmex::shell
