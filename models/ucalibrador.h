#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "matreal.h"
#include "uparques_modeloempirico.h"
#include "uparques_modeloteorico.h"
#include "xmatdefs.h"

// One tunable real of a theoretical model, looked up each time it is used: coefficient
// `indice` + 1 of meteo_etha, or factor_perdidas. It never keeps the address of the value, so a
// model whose meteo_etha vector was replaced is still reached correctly.
struct TParametroCalibrable {
  bool es_factor_perdidas = false;
  std::int32_t indice = 0;
  // Raises when the coefficient no longer exists in the model.
  [[nodiscard]] NReal& Valor(TParque_ModeloTeorico& modelo) const;
};

// Binds a farm's theoretical model to the empirical model of its measured series and tunes the
// theoretical station correction and loss factor against the empirical curves. The theoretical
// model is shared with whoever else holds it (the application state); the empirical model belongs
// to the calibrator.
class TCalibradorParque {
 public:
  // The empirical model of the farm's ".sas" file; the progress lines of its build go to
  // `salida`, and `graficos` false leaves out its JPEG charts.
  static std::unique_ptr<TCalibradorParque> CrearDesdeSeries(
      std::shared_ptr<TParque_ModeloTeorico> modelo_teorico, int pct_inf, int pct_sup,
      const std::string& archivo_series, std::ostream& salida, bool graficos = true);
  static std::unique_ptr<TCalibradorParque> CrearDesdeSeries(
      std::shared_ptr<TParque_ModeloTeorico> modelo_teorico, int pct_inf, int pct_sup,
      const std::string& archivo_series);
  // Both blocks of a calibrator text; errors name `nombre_archivo` and the line.
  static std::unique_ptr<TCalibradorParque> CrearDesdeTexto(std::istream& archivo,
                                                            const std::string& nombre_archivo = {});
  static std::unique_ptr<TCalibradorParque> CrearDesdeArchivo(const std::string& nombre);
  void EscribirTexto(std::ostream& archivo) const;
  // Written whole to a temporary file beside it and renamed over it: a failure leaves the previous
  // file as it was.
  void GuardarEnArchivo(const std::string& nombre) const;

  TCalibradorParque(const TCalibradorParque&) = delete;
  TCalibradorParque& operator=(const TCalibradorParque&) = delete;
  virtual ~TCalibradorParque() = default;

  // x[k] := parameter k; x has the length of parametros.
  void LeerParametros(TDAofNReal& x) const;
  // Parameter k := x[k].
  void AplicarParametros(const TDAofNReal& x);
  // parametros, x_mejor (from the model) and x_prueba again, for a model whose number of station
  // correction coefficients changed.
  void ReconstruirParametros();
  // Empties the arrays and releases the empirical model; the theoretical model stays with its
  // other holders.
  void Liberar();

  // Calibration procedures.
  // x_prueba := x_mejor moved at random by at most 0.1 amplitud at the positions `indices` (every
  // position when empty), never below 0, held in single precision.
  void Perturbar(const TDAofI& indices);
  // Squared differences between empirical and theoretical farm power over 25 points drawn from a
  // uniform source of seed `semilla`, with the parameters x applied to the model.
  NReal FuncionObjetivo(std::int32_t semilla, const TDAofNReal& x);
  // Random search from x_mejor; the model ends holding the best parameters, whose objective is
  // returned. Every improvement is saved as a calibrator in the diagnostics folder.
  NReal Calibrar(const TDAofI& indices);
  // Ratio of the empirical to the theoretical half-power speed per sector for nine pairs of
  // alfa_terreno and gamma_atmosfera; also written to the farm's "EthaMeteoCalibracionSimple.txt".
  // The model's alfa_terreno and gamma_atmosfera are as they were afterwards.
  TMatR CalibrarEthaMeteoSimple();
  // Empirical power of every sector against the speed 0..20 m/s, with the ideal farm curve last.
  void EscribirComparacionCurvas(const std::string& nombre) const;

  // The random source of Perturbar: seeded from the clock by Calibrar unless a seed is fixed, or
  // replaced altogether by a function (tests).
  void FijarSemillaAleatoria(std::uint64_t semilla);
  void FijarFuenteAleatoria(std::function<NReal()> fuente);
  // Progress lines (standard output unless changed).
  void FijarSalida(std::ostream& salida) { salida_ = &salida; }
  [[nodiscard]] std::ostream& Salida() const { return *salida_; }

  std::shared_ptr<TParque_ModeloTeorico> modelo_teorico;
  std::unique_ptr<TParque_ModeloEmpirico> modelo_empirico;
  std::vector<TParametroCalibrable> parametros;
  TDAofNReal x_mejor, x_prueba;
  NReal e_mejor = 0, e_prueba = 0, amplitud = 0;

 protected:
  TCalibradorParque();
  // Reads both blocks into this object, then runs `resto` on the text that follows them. Every
  // error names the file and the line it arose on.
  void LeerTexto(std::istream& archivo, const std::string& nombre_archivo,
                 const std::function<void(std::istream&)>& resto);
  // The calibrator file content.
  [[nodiscard]] std::string Texto() const;

 private:
  [[nodiscard]] NReal Uniforme();
  void SembrarAleatorio();

  std::ostream* salida_;
  std::mt19937_64 generador_;
  std::uniform_real_distribution<NReal> uniforme_{0.0, 1.0};
  std::optional<std::uint64_t> semilla_fija_;
  std::function<NReal()> fuente_;
};
