#include "ucalibrador.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <utility>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "ubloquestexto.h"

namespace {

// Passes a stream's characters through one at a time and counts the lines they start, so the
// readers that take a plain stream can still report the line of their error.
class TContadorLineas : public std::streambuf {
 public:
  explicit TContadorLineas(std::streambuf* fuente) : fuente_(fuente) {}
  [[nodiscard]] int lineas() const { return lineas_; }

 protected:
  int_type underflow() override { return fuente_->sgetc(); }
  int_type uflow() override {
    const int_type c = fuente_->sbumpc();
    if (traits_type::eq_int_type(c, traits_type::eof())) return c;
    if (al_inicio_) ++lineas_;
    al_inicio_ = traits_type::to_char_type(c) == '\n';
    return c;
  }

 private:
  std::streambuf* fuente_;
  int lineas_ = 0;
  bool al_inicio_ = true;
};

}  // namespace

NReal& TParametroCalibrable::Valor(TParque_ModeloTeorico& modelo) const {
  if (es_factor_perdidas) return modelo.factor_perdidas;
  if (indice < 0 || indice >= modelo.meteo_etha.n()) {
    throw Excepcion("El coeficiente " + IntATexto(indice + 1) +
                    " de meteo_etha ya no existe en el modelo " + modelo.nombre);
  }
  return modelo.meteo_etha.referencia(indice + 1);
}

TCalibradorParque::TCalibradorParque() : salida_(&std::cout) {}

std::unique_ptr<TCalibradorParque> TCalibradorParque::CrearDesdeSeries(
    std::shared_ptr<TParque_ModeloTeorico> modelo_teorico, int pct_inf, int pct_sup,
    const std::string& archivo_series, std::ostream& salida, bool graficos) {
  if (!modelo_teorico) throw Excepcion("Calibrador sin modelo teórico");
  std::unique_ptr<TCalibradorParque> c(new TCalibradorParque());
  c->salida_ = &salida;
  c->modelo_empirico = TParque_ModeloEmpirico::CrearDesdeSeries(modelo_teorico, archivo_series,
                                                                pct_inf, pct_sup, salida, graficos);
  c->modelo_teorico = std::move(modelo_teorico);
  c->ReconstruirParametros();
  return c;
}

std::unique_ptr<TCalibradorParque> TCalibradorParque::CrearDesdeSeries(
    std::shared_ptr<TParque_ModeloTeorico> modelo_teorico, int pct_inf, int pct_sup,
    const std::string& archivo_series) {
  return CrearDesdeSeries(std::move(modelo_teorico), pct_inf, pct_sup, archivo_series, std::cout);
}

void TCalibradorParque::LeerTexto(std::istream& archivo, const std::string& nombre_archivo,
                                  const std::function<void(std::istream&)>& resto) {
  const TFormatosNeutros neutros;
  TContadorLineas contador(archivo.rdbuf());
  std::istream texto(&contador);
  {
    TLectorBloques lector(texto, nombre_archivo);
    modelo_teorico = TParque_ModeloTeorico::CrearDesdeTexto(lector);
  }
  try {
    modelo_empirico = TParque_ModeloEmpirico::CrearDesdeTexto(texto, modelo_teorico);
    if (resto) resto(texto);
  } catch (const ExcepcionES&) {
    // Reading past the end: the missing line is the one after the last line read.
    RelanzarEnLinea(nombre_archivo, contador.lineas() + (texto.eof() ? 1 : 0));
  } catch (const Excepcion&) {
    RelanzarEnLinea(nombre_archivo, contador.lineas());
  }
  if (archivo.bad()) throw ExcepcionES("Error de lectura del archivo " + nombre_archivo);
  ReconstruirParametros();
}

std::unique_ptr<TCalibradorParque> TCalibradorParque::CrearDesdeTexto(
    std::istream& archivo, const std::string& nombre_archivo) {
  std::unique_ptr<TCalibradorParque> c(new TCalibradorParque());
  c->LeerTexto(archivo, nombre_archivo, {});
  return c;
}

std::unique_ptr<TCalibradorParque> TCalibradorParque::CrearDesdeArchivo(const std::string& nombre) {
  std::ifstream f(nombre, std::ios::binary);
  if (!f) throw ExcepcionES("No se puede abrir el archivo " + nombre);
  return CrearDesdeTexto(f, nombre);
}

void TCalibradorParque::EscribirTexto(std::ostream& archivo) const {
  if (!modelo_teorico || !modelo_empirico) throw Excepcion("Calibrador liberado");
  const TFormatosNeutros neutros;
  modelo_teorico->EscribirTexto(archivo);
  modelo_empirico->EscribirTexto(archivo);
}

std::string TCalibradorParque::Texto() const {
  std::ostringstream s;
  EscribirTexto(s);
  return std::move(s).str();
}

void TCalibradorParque::GuardarEnArchivo(const std::string& nombre) const {
  GrabarArchivoSeguro(nombre, Texto());
}

void TCalibradorParque::LeerParametros(TDAofNReal& x) const {
  if (x.size() != parametros.size()) {
    throw Excepcion("LeerParametros: se esperaban " + IntATexto(std::ssize(parametros)) +
                    " valores y hay " + IntATexto(std::ssize(x)));
  }
  for (std::size_t k = 0; k < x.size(); ++k) x[k] = parametros[k].Valor(*modelo_teorico);
}

void TCalibradorParque::AplicarParametros(const TDAofNReal& x) {
  if (x.size() != parametros.size()) {
    throw Excepcion("AplicarParametros: se esperaban " + IntATexto(std::ssize(parametros)) +
                    " valores y hay " + IntATexto(std::ssize(x)));
  }
  // Every reference is resolved before any value is written: all or nothing.
  std::vector<NReal*> destinos;
  destinos.reserve(x.size());
  for (const TParametroCalibrable& p : parametros) destinos.push_back(&p.Valor(*modelo_teorico));
  for (std::size_t k = 0; k < x.size(); ++k) *destinos[k] = x[k];
}

void TCalibradorParque::ReconstruirParametros() {
  // The same order as the model's own list of tunable values: meteo_etha(1..n), factor_perdidas.
  const std::int32_t n = modelo_teorico->meteo_etha.n();
  parametros.clear();
  for (std::int32_t k = 0; k < n; ++k) parametros.push_back({false, k});
  parametros.push_back({true, n});
  x_mejor.assign(parametros.size(), 0.0);
  x_prueba.assign(parametros.size(), 0.0);
  LeerParametros(x_mejor);
}

void TCalibradorParque::Liberar() {
  parametros.clear();
  x_mejor.clear();
  x_prueba.clear();
  modelo_empirico.reset();
}

void TCalibradorParque::FijarSemillaAleatoria(std::uint64_t semilla) {
  semilla_fija_ = semilla;
  generador_.seed(semilla);
}

void TCalibradorParque::FijarFuenteAleatoria(std::function<NReal()> fuente) {
  fuente_ = std::move(fuente);
}
