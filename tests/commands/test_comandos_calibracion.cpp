#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../models/pasarela_prueba.h"
#include "carpetas.h"
#include "errores.h"
#include "numtext.h"
#include "ucalibrador.h"
#include "ucomandos_calibracion.h"
#include "ucomandos_restricciones.h"
#include "ugeneradorseries.h"
#include "ulineacomandos.h"
#include "uparques_modelocombinado.h"
#include "useriestemporales.h"
#include "utokens.h"

namespace {

namespace fs = std::filesystem;
using testing::StrEq;
using testing::ThrowsMessage;

std::string Leer(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// The demo farm's database behind a gateway, a working and a diagnostics folder, and the farm's
// model downloaded with forty days of series generated from it (with set-point periods).
class ComandosCalibracion : public prueba_modelos::BaseDePrueba {
 protected:
  void SetUp() override {
    BaseDePrueba::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Sembrar(Leer(VELTRA_SEMILLA_DEMO));
    raiz = carpeta_.ruta() + "/raiz";
    basura = carpeta_.ruta() + "/basura";
    FijarCarpetaRaiz(raiz);
    FijarCarpetaBasura(basura);
    IniciarCarpetaRaiz();
    fs::create_directories(basura);
    auto c =
        std::make_unique<TDBrosxCon>("", "localhost", servidor_->puerto(), "/scripts/dovi.php");
    c->FijarEsperas(std::chrono::seconds(5), std::chrono::seconds(30));
    estado = std::make_unique<TEstadoAplicacion>(std::move(c));
    estado->textos.eNidCentral = "8";
    (void)btBajarParqueClick(*estado, progreso);
    // A coarse grid (20 m across the wind, 10 m along it) keeps the many farm computations of the
    // calibration quick; the model file is what the calibrator is built from.
    estado->ModeloTeorico()->grilla_rotada_dx = 20;
    estado->ModeloTeorico()->grilla_rotada_dy = 10;
    estado->ModeloTeorico()->GuardarEnArchivo(ArchivoModeloTeorico(8));
    const TTablaPotencia tabla(*estado->ModeloTeorico(), 12, 1.0);
    TOpcionesGenerador o;
    o.n_muestras = 144 * 40;
    o.consignas = true;
    // The first seed whose series holds a set-point period.
    const std::string sas = ArchivoCentral(8, "_series10min.sas");
    const NReal PAut = estado->ModeloTeorico()->potencia_autorizada_mw;
    for (;; ++o.semilla) {
      GenerarSeries(tabla, *estado->ModeloTeorico(), o, sas);
      const TSeriesDeDatos s(sas);
      int restringidas = 0;
      for (int k = 1; k <= s.Series[6].n(); ++k) {
        if (s.Series[6].elemento(k) < PAut - 0.5) ++restringidas;
      }
      if (restringidas > 0 || o.semilla > 50) break;
    }
  }

  std::string raiz, basura;
  std::ostringstream progreso;
  std::unique_ptr<TEstadoAplicacion> estado;
};

TEST_P(ComandosCalibracion, ElCaminoDelCalibradorAlModeloCombinado) {
  TEstadoAplicacion& e = *estado;
  // Build the calibrator from the model file and the series.
  e.textos.PorcentajeAjusteCurvaSinf = "10";
  e.textos.PorcentajeAjusteCurvaSsup = "90";
  TResultadoComando r = btLoadFromArchi_ModeloMTySeriesClick(e, progreso);
  EXPECT_TRUE(fs::exists(raiz + "/c8/c8_calibrador.clp"));
  ASSERT_NE(e.Calibrador(), nullptr);
  EXPECT_EQ(e.ModeloTeorico(), e.Calibrador()->modelo_teorico);
  EXPECT_EQ(e.ModeloEmpirico().get(), e.Calibrador()->modelo_empirico.get());
  EXPECT_EQ(e.textos.Caption, "Calibrador cargado, Parque: Parque Demo");
  EXPECT_EQ(e.porcentaje_ajuste_inf, 10);
  EXPECT_EQ(e.porcentaje_ajuste_sup, 90);
  EXPECT_EQ(e.textos.eLimiteDePotencia, "10");

  // The simulation gives the theoretical and the empirical figures.
  e.textos.eDir = "270";
  e.textos.eVAnemoEntrada = "9.99";
  r = btCalcularClick(e);
  EXPECT_GT(StrToReal(e.textos.ePE_MW_ModeloTeorico), 0);
  ASSERT_NE(r.Texto("ePE_MW_Representantes"), nullptr);
  EXPECT_GT(StrToReal(e.textos.eME_Peso), 0);
  EXPECT_NEAR(StrToReal(e.textos.ePE_MW_Representantes), StrToReal(e.textos.ePE_MW_ModeloTeorico),
              1.5);

  // A station correction of another length: the calibrator tunes the new coefficients.
  e.textos.eEthaMeteo = "[ 2| 1; 1]";
  (void)btCalcularClick(e);
  EXPECT_EQ(e.Calibrador()->parametros.size(), 3U);
  EXPECT_EQ(e.Calibrador()->x_mejor.size(), 3U);
  // Calibrating then moves those coefficients and leaves the best ones in the model.
  e.Calibrador()->FijarSemillaAleatoria(1);
  e.Calibrador()->FijarSalida(progreso);
  r = btCalibrarParqueClick(e);
  ASSERT_NE(r.Texto("eErr2Calibrar"), nullptr);
  EXPECT_EQ(e.textos.eErr2Calibrar, RealAGeneral(e.Calibrador()->e_mejor));
  const TParque_ModeloTeorico& mt = *e.ModeloTeorico();
  EXPECT_EQ(mt.meteo_etha.elemento(1), e.Calibrador()->x_mejor[0]);
  EXPECT_EQ(mt.meteo_etha.elemento(2), e.Calibrador()->x_mejor[1]);
  EXPECT_EQ(mt.factor_perdidas, e.Calibrador()->x_mejor[2]);
  EXPECT_TRUE(fs::exists(basura + "/calibrador_Parque Demo_FIN_.clp"));

  // Saving: nothing without a file; with one, the calibrator with the edits in force.
  EXPECT_TRUE(btGuardarCalibradorClick(e, std::nullopt).textos.empty());
  e.textos.eFactorPerdidasParque = "0.97";
  (void)btGuardarCalibradorClick(e, raiz + "/guardado.clp");
  EXPECT_EQ(
      TCalibradorParque::CrearDesdeArchivo(raiz + "/guardado.clp")->modelo_teorico->factor_perdidas,
      0.97);

  // The combined model from the central's calibrator file.
  (void)btCalcularMCClick(e, progreso);
  EXPECT_TRUE(fs::exists(raiz + "/c8/c8.pmc"));
  ASSERT_NE(e.ModeloCombinado(), nullptr);

  // The three curves for 270°.
  const TCurvasPotencia curvas = Button1Click(e);
  EXPECT_EQ(curvas.archivo_jpg, basura + "/curvas_MW_PE_MT_27000.jpg");
  EXPECT_TRUE(fs::exists(curvas.archivo_jpg));
  ASSERT_NE(curvas.grafico, nullptr);
  EXPECT_EQ(curvas.grafico->titulo, "Potencias ME y MT para el ángulo: 270.0°");

  // Loading the combined model makes it the calibrator too, and writes the comparison.
  EXPECT_TRUE(btCargarMCClick(e, std::nullopt).textos.empty());
  (void)btCargarMCClick(e, raiz + "/c8/c8.pmc");
  EXPECT_EQ(static_cast<TCalibradorParque*>(e.ModeloCombinado().get()), e.Calibrador().get());
  EXPECT_TRUE(fs::exists(basura + "/compartivacurvas.xlt"));
  // Releasing the calibrator slot leaves the combined model whole.
  e.LiberarCalibrador();
  ASSERT_NE(e.ModeloCombinado(), nullptr);
  EXPECT_EQ(e.ModeloCombinado()->modelo_teorico->nid_central, 8);
}

TEST_P(ComandosCalibracion, LasRestriccionesConElModeloCombinado) {
  TEstadoAplicacion& e = *estado;
  EXPECT_THAT([&] { (void)btProcesarRestriccionesClick(e, std::nullopt, progreso); },
              ThrowsMessage<Excepcion>(StrEq("No hay un calibrador cargado.")));
  (void)btLoadFromArchi_ModeloMTySeriesClick(e, progreso);
  EXPECT_THAT([&] { (void)btProcesarSeriesConMCClick(e, std::nullopt, progreso); },
              ThrowsMessage<Excepcion>(StrEq("No hay un modelo combinado cargado.")));
  (void)btCalcularMCClick(e, progreso);
  e.textos.FechaDesde = "01/01/2015";
  e.textos.FechaHasta = "2015-02-09";
  // Cancelling the dialog does nothing.
  EXPECT_TRUE(btProcesarRestriccionesClick(e, std::nullopt, progreso).empty());
  const std::string series = ArchivoCentral(8, "_series10min.sas");
  const auto periodos = btProcesarRestriccionesClick(e, series, progreso);
  EXPECT_FALSE(periodos.empty());
  EXPECT_TRUE(fs::exists(raiz + "/c8/c8_Restricciones_horarias.xlt"));
  for (const auto& p : periodos) EXPECT_LT(p.fin, CodificarFecha(2015, 2, 11));

  const NReal ens = btProcesarSeriesConMCClick(e, std::nullopt, progreso);
  EXPECT_GE(ens, 0);
  EXPECT_TRUE(fs::exists(raiz + "/c8/ResultadosMC_2015010120150209.xlt")) << progreso.str();

  // A calibrator of another farm beside the combined model: refused.
  e.ModeloDelCalibrador()->nid_central = 9;
  EXPECT_THAT([&] { (void)btProcesarSeriesConMCClick(e, std::nullopt, progreso); },
              ThrowsMessage<Excepcion>(StrEq(
                  "El modelo combinado (central 8) y el calibrador (central 9) son de centrales "
                  "distintas.")));
}

TEST_P(ComandosCalibracion, SinLosObjetosActualesLasOrdenesSeNiegan) {
  TEstadoAplicacion& e = *estado;
  // A model without a calibrator: nothing to calibrate, no curves.
  EXPECT_THAT([&] { (void)btCalibrarParqueClick(e); },
              ThrowsMessage<Excepcion>(StrEq("No hay un calibrador cargado.")));
  EXPECT_THAT([&] { (void)Button1Click(e); },
              ThrowsMessage<Excepcion>(StrEq("No hay un calibrador cargado.")));
  // No model: the fixed calibrator file is looked for first.
  e.LiberarModeloTeorico();
  EXPECT_THROW((void)btCalibrarParqueClick(e), ExcepcionES);
  // The built-in list of the simple calibration: central 8's calibrator file is not there yet.
  EXPECT_THROW((void)CalibrarSimpleEthaMeteoClick(e, progreso), Excepcion);
  // A mistyped central changes nothing.
  e.textos.eNidCentral = "8x";
  EXPECT_THROW((void)btLoadFromArchi_ModeloMTySeriesClick(e, progreso), ExcepcionConversion);
  EXPECT_FALSE(e.rango_ajuste_leido);
}

TEST_P(ComandosCalibracion, SupercentralesCrearYBorrar) {
  TEstadoAplicacion& e = *estado;
  // An identifier without a model row.
  e.textos.NIDsupercentralBorrar = "77";
  int preguntas = 0;
  const TConfirmar no = [&](const std::string&, const std::string&) {
    ++preguntas;
    return false;
  };
  TResultadoComando r = BorrarSupercentralClick(e, no);
  EXPECT_THAT(r.mensajes, testing::ElementsAre("La supercentral: 77 no existe"));
  EXPECT_EQ(preguntas, 0);

  // The supercentral of the demo farm alone: its series must be in its folder.
  e.textos.NIDcentralesAunir = "8";
  e.textos.NIDcentralAnemo = "8";
  e.textos.PorcentajeAjusteCurvaSinf = "10";
  (void)CrearSupercentralClick(e, progreso);
  ASSERT_NE(e.Calibrador(), nullptr);
  EXPECT_EQ(e.ModeloTeorico()->nid_central, 8);
  EXPECT_TRUE(fs::exists(raiz + "/c8/c8_calibrador.clp"));
  const auto filas = Contar("modelo_teorico");

  // "No" changes nothing.
  e.textos.NIDsupercentralBorrar = "8";
  std::string titulo, texto;
  r = BorrarSupercentralClick(e, [&](const std::string& t, const std::string& x) {
    titulo = t;
    texto = x;
    return false;
  });
  EXPECT_TRUE(r.mensajes.empty());
  EXPECT_EQ(titulo, "ATENCIÓN!");
  EXPECT_EQ(texto, "¿Está seguro que desea borrar la supercentral: 8 ?");
  EXPECT_EQ(Contar("modelo_teorico"), filas);
  EXPECT_NE(e.Calibrador(), nullptr);

  // "Yes" deletes the model rows and leaves no current model or calibrator.
  r = BorrarSupercentralClick(e, [](const std::string&, const std::string&) { return true; });
  EXPECT_THAT(r.mensajes, testing::ElementsAre("La supercentral 8 ha sido borrada"));
  EXPECT_EQ(Contar("modelo_teorico"), 0);
  EXPECT_EQ(Contar("modelo_teorico_etha_molinos"), 0);
  EXPECT_EQ(Contar("centrales"), 1);
  EXPECT_EQ(e.ModeloTeorico(), nullptr);
  EXPECT_EQ(e.Calibrador(), nullptr);
}

// The road of the command line: each command finds what the one before left in the folder.
TEST_P(ComandosCalibracion, LineaDeComandosDelCalibradorALasRestricciones) {
  const std::string pasarela = "localhost:" + std::to_string(servidor_->puerto());
  auto correr = [&](std::vector<std::string> args, std::string& salida, std::string& errores) {
    args.insert(args.end(), {"--raiz", raiz, "--basura", basura, "--pasarela", pasarela});
    std::ostringstream s, e;
    const int rc = ModeladoRO(args, s, e);
    salida = s.str();
    errores = e.str();
    return rc;
  };
  std::string s, e;
  // A command whose input is not there yet names the one that writes it, and writes nothing.
  EXPECT_EQ(correr({"combinado", "--central", "8"}, s, e), 1);
  EXPECT_EQ(e, "modelado_ro: No existe " + raiz +
                   "/c8/c8_calibrador.clp (modelado_ro calibrador "
                   "--central 8)\n");
  EXPECT_FALSE(fs::exists(raiz + "/c8/c8.pmc"));

  ASSERT_EQ(correr({"calibrador", "--central", "8", "--inf", "5", "--sup", "95"}, s, e), 0) << e;
  EXPECT_NE(s.find("Calibrador: " + raiz + "/c8/c8_calibrador.clp\n"), std::string::npos);
  ASSERT_EQ(correr({"combinado", "--central", "8"}, s, e), 0) << e;
  EXPECT_TRUE(fs::exists(raiz + "/c8/c8.pmc"));
  ASSERT_EQ(correr({"simular", "--central", "8"}, s, e), 0) << e;
  EXPECT_NE(s.find("Potencia Modelo Empírico [MW]: "), std::string::npos) << s;
  ASSERT_EQ(correr({"curvas", "--central", "8", "--dir", "22.5"}, s, e), 0) << e;
  EXPECT_TRUE(fs::exists(basura + "/curvas_MW_PE_MT_2250.jpg"));
  ASSERT_EQ(
      correr({"restricciones", "--central", "8", "--desde", "2015-01-01", "--hasta", "2015-02-09"},
             s, e),
      0)
      << e;
  EXPECT_NE(s.find("Energía no suministrada [MWh]: "), std::string::npos);
  // A mistyped date: one line, nothing run.
  EXPECT_EQ(
      correr({"procesar-mc", "--central", "8", "--desde", "2015-13-01", "--hasta", "2015-02-09"}, s,
             e),
      1);
  EXPECT_EQ(e, "modelado_ro: '2015-13-01' no es una fecha válida\n");
  // Deleting without --si deletes nothing.
  EXPECT_EQ(correr({"borrar-supercentral", "--supercentral", "8"}, s, e), 1);
  EXPECT_EQ(Contar("modelo_teorico"), 1);
  std::ostringstream ayuda, nada;
  EXPECT_EQ(ModeladoRO({"restricciones", "--help"}, ayuda, nada), 0);
  EXPECT_EQ(ayuda.str().rfind("Uso: modelado_ro restricciones", 0), 0U);
}

TEST(LeerFecha, FormasAdmitidas) {
  const struct {
    const char* texto;
    TFechaHora fecha;
  } casos[] = {{"28/10/2015", CodificarFecha(2015, 10, 28)},
               {"2015-10-28", CodificarFecha(2015, 10, 28)},
               {"1.2.2016", CodificarFecha(2016, 2, 1)}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.texto);
    EXPECT_EQ(LeerFecha(c.texto), c.fecha);
  }
  EXPECT_THAT([] { (void)LeerFecha("31/02/2015"); },
              ThrowsMessage<ExcepcionConversion>(StrEq("'31/02/2015' no es una fecha válida")));
}

INSTANTIATE_TEST_SUITE_P(SQLite, ComandosCalibracion, testing::Values(std::string("sqlite")));

}  // namespace
