#include "ucomandos_modeloteorico.h"

#include <ostream>

#include "carpetas.h"
#include "errores.h"
#include "numtext.h"
#include "ucalibrador.h"
#include "umapaparque.h"
#include "uparques_modelocombinado.h"
#include "uparques_modeloempirico.h"
#include "utokens.h"

namespace {

const char* const kSinModelo = "No hay un modelo teórico cargado.";
const char* const kSinCalibrador = "No hay un calibrador cargado.";
const char* const kSinDireccion =
    "El modelo teórico no está preparado para una dirección: simule primero.";

TParque_ModeloTeorico& ModeloActual(TEstadoAplicacion& estado) {
  if (!estado.ModeloTeorico()) throw Excepcion(kSinModelo);
  return *estado.ModeloTeorico();
}

}  // namespace

const std::string* TResultadoComando::Texto(std::string_view control) const {
  for (auto it = textos.rbegin(); it != textos.rend(); ++it) {
    if (it->first == control) return &it->second;
  }
  return nullptr;
}

std::string MensajePotenciaAutorizada(NReal potencia_autorizada_mw) {
  return "La central tiene una potencia autorizada de " + RealAGeneral(potencia_autorizada_mw) +
         " MW." + "\n" + "Ingrese nuevamente el valor de potencia.";
}

void LeerParametrosModelo(TEstadoAplicacion& estado) {
  TParque_ModeloTeorico& m = ModeloActual(estado);
  const TTextosVentana& t = estado.textos;
  const NReal alfa = StrToReal(t.eAlfaTerreno);
  const NReal gamma = StrToReal(t.eGamma_Atmosfera);
  const NReal fpv3pe = StrToReal(t.efpv3pe);
  const NReal perdidas = StrToReal(t.eFactorPerdidasParque);
  const NReal limite = StrToReal(t.eLimiteDePotencia);
  const TVectR etha(t.eEthaMeteo);
  m.alfa_terreno = alfa;
  m.gamma_atmosfera = gamma;
  m.fpv3pe = fpv3pe;
  m.factor_perdidas = perdidas;
  m.potencia_autorizada_mw = limite;
  if (etha.n() == m.meteo_etha.n()) {
    for (int i = 1; i <= etha.n(); ++i) m.meteo_etha.poner(i, etha.elemento(i));
  } else {
    m.meteo_etha = etha;
    // The calibrators working on this model tune the coefficients it has now.
    if (estado.Calibrador() && estado.ModeloDelCalibrador().get() == &m) {
      estado.Calibrador()->ReconstruirParametros();
    }
    if (estado.ModeloCombinado() && estado.ModeloDelCombinado().get() == &m &&
        static_cast<TCalibradorParque*>(estado.ModeloCombinado().get()) !=
            estado.Calibrador().get()) {
      estado.ModeloCombinado()->ReconstruirParametros();
    }
  }
}

void Escribir(TResultadoComando& r, TEstadoAplicacion& estado, std::string TTextosVentana::*campo,
              const char* control, std::string texto) {
  estado.textos.*campo = texto;
  r.textos.emplace_back(control, std::move(texto));
}

void MostrarParametrosModelo(TEstadoAplicacion& estado, TResultadoComando& r) {
  const TParque_ModeloTeorico& m = ModeloActual(estado);
  Escribir(r, estado, &TTextosVentana::eGamma_Atmosfera, "eGamma_Atmosfera",
           RealAGeneral(m.gamma_atmosfera));
  Escribir(r, estado, &TTextosVentana::eAlfaTerreno, "eAlfaTerreno", RealAGeneral(m.alfa_terreno));
  Escribir(r, estado, &TTextosVentana::efpv3pe, "efpv3pe", RealAGeneral(m.fpv3pe));
  Escribir(r, estado, &TTextosVentana::eFactorPerdidasParque, "eFactorPerdidasParque",
           RealAGeneral(m.factor_perdidas));
  Escribir(r, estado, &TTextosVentana::eLimiteDePotencia, "eLimiteDePotencia",
           RealAGeneral(m.potencia_autorizada_mw));
  Escribir(r, estado, &TTextosVentana::eEthaMeteo, "eEthaMeteo", m.meteo_etha.a_texto());
}

TResultadoComando btCalcularClick(TEstadoAplicacion& estado) {
  TResultadoComando r;
  // 1. loading a calibrator when there is no model is the window's, before it calls here.
  TParque_ModeloTeorico& m = ModeloActual(estado);
  // 2.
  m.AjustarVista(0, kAltoBarraColores, kAnchoMapa, kAltoMapa);
  // 3.
  const NReal v = StrToReal(estado.textos.eVAnemoEntrada);
  const NReal d = StrToReal(estado.textos.eDir);
  // 4.
  LeerParametrosModelo(estado);
  // 5.
  const NReal s = PV3(v, DensidadEstandar);
  // 6.
  m.PrepararDireccion(d, false);
  // 7. the calibrator's model sets the limit when there is one.
  const NReal limite = estado.ModeloDelCalibrador()
                           ? estado.ModeloDelCalibrador()->potencia_autorizada_mw
                           : m.potencia_autorizada_mw;
  bool convergido = false;
  NReal pv3_meteo_simulado = 0;
  // A calm station leaves it untouched: the free wind shows 0.
  NReal f = 0;
  const NReal P =
      m.SimularDesdeAnemometro(limite, s, DensidadEstandar, convergido, pv3_meteo_simulado, f);
  // 8.
  Escribir(r, estado, &TTextosVentana::VientoLibre, "VientoLibre",
           RealAGeneral(VelocidadDePV3(f, DensidadEstandar)));
  // 10.
  Escribir(r, estado, &TTextosVentana::ePE_MW_ModeloTeorico, "ePE_MW_ModeloTeorico",
           RealAGeneral(P));
  // 11.
  Escribir(r, estado, &TTextosVentana::eVAnemoResultante, "eVAnemoResultante",
           RealAGeneral(VelocidadDePV3(m.PV3EnPunto(0, 0) * m.etha_meteo_dir, DensidadEstandar)));
  // 9., 12. the empirical figures come from the calibrator's empirical model; without one they
  // stay as they were.
  if (const auto& empirico = estado.ModeloEmpirico(); empirico) {
    NReal peso = 0;
    const NReal Pe = empirico->PotenciaBinada(DensidadEstandar, s, d, peso);
    Escribir(r, estado, &TTextosVentana::ePE_MW_Representantes, "ePE_MW_Representantes",
             RealAGeneral(Pe));
    Escribir(r, estado, &TTextosVentana::eME_Peso, "eME_Peso", RealAGeneral(peso));
  }
  // 13.
  r.dibujar_mapas = true;
  return r;
}

