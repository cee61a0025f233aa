#include "ucomandos_calibracion.h"

#include <ostream>
#include <utility>

#include "carpetas.h"
#include "errores.h"
#include "numtext.h"
#include "ucalibrador.h"
#include "ugraficador.h"
#include "umapaparque.h"
#include "uparques_modelocombinado.h"
#include "uparques_modeloempirico.h"
#include "useriesgrafico.h"
#include "utokens.h"

namespace {

const char* const kSinCalibrador = "No hay un calibrador cargado.";
const char* const kSinModeloCombinado = "No hay un modelo combinado cargado.";

// Without a calibrator the simple calibration works through this list of centrals.
constexpr std::int32_t kCentralesEthaMeteoSimple[] = {8};

TCalibradorParque& CalibradorActual(TEstadoAplicacion& estado) {
  if (!estado.Calibrador()) throw Excepcion(kSinCalibrador);
  return *estado.Calibrador();
}

}  // namespace

void MostrarCalibrador(TEstadoAplicacion& estado, std::shared_ptr<TCalibradorParque> calibrador,
                       TResultadoComando& r) {
  std::shared_ptr<TParque_ModeloTeorico> modelo = calibrador->modelo_teorico;
  // The empirical model belongs to the calibrator: the state's view shares its ownership.
  std::shared_ptr<TParque_ModeloEmpirico> empirico;
  if (calibrador->modelo_empirico) {
    empirico =
        std::shared_ptr<TParque_ModeloEmpirico>(calibrador, calibrador->modelo_empirico.get());
  }
  estado.FijarModeloTeorico(modelo);
  estado.FijarCalibrador(std::move(calibrador), modelo, std::move(empirico));
  modelo->AjustarVista(0, kAltoBarraColores, kAnchoMapa, kAltoMapa);
  Escribir(r, estado, &TTextosVentana::Caption, "Caption",
           "Calibrador cargado, Parque: " + modelo->nombre);
  MostrarParametrosModelo(estado, r);
}

TResultadoComando CargarCalibrador(TEstadoAplicacion& estado, const std::string& archivo) {
  TResultadoComando r;
  std::shared_ptr<TCalibradorParque> c = TCalibradorParque::CrearDesdeArchivo(archivo);
  MostrarCalibrador(estado, std::move(c), r);
  return r;
}

TResultadoComando CargarModeloCombinado(TEstadoAplicacion& estado, const std::string& archivo) {
  TResultadoComando r;
  std::shared_ptr<TParque_ModeloCombinado> mc =
      TParque_ModeloCombinado::CrearDesdeArchivoMC(archivo);
  MostrarCalibrador(estado, mc, r);
  estado.FijarModeloCombinado(mc, mc->modelo_teorico);
  mc->EscribirComparacionCurvas(ArchivoBasura("compartivacurvas.xlt"));
  return r;
}

TResultadoComando btCargarCalibradorClick(TEstadoAplicacion& estado,
                                          const TArchivoElegido& archivo) {
  if (!archivo) return {};
  estado.archivo_calibrador = *archivo;
  return CargarCalibrador(estado, *archivo);
}

TResultadoComando btGuardarCalibradorClick(TEstadoAplicacion& estado,
                                           const TArchivoElegido& archivo) {
  TResultadoComando r;
  if (!estado.Calibrador() || !archivo) return r;
  LeerParametrosModelo(estado);
  estado.Calibrador()->GuardarEnArchivo(*archivo);
  return r;
}

TResultadoComando btCalibrarParqueClick(TEstadoAplicacion& estado, std::ostream* salida) {
  TResultadoComando r;
  // 1.
  if (!estado.ModeloTeorico())
    r = CargarCalibrador(estado, ArchivoBasura("calibrador_RURIZ A.clp"));
  // A model loaded without its series has nothing to calibrate against.
  TCalibradorParque& c = CalibradorActual(estado);
  if (salida != nullptr) c.FijarSalida(*salida);
  // 2.
  const NReal e = c.Calibrar({});
  // 3.
  Escribir(r, estado, &TTextosVentana::eErr2Calibrar, "eErr2Calibrar", RealAGeneral(e));
  // 4.
  c.GuardarEnArchivo(ArchivoBasura(
      "calibrador_" + ComponenteNombreArchivo(c.modelo_teorico->nombre) + "_FIN_.clp"));
  return r;
}

TResultadoComando btLoadFromArchi_ModeloMTySeriesClick(TEstadoAplicacion& estado,
                                                       std::ostream& salida) {
  TResultadoComando r;
  // 2. read before anything is released, so a mistyped number changes nothing.
  const std::int32_t central = TextoAEntero(estado.textos.eNidCentral);
  const std::int32_t inf = TextoAEntero(estado.textos.PorcentajeAjusteCurvaSinf);
  const std::int32_t sup = TextoAEntero(estado.textos.PorcentajeAjusteCurvaSsup);
  // 1.
  estado.LiberarModeloTeorico();
  estado.central = central;
  estado.porcentaje_ajuste_inf = inf;
  estado.porcentaje_ajuste_sup = sup;
  estado.rango_ajuste_leido = true;
  // 3.
  std::shared_ptr<TParque_ModeloTeorico> modelo =
      TParque_ModeloTeorico::CrearDesdeArchivo(ArchivoModeloTeorico(central));
  estado.FijarModeloTeorico(modelo);
  modelo->AjustarVista(0, kAltoBarraColores, kAnchoMapa, kAltoMapa);
  // 4.
  MostrarParametrosModelo(estado, r);
  // 5.
  // Its holders share it: the slot lets go, and it is freed once no other slot (the combined
  // model it may also be) holds it.
  estado.LiberarCalibrador();
  // 6.
  std::shared_ptr<TCalibradorParque> c = TCalibradorParque::CrearDesdeSeries(
      modelo, inf, sup, ArchivoCentral(central, "_series10min.sas"), salida);
  c->FijarSalida(salida);
  c->GuardarEnArchivo(ArchivoCalibrador(central));
  TResultadoComando m;
  MostrarCalibrador(estado, std::move(c), m);
  r.textos.insert(r.textos.end(), m.textos.begin(), m.textos.end());
  return r;
}

