#include <gtest/gtest.h>

#include <cmath>

#include "fechas.h"
#include "formatos.h"
#include "ugraficador.h"

TEST(TEjeGrafico, EscalaRedondeadaCasos) {
  struct Caso {
    const char* nombre;
    NReal bajo, alto;
    bool expandir;
    std::int32_t divisiones;
    NReal bajoEsperado, altoEsperado, pasoEsperado;
    std::int32_t divisionesEsperadas;
  };
  const Caso casos[] = {
      {"datos 3.2..24.7 expandiendo", 3.2, 24.7, true, 10, 0, 25, 5, 5},
      {"mismos datos encogiendo", 3.2, 24.7, false, 10, 4, 24, 2, 10},
      {"extremos invertidos", 24.7, 3.2, true, 10, 0, 25, 5, 5},
      {"un solo valor", 5, 5, true, 10, 5, 5.5, 0.05, 10},
      {"cero", 0, 0, true, 10, 0, 1e-10, 1e-11, 10},
      {"negativo unico", -5, -5, true, 10, -5.5, -5, 0.05, 10},
      {"cero divisiones pedidas", 0, 7, true, 0, 0, 10, 10, 1},
      {"diez pasos justos", 0, 0.3, true, 3, 0, 0.3, 0.1, 3},
      {"dos a la menos diez", 0, 1e-10, true, 10, 0, 1e-10, 1e-11, 10},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    NReal bajo = c.bajo;
    NReal alto = c.alto;
    NReal paso = 0;
    std::int32_t div = c.divisiones;
    TEjeGrafico::EscalaRedondeada(bajo, alto, paso, c.expandir, div);
    EXPECT_NEAR(bajo, c.bajoEsperado, 1e-12 * std::fabs(c.bajoEsperado) + 1e-25);
    EXPECT_NEAR(alto, c.altoEsperado, 1e-12 * std::fabs(c.altoEsperado) + 1e-25);
    EXPECT_NEAR(paso, c.pasoEsperado, 1e-12 * c.pasoEsperado);
    EXPECT_EQ(div, c.divisionesEsperadas);
  }
}

TEST(TEjeGrafico, FijarRangoAutomaticoYFijo) {
  TEjeGrafico automatico("");
  NReal bajo = 3.2;
  NReal alto = 24.7;
  automatico.FijarRango(bajo, alto);
  EXPECT_EQ(bajo, 0);
  EXPECT_EQ(alto, 25);
  EXPECT_EQ(automatico.nDiv, 5);
  EXPECT_EQ(automatico.paso, 5);
  EXPECT_EQ(automatico.rangoBajo, 3.2);

  // Fixed ends: the tick count still comes from the data, the ticks span the fixed range.
  TEjeGrafico fijo("");
  fijo.SetMin(0);
  fijo.SetMax(25);
  for (int dibujo = 0; dibujo < 2; ++dibujo) {
    SCOPED_TRACE(dibujo);
    bajo = 3.2;
    alto = 24.7;
    fijo.FijarRango(bajo, alto);
    EXPECT_EQ(bajo, 0);
    EXPECT_EQ(alto, 25);
    EXPECT_EQ(fijo.nDiv, 10);
    EXPECT_EQ(fijo.paso, 2.5);
    EXPECT_EQ(fijo.EtiquetaTick(1), "2.50");
  }

  TEjeGrafico divFijas("");
  divFijas.autoDiv = false;
  divFijas.nDivFijo = 4;
  bajo = 3.2;
  alto = 24.7;
  divFijas.FijarRango(bajo, alto);
  EXPECT_EQ(divFijas.nDiv, 4);
  EXPECT_EQ(divFijas.paso, 6.25);
}

TEST(TEjeGrafico, EtiquetasPorTipo) {
  TFormatosDePrueba formatos(TFormatos{});
  TEjeGrafico eje("");
  eje.primero = -1;
  eje.paso = 0.25;
  EXPECT_EQ(eje.EtiquetaTick(0), "-1.00");
  EXPECT_EQ(eje.EtiquetaTick(4), "0.00");
  EXPECT_EQ(eje.EtiquetaTick(7), "0.75");
  eje.tipoEtiqueta = teEntero;
  EXPECT_EQ(eje.EtiquetaTick(2), "0");   // -0.5 to the nearest, ties to even
  EXPECT_EQ(eje.EtiquetaTick(10), "2");  // 1.5
  eje.tipoEtiqueta = teNumero;
  eje.formatoNum = ffExponente;
  eje.precision = 6;
  eje.decimales = 8;
  eje.primero = 0.0006125;
  EXPECT_EQ(eje.EtiquetaTick(0), "6.12500E-0004");
  eje.formatoNum = ffGeneral;
  EXPECT_EQ(eje.EtiquetaTick(0), "0.0006125");

  // Rounding noise on the zero tick does not print as "-0.00".
  TEjeGrafico ruido("");
  ruido.primero = -0.3;
  ruido.paso = 0.1;
  EXPECT_EQ(ruido.EtiquetaTick(3), "0.00");

  TEjeGrafico fecha("");
  fecha.tipoEtiqueta = teFecha;
  fecha.primero = CodificarFecha(2015, 3, 5);
  fecha.paso = 0.5;
  EXPECT_EQ(fecha.EtiquetaTick(1), "2015/03/05 12:00");
  fecha.paso = std::nan("");
  EXPECT_EQ(fecha.EtiquetaTick(1), "NAN");
}

TEST(TEjeGrafico, MapeoAcotado) {
  EXPECT_EQ(ClampPixel(2.9), 2);
  EXPECT_EQ(ClampPixel(-2.9), -2);
  EXPECT_EQ(ClampPixel(1e300), 2147483647);
  EXPECT_EQ(ClampPixel(-INFINITY), -2147483647);
  EXPECT_EQ(ClampPixel(std::nan("")), 0);
}
