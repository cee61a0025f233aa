#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ayuda_calibrador.h"
#include "carpetas.h"
#include "formatos.h"
#include "numtext.h"
#include "ucalibrador.h"
#include "ucurvasaeros.h"
#include "ugeneradorseries.h"

namespace fs = std::filesystem;

namespace {

using testing::HasSubstr;
using testing::StrEq;
using testing::ThrowsMessage;

int ContarLineas(const std::string& texto, const std::string& con) {
  int n = 0;
  for (std::size_t p = texto.find(con); p != std::string::npos; p = texto.find(con, p + 1)) ++n;
  return n;
}

// A calibrator of a 4-turbine, 8 MW test farm over a hand-made empirical block whose S curves
// sit well above the theoretical farm (centred on 7 m/s).
class Calibrador : public testing::Test {
 protected:
  void SetUp() override {
    ayuda::TEmpiricoPrueba e;
    e.vm = 7;
    texto_ = ayuda::TextoCalibrador(*ayuda::ParqueGrueso(4, 8), e);
    std::istringstream s(texto_);
    c_ = TCalibradorParque::CrearDesdeTexto(s, "prueba.clp");
    c_->FijarSalida(salida_);
  }
  [[nodiscard]] std::vector<fs::path> Instantaneas() const {
    std::vector<fs::path> r;
    if (!fs::exists(carpetas_.Basura())) return r;
    for (const auto& f : fs::directory_iterator(carpetas_.Basura())) r.push_back(f.path());
    return r;
  }

  ayuda::CarpetasPrueba carpetas_{"calibrador"};
  std::string texto_;
  std::unique_ptr<TCalibradorParque> c_;
  std::ostringstream salida_;
};

TEST_F(Calibrador, GuardarReproduceElArchivo) {
  EXPECT_EQ(c_->x_mejor, (TDAofNReal{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.035}));
  EXPECT_EQ(c_->x_prueba.size(), 12u);
  EXPECT_EQ(c_->e_mejor, 0);
  EXPECT_EQ(c_->amplitud, 0);
  const fs::path clp = carpetas_.dir / "c8_calibrador.clp";
  c_->GuardarEnArchivo(clp.generic_string());
  EXPECT_EQ(ayuda::LeerArchivo(clp), texto_);
  auto leido = TCalibradorParque::CrearDesdeArchivo(clp.generic_string());
  EXPECT_EQ(leido->x_mejor, c_->x_mejor);
  EXPECT_EQ(leido->modelo_empirico->vm.elemento(72), 7);
  EXPECT_EQ(NivelFormatosNeutros(), 0);
  // An empirical block cut short names the line past the end.
  ayuda::EscribirArchivo(clp, texto_.substr(0, texto_.size() - 26));
  const int lineas = ContarLineas(texto_, "\n");
  EXPECT_THAT(
      [&] { TCalibradorParque::CrearDesdeArchivo(clp.generic_string()); },
      ThrowsMessage<ExcepcionES>(StrEq(clp.generic_string() + ", línea " + std::to_string(lineas) +
                                       ": Lectura más allá del fin de archivo")));
  EXPECT_EQ(NivelFormatosNeutros(), 0);
}

TEST_F(Calibrador, ParametrosSiguenAlModelo) {
  std::weak_ptr<TParque_ModeloTeorico> debil = c_->modelo_teorico;
  TParque_ModeloTeorico& m = *c_->modelo_teorico;
  // The window replaces the coefficient vector when it reads its edits: the calibrator still
  // writes into the model's own values.
  m.meteo_etha = TVectR(11);
  TDAofNReal x(12);
  for (std::size_t k = 0; k < x.size(); ++k) x[k] = 0.5 + static_cast<double>(k);
  c_->AplicarParametros(x);
  for (int k = 1; k <= 11; ++k)
    EXPECT_EQ(m.meteo_etha.elemento(k), x[static_cast<std::size_t>(k - 1)]);
  EXPECT_EQ(m.factor_perdidas, 11.5);
  TDAofNReal y(12);
  c_->LeerParametros(y);
  EXPECT_EQ(y, x);
  // Fewer coefficients: refused until the calibrator rebuilds its list.
  m.meteo_etha = TVectR(5);
  EXPECT_THAT([&] { c_->AplicarParametros(x); },
              ThrowsMessage<Excepcion>(
                  StrEq("El coeficiente 6 de meteo_etha ya no existe en el modelo Prueba")));
  EXPECT_EQ(m.meteo_etha.elemento(1), 0);
  c_->ReconstruirParametros();
  EXPECT_EQ(c_->x_mejor, (TDAofNReal{0, 0, 0, 0, 0, 11.5}));
  EXPECT_EQ(c_->x_prueba.size(), 6u);
  // Released, it lets go of the empirical model; the theoretical one lives while anyone holds it.
  c_->Liberar();
  EXPECT_EQ(c_->modelo_empirico, nullptr);
  EXPECT_TRUE(c_->parametros.empty());
  EXPECT_FALSE(debil.expired());
}

TEST_F(Calibrador, PerturbarSoloLosIndices) {
  c_->amplitud = 1;
  c_->x_mejor = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0.25, 0, 0.035};
  double u = 0.9;
  c_->FijarFuenteAleatoria([&] { return u; });
  c_->Perturbar({0, 10});
  for (const std::size_t k : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 11u}) {
    EXPECT_EQ(c_->x_prueba[k], c_->x_mejor[k]) << k;
  }
  // Moved by (0.9 - 0.5) * 2 * 0.1, then held in single precision.
  EXPECT_EQ(c_->x_prueba[0], static_cast<double>(static_cast<float>(1 + 0.4 * 2 * 0.1)));
  EXPECT_EQ(c_->x_prueba[10], static_cast<double>(static_cast<float>(0 + 0.4 * 2 * 0.1)));
  EXPECT_NE(c_->x_prueba[10], 0.4 * 2 * 0.1);
  // Downwards a parameter stops at 0; with no indices every one moves.
  u = 0;
  c_->Perturbar({});
  EXPECT_EQ(c_->x_prueba[0], static_cast<double>(0.9f));
  for (std::size_t k = 1; k < 12; ++k) {
    EXPECT_EQ(c_->x_prueba[k], k == 9 ? static_cast<double>(static_cast<float>(0.25 - 0.1)) : 0)
        << k;
  }
  EXPECT_THAT(
      [&] { c_->Perturbar({12}); },
      ThrowsMessage<Excepcion>(StrEq("Perturbar: el índice 12 no es un parámetro (hay 12)")));
}

