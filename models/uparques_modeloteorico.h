#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "matreal.h"
#include "ucurvasaeros.h"
#include "xmatdefs.h"

class TDataSetGenerico;
class TDBrosxCon;
class TLectorBloques;

// Position of a turbine: UTM coordinates, offset from the meteorological station, and its place in
// the rotated grid of the prepared direction.
class TPosicion {
 public:
  TPosicion() = default;
  // From the offset east and north of the station (m).
  TPosicion(NReal desp_x, NReal desp_y);
  // From UTM coordinates; the offset stays 0 until the park computes it.
  TPosicion(std::int32_t huso, char zona, NReal este, NReal norte);
  // Two lines: dx TAB dy, then huso_utm TAB zona_utm TAB xe TAB yn.
  static TPosicion CrearDesdeTexto(TLectorBloques& lector);
  void EscribirTexto(std::ostream& archivo) const;

  std::int32_t huso_utm = 0;
  char zona_utm = ' ';
  NReal xe = 0, yn = 0;
  NReal dx = 0, dy = 0;
  // Rotated frame: xr across the wind, yr along it (growing downwind).
  NReal xr = 0, yr = 0;
  std::int32_t fila = 0;
  std::int32_t col_ini = 0, col_fin = 0;
};

// One turbine with its own copy of its power curve.
class TMolino {
 public:
  TMolino(std::int32_t id, std::int32_t numero, std::int32_t id_curva, std::int32_t id_central,
          std::unique_ptr<TCurvaAerogen> curva_propia, NReal etha_molino, TPosicion pos);
  TMolino(const TMolino&) = delete;
  TMolino& operator=(const TMolino&) = delete;
  TMolino(TMolino&&) = default;
  TMolino& operator=(TMolino&&) = default;
  ~TMolino() = default;

  static std::unique_ptr<TMolino> CrearCopia(const TMolino& otro);
  // From a molinos record; its curve comes from the database (one query per turbine).
  static std::unique_ptr<TMolino> CrearDesdeRegistro(TDBrosxCon& conexion, TDataSetGenerico& r);
  // The turbine block: nid, nid_curvaaero, nidcentral, position, curve, etha (nro is not kept).
  static std::unique_ptr<TMolino> CrearDesdeTexto(TLectorBloques& lector);
  static std::unique_ptr<TMolino> CrearDesdeTexto(std::istream& archivo);
  void EscribirTexto(std::ostream& archivo) const;

  // Takes the turbine's power from grid row r when r is its row, and leaves its wake in that row.
  void AplicarEnFila(TMatR& grilla, int r, NReal rho, NReal factor_ajuste, NReal fp);

  std::int32_t nid = 0;
  std::int32_t nro = 0;
  std::int32_t nid_curvaaero = 0;
  std::int32_t nidcentral = 0;
  std::unique_ptr<TCurvaAerogen> curva;
  NReal etha = 1;
  TPosicion posicion;
  NReal pv3_medio = 0;
  NReal potencia = 0;
};

// Pixel/metre mapping of the park map: the pixel rectangle and the world window, in metres east
// and north of the station, drawn in it.
struct TVista {
  std::int32_t px_izq = 0, px_arr = 0, px_der = 0, px_aba = 0;
  std::int32_t ancho_px = 0, alto_px = 0;
  NReal x_min = 0, x_max = 0, y_min = 0, y_max = 0;
  NReal ancho_m = 0, alto_m = 0;
};

// Physical model of one wind farm on a grid aligned with the wind. All wind quantities are power
// densities pv3 (MW/m2); powers in MW, lengths in m, directions in degrees (where the wind comes
// from, clockwise from north).
class TParque_ModeloTeorico {
 public:
  // A new model of the given turbines with the default parameters (the ones a new farm gets);
  // potencia_nominal starts equal to the authorised power. Every constructor ends here or with
  // PrepararDerivados after filling the fields.
  static std::unique_ptr<TParque_ModeloTeorico> Crear(std::string nombre_parque,
                                                      std::vector<std::unique_ptr<TMolino>> lista,
                                                      NReal potencia_autorizada);
  // A whole independent copy, grid and last simulation included: it gives the same numbers.
  static std::unique_ptr<TParque_ModeloTeorico> CrearCopia(const TParque_ModeloTeorico& otro);

  // The model of the central on the current record of `c` (a centrales record); the model rows
  // are created with the default parameters the first time.
  static std::unique_ptr<TParque_ModeloTeorico> CrearDesdeDB(TDBrosxCon& conexion,
                                                             TDataSetGenerico& c);
  // The supercentral of the centrales in `lista`, with the station of central `central_meteo`;
  // its identifier joins theirs in decimal pairs (20, 21, 28 give 202128).
  static std::unique_ptr<TParque_ModeloTeorico> CrearSuperparque(
      TDBrosxCon& conexion, std::int32_t central_meteo, const std::vector<std::int32_t>& lista);
  // Writes every turbine's etha and every parameter to the model's rows; raises at the first
  // statement that fails.
  void ActualizarEnDB(TDBrosxCon& conexion) const;

  // The theoretical model text block (versions 1 to 3 read, version 3 written).
  static std::unique_ptr<TParque_ModeloTeorico> CrearDesdeTexto(TLectorBloques& lector);
  static std::unique_ptr<TParque_ModeloTeorico> CrearDesdeTexto(
      std::istream& archivo, const std::string& nombre_archivo = {});
  void EscribirTexto(std::ostream& archivo) const;
  static std::unique_ptr<TParque_ModeloTeorico> CrearDesdeArchivo(const std::string& archivo);
  // Written whole to a temporary file beside it and renamed over it: a failure leaves the previous
  // file as it was.
  void GuardarEnArchivo(const std::string& archivo) const;
  static constexpr std::int32_t VersionArchivo = 3;

