#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "fechas.h"
#include "matreal.h"
#include "xmatdefs.h"

// Equally spaced measured series read from a ".sas" file: a small header (optional version line,
// series count, start instant, period in hours, sample count, cycle, marks line from version 1,
// names) and one line per sample holding a leading number and one value per series.
class TSeriesDeDatos {
 public:
  // Reads the whole file or raises "No puedo abrir el archivo: " + name, or
  // "Error leyendo línea: " + the count of lines read in full.
  explicit TSeriesDeDatos(const std::string& archivo);
  // The same reading from an open text; `archivo` only names it.
  TSeriesDeDatos(std::istream& entrada, const std::string& archivo);
  static std::unique_ptr<TSeriesDeDatos> CrearDesdeArchivo(const std::string& archivo);

  TSeriesDeDatos(const TSeriesDeDatos&) = delete;
  TSeriesDeDatos& operator=(const TSeriesDeDatos&) = delete;
  TSeriesDeDatos(TSeriesDeDatos&&) = default;
  TSeriesDeDatos& operator=(TSeriesDeDatos&&) = default;
  ~TSeriesDeDatos() = default;

  // Instant of sample k (1-based).
  [[nodiscard]] TFechaHora FechaDeMuestra(int k) const;

  std::string Archivo;
  std::int32_t VersionFormato = 0;
  std::int32_t NSeries = 0;
  std::int32_t Anio = 0, Mes = 0, Dia = 0, Hora = 0, Minuto = 0, Segundo = 0;
  NReal PeriodoHoras = 0;
  std::int32_t NPuntos = 0;
  NReal PuntosPorCiclo = 0;
  // Series j of the file (1-based) is element j - 1 of Marcas, Nombres and Series.
  std::vector<bool> Marcas;
  std::vector<std::string> Nombres;
  std::vector<TVectR> Series;
  TFechaHora FechaInicio = 0;
  NReal PeriodoDias = 0;

 private:
  void Leer(std::istream& entrada);
};