TEST_F(Calibrador, FuncionObjetivoRepetible) {
  TDAofNReal x = c_->x_mejor;
  x[0] = 1.1;
  const double a = c_->FuncionObjetivo(31, x);
  const double b = c_->FuncionObjetivo(31, x);
  EXPECT_EQ(a, b);
  EXPECT_GT(a, 0);
  EXPECT_EQ(c_->modelo_teorico->meteo_etha.elemento(1), 1.1);
  EXPECT_NE(c_->FuncionObjetivo(32, x), a);
}

TEST_F(Calibrador, SinMejoraCientoUnaEvaluaciones) {
  // Values a float holds exactly: a trial at u = 0.5 is the best point itself, never better.
  c_->modelo_teorico->factor_perdidas = 0.03125;
  c_->ReconstruirParametros();
  int sorteos = 0;
  c_->FijarFuenteAleatoria([&] {
    ++sorteos;
    return 0.5;
  });
  const double inicio = c_->FuncionObjetivo(31, c_->x_mejor);
  EXPECT_EQ(c_->Calibrar({}), inicio);
  // 100 trials after the first evaluation, ten at each of the ten amplitudes.
  const std::string s = salida_.str();
  EXPECT_EQ(ContarLineas(s, "\n"), 100);
  EXPECT_EQ(sorteos, 100 * 12);
  EXPECT_EQ(s.substr(0, s.find('\n')),
            "     0, E:1.0000, fo: " + RealAFijo(inicio, 6, 4) + ", cntfs:      0");
  EXPECT_THAT(s, HasSubstr("\n     9, E:0.0404, fo: "));
  EXPECT_THAT(s, HasSubstr(", cntfs:      9\n"));
  EXPECT_TRUE(Instantaneas().empty());
  EXPECT_DOUBLE_EQ(c_->amplitud, std::pow(0.7, 10));
  EXPECT_EQ(c_->modelo_teorico->factor_perdidas, 0.03125);
}

