#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "matreal.h"
#include "xmatdefs.h"

// Wind power density pv3 = 0.5 * rho * v^3 / 1e6 (MW/m2): the wind quantity the models compare and
// interpolate. 1.225 kg/m3 is the standard density wherever a speed is entered.
inline constexpr NReal DensidadEstandar = 1.225;

class TDataSetGenerico;
class TDBrosxCon;
class TLectorBloques;

NReal PV3(NReal v, NReal rho);
// Inverse of PV3; a negative density gives the negative speed whose PV3 it is.
NReal VelocidadDePV3(NReal p, NReal rho);
// Multiplier of turbine power for the air density; exactly 1 at the standard density.
NReal FactorDensidad(NReal rho);
// Air density (kg/m3) from temperature (C), pressure (hPa) and relative humidity (%); 1.18 when the
// estimate falls outside the plausible 1.1..1.3 (or is not a number).
NReal DensidadAire(NReal t, NReal p, NReal h);
NReal Norma2D(NReal x, NReal y);

// Power curve of one turbine model: speeds (m/s) and powers (MW) with the rotor diameter (m). Power
// is looked up by wind power density, linear in pv3 between points.
class TCurvaAerogen {
 public:
  // Speeds must be finite and strictly ascending, powers finite, both of the same count (>= 2).
  TCurvaAerogen(std::int32_t id, std::string nombre_modelo, NReal diametro_rotor,
                TVectR velocidades, TVectR potencias);
  TCurvaAerogen(std::int32_t id, std::string nombre_modelo, NReal diametro_rotor,
                const TDAofNReal& velocidades, const TDAofNReal& potencias);
  TCurvaAerogen(const TCurvaAerogen&) = delete;
  TCurvaAerogen& operator=(const TCurvaAerogen&) = delete;
  TCurvaAerogen(TCurvaAerogen&&) = default;
  TCurvaAerogen& operator=(TCurvaAerogen&&) = default;
  ~TCurvaAerogen() = default;

  static std::unique_ptr<TCurvaAerogen> CrearCopia(const TCurvaAerogen& otra);
  // The curve text block: nid, modelo, diametro, curva_v and curva_P in the vector file form.
  static std::unique_ptr<TCurvaAerogen> CrearDesdeTexto(TLectorBloques& lector);
  static std::unique_ptr<TCurvaAerogen> CrearDesdeTexto(std::istream& archivo);
  void EscribirTexto(std::ostream& archivo) const;
  // From a curvas_aerogen record; the speeds and powers are held in the vector text form.
  static std::unique_ptr<TCurvaAerogen> CrearDesdeRegistro(TDataSetGenerico& r);
  static std::unique_ptr<TCurvaAerogen> CrearDesdeDB(TDBrosxCon& conexion, std::int32_t id);

  // Power (MW) for the power density x; 0 below the first point and above the last (cut-out).
  [[nodiscard]] NReal PotenciaDePV3(NReal x) const;
  // Adds the other curves' powers at this curve's pv3 points, then recomputes the characteristics.
  void SumarCurvas(const std::vector<const TCurvaAerogen*>& otras);

  void PrepararCurva();
  void CalcularCaracteristicas();

  std::int32_t nid = 0;
  std::string modelo;
  NReal diametro = 0;
  std::int32_t n = 0;
  TVectR curva_v;
  TVectR curva_P;
  TVectR pv3;
  NReal pv3_min = 0, pv3_max = 0;
  NReal P_max = 0;
  std::int32_t k_P_max = 0;
  NReal v_P_max = 0, pv3_P_max = 0;
  std::int32_t k_arranque = 0;
  NReal v_arranque = 0, pv3_arranque = 0;
  NReal area = 0;
  // Logistic fit of the rising part: P(v) = P_max / (1 + exp(-alfa_s (v - vm_s))).
  NReal alfa_s = 0;
  NReal vm_s = 0;
  NReal err2_s = 0;
  std::int32_t n_s = 0;

 private:
  [[nodiscard]] std::string Nombre() const;
  void Validar() const;
};
