#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "fechas.h"
#include "matreal.h"
#include "xmatdefs.h"

// Error of a model against the measured farm power, accumulated per direction sector (rows) and
// wind-speed band (columns), for all samples and separately for day and night samples.
class TMatricesConErroresModelos {
 public:
  static std::unique_ptr<TMatricesConErroresModelos> Crear(
      std::int32_t n_sectores, std::int32_t n_tramos, NReal potencia_autorizada,
      std::int32_t hora_inicio_dia = 7, std::int32_t hora_fin_dia = 20,
      NReal rango_direcciones = 360, NReal velocidad_maxima = 25);

  // One sample: instant t, direction dir (degrees), station speed v (m/s), error e (MW). Samples
  // with a negative or non-finite direction or speed, or a non-finite error, are left out.
  void Acumular(TFechaHora t, NReal dir, NReal v, NReal e);
  // Computes the statistics and writes the twelve tables. The sums of squares become standard
  // deviations and the sums are scaled to MWh, so it is done once.
  void EscribirArchivo(const std::string& nombre);
  // The file content EscribirArchivo writes (after computing the statistics once).
  std::string Texto();
  void Liberar();

  // Sector and band of a direction and a speed; false when the sample has no cell.
  bool Celda(NReal dir, NReal v, int& s, int& b) const;
  // Day when hora_inicio_dia <= time of day < hora_fin_dia, the instant taken to the millisecond.
  [[nodiscard]] bool EsDeDia(TFechaHora t) const;

  std::int32_t n_sectores = 0, n_tramos = 0;
  NReal rango_direcciones = 360, ancho_sector = 0;
  NReal velocidad_maxima = 25, ancho_tramo = 0;
  std::int32_t hora_inicio_dia = 7, hora_fin_dia = 20;
  NReal potencia_autorizada = 0;

  // Index 0 total, 1 day, 2 night.
  struct TGrupo {
    TMatR cuenta{0, 0}, suma{0, 0}, suma_cuadrados{0, 0}, media{0, 0};
    NReal error_acumulado = 0, error_medio = 0, desviacion = 0;
  };
  std::array<TGrupo, 3> grupos;

  static constexpr NReal SinDatos = -99999999;

 private:
  TMatricesConErroresModelos() = default;
  void CalcularEstadisticas();
  bool calculadas_ = false;
};
