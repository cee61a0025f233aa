#include <libpq-fe.h>

#include <mutex>

#include "numtext.h"
#include "uDataSetGenerico.h"
#include "umotor.h"

namespace {

using TResultado = std::unique_ptr<PGresult, void (*)(PGresult*)>;

std::string MensajeDe(PGconn* con) {
  std::string m = PQerrorMessage(con);
  while (!m.empty() && (m.back() == '\n' || m.back() == '\r')) m.pop_back();
  return m;
}

std::string LimpiarNombre(const char* nombre) {
  std::string n = MinusculasAscii(nombre != nullptr ? nombre : "");
  for (char& c : n) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return n;
}

// Every "Relation Name" of an EXPLAIN (FORMAT JSON) plan: the tables the statement reads or writes.
std::vector<std::string> RelacionesDelPlan(const std::string& plan) {
  std::vector<std::string> r;
  const std::string clave = "\"Relation Name\": \"";
  for (std::size_t p = plan.find(clave); p != std::string::npos; p = plan.find(clave, p)) {
    p += clave.size();
    std::string nombre;
    while (p < plan.size() && plan[p] != '"') {
      if (plan[p] == '\\') nombre += '\\';  // an escaped name is never one of ours
      nombre += plan[p++];
    }
    r.push_back(nombre);
  }
  return r;
}

class TMotorPostgres : public TMotorBD {
 public:
  explicit TMotorPostgres(const std::string& conexion) : con_(PQconnectdb(conexion.c_str())) {
    if (con_ == nullptr || PQstatus(con_) != CONNECTION_OK) {
      const std::string msg = con_ != nullptr ? MensajeDe(con_) : "sin memoria";
      PQfinish(con_);
      throw ExcepcionMotor("No se pudo conectar con PostgreSQL: " + msg);
    }
    PQsetNoticeProcessor(
        con_, [](void*, const char*) {}, nullptr);
  }
  ~TMotorPostgres() override { PQfinish(con_); }
  TMotorPostgres(const TMotorPostgres&) = delete;
  TMotorPostgres& operator=(const TMotorPostgres&) = delete;

  TResultadoTabla Ejecutar(const std::string& sql) override {
    VerificarSentencia(sql);
    // The extended protocol below refuses a second statement too; this check names the refusal.
    if (VariasSentenciasPostgres(sql)) {
      throw ExcepcionRechazo("sentencia rechazada: se acepta una sola sentencia por pedido");
    }
    const std::lock_guard<std::mutex> cerrojo(m_);
    Reconectar();
    // A SELECT runs read-only, so that SELECT ... INTO or a writing function cannot create or
    // change anything; every statement has a time limit.
    const bool lectura = PrimeraPalabra(sql) == "select";
    Comando(lectura ? "BEGIN READ ONLY" : "BEGIN");
    try {
      Comando("SET LOCAL statement_timeout = 30000");
      // The extended protocol accepts one statement only; the plan names every table touched.
      const TResultado plan = Parametros("EXPLAIN (FORMAT JSON) " + sql);
      std::string texto;
      for (int i = 0; i < PQntuples(plan.get()); ++i) texto += PQgetvalue(plan.get(), i, 0);
      for (const std::string& t : RelacionesDelPlan(texto)) {
        if (!EsTablaParque(t)) {
          throw ExcepcionRechazo("sentencia rechazada: la tabla " + t +
                                 " no pertenece a la base de parques");
        }
      }
      const TResultado res = Parametros(sql);
      TResultadoTabla r;
      const int cols = PQnfields(res.get());
      for (int c = 0; c < cols; ++c) {
        r.nombres.push_back(LimpiarNombre(PQfname(res.get(), c)));
        r.infos.push_back(IntATexto(PQftype(res.get(), c)));
      }
      for (int f = 0; f < PQntuples(res.get()); ++f) {
        std::vector<std::string> fila;
        for (int c = 0; c < cols; ++c) {
          fila.emplace_back(PQgetvalue(res.get(), f, c),
                            static_cast<std::size_t>(PQgetlength(res.get(), f, c)));
        }
        r.filas.push_back(std::move(fila));
      }
      Comando("COMMIT");
      Limpiar();
      return r;
    } catch (...) {
      Deshacer();
      throw;
    }
  }

