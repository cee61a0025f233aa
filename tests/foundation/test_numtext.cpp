#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "formatos.h"
#include "numtext.h"

namespace {

TFormatos FormatosComa() {
  TFormatos f;
  f.separador_decimal = ',';
  f.separador_miles = '.';
  return f;
}

}  // namespace

TEST(Numtext, NotacionDeArchivo) {
  struct Caso {
    double x;
    std::string texto;
  };
  const Caso casos[] = {
      {0.1, " 1.0000000000000001E-001"},
      {-1234.5, "-1.2345000000000000E+003"},
      {1e-300, " 1.0000000000000000E-300"},
      {0.0, " 0.0000000000000000E+000"},
      {-0.0, " 0.0000000000000000E+000"},
      {42068.5, " 4.2068500000000000E+004"},
      {1.0 / 144, " 6.9444444444444441E-003"},
      {5e-324, " 4.9406564584124654E-324"},
      {0.016666666915019352, " 1.6666666915019352E-002"},
  };
  // The file notation ignores the decimal separator of the settings.
  TFormatosDePrueba coma(FormatosComa());
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    EXPECT_EQ(RealANotacionArchivo(c.x), c.texto);
    double leido = 1.0;
    ASSERT_TRUE(TextoARealArchivo(c.texto.substr(1), leido));
    EXPECT_EQ(leido, c.x < 0 ? -c.x : c.x);
  }
}

TEST(Numtext, NotacionExtendida) {
  EXPECT_EQ(RealANotacionExtendida(0.5L), " 5.00000000000000000000E-0001");
  EXPECT_EQ(RealANotacionExtendida(1.0L / 3.0L), " 3.33333333333333333342E-0001");
  EXPECT_EQ(RealANotacionExtendida(static_cast<long double>(1.0 / 3.0)),
            " 3.33333333333333314830E-0001");
}

