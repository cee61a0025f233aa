#include "uComandosVentana.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <atomic>
#include <iostream>
#include <mutex>
#include <streambuf>

#include "carpetas.h"
#include "errores.h"
#include "fechas.h"
#include "lienzo.h"
#include "uDezodudurAraRIVO.h"
#include "uFormatosQt.h"
#include "uPaintBox.h"
#include "ucomandos_calibracion.h"
#include "ucomandos_modeloteorico.h"
#include "ucomandos_restricciones.h"
#include "ugraficador.h"
#include "umapaparque.h"
#include "uparquedemo.h"
#include "urosx.h"

namespace {

// The edits the commands read, by name.
struct TCampoTexto {
  const char* control;
  std::string TTextosVentana::*campo;
};
constexpr TCampoTexto kCamposLeidos[] = {
    {"eDir", &TTextosVentana::eDir},
    {"eVAnemoEntrada", &TTextosVentana::eVAnemoEntrada},
    {"eAlfaTerreno", &TTextosVentana::eAlfaTerreno},
    {"eGamma_Atmosfera", &TTextosVentana::eGamma_Atmosfera},
    {"efpv3pe", &TTextosVentana::efpv3pe},
    {"eFactorPerdidasParque", &TTextosVentana::eFactorPerdidasParque},
    {"eLimiteDePotencia", &TTextosVentana::eLimiteDePotencia},
    {"eEthaMeteo", &TTextosVentana::eEthaMeteo},
    {"vientoparapot", &TTextosVentana::vientoparapot},
    {"eEthaMolino", &TTextosVentana::eEthaMolino},
    {"eNidCentral", &TTextosVentana::eNidCentral},
    {"PorcentajeAjusteCurvaSinf", &TTextosVentana::PorcentajeAjusteCurvaSinf},
    {"PorcentajeAjusteCurvaSsup", &TTextosVentana::PorcentajeAjusteCurvaSsup},
    {"NIDcentralesAunir", &TTextosVentana::NIDcentralesAunir},
    {"NIDcentralAnemo", &TTextosVentana::NIDcentralAnemo},
    {"NIDsupercentralBorrar", &TTextosVentana::NIDsupercentralBorrar},
};

// Copies every character to standard output and hands each finished line to the window's status
// bar. Lines come from the worker thread and the window takes them on its own; only the newest
// waits, so a model that writes thousands of lines does not flood the window.
class TSalidaProgreso : public std::streambuf {
 public:
  explicit TSalidaProgreso(TFormDezodudurAraRIVO& ventana) : ventana_(&ventana) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    Poner(traits_type::to_char_type(c));
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::cout.write(s, n);
    for (std::streamsize i = 0; i < n; ++i) Acumular(s[i]);
    return n;
  }
  int sync() override {
    std::cout.flush();
    return 0;
  }

 private:
  struct TUltimaLinea {
    std::mutex cerrojo;
    std::string linea;
    std::atomic<bool> pendiente{false};
  };

  void Poner(char c) {
    std::cout.put(c);
    Acumular(c);
  }
  void Acumular(char c) {
    if (c != '\n' && c != '\r') {
      linea_ += c;
      return;
    }
    if (linea_.empty()) return;
    {
      const std::lock_guard<std::mutex> g(ultima_->cerrojo);
      ultima_->linea.swap(linea_);
    }
    linea_.clear();
    if (ultima_->pendiente.exchange(true)) return;
    // Dropped with the window if it goes first.
    QMetaObject::invokeMethod(
        ventana_,
        [v = ventana_, u = ultima_] {
          std::string linea;
          {
            // Cleared before the read: a line that comes after it is posted anew.
            const std::lock_guard<std::mutex> g(u->cerrojo);
            u->pendiente = false;
            linea = u->linea;
          }
          v->MostrarProgreso(linea);
        },
        Qt::QueuedConnection);
  }

  TFormDezodudurAraRIVO* ventana_;
  std::string linea_;
  std::shared_ptr<TUltimaLinea> ultima_ = std::make_shared<TUltimaLinea>();
};

}  // namespace

TComandosVentana::TComandosVentana(TFormDezodudurAraRIVO& ventana)
    : v_(ventana),
      progreso_(std::make_unique<TSalidaProgreso>(ventana)),
      salida_(progreso_.get()),
      estado_(TDBrosxCon::CrearDesdeEntorno()) {}

TComandosVentana::~TComandosVentana() = default;

void TComandosVentana::LeerTextos() {
  TTextosVentana& t = estado_.textos;
  for (const TCampoTexto& c : kCamposLeidos) t.*c.campo = v_.Texto(c.control);
  t.cbCambiarTodosLosRo = v_.cbCambiarTodosLosRo->isChecked();
  // Dates in the one form the commands read whatever the user's settings.
  t.FechaDesde = v_.FechaDesde->date().toString(Qt::ISODate).toStdString();
  t.FechaHasta = v_.FechaHasta->date().toString(Qt::ISODate).toStdString();
}

