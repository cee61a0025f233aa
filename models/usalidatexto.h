#pragma once

#include <initializer_list>
#include <string>

// Writes a whole table through a temporary file beside the target and a rename, so a failure
// never leaves a half-written table nor destroys the previous one. Raises ExcepcionES.
void EscribirTextoAtomico(const std::string& ruta, const std::string& texto);

// Appends one table line: the fields joined by TAB, then CR LF.
void AgregarLineaTabla(std::string& texto, std::initializer_list<std::string> campos);
