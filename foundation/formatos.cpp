#include "formatos.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>

#include "xmatdefs.h"

namespace {

struct TEstadoFormatos {
  TFormatos inicio;
  TFormatos actuales;
  int nesting = 0;
};

TEstadoFormatos& Estado() {
  static TEstadoFormatos e;
  return e;
}

// The date separator follows the short date pattern when it names one.
void CorregirSeparadorFecha(TFormatos& f) {
  if (f.formato_fecha_corta.find('/') != std::string::npos) {
    f.separador_fecha = '/';
  } else if (f.formato_fecha_corta.find('-') != std::string::npos) {
    f.separador_fecha = '-';
  }
}

// strftime conversions of the POSIX locale to the system's own pattern letters.
std::string PatronDeStrftime(const char* p, bool es_hora) {
  std::string r;
  for (; p != nullptr && *p != '\0'; ++p) {
    if (*p != '%') {
      r += *p;
      continue;
    }
    ++p;
    if (*p == 'E' || *p == 'O') ++p;  // modifiers
    switch (*p) {
      case 'd':
      case 'e':
        r += "dd";
        break;
      case 'm':
        r += "mm";
        break;
      case 'Y':
        r += "yyyy";
        break;
      case 'y':
        r += "yy";
        break;
      case 'H':
      case 'I':
      case 'k':
      case 'l':
        r += "hh";
        break;
      case 'M':
        r += "nn";
        break;
      case 'S':
        r += "ss";
        break;
      case 'T':
        r += "hh:nn:ss";
        break;
      case 'D':
        r += "mm/dd/yy";
        break;
      case 'F':
        r += "yyyy-mm-dd";
        break;
      case 'p':
      case 'P':
      case 'Z':
      case 'z':
        break;  // no AM/PM or zone in the patterns
      case '\0':
        return r;
      default:
        break;
    }
  }
  // Trim what the dropped specifiers left behind.
  while (!r.empty() && r.back() == ' ') r.pop_back();
  if (r.empty()) r = es_hora ? "hh:nn:ss" : "dd/mm/yyyy";
  return r;
}

char UnCaracter(const char* s, char defecto) {
  if (s == nullptr || s[0] == '\0' || s[1] != '\0') return defecto;
  return s[0];
}

}  // namespace

const TFormatos& FormatosActuales() { return Estado().actuales; }

void FijarFormatosInicio(const TFormatos& f) {
  TEstadoFormatos& e = Estado();
  // The saved set takes the corrected date separator; the settings in force keep what was read
  // until the first pop restores the saved set.
  e.inicio = f;
  CorregirSeparadorFecha(e.inicio);
  e.actuales = f;
  e.nesting = 0;
}

TFormatos FormatosDelEntorno() {
  TFormatos f;
  if (const char* v = std::getenv("VELTRA_FORMATOS"); v != nullptr && v[0] != '\0') {
    std::string texto = v;
    std::string campos[7];
    for (std::string& c : campos) c = NextTokenSep(texto, ';');
    if (campos[0].size() == 1) f.separador_decimal = campos[0][0];
    if (campos[1].size() == 1) f.separador_miles = campos[1][0];
    if (campos[2].size() == 1) f.separador_fecha = campos[2][0];
    if (campos[3].size() == 1) f.separador_hora = campos[3][0];
    if (!campos[4].empty()) f.formato_fecha_corta = campos[4];
    if (!campos[5].empty()) f.formato_fecha_larga = campos[5];
    if (!campos[6].empty()) f.formato_hora_larga = campos[6];
    return f;
  }
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) {
    loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  }
  if (loc == static_cast<locale_t>(nullptr)) return f;
  f.separador_decimal = UnCaracter(nl_langinfo_l(RADIXCHAR, loc), '.');
  f.separador_miles = UnCaracter(nl_langinfo_l(THOUSEP, loc), ' ');
  f.formato_fecha_corta = PatronDeStrftime(nl_langinfo_l(D_FMT, loc), false);
  f.formato_fecha_larga = f.formato_fecha_corta;
  f.formato_hora_larga = PatronDeStrftime(nl_langinfo_l(T_FMT, loc), true);
  for (char ch : f.formato_fecha_corta) {
    if (ch != 'd' && ch != 'm' && ch != 'y') {
      f.separador_fecha = ch;
      break;
    }
  }
  for (char ch : f.formato_hora_larga) {
    if (ch != 'h' && ch != 'n' && ch != 's') {
      f.separador_hora = ch;
      break;
    }
  }
  freelocale(loc);
  return f;
}

void PushNeutralFormats() {
  TEstadoFormatos& e = Estado();
  ++e.nesting;
  e.actuales.separador_miles = ' ';
  e.actuales.separador_decimal = '.';
  e.actuales.separador_fecha = '-';
  e.actuales.formato_fecha_corta = "yyyy-MM-dd";
  e.actuales.formato_fecha_larga = "yyyy-MM-dd HH:mm:ss";
}

void PopNeutralFormats() {
  TEstadoFormatos& e = Estado();
  --e.nesting;
  if (e.nesting == 0) {
    // Only the five switched settings come back; the time settings were never touched.
    e.actuales.separador_miles = e.inicio.separador_miles;
    e.actuales.separador_decimal = e.inicio.separador_decimal;
    e.actuales.separador_fecha = e.inicio.separador_fecha;
    e.actuales.formato_fecha_corta = e.inicio.formato_fecha_corta;
    e.actuales.formato_fecha_larga = e.inicio.formato_fecha_larga;
  }
}

int NivelFormatosNeutros() { return Estado().nesting; }

TFormatosDePrueba::TFormatosDePrueba(const TFormatos& f) : previos_(Estado().inicio) {
  FijarFormatosInicio(f);
}

TFormatosDePrueba::~TFormatosDePrueba() { FijarFormatosInicio(previos_); }