void TComandosVentana::Aplicar(const TResultadoComando& r) {
  for (const auto& [control, texto] : r.textos) v_.FijarTexto(control, texto);
  if (r.dibujar_mapas) {
    VelocidadesMT_To_PB(*v_.pb_Parque_original);
    VelocidadesMT_To_PB(*v_.pb_Parque_simple);
  }
  for (const std::string& m : r.mensajes) {
    if (v_.dialogos.mensaje) v_.dialogos.mensaje(m);
  }
}

void TComandosVentana::Orden(TResultadoComando (*orden)(TEstadoAplicacion&)) {
  LeerTextos();
  Aplicar(orden(estado_));
}

void TComandosVentana::EnSegundoPlano(
    const std::string& titulo,
    std::function<TResultadoComando(TEstadoAplicacion&, std::ostream&)> orden) {
  LeerTextos();
  // The window's inputs stay disabled until the result is applied, so nothing else touches the
  // state meanwhile.
  v_.EnSegundoPlano(titulo,
                    [this, orden = std::move(orden)]() -> TFormDezodudurAraRIVO::TAlTerminar {
                      auto r = std::make_shared<TResultadoComando>(orden(estado_, salida_));
                      return [this, r] { Aplicar(*r); };
                    });
}

void TComandosVentana::CargarDemo() {
  estado_.FijarModeloTeorico(CrearParqueDemo());
  TResultadoComando r;
  MostrarParametrosModelo(estado_, r);
  Aplicar(r);
}

void TComandosVentana::btBajarParqueClick() {
  EnSegundoPlano("Descargando el parque",
                 [](TEstadoAplicacion& e, std::ostream& s) { return ::btBajarParqueClick(e, s); });
}
void TComandosVentana::btCalcularClick() {
  // Without a model, a calibrator picked now gives one.
  if (!estado_.ModeloTeorico()) {
    if (const auto archivo = v_.ElegirArchivo(v_.odCalibrador, kFiltroCalibrador, {}); archivo) {
      LeerTextos();
      Aplicar(::CargarCalibrador(estado_, *archivo));
    }
  }
  // The window catches up with pending input and shows the map blank while the model works.
  QCoreApplication::processEvents();
  if (estado_.ModeloTeorico()) v_.pb_Parque_original->Rellenar(Qt::white);
  Orden(::btCalcularClick);
}
void TComandosVentana::CalcularvientoClick() { Orden(::CalcularvientoClick); }
void TComandosVentana::btCambiar_roClick() { Orden(::btCambiar_roClick); }
void TComandosVentana::btUpdateMTinDBClick() { Orden(::btUpdateMTinDBClick); }

void TComandosVentana::btCargarCalibradorClick() {
  const TArchivoElegido archivo = v_.ElegirArchivo(v_.odCalibrador, kFiltroCalibrador, {});
  if (!archivo) return;
  EnSegundoPlano("Cargando el calibrador", [archivo](TEstadoAplicacion& e, std::ostream& /*s*/) {
    return ::btCargarCalibradorClick(e, archivo);
  });
}
void TComandosVentana::btGuardarCalibradorClick() {
  // Without a calibrator there is nothing to save: no dialog either.
  if (!estado_.Calibrador()) return;
  LeerTextos();
  Aplicar(::btGuardarCalibradorClick(estado_,
                                     v_.ElegirArchivo(v_.sdCalibrador, kFiltroCalibrador, {})));
}
void TComandosVentana::btCalibrarParqueClick() {
  EnSegundoPlano("Calibrando el parque", [](TEstadoAplicacion& e, std::ostream& s) {
    return ::btCalibrarParqueClick(e, &s);
  });
}
void TComandosVentana::btLoadFromArchi_ModeloMTySeriesClick() {
  EnSegundoPlano("Construyendo el calibrador", [](TEstadoAplicacion& e, std::ostream& s) {
    return ::btLoadFromArchi_ModeloMTySeriesClick(e, s);
  });
}
void TComandosVentana::CalibrarSimpleEthaMeteoClick() {
  EnSegundoPlano("Calibración simple de EthaMeteo", [](TEstadoAplicacion& e, std::ostream& s) {
    return ::CalibrarSimpleEthaMeteoClick(e, s);
  });
}
void TComandosVentana::btCalcularMCClick() {
  EnSegundoPlano("Calculando el modelo combinado",
                 [](TEstadoAplicacion& e, std::ostream& s) { return ::btCalcularMCClick(e, s); });
}
void TComandosVentana::btCargarMCClick() {
  const TArchivoElegido archivo = v_.ElegirArchivo(v_.odCalibrador, kFiltroModeloCombinado, {});
  if (!archivo) return;
  EnSegundoPlano("Cargando el modelo combinado",
                 [archivo](TEstadoAplicacion& e, std::ostream& /*s*/) {
                   return ::btCargarMCClick(e, archivo);
                 });
}
void TComandosVentana::Button1Click() {
  LeerTextos();
  const TCurvasPotencia c = ::Button1Click(estado_);
  Aplicar(c.resultado);
  TPaintBox& pb = *v_.PaintBox1;
  const std::unique_ptr<TLienzo> lienzo = TLienzo::Crear(pb.width(), pb.height());
  c.grafico->Dibujar(*lienzo, pb.width(), pb.height());
  pb.MostrarImagen(ImagenDeLienzo(*lienzo));
}

