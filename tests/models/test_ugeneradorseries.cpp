#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ayuda_empirico.h"
#include "ugeneradorseries.h"
#include "useriestemporales.h"

namespace fs = std::filesystem;

namespace {

std::string Leer(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(GenerarSeries, MismaSemillaMismoArchivoYDefectosSoloAPedido) {
  const fs::path dir = ayuda::CarpetaTemporal("generador");
  auto mt = ayuda::Parque(10, 20);
  const TTablaPotencia tabla(*mt, 12, 1.0);  // coarse: cheap under the sanitizers
  TOpcionesGenerador o;
  o.n_muestras = 3000;
  o.semilla = 11;
  GenerarSeries(tabla, *mt, o, (dir / "a.sas").generic_string());
  GenerarSeries(tabla, *mt, o, (dir / "b.sas").generic_string());
  EXPECT_EQ(Leer(dir / "a.sas"), Leer(dir / "b.sas"));

  const TSeriesDeDatos s((dir / "a.sas").generic_string());
  EXPECT_EQ(s.VersionFormato, 1);
  EXPECT_EQ(s.NSeries, 9);
  EXPECT_EQ(s.NPuntos, 3000);
  EXPECT_EQ(s.PeriodoHoras, 1.0 / 6);
  EXPECT_EQ(s.FechaInicio, CodificarFecha(2015, 1, 1));
  // Without defects: no gap, the set-point at PAut, the farm fully available, power within PAut.
  for (int k = 1; k <= s.NPuntos; ++k) {
    for (const TVectR& v : s.Series) ASSERT_GT(v.elemento(k), -1000) << k;
    ASSERT_EQ(s.Series[6].elemento(k), 20);
    ASSERT_EQ(s.Series[7].elemento(k), 1);
    ASSERT_GE(s.Series[2].elemento(k), 0);
    ASSERT_LE(s.Series[8].elemento(k), 20.5);  // density above standard may add a little
    ASSERT_GE(s.Series[1].elemento(k), 0);
    ASSERT_LT(s.Series[1].elemento(k), 360);
  }

  o.semilla = 12;
  o.n_muestras = 20000;
  o.huecos = o.consignas = o.disponibilidad = true;
  GenerarSeries(tabla, *mt, o, (dir / "c.sas").generic_string());
  const TSeriesDeDatos d((dir / "c.sas").generic_string());
  int huecos = 0, consignas = 0, fuera = 0;
  for (int k = 1; k <= d.NPuntos; ++k) {
    if (d.Series[0].elemento(k) == -9999) {
      ++huecos;
      continue;
    }
    consignas += d.Series[6].elemento(k) < 20 ? 1 : 0;
    fuera += d.Series[7].elemento(k) < 1 ? 1 : 0;
  }
  EXPECT_GT(huecos, 10);
  EXPECT_GT(consignas, 10);
  EXPECT_GT(fuera, 10);
  EXPECT_NE(Leer(dir / "a.sas"), Leer(dir / "c.sas"));
  fs::remove_all(dir);
}

TEST(TTablaPotencia, SigueAlModelo) {
  auto mt = ayuda::Parque(1, 2);
  const TTablaPotencia tabla(*mt, 12, 1.0);  // coarse: cheap under the sanitizers
  // Calm, cut-out and beyond the table give nothing; the rated power at 16 m/s.
  EXPECT_EQ(tabla.Potencia(270, 0), 0);
  EXPECT_EQ(tabla.Potencia(270, -3), 0);
  EXPECT_GT(tabla.Potencia(270, 16), 1.5);
  EXPECT_EQ(tabla.Potencia(270, 31), tabla.Potencia(270, 30));
  // Directions wrap.
  EXPECT_DOUBLE_EQ(tabla.Potencia(-90, 9), tabla.Potencia(270, 9));
  EXPECT_DOUBLE_EQ(tabla.Potencia(630, 9), tabla.Potencia(270, 9));
}

}  // namespace
