#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "fechas.h"
#include "ucalcrestriccionesoperativas.h"
#include "ucomandos_calibracion.h"

// A date typed as day/month/year ("28/10/2015", separators '/', '-' or '.') or year-month-day
// ("2015-10-28"), as a day number.
TFechaHora LeerFecha(const std::string& texto);

// "Procesar seris con MC.": the combined model over the measured series from FechaDesde to
// FechaHasta (the last day counts only its first sample), in the calibrator's central folder. The
// series file is the central's own unless one is picked. Refuses without a calibrator or a combined
// model, and when they belong to different farms. Returns the energy not supplied (MWh).
NReal btProcesarSeriesConMCClick(TEstadoAplicacion& estado, const TArchivoElegido& archivo_series,
                                 std::ostream& salida);

// "Calcular solo las R.O.": the restriction periods of the series picked, from FechaDesde to the
// end of FechaHasta, with the calibrator's central's combined model file; nothing when the dialog
// was cancelled. Refuses without a calibrator.
std::vector<TResumenPeriodo> btProcesarRestriccionesClick(TEstadoAplicacion& estado,
                                                          const TArchivoElegido& archivo_series,
                                                          std::ostream& salida);

// "Crear supercentral": the supercentral of the centrals in NIDcentralesAunir with the station of
// NIDcentralAnemo, saved as model and calibrator in its folder and made current (not shown). Its
// measured series must already be in that folder.
TResultadoComando CrearSupercentralClick(TEstadoAplicacion& estado, std::ostream& salida);

// Yes/No question (caption, text); true for Yes.
using TConfirmar = std::function<bool(const std::string& titulo, const std::string& texto)>;

// "Borrar supercentral": after confirmation, the model rows of NIDsupercentralBorrar and the
// turbine rows of its newest model; the current model and calibrator go.
TResultadoComando BorrarSupercentralClick(TEstadoAplicacion& estado, const TConfirmar& confirmar);
