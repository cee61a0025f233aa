#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "ucomandos_modeloteorico.h"
#include "umapaparque.h"
#include "uparquedemo.h"
#include "utokens.h"

namespace {

using testing::StrEq;
using testing::ThrowsMessage;

const char* const kSinModelo = "No hay un modelo teórico cargado.";

// The window after loading the demo farm: its parameters in the edits, the start-up wind.
class ComandosModeloTeorico : public testing::Test {
 protected:
  ComandosModeloTeorico() : estado(nullptr) {
    estado.FijarModeloTeorico(CrearParqueDemo());
    TResultadoComando r;
    MostrarParametrosModelo(estado, r);
  }
  TParque_ModeloTeorico& Modelo() { return *estado.ModeloTeorico(); }

  TEstadoAplicacion estado;
};

// What the simulation should show, computed on an independent copy of the farm.
struct TEsperado {
  std::string viento_libre, potencia, velocidad_em;
};

TEsperado Esperado(double v, double dir, double limite) {
  auto p = CrearParqueDemo();
  p->PrepararDireccion(dir, false);
  bool convergido = false;
  double a = 0;
  double f = 0;
  const double P = p->SimularDesdeAnemometro(limite, PV3(v, 1.225), 1.225, convergido, a, f);
  return {RealAGeneral(VelocidadDePV3(f, 1.225)), RealAGeneral(P),
          RealAGeneral(VelocidadDePV3(p->PV3EnPunto(0, 0) * p->etha_meteo_dir, 1.225))};
}

TEST(ComandosSinModelo, Rehusan) {
  TEstadoAplicacion estado(nullptr);
  estado.textos.cbCambiarTodosLosRo = true;
  const std::vector<std::function<void()>> comandos = {
      [&] { (void)btCalcularClick(estado); }, [&] { (void)CalcularvientoClick(estado); },
      [&] { (void)btCambiar_roClick(estado); }, [&] { LeerParametrosModelo(estado); }};
  for (std::size_t i = 0; i < comandos.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_THAT(comandos[i], ThrowsMessage<Excepcion>(StrEq(kSinModelo)));
  }
  // The map handlers just do nothing.
  EXPECT_TRUE(pb_Parque_originalMouseMove(estado, 10, 40).textos.empty());
  EXPECT_TRUE(pb_Parque_originalMouseDown(estado, 10, 40).textos.empty());
}

TEST_F(ComandosModeloTeorico, MostrarParametrosEscribeLosDelModelo) {
  const TTextosVentana& t = estado.textos;
  EXPECT_EQ(t.eGamma_Atmosfera, "0.4");
  EXPECT_EQ(t.eAlfaTerreno, "0.5");
  EXPECT_EQ(t.efpv3pe, "1.8");
  EXPECT_EQ(t.eFactorPerdidasParque, "0.035");
  EXPECT_EQ(t.eLimiteDePotencia, "15");
  EXPECT_EQ(t.eEthaMeteo, "[ 11| 1;  0;  0;  0;  0;  0;  0;  0;  0;  0;  0]");
}

TEST_F(ComandosModeloTeorico, SimularConLosTextosIniciales) {
  ASSERT_EQ(estado.textos.eVAnemoEntrada, "9.9");
  ASSERT_EQ(estado.textos.eDir, "270");
  const TResultadoComando r = btCalcularClick(estado);
  const TEsperado e = Esperado(9.9, 270, 15);
  ASSERT_EQ(r.textos.size(), 3U);
  EXPECT_EQ(r.textos[0].first, "VientoLibre");
  EXPECT_EQ(r.textos[1].first, "ePE_MW_ModeloTeorico");
  EXPECT_EQ(r.textos[2].first, "eVAnemoResultante");
  EXPECT_EQ(estado.textos.VientoLibre, e.viento_libre);
  EXPECT_EQ(estado.textos.ePE_MW_ModeloTeorico, e.potencia);
  EXPECT_EQ(estado.textos.eVAnemoResultante, e.velocidad_em);
  EXPECT_EQ(*r.Texto("ePE_MW_ModeloTeorico"), e.potencia);
  // The station, upwind of every turbine, reads the free wind the model found.
  EXPECT_NEAR(StrToReal(estado.textos.eVAnemoResultante), 9.9, 0.05);
  EXPECT_GT(StrToReal(e.potencia), 5);
  // Without a calibrator the empirical figures stay as they were.
  EXPECT_EQ(r.Texto("ePE_MW_Representantes"), nullptr);
  EXPECT_EQ(estado.textos.ePE_MW_Representantes, "ePE_MW_Representantes");
  EXPECT_EQ(estado.textos.eME_Peso, "eME_Peso");
  EXPECT_TRUE(r.dibujar_mapas);
  EXPECT_TRUE(r.mensajes.empty());
  // The map is fitted to the paint box.
  EXPECT_EQ(Modelo().vista.ancho_px, kAnchoMapa);
  EXPECT_EQ(Modelo().vista.alto_px, kAltoMapa - kAltoBarraColores);
}

TEST_F(ComandosModeloTeorico, LasEntradasAdmitenExpresionesYSeparadorActual) {
  estado.textos.eVAnemoEntrada = "2*4.95";
  estado.textos.eDir = "180+45";
  (void)btCalcularClick(estado);
  const TEsperado e = Esperado(9.9, 225, 15);
  EXPECT_EQ(estado.textos.ePE_MW_ModeloTeorico, e.potencia);
  EXPECT_EQ(estado.textos.VientoLibre, e.viento_libre);

  TFormatos f;
  f.separador_decimal = ',';
  f.separador_miles = '.';
  TFormatosDePrueba formatos(f);
  TEstadoAplicacion coma(nullptr);
  coma.FijarModeloTeorico(CrearParqueDemo());
  TResultadoComando r;
  MostrarParametrosModelo(coma, r);
  ASSERT_EQ(coma.textos.eVAnemoEntrada, "9,9");
  ASSERT_EQ(coma.textos.eFactorPerdidasParque, "0,035");
  (void)btCalcularClick(coma);
  EXPECT_EQ(coma.textos.ePE_MW_ModeloTeorico, Esperado(9.9, 270, 15).potencia);
}

TEST_F(ComandosModeloTeorico, LosParametrosDeLasEdicionesVanAlModelo) {
  estado.textos.eLimiteDePotencia = "5";
  estado.textos.eAlfaTerreno = "0.25";
  estado.textos.eGamma_Atmosfera = "0.3";
  estado.textos.efpv3pe = "1.5";
  estado.textos.eFactorPerdidasParque = "0";
  estado.textos.eEthaMeteo = "[ 3| 1.25;  0;  0]";
  (void)btCalcularClick(estado);
  const TParque_ModeloTeorico& m = Modelo();
  EXPECT_EQ(m.potencia_autorizada_mw, 5);
  EXPECT_EQ(m.alfa_terreno, 0.25);
  EXPECT_EQ(m.gamma_atmosfera, 0.3);
  EXPECT_EQ(m.fpv3pe, 1.5);
  EXPECT_EQ(m.factor_perdidas, 0);
  ASSERT_EQ(m.meteo_etha.n(), 3);
  EXPECT_EQ(m.etha_meteo_dir, 1.25);
  EXPECT_EQ(estado.textos.ePE_MW_ModeloTeorico, "5");
  // The station correction: the free wind is the station's divided by 1.25 in power density.
  EXPECT_NEAR(StrToReal(estado.textos.VientoLibre), VelocidadDePV3(PV3(9.9, 1.225) / 1.25, 1.225),
              0.05);
}

TEST_F(ComandosModeloTeorico, UnTextoMalEscritoNoCambiaNada) {
  struct Caso {
    std::string TTextosVentana::*campo;
    const char* texto;
    const char* mensaje;
  };
  const Caso casos[] = {
      {&TTextosVentana::eVAnemoEntrada, "9.9.",
       "Error: no se puede evaluar \"9.9.\" a un número real"},
      {&TTextosVentana::eDir, "", "Error: no se puede evaluar \"\" a un número real"},
      {&TTextosVentana::efpv3pe, "1,8", "Error: no se puede evaluar \"1,8\" a un número real"},
      {&TTextosVentana::eEthaMeteo, "[ 2| 1;  x]",
       "Error: no se puede evaluar \"x\" a un número real"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    TEstadoAplicacion e(nullptr);
    e.FijarModeloTeorico(CrearParqueDemo());
    TResultadoComando r;
    MostrarParametrosModelo(e, r);
    e.textos.eLimiteDePotencia = "3";
    e.textos.*c.campo = c.texto;
    EXPECT_THAT([&] { (void)btCalcularClick(e); }, ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
    EXPECT_EQ(e.ModeloTeorico()->potencia_autorizada_mw, 15);
    EXPECT_EQ(e.ModeloTeorico()->meteo_etha.n(), 11);
    EXPECT_EQ(e.textos.ePE_MW_ModeloTeorico, "ePE_MW_ModeloTeorico");
  }
}

TEST_F(ComandosModeloTeorico, VientoCeroMuestraCero) {
  estado.textos.eVAnemoEntrada = "0";
  (void)btCalcularClick(estado);
  EXPECT_EQ(estado.textos.VientoLibre, "0");
  EXPECT_EQ(estado.textos.ePE_MW_ModeloTeorico, "0");
  EXPECT_EQ(estado.textos.eVAnemoResultante, "0");
}

TEST_F(ComandosModeloTeorico, ElLimiteEsElDelModeloDelCalibrador) {
  std::shared_ptr<TParque_ModeloTeorico> del_calibrador = CrearParqueDemo();
  del_calibrador->potencia_autorizada_mw = 4;
  auto dueno = std::make_shared<int>(0);
  estado.FijarCalibrador(
      std::shared_ptr<TCalibradorParque>(dueno, reinterpret_cast<TCalibradorParque*>(dueno.get())),
      del_calibrador, nullptr);
  (void)btCalcularClick(estado);
  EXPECT_EQ(estado.textos.ePE_MW_ModeloTeorico, "4");
  EXPECT_EQ(estado.textos.ePE_MW_ModeloTeorico, Esperado(9.9, 270, 4).potencia);
}

TEST_F(ComandosModeloTeorico, EthaMeteoDelMismoLargoSeCopiaEnSuLugar) {
  const double* antes = &Modelo().meteo_etha.referencia(1);
  estado.textos.eEthaMeteo = "[ 11| 1.1;  0;  0;  0;  0;  0;  0;  0;  0;  0;  0.2]";
  LeerParametrosModelo(estado);
  EXPECT_EQ(&Modelo().meteo_etha.referencia(1), antes);
  EXPECT_EQ(Modelo().meteo_etha.elemento(1), 1.1);
  EXPECT_EQ(Modelo().meteo_etha.elemento(11), 0.2);
  estado.textos.eEthaMeteo = "[ 1| 0.9]";
  LeerParametrosModelo(estado);
  ASSERT_EQ(Modelo().meteo_etha.n(), 1);
  EXPECT_EQ(Modelo().meteo_etha.elemento(1), 0.9);
}

TEST_F(ComandosModeloTeorico, CalcularVientoPideUnaSimulacionAntes) {
  EXPECT_THAT([&] { (void)CalcularvientoClick(estado); },
              ThrowsMessage<Excepcion>(StrEq(
                  "El modelo teórico no está preparado para una dirección: simule primero.")));
}

TEST_F(ComandosModeloTeorico, CalcularViento) {
  (void)btCalcularClick(estado);
  struct Caso {
    const char* potencia;
    const char* viento;  // nothing: the message instead
  };
  const Caso casos[] = {{"0", "0"}, {"20", nullptr}, {"-1", nullptr}, {"15.5", nullptr}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.potencia);
    estado.textos.vientoparapot = c.potencia;
    estado.textos.VientoDeLaPotMW = "sin cambio";
    const TResultadoComando r = CalcularvientoClick(estado);
    if (c.viento != nullptr) {
      EXPECT_TRUE(r.mensajes.empty());
      EXPECT_EQ(estado.textos.VientoDeLaPotMW, c.viento);
    } else {
      EXPECT_EQ(r.textos.size(), 0U);
      EXPECT_EQ(estado.textos.VientoDeLaPotMW, "sin cambio");
      ASSERT_EQ(r.mensajes.size(), 1U);
      EXPECT_EQ(r.mensajes[0],
                "La central tiene una potencia autorizada de 15 MW.\n"
                "Ingrese nuevamente el valor de potencia.");
    }
  }
  // A power the farm can give: simulating the free wind found gives it back within 0.01 MW.
  estado.textos.vientoparapot = "2*3.5";
  (void)CalcularvientoClick(estado);
  const double V = StrToReal(estado.textos.VientoDeLaPotMW);
  EXPECT_GT(V, 4);
  EXPECT_LT(V, 20);
  double a = 0;
  EXPECT_NEAR(Modelo().Simular(15, PV3(V, 1.225), 1.225, a), 7, 0.01);
}

TEST_F(ComandosModeloTeorico, ElMensajeLlevaLaPotenciaAutorizada) {
  estado.textos.eLimiteDePotencia = "12.5";
  (void)btCalcularClick(estado);
  estado.textos.vientoparapot = "13";
  const TResultadoComando r = CalcularvientoClick(estado);
  ASSERT_EQ(r.mensajes.size(), 1U);
  EXPECT_EQ(r.mensajes[0],
            "La central tiene una potencia autorizada de 12.5 MW.\n"
            "Ingrese nuevamente el valor de potencia.");
  EXPECT_EQ(estado.textos.eLimiteDePotencia, "12.5");
}

TEST_F(ComandosModeloTeorico, CambiarRo) {
  struct Caso {
    bool todos;
    int seleccionado;  // index, -1 for none
    std::vector<double> esperado;
  };
  const Caso casos[] = {
      {false, -1, {1, 1, 1, 1, 1, 1, 1, 1}},
      {false, 2, {1, 1, 0.5, 1, 1, 1, 1, 1}},
      {true, -1, {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}},
      {true, 4, {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << c.todos << " " << c.seleccionado);
    TEstadoAplicacion e(nullptr);
    e.FijarModeloTeorico(CrearParqueDemo());
    auto& molinos = e.ModeloTeorico()->molinos;
    if (c.seleccionado >= 0)
      e.SeleccionarMolino(molinos[static_cast<std::size_t>(c.seleccionado)].get());
    e.textos.cbCambiarTodosLosRo = c.todos;
    e.textos.eEthaMolino = "1/2";
    const TResultadoComando r = btCambiar_roClick(e);
    EXPECT_TRUE(r.textos.empty());
    EXPECT_FALSE(r.dibujar_mapas);
    for (std::size_t i = 0; i < molinos.size(); ++i)
      EXPECT_EQ(molinos[i]->etha, c.esperado[i]) << i;
  }
  estado.textos.eEthaMolino = "medio";
  EXPECT_THAT(
      [&] { (void)btCambiar_roClick(estado); },
      ThrowsMessage<Excepcion>(StrEq("Error: no se puede evaluar \"medio\" a un número real")));
}

TEST_F(ComandosModeloTeorico, ElMapaLeeYEligeMolinos) {
  (void)btCalcularClick(estado);
  const TMolino& m3 = *Modelo().molinos[2];
  std::int32_t px = 0;
  std::int32_t py = 0;
  Modelo().MundoAPixel(m3.posicion.dx + 30, m3.posicion.dy, px, py);

  TResultadoComando r = pb_Parque_originalMouseMove(estado, px, py);
  double x = 0;
  double y = 0;
  Modelo().PixelAMundo(px, py, x, y);
  EXPECT_EQ(estado.textos.eCoordenadasXY, "x: " + RealAGeneral(x) + ", y: " + RealAGeneral(y));
  EXPECT_EQ(estado.textos.eMolino,
            "v: " + RealAFijoPrecision(VelocidadDePV3(m3.pv3_medio, 1.225), 6, 1) +
                ", P:" + RealAFijoPrecision(m3.potencia, 6, 1));
  EXPECT_EQ(estado.textos.eMolino.rfind("v: 9.9, P:1.", 0), 0U) << estado.textos.eMolino;

  // Far from every turbine: the position changes, the turbine read-out stays.
  std::int32_t lx = 0;
  std::int32_t ly = 0;
  Modelo().MundoAPixel(-250, 0, lx, ly);
  const std::string antes = estado.textos.eMolino;
  r = pb_Parque_originalMouseMove(estado, lx, ly);
  EXPECT_EQ(r.Texto("eMolino"), nullptr);
  EXPECT_NE(r.Texto("eCoordenadasXY"), nullptr);
  EXPECT_EQ(estado.textos.eMolino, antes);

  // Mouse down near turbine 3 selects it, shows its etha and names the region around it.
  estado.textos.eEthaMolino = "7";
  r = pb_Parque_originalMouseDown(estado, px, py);
  EXPECT_EQ(estado.MolinoSeleccionado(), &m3);
  EXPECT_EQ(estado.textos.eEthaMolino, "1");
  ASSERT_TRUE(r.copiar_region.has_value());
  std::int32_t x1 = 0;
  std::int32_t y1 = 0;
  std::int32_t x2 = 0;
  std::int32_t y2 = 0;
  Modelo().MundoAPixel(m3.posicion.dx - 80, m3.posicion.dy + 480, x1, y1);
  Modelo().MundoAPixel(m3.posicion.dx + 1200, m3.posicion.dy - 480, x2, y2);
  EXPECT_EQ(r.copiar_region->x1, x1);
  EXPECT_EQ(r.copiar_region->y1, y1);
  EXPECT_EQ(r.copiar_region->x2, x2);
  EXPECT_EQ(r.copiar_region->y2, y2);
  const auto mapa = DibujarMapaParque(Modelo());
  const auto copia = CopiarRegion(*mapa, x1, y1, x2, y2);
  ASSERT_NE(copia, nullptr);
  EXPECT_EQ(copia->Ancho(), x2 - x1 + 1);
  EXPECT_EQ(copia->Alto(), y2 - y1 + 1);

  // "Cambiar ro" acts on it, and the next simulation sees it.
  const std::string potencia = estado.textos.ePE_MW_ModeloTeorico;
  estado.textos.eEthaMolino = "0.5";
  (void)btCambiar_roClick(estado);
  EXPECT_EQ(m3.etha, 0.5);
  (void)btCalcularClick(estado);
  EXPECT_LT(StrToReal(estado.textos.ePE_MW_ModeloTeorico), StrToReal(potencia));

  // Mouse down far away selects nothing.
  r = pb_Parque_originalMouseDown(estado, lx, ly);
  EXPECT_EQ(estado.MolinoSeleccionado(), nullptr);
  EXPECT_FALSE(r.copiar_region.has_value());
  EXPECT_EQ(estado.textos.eEthaMolino, "0.5");
}

}  // namespace
