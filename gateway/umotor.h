#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "errores.h"

// A statement the database refused, with the database's own message.
class ExcepcionMotor : public Excepcion {
 public:
  using Excepcion::Excepcion;
};

// A statement the gateway refuses before or instead of running it (not one of the accepted kinds,
// several statements, a table outside the farm database).
class ExcepcionRechazo : public Excepcion {
 public:
  using Excepcion::Excepcion;
};

// Rows of a statement as texts; a null is the empty text.
struct TResultadoTabla {
  std::vector<std::string> infos;    // per column: its declared type, when the engine knows it
  std::vector<std::string> nombres;  // lower case
  std::vector<std::vector<std::string>> filas;
};

// The five tables of the farm database: the only ones client statements may touch.
bool EsTablaParque(std::string_view nombre);
// The tables "next_nid" serves (those with a nid column).
bool EsTablaConNid(std::string_view nombre);

// First keyword of a statement in lower case, after blanks and comments ("" when there is none).
std::string PrimeraPalabra(std::string_view sql);
// The checks that need no database: a NUL byte, and a first keyword other than SELECT, INSERT,
// UPDATE or DELETE, raise ExcepcionRechazo. The back ends add their own, engine-based, checks.
void VerificarSentencia(std::string_view sql);

// True when text follows a ';' that ends the first statement, read with PostgreSQL's rules for
// strings ('', E'', $tag$), quoted names and nested comments.
bool VariasSentenciasPostgres(std::string_view sql);

// One back end behind the gateway. Every method is safe to call from several threads.
class TMotorBD {
 public:
  virtual ~TMotorBD() = default;

  // One client statement, checked, run and committed; its rows (none for most writes).
  virtual TResultadoTabla Ejecutar(const std::string& sql) = 0;
  // An identifier not yet used in the table's nid and never handed out before.
  virtual std::int64_t SiguienteNid(const std::string& tabla) = 0;
  // Creates the missing tables of the farm database.
  virtual void CrearEsquema() = 0;
  // Runs a trusted file of statements (the operator's seed) in one transaction.
  virtual void CargarSemilla(const std::string& texto) = 0;
};

// The embedded default: one database file, created when missing.
std::unique_ptr<TMotorBD> CrearMotorSQLite(const std::string& archivo);
// A shared PostgreSQL database; `conexion` is a libpq connection string.
std::unique_ptr<TMotorBD> CrearMotorPostgres(const std::string& conexion);

// Schema texts compiled into the server.
extern const char* const kEsquemaSQLite;
extern const char* const kEsquemaPostgres;
