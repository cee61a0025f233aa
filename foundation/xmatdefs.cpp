#include "xmatdefs.h"

#include <cmath>
#include <limits>

#include "numtext.h"

namespace {

NReal CalcularMachEps() {
  // Halve until 1 + a, stored as a double, no longer differs from 1.
  volatile NReal a = 1.0;
  volatile NReal b = 0.0;
  int cnt = 0;
  do {
    a = a * 0.5;
    b = 1.0 + a;
    ++cnt;
  } while (b != 1.0 && cnt < 500000);
  return 2.0 * a;
}

std::int32_t ARangoEntero(NReal x, const char* operacion) {
  // The range test is written so that NaN fails it too.
  if (!(x >= -2147483648.0 && x <= 2147483647.0)) {
    throw Excepcion(std::string("Operación de punto flotante no válida: ") + operacion + "(" +
                    RealAGeneral(x) + ")");
  }
  return static_cast<std::int32_t>(x);
}

}  // namespace

const NReal MachEps = CalcularMachEps();

bool NearZero(NReal x) { return MachEps > std::fabs(x); }

std::string NextTokenSep(std::string& texto, char separador) {
  const std::size_t n = texto.size();
  std::size_t desde = 0;
  while (desde < n && texto[desde] == separador) ++desde;
  std::size_t hasta = desde;
  while (hasta < n && texto[hasta] != separador) ++hasta;
  std::string token = texto.substr(desde, hasta - desde);
  texto.erase(0, hasta < n ? hasta + 1 : n);
  return token;
}

TDAofNInt ParseIntList(std::string texto, char separador) {
  TDAofNInt res;
  while (!texto.empty()) {
    const std::string tk = NextTokenSep(texto, separador);
    if (!tk.empty()) res.push_back(TextoAEntero(tk));
  }
  return res;
}

NReal MinOf(const TDAofNReal& a) {
  NReal m = a.at(0);
  for (NReal x : a) {
    if (x < m) m = x;
  }
  return m;
}

NReal MaxOf(const TDAofNReal& a) {
  NReal m = a.at(0);
  for (NReal x : a) {
    if (x > m) m = x;
  }
  return m;
}

void SwapArrays(TDAofNReal& a, TDAofNReal& b) noexcept { a.swap(b); }

void ZeroFill(TDAofNReal& a) {
  for (NReal& x : a) x = 0.0;
}

void FillBooleans(TDAOfBoolean& a, bool valor) {
  for (auto&& x : a) x = valor;
}

std::int32_t TruncToInt(NReal x) { return ARangoEntero(std::trunc(x), "trunc"); }
std::int32_t NintToInt(NReal x) { return ARangoEntero(std::nearbyint(x), "round"); }
std::int32_t FloorToInt(NReal x) { return ARangoEntero(std::floor(x), "floor"); }
std::int32_t CeilToInt(NReal x) { return ARangoEntero(std::ceil(x), "ceil"); }
NReal Nint(NReal x) { return std::nearbyint(x); }
NReal Frac(NReal x) { return x - std::trunc(x); }
