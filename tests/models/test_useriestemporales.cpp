#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "errores.h"
#include "fechas.h"
#include "formatos.h"
#include "useriestemporales.h"

namespace fs = std::filesystem;

namespace {

using testing::StrEq;
using testing::ThrowsMessage;

TSeriesDeDatos Leer(const std::string& texto) {
  std::istringstream entrada(texto);
  return TSeriesDeDatos(entrada, "prueba.sas");
}

const char* const kCuatroSeries =
    "VERSION_FORMATO_SERIES 1\r\n"
    "4\r\n"
    "2015;3;5;0;10;0\r\n"
    "1/6\r\n"
    "3\r\n"
    "144\r\n"
    "..x.\r\n"
    "vel dir pe temp\r\n"
    "1 5.5 270 1.25 15\r\n"
    "2 6 -1e1 2E-1 16 99 98\r\n"
    "abc 7 90 0.5 17\r\n";

TEST(TSeriesDeDatos, LeeCabeceraMarcasYMuestras) {
  // The leading column is discarded as it is read; it still has to be a number.
  const std::string texto =
      std::string(kCuatroSeries).replace(std::string(kCuatroSeries).find("abc"), 3, "-7.5");
  const TSeriesDeDatos s = Leer(texto);
  EXPECT_EQ(s.Archivo, "prueba.sas");
  EXPECT_EQ(s.VersionFormato, 1);
  EXPECT_EQ(s.NSeries, 4);
  EXPECT_EQ(s.Anio, 2015);
  EXPECT_EQ(s.Minuto, 10);
  EXPECT_DOUBLE_EQ(s.PeriodoHoras, 1.0 / 6);
  EXPECT_EQ(s.NPuntos, 3);
  EXPECT_EQ(s.PuntosPorCiclo, 144);
  EXPECT_EQ(s.Marcas, (std::vector<bool>{true, true, false, true}));
  EXPECT_EQ(s.Nombres, (std::vector<std::string>{"vel", "dir", "pe", "temp"}));
  ASSERT_EQ(s.Series.size(), 4U);
  EXPECT_EQ(s.Series[0].n(), 3);
  EXPECT_EQ(s.Series[0].elemento(1), 5.5);
  EXPECT_EQ(s.Series[1].elemento(2), -10);
  EXPECT_EQ(s.Series[2].elemento(2), 0.2);  // extra columns ignored
  EXPECT_EQ(s.Series[3].elemento(3), 17);
  EXPECT_EQ(s.FechaInicio, CodificarFecha(2015, 3, 5) + CodificarHora(0, 10, 0));
  EXPECT_EQ(s.FechaDeMuestra(1), s.FechaInicio);
  EXPECT_DOUBLE_EQ(s.FechaDeMuestra(145), s.FechaInicio + 1);
  EXPECT_EQ(NivelFormatosNeutros(), 0);
}

TEST(TSeriesDeDatos, SinLineaDeVersion) {
  // No version line: version 0, no marks line, every mark false; LF ends, blanks and expressions.
  const TSeriesDeDatos s = Leer("2\n2016 1 1 0 30 0\n2*0.5\n1\n0\na b\n0 1 2\n");
  EXPECT_EQ(s.VersionFormato, 0);
  EXPECT_EQ(s.Marcas, (std::vector<bool>{false, false}));
  EXPECT_EQ(s.PeriodoHoras, 1);
  EXPECT_EQ(s.PeriodoDias, 1.0 / 24);
  EXPECT_EQ(s.Series[1].elemento(1), 2);
  // A version of 0 leaves the rest of its line as the series-count line.
  const TSeriesDeDatos v0 = Leer("VERSION_FORMATO_SERIES 0 2\n2016 1 1 0 0 0\n1\n0\n0\na b\n");
  EXPECT_EQ(v0.NSeries, 2);
  EXPECT_EQ(v0.NPuntos, 0);
  EXPECT_EQ(v0.Series[0].n(), 0);
}

TEST(TSeriesDeDatos, ErroresConSuLinea) {
  struct Caso {
    const char* nombre;
    std::string texto;
    const char* mensaje;
  };
  const std::string cab = "2\n2016 1 1 0 0 0\n1/6\n2\n144\na b\n";
  const Caso casos[] = {
      {"vacio", "", "Error leyendo línea: 0"},
      {"cuenta no entera", "2.5\n", "Error leyendo línea: 1"},
      {"cuenta negativa", "-2\n", "Error leyendo línea: 1"},
      {"inicio corto", "2\n2016 1 1 0 0\n", "Error leyendo línea: 2"},
      {"periodo malo", "2\n2016 1 1 0 0 0\nx\n", "Error leyendo línea: 3"},
      {"muestras no enteras", "2\n2016 1 1 0 0 0\n1\n2.0\n", "Error leyendo línea: 4"},
      {"falta el ciclo", "2\n2016 1 1 0 0 0\n1\n2\n", "Error leyendo línea: 4"},
      {"version con marcas cortas", "VERSION_FORMATO_SERIES 1\n2\n2016 1 1 0 0 0\n1\n0\n0\nx\n",
       "Error leyendo línea: 7"},
      {"falta un nombre", "2\n2016 1 1 0 0 0\n1\n0\n0\na\n", "Error leyendo línea: 6"},
      {"dato malo", cab + "0 1 2\n0 1 x\n", "Error leyendo línea: 7"},
      {"dato como expresion", cab + "0 1 2*2\n", "Error leyendo línea: 6"},
      {"linea corta", cab + "0 1\n0 1 2\n0 3 4\n", "Error leyendo línea: 6"},
      {"archivo corto", cab + "0 1 2\n", "Error leyendo línea: 7"},
      {"fecha mala", "2\n2016 13 1 0 0 0\n1\n1\n0\na b\n0 1 2\n", "Error leyendo línea: 7"},
      {"hora mala", "2\n2016 1 1 24 0 0\n1\n0\n0\na b\n", "Error leyendo línea: 6"},
      {"cuenta enorme", "2\n2016 1 1 0 0 0\n1\n2000000000\n0\na b\n0 1 2\n",
       "Error leyendo línea: 7"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    EXPECT_THAT([&] { Leer(c.texto); }, ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
    EXPECT_EQ(NivelFormatosNeutros(), 0);
  }
}

TEST(TSeriesDeDatos, ArchivoEnDisco) {
  const fs::path dir = fs::temp_directory_path() / ("veltra_series_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string ruta = (dir / "c8_series10min.sas").generic_string();
  {
    std::ofstream f(ruta, std::ios::binary);
    f << kCuatroSeries;
  }
  EXPECT_THAT([&] { TSeriesDeDatos::CrearDesdeArchivo(ruta); },
              ThrowsMessage<Excepcion>(StrEq("Error leyendo línea: 10")));  // "abc" on line 11
  {
    std::ofstream f(ruta, std::ios::binary);
    f << "\xEF\xBB\xBF"
      << "1\r\n2015 3 5 0 0 0\r\n1/6\r\n1\r\n144\r\nv\r\n\r\n0 4\r\n";
  }
  const auto s = TSeriesDeDatos::CrearDesdeArchivo(ruta);
  EXPECT_EQ(s->Archivo, ruta);
  EXPECT_EQ(s->Series[0].elemento(1), 4);
  const std::string falta = (dir / "falta.sas").generic_string();
  EXPECT_THAT([&] { TSeriesDeDatos::CrearDesdeArchivo(falta); },
              ThrowsMessage<ExcepcionES>(StrEq("No puedo abrir el archivo: " + falta)));
  fs::remove_all(dir);
}

TEST(TSeriesDeDatos, FechaCompacta) {
  EXPECT_EQ(FechaCompacta(CodificarFecha(2016, 1, 1) + CodificarHora(0, 30, 0)), "201601010030");
  EXPECT_EQ(FechaCompacta(CodificarFecha(2016, 1, 1)), "20160101");
  EXPECT_EQ(FechaCompacta(CodificarFecha(2015, 3, 5) + CodificarHora(14, 10, 0)), "201503051410");
}

}  // namespace
