#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ayuda_calibrador.h"
#include "formatos.h"
#include "ucalibrador.h"
#include "ucurvasaeros.h"
#include "uparques_modelocombinado.h"

namespace fs = std::filesystem;

namespace {

using testing::HasSubstr;
using testing::StrEq;
using testing::ThrowsMessage;

std::vector<std::string> Lineas(const std::string& texto) {
  std::vector<std::string> r;
  std::size_t desde = 0;
  for (std::size_t p = texto.find("\r\n"); p != std::string::npos; p = texto.find("\r\n", desde)) {
    r.push_back(texto.substr(desde, p - desde));
    desde = p + 2;
  }
  return r;
}

std::string Unir(const std::vector<std::string>& lineas) {
  std::string r;
  for (const std::string& l : lineas) r += l + "\r\n";
  return r;
}

// A combined model of the 10-turbine, 20 MW test farm over a hand-made empirical block.
class ModeloCombinado : public testing::Test {
 protected:
  void SetUp() override {
    mt_ = ayuda::Parque(10, 20);
    clp_ = carpetas_.dir / "c8_calibrador.clp";
  }
  std::unique_ptr<TParque_ModeloCombinado> Construir(const ayuda::TEmpiricoPrueba& e) {
    ayuda::EscribirArchivo(clp_, ayuda::TextoCalibrador(*mt_, e));
    return TParque_ModeloCombinado::CrearDesdeCalibrador(clp_.generic_string(), salida_);
  }
  // The theoretical power of the model the combined model holds, for the not-curtailed path.
  static double Teorica(TParque_ModeloCombinado& mc, double cgm, double dir, double v) {
    TParque_ModeloTeorico& m = *mc.modelo_teorico;
    m.PrepararDireccion(dir, false);
    bool conv = false;
    double a = 0, f = 0;
    return m.SimularDesdeAnemometro(cgm, PV3(v, 1.225), 1.225, conv, a, f);
  }
  static void Llenar(TMatR& C, double x) {
    for (int i = 1; i <= C.n_filas(); ++i) {
      for (int j = 1; j <= C.n_columnas(); ++j) C.poner(i, j, x);
    }
  }

  ayuda::CarpetasPrueba carpetas_{"combinado"};
  std::unique_ptr<TParque_ModeloTeorico> mt_;
  fs::path clp_;
  std::ostringstream salida_;
};

TEST_F(ModeloCombinado, SinDatosLaCorreccionEsUno) {
  auto mc = Construir({});
  ASSERT_EQ(mc->correccion.n_filas(), 72);
  ASSERT_EQ(mc->correccion.n_columnas(), 10);
  for (int i = 1; i <= 72; ++i) {
    for (int j = 1; j <= 10; ++j) ASSERT_EQ(mc->correccion.elemento(i, j), 1.0);
  }
  // One relaxation sweep that changes nothing.
  EXPECT_THAT(salida_.str(), HasSubstr("kAng: 1 **********************\n1, 2, 3, 4, 5, 6, 7, 8, "
                                       "9, 10, \nkAng: 2 ****"));
  EXPECT_THAT(salida_.str(), HasSubstr("cnt_iter: 0, epsilon: "));
  EXPECT_THAT(salida_.str(), testing::Not(HasSubstr("cnt_iter: 1,")));
  // The combined power is the theoretical power, capped at the authorised power.
  for (const double v : {6.0, 9.0, 30.0}) {
    SCOPED_TRACE(testing::Message() << "v " << v);
    double con = 0, sin = 0;
    mc->PotenciaMC(1000000, 1.225, 200, v, con, sin);
    const double P = Teorica(*mc, 1000000, 200, v);
    EXPECT_EQ(con, std::min(P, 20.0));
    EXPECT_EQ(sin, con);
  }
}

TEST_F(ModeloCombinado, CeldasConDiezMuestrasDanCociente) {
  ayuda::TEmpiricoPrueba e;
  Llenar(e.F0, 6);
  e.cnt.poner(10, 5, 9);
  e.cnt.poner(11, 5, 10);
  auto mc = Construir(e);
  // The ratio of the cell with 10 samples is its empirical over its theoretical power.
  const TParque_ModeloEmpirico& me = *mc->modelo_empirico;
  const double x = me.Pv3Medio.elemento(5);
  mc->modelo_teorico->PrepararDireccion(me.AnguloSector(11), false);
  bool conv = false;
  double a = 0, f = 0;
  const double P_teo = mc->modelo_teorico->SimularDesdeAnemometro(20, x, 1.225, conv, a, f);
  ASSERT_GT(P_teo, 1);
  double peso = 0;
  const double cociente = me.PotenciaBinada(1.225, x, me.AnguloSector(11), peso) / P_teo;
  EXPECT_NE(cociente, 1.0);
  EXPECT_EQ(mc->correccion.elemento(11, 5), cociente);
  // The cell with 9 is empty, relaxed from its neighbours: strictly between 1 and the ratio.
  const double c9 = mc->correccion.elemento(10, 5);
  EXPECT_GT(std::fabs(c9 - 1), 1e-3);
  EXPECT_LT(std::fabs(c9 - 1), std::fabs(cociente - 1));
}

TEST_F(ModeloCombinado, PesosDeSector) {
  auto mc = Construir({});
  // Sector 72 doubles the power, sector 1 leaves it.
  Llenar(mc->correccion, 1);
  for (int j = 1; j <= 10; ++j) mc->correccion.poner(72, j, 2);
  struct Caso {
    double dir, factor;
  };
  const Caso casos[] = {{357.5, 1.5}, {360, 1}, {0, 1}, {355, 2}, {-2.5, 1.5}, {717.5, 1.5}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "dir " << c.dir);
    double con = 0, sin = 0;
    mc->PotenciaMC(1000000, 1.225, c.dir, 8, con, sin);
    const double P = Teorica(*mc, 1000000, c.dir, 8);
    EXPECT_DOUBLE_EQ(con, P * c.factor);
    EXPECT_EQ(sin, con);
  }
}

