#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formatos.h"
#include "utokens.h"

// Any text must either evaluate to a finite real or raise the one exception type; the token
// readers must consume the text without reading past it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the decimal separator the evaluator scans with.
  TFormatos f;
  f.separador_decimal = (data[0] & 1) != 0 ? ',' : '.';
  f.separador_miles = f.separador_decimal == ',' ? '.' : ',';
  TFormatosDePrueba formatos(f);
  const std::string texto(reinterpret_cast<const char*>(data + 1), size - 1);

  try {
    const NReal v = StrToReal(texto);
    if (!std::isfinite(v)) std::abort();
  } catch (const Excepcion&) {
  }

  std::string resto = texto;
  std::size_t antes = resto.size() + 1;
  while (!resto.empty()) {
    if (resto.size() >= antes) std::abort();  // no progress
    antes = resto.size();
    try {
      NextTokenReal(resto);
    } catch (const Excepcion&) {
    }
  }
  return 0;
}
