#include "carpetas.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "errores.h"
#include "numtext.h"

namespace fs = std::filesystem;

namespace {

std::optional<std::string>& Raiz() {
  static std::optional<std::string> r;
  return r;
}

std::optional<std::string>& Basura() {
  static std::optional<std::string> b;
  return b;
}

std::string CarpetaPersonal() {
  if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') return h;
  const long n = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(n > 0 ? static_cast<std::size_t>(n) : 16384);
  passwd pw{};
  passwd* res = nullptr;
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &res) == 0 && res != nullptr &&
      res->pw_dir != nullptr && res->pw_dir[0] != '\0') {
    return res->pw_dir;
  }
  throw ExcepcionES("No se encuentra la carpeta personal del usuario");
}

// An absolute path without a trailing '/', so later changes of the current folder do not move it
// and names join with a single separator.
std::string Normalizar(const std::string& ruta) {
  fs::path p(ruta.empty() ? std::string(1, '.') : ruta);
  if (ruta == "~" || ruta.rfind("~/", 0) == 0) {
    p = fs::path(CarpetaPersonal()) / fs::path(ruta.substr(std::min<std::size_t>(2, ruta.size())));
  }
  std::error_code ec;
  if (fs::path a = fs::absolute(p, ec); !ec) p = a;
  std::string r = p.lexically_normal().generic_string();
  while (r.size() > 1 && r.back() == '/') r.pop_back();
  return r;
}

std::string DelEntorno(const char* variable, const char* defecto) {
  if (const char* v = std::getenv(variable); v != nullptr && v[0] != '\0') return Normalizar(v);
  return Normalizar(CarpetaPersonal() + "/" + defecto);
}

[[noreturn]] void ErrorCarpeta(const std::string& ruta, const std::error_code& ec) {
  throw ExcepcionES("No se puede crear la carpeta \"" + ruta + "\": " + ec.message());
}

void CrearConPadres(const std::string& ruta) {
  std::error_code ec;
  if (fs::is_directory(ruta, ec)) return;
  fs::create_directories(ruta, ec);
  if (!ec && !fs::is_directory(ruta, ec)) ec = std::make_error_code(std::errc::not_a_directory);
  if (ec) ErrorCarpeta(ruta, ec);
}

std::string NombreCentral(std::int32_t nid) {
  std::string r(1, 'c');
  r += IntATexto(nid);
  return r;
}

}  // namespace

std::string CarpetaRaizDelEntorno() {
  return DelEntorno("VELTRA_MODELADO_RO", "veltra/modelado_ro");
}

void FijarCarpetaRaiz(const std::string& ruta) { Raiz() = Normalizar(ruta); }

const std::string& CarpetaRaiz() {
  if (!Raiz()) Raiz() = CarpetaRaizDelEntorno();
  return *Raiz();
}

void IniciarCarpetaRaiz() { CrearConPadres(CarpetaRaiz()); }

void AsegurarCarpeta(const std::string& ruta) {
  std::error_code ec;
  if (fs::is_directory(ruta, ec)) return;
  fs::create_directory(ruta, ec);
  if (!ec && !fs::is_directory(ruta, ec)) ec = std::make_error_code(std::errc::not_a_directory);
  if (ec) ErrorCarpeta(ruta, ec);
}

std::string CarpetaCentral(std::int32_t nid) {
  // Tested on every call: a folder removed meanwhile comes back.
  std::string ruta = CarpetaRaiz() + "/" + NombreCentral(nid);
  AsegurarCarpeta(ruta);
  return ruta;
}

std::string ArchivoEnCarpeta(const std::string& carpeta, std::int32_t nid,
                             const std::string& sufijo) {
  std::string r = carpeta;
  if (r.empty() || r.back() != '/') r += '/';
  return r + NombreCentral(nid) + sufijo;
}

std::string ArchivoCentral(std::int32_t nid, const std::string& sufijo) {
  return ArchivoEnCarpeta(CarpetaCentral(nid), nid, sufijo);
}

std::string ArchivoEnCarpetaCentral(std::int32_t nid, const std::string& nombre) {
  return CarpetaCentral(nid) + "/" + nombre;
}

std::string ArchivoModeloTeorico(std::int32_t nid) { return ArchivoCentral(nid, "_parque_mt.pmt"); }
std::string ArchivoModeloCombinado(std::int32_t nid) { return ArchivoCentral(nid, ".pmc"); }
std::string ArchivoCalibrador(std::int32_t nid) { return ArchivoCentral(nid, "_calibrador.clp"); }

std::string CarpetaBasuraDelEntorno() { return DelEntorno("VELTRA_BASURA", "veltra/basura"); }

void FijarCarpetaBasura(const std::string& ruta) { Basura() = Normalizar(ruta); }

std::string CarpetaBasura() {
  if (!Basura()) Basura() = CarpetaBasuraDelEntorno();
  CrearConPadres(*Basura());
  return *Basura();
}

std::string ArchivoBasura(const std::string& nombre) { return CarpetaBasura() + "/" + nombre; }

std::string ComponenteNombreArchivo(const std::string& texto) {
  std::string r = texto;
  for (char& c : r) {
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  }
  return r;
}
