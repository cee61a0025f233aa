#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "ucomandos_modeloteorico.h"
#include "ugraficador.h"

// A file picked in a dialog, or nothing when the user cancelled it.
using TArchivoElegido = std::optional<std::string>;

// Makes the calibrator current with its theoretical and empirical models, fits the map, sets the
// caption "Calibrador cargado, Parque: " + the farm's name and writes the model's parameters into
// the parameter edits.
void MostrarCalibrador(TEstadoAplicacion& estado, std::shared_ptr<TCalibradorParque> calibrador,
                       TResultadoComando& r);
// The calibrator of a ".clp" file made current and shown.
TResultadoComando CargarCalibrador(TEstadoAplicacion& estado, const std::string& archivo);
// The combined model of a ".pmc" file made current, as combined model and as calibrator, shown, and
// its curve comparison written to "compartivacurvas.xlt" in the diagnostics folder.
TResultadoComando CargarModeloCombinado(TEstadoAplicacion& estado, const std::string& archivo);

// "Cargar Cal.": the calibrator of the file picked; nothing when the dialog was cancelled.
TResultadoComando btCargarCalibradorClick(TEstadoAplicacion& estado,
                                          const TArchivoElegido& archivo);
// "Guardar Cal.": the parameter edits into the model, then the calibrator to the file picked.
// Nothing without a calibrator or a file.
TResultadoComando btGuardarCalibradorClick(TEstadoAplicacion& estado,
                                           const TArchivoElegido& archivo);
// "Calibrar": without a model the fixed calibrator "calibrador_RURIZ A.clp" of the diagnostics
// folder is loaded first; refuses without a calibrator. The calibrated calibrator is saved as
// "calibrador_" + the farm's name + "_FIN_.clp" in the diagnostics folder. Given `salida`, the
// calibrator writes its progress lines there from now on.
TResultadoComando btCalibrarParqueClick(TEstadoAplicacion& estado, std::ostream* salida = nullptr);
// "Crear archivo .clp con MT y archivo .sas": the central's model file and measured series into a
// new calibrator, saved in the central's folder and shown. Reads the S-curve fit range.
TResultadoComando btLoadFromArchi_ModeloMTySeriesClick(TEstadoAplicacion& estado,
                                                       std::ostream& salida);
// "Calibración simple EthaMeteo": the table of the current calibrator, or, without one, of the
// saved calibrator of central 8.
TResultadoComando CalibrarSimpleEthaMeteoClick(TEstadoAplicacion& estado, std::ostream& salida);
// "Calcular MC": the combined model of the central's calibrator file, made current and saved in
// the central's folder.
TResultadoComando btCalcularMCClick(TEstadoAplicacion& estado, std::ostream& salida);
// "Cargar MC": the combined model of the file picked; nothing when the dialog was cancelled.
TResultadoComando btCargarMCClick(TEstadoAplicacion& estado, const TArchivoElegido& archivo);

// Theoretical, empirical and combined power against the wind speed for the direction in eDir.
struct TCurvasPotencia {
  TResultadoComando resultado;
  std::unique_ptr<TGrafico> grafico;
  std::string archivo_jpg;
};
// "Button1": the chart, written as "curvas_MW_PE_MT_" + trunc(100 d) + ".jpg" in the diagnostics
// folder. Refuses without a calibrator or a combined model.
TCurvasPotencia Button1Click(TEstadoAplicacion& estado);
// The chart file name for direction d (27000 for 270°).
std::string ArchivoCurvasPotencia(NReal d);
