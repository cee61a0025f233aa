#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ayuda_empirico.h"
#include "fechas.h"
#include "formatos.h"
#include "ufiltrosmuestras.h"

namespace fs = std::filesystem;

namespace {

// Nine columns of n samples with plausible values: 8 m/s from 270°, 50 MW, set-point at PAut.
struct TDatos {
  explicit TDatos(int n, double pe = 50, double cgm = 100)
      : Vel(n), Ang(n), PE(n), Temp(n), Pre(n), HumRel(n), CGM(n), fDisp(n) {
    for (int k = 1; k <= n; ++k) {
      // Values vary from sample to sample so nothing repeats unless a test says so.
      Vel.poner(k, 8 + 0.01 * k);
      Ang.poner(k, 270 + 0.01 * k);
      PE.poner(k, pe + 0.01 * k);
      Temp.poner(k, 15);
      Pre.poner(k, 1013);
      HumRel.poner(k, 50);
      CGM.poner(k, cgm);
      fDisp.poner(k, 1);
    }
  }
  TSeriesFiltrado Series() {
    return {.Vel = Vel,
            .Ang = Ang,
            .PE = PE,
            .Temp = Temp,
            .Pre = Pre,
            .HumRel = HumRel,
            .CGM = CGM,
            .fDisp = fDisp};
  }
  TVectR Vel, Ang, PE, Temp, Pre, HumRel, CGM, fDisp;
};

std::vector<int> Marcados(const TDAOfBoolean& a) {
  std::vector<int> r;
  for (std::size_t k = 1; k < a.size(); ++k) {
    if (a[k]) r.push_back(static_cast<int>(k));
  }
  return r;
}

TEST(FiltrarMuestras, LimitesDeHuecos) {
  // PAut 100: a sample is a gap only strictly beyond each bound.
  struct Caso {
    const char* nombre;
    TVectR TDatos::*serie;
    double valor;
    bool hueco;
  };
  const Caso casos[] = {
      {"vel -10", &TDatos::Vel, -10, false},    {"vel -10.01", &TDatos::Vel, -10.01, true},
      {"vel 80", &TDatos::Vel, 80, false},      {"vel 80.01", &TDatos::Vel, 80.01, true},
      {"pe 1.2 PAut", &TDatos::PE, 120, false}, {"pe sobre 1.2 PAut", &TDatos::PE, 120.001, true},
      {"pe -1000", &TDatos::PE, -1000, false},  {"ang", &TDatos::Ang, -1000.5, true},
      {"pre", &TDatos::Pre, -9999, true},       {"hum", &TDatos::HumRel, -9999, true},
      {"temp", &TDatos::Temp, -9999, true},     {"cgm", &TDatos::CGM, -9999, true},
  };
  auto modelo = ayuda::Parque(1, 100);
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    TDatos d(3);
    (d.*c.serie).poner(2, c.valor);
    TFiltrosMuestras f;
    std::ostringstream salida;
    FiltrarMuestras(*modelo, d.Series(), f, true, salida);
    EXPECT_EQ(Marcados(f.Filt_Huecos), c.hueco ? std::vector<int>{2} : std::vector<int>{});
    EXPECT_THAT(salida.str(), testing::StartsWith(c.hueco ? "Filtrado de huecos: 1\n"
                                                          : "Filtrado de huecos: 0\n"));
  }
}

TEST(FiltrarMuestras, DisponibilidadYNormalizacion) {
  auto modelo = ayuda::Parque(1, 100);
  TDatos d(6);
  const double fd[] = {0.8, 1.001, 1.0011, 0.79, 0.9, 0.9};
  for (int k = 1; k <= 6; ++k) d.fDisp.poner(k, fd[k - 1]);
  d.PE.poner(5, 9);
  d.PE.poner(6, 92);  // 92 / 0.9 > 1.02 * PAut
  for (const bool normalizar : {true, false}) {
    SCOPED_TRACE(normalizar);
    TDatos e = d;
    TFiltrosMuestras f;
    std::ostringstream salida;
    FiltrarMuestras(*modelo, e.Series(), f, normalizar, salida);
    EXPECT_EQ(Marcados(f.Filt_Disponibilidad), (std::vector<int>{3, 4, 6}));
    EXPECT_EQ(e.PE.elemento(5), normalizar ? 10.0 : 9.0);
    EXPECT_EQ(e.PE.elemento(1), normalizar ? d.PE.elemento(1) / 0.8 : d.PE.elemento(1));
    EXPECT_EQ(e.PE.elemento(3), d.PE.elemento(3));  // flagged samples keep their power
    EXPECT_EQ(salida.str(),
              "Filtrado de huecos: 0\n"
              "Filtrado por Disp < 0.8 o PDato/fdisp > PAutorizada: 3\n"
              "Filtro repetidos vel: 0\n"
              "Filtro repetidos dir: 0\n"
              "Filtro repetidos Pot: 0\n"
              "Filtro CGM < PAut*0.99: 0\n");
  }
}

