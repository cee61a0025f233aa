#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

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

TEST(Xmatdefs, ParseIntList) {
  EXPECT_EQ(ParseIntList("12;;7;9", ';'), (TDAofNInt{12, 7, 9}));
  EXPECT_EQ(ParseIntList(";;", ';'), TDAofNInt{});
  EXPECT_EQ(ParseIntList("", ';'), TDAofNInt{});
  EXPECT_EQ(ParseIntList(" 5;-3;", ';'), (TDAofNInt{5, -3}));
  EXPECT_THAT([] { ParseIntList("1;x;2", ';'); },
              testing::ThrowsMessage<ExcepcionConversion>(
                  testing::StrEq("'x' is not a valid integer value")));
  std::string t = "a;";
  EXPECT_EQ(NextTokenSep(t, ';'), "a");
  EXPECT_EQ(t, "");
}

TEST(Xmatdefs, RedondeoAlParYParteFraccionaria) {
  struct Caso {
    double x;
    std::int32_t nint, trunc, floor, ceil;
  };
  const Caso casos[] = {
      {0.5, 0, 0, 0, 1},
      {1.5, 2, 1, 1, 2},
      {2.5, 2, 2, 2, 3},
      {-2.5, -2, -2, -3, -2},
      {-3.5, -4, -3, -4, -3},
      {-2.7, -3, -2, -3, -2},
      {2147483647.0, 2147483647, 2147483647, 2147483647, 2147483647},
      {-2147483648.0, -2147483648, -2147483648, -2147483648, -2147483648},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(Nint(c.x), c.nint);
    EXPECT_EQ(NintToInt(c.x), c.nint);
    EXPECT_EQ(TruncToInt(c.x), c.trunc);
    EXPECT_EQ(FloorToInt(c.x), c.floor);
    EXPECT_EQ(CeilToInt(c.x), c.ceil);
  }
  EXPECT_EQ(Frac(-2.7), -0.70000000000000018);
  EXPECT_EQ(Frac(2.5), 0.5);
  EXPECT_EQ(-7 % 72, -7);
}

TEST(Xmatdefs, ConversionesComprobadas) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_THAT([&] { TruncToInt(nan); }, testing::ThrowsMessage<Excepcion>(testing::StrEq(
                                            "Operación de punto flotante no válida: trunc(NAN)")));
  EXPECT_THAT([&] { NintToInt(2147483647.5); },
              testing::ThrowsMessage<Excepcion>(
                  testing::StrEq("Operación de punto flotante no válida: round(2147483648)")));
  for (const double x : {nan, inf, -inf, 2147483648.0, -2147483649.0, 1e10}) {
    SCOPED_TRACE(x);
    EXPECT_THROW(TruncToInt(x), Excepcion);
    EXPECT_THROW(NintToInt(x), Excepcion);
    EXPECT_THROW(FloorToInt(x), Excepcion);
    EXPECT_THROW(CeilToInt(x), Excepcion);
  }
  // Inside the range once truncated or rounded.
  EXPECT_EQ(TruncToInt(2147483647.9), 2147483647);
  EXPECT_EQ(TruncToInt(-2147483648.9), -2147483648);
  EXPECT_EQ(CeilToInt(-2147483648.9), -2147483648);
  EXPECT_THROW(FloorToInt(-2147483648.5), Excepcion);
}
