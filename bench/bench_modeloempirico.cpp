// Building the empirical model of one generated year (52 560 samples): the whole batch job with its
// 146 charts, the same without the charts, and one sector chart alone (2100 x 1000, quality 100).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "carpetas.h"
#include "ugeneradorseries.h"
#include "uparques_modeloempirico.h"
#include "uparquesreferencia.h"

namespace fs = std::filesystem;

namespace {

// Ten turbines in two rows, a generated year with every kind of defect, and working folders of
// this process; made once for all the benchmarks.
struct TAnio {
  TAnio() : dir(fs::temp_directory_path() / ("veltra_bench_empirico_" + std::to_string(getpid()))) {
    fs::create_directories(dir / "raiz");
    FijarCarpetaRaiz((dir / "raiz").generic_string());
    FijarCarpetaBasura((dir / "basura").generic_string());
    std::shared_ptr<TParque_ModeloTeorico> p = ParqueEnFilasDeCinco("bench", 10, 20, 8);
    const TTablaPotencia tabla(*p);
    TOpcionesGenerador o;
    o.huecos = o.trabados = o.disponibilidad = o.consignas = true;
    archivo = (dir / "c8_series10min.sas").generic_string();
    GenerarSeries(tabla, *p, o, archivo);
    modelo = p;
  }
  ~TAnio() { fs::remove_all(dir); }
  fs::path dir;
  std::string archivo;
  std::shared_ptr<const TParque_ModeloTeorico> modelo;
};

TAnio& Anio() {
  static TAnio a;
  return a;
}

void BM_ModeloEmpiricoAnio(benchmark::State& state) {
  TAnio& a = Anio();
  const bool graficos = state.range(0) != 0;
  for (auto _ : state) {
    std::ostringstream salida;
    auto m = TParque_ModeloEmpirico::CrearDesdeSeries(a.modelo, a.archivo, 5, 95, salida, graficos);
    benchmark::DoNotOptimize(m.get());
  }
  state.SetLabel(graficos ? "con 146 graficos" : "sin graficos");
  state.counters["muestras"] = 52560;
}
BENCHMARK(BM_ModeloEmpiricoAnio)->Arg(1)->Arg(0)->Unit(benchmark::kSecond)->Iterations(1);

void BM_GraficoSector(benchmark::State& state) {
  TAnio& a = Anio();
  std::ostringstream salida;
  auto m = TParque_ModeloEmpirico::CrearDesdeSeries(a.modelo, a.archivo, 5, 95, salida, false);
  for (auto _ : state) m->GraficarSector(51, 2);
  state.counters["muestras_cluster"] = m->clusters[50].pv3.n();
}
BENCHMARK(BM_GraficoSector)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
