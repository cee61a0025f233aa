#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "formatos.h"
#include "uevaluador.h"
#include "utokens.h"

namespace {

struct TResultado {
  bool error;
  long double valor;
  int codigo;
  bool matematico;
};

TResultado Evaluar(const std::string& expresion) {
  TMathParser p;
  p.Expresion = expresion;
  p.Evaluar();
  return {p.ErrorEvaluacion(), p.Valor(), p.CodigoError(), p.ErrorMatematico()};
}

std::string Anidar(int pares) {
  return std::string(static_cast<std::size_t>(pares), '(') + "1" +
         std::string(static_cast<std::size_t>(pares), ')');
}

class TMathParserNeutro : public testing::Test {
 protected:
  TFormatosNeutros neutros_;
};

}  // namespace

TEST_F(TMathParserNeutro, EvaluaExpresionesValidas) {
  struct Caso {
    std::string texto;
    double esperado;
  };
  const Caso casos[] = {
      {"2*3.5", 7},
      {"  7 ", 7},
      {"1.5e3", 1500},
      {"1.5E+3", 1500},
      {"25e-1", 2.5},
      {".5+1", 1.5},
      {"5.", 5},
      {"1-2-3", -4},
      {"8/4/2", 1},
      {"3-2+1", 2},
      {"(1+2)*3", 9},
      {"1+2*3", 7},
      {"2^3^2", 512},
      {"2^-1", 0.5},
      {"3^2", 9},
      {"2^(2^(2^2))", 65536},
      {"10^-3", 0.001},
      {"-(2)", -2},
      {"-2*3", -6},
      {"2--3", 5},
      {"2*-3", -6},
      {"round(2.5)", 2},
      {"ROUND(3.5)", 4},
      {"Round(-2.5)", -2},
      {"trunc(-2.7)", -2},
      {"atan(1)*4", std::numbers::pi},
      {"abs(-3)", 3},
      {"sqr(-3)", 9},
      {"sqrt(16)", 4},
      {"exp(0)+ln(1)", 1},
      {"cos(0)-sin(0)", 1},
      {"-sqrt(4)", -2},
      {"1E-5000", 0},
      {Anidar(12), 1},
      {"1+(1+(1+(1+(1))))", 5},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    const TResultado r = Evaluar(c.texto);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(static_cast<double>(r.valor), c.esperado);
  }
}

TEST_F(TMathParserNeutro, FallaConSuCodigo) {
  struct Caso {
    std::string texto;
    int codigo;  // 0: a math error without a syntax error
  };
  const Caso casos[] = {
      {"-2^2", 0},
      {"(-2)^2", 0},
      {"0^2", 0},
      {"2^20000", 0},
      {"1/0", 0},
      {"1/(1-1)", 0},
      {"ln(0)", 0},
      {"sqrt(-1)", 0},
      {"exp(11357)", 0},
      {"round(1e10)", 0},
      {"trunc(-1e10)", 0},
      {"sin(1e19)", 0},
      {"1E4000*1E4000", 0},
      {"!", 0},
      {"--3", 3},
      {"", 3},
      {"x", 3},
      {"e", 3},
      {".", 3},
      {"nan", 3},
      {"inf", 3},
      {"2*", 3},
      {"12;3", 4},
      {"1 2", 4},
      {"1!", 4},
      {"sqrt 2", 5},
      {"sqrt2", 3},
      {"(1", 6},
      {"(1]", 6},
      {"1E", 7},
      {"1E+", 7},
      {"1.2.3", 7},
      {"1E9999", 7},
      {Anidar(13), 1},
      {"1+(1+(1+(1+(1+1))))", 1},
      {"1+(1+(1+(1+(1+(1+1)))))", 1},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    const TResultado r = Evaluar(c.texto);
    EXPECT_TRUE(r.error);
    EXPECT_EQ(r.valor, 0.0L);
    EXPECT_EQ(r.codigo, c.codigo);
    if (c.codigo == 0) {
      EXPECT_TRUE(r.matematico);
    }
  }
}

TEST_F(TMathParserNeutro, CalculaEnPrecisionExtendida) {
  // 1E4000 is beyond a double but inside the extended range the evaluator works in.
  const TResultado r = Evaluar("1E4000/1E3999");
  EXPECT_FALSE(r.error);
  EXPECT_EQ(static_cast<double>(r.valor), 10.0);
}

TEST_F(TMathParserNeutro, VariablesYErrorDeSintaxisPorLosAvisos) {
  TMathParser p;
  std::string pedida;
  p.AlPedirVariable = [&pedida](TMathParser&, const std::string& nombre, bool& encontrada,
                                long double& valor) {
    pedida = nombre;
    encontrada = nombre == "X_1";
    valor = 2.0L;
  };
  int codigo = -1;
  p.AlErrorSintaxis = [&codigo](TMathParser&, std::uint8_t c) { codigo = c; };
  p.Expresion = "x_1*3";
  p.Evaluar();
  EXPECT_FALSE(p.ErrorEvaluacion());
  EXPECT_EQ(p.Valor(), 6.0L);
  EXPECT_EQ(pedida, "X_1");
  EXPECT_EQ(codigo, -1);

  p.Expresion = "y+1";
  p.Evaluar();
  EXPECT_TRUE(p.ErrorEvaluacion());
  EXPECT_EQ(codigo, 3);
  EXPECT_EQ(p.Posicion(), 1u);
}

TEST(TMathParser, UsaElSeparadorDecimalActual) {
  TFormatos coma;
  coma.separador_decimal = ',';
  coma.separador_miles = '.';
  TFormatosDePrueba prueba(coma);
  EXPECT_EQ(StrToReal("1,5"), 1.5);
  EXPECT_EQ(StrToReal(",5*2"), 1.0);
  EXPECT_EQ(Evaluar("1.5").codigo, 4);
  EXPECT_EQ(Evaluar("1,2,3").codigo, 7);
  {
    TFormatosNeutros neutros;
    EXPECT_EQ(StrToReal("1.5"), 1.5);
  }
  EXPECT_EQ(StrToReal("2,5"), 2.5);
}

TEST(StrToReal, FallaConSuMensaje) {
  TFormatosNeutros neutros;
  // Results beyond the double range fail like any other bad text.
  for (const std::string texto : {"1/0", "abc", "exp(1000)", "1E4000", "-1E400*1", ""}) {
    SCOPED_TRACE(texto);
    EXPECT_THAT([&] { StrToReal(texto); },
                testing::ThrowsMessage<Excepcion>(testing::StrEq("Error: no se puede evaluar \"" +
                                                                 texto + "\" a un número real")));
  }
  EXPECT_EQ(StrToReal("1.7976931348623157E308"), 1.7976931348623157e308);
  EXPECT_EQ(StrToReal("-0"), 0.0);
}
