#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "errores.h"
#include "formatos.h"
#include "uestadoaplicacion.h"
#include "uparquedemo.h"

namespace {

using testing::StrEq;
using testing::ThrowsMessage;

// The calibrator and combined-model classes live elsewhere; the state only stores them. A stand-in
// owner tells whether the state still keeps the object alive.
template <class T>
std::shared_ptr<T> Suplente(const std::shared_ptr<int>& dueno) {
  return std::shared_ptr<T>(dueno, reinterpret_cast<T*>(dueno.get()));
}

std::shared_ptr<TParque_ModeloTeorico> Modelo() { return CrearParqueDemo(); }

TEST(TEstadoAplicacion, ArranqueConLosValoresIniciales) {
  for (const char decimal : {'.', ','}) {
    SCOPED_TRACE(decimal);
    TFormatos f;
    f.separador_decimal = decimal;
    f.separador_miles = decimal == ',' ? '.' : ',';
    TFormatosDePrueba formatos(f);
    const TEstadoAplicacion estado(nullptr);
    const std::string sep(1, decimal);
    EXPECT_EQ(estado.textos.eVAnemoEntrada, "9" + sep + "9");
    EXPECT_EQ(estado.textos.eGamma_Atmosfera, "0" + sep + "4");
    EXPECT_EQ(estado.textos.eAlfaTerreno, "0" + sep + "5");
    EXPECT_EQ(estado.textos.eDir, "270");
    EXPECT_EQ(estado.textos.eVAnemoResultante, "???");
    EXPECT_EQ(estado.textos.PorcentajeAjusteCurvaSinf, "5");
    EXPECT_EQ(estado.textos.PorcentajeAjusteCurvaSsup, "95");
    EXPECT_EQ(estado.porcentaje_ajuste_inf, 5);
    EXPECT_EQ(estado.porcentaje_ajuste_sup, 95);
    EXPECT_EQ(estado.ModeloTeorico(), nullptr);
    EXPECT_EQ(estado.Calibrador(), nullptr);
    EXPECT_EQ(estado.ModeloCombinado(), nullptr);
    EXPECT_EQ(estado.MolinoSeleccionado(), nullptr);
    EXPECT_FALSE(estado.HayConexion());
  }
}

TEST(TEstadoAplicacion, SinConexionLoDice) {
  TEstadoAplicacion estado(nullptr);
  EXPECT_THAT([&] { (void)estado.Conexion(); },
              ThrowsMessage<Excepcion>(StrEq("No hay conexión con la base de datos.")));
  TEstadoAplicacion con(std::make_unique<TDBrosxCon>("", "localhost", 80, "/scripts/dovi.php"));
  EXPECT_EQ(con.Conexion().port(), 80);
}

TEST(TEstadoAplicacion, ReemplazarElModeloSueltaLoQueLoUsa) {
  TEstadoAplicacion estado(nullptr);
  const auto m1 = Modelo();
  const auto m2 = Modelo();
  estado.FijarModeloTeorico(m1);
  estado.SeleccionarMolino(m1->molinos[2].get());

  auto dueno_cal = std::make_shared<int>(1);
  auto dueno_emp = std::make_shared<int>(2);
  auto dueno_mc = std::make_shared<int>(3);
  const std::weak_ptr<int> cal_vivo = dueno_cal;
  const std::weak_ptr<int> emp_vivo = dueno_emp;
  const std::weak_ptr<int> mc_vivo = dueno_mc;
  estado.FijarCalibrador(Suplente<TCalibradorParque>(dueno_cal), m1,
                         Suplente<TParque_ModeloEmpirico>(dueno_emp));
  // A combined model over another model stays.
  estado.FijarModeloCombinado(Suplente<TParque_ModeloCombinado>(dueno_mc), m2);
  dueno_cal.reset();
  dueno_emp.reset();
  dueno_mc.reset();

  // The same model again changes nothing.
  estado.FijarModeloTeorico(m1);
  EXPECT_NE(estado.Calibrador(), nullptr);
  EXPECT_EQ(estado.MolinoSeleccionado(), m1->molinos[2].get());

  estado.FijarModeloTeorico(m2);
  EXPECT_EQ(estado.ModeloTeorico(), m2);
  EXPECT_EQ(estado.MolinoSeleccionado(), nullptr);
  EXPECT_EQ(estado.Calibrador(), nullptr);
  EXPECT_EQ(estado.ModeloDelCalibrador(), nullptr);
  EXPECT_EQ(estado.ModeloEmpirico(), nullptr);
  EXPECT_TRUE(cal_vivo.expired());
  EXPECT_TRUE(emp_vivo.expired());
  EXPECT_NE(estado.ModeloCombinado(), nullptr);
  EXPECT_FALSE(mc_vivo.expired());

  // Releasing m2 drops the combined model that works on it.
  estado.LiberarModeloTeorico();
  EXPECT_EQ(estado.ModeloCombinado(), nullptr);
  EXPECT_TRUE(mc_vivo.expired());
}

TEST(TEstadoAplicacion, ElCombinadoQueEsTambienCalibradorSeSueltaUnaVez) {
  TEstadoAplicacion estado(nullptr);
  const auto m = Modelo();
  estado.FijarModeloTeorico(m);
  auto dueno = std::make_shared<int>(7);
  const std::weak_ptr<int> vivo = dueno;
  estado.FijarCalibrador(Suplente<TCalibradorParque>(dueno), m, nullptr);
  estado.FijarModeloCombinado(Suplente<TParque_ModeloCombinado>(dueno), m);
  dueno.reset();
  // Dropping one slot leaves the object to the other.
  estado.LiberarCalibrador();
  EXPECT_FALSE(vivo.expired());
  EXPECT_NE(estado.ModeloCombinado(), nullptr);
  estado.Cerrar();
  EXPECT_TRUE(vivo.expired());
  EXPECT_EQ(estado.ModeloTeorico(), nullptr);
  // A second shut-down (the destructor's) finds nothing left to release.
  estado.Cerrar();
}

TEST(TEstadoAplicacion, SoloSeSeleccionaUnMolinoDelModeloActual) {
  TEstadoAplicacion estado(nullptr);
  const auto otro = Modelo();
  EXPECT_THAT(
      [&] { estado.SeleccionarMolino(otro->molinos[0].get()); },
      ThrowsMessage<Excepcion>(StrEq("El molino seleccionado no pertenece al modelo actual.")));
  estado.FijarModeloTeorico(Modelo());
  EXPECT_THAT(
      [&] { estado.SeleccionarMolino(otro->molinos[0].get()); },
      ThrowsMessage<Excepcion>(StrEq("El molino seleccionado no pertenece al modelo actual.")));
  estado.SeleccionarMolino(estado.ModeloTeorico()->molinos[0].get());
  estado.SeleccionarMolino(nullptr);
  EXPECT_EQ(estado.MolinoSeleccionado(), nullptr);
}

}  // namespace
