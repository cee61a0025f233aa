#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "uestadoaplicacion.h"

// A pixel rectangle, both corners included.
struct TRectanguloPx {
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// What a command shows: the edits it wrote (control name and new text, in the order written; the
// state's texts already hold them), the messages for the user, whether both maps must be drawn
// again from the current model, and the part of the clicked map to put on the clipboard.
struct TResultadoComando {
  std::vector<std::pair<std::string, std::string>> textos;
  std::vector<std::string> mensajes;
  bool dibujar_mapas = false;
  std::optional<TRectanguloPx> copiar_region;

  // The last text written to the control, or nothing when the command left it alone.
  [[nodiscard]] const std::string* Texto(std::string_view control) const;
};

// Loads the theoretical model of the central typed in eNidCentral from the database (its model
// rows are created the first time) and writes it to the central's model file; the progress lines
// go to `salida`. The current model is released first, and with it a calibrator or combined model
// that works on it. Neither draws nor fills the parameter edits.
TResultadoComando btBajarParqueClick(TEstadoAplicacion& estado, std::ostream& salida);

// Writes the current calibrator's theoretical model (turbine ethas and parameters as last applied)
// to the database. Refuses without a calibrator.
TResultadoComando btUpdateMTinDBClick(TEstadoAplicacion& estado);

// The message shown when the requested power is above the farm's authorised power.
std::string MensajePotenciaAutorizada(NReal potencia_autorizada_mw);

// The parameter edits into the current model: alfa_terreno, gamma_atmosfera, fpv3pe,
// factor_perdidas, potencia_autorizada_mw and meteo_etha (vector text form). Every text is read
// before any value changes, so a mistyped one leaves the model as it was. A meteo_etha of the
// same length is copied into the existing vector, so references to its elements stay valid.
void LeerParametrosModelo(TEstadoAplicacion& estado);

// Sets an edit's text in the state and records it for the window.
void Escribir(TResultadoComando& r, TEstadoAplicacion& estado, std::string TTextosVentana::*campo,
              const char* control, std::string texto);

// The current model's parameters into the parameter edits, in the current number format.
void MostrarParametrosModelo(TEstadoAplicacion& estado, TResultadoComando& r);

// Simulation for the station wind typed in eVAnemoEntrada and eDir: the free wind, the theoretical
// power and the station speed the model reproduces, and the calibrator's empirical binned power
// with the number of samples behind it. The power limit is the calibrator's model's authorised
// power; without a calibrator the model's own, and the empirical figures are left as they were.
// Refuses without a theoretical model.
TResultadoComando btCalcularClick(TEstadoAplicacion& estado);

// Free wind at which the farm yields the power typed in vientoparapot, for the direction of the
// last simulation; a power the farm cannot reach gives the authorised-power message instead.
// Refuses without a model prepared for a direction.
TResultadoComando CalcularvientoClick(TEstadoAplicacion& estado);

// eEthaMolino into every turbine (box ticked) or into the selected one. Nothing is recomputed.
TResultadoComando btCambiar_roClick(TEstadoAplicacion& estado);

// Mouse over a map at (px, py): the position in metres and, near a turbine, its speed and power.
TResultadoComando pb_Parque_originalMouseMove(TEstadoAplicacion& estado, std::int32_t px,
                                              std::int32_t py);
// Mouse down on a map: selects the turbine near the pixel (or nothing), shows its etha and names
// the part of the map around it, from one diameter west to fifteen east and six north to six
// south, for the clipboard.
TResultadoComando pb_Parque_originalMouseDown(TEstadoAplicacion& estado, std::int32_t px,
                                              std::int32_t py);
