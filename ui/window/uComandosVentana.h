#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "ucomandos_calibracion.h"
#include "uestadoaplicacion.h"

struct TResultadoComando;
class TFormDezodudurAraRIVO;
class TPaintBox;

// Filters of the file dialogs. The combined-model dialog lists ".pmc" first: the files it opens
// are combined models, although the dialog is the calibrators' one.
inline const QStringList kFiltroCalibrador{QStringLiteral("*.clp")};
inline const QStringList kFiltroModeloCombinado{QStringLiteral("*.pmc"), QStringLiteral("*.clp")};
inline const QStringList kFiltroSeries{QStringLiteral("*.sas")};

// What the mouse over a map shows: the position, and the turbine under it when one is near.
struct TLecturaRaton {
  std::string coordenadas;
  std::optional<std::string> molino;
};

// A turbine picked on a map: its etha and the region of the map around it (pixels, inclusive).
struct TSeleccionMolino {
  std::string etha;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The window's side of every command: reads the edits a command takes, runs it over the
// application state and writes back what it shows. Handlers of the window call one method each.
// Virtual so tests can stand in for the commands.
class TComandosVentana {
 public:
  explicit TComandosVentana(TFormDezodudurAraRIVO& ventana);
  virtual ~TComandosVentana();
  TComandosVentana(const TComandosVentana&) = delete;
  TComandosVentana& operator=(const TComandosVentana&) = delete;

  // Theoretical model
  virtual void btBajarParqueClick();
  virtual void btCalcularClick();
  virtual void CalcularvientoClick();
  virtual void btCambiar_roClick();
  virtual void btUpdateMTinDBClick();
  // Calibration and combined model
  virtual void btCargarCalibradorClick();
  virtual void btGuardarCalibradorClick();
  virtual void btCalibrarParqueClick();
  virtual void btLoadFromArchi_ModeloMTySeriesClick();
  virtual void CalibrarSimpleEthaMeteoClick();
  virtual void btCalcularMCClick();
  virtual void btCargarMCClick();
  virtual void Button1Click();
  // Restrictions and supercentrals
  virtual void btProcesarSeriesConMCClick();
  virtual void btProcesarRestriccionesClick();
  virtual void CrearSupercentralClick();
  virtual void BorrarSupercentralClick();

  // Maps: drawing at the box's size, the read-outs under the mouse (nothing without a model) and
  // the turbine picked with a mouse button (nothing when none is near).
  virtual void VelocidadesMT_To_PB(TPaintBox& pb);
  virtual std::optional<TLecturaRaton> LecturaRaton(int x, int y);
  virtual std::optional<TSeleccionMolino> SeleccionarMolino(int x, int y);

  // Closing the window: the current objects go before the gateway connection.
  virtual void FormClose();

  // Makes the built-in demonstration farm the current model and shows its parameters.
  void CargarDemo();

  TEstadoAplicacion& Estado() { return estado_; }
  // Where the commands write their progress lines: standard output, and the window's status bar
  // while work runs. It outlives the state, whose models keep writing to it.
  std::ostream& Salida() { return salida_; }

 protected:
  TFormDezodudurAraRIVO& v_;

 private:
  // The edits the commands read go into the state first; what a command wrote comes back.
  void LeerTextos();
  void Aplicar(const TResultadoComando& r);
  void Orden(TResultadoComando (*orden)(TEstadoAplicacion&));
  TArchivoElegido ElegirSeries();
  // Reads the edits, then runs `orden` off the window's thread; its result is applied at the end.
  void EnSegundoPlano(const std::string& titulo,
                      std::function<TResultadoComando(TEstadoAplicacion&, std::ostream&)> orden);

  std::unique_ptr<std::streambuf> progreso_;
  std::ostream salida_;
  TEstadoAplicacion estado_;
};
