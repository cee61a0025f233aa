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
#include "ucomandos_modeloteorico.h"
#include "ulineacomandos.h"
#include "uparquedemo.h"
#include "utokens.h"

namespace {

namespace fs = std::filesystem;
using testing::StrEq;
using testing::ThrowsMessage;

std::string LeerArchivo(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// A gateway over the demo farm's database, and a working folder of the test's own.
class ComandosDB : public prueba_modelos::BaseDePrueba {
 protected:
  void SetUp() override {
    BaseDePrueba::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const std::string semilla = LeerArchivo(VELTRA_SEMILLA_DEMO);
    ASSERT_FALSE(semilla.empty());
    Sembrar(semilla);
    raiz = carpeta_.ruta() + "/raiz";
    FijarCarpetaRaiz(raiz);
    IniciarCarpetaRaiz();
  }

  std::unique_ptr<TDBrosxCon> Conexion(int puerto) {
    auto c = std::make_unique<TDBrosxCon>("", "localhost", puerto, "/scripts/dovi.php");
    c->FijarEsperas(std::chrono::seconds(5), std::chrono::seconds(30));
    return c;
  }
  std::unique_ptr<TDBrosxCon> Conexion() { return Conexion(servidor_->puerto()); }

  std::string raiz;
};

// A stand-in calibrator over `modelo`: the state only stores it.
void CalibradorSobre(TEstadoAplicacion& estado, std::shared_ptr<TParque_ModeloTeorico> modelo,
                     const std::shared_ptr<int>& dueno) {
  estado.FijarCalibrador(
      std::shared_ptr<TCalibradorParque>(dueno, reinterpret_cast<TCalibradorParque*>(dueno.get())),
      std::move(modelo), nullptr);
}

TEST_P(ComandosDB, BajarParqueCreaElModeloYSuArchivo) {
  TEstadoAplicacion estado(Conexion());
  // A model in use under a calibrator: both go.
  estado.FijarModeloTeorico(CrearParqueDemo());
  auto dueno = std::make_shared<int>(0);
  const std::weak_ptr<int> calibrador = dueno;
  CalibradorSobre(estado, estado.ModeloTeorico(), dueno);
  dueno.reset();

  estado.textos.eNidCentral = "8";
  std::ostringstream salida;
  const TResultadoComando r = btBajarParqueClick(estado, salida);
  const std::string archivo = raiz + "/c8/c8_parque_mt.pmt";
  EXPECT_EQ(salida.str(),
            "... espere por favor ... conectando a la DB\n"
            "... el Parque fue guardado en disco: " +
                archivo + "\n");
  EXPECT_TRUE(r.textos.empty());
  EXPECT_FALSE(r.dibujar_mapas);
  EXPECT_EQ(estado.central, 8);
  EXPECT_TRUE(calibrador.expired());
  EXPECT_EQ(estado.Calibrador(), nullptr);

  const auto& m = estado.ModeloTeorico();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->nombre, "Parque Demo");
  ASSERT_EQ(m->n_molinos(), 5);
  EXPECT_EQ(m->potencia_autorizada_mw, 10);
  for (const auto& molino : m->molinos) EXPECT_EQ(molino->etha, 1);
  // The model rows were created, and the file holds the same model.
  EXPECT_EQ(Contar("modelo_teorico"), 1);
  EXPECT_EQ(Contar("modelo_teorico_etha_molinos"), 5);
  const auto leido = TParque_ModeloTeorico::CrearDesdeArchivo(archivo);
  EXPECT_EQ(leido->n_molinos(), 5);
  EXPECT_EQ(leido->nombre, "Parque Demo");
  // The parameter edits are not filled.
  EXPECT_EQ(estado.textos.eLimiteDePotencia, "1");

  // Shown and simulated like any other model.
  TResultadoComando p;
  MostrarParametrosModelo(estado, p);
  (void)btCalcularClick(estado);
  EXPECT_GT(StrToReal(estado.textos.ePE_MW_ModeloTeorico), 0);
}

TEST_P(ComandosDB, BajarParqueConErroresNoTocaLaCarpeta) {
  TEstadoAplicacion estado(Conexion());
  estado.FijarModeloTeorico(CrearParqueDemo());
  std::ostringstream salida;
  // A mistyped number keeps the current model.
  estado.textos.eNidCentral = "8x";
  EXPECT_THAT([&] { (void)btBajarParqueClick(estado, salida); },
              ThrowsMessage<ExcepcionConversion>(StrEq("'8x' is not a valid integer value")));
  EXPECT_NE(estado.ModeloTeorico(), nullptr);
  // An unknown central.
  estado.textos.eNidCentral = "77";
  EXPECT_THAT([&] { (void)btBajarParqueClick(estado, salida); },
              ThrowsMessage<Excepcion>(StrEq("No existe la central: 77")));
  EXPECT_EQ(estado.ModeloTeorico(), nullptr);
  // A gateway that is not there.
  TEstadoAplicacion sin(Conexion(prueba::PuertoLibre()));
  sin.textos.eNidCentral = "8";
  EXPECT_THROW((void)btBajarParqueClick(sin, salida), Excepcion);
  EXPECT_EQ(sin.ModeloTeorico(), nullptr);
  EXPECT_TRUE(fs::is_directory(raiz));
  EXPECT_TRUE(fs::is_empty(raiz));
  EXPECT_EQ(Contar("modelo_teorico"), 0);
}

TEST_P(ComandosDB, UpdateMTinDBEscribeElModeloDelCalibrador) {
  TEstadoAplicacion estado(Conexion());
  EXPECT_THAT([&] { (void)btUpdateMTinDBClick(estado); },
              ThrowsMessage<Excepcion>(StrEq("No hay un calibrador cargado.")));
  estado.textos.eNidCentral = "8";
  std::ostringstream salida;
  (void)btBajarParqueClick(estado, salida);
  auto dueno = std::make_shared<int>(0);
  CalibradorSobre(estado, estado.ModeloTeorico(), dueno);

  // "Cambiar ro" on turbine 2, then the update writes it.
  estado.SeleccionarMolino(estado.ModeloTeorico()->molinos[1].get());
  estado.textos.eEthaMolino = "0.75";
  (void)btCambiar_roClick(estado);
  (void)btUpdateMTinDBClick(estado);
  auto etha = [&](int nid) {
    const auto v = motor_->Columna(
        "SELECT etha FROM modelo_teorico_etha_molinos WHERE nid_molino = " + std::to_string(nid));
    return v.size() == 1 ? TextoARealArchivo(v[0]) : -1.0;
  };
  EXPECT_EQ(etha(802), 0.75);
  EXPECT_EQ(etha(801), 1.0);
}

TEST_P(ComandosDB, LineaDeComandosBajaYSimula) {
  std::ostringstream salida;
  std::ostringstream errores;
  const std::string pasarela = "localhost:" + std::to_string(servidor_->puerto());
  ASSERT_EQ(ModeladoRO({"bajar", "--central", "8", "--pasarela", pasarela, "--raiz", raiz}, salida,
                       errores),
            0)
      << errores.str();
  EXPECT_EQ(salida.str(),
            "... espere por favor ... conectando a la DB\n"
            "... el Parque fue guardado en disco: " +
                raiz + "/c8/c8_parque_mt.pmt\n");
  salida.str("");
  ASSERT_EQ(
      ModeladoRO({"simular", "--central", "8", "--raiz", raiz, "--vel", "8"}, salida, errores), 0)
      << errores.str();
  EXPECT_NE(salida.str().find("Potencia Modelo Teórico [MW]: "), std::string::npos);
  EXPECT_NE(salida.str().find("Velocidad E.M. [m/s] reproducida: 8\n"), std::string::npos)
      << salida.str();

  // An unknown central: one line on standard error, nothing written.
  salida.str("");
  errores.str("");
  EXPECT_EQ(ModeladoRO({"bajar", "--central", "9", "--pasarela", pasarela, "--raiz", raiz}, salida,
                       errores),
            1);
  EXPECT_EQ(errores.str(), "modelado_ro: No existe la central: 9\n");
  EXPECT_FALSE(fs::exists(raiz + "/c9"));
}

INSTANTIATE_TEST_SUITE_P(SQLite, ComandosDB, testing::Values(std::string("sqlite")));

}  // namespace
