// Gateway responses: markers, status, error text, line splitting and the data lines that fill a
// result set. Whatever the bytes, the parser either fills a set or raises the system's exception,
// and how the bytes arrive (one at a time or in large pieces) never changes the result.
#include <cstdint>
#include <string>

#include "urosx.h"

namespace {

struct TResultado {
  std::vector<std::string> lineas;
  std::string error;
};

TResultado Leer(const std::string& bytes, std::size_t trozo) {
  TFuenteMemoria fuente(bytes, trozo);
  TLectorLineas lector(fuente, std::size_t{1} << 20, "demasiado grande");
  TResultado r;
  try {
    r.lineas = LeerRespuesta(lector, "query");
  } catch (const Excepcion& e) {
    r.error = e.what();
  }
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tam) {
  if (tam == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(datos + 1), tam - 1);
  const TResultado a = Leer(bytes, std::size_t{datos[0]} + 1);
  const TResultado b = Leer(bytes, 4096);
  if (a.lineas != b.lineas || a.error != b.error) __builtin_trap();
  for (const std::string& l : a.lineas) {
    if (l.find('\n') != std::string::npos || (!l.empty() && l.back() == '\r')) __builtin_trap();
  }
  try {
    const auto set = TResultadoQuery::CrearDesdeLineas(a.lineas);
    std::string texto;
    for (; !set->Eof(); set->Next()) {
      for (std::int32_t c = 0; c < set->nCols; ++c) texto += set->FieldByIndex(c).AsString();
      set->RecordAt(set->current).ToText(texto);
    }
    if (set->nCols > 0) (void)set->IndexOfField(set->columns[0].name);
  } catch (const Excepcion&) {
  }
  (void)URLDecode(bytes);
  if (URLDecode(URLEncode(bytes)) != bytes) __builtin_trap();
  return 0;
}