  std::int64_t SiguienteNid(const std::string& tabla) override {
    if (!EsTablaConNid(tabla)) {
      throw ExcepcionRechazo("next_nid: la tabla '" + tabla + "' no tiene identificadores nid");
    }
    const std::string t = MinusculasAscii(tabla);
    const std::lock_guard<std::mutex> cerrojo(m_);
    Reconectar();
    Comando("BEGIN");
    try {
      // The lock serialises every gateway that shares this database until the commit.
      Comando("LOCK TABLE pasarela_nids IN EXCLUSIVE MODE");
      const std::int64_t ultimo =
          Escalar("SELECT ultimo FROM pasarela_nids WHERE tabla = '" + t + "'");
      const std::int64_t maximo = Escalar("SELECT coalesce(max(nid), 0) FROM " + t);
      const std::int64_t n = (ultimo > maximo ? ultimo : maximo) + 1;
      Comando("INSERT INTO pasarela_nids (tabla, ultimo) VALUES ('" + t + "', " + IntATexto(n) +
              ") ON CONFLICT (tabla) DO UPDATE SET ultimo = excluded.ultimo");
      Comando("COMMIT");
      return n;
    } catch (...) {
      Deshacer();
      throw;
    }
  }

  void CrearEsquema() override {
    const std::lock_guard<std::mutex> cerrojo(m_);
    Reconectar();
    Comando(kEsquemaPostgres);
  }

  void CargarSemilla(const std::string& texto) override {
    const std::lock_guard<std::mutex> cerrojo(m_);
    Reconectar();
    Comando("BEGIN");
    try {
      Comando(texto);
      Comando("COMMIT");
    } catch (...) {
      Deshacer();
      throw;
    }
  }

 private:
  void Reconectar() {
    if (PQstatus(con_) != CONNECTION_OK) PQreset(con_);
    if (PQstatus(con_) != CONNECTION_OK) {
      throw ExcepcionMotor("No se pudo conectar con PostgreSQL: " + MensajeDe(con_));
    }
  }

  // Simple protocol: the trusted texts of the gateway itself, several statements allowed.
  void Comando(const std::string& sql) {
    const TResultado r(PQexec(con_, sql.c_str()), PQclear);
    const ExecStatusType s = PQresultStatus(r.get());
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK) throw ExcepcionMotor(MensajeDe(con_));
  }

  TResultado Parametros(const std::string& sql) {
    TResultado r(PQexecParams(con_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0),
                 PQclear);
    const ExecStatusType s = PQresultStatus(r.get());
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK) throw ExcepcionMotor(MensajeDe(con_));
    return r;
  }

  std::int64_t Escalar(const std::string& sql) {
    const TResultado r = Parametros(sql);
    if (PQntuples(r.get()) == 0 || PQgetisnull(r.get(), 0, 0)) return 0;
    return TextoAEntero(PQgetvalue(r.get(), 0, 0));
  }

  void Deshacer() noexcept {
    PGresult* r = PQexec(con_, "ROLLBACK");
    PQclear(r);
    Limpiar();
  }

  // Session settings a statement may have changed (set_config) go back to the connection's own.
  void Limpiar() noexcept {
    PGresult* r = PQexec(con_, "DISCARD ALL");
    PQclear(r);
  }

  PGconn* con_;
  std::mutex m_;
};

}  // namespace

std::unique_ptr<TMotorBD> CrearMotorPostgres(const std::string& conexion) {
  auto m = std::make_unique<TMotorPostgres>(conexion);
  try {
    m->CargarSemilla(
        "CREATE TABLE IF NOT EXISTS pasarela_nids (tabla text PRIMARY KEY, ultimo integer NOT "
        "NULL)");
  } catch (const ExcepcionMotor&) {
    // Without the right to create it, next_nid reports the database's own error.
  }
  return m;
}
