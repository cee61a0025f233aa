#include "uComandosVentana.h"

#include "errores.h"
#include "uDezodudurAraRIVO.h"
#include "uPaintBox.h"
#include "urosx.h"

namespace {

// Commands whose computation is not part of this build yet say so instead of doing nothing.
[[noreturn]] void NoDisponible(const char* orden) {
  throw Excepcion(std::string("La orden ") + orden + " no está disponible todavía.");
}

}  // namespace

TComandosVentana::TComandosVentana(TFormDezodudurAraRIVO& ventana)
    : v_(ventana), conexion_(TDBrosxCon::CrearDesdeEntorno()) {}

TComandosVentana::~TComandosVentana() = default;

void TComandosVentana::btBajarParqueClick() { NoDisponible("btBajarParqueClick"); }
void TComandosVentana::btCalcularClick() { NoDisponible("btCalcularClick"); }
void TComandosVentana::CalcularvientoClick() { NoDisponible("CalcularvientoClick"); }
void TComandosVentana::btCambiar_roClick() { NoDisponible("btCambiar_roClick"); }
void TComandosVentana::btUpdateMTinDBClick() { NoDisponible("btUpdateMTinDBClick"); }

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

// Without a current model there is nothing to draw: stop quietly.
void TComandosVentana::VelocidadesMT_To_PB(TPaintBox& /*pb*/) {}
std::optional<TLecturaRaton> TComandosVentana::LecturaRaton(int /*x*/, int /*y*/) {
  return std::nullopt;
}
std::optional<TSeleccionMolino> TComandosVentana::SeleccionarMolino(int /*x*/, int /*y*/) {
  return std::nullopt;
}

void TComandosVentana::FormClose() { conexion_.reset(); }
