#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "ayuda_calibrador.h"
#include "errores.h"
#include "fechas.h"
#include "numtext.h"
#include "umatriceserrores.h"

namespace fs = std::filesystem;

namespace {

using testing::HasSubstr;

// Title line, overall value and matrix of block `b` (1..12) of the file text.
struct TBloque {
  std::string titulo;
  double global = 0;
  std::vector<std::vector<std::string>> filas;  // the matrix lines split by TAB
};

double Real(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return TextoARealArchivo(s);
}

std::vector<TBloque> Bloques(const std::string& texto) {
  std::vector<TBloque> r;
  const std::vector<std::string> lineas = ayuda::Partir(texto, "\r\n");
  std::size_t i = 0;
  while (i + 1 < lineas.size()) {
    TBloque b;
    const std::vector<std::string> t = ayuda::Partir(lineas[i++], "\t");
    b.titulo = t.at(0);
    b.global = Real(t.at(1));
    const std::vector<std::string> dims = ayuda::Partir(lineas[i++], "\t");
    const int filas = TextoAEntero(dims.at(1));
    ++i;  // column numbers
    for (int f = 0; f < filas; ++f) b.filas.push_back(ayuda::Partir(lineas[i++], "\t"));
    EXPECT_EQ(lineas[i++], "");
    r.push_back(b);
  }
  return r;
}

TEST(MatricesErrores, SectorYTramo) {
  auto m = TMatricesConErroresModelos::Crear(72, 10, 20);
  struct Caso {
    double dir, v;
    bool celda;
    int s, b;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Caso& c : std::vector<Caso>{{0, 0, true, 1, 1},
                                         {357, 2.5, true, 72, 2},
                                         {360, 30, true, 1, 10},
                                         {4.999, 25, true, 1, 10},
                                         {725, 24.99, true, 2, 10},
                                         {-0.5, 5, false, 0, 0},
                                         {10, -0.1, false, 0, 0},
                                         {nan, 5, false, 0, 0},
                                         {10, nan, false, 0, 0}}) {
    SCOPED_TRACE(RealAGeneral(c.dir) + " " + RealAGeneral(c.v));
    int s = 0, b = 0;
    ASSERT_EQ(m->Celda(c.dir, c.v, s, b), c.celda);
    if (c.celda) {
      EXPECT_EQ(s, c.s);
      EXPECT_EQ(b, c.b);
    }
  }
}

TEST(MatricesErrores, DiaYNocheDeInstantesCalculados) {
  auto m = TMatricesConErroresModelos::Crear(72, 10, 20);
  // Instants computed as a series computes them, every day of a year.
  const TFechaHora t0 = CodificarFecha(2015, 1, 1);
  const double dt = (1.0 / 6) / 24;
  for (int d = 0; d < 365; ++d) {
    const int k = d * 144;
    EXPECT_FALSE(m->EsDeDia(t0 + (k + 41) * dt));   // 06:50
    EXPECT_TRUE(m->EsDeDia(t0 + (k + 42) * dt));    // 07:00
    EXPECT_TRUE(m->EsDeDia(t0 + (k + 43) * dt));    // 07:10
    EXPECT_TRUE(m->EsDeDia(t0 + (k + 119) * dt));   // 19:50
    EXPECT_FALSE(m->EsDeDia(t0 + (k + 120) * dt));  // 20:00
    EXPECT_FALSE(m->EsDeDia(t0 + (k + 121) * dt));  // 20:10
    if (HasFailure()) FAIL() << "día " << d;
  }
}

TEST(MatricesErrores, DoceBloquesConSusEstadisticas) {
  const double Pa = 2;
  auto m = TMatricesConErroresModelos::Crear(72, 10, Pa);
  const TFechaHora dia = CodificarFecha(2015, 3, 5) + 12.0 / 24;
  const TFechaHora noche = CodificarFecha(2015, 3, 5) + 2.0 / 24;
  // Two day samples in one cell, one night sample in another, and samples without a cell.
  m->Acumular(dia, 10, 3, 1);
  m->Acumular(dia, 12, 4, 3);
  m->Acumular(noche, 100, 11, -2);
  m->Acumular(noche, -5, 11, 7);
  m->Acumular(noche, 100, -3, 7);
  m->Acumular(noche, 100, 3, std::numeric_limits<double>::infinity());
  const std::vector<TBloque> b = Bloques(m->Texto());
  ASSERT_EQ(b.size(), 12U);
  const std::vector<std::string> titulos = {
      "Errores Acumulados - Total [MWh]",
      "Errores Acumulados - Día [MWh]",
      "Errores Acumulados - Noche [MWh]",
      "Errores Medios Respecto a PAutorizada - Total [p.u]",
      "Errores Medios Respecto a PAutorizada - Día [p.u]",
      "Errores Medios Respecto a PAutorizada - Noche [p.u]",
      "Desviación estándar del error respecto a la PAutorizada - Total [p.u]",
      "Desviación estándar del error respecto a la PAutorizada - Día [p.u]",
      "Desviación estándar del error respecto a la PAutorizada - Noche [p.u]",
      "Cantidad de datos por sector y tramo - Total [cant]",
      "Cantidad de datos por sector y tramo - Día [cant]",
      "Cantidad de datos por sector y tramo - Noche [cant]"};
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(b[i].titulo, titulos[i]);
    EXPECT_EQ(b[i].filas.size(), 72U);
    EXPECT_EQ(b[i].filas[0].size(), 11U);
  }
  // Cell (3, 2) holds the day samples, cell (21, 5) the night one.
  const auto celda = [&b](int bloque, int s, int t) {
    return Real(b[static_cast<std::size_t>(bloque - 1)]
                    .filas[static_cast<std::size_t>(s - 1)][static_cast<std::size_t>(t)]);
  };
  EXPECT_DOUBLE_EQ(celda(1, 3, 2), 4.0 / 6);
  EXPECT_DOUBLE_EQ(celda(1, 21, 5), -2.0 / 6);
  EXPECT_DOUBLE_EQ(b[0].global, 2.0 / 6);
  EXPECT_DOUBLE_EQ(b[1].global, 4.0 / 6);
  EXPECT_DOUBLE_EQ(b[2].global, -2.0 / 6);
  // Means: 4/2/2 = 1 and -2/1/2 = -1; overall (1*2 - 1*1)/3.
  EXPECT_DOUBLE_EQ(celda(4, 3, 2), 1);
  EXPECT_DOUBLE_EQ(celda(6, 21, 5), -1);
  EXPECT_DOUBLE_EQ(celda(4, 1, 1), -99999999);
  EXPECT_DOUBLE_EQ(b[3].global, 1.0 / 3);
  EXPECT_DOUBLE_EQ(b[4].global, 1);
  // Standard deviations: sqrt(10/2/4 - 1) = 0.5; a one-sample cell gives 0.
  EXPECT_DOUBLE_EQ(celda(8, 3, 2), 0.5);
  EXPECT_DOUBLE_EQ(celda(9, 21, 5), 0);
  EXPECT_DOUBLE_EQ(celda(7, 1, 1), -99999999);
  EXPECT_DOUBLE_EQ(b[6].global, std::sqrt(14.0 / 4 / 3 - 1.0 / 9));
  EXPECT_DOUBLE_EQ(b[5].global, -1);
  EXPECT_DOUBLE_EQ(b[8].global, 0);
  EXPECT_DOUBLE_EQ(b[9].global, 3);
  EXPECT_DOUBLE_EQ(b[10].global, 2);
  EXPECT_DOUBLE_EQ(b[11].global, 1);
  EXPECT_DOUBLE_EQ(celda(10, 3, 2), 2);
}

