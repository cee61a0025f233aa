#include "utokens.h"

#include <cmath>
#include <limits>

#include "numtext.h"
#include "uevaluador.h"

namespace {

bool EsSeparador(char c) {
  return c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == ',' || c == ';';
}

}  // namespace

std::string NextToken(std::string& texto) {
  const std::size_t n = texto.size();
  std::size_t desde = 0;
  while (desde < n && EsSeparador(texto[desde])) ++desde;
  if (desde >= n) {
    texto.clear();
    return {};
  }
  std::size_t hasta = desde;
  while (hasta < n && !EsSeparador(texto[hasta])) ++hasta;
  std::string token = texto.substr(desde, hasta - desde);
  // The token and one separator go; a separator that ends the text goes with the token.
  if (hasta + 1 < n) {
    texto.erase(0, hasta + 1);
  } else {
    texto.clear();
  }
  return token;
}

std::int32_t NextTokenInt(std::string& texto) { return TextoAEntero(NextToken(texto)); }

NReal NextTokenReal(std::string& texto) { return StrToReal(NextToken(texto)); }

NReal StrToReal(const std::string& texto) {
  bool ok = false;
  NReal v = 0.0;
  {
    TMathParser parser;
    parser.Expresion = texto;
    parser.Evaluar();
    if (!parser.ErrorEvaluacion()) {
      const long double x = parser.Valor();
      // A value beyond the double range is a failure, not an infinity.
      if (std::fabs(x) <= static_cast<long double>(std::numeric_limits<NReal>::max())) {
        v = static_cast<NReal>(x);
        ok = true;
      }
    }
  }
  if (!ok) throw Excepcion("Error: no se puede evaluar \"" + texto + "\" a un número real");
  return v;
}