TEST(FiltrarMuestras, ConsignaYPotenciaRepetida) {
  auto modelo = ayuda::Parque(1, 100);
  TDatos d(24);
  // Set-point: 99 = 0.99 * PAut is not curtailment, 98.9 is.
  d.CGM.poner(2, 99);
  d.CGM.poner(3, 98.9);
  // Twelve equal powers 13..24; the three in the middle sit at their set-point and interrupt it.
  for (int k = 13; k <= 24; ++k) d.PE.poner(k, 40);
  TFiltrosMuestras f;
  std::ostringstream salida;
  FiltrarMuestras(*modelo, d.Series(), f, true, salida);
  EXPECT_EQ(Marcados(f.Filt_CGM), std::vector<int>{3});
  EXPECT_EQ(Marcados(f.Filt_Coherencia),
            (std::vector<int>{13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
  TDatos e(24);
  for (int k = 13; k <= 24; ++k) e.PE.poner(k, 40);
  for (int k = 17; k <= 19; ++k) e.CGM.poner(k, 41);
  FiltrarMuestras(*modelo, e.Series(), f, true, salida);
  EXPECT_EQ(Marcados(f.Filt_Coherencia), std::vector<int>{});
}

TEST(MarcarRepetidos, Casos) {
  struct Caso {
    const char* nombre;
    std::vector<double> serie;
    std::vector<int> saltar;
    std::vector<int> marcados;
    int cuenta;
  };
  const std::vector<double> nueve_cincos = {5, 5, 5, 5, 5, 5, 5, 5, 5, 6, 7, 8};
  const Caso casos[] = {
      {"nueve iguales", nueve_cincos, {}, {1, 2, 3, 4, 5, 6, 7, 8}, 8},
      {"ocho iguales", {5, 5, 5, 5, 5, 5, 5, 5, 6, 7, 8, 9}, {}, {}, 0},
      {"interrumpidos por un salto", nueve_cincos, {5}, {}, 0},
      {"primeros saltados", nueve_cincos, {1}, {}, 0},
      // A stretch that reaches position n - 1 is marked but not counted.
      {"hasta el final", {1, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}, {}, {2, 3, 4, 5, 6, 7, 8, 9, 10}, 0},
      {"todo saltado", {1, 1, 1}, {1, 2, 3}, {}, 0},
      {"vacia", {}, {}, {}, 0},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    const TVectR serie(c.serie);
    TDAOfBoolean saltar(c.serie.size() + 1, false);
    for (const int k : c.saltar) saltar[static_cast<std::size_t>(k)] = true;
    TDAOfBoolean marcas(c.serie.size() + 1, false);
    EXPECT_EQ(MarcarRepetidos(marcas, serie, 8, saltar), c.cuenta);
    EXPECT_EQ(Marcados(marcas), c.marcados);
  }
}

TEST(AjustarFDisp, PorcentajeYMaquinas) {
  struct Caso {
    double maximo;
    double divisor;
    const char* informe;
  };
  const Caso casos[] = {
      {100, 100, "WARNING!!!: max_fd: 100 Asumo que es porcentaje y divido por este valor.\n"},
      {19, 20,
       "WARNING!!!: max_fd: 20 Asumo que es cantidad de máquinas y divido por este valor.\n"},
      {1.0, 1, ""},
  };
  auto modelo = ayuda::Parque(20, 40);
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.maximo);
    TVectR fd(TDAofNReal{c.maximo / 2, c.maximo});
    std::ostringstream salida;
    AjustarFDisp(fd, *modelo, salida);
    EXPECT_EQ(salida.str(), c.informe);
    EXPECT_EQ(fd.elemento(2), c.maximo * (1 / c.divisor));
  }
}

TEST(FiltrarPorDistancia, PeorDecimoDeLasValidas) {
  // 1000 samples, 100 of them flagged as gaps; the estimate misses sample k by k MW, so the
  // 90 largest valid deviations (far above any fixed sentinel) are flagged: keep = 810.
  TDatos d(1000);
  TFiltrosMuestras f;
  f.Dimensionar(1000);
  for (int k = 1; k <= 1000; k += 10) f.Filt_Huecos[static_cast<std::size_t>(k)] = true;
  for (int k = 1; k <= 1000; ++k) d.PE.poner(k, 0);
  FiltrarPorDistancia(d.Series(), f, [&](double, double pv3, double ang) {
    const int k = static_cast<int>(std::lround((ang - 270) / 0.01));
    EXPECT_GT(pv3, 0);
    return 1000.0 * k;
  });
  const std::vector<int> m = Marcados(f.Filtro_Distancia);
  ASSERT_EQ(m.size(), 90U);
  EXPECT_EQ(m.front(), 902);
  EXPECT_EQ(m.back(), 1000);
  for (const int k : m) EXPECT_FALSE(f.Filt_Huecos[static_cast<std::size_t>(k)]);
}

std::string LeerTexto(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(EscribirSeriesFiltradas, TablaYGraficos) {
  const fs::path dir = ayuda::CarpetaTemporal("filtradas");
  TDatos d(3);
  TFiltrosMuestras f;
  f.Dimensionar(3);
  f.Filt_Coherencia[2] = true;
  f.Filtro_Distancia[3] = true;
  TFormatosDePrueba usuario(TFormatos{});
  const TSalidaFiltrado o{.carpeta = dir.generic_string(),
                          .fecha_inicio = CodificarFecha(2015, 3, 5),
                          .dt = 1.0 / 144,
                          .AlfaFilt = 0,
                          .PAut = 100};
  EscribirSeriesFiltradas(d.Series(), f, o);
  const std::string t = LeerTexto(dir / "series_filtradas.xlt");
  EXPECT_THAT(t, testing::StartsWith(
                     "dt\tVel[m/s]\tAng[°]\tPE[MW]\tTemp[°C]\tPre[hPA]\tHumRel[%]\tCGM[MW]\t"
                     "fDisp[p.u.]\tFilt_Huecos\tFilt_Coherencia\tFilt_Disponibilidad\tFilt_CGM\t"
                     "Filtro_Distancia\r\n05/03/2015\t 8.0099999999999998E+000\t"));
  EXPECT_THAT(t, testing::HasSubstr("\r\n05/03/2015 00:10:00\t"));
  EXPECT_THAT(t, testing::EndsWith("\t 1.0000000000000000E+000\t0\t1\t0\t0\t0\r\n"
                                   "05/03/2015 00:20:00\t 8.0299999999999994E+000\t"
                                   " 2.7002999999999997E+002\t 5.0030000000000001E+001\t"
                                   " 1.5000000000000000E+001\t 1.0130000000000000E+003\t"
                                   " 5.0000000000000000E+001\t 1.0000000000000000E+002\t"
                                   " 1.0000000000000000E+000\t0\t0\t0\t0\t1\r\n"));
  EXPECT_GT(fs::file_size(dir / "muestras_filtrados_plano_pe_vel_0.jpg"), 1000U);
  EXPECT_GT(fs::file_size(dir / "muestras_filtrados_plano_dir_vel_0.jpg"), 1000U);
  for (const auto& e : fs::directory_iterator(dir)) {
    EXPECT_NE(e.path().extension(), ".tmp") << e.path();
  }
  // A folder that cannot be written fails with the file's name and leaves the old table intact.
  TSalidaFiltrado mala = o;
  mala.carpeta = (dir / "falta").generic_string();
  EXPECT_THAT([&] { EscribirSeriesFiltradas(d.Series(), f, mala); },
              testing::ThrowsMessage<ExcepcionES>(testing::StrEq(
                  "Error escribiendo el archivo: " + mala.carpeta + "/series_filtradas.xlt")));
  fs::remove_all(dir);
}

}  // namespace
