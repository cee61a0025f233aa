#include "uComandosVentana.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <iostream>

#include "carpetas.h"
#include "errores.h"
#include "fechas.h"
#include "lienzo.h"
#include "uDezodudurAraRIVO.h"
#include "uFormatosQt.h"
#include "uPaintBox.h"
#include "ucomandos_calibracion.h"
#include "ucomandos_modeloteorico.h"
#include "ucomandos_restricciones.h"
#include "ugraficador.h"
#include "umapaparque.h"
#include "uparquedemo.h"
#include "urosx.h"

namespace {

// The edits the commands read, by name.
struct TCampoTexto {
  const char* control;
  std::string TTextosVentana::*campo;
};
constexpr TCampoTexto kCamposLeidos[] = {
    {"eDir", &TTextosVentana::eDir},
    {"eVAnemoEntrada", &TTextosVentana::eVAnemoEntrada},
    {"eAlfaTerreno", &TTextosVentana::eAlfaTerreno},
    {"eGamma_Atmosfera", &TTextosVentana::eGamma_Atmosfera},
    {"efpv3pe", &TTextosVentana::efpv3pe},
    {"eFactorPerdidasParque", &TTextosVentana::eFactorPerdidasParque},
    {"eLimiteDePotencia", &TTextosVentana::eLimiteDePotencia},
    {"eEthaMeteo", &TTextosVentana::eEthaMeteo},
    {"vientoparapot", &TTextosVentana::vientoparapot},
    {"eEthaMolino", &TTextosVentana::eEthaMolino},
    {"eNidCentral", &TTextosVentana::eNidCentral},
    {"PorcentajeAjusteCurvaSinf", &TTextosVentana::PorcentajeAjusteCurvaSinf},
    {"PorcentajeAjusteCurvaSsup", &TTextosVentana::PorcentajeAjusteCurvaSsup},
    {"NIDcentralesAunir", &TTextosVentana::NIDcentralesAunir},
    {"NIDcentralAnemo", &TTextosVentana::NIDcentralAnemo},
    {"NIDsupercentralBorrar", &TTextosVentana::NIDsupercentralBorrar},
};

}  // namespace

TComandosVentana::TComandosVentana(TFormDezodudurAraRIVO& ventana)
    : v_(ventana), estado_(TDBrosxCon::CrearDesdeEntorno()) {}

TComandosVentana::~TComandosVentana() = default;

void TComandosVentana::LeerTextos() {
  TTextosVentana& t = estado_.textos;
  for (const TCampoTexto& c : kCamposLeidos) t.*c.campo = v_.Texto(c.control);
  t.cbCambiarTodosLosRo = v_.cbCambiarTodosLosRo->isChecked();
  // Dates in the one form the commands read whatever the user's settings.
  t.FechaDesde = v_.FechaDesde->date().toString(Qt::ISODate).toStdString();
  t.FechaHasta = v_.FechaHasta->date().toString(Qt::ISODate).toStdString();
}

void TComandosVentana::Aplicar(const TResultadoComando& r) {
  for (const auto& [control, texto] : r.textos) v_.FijarTexto(control, texto);
  if (r.dibujar_mapas) {
    VelocidadesMT_To_PB(*v_.pb_Parque_original);
    VelocidadesMT_To_PB(*v_.pb_Parque_simple);
  }
  for (const std::string& m : r.mensajes) {
    if (v_.dialogos.mensaje) v_.dialogos.mensaje(m);
  }
}

void TComandosVentana::Orden(TResultadoComando (*orden)(TEstadoAplicacion&)) {
  LeerTextos();
  Aplicar(orden(estado_));
}

void TComandosVentana::CargarDemo() {
  estado_.FijarModeloTeorico(CrearParqueDemo());
  TResultadoComando r;
  MostrarParametrosModelo(estado_, r);
  Aplicar(r);
}

void TComandosVentana::btBajarParqueClick() {
  LeerTextos();
  // Its progress lines go to standard output, beside the window.
  Aplicar(::btBajarParqueClick(estado_, std::cout));
}
void TComandosVentana::btCalcularClick() {
  // Without a model, a calibrator picked now gives one.
  if (!estado_.ModeloTeorico()) {
    if (const auto archivo = v_.ElegirArchivo(v_.odCalibrador, kFiltroCalibrador, {}); archivo) {
      LeerTextos();
      Aplicar(::CargarCalibrador(estado_, *archivo));
    }
  }
  // The window catches up with pending input and shows the map blank while the model works.
  QCoreApplication::processEvents();
  if (estado_.ModeloTeorico()) v_.pb_Parque_original->Rellenar(Qt::white);
  Orden(::btCalcularClick);
}
void TComandosVentana::CalcularvientoClick() { Orden(::CalcularvientoClick); }
void TComandosVentana::btCambiar_roClick() { Orden(::btCambiar_roClick); }
void TComandosVentana::btUpdateMTinDBClick() { Orden(::btUpdateMTinDBClick); }