TResultadoComando btBajarParqueClick(TEstadoAplicacion& estado, std::ostream& salida) {
  TResultadoComando r;
  // 2. read first: a mistyped number keeps the current model.
  const std::int32_t central = TextoAEntero(estado.textos.eNidCentral);
  // 1.
  estado.LiberarModeloTeorico();
  estado.central = central;
  // 3.
  salida << "... espere por favor ... conectando a la DB\n" << std::flush;
  // 4.
  TDBrosxCon& conexion = estado.Conexion();
  const std::unique_ptr<TResultadoQuery> c =
      conexion.QueryOrThrow("SELECT * FROM centrales WHERE nid = " + IntATexto(central));
  if (c->nRows <= 0) throw Excepcion("No existe la central: " + IntATexto(central));
  estado.FijarModeloTeorico(TParque_ModeloTeorico::CrearDesdeDB(conexion, *c));
  // 5. the central's folder is made only once there is a model to write in it.
  const std::string archivo = ArchivoModeloTeorico(central);
  estado.ModeloTeorico()->GuardarEnArchivo(archivo);
  // 6.
  salida << "... el Parque fue guardado en disco: " << archivo << '\n' << std::flush;
  return r;
}

TResultadoComando btUpdateMTinDBClick(TEstadoAplicacion& estado) {
  TResultadoComando r;
  if (!estado.ModeloDelCalibrador()) throw Excepcion(kSinCalibrador);
  estado.ModeloDelCalibrador()->ActualizarEnDB(estado.Conexion());
  return r;
}

TResultadoComando CalcularvientoClick(TEstadoAplicacion& estado) {
  TResultadoComando r;
  TParque_ModeloTeorico& m = ModeloActual(estado);
  if (!m.DireccionPreparada()) throw Excepcion(kSinDireccion);
  // 1.
  const NReal objetivo = StrToReal(estado.textos.vientoparapot);
  // 2.
  const NReal V = m.VientoParaPotencia(objetivo);
  // 3.
  if (V >= 0) {
    Escribir(r, estado, &TTextosVentana::VientoDeLaPotMW, "VientoDeLaPotMW", RealAGeneral(V));
  } else {
    r.mensajes.push_back(MensajePotenciaAutorizada(m.potencia_autorizada_mw));
  }
  return r;
}

TResultadoComando btCambiar_roClick(TEstadoAplicacion& estado) {
  TResultadoComando r;
  // 1.
  const NReal e = StrToReal(estado.textos.eEthaMolino);
  // 2.
  if (estado.textos.cbCambiarTodosLosRo) {
    for (auto& molino : ModeloActual(estado).molinos) molino->etha = e;
  } else if (TMolino* molino = estado.MolinoSeleccionado(); molino != nullptr) {
    molino->etha = e;
  }
  return r;
}

TResultadoComando pb_Parque_originalMouseMove(TEstadoAplicacion& estado, std::int32_t px,
                                              std::int32_t py) {
  TResultadoComando r;
  const auto& m = estado.ModeloTeorico();
  if (!m || m->VistaVacia()) return r;
  NReal x = 0;
  NReal y = 0;
  m->PixelAMundo(px, py, x, y);
  Escribir(r, estado, &TTextosVentana::eCoordenadasXY, "eCoordenadasXY",
           "x: " + RealAGeneral(x) + ", y: " + RealAGeneral(y));
  if (const TMolino* molino = m->MolinoCercano(px, py); molino != nullptr) {
    Escribir(r, estado, &TTextosVentana::eMolino, "eMolino",
             "v: " + RealAFijoPrecision(VelocidadDePV3(molino->pv3_medio, DensidadEstandar), 6, 1) +
                 ", P:" + RealAFijoPrecision(molino->potencia, 6, 1));
  }
  return r;
}

TResultadoComando pb_Parque_originalMouseDown(TEstadoAplicacion& estado, std::int32_t px,
                                              std::int32_t py) {
  TResultadoComando r;
  const auto& m = estado.ModeloTeorico();
  if (!m) return r;
  TMolino* molino = m->MolinoCercano(px, py);
  estado.SeleccionarMolino(molino);
  if (molino == nullptr) return r;
  // 1.
  Escribir(r, estado, &TTextosVentana::eEthaMolino, "eEthaMolino", RealAGeneral(molino->etha));
  // 2.
  const NReal D = molino->curva->diametro;
  const TPosicion& p = molino->posicion;
  TRectanguloPx region;
  m->MundoAPixel(p.dx - D, p.dy + 6 * D, region.x1, region.y1);
  m->MundoAPixel(p.dx + 15 * D, p.dy - 6 * D, region.x2, region.y2);
  // 3. a rotor without size has nothing around it to copy.
  if (region.x2 > region.x1 && region.y2 > region.y1) r.copiar_region = region;
  return r;
}
