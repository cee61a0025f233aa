// Energy not supplied over a generated series with set-point periods: one whole combined-model pass
// (10-turbine farm over a year, 80-turbine farm over a month and over a year), and the combined
// power of the series' samples split into those under a set-point and those without one. Peak
// memory is the process's resident peak after the pass.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "carpetas.h"
#include "ucalcrestriccionesoperativas.h"
#include "ucalibrador.h"
#include "ucurvasaeros.h"
#include "ugeneradorseries.h"
#include "uparques_modelocombinado.h"
#include "uparquesreferencia.h"
#include "useriestemporales.h"

namespace fs = std::filesystem;

namespace {

// The farms of the theoretical model's timings: rows 560 m apart both ways around the station;
// small 2 rows of 5, large 8 rows of 10.
std::unique_ptr<TParque_ModeloTeorico> Parque(bool grande) {
  return ParqueEnRejilla(grande ? "grande" : "pequeno", grande ? 8 : 2, grande ? 10 : 5,
                         grande ? 80 : 10);
}

// A stream that drops everything: the pass echoes every sample instant.
class TNulo : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

int Restringidas(const TSeriesDeDatos& s, NReal PAut) {
  int r = 0;
  for (int k = 1; k <= s.Series[6].n(); ++k) {
    if (s.Series[6].elemento(k) < 0.99 * PAut) ++r;
  }
  return r;
}

// Series of `dias` days with set-point periods and the combined model built from it, per farm.
struct TCaso {
  fs::path dir;
  std::string sas;
  std::unique_ptr<TParque_ModeloCombinado> mc;
  TCaso() = default;
  TCaso(const TCaso&) = delete;
  TCaso& operator=(const TCaso&) = delete;
  ~TCaso() {
    std::error_code e;
    if (!dir.empty()) fs::remove_all(dir, e);
  }
};

TCaso& Caso(bool grande, int dias) {
  static std::map<std::pair<bool, int>, TCaso> hechos;
  TCaso& c = hechos[{grande, dias}];
  if (c.mc) return c;
  c.dir = fs::temp_directory_path() / ("veltra_bench_restricciones_" + std::to_string(::getpid()) +
                                       "_" + std::to_string(grande) + "_" + std::to_string(dias));
  fs::create_directories(c.dir / "raiz");
  FijarCarpetaRaiz((c.dir / "raiz").generic_string());
  FijarCarpetaBasura((c.dir / "basura").generic_string());
  std::shared_ptr<TParque_ModeloTeorico> mt = Parque(grande);
  const TTablaPotencia tabla(*mt, 12, 1.0);
  TOpcionesGenerador o;
  o.n_muestras = dias * 144;
  o.consignas = true;
  c.sas = (c.dir / (mt->nombre + ".sas")).generic_string();
  // A short series may draw no set-point period: the next seed is taken then.
  for (;; ++o.semilla) {
    GenerarSeries(tabla, *mt, o, c.sas);
    if (Restringidas(TSeriesDeDatos(c.sas), mt->potencia_autorizada_mw) > 0 || o.semilla > 50) {
      break;
    }
  }
  std::ostringstream nada;
  auto cal = TCalibradorParque::CrearDesdeSeries(mt, 5, 95, c.sas, nada, false);
  const std::string clp = (c.dir / (mt->nombre + ".clp")).generic_string();
  cal->GuardarEnArchivo(clp);
  c.mc = TParque_ModeloCombinado::CrearDesdeCalibrador(clp, nada);
  return c;
}

void BM_ProcesarPeriodoMC(benchmark::State& state) {
  const bool grande = state.range(0) != 0;
  const int dias = static_cast<int>(state.range(1));
  TCaso& c = Caso(grande, dias);
  const TSeriesDeDatos s(c.sas);
  const NReal PAut = c.mc->modelo_teorico->potencia_autorizada_mw;
  const int restringidas = Restringidas(s, PAut);
  TNulo nulo;
  std::ostream salida(&nulo);
  NReal energia = 0;
  for (auto _ : state) {
    std::vector<TEntradaEnergia> lista;
    energia =
        ProcesarPeriodoMC(*c.mc, c.sas, c.dir.generic_string(), false, lista, 1, s.FechaInicio,
                          s.FechaInicio + dias, s.FechaInicio, s.FechaInicio + dias, salida);
  }
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  const int n = s.Series[0].n();
  state.counters["muestras"] = n;
  state.counters["restringidas"] = restringidas;
  state.counters["ENS_MWh"] = energia;
  state.counters["s_por_muestra"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
  state.counters["pico_MiB"] = static_cast<double>(uso.ru_maxrss) / 1024;
  state.SetLabel(c.mc->modelo_teorico->nombre + " " + std::to_string(dias) + " días");
}

// The combined power of every sample of one kind of the series, in series order.
void BM_PotenciaMCMuestras(benchmark::State& state) {
  const bool grande = state.range(0) != 0;
  const bool con_consigna = state.range(1) != 0;
  TCaso& c = Caso(grande, static_cast<int>(state.range(2)));
  const TSeriesDeDatos s(c.sas);
  const NReal PAut = c.mc->modelo_teorico->potencia_autorizada_mw;
  std::vector<int> ks;
  for (int k = 1; k <= s.Series[6].n(); ++k) {
    const bool r = s.Series[6].elemento(k) < 0.99 * PAut;
    if (r == con_consigna) ks.push_back(k);
  }
  if (ks.empty()) {
    state.SkipWithError("la serie no tiene muestras de ese tipo");
    return;
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const int k = ks[i % ks.size()];
    NReal con = 0, sin = 0;
    const NReal rho =
        DensidadAire(s.Series[3].elemento(k), s.Series[4].elemento(k), s.Series[5].elemento(k));
    c.mc->PotenciaMC(s.Series[6].elemento(k), rho, s.Series[1].elemento(k), s.Series[0].elemento(k),
                     con, sin);
    benchmark::DoNotOptimize(sin);
    ++i;
  }
  state.counters["muestras_del_tipo"] = static_cast<double>(ks.size());
  state.SetLabel(c.mc->modelo_teorico->nombre + (con_consigna ? " con consigna" : " sin consigna"));
}

}  // namespace

BENCHMARK(BM_ProcesarPeriodoMC)
    ->Args({0, 365})
    ->Args({1, 30})
    ->Args({1, 365})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_PotenciaMCMuestras)
    ->Args({0, 0, 365})
    ->Args({0, 1, 365})
    ->Args({1, 0, 30})
    ->Args({1, 1, 30})
    ->Unit(benchmark::kMillisecond);
