#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "../models/pasarela_prueba.h"
#include "carpetas.h"
#include "numtext.h"
#include "ucomandos_modeloteorico.h"
#include "ugeneradorseries.h"
#include "uparquedemo.h"
#include "uparques_modeloempirico.h"
#include "utokens.h"

namespace {

// The simulation with a calibrator: the demo farm and an empirical model built from two months of
// series generated from the same farm.
TEST(ComandosConCalibrador, LasCifrasEmpiricasSonLasDelModeloDelCalibrador) {
  const prueba::TCarpetaTemporal carpeta;
  ASSERT_FALSE(carpeta.ruta().empty());
  FijarCarpetaRaiz(carpeta.ruta() + "/raiz");
  IniciarCarpetaRaiz();

  const std::shared_ptr<TParque_ModeloTeorico> modelo = CrearParqueDemo();
  const std::string series = carpeta.ruta() + "/demo.sas";
  {
    auto generador = CrearParqueDemo();
    const TTablaPotencia tabla(*generador, 12, 1.0);
    TOpcionesGenerador o;
    o.n_muestras = 144 * 60;
    GenerarSeries(tabla, *generador, o, series);
  }
  std::ostringstream progreso;
  const std::shared_ptr<TParque_ModeloEmpirico> empirico =
      TParque_ModeloEmpirico::CrearDesdeSeries(modelo, series, 5, 95, progreso, false);

  TEstadoAplicacion estado(nullptr);
  estado.FijarModeloTeorico(modelo);
  TResultadoComando p;
  MostrarParametrosModelo(estado, p);
  auto dueno = std::make_shared<int>(0);
  estado.FijarCalibrador(
      std::shared_ptr<TCalibradorParque>(dueno, reinterpret_cast<TCalibradorParque*>(dueno.get())),
      modelo, empirico);

  const TResultadoComando r = btCalcularClick(estado);
  NReal peso = 0;
  const NReal Pe = empirico->PotenciaBinada(1.225, PV3(9.9, 1.225), 270, peso);
  EXPECT_GT(peso, 0);
  EXPECT_GT(Pe, 0);
  ASSERT_EQ(r.textos.size(), 5U);
  EXPECT_EQ(r.textos[3].first, "ePE_MW_Representantes");
  EXPECT_EQ(r.textos[4].first, "eME_Peso");
  EXPECT_EQ(estado.textos.ePE_MW_Representantes, RealAGeneral(Pe));
  EXPECT_EQ(estado.textos.eME_Peso, RealAGeneral(peso));
  // The series came from the same farm: both models give about the same power.
  EXPECT_NEAR(Pe, StrToReal(estado.textos.ePE_MW_ModeloTeorico), 1.0);

  // Replacing the model drops the calibrator and its empirical model: the figures stay.
  estado.FijarModeloTeorico(CrearParqueDemo());
  EXPECT_EQ(estado.ModeloEmpirico(), nullptr);
  TResultadoComando q;
  MostrarParametrosModelo(estado, q);
  estado.textos.eVAnemoEntrada = "7";
  const TResultadoComando s = btCalcularClick(estado);
  EXPECT_EQ(s.Texto("ePE_MW_Representantes"), nullptr);
  EXPECT_EQ(estado.textos.ePE_MW_Representantes, RealAGeneral(Pe));
}

}  // namespace