TEST(MatricesErrores, FormaDeLaTablaYSinMuestras) {
  auto m = TMatricesConErroresModelos::Crear(2, 3, 20);
  const std::string t = m->Texto();
  const std::string primer =
      "Errores Acumulados - Total [MWh]\t 0.0000000000000000E+000\r\n"
      "NFilas: \t2\tNColumnas: \t3\r\n"
      " \t1\t2\t3\r\n"
      "1\t 0.0000000000000000E+000\t 0.0000000000000000E+000\t 0.0000000000000000E+000\r\n"
      "2\t 0.0000000000000000E+000\t 0.0000000000000000E+000\t 0.0000000000000000E+000\r\n"
      "\r\n";
  EXPECT_EQ(t.substr(0, primer.size()), primer);
  // Without samples the overall mean and deviation take the empty-cell value, never 0/0.
  EXPECT_THAT(t, HasSubstr("Errores Medios Respecto a PAutorizada - Total [p.u]\t"
                           "-9.9999999000000000E+007\r\n"));
  EXPECT_THAT(t, HasSubstr("Desviación estándar del error respecto a la PAutorizada - Noche "
                           "[p.u]\t-9.9999999000000000E+007\r\n"));
}

TEST(MatricesErrores, ArchivoQueNoSePuedeCrear) {
  ayuda::CarpetasPrueba carpetas("matrices");
  auto m = TMatricesConErroresModelos::Crear(72, 10, 20);
  const fs::path nombre = carpetas.dir / "no_existe" / "Matrices_Errores.xlt";
  EXPECT_THROW(m->EscribirArchivo(nombre.generic_string()), ExcepcionES);
  m->EscribirArchivo((carpetas.dir / "Matrices_Errores.xlt").generic_string());
  EXPECT_EQ(ayuda::LeerArchivo(carpetas.dir / "Matrices_Errores.xlt").substr(0, 32),
            "Errores Acumulados - Total [MWh]");
}

}  // namespace
