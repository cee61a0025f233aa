#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "formatos.h"
#include "matreal.h"

// Any text must either read as a vector whose text form reads back to the same count, or raise the
// one exception type; the vector and matrix file readers get the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string texto(reinterpret_cast<const char*>(data), size);
  TFormatosNeutros neutros;

  try {
    const TVectR v(texto);
    bool finito = true;
    for (int k = 1; k <= v.n(); ++k) finito = finito && std::isfinite(v.elemento(k));
    if (finito) {
      const TVectR vuelta(v.a_texto());
      if (vuelta.n() != v.n()) std::abort();
    }
  } catch (const Excepcion&) {
  }

  try {
    std::istringstream archivo(texto);
    const TVectR v(archivo);
    std::ostringstream salida;
    v.guardar(salida);
    std::istringstream otra(salida.str());
    const TVectR vuelta(otra);
    if (vuelta.copiar_rango(1, -1) != v.copiar_rango(1, -1)) std::abort();
  } catch (const Excepcion&) {
  }

  try {
    std::istringstream archivo(texto);
    const TMatR m(archivo);
  } catch (const Excepcion&) {
  }
  return 0;
}
