#include "uestadoaplicacion.h"

#include <utility>

#include "errores.h"
#include "numtext.h"

TEstadoAplicacion::TEstadoAplicacion(std::unique_ptr<TDBrosxCon> conexion)
    : conexion_(std::move(conexion)) {
  textos.eVAnemoEntrada = RealAGeneral(9.9);
  textos.eGamma_Atmosfera = RealAGeneral(0.4);
  textos.eAlfaTerreno = RealAGeneral(0.5);
}

TEstadoAplicacion::~TEstadoAplicacion() { Cerrar(); }

TDBrosxCon& TEstadoAplicacion::Conexion() {
  if (!conexion_) throw Excepcion("No hay conexión con la base de datos.");
  return *conexion_;
}

void TEstadoAplicacion::FijarModeloTeorico(std::shared_ptr<TParque_ModeloTeorico> modelo) {
  if (modelo == modelo_teorico_) return;
  const std::shared_ptr<TParque_ModeloTeorico> anterior = std::exchange(modelo_teorico_, modelo);
  molino_seleccionado_ = nullptr;
  if (!anterior) return;
  if (modelo_del_calibrador_ == anterior) LiberarCalibrador();
  if (modelo_del_combinado_ == anterior) LiberarModeloCombinado();
}

void TEstadoAplicacion::SeleccionarMolino(TMolino* molino) {
  if (molino != nullptr) {
    bool propio = false;
    if (modelo_teorico_) {
      for (const auto& m : modelo_teorico_->molinos) propio = propio || m.get() == molino;
    }
    if (!propio) throw Excepcion("El molino seleccionado no pertenece al modelo actual.");
  }
  molino_seleccionado_ = molino;
}

void TEstadoAplicacion::FijarCalibrador(std::shared_ptr<TCalibradorParque> calibrador,
                                        std::shared_ptr<TParque_ModeloTeorico> su_modelo,
                                        std::shared_ptr<TParque_ModeloEmpirico> su_empirico) {
  calibrador_ = std::move(calibrador);
  modelo_del_calibrador_ = calibrador_ ? std::move(su_modelo) : nullptr;
  modelo_empirico_ = calibrador_ ? std::move(su_empirico) : nullptr;
}

void TEstadoAplicacion::FijarModeloCombinado(std::shared_ptr<TParque_ModeloCombinado> combinado,
                                             std::shared_ptr<TParque_ModeloTeorico> su_modelo) {
  modelo_combinado_ = std::move(combinado);
  modelo_del_combinado_ = modelo_combinado_ ? std::move(su_modelo) : nullptr;
}

void TEstadoAplicacion::Cerrar() {
  LiberarModeloTeorico();
  LiberarModeloCombinado();
  LiberarCalibrador();
  conexion_.reset();
}
