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

// Skips one block comment starting at i. Nested block comments, as PostgreSQL reads them. SQLite
// does not nest them, but there the engine's authorizer, not the keyword, decides what a statement
// may do.
void SaltarComentarioBloque(std::string_view sql, std::size_t& i) {
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
      SaltarComentarioBloque(sql, i);
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

bool VariasSentenciasPostgres(std::string_view sql) {
  const auto es_blanco = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
  };
  const auto es_palabra = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
  };
  bool fin_de_sentencia = false;
  std::size_t i = 0;
  const std::size_t n = sql.size();
  while (i < n) {
    const char c = sql[i];
    if (es_blanco(c)) {
      ++i;
    } else if (sql.substr(i, 2) == "--") {
      while (i < n && sql[i] != '\n') ++i;
    } else if (sql.substr(i, 2) == "/*") {
      SaltarComentarioBloque(sql, i);
    } else if (c == ';') {
      fin_de_sentencia = true;
      ++i;
    } else {
      if (fin_de_sentencia) return true;
      if (c == '\'' || c == '"') {
        // E'...' takes backslash escapes; a doubled quote is a quote in every form.
        const bool escapes = c == '\'' && i > 0 && (sql[i - 1] == 'E' || sql[i - 1] == 'e') &&
                             (i < 2 || !es_palabra(sql[i - 2]));
        ++i;
        while (i < n) {
          if (escapes && sql[i] == '\\') {
            i += 2;
          } else if (sql[i] == c) {
            if (i + 1 < n && sql[i + 1] == c) {
              i += 2;
            } else {
              ++i;
              break;
            }
          } else {
            ++i;
          }
        }
      } else if (c == '$' && (i == 0 || !es_palabra(sql[i - 1]))) {
        // $tag$ ... $tag$ (the tag may be empty); a $1 parameter is no quote.
        std::size_t j = i + 1;
        while (j < n && es_palabra(sql[j]) && !(sql[j] >= '0' && sql[j] <= '9' && j == i + 1)) {
          ++j;
        }
        if (j < n && sql[j] == '$') {
          const std::string_view etiqueta = sql.substr(i, j - i + 1);
          const std::size_t cierre = sql.find(etiqueta, j + 1);
          i = cierre == std::string_view::npos ? n : cierre + etiqueta.size();
        } else {
          ++i;
        }
      } else {
        ++i;
      }
    }
  }
  return false;
}
