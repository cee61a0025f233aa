#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "MatEnt.h"
#include "formatos.h"
#include "matreal.h"

namespace {

std::vector<double> Valores(const TVectR& v) { return v.copiar_rango(1, -1); }

}  // namespace

TEST(TVectRArchivo, GuardarEscribeNotacionDeArchivoConCRLF) {
  std::ostringstream os;
  TVectR(TDAofNReal{0.1, -1234.5}).guardar(os);
  EXPECT_EQ(os.str(), "2\r\n 1.0000000000000001E-001\r\n-1.2345000000000000E+003\r\n");
  std::ostringstream vacio;
  TVectR(0).guardar(vacio);
  EXPECT_EQ(vacio.str(), "0\r\n");
}

TEST(TVectRArchivo, IdaYVueltaExacta) {
  const TVectR v(TDAofNReal{1.0 / 3, 5e-324, -1e300, 0, 1.0 / 144});
  std::stringstream ss;
  v.guardar(ss);
  const TVectR leido(ss);
  EXPECT_EQ(Valores(leido), Valores(v));
}

TEST(TVectRArchivo, LecturaTolerante) {
  // LF or CR LF, blank lines before a value, text after it on the same line, ".5" and "5.".
  std::istringstream is("3 elementos\n\n  \t.5 resto\r\n5.\r\n-2E1\nsiguiente\n");
  const TVectR v(is);
  EXPECT_EQ(Valores(v), (std::vector<double>{0.5, 5, -20}));
  std::string resto;
  std::getline(is, resto);
  EXPECT_EQ(resto, "siguiente");
}

TEST(TVectRArchivo, ErroresDeLectura) {
  struct Caso {
    const char* texto;
    const char* mensaje;
  };
  const Caso casos[] = {
      {"", "Lectura más allá del fin de archivo"},
      // A huge count is not trusted: the file ends first.
      {"2000000000\n1\n", "Lectura más allá del fin de archivo"},
      {"-1\n", "'-1' no es una cuenta de elementos válida"},
      {"2.0\n1\n2\n", "'2.0' is not a valid integer value"},
      {"2\n1\nnan\n", "'nan' is not a valid floating point value"},
      {"1\n1,5\n", "'1,5' is not a valid floating point value"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    std::istringstream is(c.texto);
    EXPECT_THAT([&] { TVectR v(is); },
                testing::ThrowsMessage<Excepcion>(testing::StrEq(c.mensaje)));
  }
}

TEST(TVectRArchivo, ErroresConSuTipo) {
  std::istringstream corto("3\n1\n");
  EXPECT_THROW(TVectR v(corto), ExcepcionES);
  std::istringstream malo("x\n");
  EXPECT_THROW(TVectR v(malo), ExcepcionConversion);
}

TEST(TVectRArchivo, NoEscribeValoresNoFinitos) {
  std::ostringstream os;
  const TVectR v(TDAofNReal{1, std::numeric_limits<double>::quiet_NaN()});
  EXPECT_THAT([&] { v.guardar(os); },
              testing::ThrowsMessage<Excepcion>(testing::StrEq("valor no finito")));
  EXPECT_EQ(os.str(), "");
}

TEST(TMatRArchivo, IdaYVueltaYFilasConSuPropiaCuenta) {
  TMatR m(2, 3);
  m.poner(1, 1, 1.5);
  m.poner(2, 3, -7);
  std::stringstream ss;
  m.guardar(ss);
  EXPECT_EQ(ss.str().substr(0, 6), "2\r\n3\r\n");
  const TMatR leida(ss);
  ASSERT_EQ(leida.n_filas(), 2);
  EXPECT_EQ(leida.n_columnas(), 3);
  EXPECT_EQ(Valores(leida.fila(1)), (std::vector<double>{1.5, 0, 0}));
  EXPECT_EQ(Valores(leida.fila(2)), (std::vector<double>{0, 0, -7}));

  std::istringstream irregular("2\n2\n1\n4\n3\n1\n2\n3\n");
  const TMatR r(irregular);
  EXPECT_EQ(r.fila(1).n(), 1);
  EXPECT_EQ(Valores(r.fila(2)), (std::vector<double>{1, 2, 3}));

  std::istringstream corta("3\n1\n1\n5\n");
  EXPECT_THAT([&] { TMatR x(corta); }, testing::ThrowsMessage<ExcepcionES>(
                                           testing::StrEq("Lectura más allá del fin de archivo")));
}

TEST(TVectRTexto, Escritura) {
  struct Caso {
    std::vector<double> v;
    const char* texto;
  };
  const Caso casos[] = {
      {{}, "[ 0|]"},
      {{0.1}, "[ 1| 0.1]"},
      {{1.5, 2, 3}, "[ 3| 1.5;  2;  3]"},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "[ 11| 1;  0;  0;  0;  0;  0;  0;  0;  0;  0;  0]"},
      {{-1e20, 1.0 / 3}, "[ 2| -1E20;  0.333333333333333]"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    EXPECT_EQ(TVectR(c.v).a_texto(), c.texto);
  }
}

TEST(Listados, PrintDeVectores) {
  std::ostringstream r;
  TVectR(TDAofNReal{1.5, -20}).print(r);
  EXPECT_EQ(r.str(),
            " TVectR.print.inicio\n"
            " N:      1 :       1.5000\n"
            " N:      2 :     -20.0000\n"
            " TVectR.print.fin\n");
  TVectE e(1);
  e.poner(1, 7);
  std::ostringstream s;
  e.print(s);
  EXPECT_EQ(s.str(), " TVectE.print.inicio\n N:      1 :            7\n TVectE.print.fin\n");
  testing::internal::CaptureStdout();
  TVectR(0).print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " TVectR.print.inicio\n TVectR.print.fin\n");
}

