// The empirical model built from a real public year of one 3.6 MW turbine (10-minute SCADA with
// speed, direction and power). Skipped when the real data folder is absent.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ayuda_empirico.h"
#include "carpetas.h"
#include "fechas.h"
#include "numtext.h"
#include "ucurvasaeros.h"
#include "uparques_modeloempirico.h"

namespace fs = std::filesystem;

namespace {

fs::path DatosReales() {
  if (const char* d = std::getenv("VELTRA_DATOS_REALES")) return d;
  return fs::path(VELTRA_DIR_FUENTES) / ".." / "shared" / "data" / "real";
}

std::vector<std::string> Campos(const std::string& linea) {
  std::vector<std::string> r;
  std::stringstream s(linea);
  std::string c;
  while (std::getline(s, c, ',')) r.push_back(c);
  return r;
}

// Writes the CSV year as a ".sas" file on a continuous 10-minute grid: missing instants become
// samples with every value -9999, and the columns the file lacks take constant plausible values.
int ConvertirASas(const fs::path& csv, const fs::path& sas) {
  std::ifstream f(csv, std::ios::binary);
  std::string linea;
  std::getline(f, linea);  // titles
  const TFechaHora t0 = CodificarFecha(2018, 1, 1);
  std::ostringstream datos;
  int k = 0;
  while (std::getline(f, linea)) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    const std::vector<std::string> c = Campos(linea);
    if (c.size() < 5 || c[0].size() < 16) continue;
    const TFechaHora t =
        CodificarFecha(TextoAEntero(c[0].substr(6, 4)), TextoAEntero(c[0].substr(3, 2)),
                       TextoAEntero(c[0].substr(0, 2))) +
        CodificarHora(TextoAEntero(c[0].substr(11, 2)), TextoAEntero(c[0].substr(14, 2)), 0);
    const int pos = NintToInt((t - t0) * 144);
    for (; k < pos; ++k) datos << k + 1 << " -9999 -9999 -9999 -9999 -9999 -9999 -9999 -9999 0\n";
    const NReal pe = TextoARealArchivo(c[1]) / 1000;
    datos << ++k << ' ' << c[2] << ' ' << c[4] << ' ' << RealANotacionArchivo(pe)
          << " 15 1013.25 50 3.6 1 0\n";
  }
  std::ofstream s(sas, std::ios::binary);
  s << "9\n2018 1 1 0 0 0\n1/6\n"
    << k << "\n144\nVel Ang PE Temp Pre HumRel CGM fDisp x\n"
    << datos.str();
  return k;
}

// One 3.6 MW turbine with a 112 m rotor: the 2 MW curve scaled by 1.8.
std::shared_ptr<TParque_ModeloTeorico> Turbina36() {
  const std::unique_ptr<TCurvaAerogen> base = CurvaReferencia2MW();
  TDAofNReal v, p;
  for (int i = 1; i <= base->curva_v.n(); ++i) {
    v.push_back(base->curva_v.elemento(i));
    p.push_back(1.8 * base->curva_P.elemento(i));
  }
  std::vector<std::unique_ptr<TMolino>> molinos;
  molinos.push_back(std::make_unique<TMolino>(
      1, 1, 1, 8, std::make_unique<TCurvaAerogen>(1, "3.6", 112, v, p), 1.0, TPosicion(0, 200)));
  std::shared_ptr<TParque_ModeloTeorico> m =
      TParque_ModeloTeorico::Crear("T1", std::move(molinos), 3.6);
  m->nid_central = 8;
  return m;
}

TEST(ModeloEmpiricoReal, AnioDeUnaTurbina) {
  const fs::path csv = DatosReales() / "scada" / "T1_turkey_2018.csv";
  if (!fs::exists(csv)) GTEST_SKIP() << "sin datos reales en " << csv;
  const fs::path dir = ayuda::CarpetaTemporal("real");
  FijarCarpetaRaiz((dir / "raiz").generic_string());
  fs::create_directories(dir / "raiz");
  FijarCarpetaBasura((dir / "basura").generic_string());
  const fs::path sas = dir / "t1.sas";
  EXPECT_EQ(ConvertirASas(csv, sas), 52560);
  std::ostringstream salida;
  auto e = TParque_ModeloEmpirico::CrearDesdeSeries(Turbina36(), sas.generic_string(), 5, 95,
                                                    salida, false);
  // The 2 030 missing instants are gaps; long stretches of zero power at low wind are stuck.
  EXPECT_THAT(salida.str(), testing::HasSubstr("Filtrado de huecos: 2030\n"));
  int sectores = 0;
  for (int s = 1; s <= 72; ++s) {
    if (e->cntMuestras.elemento(s) < 300) continue;
    ++sectores;
    const double ang = e->AnguloSector(s);
    SCOPED_TRACE(ang);
    // A rising curve of sensible size: little at 4 m/s, well over half the rating at 13 m/s.
    double anterior = -1;
    for (double v = 4; v <= 14; v += 1) {
      const double p = e->PotenciaCurvaS(1.225, PV3(v, 1.225), ang);
      EXPECT_GT(p, anterior);
      anterior = p;
    }
    EXPECT_LT(e->PotenciaCurvaS(1.225, PV3(4, 1.225), ang), 0.5);
    EXPECT_GT(e->PotenciaCurvaS(1.225, PV3(13, 1.225), ang), 2.2);
  }
  EXPECT_GT(sectores, 10);
  fs::remove_all(dir);
}

}  // namespace
