#pragma once

#include <cstdint>
#include <string>

// Every file kept for a central lives in one folder per central, "c" + nid, under the root working
// folder. Paths are texts joined with '/' and carry no trailing separator.

// Root working folder named by the environment: VELTRA_MODELADO_RO, else ~/veltra/modelado_ro.
std::string CarpetaRaizDelEntorno();
// Sets the root working folder (a program option, or tests); nothing is created.
void FijarCarpetaRaiz(const std::string& ruta);
// The root working folder; taken from the environment when none was set.
const std::string& CarpetaRaiz();
// Start-up: creates the root working folder with its missing parents. Raises ExcepcionES when it
// cannot, so the program stops before its window opens.
void IniciarCarpetaRaiz();

// Creates the folder `ruta` when it does not exist (one level: its parent must exist). Raises
// ExcepcionES when it cannot.
void AsegurarCarpeta(const std::string& ruta);

// <root>/c<nid>, created when missing (one level, under the root).
std::string CarpetaCentral(std::int32_t nid);
// carpeta + "/c" + nid + sufijo; the folder is neither tested nor created.
std::string ArchivoEnCarpeta(const std::string& carpeta, std::int32_t nid,
                             const std::string& sufijo);
// ArchivoEnCarpeta(CarpetaCentral(nid), nid, sufijo): the central folder exists afterwards.
std::string ArchivoCentral(std::int32_t nid, const std::string& sufijo);
// A file of the central folder whose name does not start with "c" + nid ("series_filtradas.xlt").
std::string ArchivoEnCarpetaCentral(std::int32_t nid, const std::string& nombre);

std::string ArchivoModeloTeorico(std::int32_t nid);    // c<nid>_parque_mt.pmt
std::string ArchivoModeloCombinado(std::int32_t nid);  // c<nid>.pmc
std::string ArchivoCalibrador(std::int32_t nid);       // c<nid>_calibrador.clp

// Folder of the diagnostic copies named by the environment: VELTRA_BASURA, else ~/veltra/basura.
std::string CarpetaBasuraDelEntorno();
void FijarCarpetaBasura(const std::string& ruta);
// The diagnostics folder, created with its missing parents on first use (ExcepcionES otherwise).
std::string CarpetaBasura();
// CarpetaBasura() + "/" + nombre.
std::string ArchivoBasura(const std::string& nombre);

// A text made safe as one component of a file name: '/', '\\' and NUL become '_'; anything else,
// blanks included, is kept.
std::string ComponenteNombreArchivo(const std::string& texto);
