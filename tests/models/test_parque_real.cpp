// A real farm layout and turbine curve (80 turbines of 2 MW, 80 m rotor, 560 m spacing). Skipped
// when the data folder is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "numtext.h"
#include "uparques_modeloteorico.h"

namespace {

std::filesystem::path CarpetaDatosReales() {
  if (const char* e = std::getenv("VELTRA_DATOS_REALES")) return e;
  return std::filesystem::path(VELTRA_DIR_FUENTES) / ".." / "shared" / "data" / "real";
}

// Rows of comma-separated reals after the title line.
std::vector<std::vector<double>> LeerCsv(const std::filesystem::path& archivo) {
  std::ifstream f(archivo);
  std::vector<std::vector<double>> filas;
  std::string linea;
  std::getline(f, linea);
  while (std::getline(f, linea)) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    if (linea.empty()) continue;
    std::vector<double> fila;
    std::size_t desde = 0;
    while (desde <= linea.size()) {
      const std::size_t hasta = std::min(linea.find(',', desde), linea.size());
      fila.push_back(TextoARealArchivo(linea.substr(desde, hasta - desde)));
      desde = hasta + 1;
    }
    filas.push_back(std::move(fila));
  }
  return filas;
}

TEST(ParqueReal, EstelasYPotenciaInversa) {
  const std::filesystem::path dir = CarpetaDatosReales() / "layouts";
  if (!std::filesystem::exists(dir / "horns_rev_1_layout.csv")) {
    GTEST_SKIP() << "sin datos reales en " << dir;
  }
  TDAofNReal v;
  TDAofNReal p;
  for (const auto& f : LeerCsv(dir / "horns_rev_1_V80_power_ct.csv")) {
    v.push_back(f.at(0));
    p.push_back(f.at(1) / 1000);
  }
  const auto posiciones = LeerCsv(dir / "horns_rev_1_layout.csv");
  ASSERT_EQ(posiciones.size(), 80u);
  double x_min = posiciones[0].at(1);
  double y_media = 0;
  std::vector<std::unique_ptr<TMolino>> molinos;
  for (const auto& f : posiciones) {
    const int nid = static_cast<int>(f.at(0)) + 1;
    auto curva = std::make_unique<TCurvaAerogen>(1, "V80", 80, v, p);
    molinos.push_back(std::make_unique<TMolino>(nid, nid, 1, 1, std::move(curva), 1.0,
                                                TPosicion(32, 'U', f.at(1), f.at(2))));
    x_min = std::min(x_min, f.at(1));
    y_media += f.at(2) / 80;
  }
  auto parque = TParque_ModeloTeorico::Crear("Horns Rev 1", std::move(molinos), 160);
  // The station 1 km west of the westernmost turbines.
  parque->meteo_utm_xe = x_min - 1000;
  parque->meteo_utm_yn = y_media;
  parque->CalcularPosicionesRelativas();
  EXPECT_NEAR(parque->curva_parque->P_max, 160, 1e-9);

  parque->PrepararDireccion(270, true);
  double meteo = 0;
  const double f = PV3(8, 1.225);
  const double P = parque->Simular(160, f, 1.225, meteo);
  const double libre = 80 * parque->molinos[0]->curva->PotenciaDePV3(f);
  EXPECT_LT(P, 0.95 * libre);
  EXPECT_GT(P, 0.4 * libre);
  // The westernmost turbines see the free stream, the ones behind them less.
  double oeste = 0;
  double este = 0;
  for (const auto& m : parque->molinos) {
    if (m->posicion.dx < 1200) oeste = std::max(oeste, m->potencia);
    if (m->posicion.dx > 6000) este = std::max(este, m->potencia);
  }
  EXPECT_NEAR(oeste, libre / 80, 1e-9);
  EXPECT_LT(este, 0.9 * oeste);
  EXPECT_NEAR(meteo, f, 1e-12 * f);

  const double viento = parque->VientoParaPotencia(100);
  EXPECT_NEAR(parque->Simular(160, PV3(viento, 1.225), 1.225, meteo), 100, 0.01);
}

}  // namespace