// The series dialog opens in the calibrator's central folder; without a calibrator the command
// refuses before any dialog.
TArchivoElegido TComandosVentana::ElegirSeries() {
  if (!estado_.ModeloDelCalibrador()) return std::nullopt;
  return v_.ElegirArchivo(v_.odProcesarSeries, kFiltroSeries,
                          CarpetaCentral(estado_.ModeloDelCalibrador()->nid_central));
}
void TComandosVentana::btProcesarSeriesConMCClick() {
  LeerTextos();
  // The refusals come before any dialog; cancelling the dialog keeps the central's own series.
  if (!estado_.ModeloDelCalibrador() || !estado_.ModeloCombinado()) {
    (void)::btProcesarSeriesConMCClick(estado_, std::nullopt, salida_);
  }
  const TArchivoElegido series = ElegirSeries();
  EnSegundoPlano("Procesando las series con el modelo combinado",
                 [series](TEstadoAplicacion& e, std::ostream& s) {
                   (void)::btProcesarSeriesConMCClick(e, series, s);
                   return TResultadoComando{};
                 });
}
void TComandosVentana::btProcesarRestriccionesClick() {
  LeerTextos();
  if (!estado_.ModeloDelCalibrador()) {
    (void)::btProcesarRestriccionesClick(estado_, std::nullopt, salida_);
  }
  const TArchivoElegido series = ElegirSeries();
  if (!series) return;
  EnSegundoPlano("Procesando las restricciones operativas",
                 [series](TEstadoAplicacion& e, std::ostream& s) {
                   (void)::btProcesarRestriccionesClick(e, series, s);
                   return TResultadoComando{};
                 });
}
void TComandosVentana::CrearSupercentralClick() {
  EnSegundoPlano("Creando la supercentral", [](TEstadoAplicacion& e, std::ostream& s) {
    return ::CrearSupercentralClick(e, s);
  });
}
void TComandosVentana::BorrarSupercentralClick() {
  LeerTextos();
  Aplicar(::BorrarSupercentralClick(estado_, v_.dialogos.confirmar));
}

void TComandosVentana::VelocidadesMT_To_PB(TPaintBox& pb) {
  // Without a current model there is nothing to draw: stop quietly.
  if (!estado_.ModeloTeorico()) return;
  const std::unique_ptr<TLienzo> lienzo = TLienzo::Crear(pb.width(), pb.height());
  ::VelocidadesMT_To_PB(estado_.ModeloTeorico().get(), *lienzo);
  pb.MostrarImagen(ImagenDeLienzo(*lienzo));
}

std::optional<TLecturaRaton> TComandosVentana::LecturaRaton(int x, int y) {
  const TResultadoComando r = pb_Parque_originalMouseMove(estado_, x, y);
  const std::string* coordenadas = r.Texto("eCoordenadasXY");
  if (coordenadas == nullptr) return std::nullopt;
  TLecturaRaton l{*coordenadas, std::nullopt};
  if (const std::string* molino = r.Texto("eMolino"); molino != nullptr) l.molino = *molino;
  return l;
}

std::optional<TSeleccionMolino> TComandosVentana::SeleccionarMolino(int x, int y) {
  const TResultadoComando r = pb_Parque_originalMouseDown(estado_, x, y);
  const std::string* etha = r.Texto("eEthaMolino");
  if (etha == nullptr) return std::nullopt;
  TSeleccionMolino s{*etha};
  if (r.copiar_region) {
    s.x1 = r.copiar_region->x1;
    s.y1 = r.copiar_region->y1;
    s.x2 = r.copiar_region->x2;
    s.y2 = r.copiar_region->y2;
  } else {
    s.x2 = s.x1 - 1;  // nothing to copy
  }
  return s;
}

void TComandosVentana::FormClose() { estado_.Cerrar(); }
