#include "useriestemporales.h"

#include <fstream>
#include <istream>
#include <string_view>
#include <utility>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "utokens.h"

namespace {

bool EsBlanco(char c) { return c == ' ' || c == '\t'; }

// Line source of the reader: strips the trailing CR of CR LF files and a UTF-8 BOM at the start,
// and keeps the count of lines read in full for the error message.
class TLectorLineas {
 public:
  explicit TLectorLineas(std::istream& entrada) : entrada_(entrada) {}

  // The next line; a missing one is a read failure.
  std::string Siguiente() {
    std::string linea;
    if (!std::getline(entrada_, linea)) throw Excepcion("fin de archivo");
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    if (primera_) {
      primera_ = false;
      if (linea.rfind("\xEF\xBB\xBF", 0) == 0) linea.erase(0, 3);
    }
    return linea;
  }
  // A header line counts as read as soon as it is taken, so a bad value in it reports its own
  // number.
  std::string Cabecera() {
    std::string linea = Siguiente();
    ++leidas;
    return linea;
  }

  std::int32_t leidas = 0;

 private:
  std::istream& entrada_;
  bool primera_ = true;
};

std::string MensajeLinea(std::int32_t n) { return "Error leyendo línea: " + IntATexto(n); }

// A count of the header (series or samples): never negative.
std::int32_t Cuenta(std::string& linea) {
  const std::int32_t n = NextTokenInt(linea);
  if (n < 0) throw Excepcion("cuenta negativa");
  return n;
}

// The leading number and `n` values of one sample, all on its own line; the rest is skipped.
void LeerMuestra(std::string_view linea, std::vector<std::vector<NReal>>& columnas) {
  std::size_t p = 0;
  const std::size_t n = columnas.size();
  for (std::size_t j = 0; j <= n; ++j) {
    while (p < linea.size() && EsBlanco(linea[p])) ++p;
    if (p == linea.size()) throw Excepcion("faltan valores");
    std::size_t q = p;
    while (q < linea.size() && !EsBlanco(linea[q])) ++q;
    NReal x = 0;
    if (!TextoARealArchivo(linea.substr(p, q - p), x)) throw Excepcion("valor no válido");
    if (j > 0) columnas[j - 1].push_back(x);
    p = q;
  }
}

bool EnBlanco(std::string_view linea) {
  for (const char c : linea) {
    if (!EsBlanco(c)) return false;
  }
  return true;
}

}  // namespace

TSeriesDeDatos::TSeriesDeDatos(const std::string& archivo) : Archivo(archivo) {
  std::ifstream entrada(archivo, std::ios::binary);
  if (!entrada.is_open()) throw ExcepcionES("No puedo abrir el archivo: " + archivo);
  Leer(entrada);
}

TSeriesDeDatos::TSeriesDeDatos(std::istream& entrada, const std::string& archivo)
    : Archivo(archivo) {
  Leer(entrada);
}

std::unique_ptr<TSeriesDeDatos> TSeriesDeDatos::CrearDesdeArchivo(const std::string& archivo) {
  return std::make_unique<TSeriesDeDatos>(archivo);
}

TFechaHora TSeriesDeDatos::FechaDeMuestra(int k) const {
  return FechaInicio + (k - 1) * PeriodoDias;
}

void TSeriesDeDatos::Leer(std::istream& entrada) {
  TLectorLineas lector(entrada);
  TFormatosNeutros neutros;
  try {
    // 3. optional version line.
    std::string linea = lector.Cabecera();
    VersionFormato = 0;
    if (linea.find("VERSION_FORMATO_SERIES") != std::string::npos) {
      NextToken(linea);
      VersionFormato = NextTokenInt(linea);
      if (VersionFormato > 0) linea = lector.Cabecera();
    }
    // 4. counts, start, period and cycle.
    NSeries = Cuenta(linea);
    linea = lector.Cabecera();
    Anio = NextTokenInt(linea);
    Mes = NextTokenInt(linea);
    Dia = NextTokenInt(linea);
    Hora = NextTokenInt(linea);
    Minuto = NextTokenInt(linea);
    Segundo = NextTokenInt(linea);
    linea = lector.Cabecera();
    PeriodoHoras = NextTokenReal(linea);
    linea = lector.Cabecera();
    NPuntos = Cuenta(linea);
    linea = lector.Cabecera();
    PuntosPorCiclo = NextTokenReal(linea);

    // 5. marks: character j of the raw line marks series j ("x" is false). Nothing is sized from
    // the announced count before a line long enough to hold it has been read.
    const std::size_t ns = static_cast<std::size_t>(NSeries);
    std::string marcas;
    if (VersionFormato > 0) {
      marcas = lector.Cabecera();
      if (marcas.size() < ns) throw Excepcion("línea de marcas corta");
    }

    // 6. names; a missing name is an error rather than an endless run of empty ones.
    linea = lector.Cabecera();
    Nombres.clear();
    for (std::int32_t j = 0; j < NSeries; ++j) {
      std::string nombre = NextToken(linea);
      if (nombre.empty()) throw Excepcion("faltan nombres");
      Nombres.push_back(std::move(nombre));
    }
    Marcas.assign(ns, false);
    if (VersionFormato > 0) {
      for (std::size_t j = 0; j < ns; ++j) Marcas[j] = marcas[j] != 'x';
    }

    // 7.-8. samples. The announced count is not trusted for allocation: a bogus count ends at the
    // end of the file with the line error. Blank lines before a sample are passed over.
    std::vector<std::vector<NReal>> columnas(static_cast<std::size_t>(NSeries));
    for (std::int32_t k = 1; k <= NPuntos; ++k) {
      linea = lector.Siguiente();
      while (EnBlanco(linea)) {
        ++lector.leidas;
        linea = lector.Siguiente();
      }
      LeerMuestra(linea, columnas);
      ++lector.leidas;
    }
    Series.clear();
    Series.reserve(columnas.size());
    for (const std::vector<NReal>& c : columnas) Series.emplace_back(c);

    // 10. first instant and period in days.
    FechaInicio = CodificarFecha(Anio, Mes, Dia) + CodificarHora(Hora, Minuto, Segundo, 0);
    PeriodoDias = PeriodoHoras / 24;
  } catch (const std::exception&) {
    throw Excepcion(MensajeLinea(lector.leidas));
  }
}
