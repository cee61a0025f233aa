#include <gtest/gtest.h>

#include "lienzo.h"

TEST(TLienzo, Humo) {
  auto l = TLienzo::Crear(100, 50);
  EXPECT_EQ(l->Pixel(0, 0), ColorRGB(255, 255, 255));
}
