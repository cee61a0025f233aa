#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "fddp.h"

TEST(TMadreUniforme, SemillaTreintaYUno) {
  TMadreUniforme u(31);
  const double esperados[] = {0.227332288, 0.478430118, 0.990534977,
                              0.32841639,  0.851939204, 0.008331287};
  for (double e : esperados) EXPECT_EQ(u.sortear(), e);
}

TEST(TMadreUniforme, MismaSemillaMismaSecuenciaEnLaRejilla) {
  TMadreUniforme a(31);
  TMadreUniforme b(-31);  // the sign of the seed does not matter
  for (int k = 0; k < 2000; ++k) {
    const double x = a.sortear();
    ASSERT_EQ(x, b.sortear()) << k;
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    const double mj = std::nearbyint(x * 1e9);
    ASSERT_EQ(x, mj / 1e9) << k;
  }
}

TEST(TMadreUniforme, FijarSemillaReiniciaLaSecuencia) {
  TMadreUniforme u(7);
  const double primero = u.sortear();
  u.sortear();
  u.fijar_semilla(7);
  EXPECT_EQ(u.sortear(), primero);
  TMadreUniforme extremo(std::numeric_limits<std::int32_t>::min());
  const double x = extremo.sortear();
  EXPECT_GE(x, 0.0);
  EXPECT_LT(x, 1.0);
}

TEST(TMadreUniforme, SemillaCeroDaCeros) {
  TMadreUniforme u(0);
  for (int k = 0; k < 120; ++k) EXPECT_EQ(u.sortear(), 0.0);
}

TEST(TMadreUniforme, DistribucionAcotada) {
  TMadreUniforme u(1);
  struct Caso {
    double x, densidad, distribucion;
  };
  const Caso casos[] = {{-0.5, 0, 0}, {0, 1, 0}, {0.25, 1, 0.25}, {1, 0, 1}, {3, 0, 1}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(u.densidad(c.x), c.densidad);
    EXPECT_EQ(u.distribucion(c.x), c.distribucion);
    EXPECT_EQ(u.distribucion_integral(c.x), c.distribucion);
    EXPECT_EQ(u.distribucion_incremental(c.x), c.distribucion);
    EXPECT_EQ(u.inversa(c.x), c.distribucion);
  }
}

namespace {

// Triangular density 2x on [0, 1]: distribution x^2, inverse sqrt(area).
class TTriangular : public Tf_ddp {
 public:
  TTriangular() : Tf_ddp(5, 1.0, 1.0, 0.0, 0.0) {}
  NReal densidad(NReal x) override { return (x >= 0 && x <= 1) ? 2 * x : 0; }
};

}  // namespace

TEST(Tfddp, OperacionesGenericas) {
  TTriangular t;
  EXPECT_NEAR(t.distribucion_integral(0.5), 0.25, 1e-12);
  t.paso = 0.1;
  EXPECT_NEAR(t.distribucion_incremental(0.75), 0.5625, 1e-9);
  EXPECT_NEAR(t.distribucion_incremental(0.3), 0.09, 1e-9);  // walks back down
  EXPECT_NEAR(t.inversa(0.49), 0.7, 1e-4);
  EXPECT_EQ(t.inversa(-1), 0.0);
  EXPECT_EQ(t.inversa(2), 1.0);
}

TEST(Tfddp, PasoNuloIntegraDeUnaVez) {
  TTriangular t;
  EXPECT_NEAR(t.distribucion(0.5), 0.25, 1e-9);
}

TEST(Tfddp, SortearInvierteLaMadre) {
  TTriangular t;
  EXPECT_THAT([&] { t.sortear(); }, testing::ThrowsMessage<Excepcion>(testing::StrEq(
                                        "Tf_ddp.sortear: no hay generador uniforme")));
  t.fijar_madre(std::make_unique<TMadreUniforme>(31));
  EXPECT_TRUE(t.madre_propia());
  EXPECT_NEAR(t.sortear(), std::sqrt(0.227332288), 1e-4);
  TMadreUniforme prestada(31);
  t.fijar_madre(prestada);
  EXPECT_FALSE(t.madre_propia());
  EXPECT_NEAR(t.sortear(), std::sqrt(0.227332288), 1e-4);
}

namespace {

// A defective distribution that stays at 0: the bisection finds no sign change.
class TSinMitad : public Tf_ddp {
 public:
  TSinMitad() : Tf_ddp(1, 1.0, 1.0, 0.0, 0.0) {}
  NReal distribucion(NReal /*x*/) override { return 0.0; }
};

}  // namespace

TEST(Tfddp, InversaSinConvergencia) {
  TSinMitad d;
  EXPECT_THAT(
      [&] { d.inversa(0.25); },
      testing::ThrowsMessage<Excepcion>(testing::StrEq(" Problema de convergencia , area: 0.25")));
}
