#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fechas.h"
#include "matreal.h"
#include "xmatdefs.h"

class TParque_ModeloTeorico;

// Power of a theoretical model tabulated against the station direction and the station speed at
// the standard density (0 to 30 m/s), linear in both. Building it runs the farm computation once
// per table point, so a year of samples costs a few thousand farm computations instead of one per
// sample; a coarser table is cheaper still and is as good a generating model for tests.
class TTablaPotencia {
 public:
  explicit TTablaPotencia(TParque_ModeloTeorico& modelo, int n_direcciones = 36,
                          NReal paso_velocidad = 0.5);
  // Farm power (MW) at the standard density for a station direction (any real) and speed.
  [[nodiscard]] NReal Potencia(NReal direccion, NReal velocidad) const;

  static constexpr NReal VelocidadMaxima = 30;

 private:
  int nd_;
  NReal paso_;
  int nv_;
  std::vector<NReal> p_;  // row-major: direction, then speed
};

// What a generated series holds besides the clean samples of the synthetic climate.
struct TOpcionesGenerador {
  std::uint64_t semilla = 1;
  int anio = 2015, mes = 1, dia = 1;
  int n_muestras = 52560;  // a year of 10-minute samples
  NReal weibull_a = 8.5;   // m/s
  NReal weibull_k = 2.0;
  NReal ruido = 0.01;           // standard deviation of the power noise, per unit of PAut
  bool huecos = false;          // samples with every value missing (-9999)
  bool trabados = false;        // stretches of a stuck speed or direction sensor
  bool disponibilidad = false;  // stretches with turbines out of service
  bool consignas = false;       // set-point periods below the authorised power
};

// Writes a ".sas" file of nine 10-minute series (Vel, Ang, PE, Temp, Pre, HumRel, CGM, fDisp and
// the noise-free power of the model) for the model and a seeded synthetic wind climate. The same
// options and model give the same file. Raises ExcepcionES when the file cannot be written.
void GenerarSeries(const TTablaPotencia& tabla, const TParque_ModeloTeorico& modelo,
                   const TOpcionesGenerador& o, const std::string& archivo);