TEST(TVectRTexto, LecturaEIdaYVuelta) {
  struct Caso {
    const char* texto;
    std::vector<double> valores;
  };
  const Caso casos[] = {
      {"[ 3| 1.5;  2;  3]", {1.5, 2, 3}},
      {"[ 0|]", {}},
      {"[ 1| 0.1]", {0.1}},
      {"[ 2| 2*3;  SQRT(4)]", {6, 2}},
      // Text before "[" and after "]" is ignored; blanks and control characters are trimmed.
      {"v=[\t2 |\r\n-1E-5 ;7\n] resto", {-1e-5, 7}},
      {"[ 0| 0]", {}},
  };
  TFormatosNeutros neutros;
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    const TVectR v{std::string(c.texto)};
    EXPECT_EQ(v.n(), static_cast<int>(c.valores.size()));
    EXPECT_EQ(Valores(v), c.valores);
  }
  const TVectR v(TDAofNReal{1.0 / 3, 1e20, -2.5e-7, 123456.789});
  const TVectR vuelta(v.a_texto());
  ASSERT_EQ(vuelta.n(), 4);
  for (int k = 1; k <= 4; ++k)
    EXPECT_NEAR(vuelta.elemento(k), v.elemento(k), 1e-14 * std::fabs(v.elemento(k)));
  EXPECT_EQ(TVectR(std::string("[ 3| 1.5;  2;  3]")).a_texto(), "[ 3| 1.5;  2;  3]");
}

TEST(TVectRTexto, TextosMalFormados) {
  struct Caso {
    const char* texto;
    const char* mensaje;
  };
  const Caso casos[] = {
      {"", "'' is not a valid integer value"},
      {"[ x| 1]", "'x' is not a valid integer value"},
      {"[ 3 1.5;  2;  3]", "'3 1.5;  2;  3]' is not a valid integer value"},
      {"[ -1|]", "'-1' no es una cuenta de elementos válida"},
      {"[ 2| 1]", "Error: no se puede evaluar \"1]\" a un número real"},
      {"[ 2| 1;]", "Error: no se puede evaluar \"\" a un número real"},
      {"[ 2000000000| 1;  2;  3]", "Error: no se puede evaluar \"3]\" a un número real"},
      {"[ 1| abc]", "Error: no se puede evaluar \"abc\" a un número real"},
      {"[ 0| abc]", "Error: no se puede evaluar \"abc\" a un número real"},
      {"[ 1|", "Error: no se puede evaluar \"\" a un número real"},
  };
  TFormatosNeutros neutros;
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    EXPECT_THAT([&] { TVectR v{std::string(c.texto)}; },
                testing::ThrowsMessage<Excepcion>(testing::StrEq(c.mensaje)));
  }
}
