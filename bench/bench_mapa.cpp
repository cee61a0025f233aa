// Park map timings: the whole map of the demo farm at the window's 978 x 616, one bilinear grid
// look-up and one colour per pixel of the field, and the colour scale alone.
#include <benchmark/benchmark.h>

#include "uescalacolores.h"
#include "umapaparque.h"
#include "uparquedemo.h"

namespace {

void BM_DibujarMapa(benchmark::State& state) {
  auto p = CrearParqueDemo();
  p->PrepararDireccion(270, true);
  NReal pv3_meteo = 0;
  (void)p->Simular(100, PV3(9, DensidadEstandar), DensidadEstandar, pv3_meteo);
  auto l = TLienzo::Crear(kAnchoMapa, kAltoMapa);
  for (auto _ : state) VelocidadesMT_To_PB(p.get(), *l);
  state.SetItemsProcessed(state.iterations() * kAnchoMapa * (kAltoMapa - kAltoBarraColores));
}
BENCHMARK(BM_DibujarMapa)->Unit(benchmark::kMillisecond);

// The same look-ups and colours without the canvas: what the drawing itself costs on top.
void BM_CampoSinLienzo(benchmark::State& state) {
  auto p = CrearParqueDemo();
  p->PrepararDireccion(270, true);
  NReal pv3_meteo = 0;
  (void)p->Simular(100, PV3(9, DensidadEstandar), DensidadEstandar, pv3_meteo);
  p->AjustarVista(0, kAltoBarraColores, kAnchoMapa, kAltoMapa);
  const TEscalaColor escala(kVelocidadMinimaMapa, kVelocidadMaximaMapa);
  for (auto _ : state) {
    TColor suma = 0;
    for (int px = 0; px < kAnchoMapa; ++px) {
      for (int py = kAltoBarraColores; py < kAltoMapa; ++py) {
        suma += escala.Color(VelocidadDePV3(p->PV3EnPixel(px, py), DensidadEstandar));
      }
    }
    benchmark::DoNotOptimize(suma);
  }
  state.SetItemsProcessed(state.iterations() * kAnchoMapa * (kAltoMapa - kAltoBarraColores));
}
BENCHMARK(BM_CampoSinLienzo)->Unit(benchmark::kMillisecond);

void BM_ColorEscala(benchmark::State& state) {
  const TEscalaColor escala(4, 10);
  NReal v = 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(escala.Color(v));
    v = v > 11 ? 3 : v + 0.001;
  }
}
BENCHMARK(BM_ColorEscala);

}  // namespace
