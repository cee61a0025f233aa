#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "fechas.h"
#include "formatos.h"

namespace {

TFormatos FormatosConHora() {
  TFormatos f;
  f.separador_fecha = '/';
  f.separador_hora = ':';
  f.formato_fecha_corta = "dd/mm/yyyy";
  f.formato_hora_larga = "hh:nn:ss";
  return f;
}

constexpr double k20150305_1410 = 42068.59027777778;

}  // namespace

TEST(Fechas, NumerosDeDia) {
  struct Caso {
    TFechaHoraPartes p;
    double dia;
  };
  const Caso casos[] = {
      {{1899, 12, 30}, 0},
      {{1900, 1, 1}, 2},
      {{2015, 3, 5}, 42068},
      {{2015, 10, 28}, 42305},
      {{2016, 1, 15}, 42384},
      {{2016, 2, 29}, 42429},
      {{2000, 1, 1, 12}, 36526.5},
      {{2015, 3, 5, 14, 10}, k20150305_1410},
      {{2016, 1, 1, 0, 30}, 42370.020833333336},
      {{1, 1, 1}, -693593},
      {{9999, 12, 31, 23, 59, 59, 999}, 2958465.9999999884},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << c.p.anio << "-" << c.p.mes << "-" << c.p.dia);
    const TFechaHora t = CodificarFechaHora(c.p);
    EXPECT_DOUBLE_EQ(t, c.dia);
    const TFechaHoraPartes d = DecodificarFechaHora(t);
    EXPECT_EQ(d.anio, c.p.anio);
    EXPECT_EQ(d.mes, c.p.mes);
    EXPECT_EQ(d.dia, c.p.dia);
    EXPECT_EQ(d.hora, c.p.hora);
    EXPECT_EQ(d.minuto, c.p.minuto);
    EXPECT_EQ(d.segundo, c.p.segundo);
    EXPECT_EQ(d.milisegundo, c.p.milisegundo);
  }
  EXPECT_EQ(1.0 / 144, 0.0069444444444444441);
  EXPECT_EQ(CodificarHora(0, 10, 0), 1.0 / 144);
}

TEST(Fechas, FechasYHorasNoValidas) {
  EXPECT_THAT([] { CodificarFecha(2015, 13, 1); },
              testing::ThrowsMessage<Excepcion>(testing::StrEq("Fecha no válida: 2015-13-1")));
  EXPECT_THROW(CodificarFecha(2015, 2, 29), Excepcion);
  EXPECT_THROW(CodificarFecha(2015, 0, 1), Excepcion);
  EXPECT_THROW(CodificarFecha(0, 1, 1), Excepcion);
  EXPECT_THAT([] { CodificarHora(24, 0, 0); },
              testing::ThrowsMessage<Excepcion>(testing::StrEq("Hora no válida: 24:0:0")));
  EXPECT_THROW(CodificarHora(0, 60, 0), Excepcion);
  EXPECT_THROW(CodificarHora(0, 0, 60), Excepcion);
  EXPECT_THROW(CodificarHora(0, 0, 0, 1000), Excepcion);
  EXPECT_FALSE(FechaValida(2100, 2, 29));
  EXPECT_TRUE(FechaValida(2000, 2, 29));
}

TEST(Fechas, DecodificarRedondeaAlMilisegundo) {
  // 0.4 ms before midnight is the next day.
  const TFechaHora casi = 42069.0 - 0.4 / 86400000.0;
  const TFechaHoraPartes p = DecodificarFechaHora(casi);
  EXPECT_EQ(p.dia, 6);
  EXPECT_EQ(p.hora, 0);
  EXPECT_EQ(p.milisegundo, 0);
  EXPECT_EQ(RedondearAlMilisegundo(casi), 42069.0);
  EXPECT_EQ(FechaCompacta(casi), "20150306");
  // 0.6 ms before stays in the day.
  EXPECT_EQ(DecodificarFechaHora(42069.0 - 0.6 / 86400000.0).milisegundo, 999);
}

TEST(Fechas, FueraDeRango) {
  for (const double t : {std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(), 1e300, 2958466.0, -693593.5}) {
    SCOPED_TRACE(t);
    EXPECT_THROW(DecodificarFechaHora(t), Excepcion);
  }
  EXPECT_THAT([] { FechaCompacta(1e300); },
              testing::ThrowsMessage<Excepcion>(testing::StrEq("Fecha fuera de rango: 1E300")));
}

TEST(Fechas, TextoGeneral) {
  {
    TFormatosDePrueba usuario(FormatosConHora());
    TFormatosNeutros neutros;
    EXPECT_EQ(FechaHoraATexto(42068.0), "2015-03-05");
    EXPECT_EQ(FechaHoraATexto(k20150305_1410), "2015-03-05 14:10:00");
    // One millisecond is not midnight.
    EXPECT_EQ(FechaHoraATexto(42068.0 + 1.0 / 86400000.0), "2015-03-05 00:00:00");
  }
  TFormatosDePrueba usuario(FormatosConHora());
  EXPECT_EQ(FechaHoraATexto(k20150305_1410), "05/03/2015 14:10:00");
  EXPECT_EQ(FechaHoraATexto(42068.0), "05/03/2015");
}

TEST(Fechas, Patrones) {
  TFormatos f = FormatosConHora();
  f.separador_fecha = '.';
  f.formato_fecha_corta = "dd.mm.yyyy";
  TFormatosDePrueba usuario(f);
  const TFechaHora t = k20150305_1410 + CodificarHora(0, 0, 7, 45);
  struct Caso {
    std::string patron, texto;
  };
  const Caso casos[] = {
      {"dd-mm-yyyy hh:mm", "05-03-2015 14:10"},
      {"DD-MM-YYYY HH:MM", "05-03-2015 14:10"},
      {"yyyy/mm/dd hh:mm", "2015.03.05 14:10"},
      {"d/m/yy h:m:s", "5.3.15 14:10:7"},
      {"hh:nn:ss.zzz", "14:10:07.045"},
      {"mm", "03"},
      {"'mm' mm", "mm 03"},
      {"yyyymmddhhnn", "201503051410"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.patron);
    EXPECT_EQ(FormatearFechaHora(c.patron, t), c.texto);
  }
  TFormatosNeutros neutros;
  EXPECT_EQ(FormatearFechaHora("yyyy/mm/dd hh:mm", t), "2015-03-05 14:10");
}

TEST(Fechas, FechaCompacta) {
  EXPECT_EQ(FechaCompacta(42068.0), "20150305");
  EXPECT_EQ(FechaCompacta(k20150305_1410), "201503051410");
  EXPECT_EQ(FechaCompacta(42370.020833333336), "201601010030");
  EXPECT_EQ(FechaCompacta(42068.0 + CodificarHora(0, 0, 30)), "20150305");
}
