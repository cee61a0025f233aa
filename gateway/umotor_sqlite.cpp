#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <mutex>

#include "fechas.h"
#include "numtext.h"
#include "uDataSetGenerico.h"
#include "umotor.h"

namespace {

const char* const kRechazoGeneral =
    "sentencia rechazada: solo se aceptan SELECT, INSERT, UPDATE y DELETE sobre las tablas "
    "centrales, molinos, curvas_aerogen, modelo_teorico y modelo_teorico_etha_molinos";

// The current instant in UTC with milliseconds, a text that sorts as it should.
void FuncionNow(sqlite3_context* ctx, int, sqlite3_value**) {
  const auto ahora = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(ahora.time_since_epoch());
  const std::time_t segundos = static_cast<std::time_t>(ms.count() / 1000);
  std::tm tm{};
  gmtime_r(&segundos, &tm);
  TFechaHoraPartes p;
  p.anio = tm.tm_year + 1900;
  p.mes = tm.tm_mon + 1;
  p.dia = tm.tm_mday;
  p.hora = tm.tm_hour;
  p.minuto = tm.tm_min;
  p.segundo = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  p.milisegundo = static_cast<int>(ms.count() % 1000);
  const std::string texto =
      FormatearFechaHora("yyyy'-'mm'-'dd hh':'nn':'ss'.'zzz", CodificarFechaHora(p));
  sqlite3_result_text(ctx, texto.c_str(), static_cast<int>(texto.size()), SQLITE_TRANSIENT);
}

// What a client statement may do: read and write the five tables, call functions. The first
// refusal is kept so the client learns why.
struct TAutorizacion {
  std::string rechazo;
};

int Autorizar(void* datos, int accion, const char* a, const char* b, const char*, const char*) {
  auto& aut = *static_cast<TAutorizacion*>(datos);
  const auto negar = [&](std::string motivo) {
    if (aut.rechazo.empty()) aut.rechazo = std::move(motivo);
    return SQLITE_DENY;
  };
  switch (accion) {
    case SQLITE_SELECT:
    case SQLITE_FUNCTION:
      return SQLITE_OK;
    case SQLITE_READ:
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
      if (a != nullptr && EsTablaParque(a)) return SQLITE_OK;
      return negar("sentencia rechazada: la tabla " + std::string(a != nullptr ? a : "") +
                   " no pertenece a la base de parques");
    default:
      (void)b;
      return negar(kRechazoGeneral);
  }
}

std::string LimpiarNombre(const char* nombre) {
  std::string n = MinusculasAscii(nombre != nullptr ? nombre : "");
  for (char& c : n) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return n;
}

class TMotorSQLite : public TMotorBD {
 public:
  explicit TMotorSQLite(const std::string& archivo) {
    const int rc = sqlite3_open_v2(
        archivo.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
        nullptr);
    if (rc != SQLITE_OK) {
      const std::string msg = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close(db_);
      throw ExcepcionMotor("No se pudo abrir la base SQLite " + archivo + ": " + msg);
    }
    sqlite3_busy_timeout(db_, 5000);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    // No text or blob of a farm database comes near this; a statement cannot build huge ones.
    sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, 1 << 24);
    sqlite3_create_function(db_, "now", 0, SQLITE_UTF8, nullptr, FuncionNow, nullptr, nullptr);
    // A client statement that runs too long is stopped, so one query cannot hold the gateway.
    sqlite3_progress_handler(db_, 10000, &TMotorSQLite::Progreso, this);
  }
  ~TMotorSQLite() override { sqlite3_close(db_); }
  TMotorSQLite(const TMotorSQLite&) = delete;
  TMotorSQLite& operator=(const TMotorSQLite&) = delete;