TEST_F(ModeloCombinado, BinesDeDensidad) {
  auto mc = Construir({});
  // Column b holds b: below the first centre it reads column 1, beyond the last column 10, and
  // between centres linearly in the position of the station pv3 among them.
  for (int i = 1; i <= 72; ++i) {
    for (int j = 1; j <= 10; ++j) mc->correccion.poner(i, j, 0.1 * j);
  }
  TParque_ModeloTeorico& m = *mc->modelo_teorico;
  for (const double v : {2.0, 4.0, 7.5, 13.0, 20.0}) {
    SCOPED_TRACE(testing::Message() << "v " << v);
    double con = 0, sin = 0;
    mc->PotenciaMC(1000000, 1.225, 90, v, con, sin);
    m.PrepararDireccion(90, false);
    bool conv = false;
    double d = 0, f = 0;
    const double P = m.SimularDesdeAnemometro(1000000, PV3(v, 1.225), 1.225, conv, d, f);
    const double x = mc->modelo_empirico->Pv3Medio.inv_interpol(d);
    const double esperado = 0.1 * std::clamp(x, 1.0, 10.0);
    EXPECT_NEAR(con, std::min(P * esperado, 20.0), 1e-12);
  }
}

TEST_F(ModeloCombinado, ConsignaYTope) {
  auto mc = Construir({});
  TParque_ModeloTeorico& m = *mc->modelo_teorico;
  double con = 0, sin = 0;
  // At exactly 0.99 PAut the set-point is not a curtailment: both powers are one computation.
  Llenar(mc->correccion, 1);
  mc->PotenciaMC(0.99 * 20, 1.225, 270, 11, con, sin);
  EXPECT_EQ(con, sin);
  EXPECT_EQ(con, Teorica(*mc, 0.99 * 20, 270, 11));
  // Below it the uncurtailed power comes from the free wind the curtailed computation found.
  mc->PotenciaMC(5, 1.225, 270, 11, con, sin);
  m.PrepararDireccion(270, false);
  bool conv = false;
  double a = 0, f = 0, d = 0;
  const double P_a = m.SimularDesdeAnemometro(5, PV3(11, 1.225), 1.225, conv, a, f);
  const double P_b = m.Simular(20, f, 1.225, d);
  EXPECT_EQ(con, P_a);
  EXPECT_EQ(sin, P_b);
  EXPECT_LT(con, sin);
  // The factor may lift the curtailed power above its set-point, but never either above PAut.
  Llenar(mc->correccion, 1.5);
  mc->PotenciaMC(5, 1.225, 270, 11, con, sin);
  EXPECT_GT(con, 5);
  EXPECT_EQ(sin, 20);
  Llenar(mc->correccion, 20.0 / P_a);
  mc->PotenciaMC(5, 1.225, 270, 11, con, sin);
  EXPECT_LE(con, 20);
  Llenar(mc->correccion, 10);
  mc->PotenciaMC(5, 1.225, 270, 11, con, sin);
  EXPECT_EQ(con, 20);
  EXPECT_EQ(sin, 20);
  // A missing set-point (-1) gives no power with it, and the uncurtailed power without it.
  mc->PotenciaMC(-1, 1.225, 270, 11, con, sin);
  EXPECT_EQ(con, 0);
  EXPECT_EQ(sin, 20);
  Llenar(mc->correccion, 1);
  mc->PotenciaMC(-1, 1.225, 270, 11, con, sin);
  EXPECT_EQ(con, 0);
  EXPECT_NEAR(sin, P_b, 0.05 * P_b);
  // A calm station gives nothing.
  mc->PotenciaMC(1000000, 1.225, 270, 0, con, sin);
  EXPECT_EQ(con, 0);
  EXPECT_EQ(sin, 0);
}

