#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "errores.h"
#include "ucurvasaeros.h"

namespace {

using testing::StrEq;
using testing::ThrowsMessage;

// Speeds 3..6 m/s with powers 0, 0.1, 0.2 and 0.3 MW.
TCurvaAerogen CurvaCorta(int nid = 1) {
  return TCurvaAerogen(nid, "corta", 50, TDAofNReal{3, 4, 5, 6}, TDAofNReal{0, 0.1, 0.2, 0.3});
}

void ExpectRelativo(double valor, double esperado, double tol = 1e-12) {
  EXPECT_NEAR(valor, esperado, tol * std::fabs(esperado)) << "esperado " << esperado;
}

TEST(DensidadDePotencia, ValoresDeReferencia) {
  // The product is one unit in the last place above the decimal literal.
  ExpectRelativo(PV3(10, 1.225), 0.0006125, 1e-15);
  EXPECT_EQ(VelocidadDePV3(0.0006125, 1.225), 10.0);
  EXPECT_EQ(VelocidadDePV3(0, 1.225), 0.0);
  EXPECT_LT(PV3(-3, 1.225), 0.0);
  EXPECT_EQ(FactorDensidad(1.225), 1.0);
  ExpectRelativo(FactorDensidad(1.1), 0.97652052874205397, 1e-15);
  ExpectRelativo(FactorDensidad(1.3), 1.0113173895882785, 1e-15);
  EXPECT_DOUBLE_EQ(Norma2D(3, -4), 5.0);
}

TEST(DensidadDePotencia, VelocidadDevuelveLaVelocidadDePartida) {
  // Negative speeds (allowed through the gap filter) come back with their sign.
  for (const double rho : {1.1, 1.18, 1.225, 1.3}) {
    for (int i = -100; i <= 300; ++i) {
      const double v = i / 10.0;
      SCOPED_TRACE(testing::Message() << "v=" << v << " rho=" << rho);
      EXPECT_EQ(VelocidadDePV3(PV3(v, rho), rho), v);
    }
  }
}

TEST(DensidadDePotencia, DensidadAire) {
  struct Caso {
    double t, p, h, esperado;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Caso casos[] = {
      {15, 1013.25, 0, 1.2253517490283177},
      {15, 800, 50, 1.18},       // raw 0.96: replaced, not clipped
      {-60, 1100, 0, 1.18},      // raw 1.80
      {-273.16, 0, 0, 1.18},     // 0 / 0
      {nan, 1013.25, 50, 1.18},  // a reading that is not a number
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "t=" << c.t << " p=" << c.p << " h=" << c.h);
    ExpectRelativo(DensidadAire(c.t, c.p, c.h), c.esperado, 1e-15);
  }
}

TEST(TCurvaAerogen, PotenciaLinealEnPV3) {
  const TCurvaAerogen c = CurvaCorta();
  const double p4 = PV3(4, 1.225);
  const double p5 = PV3(5, 1.225);
  struct Caso {
    const char* nombre;
    double x, esperado;
  };
  const Caso casos[] = {
      {"justo bajo el primer punto", std::nextafter(PV3(3, 1.225), 0.0), 0},
      {"en el primer punto", PV3(3, 1.225), 0},
      {"en un punto", p4, 0.1},
      {"a mitad de pv3 entre dos puntos", (p4 + p5) / 2, 0.15},
      {"en el ultimo punto", PV3(6, 1.225), 0.3},
      {"tras el corte", std::nextafter(PV3(6, 1.225), 1.0), 0},
      {"no es un numero", std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.nombre);
    EXPECT_NEAR(c.PotenciaDePV3(k.x), k.esperado, 1e-15);
  }
  // The speed of that point is not halfway between 4 and 5 m/s.
  EXPECT_GT(VelocidadDePV3((p4 + p5) / 2, 1.225), 4.5);
}

TEST(TCurvaAerogen, Caracteristicas) {
  // Start at exactly 1 % of the maximum; the maximum on a plateau is taken at its first point.
  const TCurvaAerogen c(7, "meseta", 80, TDAofNReal{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                        TDAofNReal{0, 0.02, 0.2, 0.5, 0.9, 1.3, 1.6, 1.8, 2, 2, 2});
  EXPECT_EQ(c.n, 11);
  EXPECT_EQ(c.P_max, 2.0);
  EXPECT_EQ(c.k_P_max, 9);
  EXPECT_EQ(c.v_P_max, 10.0);
  EXPECT_EQ(c.pv3_P_max, PV3(10, 1.225));
  EXPECT_EQ(c.k_arranque, 2);
  EXPECT_EQ(c.v_arranque, 3.0);
  EXPECT_EQ(c.pv3_arranque, PV3(3, 1.225));
  EXPECT_EQ(c.pv3_min, PV3(2, 1.225));
  EXPECT_EQ(c.pv3_max, PV3(12, 1.225));
  EXPECT_EQ(c.n_s, 4);
  ExpectRelativo(c.area, 5026.548245743669);
}

TEST(TCurvaAerogen, AjusteLogistico) {
  // The rising part follows a logistic curve exactly, so the fit recovers it.
  const double alfa = 0.8;
  const double vm = 9;
  TDAofNReal v;
  TDAofNReal p;
  for (int k = 3; k <= 14; ++k) {
    v.push_back(k);
    p.push_back(2 / (1 + std::exp(-alfa * (k - vm))));
  }
  for (int k = 15; k <= 25; ++k) {
    v.push_back(k);
    p.push_back(2);
  }
  const TCurvaAerogen c(1, "logistica", 80, v, p);
  // Window [4 + 1.1, 0.9 * 15): the points 6..13 m/s.
  EXPECT_EQ(c.n_s, 8);
  ExpectRelativo(c.alfa_s, alfa, 1e-9);
  ExpectRelativo(c.vm_s, vm, 1e-9);
  EXPECT_NEAR(c.err2_s, 0, 1e-12);
}

TEST(TCurvaAerogen, AjusteSinPuntosEnLaVentana) {
  // Window [4.1, 3.6): nothing to fit, and nothing that is not a number is stored.
  const TCurvaAerogen c(1, "escalon", 80, TDAofNReal{2, 3, 4}, TDAofNReal{0, 1, 2});
  EXPECT_EQ(c.n_s, 0);
  EXPECT_EQ(c.alfa_s, 0.0);
  EXPECT_EQ(c.vm_s, 0.0);
  EXPECT_EQ(c.err2_s, -1.0);
}

TEST(TCurvaAerogen, AjusteConUnSoloPunto) {
  // Window [4.1, 5.4) holds 5 m/s only: the normal equations are singular.
  const auto crear = [] {
    return TCurvaAerogen(1, "un punto", 80, TDAofNReal{2, 3, 4, 5, 6},
                         TDAofNReal{0, 1, 1.5, 1.8, 2});
  };
  EXPECT_THAT(crear, ThrowsMessage<Excepcion>(StrEq("TVectR.AproximacionLineal res= 0")));
}

TEST(TCurvaAerogen, CurvasNoValidas) {
  struct Caso {
    TDAofNReal v, p;
    const char* mensaje;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Caso casos[] = {
      {{5}, {1}, "Curva de potencia 9 (mala): necesita al menos dos puntos"},
      {{}, {}, "Curva de potencia 9 (mala): necesita al menos dos puntos"},
      {{3, 4, 5}, {0, 1}, "Curva de potencia 9 (mala): 3 velocidades y 2 potencias"},
      {{3, 5, 4},
       {0, 1, 2},
       "Curva de potencia 9 (mala): las velocidades no son ascendentes en el punto 3"},
      {{3, 3, 4},
       {0, 1, 2},
       "Curva de potencia 9 (mala): las velocidades no son ascendentes en el punto 2"},
      {{3, 4, 5}, {0, inf, 2}, "Curva de potencia 9 (mala): valor no finito en el punto 2"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.mensaje);
    EXPECT_THAT([&] { TCurvaAerogen(9, "mala", 80, c.v, c.p); },
                ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
  }
}

TEST(TCurvaAerogen, CopiaIndependiente) {
  TCurvaAerogen c = CurvaCorta(4);
  const std::unique_ptr<TCurvaAerogen> copia = TCurvaAerogen::CrearCopia(c);
  const TCurvaAerogen otra = CurvaCorta();
  c.SumarCurvas({&otra});
  EXPECT_EQ(copia->nid, 4);
  EXPECT_EQ(copia->modelo, "corta");
  EXPECT_EQ(copia->diametro, 50.0);
  EXPECT_EQ(copia->P_max, 0.3);
  EXPECT_EQ(copia->pv3_max, PV3(6, 1.225));
  EXPECT_EQ(c.P_max, 0.6);
}

TEST(TCurvaAerogen, SumarCurvas) {
  // Three turbines of one model: three times each point.
  TCurvaAerogen tres = CurvaCorta();
  const TCurvaAerogen otra = CurvaCorta();
  tres.SumarCurvas({&otra, &otra});
  for (int k = 1; k <= tres.n; ++k) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(tres.curva_P.elemento(k), 3 * otra.curva_P.elemento(k), 1e-15);
  }
  EXPECT_NEAR(tres.P_max, 0.9, 1e-15);

  // Two models: tabulated at the first curve's points; outside its own range the other adds 0.
  TCurvaAerogen mezcla = CurvaCorta();
  const TCurvaAerogen ancha(2, "ancha", 60, TDAofNReal{4.5, 10}, TDAofNReal{1, 2});
  mezcla.SumarCurvas({&ancha});
  EXPECT_EQ(mezcla.n, 4);
  EXPECT_EQ(mezcla.curva_P.elemento(1), 0.0);
  EXPECT_EQ(mezcla.curva_P.elemento(2), 0.1);
  EXPECT_NEAR(mezcla.curva_P.elemento(3), 0.2 + ancha.PotenciaDePV3(PV3(5, 1.225)), 1e-15);
  EXPECT_GT(mezcla.curva_P.elemento(4), 1.3);
}

}  // namespace