  TResultadoTabla Ejecutar(const std::string& sql) override {
    VerificarSentencia(sql);
    const std::lock_guard<std::mutex> cerrojo(m_);
    TAutorizacion aut;
    // Kept for the whole run: a statement prepared again after a schema change is checked again.
    sqlite3_set_authorizer(db_, Autorizar, &aut);
    struct TQuitar {
      sqlite3* db;
      ~TQuitar() { sqlite3_set_authorizer(db, nullptr, nullptr); }
    } quitar{db_};

    sqlite3_stmt* st = nullptr;
    const char* resto = nullptr;
    const char* fin = sql.data() + sql.size();
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &st, &resto) !=
        SQLITE_OK) {
      Fallo(aut);
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> sentencia(st, sqlite3_finalize);
    if (st == nullptr) throw ExcepcionRechazo(kRechazoGeneral);
    // Whatever follows must be empty: blanks, comments or bare semicolons.
    while (resto != nullptr && resto < fin) {
      sqlite3_stmt* otra = nullptr;
      const char* siguiente = nullptr;
      const int rc =
          sqlite3_prepare_v2(db_, resto, static_cast<int>(fin - resto), &otra, &siguiente);
      sqlite3_finalize(otra);
      if (rc != SQLITE_OK || otra != nullptr) {
        throw ExcepcionRechazo("sentencia rechazada: se acepta una sola sentencia por pedido");
      }
      if (siguiente == resto) break;
      resto = siguiente;
    }

    TResultadoTabla r;
    const int cols = sqlite3_column_count(st);
    for (int c = 0; c < cols; ++c) {
      r.nombres.push_back(LimpiarNombre(sqlite3_column_name(st, c)));
      r.infos.push_back(LimpiarNombre(sqlite3_column_decltype(st, c)));
    }
    inicio_ = std::chrono::steady_clock::now();
    for (;;) {
      const int rc = sqlite3_step(st);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) Fallo(aut);
      std::vector<std::string> fila;
      fila.reserve(static_cast<std::size_t>(cols));
      for (int c = 0; c < cols; ++c) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
        fila.emplace_back(
            t != nullptr ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(st, c)))
                         : std::string());
      }
      r.filas.push_back(std::move(fila));
    }
    return r;
  }

  std::int64_t SiguienteNid(const std::string& tabla) override {
    if (!EsTablaConNid(tabla)) {
      throw ExcepcionRechazo("next_nid: la tabla '" + tabla + "' no tiene identificadores nid");
    }
    const std::string t = MinusculasAscii(tabla);
    const std::lock_guard<std::mutex> cerrojo(m_);
    // The write lock is taken at BEGIN, so another process sharing the file waits its turn.
    Exec("BEGIN IMMEDIATE");
    try {
      const std::int64_t ultimo = Escalar("SELECT ultimo FROM pasarela_nids WHERE tabla = ?1", t);
      const std::int64_t maximo = Escalar("SELECT coalesce(max(nid), 0) FROM " + t, "");
      const std::int64_t n = (ultimo > maximo ? ultimo : maximo) + 1;
      Exec("INSERT INTO pasarela_nids (tabla, ultimo) VALUES ('" + t + "', " + IntATexto(n) +
           ") ON CONFLICT (tabla) DO UPDATE SET ultimo = excluded.ultimo");
      Exec("COMMIT");
      return n;
    } catch (...) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }

  void CrearEsquema() override {
    const std::lock_guard<std::mutex> cerrojo(m_);
    Exec(kEsquemaSQLite);
  }

  void CargarSemilla(const std::string& texto) override {
    const std::lock_guard<std::mutex> cerrojo(m_);
    Exec("BEGIN");
    try {
      Exec(texto);
      Exec("COMMIT");
    } catch (...) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }

 private:
  static constexpr std::chrono::seconds kLimite{30};

  static int Progreso(void* datos) {
    const auto& m = *static_cast<TMotorSQLite*>(datos);
    return std::chrono::steady_clock::now() - m.inicio_ > kLimite ? 1 : 0;
  }

  [[noreturn]] void Fallo(const TAutorizacion& aut) {
    if (!aut.rechazo.empty()) throw ExcepcionRechazo(aut.rechazo);
    throw ExcepcionMotor(sqlite3_errmsg(db_));
  }

  void Exec(const std::string& sql) {
    inicio_ = std::chrono::steady_clock::now();
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string msg = error != nullptr ? error : sqlite3_errmsg(db_);
      sqlite3_free(error);
      throw ExcepcionMotor(msg);
    }
  }

  // First column of the first row as an integer (0 when there is no row or it is null).
  std::int64_t Escalar(const std::string& sql, const std::string& parametro) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      throw ExcepcionMotor(sqlite3_errmsg(db_));
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> sentencia(st, sqlite3_finalize);
    if (sqlite3_bind_parameter_count(st) > 0) {
      sqlite3_bind_text(st, 1, parametro.c_str(), -1, SQLITE_TRANSIENT);
    }
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return sqlite3_column_int64(st, 0);
    if (rc != SQLITE_DONE) throw ExcepcionMotor(sqlite3_errmsg(db_));
    return 0;
  }

  sqlite3* db_ = nullptr;
  std::mutex m_;
  std::chrono::steady_clock::time_point inicio_ = std::chrono::steady_clock::now();
};

}  // namespace

std::unique_ptr<TMotorBD> CrearMotorSQLite(const std::string& archivo) {
  auto m = std::make_unique<TMotorSQLite>(archivo);
  // The gateway's own table must exist for next_nid even in a database made elsewhere.
  try {
    m->CargarSemilla(
        "CREATE TABLE IF NOT EXISTS pasarela_nids (tabla TEXT PRIMARY KEY, ultimo INTEGER NOT "
        "NULL)");
  } catch (const ExcepcionMotor&) {
    // A read-only database: next_nid will report the database's own error.
  }
  return m;
}
