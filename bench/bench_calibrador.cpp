// Timings of the combined model and the calibration on a generated year: building the correction
// matrix, one combined power (not curtailed and curtailed) and one whole random search.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "carpetas.h"
#include "ucalibrador.h"
#include "ucurvasaeros.h"
#include "ugeneradorseries.h"
#include "uparques_modelocombinado.h"
#include "uparquesreferencia.h"

namespace fs = std::filesystem;

namespace {

// The farms of the theoretical model's timings: rows 560 m apart both ways around the station;
// small 2 rows of 5, large 8 rows of 10.
std::unique_ptr<TParque_ModeloTeorico> Parque(bool grande) {
  return ParqueEnRejilla(grande ? "grande" : "pequeno", grande ? 8 : 2, grande ? 10 : 5,
                         grande ? 80 : 10);
}

// One calibrator file per farm, from a generated year, made once per run.
std::string ArchivoCalibrador(bool grande) {
  static std::map<bool, std::string> hechos;
  auto it = hechos.find(grande);
  if (it != hechos.end()) return it->second;
  static const fs::path dir =
      fs::temp_directory_path() / ("veltra_bench_calibrador_" + std::to_string(::getpid()));
  fs::create_directories(dir / "raiz");
  FijarCarpetaRaiz((dir / "raiz").generic_string());
  FijarCarpetaBasura((dir / "basura").generic_string());
  std::shared_ptr<TParque_ModeloTeorico> mt = Parque(grande);
  const TTablaPotencia tabla(*mt, 12, 1.0);
  TOpcionesGenerador o;
  const std::string sas = (dir / (mt->nombre + ".sas")).generic_string();
  GenerarSeries(tabla, *mt, o, sas);
  std::ostringstream nada;
  auto c = TCalibradorParque::CrearDesdeSeries(mt, 5, 95, sas, nada, false);
  const std::string clp = (dir / (mt->nombre + ".clp")).generic_string();
  c->GuardarEnArchivo(clp);
  return hechos[grande] = clp;
}

void Etiquetar(benchmark::State& state, const TParque_ModeloTeorico& p) {
  state.SetLabel(p.nombre + " (" + std::to_string(p.n_molinos()) + " molinos)");
}

void BM_ConstruirCorreccion(benchmark::State& state) {
  std::ostringstream nada;
  auto mc =
      TParque_ModeloCombinado::CrearDesdeCalibrador(ArchivoCalibrador(state.range(0) != 0), nada);
  int celdas = 0;
  for (int r = 1; r <= mc->modelo_empirico->NSectores(); ++r) {
    for (int b = 1; b <= mc->modelo_empirico->NBins(); ++b) {
      celdas += mc->modelo_empirico->cnt_bin.elemento(r, b) >= 10 ? 1 : 0;
    }
  }
  for (auto _ : state) {
    nada.str({});
    mc->ConstruirCorreccion();
    benchmark::DoNotOptimize(mc->correccion.elemento(1, 1));
  }
  Etiquetar(state, *mc->modelo_teorico);
  state.counters["celdas_con_datos"] = celdas;
}

// Sweeps directions and speeds so every call prepares a new direction, as a series does.
void BM_PotenciaMC(benchmark::State& state) {
  std::ostringstream nada;
  auto mc =
      TParque_ModeloCombinado::CrearDesdeCalibrador(ArchivoCalibrador(state.range(0) != 0), nada);
  const double PAut = mc->modelo_teorico->potencia_autorizada_mw;
  const double cgm = state.range(1) != 0 ? 0.5 * PAut : 1000000;
  int i = 0;
  double con = 0, sin = 0;
  for (auto _ : state) {
    const double dir = 7.3 * i;
    const double v = 4 + (i % 12);
    mc->PotenciaMC(cgm, 1.2, dir, v, con, sin);
    benchmark::DoNotOptimize(sin);
    ++i;
  }
  state.SetLabel(mc->modelo_teorico->nombre +
                 (state.range(1) != 0 ? " con consigna" : " sin consigna"));
}

void BM_CargarMC(benchmark::State& state) {
  const bool grande = state.range(0) != 0;
  std::ostringstream nada;
  const std::string pmc = ArchivoCalibrador(grande) + ".pmc";
  TParque_ModeloCombinado::CrearDesdeCalibrador(ArchivoCalibrador(grande), nada)->GuardarMC(pmc);
  for (auto _ : state) {
    auto mc = TParque_ModeloCombinado::CrearDesdeArchivoMC(pmc);
    benchmark::DoNotOptimize(mc->correccion.elemento(1, 1));
  }
  state.SetLabel(grande ? "grande" : "pequeno");
}

void BM_Calibrar(benchmark::State& state) {
  auto c = TCalibradorParque::CrearDesdeArchivo(ArchivoCalibrador(state.range(0) != 0));
  std::ostringstream nada;
  c->FijarSalida(nada);
  c->FijarSemillaAleatoria(5);
  const TDAofNReal inicio = c->x_mejor;
  for (auto _ : state) {
    c->x_mejor = inicio;
    benchmark::DoNotOptimize(c->Calibrar({}));
  }
  Etiquetar(state, *c->modelo_teorico);
  int lineas = 0;
  for (const char ch : nada.str()) lineas += ch == '\n' ? 1 : 0;
  state.counters["evaluaciones"] = lineas + 1;
}

}  // namespace

BENCHMARK(BM_ConstruirCorreccion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PotenciaMC)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CargarMC)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calibrar)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1);
