#include "ubloquestexto.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "errores.h"
#include "numtext.h"

namespace {

bool EsBlanco(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string DescripcionError(int codigo) { return std::generic_category().message(codigo); }

}  // namespace

TLectorBloques::TLectorBloques(std::istream& archivo, std::string nombre_archivo)
    : archivo_(archivo), nombre_(std::move(nombre_archivo)) {}

bool TLectorBloques::LeerLinea(std::string& linea) {
  if (!std::getline(archivo_, linea)) {
    // The missing line is the one after the last line read.
    ++linea_;
    if (archivo_.bad()) throw ExcepcionES("Error de lectura del archivo");
    return false;
  }
  if (linea_ == 0 && linea.rfind("\xEF\xBB\xBF", 0) == 0) linea.erase(0, 3);
  ++linea_;
  while (!linea.empty() && linea.back() == '\r') linea.pop_back();
  return true;
}

std::string TLectorBloques::Linea() {
  return EnLinea([&] {
    std::string linea;
    if (!LeerLinea(linea)) throw ExcepcionES("Lectura más allá del fin de archivo");
    return linea;
  });
}

std::string TLectorBloques::TokenSinEnvolver() {
  std::string linea;
  while (LeerLinea(linea)) {
    std::size_t desde = 0;
    while (desde < linea.size() && EsBlanco(linea[desde])) ++desde;
    if (desde == linea.size()) continue;
    std::size_t hasta = desde;
    while (hasta < linea.size() && !EsBlanco(linea[hasta])) ++hasta;
    return linea.substr(desde, hasta - desde);
  }
  throw ExcepcionES("Lectura más allá del fin de archivo");
}

std::string TLectorBloques::Token() {
  return EnLinea([&] { return TokenSinEnvolver(); });
}

std::int32_t TLectorBloques::Entero() {
  return EnLinea([&] { return TextoAEntero(TokenSinEnvolver()); });
}

std::int32_t TLectorBloques::Cuenta() {
  return EnLinea([&] {
    const std::string token = TokenSinEnvolver();
    const std::int32_t n = TextoAEntero(token);
    if (n < 0) throw ExcepcionConversion("'" + token + "' no es una cuenta de elementos válida");
    return n;
  });
}

NReal TLectorBloques::Real() {
  return EnLinea([&] { return TextoARealArchivo(TokenSinEnvolver()); });
}

TVectR TLectorBloques::Vector() {
  const std::int32_t n = Cuenta();
  TDAofNReal valores;
  for (std::int32_t k = 1; k <= n; ++k) valores.push_back(Real());
  return TVectR(valores);
}

void RelanzarEnLinea(const std::string& nombre, int linea) {
  const std::string prefijo =
      (nombre.empty() ? std::string() : nombre + ", ") + "línea " + IntATexto(linea) + ": ";
  try {
    throw;
  } catch (const ExcepcionConversion& e) {
    throw ExcepcionConversion(prefijo + e.what());
  } catch (const ExcepcionES& e) {
    throw ExcepcionES(prefijo + e.what());
  } catch (const Excepcion& e) {
    throw Excepcion(prefijo + e.what());
  }
}

void TLectorBloques::Relanzar() const { RelanzarEnLinea(nombre_, linea_); }

std::string EnUnaLinea(std::string texto) {
  for (char& c : texto) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return texto;
}

char ZonaUTM(char zona) {
  const bool letra = (zona >= 'A' && zona <= 'Z') || (zona >= 'a' && zona <= 'z');
  const bool digito = zona >= '0' && zona <= '9';
  return letra || digito ? zona : ' ';
}

char ZonaDeTexto(const std::string& texto) { return texto.empty() ? ' ' : texto.front(); }

void GrabarArchivoSeguro(const std::string& ruta, const std::string& contenido) {
  static std::atomic<unsigned> contador{0};
  // Beside the target, so the rename stays inside one file system.
  const std::string temporal =
      ruta + "." + IntATexto(::getpid()) + "." + IntATexto(contador.fetch_add(1)) + ".tmp";
  const int fd = ::open(temporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    throw ExcepcionES("No se puede crear el archivo " + ruta + ": " + DescripcionError(errno));
  }
  int error = 0;
  std::size_t escritos = 0;
  while (escritos < contenido.size() && error == 0) {
    const ssize_t r = ::write(fd, contenido.data() + escritos, contenido.size() - escritos);
    if (r < 0) {
      if (errno != EINTR) error = errno;
    } else {
      escritos += static_cast<std::size_t>(r);
    }
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporal.c_str(), ruta.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporal.c_str());
    throw ExcepcionES("Error de escritura del archivo " + ruta + ": " + DescripcionError(error));
  }
}
