#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "uparques_modeloteorico.h"
#include "urosx.h"

// Built by the calibration and combined-model units; the state only holds them.
class TCalibradorParque;
class TParque_ModeloEmpirico;
class TParque_ModeloCombinado;

// The texts of the window's edits that the commands read and write, under the control names. The
// window keeps the twin edits of its other page in step with these; the commands see only these.
struct TTextosVentana {
  std::string Caption = "FormDezodudurAraRIVO";

  // Simulation inputs and model parameters.
  std::string eDir = "270";
  std::string eVAnemoEntrada = "9.99";
  std::string eAlfaTerreno = "0.006";
  std::string eGamma_Atmosfera = "0.006";
  std::string efpv3pe = "1";
  std::string eFactorPerdidasParque = "1";
  std::string eLimiteDePotencia = "1";
  std::string eEthaMeteo = "1";

  // Simulation outputs.
  std::string eVAnemoResultante = "???";
  std::string VientoLibre;
  std::string ePE_MW_ModeloTeorico = "ePE_MW_ModeloTeorico";
  std::string ePE_MW_Representantes = "ePE_MW_Representantes";
  std::string eME_Peso = "eME_Peso";
  std::string eErr2Calibrar = "eErr2Calibrar";

  // Free wind for a power.
  std::string vientoparapot = "50";
  std::string VientoDeLaPotMW;

  // Turbine etha and the map read-outs.
  std::string eEthaMolino = "1";
  bool cbCambiarTodosLosRo = false;
  std::string eMolino = "eMolino";
  std::string eCoordenadasXY = "eCoordenadasXY";

  // Database, combined model, supercentral and restriction inputs.
  std::string eNidCentral;
  std::string PorcentajeAjusteCurvaSinf = "5";
  std::string PorcentajeAjusteCurvaSsup = "95";
  std::string FechaDesde = "28/10/2015";
  std::string FechaHasta = "15/01/2016";
  std::string NIDcentralesAunir = "20;21;28";
  std::string NIDcentralAnemo = "20";
  std::string NIDsupercentralBorrar = "202128";
};

// The application's current objects and the window's texts: one owner for everything the commands
// work on. The theoretical model is shared with the calibrator and the combined model that use it,
// so replacing it here never leaves them pointing at freed memory; they are dropped with it.
class TEstadoAplicacion {
 public:
  // Start-up: no model, no calibrator, no combined model; the given gateway connection (nothing
  // for a session without database); the start-up values 9.9, 0.4 and 0.5 written in the current
  // number format.
  explicit TEstadoAplicacion(std::unique_ptr<TDBrosxCon> conexion);
  ~TEstadoAplicacion();
  TEstadoAplicacion(const TEstadoAplicacion&) = delete;
  TEstadoAplicacion& operator=(const TEstadoAplicacion&) = delete;

  // The gateway connection; raises when the session has none.
  TDBrosxCon& Conexion();
  [[nodiscard]] bool HayConexion() const { return conexion_ != nullptr; }

  [[nodiscard]] const std::shared_ptr<TParque_ModeloTeorico>& ModeloTeorico() const {
    return modelo_teorico_;
  }
  // Replaces the current model (nothing releases it). A calibrator or combined model that holds
  // the model being replaced is dropped with it, and so is the selected turbine.
  void FijarModeloTeorico(std::shared_ptr<TParque_ModeloTeorico> modelo);
  void LiberarModeloTeorico() { FijarModeloTeorico(nullptr); }

  // The turbine picked on the map; nothing, or a turbine of the current model.
  [[nodiscard]] TMolino* MolinoSeleccionado() const { return molino_seleccionado_; }
  // Raises when the turbine is not one of the current model's.
  void SeleccionarMolino(TMolino* molino);

  // The current calibrator, with the theoretical model it works on and its empirical model.
  [[nodiscard]] const std::shared_ptr<TCalibradorParque>& Calibrador() const { return calibrador_; }
  [[nodiscard]] const std::shared_ptr<TParque_ModeloTeorico>& ModeloDelCalibrador() const {
    return modelo_del_calibrador_;
  }
  [[nodiscard]] const std::shared_ptr<TParque_ModeloEmpirico>& ModeloEmpirico() const {
    return modelo_empirico_;
  }
  void FijarCalibrador(std::shared_ptr<TCalibradorParque> calibrador,
                       std::shared_ptr<TParque_ModeloTeorico> su_modelo,
                       std::shared_ptr<TParque_ModeloEmpirico> su_empirico);
  void LiberarCalibrador() { FijarCalibrador(nullptr, nullptr, nullptr); }

  // The current combined model and the theoretical model it works on. It may also be the current
  // calibrator: each slot holds its own reference, so dropping one never frees the other.
  [[nodiscard]] const std::shared_ptr<TParque_ModeloCombinado>& ModeloCombinado() const {
    return modelo_combinado_;
  }
  [[nodiscard]] const std::shared_ptr<TParque_ModeloTeorico>& ModeloDelCombinado() const {
    return modelo_del_combinado_;
  }
  void FijarModeloCombinado(std::shared_ptr<TParque_ModeloCombinado> combinado,
                            std::shared_ptr<TParque_ModeloTeorico> su_modelo);
  void LiberarModeloCombinado() { FijarModeloCombinado(nullptr, nullptr); }

  // Shut-down order: the theoretical model, the combined model, then the gateway connection.
  void Cerrar();

  // Central identifier last read from eNidCentral.
  std::int32_t central = 0;
  // S-curve fit range in percent of the power: the values of the edits until the calibrator-
  // building command reads them.
  std::int32_t porcentaje_ajuste_inf = 5;
  std::int32_t porcentaje_ajuste_sup = 95;
  // Whether the calibrator-building command has read the range; until then the supercentral
  // takes the edits' current values.
  bool rango_ajuste_leido = false;
  // Last calibrator file chosen and last series file proposed or chosen.
  std::string archivo_calibrador;
  std::string archivo_series;

  TTextosVentana textos;

 private:
  std::unique_ptr<TDBrosxCon> conexion_;
  std::shared_ptr<TParque_ModeloTeorico> modelo_teorico_;
  TMolino* molino_seleccionado_ = nullptr;
  std::shared_ptr<TCalibradorParque> calibrador_;
  std::shared_ptr<TParque_ModeloTeorico> modelo_del_calibrador_;
  std::shared_ptr<TParque_ModeloEmpirico> modelo_empirico_;
  std::shared_ptr<TParque_ModeloCombinado> modelo_combinado_;
  std::shared_ptr<TParque_ModeloTeorico> modelo_del_combinado_;
};