TEST(Numtext, FormaGeneral) {
  struct Caso {
    double x;
    std::string texto;
  };
  const Caso casos[] = {
      {0.1, "0.1"},
      {1e20, "1E20"},
      {123456789012345678.0, "1.23456789012346E17"},
      {-1234.5, "-1234.5"},
      {1.0 / 3, "0.333333333333333"},
      {0.1 + 0.2, "0.3"},
      {1e15, "1E15"},
      {999999999999999.0, "999999999999999"},
      {999999999999999.9, "1E15"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {1.5e-7, "1.5E-7"},
      {1e-8, "1E-8"},
      {0.0006125, "0.0006125"},
      {0.0, "0"},
      {-2.5e-300, "-2.5E-300"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    EXPECT_EQ(RealAGeneral(c.x), c.texto);
  }
  TFormatosDePrueba coma(FormatosComa());
  EXPECT_EQ(RealAGeneral(0.05), "0,05");
  EXPECT_EQ(RealAGeneral(1.5e-7), "1,5E-7");
  TFormatosNeutros neutros;
  EXPECT_EQ(RealAGeneral(0.05), "0.05");
}

TEST(Numtext, FijaYExponente) {
  EXPECT_EQ(RealAFijo(0.0, 12, 3), "       0.000");
  EXPECT_EQ(RealAFijo(20.0, 12, 3), "      20.000");
  EXPECT_EQ(RealAFijo(1.5, 12, 4), "      1.5000");
  EXPECT_EQ(RealAFijo(123.45678, 8, 4), "123.4568");
  EXPECT_EQ(RealAFijo(-1234.5, 3, 1), "-1234.5");  // the width is a minimum
  EXPECT_EQ(RealAFijoPrecision(2.5, 12, 2), "2.50");
  // Long texts stay whole: the largest double with many decimals, and a large precision.
  const std::string largo = RealAFijo(1e308, 0, 100);
  EXPECT_EQ(largo.size(), 309u + 1 + 100);
  EXPECT_EQ(largo.substr(0, 20), "10000000000000000109");
  EXPECT_EQ(largo.substr(309), "." + std::string(100, '0'));
  EXPECT_EQ(RealAFijo(-0.75, 0, -3), "-1");
  EXPECT_EQ(RealAExponente(1.0, 500, 2), "1." + std::string(99, '0') + "E+00");
  EXPECT_EQ(RealAExponente(0.0006125, 6, 8), "6.12500E-0004");
  EXPECT_EQ(RealAExponente(12345.0, 3, 2), "1.23E+04");
  EXPECT_EQ(RealAExponente(-0.5, 2, 0), "-5.0E-1");
  TFormatosDePrueba coma(FormatosComa());
  EXPECT_EQ(RealAFijo(1.5, 0, 2), "1,50");
  EXPECT_EQ(RealAExponente(0.0006125, 6, 8), "6,12500E-0004");
}

TEST(Numtext, Enteros) {
  EXPECT_EQ(IntAHex(0, 2) + IntAHex(10, 2), "000A");
  EXPECT_EQ(IntAHex(255, 1), "FF");
  EXPECT_EQ(IntAHex(0xABCDEFu, 2), "ABCDEF");
  EXPECT_EQ(IntATexto(7, 6), "     7");
  EXPECT_EQ(IntATexto(-5), "-5");

  struct Caso {
    std::string texto;
    bool ok;
    std::int32_t valor;
  };
  const Caso casos[] = {
      {"12", true, 12},
      {"  -7", true, -7},
      {"+7", true, 7},
      {"007", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"", false, 0},
      {" ", false, 0},
      {"+", false, 0},
      {"12 ", false, 0},
      {"1.0", false, 0},
      {"1e3", false, 0},
      {"0x1A", false, 0},
      {"--1", false, 0},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE("'" + c.texto + "'");
    std::int32_t v = -99;
    EXPECT_EQ(TextoAEnteroOk(c.texto, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.valor);
      EXPECT_EQ(TextoAEntero(c.texto), c.valor);
    } else {
      EXPECT_EQ(v, -99);
      EXPECT_THAT([&] { (void)TextoAEntero(c.texto); },
                  testing::ThrowsMessage<ExcepcionConversion>(
                      testing::StrEq("'" + c.texto + "' is not a valid integer value")));
    }
  }
}

TEST(Numtext, RealesDeArchivoEstrictos) {
  struct Caso {
    std::string texto;
    bool ok;
    double valor;
  };
  const Caso casos[] = {
      {"1.5", true, 1.5},
      {"-1.5", true, -1.5},
      {"+2", true, 2},
      {".5", true, 0.5},
      {"5.", true, 5},
      {"1E3", true, 1000},
      {"1e+3", true, 1000},
      {"-2.5E-3", true, -0.0025},
      {"1E-400", true, 0},
      {"0E999999", true, 0},
      {"", false, 0},
      {".", false, 0},
      {"-", false, 0},
      {"nan", false, 0},
      {"inf", false, 0},
      {"-INF", false, 0},
      {"infinity", false, 0},
      {"0x10", false, 0},
      {"1E", false, 0},
      {"1E+", false, 0},
      {"1.2.3", false, 0},
      {"1e400", false, 0},
      {"1,5", false, 0},
      {" 1", false, 0},
      {"1 ", false, 0},
      {"--1", false, 0},
      {"+-1", false, 0},
      // A huge mantissa with a small negative exponent is an overflow, not an underflow.
      {"1" + std::string(400, '0') + "E-1", false, 0},
      {"0." + std::string(400, '0') + "1E400", true, 0.1},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto.substr(0, 40));
    double v = -99;
    EXPECT_EQ(TextoARealArchivo(c.texto, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.valor);
    } else {
      EXPECT_EQ(v, -99);
    }
  }
  // Reading ignores the decimal separator of the settings.
  TFormatosDePrueba coma(FormatosComa());
  EXPECT_EQ(TextoARealArchivo(std::string_view("0.25")), 0.25);
  EXPECT_THAT([] { (void)TextoARealArchivo(std::string_view("0,25")); },
              testing::ThrowsMessage<ExcepcionConversion>(
                  testing::StrEq("'0,25' is not a valid floating point value")));
}

TEST(Numtext, RealesExtendidos) {
  long double v = 0;
  EXPECT_TRUE(TextoARealExtendido("1E4000", v));
  EXPECT_GT(v, 1e3999L);
  EXPECT_FALSE(TextoARealExtendido("1E5000", v));
  EXPECT_TRUE(TextoARealExtendido("1E-5000", v));
  EXPECT_EQ(v, 0.0L);
  EXPECT_FALSE(TextoARealExtendido("-1", v));  // the sign is the evaluator's
  EXPECT_FALSE(TextoARealExtendido("nan", v));
}

TEST(Numtext, VerificarFinito) {
  VerificarFinito(1e308);
  EXPECT_THAT([] { VerificarFinito(std::numeric_limits<double>::quiet_NaN()); },
              testing::ThrowsMessage<Excepcion>(testing::StrEq("valor no finito")));
  EXPECT_THROW(VerificarFinito(-std::numeric_limits<double>::infinity()), Excepcion);
}