TEST_F(Calibrador, MejorasGuardanInstantaneas) {
  // Heavy losses against a generous empirical farm: lowering the station correction and the loss
  // factor is an improvement until they reach 0.
  c_->modelo_teorico->factor_perdidas = 0.3;
  // A name that would lead out of the diagnostics folder stays inside it.
  c_->modelo_teorico->nombre = "../Prueba";
  c_->ReconstruirParametros();
  c_->FijarFuenteAleatoria([] { return 0.0; });
  const double inicio = c_->FuncionObjetivo(31, c_->x_mejor);
  const double fin = c_->Calibrar({0, 10});
  EXPECT_LT(fin, inicio);
  EXPECT_EQ(fin, c_->e_mejor);
  EXPECT_EQ(c_->FuncionObjetivo(31, c_->x_mejor), fin);
  const std::vector<fs::path> inst = Instantaneas();
  ASSERT_FALSE(inst.empty());
  EXPECT_TRUE(fs::exists(carpetas_.Basura() / "calibrado_.._Prueba000A1.clp"));
  const fs::path ultima =
      carpetas_.Basura() / ("calibrado_.._Prueba000A" + std::to_string(inst.size()) + ".clp");
  ASSERT_TRUE(fs::exists(ultima));
  // The last snapshot holds the parameters the model ends with.
  auto guardado = TCalibradorParque::CrearDesdeArchivo(ultima.generic_string());
  EXPECT_EQ(guardado->x_mejor, c_->x_mejor);
  TDAofNReal actuales(12);
  c_->LeerParametros(actuales);
  EXPECT_EQ(actuales, c_->x_mejor);
  // Only the first coefficient could improve: the others named are 0 already.
  EXPECT_LT(c_->x_mejor[0], 1);
  for (std::size_t k = 1; k < 11; ++k) EXPECT_EQ(c_->x_mejor[k], 0) << k;
  EXPECT_EQ(c_->x_mejor[11], 0.3);
}

TEST_F(Calibrador, TablaSimpleDeEthaMeteo) {
  TParque_ModeloTeorico& m = *c_->modelo_teorico;
  m.nid_central = 8;
  m.alfa_terreno = 0.7;
  m.gamma_atmosfera = 0.3;
  const TMatR R = c_->CalibrarEthaMeteoSimple();
  EXPECT_EQ(m.alfa_terreno, 0.7);
  EXPECT_EQ(m.gamma_atmosfera, 0.3);
  ASSERT_EQ(R.n_filas(), 72);
  ASSERT_EQ(R.n_columnas(), 10);
  const std::string texto =
      ayuda::LeerArchivo(carpetas_.dir / "raiz" / "c8" / "EthaMeteoCalibracionSimple.txt");
  const std::string cabecera = texto.substr(0, texto.find('\n'));
  EXPECT_EQ(cabecera,
            "ang\tethaM_alfa_0.05_gamma_0.04\tethaM_alfa_0.05_gamma_0.4\tethaM_alfa_0.05_gamma_4"
            "\tethaM_alfa_0.5_gamma_0.04\tethaM_alfa_0.5_gamma_0.4\tethaM_alfa_0.5_gamma_4"
            "\tethaM_alfa_5_gamma_0.04\tethaM_alfa_5_gamma_0.4\tethaM_alfa_5_gamma_4");
  EXPECT_EQ(ContarLineas(texto, "\n"), 73);
  EXPECT_EQ(ContarLineas(texto, "\t\n"), 72);
  EXPECT_EQ(ContarLineas(texto, "\r"), 0);
  EXPECT_EQ(R.elemento(24, 1), 115);
  // The empirical half-power speed is 7 m/s; the theoretical one is larger.
  for (int j = 2; j <= 10; ++j) {
    EXPECT_GT(R.elemento(1, j), 0.3);
    EXPECT_LT(R.elemento(1, j), 1);
  }
  const std::string linea2 = texto.substr(
      cabecera.size() + 1, texto.find('\n', cabecera.size() + 1) - cabecera.size() - 1);
  EXPECT_EQ(linea2.substr(0, linea2.find('\t')), RealANotacionArchivo(0));
  // A decimal comma in force shows in the labels only.
  TFormatos coma;
  coma.separador_decimal = ',';
  const TFormatosDePrueba formatos(coma);
  c_->CalibrarEthaMeteoSimple();
  EXPECT_THAT(ayuda::LeerArchivo(carpetas_.dir / "raiz" / "c8" / "EthaMeteoCalibracionSimple.txt"),
              testing::StartsWith("ang\tethaM_alfa_0,05_gamma_0,04\t"));
}