TResultadoComando CalibrarSimpleEthaMeteoClick(TEstadoAplicacion& estado, std::ostream& salida) {
  TResultadoComando r;
  if (estado.Calibrador()) {
    TCalibradorParque& c = *estado.Calibrador();
    (void)c.CalibrarEthaMeteoSimple();
    salida << "Calibración de EthaMeteo de la Central " << IntATexto(c.modelo_teorico->nid_central)
           << "terminada.\n"
           << std::flush;
    return r;
  }
  for (const std::int32_t central : kCentralesEthaMeteoSimple) {
    // Not shown: it stays apart from the window's objects.
    const auto c = TCalibradorParque::CrearDesdeArchivo(ArchivoCalibrador(central));
    c->FijarSalida(salida);
    (void)c->CalibrarEthaMeteoSimple();
    salida << "Calibración de EthaMeteo de la Central " << RealAGeneral(central) << "terminada.\n"
           << std::flush;
  }
  return r;
}

TResultadoComando btCalcularMCClick(TEstadoAplicacion& estado, std::ostream& salida) {
  TResultadoComando r;
  const std::int32_t central = TextoAEntero(estado.textos.eNidCentral);
  estado.central = central;
  std::shared_ptr<TParque_ModeloCombinado> mc =
      TParque_ModeloCombinado::CrearDesdeCalibrador(ArchivoCalibrador(central), salida);
  mc->FijarSalida(salida);
  mc->GuardarMC(ArchivoModeloCombinado(central));
  estado.FijarModeloCombinado(mc, mc->modelo_teorico);
  return r;
}

TResultadoComando btCargarMCClick(TEstadoAplicacion& estado, const TArchivoElegido& archivo) {
  if (!archivo) return {};
  return CargarModeloCombinado(estado, *archivo);
}

std::string ArchivoCurvasPotencia(NReal d) {
  return ArchivoBasura("curvas_MW_PE_MT_" + IntATexto(TruncToInt(100 * d)) + ".jpg");
}

TCurvasPotencia Button1Click(TEstadoAplicacion& estado) {
  TCurvasPotencia res;
  TCalibradorParque& c = CalibradorActual(estado);
  if (!estado.ModeloCombinado()) throw Excepcion(kSinModeloCombinado);
  if (!c.modelo_empirico) throw Excepcion(kSinCalibrador);
  TParque_ModeloCombinado& mc = *estado.ModeloCombinado();
  const TParque_ModeloEmpirico& me = *c.modelo_empirico;
  TParque_ModeloTeorico& mt = *c.modelo_teorico;
  // 1.
  const int n = me.Pv3Medio.n();
  TDAofNReal velocidades(static_cast<std::size_t>(n)), empirica(velocidades.size()),
      teorica(velocidades.size()), combinada(velocidades.size());
  // 2.
  const NReal d = StrToReal(estado.textos.eDir);
  LeerParametrosModelo(estado);
  // 3.
  for (int i = 1; i <= n; ++i) {
    const auto k = static_cast<std::size_t>(i - 1);
    const NReal v = VelocidadDePV3(me.Pv3Medio.elemento(i), DensidadEstandar);
    velocidades[k] = v;
    const NReal s = PV3(v, DensidadEstandar);
    mt.PrepararDireccion(d, false);
    bool convergido = false;
    NReal pv3_meteo = 0;
    NReal libre = 0;
    teorica[k] = mt.SimularDesdeAnemometro(mt.potencia_autorizada_mw, s, DensidadEstandar,
                                           convergido, pv3_meteo, libre);
    NReal peso = 0;
    empirica[k] = me.PotenciaBinada(DensidadEstandar, s, d, peso);
    NReal con_consigna = 0;
    NReal sin_consigna = 0;
    mc.PotenciaMC(1000000, DensidadEstandar, d, v, con_consigna, sin_consigna);
    combinada[k] = sin_consigna;
  }
  // 4.
  res.grafico = TGrafico::Crear("PE_Cluster", 2, 0);
  TGrafico& g = *res.grafico;
  g.titulo = "Potencias ME y MT para el ángulo: " + RealAFijoPrecision(d, 12, 1) + "°";
  g.ejeX->titulo = "Velocidad de viento [m/s]";
  g.ejeY->titulo = "Potencia eléctrica [MW]";
  // 5.
  TSerieGrafico* x = g.AgregarSerie(
      TSerieGrafico::Crear("v", std::move(velocidades), nullptr, nullptr, "##.##", true));
  auto ordenada = [&](const char* nombre, TDAofNReal valores, TColor linea, TColor marca) {
    TSerieGrafico* s =
        g.AgregarSerie(TSerieGrafico::Crear(nombre, std::move(valores), x, &g, "", false));
    s->colorLinea = linea;
    s->colorMarca = marca;
    s->tamMarca = 2;
  };
  ordenada("MW_ME", std::move(empirica), ColorRGB(0, 128, 0), ColorRGB(0, 128, 0));
  ordenada("MW_MT", std::move(teorica), ColorRGB(0, 0, 255), ColorRGB(0, 0, 255));
  ordenada("MW_MC", std::move(combinada), ninguno, ColorRGB(255, 0, 0));
  // 6.
  res.archivo_jpg = ArchivoCurvasPotencia(d);
  g.GuardarJPG(res.archivo_jpg, 2100, 100, 1000);
  return res;
}
