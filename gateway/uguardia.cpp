#include <array>

#include "umotor.h"

namespace {

constexpr std::array<std::string_view, 5> kTablas = {
    "centrales", "molinos", "curvas_aerogen", "modelo_teorico", "modelo_teorico_etha_molinos"};

bool IgualSinMayusculas(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (x != b[i]) return false;
  }
  return true;
}

}  // namespace

bool EsTablaParque(std::string_view nombre) {
  for (const std::string_view t : kTablas) {
    if (IgualSinMayusculas(nombre, t)) return true;
  }
  return false;
}

bool EsTablaConNid(std::string_view nombre) {
  return EsTablaParque(nombre) && !IgualSinMayusculas(nombre, "modelo_teorico_etha_molinos");
}

std::string PrimeraPalabra(std::string_view sql) {
  std::size_t i = 0;
  for (;;) {
    while (i < sql.size() && (sql[i] == ' ' || sql[i] == '\t' || sql[i] == '\r' || sql[i] == '\n' ||
                              sql[i] == '\f' || sql[i] == '\v')) {
      ++i;
    }
    if (sql.substr(i, 2) == "--") {
      while (i < sql.size() && sql[i] != '\n') ++i;
    } else if (sql.substr(i, 2) == "/*") {
      // Nested block comments, as PostgreSQL reads them. SQLite does not nest them, but there
      // the engine's authorizer, not this keyword, decides what a statement may do.
      int nivel = 0;
      do {
        if (sql.substr(i, 2) == "/*") {
          ++nivel;
          i += 2;
        } else if (sql.substr(i, 2) == "*/") {
          --nivel;
          i += 2;
        } else {
          ++i;
        }
      } while (nivel > 0 && i < sql.size());
    } else {
      break;
    }
  }
  std::string palabra;
  while (i < sql.size() && ((sql[i] >= 'a' && sql[i] <= 'z') || (sql[i] >= 'A' && sql[i] <= 'Z'))) {
    char c = sql[i++];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    palabra += c;
  }
  return palabra;
}

void VerificarSentencia(std::string_view sql) {
  if (sql.find('\0') != std::string_view::npos) {
    throw ExcepcionRechazo("sentencia rechazada: contiene un byte nulo");
  }
  const std::string p = PrimeraPalabra(sql);
  if (p != "select" && p != "insert" && p != "update" && p != "delete") {
    throw ExcepcionRechazo(
        "sentencia rechazada: solo se aceptan SELECT, INSERT, UPDATE y DELETE sobre las tablas "
        "centrales, molinos, curvas_aerogen, modelo_teorico y modelo_teorico_etha_molinos");
  }
}
