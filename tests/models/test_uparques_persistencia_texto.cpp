#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "comparar_modelos.h"
#include "errores.h"
#include "formatos.h"
#include "pasarela_prueba.h"
#include "uDataSetGenerico.h"
#include "ubloquestexto.h"
#include "uparques_modeloteorico.h"

namespace {

using prueba_modelos::ExpectMismaCurva;
using prueba_modelos::ExpectMismoModelo;
using prueba_modelos::ExpectMismoVector;
using testing::HasSubstr;
using testing::StartsWith;
using testing::StrEq;
using testing::ThrowsMessage;

std::string Leer(const std::string& archivo) {
  std::ifstream f(archivo, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void Grabar(const std::string& archivo, const std::string& texto) {
  std::ofstream f(archivo, std::ios::binary);
  f << texto;
}

std::string Unir(const std::vector<std::string>& lineas, const std::string& fin = "\n") {
  std::string s;
  for (const std::string& l : lineas) s += l + fin;
  return s;
}

std::unique_ptr<TCurvaAerogen> Curva(std::int32_t nid, std::string modelo, NReal escala) {
  return std::make_unique<TCurvaAerogen>(
      nid, std::move(modelo), 80.5, TDAofNReal{3, 5, 7, 9, 12, 25},
      TDAofNReal{0, 0.3 * escala, 0.8 * escala, 1.5 * escala, 2 * escala, 2 * escala});
}

// A model whose every value needs all 17 digits (or the exponent's three) to come back.
std::unique_ptr<TParque_ModeloTeorico> ModeloRaro() {
  std::vector<std::unique_ptr<TMolino>> molinos;
  molinos.push_back(std::make_unique<TMolino>(101, 1, 1, 12, Curva(1, "Modelo A", 1.0 / 3), 1.0 / 3,
                                              TPosicion(21, 'H', 600000.1, 6200000.000000001)));
  molinos.push_back(std::make_unique<TMolino>(102, 2, 2, 12, Curva(2, "Modelo B", 0.1), 0.975,
                                              TPosicion(20, 'J', 600321.7, 6199876.3)));
  auto p = TParque_ModeloTeorico::Crear("Parque raro", std::move(molinos), 12.3456789);
  p->nid_central = 12;
  p->nid_modelo_teorico = 3456;
  p->n_sectores_dir = 36;
  p->alfa_terreno = std::numbers::pi;
  p->gamma_atmosfera = 1e-300;
  p->fpv3pe = -1234.5;
  p->factor_perdidas = 5e-324;
  p->potencia_nominal = 0.1 + 0.2;
  p->meteo_etha = TVectR(TDAofNReal{0.95, -1.0 / 7, 1e200, 0, std::numbers::e});
  p->grilla_rotada_dx = 8.999999999999998;
  p->grilla_rotada_dy = 1.0000000000000002;
  p->grilla_rotada_margen_dx = 999.5;
  p->meteo_utm_zona = 'H';
  p->meteo_utm_huso = 21;
  p->meteo_utm_xe = 599999.99999999988;
  p->meteo_utm_yn = 6200000.5;
  p->CalcularPosicionesRelativas();
  p->PrepararDerivados();
  return p;
}

TEST(ArchivoModeloTeorico, IdaYVueltaBitABit) {
  prueba::TCarpetaTemporal carpeta;
  const std::string archivo = carpeta.ruta() + "/c12_parque_mt.pmt";
  auto p = ModeloRaro();
  p->meteo_cota = 55;
  p->GuardarEnArchivo(archivo);
  auto q = TParque_ModeloTeorico::CrearDesdeArchivo(archivo);
  ExpectMismoModelo(*p, *q, false);
  EXPECT_EQ(q->meteo_cota, 0);
  EXPECT_EQ(q->molinos[0]->nro, 0);
  ASSERT_NE(q->curva_parque, nullptr);
  EXPECT_EQ(q->curva_parque->P_max, p->curva_parque->P_max);
  // Written again, the file is the same byte for byte.
  const std::string texto = Leer(archivo);
  q->GuardarEnArchivo(archivo);
  EXPECT_EQ(Leer(archivo), texto);
  EXPECT_THAT(texto, StartsWith("VERSION=3\r\n12\r\n3456\r\nParque raro\r\n2\r\n36\r\n"
                                " 3.1415926535897931E+000\r\n 1.0000000000000000E-300\r\n"
                                "-1.2345000000000000E+003\r\n 4.9406564584124654E-324\r\n"
                                " 1.2345678899999999E+001\r\n 3.0000000000000004E-001\r\n5\r\n"
                                " 9.4999999999999996E-001\r\n"));
  // The position block of the first turbine, after its three identifiers.
  EXPECT_THAT(texto, HasSubstr("\r\n101\r\n1\r\n12\r\n 1.0000000009313226E-001\t"
                               "-4.9999999906867743E-001\r\n21\tH\t 6.0000009999999998E+005\t"
                               " 6.2000000000000009E+006\r\n1\r\nModelo A\r\n"));
  EXPECT_EQ(std::filesystem::directory_iterator(carpeta.ruta())->path().filename(),
            "c12_parque_mt.pmt");
}

// Lines of a version-1 block written by hand: LF line ends, a blank line before a number and a
// number with no exponent.
std::vector<std::string> BloqueVersion1() {
  return {"VERSION=1", "8", "77", "Parque viejo", "1", "72", "0.5", "0.4", "1.8", "0.035", "12.5",
          "", "0.95", "9", "1", "1000",
          // turbine
          "801", "1", "8", "400\t250", "21\tH\t600400\t6200250",
          // its curve
          "1", "DEMO 2 MW", "90", "6", "3", "5", "7", "9", "12", "25", "6", "0", "0.3", "0.8",
          "1.5", "2", "2",
          // its etha, then the station
          "0.98", "H", "21", "600000", "6200000"};
}

TEST(ArchivoModeloTeorico, VersionesAnterioresSeLeenYSeEscribenEnLaTres) {
  prueba::TCarpetaTemporal carpeta;
  const std::string archivo = carpeta.ruta() + "/viejo.pmt";
  Grabar(archivo, Unir(BloqueVersion1()));
  auto p = TParque_ModeloTeorico::CrearDesdeArchivo(archivo);
  EXPECT_EQ(p->nombre, "Parque viejo");
  EXPECT_EQ(p->potencia_autorizada_mw, 12.5);
  EXPECT_EQ(p->potencia_nominal, 12.5);
  ExpectMismoVector(p->meteo_etha, TVectR(TDAofNReal{0.95, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  ASSERT_EQ(p->n_molinos(), 1);
  EXPECT_EQ(p->molinos[0]->posicion.dx, 400);
  EXPECT_EQ(p->molinos[0]->etha, 0.98);
  EXPECT_EQ(p->molinos[0]->curva->modelo, "DEMO 2 MW");

  p->GuardarEnArchivo(archivo);
  const std::string texto = Leer(archivo);
  EXPECT_THAT(texto, StartsWith("VERSION=3\r\n8\r\n77\r\n"));
  EXPECT_THAT(texto, HasSubstr("\r\n 1.2500000000000000E+001\r\n 1.2500000000000000E+001\r\n11\r\n"
                               " 9.4999999999999996E-001\r\n 0.0000000000000000E+000\r\n"));
  ExpectMismoModelo(*p, *TParque_ModeloTeorico::CrearDesdeArchivo(archivo));

  // Version 2 adds the nominal power before the single station coefficient.
  std::vector<std::string> v2 = BloqueVersion1();
  v2[0] = "VERSION=2";
  v2.insert(v2.begin() + 11, "11");
  std::istringstream s(Unir(v2, "\r\n"));
  auto q = TParque_ModeloTeorico::CrearDesdeTexto(s);
  EXPECT_EQ(q->potencia_nominal, 11);
  EXPECT_EQ(q->meteo_etha.n(), 11);
  EXPECT_EQ(q->meteo_etha.elemento(1), 0.95);
}

TEST(ArchivoModeloTeorico, ErroresNombranElArchivoYLaLinea) {
  prueba::TCarpetaTemporal carpeta;
  const std::string archivo = carpeta.ruta() + "/malo.pmt";
  struct Caso {
    std::string nombre;
    std::vector<std::string> lineas;
    std::string mensaje;
    bool es_conversion;
  };
  std::vector<std::string> corto = BloqueVersion1();
  corto.resize(20);
  std::vector<std::string> texto = BloqueVersion1();
  texto[6] = "0,5";
  std::vector<std::string> sin_prefijo = BloqueVersion1();
  sin_prefijo[0] = "VERSION3";
  std::vector<std::string> version4 = BloqueVersion1();
  version4[0] = "VERSION=4";
  std::vector<std::string> posicion = BloqueVersion1();
  posicion[20] = "21\tH\t600400\tnorte";
  std::vector<std::string> cuenta = BloqueVersion1();
  cuenta[24] = "-6";
  std::vector<std::string> enorme = BloqueVersion1();
  enorme[4] = "2000000000";
  const Caso casos[] = {
      {"corto", corto, archivo + ", línea 21: Lectura más allá del fin de archivo", false},
      {"texto", texto, archivo + ", línea 7: '0,5' is not a valid floating point value", true},
      {"sin prefijo", sin_prefijo,
       archivo + ", línea 1: 'VERSION3' no es una línea de versión (\"VERSION=\" y el número)",
       true},
      {"version 4", version4,
       archivo + ", línea 1: Versión 4 del modelo teórico no soportada (se leen de la 1 a la 3)",
       false},
      {"posicion", posicion,
       archivo + ", línea 21: Error: no se puede evaluar \"norte\" a un número real", false},
      {"cuenta", cuenta, archivo + ", línea 25: '-6' no es una cuenta de elementos válida", true},
      // A bogus turbine count runs into the lines after the turbines instead of allocating.
      {"cuenta enorme", enorme, archivo + ", línea 40: 'H' is not a valid integer value", true},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    Grabar(archivo, Unir(c.lineas));
    if (c.es_conversion) {
      EXPECT_THAT([&] { TParque_ModeloTeorico::CrearDesdeArchivo(archivo); },
                  ThrowsMessage<ExcepcionConversion>(StrEq(c.mensaje)));
    } else {
      EXPECT_THAT([&] { TParque_ModeloTeorico::CrearDesdeArchivo(archivo); },
                  ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
    }
  }
  EXPECT_THAT([&] { TParque_ModeloTeorico::CrearDesdeArchivo(archivo + ".no"); },
              ThrowsMessage<ExcepcionES>(StrEq("No se puede abrir el archivo " + archivo + ".no")));
  // The short file is an input/output error, as a file cut short is anywhere.
  Grabar(archivo, Unir(corto));
  EXPECT_THROW(TParque_ModeloTeorico::CrearDesdeArchivo(archivo), ExcepcionES);
  // The neutral formats are given back on every path.
  EXPECT_EQ(NivelFormatosNeutros(), 0);
}

TEST(ArchivoModeloTeorico, GuardadoFallidoDejaElArchivoAnterior) {
  prueba::TCarpetaTemporal carpeta;
  const std::string archivo = carpeta.ruta() + "/c12_parque_mt.pmt";
  auto p = ModeloRaro();
  p->GuardarEnArchivo(archivo);
  const std::string antes = Leer(archivo);

  p->molinos[1]->etha = std::numeric_limits<double>::quiet_NaN();
  EXPECT_THAT([&] { p->GuardarEnArchivo(archivo); },
              ThrowsMessage<Excepcion>(StrEq("valor no finito")));
  EXPECT_EQ(Leer(archivo), antes);

  // A target that cannot be replaced (a folder of that name): the temporary file goes too.
  p->molinos[1]->etha = 1;
  const std::string carpeta_destino = carpeta.ruta() + "/ocupado.pmt";
  std::filesystem::create_directory(carpeta_destino);
  Grabar(carpeta_destino + "/dentro", "x");
  EXPECT_THAT([&] { p->GuardarEnArchivo(carpeta_destino); },
              ThrowsMessage<ExcepcionES>(
                  StartsWith("Error de escritura del archivo " + carpeta_destino + ": ")));
  int entradas = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(carpeta.ruta())) {
    ++entradas;
  }
  EXPECT_EQ(entradas, 2);
  EXPECT_EQ(Leer(archivo), antes);
}

TEST(ArchivoModeloTeorico, TextosDeUnaLineaYZonaEnBlanco) {
  auto p = ModeloRaro();
  p->nombre = "Parque\r\nnuevo\n";
  p->molinos[0]->curva->modelo = "A\nB";
  p->molinos[1]->posicion.zona_utm = ' ';
  p->meteo_utm_zona = '\n';
  std::stringstream s;
  p->EscribirTexto(s);
  auto q = TParque_ModeloTeorico::CrearDesdeTexto(s, "memoria");
  EXPECT_EQ(q->nombre, "Parque  nuevo ");
  EXPECT_EQ(q->molinos[0]->curva->modelo, "A B");
  EXPECT_EQ(q->molinos[1]->posicion.zona_utm, ' ');
  EXPECT_EQ(q->molinos[1]->posicion.xe, p->molinos[1]->posicion.xe);
  EXPECT_EQ(q->molinos[1]->posicion.yn, p->molinos[1]->posicion.yn);
  EXPECT_EQ(q->meteo_utm_zona, ' ');
  EXPECT_EQ(q->meteo_utm_huso, 21);
  // The block ends where it was written: a reader can go on with what follows.
  s << "siguiente\r\n";
  std::string resto;
  std::getline(s, resto);
  EXPECT_EQ(resto, "siguiente\r");
}

TEST(TCurvaAerogenPersistencia, BloqueDeTextoYRegistro) {
  const auto c = Curva(7, "Modelo C", 1.0 / 3);
  std::stringstream s;
  c->EscribirTexto(s);
  EXPECT_THAT(s.str(), StartsWith("7\r\nModelo C\r\n 8.0500000000000000E+001\r\n6\r\n 3.0000"));
  ExpectMismaCurva(*c, *TCurvaAerogen::CrearDesdeTexto(s));

  TDataSetGenerico r(1, 5);
  const char* const nombres[] = {"nid", "modelo", "diametro", "curva_v", "curva_p"};
  const char* const valores[] = {"7", "Modelo C", "", "[ 3| 3;  2*4;  25]", "[ 3| 0;  1.5;  2]"};
  for (int k = 0; k < 5; ++k) {
    r.columns[static_cast<std::size_t>(k)].name = nombres[k];
    r.RecordAt(0).SetValue(k, valores[k]);
  }
  const auto d = TCurvaAerogen::CrearDesdeRegistro(r);
  EXPECT_EQ(d->diametro, 0);
  ExpectMismoVector(d->curva_v, TVectR(TDAofNReal{3, 8, 25}));
  ExpectMismoVector(d->curva_P, TVectR(TDAofNReal{0, 1.5, 2}));
  EXPECT_EQ(d->P_max, 2);
}

}  // namespace