void TComandosVentana::btCargarCalibradorClick() {
  LeerTextos();
  Aplicar(
      ::btCargarCalibradorClick(estado_, v_.ElegirArchivo(v_.odCalibrador, kFiltroCalibrador, {})));
}
void TComandosVentana::btGuardarCalibradorClick() {
  // Without a calibrator there is nothing to save: no dialog either.
  if (!estado_.Calibrador()) return;
  LeerTextos();
  Aplicar(::btGuardarCalibradorClick(estado_,
                                     v_.ElegirArchivo(v_.sdCalibrador, kFiltroCalibrador, {})));
}
void TComandosVentana::btCalibrarParqueClick() { Orden(::btCalibrarParqueClick); }
void TComandosVentana::btLoadFromArchi_ModeloMTySeriesClick() {
  LeerTextos();
  Aplicar(::btLoadFromArchi_ModeloMTySeriesClick(estado_, std::cout));
}
void TComandosVentana::CalibrarSimpleEthaMeteoClick() {
  LeerTextos();
  Aplicar(::CalibrarSimpleEthaMeteoClick(estado_, std::cout));
}
void TComandosVentana::btCalcularMCClick() {
  LeerTextos();
  Aplicar(::btCalcularMCClick(estado_, std::cout));
}
void TComandosVentana::btCargarMCClick() {
  LeerTextos();
  Aplicar(
      ::btCargarMCClick(estado_, v_.ElegirArchivo(v_.odCalibrador, kFiltroModeloCombinado, {})));
}
void TComandosVentana::Button1Click() {
  LeerTextos();
  const TCurvasPotencia c = ::Button1Click(estado_);
  Aplicar(c.resultado);
  TPaintBox& pb = *v_.PaintBox1;
  const std::unique_ptr<TLienzo> lienzo = TLienzo::Crear(pb.width(), pb.height());
  c.grafico->Dibujar(*lienzo, pb.width(), pb.height());
  pb.MostrarImagen(ImagenDeLienzo(*lienzo));
}

// The series dialog opens in the calibrator's central folder; without a calibrator the command
// refuses before any dialog.
TArchivoElegido TComandosVentana::ElegirSeries() {
  if (!estado_.ModeloDelCalibrador()) return std::nullopt;
  return v_.ElegirArchivo(v_.odProcesarSeries, kFiltroSeries,
                          CarpetaCentral(estado_.ModeloDelCalibrador()->nid_central));
}
void TComandosVentana::btProcesarSeriesConMCClick() {
  LeerTextos();
  if (!estado_.ModeloDelCalibrador() || !estado_.ModeloCombinado()) {
    (void)::btProcesarSeriesConMCClick(estado_, std::nullopt, std::cout);
  }
  (void)::btProcesarSeriesConMCClick(estado_, ElegirSeries(), std::cout);
}
void TComandosVentana::btProcesarRestriccionesClick() {
  LeerTextos();
  if (!estado_.ModeloDelCalibrador()) {
    (void)::btProcesarRestriccionesClick(estado_, std::nullopt, std::cout);
  }
  (void)::btProcesarRestriccionesClick(estado_, ElegirSeries(), std::cout);
}
void TComandosVentana::CrearSupercentralClick() {
  LeerTextos();
  Aplicar(::CrearSupercentralClick(estado_, std::cout));
}
void TComandosVentana::BorrarSupercentralClick() {
  LeerTextos();
  Aplicar(::BorrarSupercentralClick(estado_, v_.dialogos.confirmar));
}

void TComandosVentana::VelocidadesMT_To_PB(TPaintBox& pb) {
  // Without a current model there is nothing to draw: stop quietly.
  if (!estado_.ModeloTeorico()) return;
  const std::unique_ptr<TLienzo> lienzo = TLienzo::Crear(pb.width(), pb.height());
  ::VelocidadesMT_To_PB(estado_.ModeloTeorico().get(), *lienzo);
  pb.MostrarImagen(ImagenDeLienzo(*lienzo));
}

std::optional<TLecturaRaton> TComandosVentana::LecturaRaton(int x, int y) {
  const TResultadoComando r = pb_Parque_originalMouseMove(estado_, x, y);
  const std::string* coordenadas = r.Texto("eCoordenadasXY");
  if (coordenadas == nullptr) return std::nullopt;
  TLecturaRaton l{*coordenadas, std::nullopt};
  if (const std::string* molino = r.Texto("eMolino"); molino != nullptr) l.molino = *molino;
  return l;
}

std::optional<TSeleccionMolino> TComandosVentana::SeleccionarMolino(int x, int y) {
  const TResultadoComando r = pb_Parque_originalMouseDown(estado_, x, y);
  const std::string* etha = r.Texto("eEthaMolino");
  if (etha == nullptr) return std::nullopt;
  TSeleccionMolino s{*etha};
  if (r.copiar_region) {
    s.x1 = r.copiar_region->x1;
    s.y1 = r.copiar_region->y1;
    s.x2 = r.copiar_region->x2;
    s.y2 = r.copiar_region->y2;
  } else {
    s.x2 = s.x1 - 1;  // nothing to copy
  }
  return s;
}

void TComandosVentana::FormClose() { estado_.Cerrar(); }
