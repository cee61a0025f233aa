#include "usalidatexto.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "lienzo.h"

void EscribirTextoAtomico(const std::string& ruta, const std::string& texto) {
  EscribirArchivoAtomico(ruta, std::vector<std::uint8_t>(texto.begin(), texto.end()));
}

void AgregarLineaTabla(std::string& texto, std::initializer_list<std::string> campos) {
  bool primero = true;
  for (const std::string& c : campos) {
    if (!primero) texto += '\t';
    texto += c;
    primero = false;
  }
  texto += "\r\n";
}
