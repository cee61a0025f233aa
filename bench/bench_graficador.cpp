// Chart timings: drawing a sample chart of many markers at the program's 2100 x 1000, and the
// whole GuardarJPG (drawing, encoding at quality 100, writing).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "ugraficador.h"

namespace {

// A filtering chart: many samples drawn as markers only, as the sample charts are.
std::unique_ptr<TGrafico> GraficoDeMuestras(int n) {
  auto g = TGrafico::Crear("muestras", tgLineasYMarcas, 0);
  g->titulo = "Muestras";
  g->ejeX->titulo = "vel";
  g->ejeY->titulo = "PE";
  TDAofNReal v;
  TDAofNReal p;
  for (int i = 0; i < n; ++i) {
    const NReal u = std::fmod(i * 0.618033988749895, 1.0);
    v.push_back(25.0 * u);
    p.push_back(50.0 / (1.0 + std::exp(-(25.0 * u - 9.0))) *
                (0.9 + 0.2 * std::fmod(i * 0.414, 1.0)));
  }
  auto* x =
      g->AgregarSerie(TSerieGrafico::Crear("vel", std::move(v), nullptr, nullptr, "##.##", true));
  auto* s = g->AgregarSerie(TSerieGrafico::Crear("PE", std::move(p), x, g.get(), "", false));
  s->colorLinea = ninguno;
  s->tamMarca = 2;
  return g;
}

void BM_DibujarMuestras(benchmark::State& state) {
  auto g = GraficoDeMuestras(static_cast<int>(state.range(0)));
  auto l = TLienzo::Crear(2100, 1000);
  for (auto _ : state) g->Dibujar(*l, 2100, 1000);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DibujarMuestras)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_GuardarJPG(benchmark::State& state) {
  auto g = GraficoDeMuestras(5000);
  const std::filesystem::path ruta = std::filesystem::temp_directory_path() / "bench_grafico.jpg";
  for (auto _ : state) g->GuardarJPG(ruta, 2100, 100, 1000);
  std::filesystem::remove(ruta);
}
BENCHMARK(BM_GuardarJPG)->Unit(benchmark::kMillisecond);

}  // namespace