  TParque_ModeloTeorico(const TParque_ModeloTeorico&) = delete;
  TParque_ModeloTeorico& operator=(const TParque_ModeloTeorico&) = delete;
  TParque_ModeloTeorico(TParque_ModeloTeorico&&) = default;
  TParque_ModeloTeorico& operator=(TParque_ModeloTeorico&&) = default;
  ~TParque_ModeloTeorico() = default;

  [[nodiscard]] std::int32_t n_molinos() const { return static_cast<std::int32_t>(molinos.size()); }

  void CalcularPosicionesRelativas();
  void PrepararDerivados();
  // Station correction for a direction: the Fourier series held in meteo_etha.
  [[nodiscard]] NReal EthaMeteo(NReal direccion) const;
  void PrepararDireccion(NReal direccion, bool sin_etha_meteo);
  [[nodiscard]] bool DireccionPreparada() const { return grilla != nullptr; }

  // One farm computation for the free-stream pv3; returns the park power and the station pv3.
  NReal Simular(NReal limite, NReal pv3_libre_entrada, NReal rho, NReal& pv3_meteo);
  // The farm computation for a measured station pv3.
  NReal SimularDesdeAnemometro(NReal limite, NReal pv3_meteo, NReal rho, bool& convergido,
                               NReal& pv3_meteo_simulado, NReal& pv3_libre_salida);
  // Free wind speed (m/s, standard density) at which the farm yields the target power; -11 when
  // the target cannot be reached.
  NReal VientoParaPotencia(NReal potencia_objetivo);
  // Grid value at an offset east and north of the station (m), bilinear; 0 outside the grid.
  [[nodiscard]] NReal PV3EnPunto(NReal x, NReal y) const;
  // meteo_etha(1..n), then factor_perdidas.
  TDAOfNRealPtr ParametrosCalibrables();

  // Row step and turbine step of a pass (exposed for the map and the measurements).
  void PropagarFila(int r);
  void AplicarMolinosEnFila(int r, NReal rho, NReal factor_ajuste);

  std::int32_t nid_central = 0;
  std::int32_t nid_modelo_teorico = 0;
  std::string nombre;
  std::int32_t n_sectores_dir = 72;
  std::vector<std::unique_ptr<TMolino>> molinos;
  std::unique_ptr<TCurvaAerogen> curva_parque;

  char meteo_utm_zona = ' ';
  std::int32_t meteo_utm_huso = 0;
  NReal meteo_utm_xe = 0, meteo_utm_yn = 0;
  NReal meteo_cota = 0;

  NReal xr_min = 0, xr_max = 0, yr_min = 0, yr_max = 0;
  NReal celda_dx = 0, celda_dy = 0;
  NReal cos_dir = 0, sin_dir = 0;
  NReal grilla_rotada_dx = 9;
  NReal grilla_rotada_dy = 1;
  NReal grilla_rotada_margen_dx = 1000;
  std::unique_ptr<TMatR> grilla;
  TVectR meteo_etha;

  NReal alfa_terreno = 0.5;
  NReal gamma_atmosfera = 0.4;
  NReal fpv3pe = 1.8;
  NReal factor_perdidas = 0.035;
  NReal pv3_libre = 0;
  NReal k_perdidas = 0;
  NReal potencia_nominal = 0;
  NReal potencia_autorizada_mw = 0;
  NReal etha_meteo_dir = 1;
  NReal m_lateral = 0, m_central = 0;
  NReal r_retorno = 0, r_conserva = 0;

  // Park map. The world window always holds the station and every turbine plus 300 m, widened so
  // that metres are square on screen.
  TVista vista;
  void AjustarVista(std::int32_t izq, std::int32_t arr, std::int32_t der, std::int32_t aba);
  // True while the pixel rectangle has no area: nothing can be drawn or picked on it.
  [[nodiscard]] bool VistaVacia() const { return vista.ancho_px <= 0 || vista.alto_px <= 0; }
  void MundoAPixel(NReal x, NReal y, std::int32_t& px, std::int32_t& py) const;
  void PixelAMundo(std::int32_t px, std::int32_t py, NReal& x, NReal& y) const;
  // The turbine nearest to the pixel, or nothing when it lies more than 3 rotor diameters away.
  [[nodiscard]] TMolino* MolinoCercano(std::int32_t px, std::int32_t py) const;
  [[nodiscard]] NReal PV3EnPixel(std::int32_t px, std::int32_t py) const;

  // A grid larger than this many cells is refused rather than allocated.
  static constexpr NReal MaxCeldasGrilla = 268435456.0;

 private:
  TParque_ModeloTeorico();
  // Steps shared by the database constructors once the turbines are read: a new model's rows, the
  // turbines' etha, the offsets from the station and the derived quantities.
  void TerminarCargaDB(TDBrosxCon& conexion, bool nuevo);
  [[nodiscard]] std::string Nombre() const;
  [[nodiscard]] std::string NombreMolino(const TMolino& m) const;
  // The grid of the prepared direction; raises when no direction has been prepared.
  const TMatR& GrillaPreparada() const;
};
