// The series-file reader must either read a text or fail with its line message: never crash,
// never read past the text, never leave the neutral formats switched on, and never allocate from
// a count the file only announces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "errores.h"
#include "formatos.h"
#include "useriestemporales.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
  std::istringstream entrada(std::string(reinterpret_cast<const char*>(datos), n));
  try {
    const TSeriesDeDatos s(entrada, "fuzz.sas");
    if (static_cast<std::size_t>(s.NSeries) != s.Series.size()) std::abort();
    for (const TVectR& v : s.Series) {
      if (v.n() != s.NPuntos) std::abort();
    }
    if (s.Marcas.size() != s.Nombres.size()) std::abort();
  } catch (const Excepcion&) {
  }
  if (NivelFormatosNeutros() != 0) std::abort();
  return 0;
}
