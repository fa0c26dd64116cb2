// Stand-in for libFuzzer when building with g++: feeds every file of the given folders, then
// `-runs=N` random mutations of them (byte flips, truncations, insertions), to the target.
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
// The input being run, written to ./crash-input when the target traps or crashes, so a finding
// can be replayed.
const std::string* g_current = nullptr;

void SaveInputAndDie(int sig) {
  if (g_current) {
    const int fd = ::open("crash-input", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
      const char* p = g_current->data();
      std::size_t left = g_current->size();
      while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0) break;
        p += n;
        left -= static_cast<std::size_t>(n);
      }
      ::close(fd);
      static const char msg[] = "input written to ./crash-input\n";
      (void)!::write(2, msg, sizeof msg - 1);
    }
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void Run(const std::string& s) {
  g_current = &s;
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
  g_current = nullptr;
}
}  // namespace

int main(int argc, char** argv) {
  for (int sig : {SIGILL, SIGABRT, SIGSEGV, SIGFPE, SIGBUS}) std::signal(sig, SaveInputAndDie);
  long runs = 0;
  std::vector<std::string> seeds;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "-runs=", 6) == 0) {
      runs = std::strtol(argv[i] + 6, nullptr, 10);
      continue;
    }
    std::filesystem::path p(argv[i]);
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(p)) {
      for (auto& e : std::filesystem::recursive_directory_iterator(p))
        if (e.is_regular_file()) files.push_back(e.path());
    } else {
      files.push_back(p);
    }
    for (auto& f : files) {
      std::ifstream in(f, std::ios::binary);
      seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  for (auto& s : seeds) Run(s);
  if (seeds.empty()) seeds.emplace_back();
  std::mt19937_64 rng(12345);
  for (long r = 0; r < runs; ++r) {
    std::string s = seeds[rng() % seeds.size()];
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
      switch (rng() % 4) {
        case 0:
          if (!s.empty()) s[rng() % s.size()] = static_cast<char>(rng());
          break;
        case 1:
          if (!s.empty()) s.resize(rng() % s.size());
          break;
        case 2:
          s.insert(s.begin() + static_cast<long>(s.empty() ? 0 : rng() % s.size()), static_cast<char>(rng()));
          break;
        default:
          if (!s.empty()) {
            const std::size_t a = rng() % s.size(), n = rng() % (s.size() - a + 1);
            s.insert(rng() % (s.size() + 1), s.substr(a, n));
          }
      }
    }
    Run(s);
  }
  std::printf("%zu seeds, %ld mutations: no crash\n", seeds.size(), runs);
  return 0;
}
