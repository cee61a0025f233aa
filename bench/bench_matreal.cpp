#include <benchmark/benchmark.h>

#include <cstdint>

#include "matreal.h"

namespace {

// Deterministic pseudo-random values in [0, 1).
class TAzar {
 public:
  double operator()() {
    s_ = s_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(s_ >> 11) * 0x1.0p-53;
  }

 private:
  std::uint64_t s_ = 88172645463325252ull;
};

void ResolverSistema50(benchmark::State& state) {
  const int n = 50;
  TAzar azar;
  TMatR a0(n, n);
  TMatR b0(n, 1);
  for (int i = 1; i <= n; ++i) {
    b0.poner(i, 1, azar());
    for (int j = 1; j <= n; ++j) a0.poner(i, j, azar() + (i == j ? n : 0));
  }
  for (auto _ : state) {
    TMatR a = a0;
    TMatR b = b0;
    bool invertible = false;
    int exponente = 0;
    benchmark::DoNotOptimize(a.resolver_sistema(b, invertible, exponente));
    benchmark::DoNotOptimize(b.elemento(1, 1));
  }
}
BENCHMARK(ResolverSistema50);

void Ordenar50000(benchmark::State& state) {
  const int n = 50000;
  TAzar azar;
  TVectR v0(n);
  for (int k = 1; k <= n; ++k) v0.poner(k, azar());
  TDAofNInt idx0(static_cast<std::size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) idx0[static_cast<std::size_t>(k)] = k;
  for (auto _ : state) {
    TVectR v = v0;
    TDAofNInt idx = idx0;
    v.ordenar(true, idx);
    benchmark::DoNotOptimize(idx.data());
  }
}
BENCHMARK(Ordenar50000)->Unit(benchmark::kMillisecond);

}  // namespace
