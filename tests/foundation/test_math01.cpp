#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "math01.h"

TEST(Biseccion, CasosDeLaRaizDeXMenosDos) {
  struct Caso {
    const char* nombre;
    std::int16_t max_iter;
    double x1, x2;
    bool ok;
    double raiz;
    std::int16_t iteraciones;
  };
  const Caso casos[] = {
      {"converge", 100, 3, 0, true, 2, 15},
      {"sin cambio de signo", 100, 3, 5, false, 4, 0},
      {"agotado", 5, 0, 3, false, 2, 5},
      {"max_iter nulo para tras una", 0, 0, 3, false, 2.25, 1},
      {"raiz en el extremo", 100, 2, 4, true, 2, 15},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    T_ProblemaFx_Cero_externa p([](double x) { return x - 2; });
    double raiz = -1;
    double fx = -1;
    std::int16_t it = -1;
    EXPECT_EQ(p.Biseccion(c.max_iter, raiz, it, fx, 1e-4, c.x1, c.x2), c.ok);
    EXPECT_EQ(it, c.iteraciones);
    EXPECT_NEAR(raiz, c.raiz, c.ok ? 1e-4 : 0.2);
    EXPECT_DOUBLE_EQ(fx, raiz - 2);
  }
}

TEST(Biseccion, NaNNoEsCambioDeSigno) {
  bool ok = true;
  double raiz = 0;
  double fx = 0;
  std::int16_t it = -1;
  ResolverFxCero([](double) { return std::nan(""); }, 50, raiz, ok, it, fx, 1e-4, 0, 1);
  EXPECT_FALSE(ok);
  EXPECT_EQ(it, 0);
  EXPECT_EQ(raiz, 0.5);
}

TEST(IntegrarRomberg, PolinomiosYLimitesInvertidos) {
  struct Caso {
    const char* nombre;
    TFuncionReal f;
    double a, b, integral;
  };
  const Caso casos[] = {
      {"cubica", [](double x) { return x * x * x; }, 0, 2, 4},
      {"seno", [](double x) { return std::sin(x); }, 0, M_PI, 2},
      {"invertido", [](double x) { return x; }, 1, 0, -0.5},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    double r = -99;
    bool ok = false;
    IntegrarRomberg(c.f, r, ok, 1e-10, c.b, c.a);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(r, c.integral, 1e-9);
  }
}

TEST(IntegrarRomberg, SinConvergenciaNoEscribeElResultado) {
  // |x|^0.5 near 0 converges too slowly for a tolerance of 1e-15 in ten levels.
  const TFuncionReal f = [](double x) { return std::sqrt(std::fabs(x)); };
  double r = -99;
  bool ok = true;
  IntegrarRomberg(f, r, ok, 1e-15, 1, 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(r, -99);
  EXPECT_NEAR(RombergEstimacion(f, ok, 1e-15, 1, 0), 2.0 / 3, 1e-4);
}

namespace {

TMatR Columna(const std::vector<double>& v) {
  TMatR m(static_cast<int>(v.size()), 1);
  for (std::size_t i = 0; i < v.size(); ++i) m.poner(static_cast<int>(i) + 1, 1, v[i]);
  return m;
}

}  // namespace

TEST(RellenarHuecos, UnaColumnaCiclica) {
  TMatR m(4, 1);
  NReal cambio = -1;
  int barridos = 0;
  std::ostringstream os;
  RellenarHuecos(m, Columna({1, 0, 3, 0}), cambio, barridos, os);
  EXPECT_EQ(m.elemento(1, 1), 1);
  EXPECT_EQ(m.elemento(2, 1), 2);
  EXPECT_EQ(m.elemento(3, 1), 3);
  EXPECT_EQ(m.elemento(4, 1), 2);
  EXPECT_EQ(cambio, 0);
  EXPECT_EQ(barridos, 2);
  EXPECT_EQ(os.str(),
            "cnt_iter: 0, epsilon:  2.0000000000000000E+000\n"
            "cnt_iter: 1, epsilon:  0.0000000000000000E+000\n");
}

TEST(RellenarHuecos, SinHuecosParaEnElBarridoCero) {
  TMatR d(2, 3);
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 3; ++j) d.poner(i, j, i * 10 + j);
  }
  TMatR m(2, 3);
  NReal cambio = -1;
  int barridos = 0;
  testing::internal::CaptureStdout();
  RellenarHuecos(m, d, cambio, barridos);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "cnt_iter: 0, epsilon:  0.0000000000000000E+000\n");
  EXPECT_EQ(cambio, 0);
  EXPECT_EQ(barridos, 1);
  EXPECT_EQ(m.elemento(2, 3), 23);
}

TEST(RellenarHuecos, ReglasDeBordeDeUnBarrido) {
  // 4 sectors x 3 bins with data 10i + j except five holes that start at 100. Every hole falls in
  // the first sweep, so the largest signed change is 0 and the fill stops after that sweep,
  // leaving exactly what each rule read from the copy taken before the sweep.
  TMatR d(4, 3);
  TMatR m(4, 3);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 3; ++j) d.poner(i, j, i * 10 + j);
  }
  struct Hueco {
    int i, j;
    double esperado;
  };
  const Hueco huecos[] = {
      {2, 2, (21 + 23 + 100 + 32) / 4.0},    // inner cell
      {1, 1, (100 + 100 + 100 + 21) / 4.0},  // first sector, first bin: itself included
      {3, 3, (32 + 100 + 23 + 13) / 4.0},    // middle sector, last bin: sector 1 follows
      {4, 1, (100 + 42 + 31 + 100) / 4.0},   // reads sector 1 before this sweep changed it
      {1, 2, 100},                           // inner bin of the first sector: never changes
  };
  for (const Hueco& h : huecos) {
    d.poner(h.i, h.j, 0);
    m.poner(h.i, h.j, 100);
  }
  NReal cambio = -1;
  int barridos = 0;
  std::ostringstream os;
  RellenarHuecos(m, d, cambio, barridos, os);
  EXPECT_EQ(barridos, 1);
  EXPECT_EQ(cambio, 0);
  for (const Hueco& h : huecos) {
    SCOPED_TRACE(testing::Message() << "(" << h.i << ", " << h.j << ")");
    EXPECT_EQ(m.elemento(h.i, h.j), h.esperado);
  }
  EXPECT_EQ(m.elemento(4, 3), 43);
}

TEST(RellenarHuecos, TerminaEnElLimiteDeBarridos) {
  // A hole that reads itself and holds NaN never settles; the sweep limit ends it.
  TMatR d(2, 2);
  d.poner(1, 2, 1);
  d.poner(2, 1, 1);
  d.poner(2, 2, 1);
  TMatR m(2, 2);
  m.poner(1, 1, std::nan(""));
  NReal cambio = 0;
  int barridos = 0;
  std::ostringstream os;
  RellenarHuecos(m, d, cambio, barridos, os);
  EXPECT_EQ(barridos, 10001);
  EXPECT_NE(os.str().find("\ncnt_iter: 10000, epsilon: "), std::string::npos);
}

TEST(RellenarHuecos, FormasDistintasSeRechazan) {
  TMatR m(2, 2);
  NReal cambio = 0;
  int barridos = 0;
  std::ostringstream os;
  EXPECT_THAT([&] { RellenarHuecos(m, TMatR(2, 3), cambio, barridos, os); },
              testing::ThrowsMessage<Excepcion>(testing::StrEq(
                  "RellenarHuecos: la matriz de datos no tiene la forma de la matriz a rellenar")));
}
