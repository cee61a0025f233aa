#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "matreal.h"
#include "ucalibrador.h"
#include "xmatdefs.h"

// The theoretical farm power corrected by the ratio of empirical to theoretical power per direction
// sector and power-density bin, measured where the series are dense enough and smoothed in from
// the neighbouring cells elsewhere.
class TParque_ModeloCombinado : public TCalibradorParque {
 public:
  // A calibrator file, and the correction built from it (progress lines to `salida`).
  static std::unique_ptr<TParque_ModeloCombinado> CrearDesdeCalibrador(
      const std::string& nombre_clp, std::ostream& salida);
  static std::unique_ptr<TParque_ModeloCombinado> CrearDesdeCalibrador(
      const std::string& nombre_clp);
  // A combined model file: the calibrator file followed by the correction matrix.
  static std::unique_ptr<TParque_ModeloCombinado> CrearDesdeArchivoMC(
      const std::string& nombre_pmc);
  // Written whole to a temporary file beside it and renamed over it.
  void GuardarMC(const std::string& nombre_pmc) const;

  void ConstruirCorreccion();
  // Combined power of one sample: set-point cgm (MW; 1000000 for none), air density rho (kg/m3),
  // station direction dir (degrees) and speed v (m/s). p_con_consigna with the set-point applied,
  // p_sin_consigna what the farm could have given without it; both capped at the authorised power.
  void PotenciaMC(NReal cgm, NReal rho, NReal dir, NReal v, NReal& p_con_consigna,
                  NReal& p_sin_consigna);

  // Sectors by rows, power-density bins by columns.
  TMatR correccion{0, 0};

  // Cells need this many samples, and a theoretical power above this many MW, to give a ratio.
  static constexpr int MinMuestrasCelda = 10;
  static constexpr NReal MinPotenciaCelda = 1;

 private:
  TParque_ModeloCombinado() = default;
};
