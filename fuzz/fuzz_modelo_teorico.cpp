#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "errores.h"
#include "uparques_modeloteorico.h"

// Any text must either read as a theoretical model or raise the one exception type; a model that
// reads is written, and what it writes reads back and writes again to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string texto(reinterpret_cast<const char*>(data), size);
  std::string escrito;
  try {
    std::istringstream archivo(texto);
    const auto p = TParque_ModeloTeorico::CrearDesdeTexto(archivo, "fuzz.pmt");
    std::ostringstream salida;
    p->EscribirTexto(salida);
    escrito = salida.str();
  } catch (const Excepcion&) {
    return 0;
  }
  std::istringstream otra(escrito);
  const auto q = TParque_ModeloTeorico::CrearDesdeTexto(otra, "fuzz.pmt");
  std::ostringstream salida;
  q->EscribirTexto(salida);
  if (salida.str() != escrito) std::abort();
  return 0;
}
