// Baseline timings of the theoretical model: preparing a direction, one farm computation, one
// computation from the station reading, and the row step alone (cells per second).
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

#include "ucurvasaeros.h"
#include "uparques_modeloteorico.h"

namespace {

std::unique_ptr<TCurvaAerogen> Curva2MW() {
  return std::make_unique<TCurvaAerogen>(
      1, "2 MW 80 m", 80, TDAofNReal{3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                     15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
      TDAofNReal{0,     0.066, 0.154, 0.282, 0.46, 0.696, 0.996, 1.341, 1.661, 1.866, 1.958, 1.988,
                 1.997, 2,     2,     2,     2,    2,     2,     2,     2,     2,     2});
}

// Rows of turbines running north-south, 7 diameters (560 m) apart both ways, centred on the
// station, which stands among them (in the wakes for both directions, so the computation from the
// station reading has to iterate). Small farm: 2 rows of 5; large farm: 8 rows of 10.
std::unique_ptr<TParque_ModeloTeorico> Parque(bool grande) {
  const int filas = grande ? 8 : 2;
  const int por_fila = grande ? 10 : 5;
  const double espacio = 560;
  std::vector<std::unique_ptr<TMolino>> molinos;
  int nid = 1;
  for (int i = 0; i < filas; ++i) {
    for (int j = 0; j < por_fila; ++j) {
      const TPosicion pos((i - 0.5 * (filas - 1)) * espacio, (j - 0.5 * (por_fila - 1)) * espacio);
      molinos.push_back(std::make_unique<TMolino>(nid, nid, 1, 1, Curva2MW(), 1.0, pos));
      ++nid;
    }
  }
  return TParque_ModeloTeorico::Crear(grande ? "grande" : "pequeno", std::move(molinos),
                                      2.0 * filas * por_fila);
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
