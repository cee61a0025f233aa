#include <gtest/gtest.h>

#include <cmath>

#include "xmatdefs.h"

TEST(Xmatdefs, MachEpsEsDosALaMenos52) {
  EXPECT_EQ(MachEps, std::ldexp(1.0, -52));
  EXPECT_TRUE(NearZero(1e-17));
  EXPECT_FALSE(NearZero(MachEps));
}

TEST(Xmatdefs, NextTokenSepConsumeUnSeparador) {
  std::string t = "12;;7";
  EXPECT_EQ(NextTokenSep(t, ';'), "12");
  EXPECT_EQ(t, ";7");
  EXPECT_EQ(NextTokenSep(t, ';'), "7");
  EXPECT_EQ(t, "");
}

TEST(Xmatdefs, MinMaxEstrictos) {
  EXPECT_EQ(MinOf({3, 1, 1, 2}), 1);
  EXPECT_EQ(MaxOf({-1}), -1);
}