TEST_F(Calibrador, ComparacionDeCurvas) {
  const fs::path archivo = carpetas_.dir / "compartivacurvas.xlt";
  c_->EscribirComparacionCurvas(archivo.generic_string());
  const std::string texto = ayuda::LeerArchivo(archivo);
  EXPECT_THAT(texto, testing::StartsWith("\t       0.000\t       0.500\t"));
  EXPECT_THAT(
      texto,
      HasSubstr(std::string("\t      20.000\r\n").append(RealANotacionArchivo(0)).append("\t")));
  EXPECT_EQ(ContarLineas(texto, "\r\n"), 74);
  EXPECT_EQ(ContarLineas(texto, "\n"), 74);
  // The ideal farm: four 2 MW turbines, nothing below cut-in, full power at 20 m/s.
  const std::size_t p = texto.find("\r\nA0\t");
  ASSERT_NE(p, std::string::npos);
  const std::string ultima = texto.substr(p + 2);
  EXPECT_THAT(ultima, testing::StartsWith(
                          std::string("A0\t").append(RealANotacionArchivo(0)).append("\t")));
  EXPECT_THAT(ultima,
              testing::EndsWith(std::string("\t").append(RealANotacionArchivo(8)).append("\r\n")));
}

// From a generated year: a model whose station correction reads 30 % high and whose losses are
// doubled is calibrated back toward the farm that generated the series.
TEST(CalibradorDeSeries, CalibrarAcercaAlModeloGenerador) {
  ayuda::CarpetasPrueba carpetas("calibrar_anio");
  auto generador = ayuda::ParqueGrueso(10, 20);
  const TTablaPotencia tabla(*generador, 12, 1.0);
  TOpcionesGenerador o;
  o.semilla = 11;
  const fs::path ruta = carpetas.dir / "c8_series10min.sas";
  GenerarSeries(tabla, *generador, o, ruta.generic_string());
  std::shared_ptr<TParque_ModeloTeorico> mt = ayuda::ParqueGrueso(10, 20);
  mt->meteo_etha.poner(1, 1.3);
  mt->factor_perdidas = 0.07;
  std::ostringstream salida;
  auto c = TCalibradorParque::CrearDesdeSeries(mt, 5, 95, ruta.generic_string(), salida, false);
  EXPECT_EQ(c->x_mejor[0], 1.3);
  c->FijarSalida(salida);
  c->FijarSemillaAleatoria(5);
  const double inicio = c->FuncionObjetivo(31, c->x_mejor);
  const double fin = c->Calibrar({0, 11});
  EXPECT_LT(fin, 0.1 * inicio);
  EXPECT_LT(std::fabs(mt->meteo_etha.elemento(1) - 1), 0.1);
  EXPECT_LT(mt->factor_perdidas, 0.07);
  EXPECT_EQ(mt->meteo_etha.elemento(1), c->x_mejor[0]);
  EXPECT_EQ(mt->factor_perdidas, c->x_mejor[11]);
  EXPECT_TRUE(fs::exists(carpetas.Basura() / "calibrado_Prueba000B1.clp"));
}

}  // namespace
