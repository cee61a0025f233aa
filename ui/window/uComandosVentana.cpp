#include "uComandosVentana.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <iostream>

#include "errores.h"
#include "fechas.h"
#include "lienzo.h"
#include "uDezodudurAraRIVO.h"
#include "uFormatosQt.h"
#include "uPaintBox.h"
#include "ucomandos_modeloteorico.h"
#include "umapaparque.h"
#include "uparquedemo.h"
#include "urosx.h"

namespace {

// Commands whose computation is not part of this build yet say so instead of doing nothing.
[[noreturn]] void NoDisponible(const char* orden) {
  throw Excepcion(std::string("La orden ") + orden + " no está disponible todavía.");
}

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
  // Dates as the user's settings write them, like any other typed text.
  t.FechaDesde = FechaHoraATexto(DiaDeFecha(v_.FechaDesde->date()));
  t.FechaHasta = FechaHoraATexto(DiaDeFecha(v_.FechaHasta->date()));
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
  // The window catches up with pending input and shows the map blank while the model works.
  QCoreApplication::processEvents();
  if (estado_.ModeloTeorico()) v_.pb_Parque_original->Rellenar(Qt::white);
  Orden(::btCalcularClick);
}
void TComandosVentana::CalcularvientoClick() { Orden(::CalcularvientoClick); }
void TComandosVentana::btCambiar_roClick() { Orden(::btCambiar_roClick); }
void TComandosVentana::btUpdateMTinDBClick() { Orden(::btUpdateMTinDBClick); }

void TComandosVentana::btCargarCalibradorClick() { NoDisponible("btCargarCalibradorClick"); }
void TComandosVentana::btGuardarCalibradorClick() { NoDisponible("btGuardarCalibradorClick"); }
void TComandosVentana::btCalibrarParqueClick() { NoDisponible("btCalibrarParqueClick"); }
void TComandosVentana::btLoadFromArchi_ModeloMTySeriesClick() {
  NoDisponible("btLoadFromArchi_ModeloMTySeriesClick");
}
void TComandosVentana::CalibrarSimpleEthaMeteoClick() {
  NoDisponible("CalibrarSimpleEthaMeteoClick");
}
void TComandosVentana::btCalcularMCClick() { NoDisponible("btCalcularMCClick"); }
void TComandosVentana::btCargarMCClick() { NoDisponible("btCargarMCClick"); }
void TComandosVentana::Button1Click() { NoDisponible("Button1Click"); }

void TComandosVentana::btProcesarSeriesConMCClick() { NoDisponible("btProcesarSeriesConMCClick"); }
void TComandosVentana::btProcesarRestriccionesClick() {
  NoDisponible("btProcesarRestriccionesClick");
}
void TComandosVentana::CrearSupercentralClick() { NoDisponible("CrearSupercentralClick"); }
void TComandosVentana::BorrarSupercentralClick() { NoDisponible("BorrarSupercentralClick"); }

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