TEST_F(ModeloCombinado, GuardarYCargarDaLaMismaCorreccion) {
  auto mc = Construir({});
  // Values that need all 17 digits.
  for (int i = 1; i <= 72; ++i) {
    for (int j = 1; j <= 10; ++j) mc->correccion.poner(i, j, 1.0 / (i + 3 * j) + std::sqrt(i));
  }
  const fs::path pmc = carpetas_.dir / "c8.pmc";
  mc->GuardarMC(pmc.generic_string());
  auto leido = TParque_ModeloCombinado::CrearDesdeArchivoMC(pmc.generic_string());
  for (int i = 1; i <= 72; ++i) {
    for (int j = 1; j <= 10; ++j)
      ASSERT_EQ(leido->correccion.elemento(i, j), mc->correccion.elemento(i, j));
  }
  // The calibrator part is the calibrator file itself, and a second save the same bytes.
  const std::string texto = ayuda::LeerArchivo(pmc);
  EXPECT_EQ(texto.rfind(ayuda::LeerArchivo(clp_), 0), 0u);
  EXPECT_THAT(texto, HasSubstr("\r\n72\r\n10\r\n10\r\n"));
  const fs::path otra = carpetas_.dir / "otra.pmc";
  leido->GuardarMC(otra.generic_string());
  EXPECT_EQ(ayuda::LeerArchivo(otra), texto);
  EXPECT_EQ(leido->x_mejor, mc->x_mejor);
  EXPECT_EQ(NivelFormatosNeutros(), 0);
}

TEST_F(ModeloCombinado, GuardadoFallidoDejaElArchivoAnterior) {
  auto mc = Construir({});
  const fs::path pmc = carpetas_.dir / "c8.pmc";
  mc->GuardarMC(pmc.generic_string());
  const std::string antes = ayuda::LeerArchivo(pmc);
  mc->correccion.poner(3, 4, std::numeric_limits<double>::quiet_NaN());
  EXPECT_THAT([&] { mc->GuardarMC(pmc.generic_string()); },
              ThrowsMessage<Excepcion>(StrEq("valor no finito")));
  EXPECT_EQ(ayuda::LeerArchivo(pmc), antes);
  EXPECT_EQ(NivelFormatosNeutros(), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(carpetas_.dir), fs::directory_iterator()), 3);
}

TEST_F(ModeloCombinado, ArchivosCortosOMalFormados) {
  auto mc = Construir({});
  const fs::path pmc = carpetas_.dir / "c8.pmc";
  mc->GuardarMC(pmc.generic_string());
  const std::vector<std::string> lineas = Lineas(ayuda::LeerArchivo(pmc));
  std::ostringstream teorico;
  mt_->EscribirTexto(teorico);
  const std::size_t Lt = Lineas(teorico.str()).size();
  const std::string nombre = pmc.generic_string();
  // Without its last line; with a bad first sample count (after the 12 lines of the bin borders
  // and the three count lines of the matrix).
  std::vector<std::string> corto = lineas;
  corto.pop_back();
  std::vector<std::string> malo = lineas;
  malo[Lt + 15] = "x1";
  struct Caso {
    std::string nombre, texto, mensaje;
  };
  const Caso casos[] = {
      {"corto", Unir(corto),
       nombre + ", línea " + std::to_string(lineas.size()) +
           ": Lectura más allá del fin de archivo"},
      {"número", Unir(malo),
       nombre + ", línea " + std::to_string(Lt + 16) +
           ": 'x1' is not a valid floating point value"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    ayuda::EscribirArchivo(pmc, c.texto);
    EXPECT_THAT([&] { TParque_ModeloCombinado::CrearDesdeArchivoMC(nombre); },
                ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
    EXPECT_EQ(NivelFormatosNeutros(), 0);
  }
  EXPECT_THAT([&] { TParque_ModeloCombinado::CrearDesdeArchivoMC(nombre + "x"); },
              ThrowsMessage<Excepcion>(StrEq("No se puede abrir el archivo " + nombre + "x")));
}

TEST_F(ModeloCombinado, MatrizDeOtroTamano) {
  auto mc = Construir({});
  mc->correccion = TMatR(71, 10);
  const fs::path pmc = carpetas_.dir / "c8.pmc";
  mc->GuardarMC(pmc.generic_string());
  int lineas = 0;
  for (const char c : ayuda::LeerArchivo(pmc)) lineas += c == '\n';
  EXPECT_THAT(
      [&] { TParque_ModeloCombinado::CrearDesdeArchivoMC(pmc.generic_string()); },
      ThrowsMessage<Excepcion>(StrEq(pmc.generic_string() + ", línea " + std::to_string(lineas) +
                                     ": Matriz de corrección de 71 x 10 y el modelo empírico "
                                     "tiene 72 sectores y 10 bins")));
}

}  // namespace
