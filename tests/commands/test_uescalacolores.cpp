#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "uescalacolores.h"

namespace {

TEST(TEscalaColor, ColoresDeLaEscalaDelMapa) {
  const TEscalaColor escala(4, 10);
  struct Caso {
    double v;
    int r, g, b;
  };
  const Caso casos[] = {{-3, 0, 0, 255},     {4, 0, 0, 255},
                        {4.75, 0, 182, 255}, {5.5, 0, 255, 255},
                        {7, 0, 255, 0},      {8.5, 255, 255, 0},
                        {9.25, 255, 182, 0}, {10, 255, 0, 0},
                        {25, 255, 0, 0},     {std::numeric_limits<double>::quiet_NaN(), 0, 0, 255}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "v = " << c.v);
    const TColor col = escala.Color(c.v);
    EXPECT_EQ(RojoDe(col), c.r);
    EXPECT_EQ(VerdeDe(col), c.g);
    EXPECT_EQ(AzulDe(col), c.b);
  }
}

TEST(TEscalaColor, NormalizarYCreacion) {
  const TEscalaColor escala(4, 10);
  EXPECT_EQ(escala.v_min, 4);
  EXPECT_EQ(escala.rango, 6);
  EXPECT_EQ(escala.Normalizar(7), 0.5);
  EXPECT_EQ(escala.Normalizar(1), -0.5);
}

TEST(TEscalaColor, LaEscalaVaDeAzulARojoSinSaltosGrandes) {
  // Blue, cyan, green, yellow, red: each channel moves at most a few steps per 1/600 of the range.
  const TEscalaColor escala(0, 1);
  TColor anterior = escala.Color(0);
  for (int i = 1; i <= 600; ++i) {
    const TColor c = escala.Color(i / 600.0);
    EXPECT_LE(std::abs(RojoDe(c) - RojoDe(anterior)), 8) << i;
    EXPECT_LE(std::abs(VerdeDe(c) - VerdeDe(anterior)), 8) << i;
    EXPECT_LE(std::abs(AzulDe(c) - AzulDe(anterior)), 8) << i;
    anterior = c;
  }
}

}  // namespace
