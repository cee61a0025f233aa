// Reader of the vector text form "[ n| x1;  x2; ...]" kept in database text fields.
#include <string>
#include <string_view>

#include "matreal.h"
#include "numtext.h"
#include "utokens.h"

namespace {

// Walks the text once; each token is what precedes the next occurrence of a separator, trimmed of
// characters below code 33. Without that separator the rest of the text is the token.
class TLectorTexto {
 public:
  explicit TLectorTexto(std::string_view texto) : texto_(texto) {}

  std::string TokenAntesDe(char separador) {
    const std::size_t fin = texto_.find(separador, desde_);
    std::string_view token =
        texto_.substr(desde_, fin == std::string_view::npos ? fin : fin - desde_);
    desde_ = fin == std::string_view::npos ? texto_.size() : fin + 1;
    while (!token.empty() && static_cast<unsigned char>(token.front()) < 33) token.remove_prefix(1);
    while (!token.empty() && static_cast<unsigned char>(token.back()) < 33) token.remove_suffix(1);
    return std::string(token);
  }

 private:
  std::string_view texto_;
  std::size_t desde_ = 0;
};

}  // namespace

TVectR::TVectR(const std::string& texto) : n_(0), v_(1, 0.0) {
  TLectorTexto lector(texto);
  // 1. whatever precedes "[" is ignored.
  lector.TokenAntesDe('[');
  // 2. the count.
  const std::string cuenta = lector.TokenAntesDe('|');
  const std::int32_t n = TextoAEntero(cuenta);
  if (n < 0) throw ExcepcionConversion("'" + cuenta + "' no es una cuenta de elementos válida");
  // 3.-4. the elements; the count only bounds the loop (each element consumes text, so a bogus
  // count fails on the first missing element instead of allocating).
  for (std::int32_t k = 1; k < n; ++k) v_.push_back(StrToReal(lector.TokenAntesDe(';')));
  const std::string ultimo = lector.TokenAntesDe(']');
  if (n > 0) {
    v_.push_back(StrToReal(ultimo));
  } else if (!ultimo.empty()) {
    // The empty vector carries no element; anything written there must still be a number.
    (void)StrToReal(ultimo);
  }
  n_ = n;
}
