// Timings of the theoretical model text block: writing an 80-turbine model and reading it back
// (bytes per second of the block).
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ucurvasaeros.h"
#include "uparques_modeloteorico.h"
#include "uparquesreferencia.h"

namespace {

std::unique_ptr<TParque_ModeloTeorico> Parque80() {
  std::vector<std::unique_ptr<TMolino>> molinos;
  for (int nid = 1; nid <= 80; ++nid) {
    auto curva = CurvaReferencia2MW();
    const TPosicion pos(21, 'H', 600000 + 560.0 / 3 * nid, 6200000 + 0.1 * nid);
    molinos.push_back(std::make_unique<TMolino>(nid, nid, 1, 8, std::move(curva), 0.97, pos));
  }
  auto p = TParque_ModeloTeorico::Crear("Parque de 80", std::move(molinos), 160);
  p->meteo_utm_xe = 600000;
  p->meteo_utm_yn = 6200000;
  p->CalcularPosicionesRelativas();
  return p;
}

std::string Texto(const TParque_ModeloTeorico& p) {
  std::ostringstream s;
  p.EscribirTexto(s);
  return s.str();
}

void BM_EscribirTexto(benchmark::State& state) {
  const auto p = Parque80();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string t = Texto(*p);
    bytes += t.size();
    benchmark::DoNotOptimize(t.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_CrearDesdeTexto(benchmark::State& state) {
  const std::string t = Texto(*Parque80());
  for (auto _ : state) {
    std::istringstream s(t);
    const auto p = TParque_ModeloTeorico::CrearDesdeTexto(s);
    benchmark::DoNotOptimize(p.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(t.size()));
}

}  // namespace

BENCHMARK(BM_EscribirTexto)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrearDesdeTexto)->Unit(benchmark::kMicrosecond);
