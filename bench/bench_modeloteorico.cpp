// Baseline timings of the theoretical model: preparing a direction, one farm computation, one
// computation from the station reading, and the row step alone (cells per second).
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

#include "ucurvasaeros.h"
#include "uparques_modeloteorico.h"
#include "uparquesreferencia.h"

namespace {

// Rows of turbines running north-south, 7 diameters (560 m) apart both ways, centred on the
// station, which stands among them (in the wakes for both directions, so the computation from the
// station reading has to iterate). Small farm: 2 rows of 5; large farm: 8 rows of 10.
std::unique_ptr<TParque_ModeloTeorico> Parque(bool grande) {
  return ParqueEnRejilla(grande ? "grande" : "pequeno", grande ? 8 : 2, grande ? 10 : 5, 1);
}

void Etiquetar(benchmark::State& state, const TParque_ModeloTeorico& p) {
  state.SetLabel(p.nombre + " " + std::to_string(state.range(1)) + " grados");
  state.counters["filas"] = p.grilla->n_filas();
  state.counters["columnas"] = p.grilla->n_columnas();
}

void BM_PrepararDireccion(benchmark::State& state) {
  auto p = Parque(state.range(0) != 0);
  const double dir = static_cast<double>(state.range(1));
  for (auto _ : state) {
    p->PrepararDireccion(dir, false);
    benchmark::DoNotOptimize(p->grilla.get());
  }
  Etiquetar(state, *p);
}

void BM_Simular(benchmark::State& state) {
  auto p = Parque(state.range(0) != 0);
  p->PrepararDireccion(static_cast<double>(state.range(1)), false);
  const double f = PV3(9, DensidadEstandar);
  double meteo = 0;
  double P = 0;
  for (auto _ : state) {
    P = p->Simular(p->potencia_autorizada_mw, f, DensidadEstandar, meteo);
    benchmark::DoNotOptimize(P);
  }
  Etiquetar(state, *p);
  state.counters["MW"] = P;
}

void BM_SimularDesdeAnemometro(benchmark::State& state) {
  auto p = Parque(state.range(0) != 0);
  p->PrepararDireccion(static_cast<double>(state.range(1)), false);
  const double s = PV3(9, DensidadEstandar);
  bool convergido = false;
  double meteo = 0;
  double libre = 0;
  double P = 0;
  for (auto _ : state) {
    P = p->SimularDesdeAnemometro(p->potencia_autorizada_mw, s, DensidadEstandar, convergido, meteo,
                                  libre);
    benchmark::DoNotOptimize(P);
  }
  Etiquetar(state, *p);
  state.counters["MW"] = P;
  state.counters["convergido"] = convergido ? 1 : 0;
}

// The row step over the whole grid, without the turbines.
void BM_PropagarFila(benchmark::State& state) {
  auto p = Parque(state.range(0) != 0);
  p->PrepararDireccion(static_cast<double>(state.range(1)), false);
  double meteo = 0;
  p->Simular(p->potencia_autorizada_mw, PV3(9, DensidadEstandar), DensidadEstandar, meteo);
  const int filas = p->grilla->n_filas();
  for (auto _ : state) {
    for (int r = 2; r <= filas; ++r) p->PropagarFila(r);
    benchmark::DoNotOptimize(p->grilla->elemento(filas, 2));
  }
  Etiquetar(state, *p);
  const auto celdas =
      static_cast<std::int64_t>(filas - 1) * static_cast<std::int64_t>(p->grilla->n_columnas() - 2);
  state.SetItemsProcessed(state.iterations() * celdas);
}

void Casos(benchmark::internal::Benchmark* b) {
  for (const int grande : {0, 1}) {
    for (const int dir : {270, 225}) b->Args({grande, dir});
  }
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_PrepararDireccion)->Apply(Casos);
BENCHMARK(BM_Simular)->Apply(Casos);
BENCHMARK(BM_SimularDesdeAnemometro)->Apply(Casos);
BENCHMARK(BM_PropagarFila)->Apply(Casos);

}  // namespace
