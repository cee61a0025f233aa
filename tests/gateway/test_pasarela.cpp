#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <thread>

#include "cluster_postgres.h"
#include "umotor.h"
#include "urosx.h"
#include "uservidor.h"

using testing::HasSubstr;
using testing::StartsWith;

namespace {

// What the database holds, read with the engine's own library, not through the gateway.
class TVerificador {
 public:
  virtual ~TVerificador() = default;
  virtual std::vector<std::string> Columna(const std::string& sql) = 0;
  // Table names and every row of the five tables and the identifier reservations.
  std::string Huella(const std::string& listaTablas) {
    std::string h;
    for (const std::string& t : Columna(listaTablas)) h += t + ";";
    for (const char* t : {"centrales", "molinos", "curvas_aerogen", "modelo_teorico",
                          "modelo_teorico_etha_molinos", "pasarela_nids"}) {
      h += std::string("\n") + t + ":";
      for (const std::string& v : Columna(
               std::string("SELECT count(*) || '/' || coalesce(sum(length(t::text)), 0) FROM ") +
               t + " t")) {
        h += v;
      }
    }
    return h;
  }
};

class TVerificadorSQLite : public TVerificador {
 public:
  explicit TVerificadorSQLite(const std::string& archivo) {
    sqlite3_open_v2(archivo.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
  }
  ~TVerificadorSQLite() override { sqlite3_close(db_); }
  std::vector<std::string> Columna(const std::string& sql) override {
    std::string s = sql;
    // SQLite has no row-to-text cast: the sum of the columns' lengths stands in for it.
    const std::size_t p = s.find("length(t::text)");
    if (p != std::string::npos) s.replace(p, 15, "length(quote(t.rowid))");
    std::vector<std::string> r;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, s.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      return {std::string("error: ") + sqlite3_errmsg(db_)};
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      r.emplace_back(t != nullptr ? t : "");
    }
    sqlite3_finalize(st);
    return r;
  }

 private:
  sqlite3* db_ = nullptr;
};

class TVerificadorPostgres : public TVerificador {
 public:
  explicit TVerificadorPostgres(const std::string& conexion)
      : con_(PQconnectdb(conexion.c_str())) {}
  ~TVerificadorPostgres() override { PQfinish(con_); }
  std::vector<std::string> Columna(const std::string& sql) override {
    PGresult* res = PQexec(con_, sql.c_str());
    std::vector<std::string> r;
    if (PQresultStatus(res) != PGRES_TUPLES_OK) {
      r.push_back(std::string("error: ") + PQerrorMessage(con_));
    } else {
      for (int i = 0; i < PQntuples(res); ++i) r.emplace_back(PQgetvalue(res, i, 0));
    }
    PQclear(res);
    return r;
  }

 private:
  PGconn* con_;
};

// A real gateway on a free loopback port over a fresh database of the chosen back end, holding the
// demo farm; clients talk to it through the real client.
class Pasarela : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "sqlite") {
      archivo_ = carpeta_.ruta() + "/parques.db";
      motor_ = CrearMotorSQLite(archivo_);
      verificador_ = std::make_unique<TVerificadorSQLite>(archivo_);
      listaTablas_ = "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name";
    } else {
      std::string motivo;
      prueba::TClusterPostgres* cluster = prueba::EntornoPostgres::Cluster(motivo);
      if (cluster == nullptr && motivo.rfind("PostgreSQL no está instalado", 0) == 0) {
        GTEST_SKIP() << motivo;
      }
      ASSERT_NE(cluster, nullptr) << motivo;
      conexion_ = cluster->NuevaBase();
      ASSERT_FALSE(conexion_.empty()) << cluster->Registro();
      motor_ = CrearMotorPostgres(conexion_);
      verificador_ = std::make_unique<TVerificadorPostgres>(conexion_);
      listaTablas_ = "SELECT tablename FROM pg_tables WHERE schemaname = 'public' ORDER BY 1";
    }
    motor_->CrearEsquema();
    motor_->CargarSemilla(prueba::LeerTexto(VELTRA_SEMILLA_DEMO));
    servidor_ = Servidor(*motor_);
  }

  std::unique_ptr<TServidorPasarela> Servidor(TMotorBD& motor) {
    TOpcionesServidor op;
    op.puerto = 0;
    op.registro = [this](const std::string& linea) {
      const std::lock_guard<std::mutex> c(m_);
      rechazos_.push_back(linea);
    };
    auto s = std::make_unique<TServidorPasarela>(motor, op);
    s->Iniciar();
    return s;
  }

  static TDBrosxCon Cliente(const TServidorPasarela& s) {
    TDBrosxCon c("", "localhost", s.puerto(), "/scripts/dovi.php");
    c.FijarEsperas(std::chrono::seconds(5), std::chrono::seconds(30));
    return c;
  }

  std::vector<std::string> Rechazos() {
    const std::lock_guard<std::mutex> c(m_);
    return rechazos_;
  }

  prueba::TCarpetaTemporal carpeta_;
  std::string archivo_, conexion_, listaTablas_;
  std::unique_ptr<TMotorBD> motor_;
  std::unique_ptr<TVerificador> verificador_;
  std::unique_ptr<TServidorPasarela> servidor_;
  std::mutex m_;
  std::vector<std::string> rechazos_;
};

TEST_P(Pasarela, LeeElParqueDeDemostracion) {
  TDBrosxCon con = Cliente(*servidor_);
  auto c = con.QueryOrThrow("SELECT * FROM centrales WHERE nid = 8");
  ASSERT_EQ(c->nRows, 1);
  EXPECT_EQ(c->FieldByName("centralgeneradora").AsString(), "Parque Demo");
  EXPECT_EQ(c->FieldByName("Meteo_UTM_xe").AsFloat(0), 600000.0);
  EXPECT_EQ(c->FieldByName("meteo_utm_huso").AsInteger(0), 21);
  EXPECT_EQ(con.QueryInt("SELECT count(*) FROM molinos WHERE nidcentral=8", -1), 5);
  EXPECT_EQ(con.QueryFloat("SELECT factor_smec_scada from centrales where nid=8", 0), 1.02);
  auto t = con.QueryOrThrow("SELECT * FROM molinos WHERE nidcentral=8 ORDER BY nro");
  ASSERT_EQ(t->nRows, 5);
  int turbinas = 0;
  for (; !t->Eof(); t->Next()) {
    ++turbinas;
    EXPECT_EQ(t->FieldByName("nro").AsInteger(0), turbinas);
    EXPECT_EQ(t->FieldByName("nid_curvaaero").AsInteger(0), 1);
  }
  EXPECT_EQ(turbinas, 5);
  auto curva = con.QueryOrThrow("SELECT * FROM curvas_aerogen WHERE nid =1");
  EXPECT_EQ(curva->FieldByName("modelo").AsString(), "DEMO-2000/90");
  EXPECT_THAT(curva->FieldByName("curva_P").AsString(), StartsWith("[ 23| 0;  0.06;"));
  // Loading the seed again changes nothing.
  const std::string antes = verificador_->Huella(listaTablas_);
  motor_->CargarSemilla(prueba::LeerTexto(VELTRA_SEMILLA_DEMO));
  EXPECT_EQ(verificador_->Huella(listaTablas_), antes);
}

TEST_P(Pasarela, CicloDeUnModeloTeorico) {
  TDBrosxCon con = Cliente(*servidor_);
  const std::int32_t nid = con.NextNid("modelo_teorico");
  EXPECT_GT(nid, 0);
  ASSERT_EQ(con.ExecSQL("INSERT INTO modelo_teorico (nid, central, dt_creacion, dt_actualizacion )"
                        "  VALUES ( " +
                        std::to_string(nid) + ", 8, now(), now() )"),
            0)
      << con.LastError();
  ASSERT_EQ(con.ExecSQL("UPDATE modelo_teorico SET n_sectores_dir= 72, alfa_terreno = 0.5, "
                        "meteo_etha = '[ 2| 1;  0]', meteo_cota = 1.5E-7, meteo_utm_zona = 'H' "
                        "WHERE nid = " +
                        std::to_string(nid)),
            0)
      << con.LastError();
  for (const int molino : {801, 802}) {
    ASSERT_EQ(con.ExecSQL("INSERT INTO modelo_teorico_etha_molinos ( nid_modelo, nid_molino, etha "
                          ") VALUES ( " +
                          std::to_string(nid) + ", " + std::to_string(molino) + ", 1 )"),
              0)
        << con.LastError();
  }
  ASSERT_EQ(con.ExecSQL("UPDATE modelo_teorico_etha_molinos SET etha = 0.975 WHERE nid_modelo = " +
                        std::to_string(nid) + " AND nid_molino = 802"),
            0);
  auto m = con.QueryOrThrow(
      "SELECT * FROM modelo_teorico WHERE central = 8 ORDER BY dt_creacion "
      "DESC LIMIT 1");
  ASSERT_EQ(m->nRows, 1);
  EXPECT_EQ(m->FieldByName("nid").AsInteger(0), nid);
  EXPECT_EQ(m->FieldByName("alfa_terreno").AsFloat(0), 0.5);
  EXPECT_EQ(m->FieldByName("meteo_cota").AsFloat(0), 1.5e-7);
  EXPECT_EQ(m->FieldByName("meteo_etha").AsString(), "[ 2| 1;  0]");
  EXPECT_EQ(m->FieldByName("gamma_atmosfera").AsFloat(-3), -3);  // null travels as empty
  EXPECT_FALSE(m->FieldByName("dt_creacion").AsString().empty());
  EXPECT_EQ(con.QueryFloat("SELECT etha FROM modelo_teorico_etha_molinos WHERE nid_modelo = " +
                               std::to_string(nid) + " AND nid_molino = 802",
                           -1.0),
            0.975);
  EXPECT_EQ(con.QueryFloat("SELECT etha FROM modelo_teorico_etha_molinos WHERE nid_modelo = " +
                               std::to_string(nid) + " AND nid_molino = 803",
                           -1.0),
            -1.0);
  // An identifier handed out is never handed out again, even before its row exists.
  const std::int32_t otro = con.NextNid("modelo_teorico");
  EXPECT_GT(otro, nid);
  EXPECT_GT(con.NextNid("modelo_teorico"), otro);
  EXPECT_EQ(con.ExecSQL("DELETE FROM modelo_teorico_etha_molinos WHERE nid_modelo = " +
                        std::to_string(nid)),
            0);
  EXPECT_EQ(con.ExecSQL("DELETE FROM modelo_teorico WHERE central = 8"), 0);
  EXPECT_EQ(con.QueryInt("SELECT count(*) FROM modelo_teorico", -1), 0);
  EXPECT_EQ(con.QueryInt("SELECT count(*) FROM modelo_teorico_etha_molinos", -1), 0);
}

TEST_P(Pasarela, TextosViajanIntactos) {
  TDBrosxCon con = Cliente(*servidor_);
  const std::string nombre = "Año 5%, 'x' & y+z\ttab";
  std::string literal;
  for (const char c : nombre) literal += c == '\'' ? std::string("''") : std::string(1, c);
  ASSERT_EQ(con.ExecSQL("UPDATE centrales SET centralgeneradora = '" + literal + "' WHERE nid = 8"),
            0)
      << con.LastError();
  EXPECT_EQ(con.QueryString("SELECT centralgeneradora FROM centrales WHERE nid = 8"), nombre);
  EXPECT_EQ(con.QueryStringDef("SELECT centralgeneradora FROM centrales WHERE nid = 99", "nada"),
            "nada");
}

TEST_P(Pasarela, ErroresDeLaBaseLleganALastError) {
  TDBrosxCon con = Cliente(*servidor_);
  EXPECT_EQ(con.Query("SELECT columna_que_no_existe FROM molinos"), nullptr);
  EXPECT_THAT(con.LastError(), StartsWith("TResultadoQuery.ros: "));
  EXPECT_THAT(con.LastError(), HasSubstr("columna_que_no_existe"));
  EXPECT_THAT(con.LastError(), testing::EndsWith("\r\n"));
  EXPECT_EQ(con.ExecSQL("INSERT INTO molinos (nid) VALUES (801)"), -1);  // duplicate key
  EXPECT_THAT(con.LastError(), StartsWith("TResultadoQuery.ros: "));
  EXPECT_THAT([&] { (void)con.NextNid("modelo_teorico_etha_molinos"); },
              testing::ThrowsMessage<ConsultaSQLException>(testing::StrEq(
                  "TResultadoQuery.ros: next_nid: la tabla 'modelo_teorico_etha_molinos' no "
                  "tiene identificadores nid\r\n")));
  EXPECT_TRUE(Rechazos().size() == 1) << testing::PrintToString(Rechazos());
}

TEST_P(Pasarela, SentenciasRechazadasNoCambianLaBase) {
  TDBrosxCon con = Cliente(*servidor_);
  const std::string antes = verificador_->Huella(listaTablas_);
  ASSERT_THAT(antes, HasSubstr("molinos:5/"));
  const char* const casos[] = {
      "DROP TABLE molinos",
      "  /* comentario */ -- otro\n DROP TABLE centrales",
      "SELECT 1; DELETE FROM molinos",
      "DELETE FROM molinos; DELETE FROM centrales",
      "UPDATE molinos SET etha = 0 WHERE nid = 801; DROP TABLE molinos",
      "DELETE FROM pasarela_nids",
      "UPDATE pasarela_nids SET ultimo = 0",
      "INSERT INTO otra_tabla VALUES (1)",
      "SELECT * FROM pasarela_nids",
      "SELECT * INTO copia FROM centrales",
      "CREATE TABLE copia (a integer)",
      "ALTER TABLE molinos ADD COLUMN x integer",
      "ATTACH DATABASE 'otra.db' AS otra",
      "PRAGMA writable_schema = 1",
      "BEGIN",
      "VACUUM",
      "WITH x AS (DELETE FROM molinos RETURNING *) SELECT * FROM x",
      "INSERT INTO molinos (nid) SELECT nid + 1000 FROM pasarela_nids",
      "DELETE FROM molinos WHERE nid IN (SELECT ultimo FROM pasarela_nids)",
  };
  for (const char* sql : casos) {
    SCOPED_TRACE(sql);
    EXPECT_EQ(con.ExecSQL(sql), -1);
    EXPECT_THAT(con.LastError(), StartsWith("TResultadoQuery.ros: "));
    EXPECT_EQ(con.Query(sql), nullptr);
  }
  // Comments read differently by the engines: SQLite sees a DROP after a comment and refuses the
  // text; PostgreSQL nests comments and sees a plain SELECT 1. Either way nothing changes.
  con.ExecSQL("/* /* */ DROP TABLE molinos; -- */ SELECT 1");
  EXPECT_EQ(verificador_->Huella(listaTablas_), antes);
  // Refusals by the gateway itself are logged.
  for (const char* sql : {"DROP TABLE molinos", "SELECT 1; DELETE FROM molinos",
                          "DELETE FROM pasarela_nids", "ATTACH DATABASE"}) {
    EXPECT_THAT(Rechazos(), testing::Contains(
                                testing::AllOf(HasSubstr("rechazado 127.0.0.1:"), HasSubstr(sql))));
  }
  EXPECT_EQ(con.QueryInt("SELECT count(*) FROM molinos", -1), 5);
}

TEST_P(Pasarela, NextNidDistintoParaClientesYPasarelasConcurrentes) {
  // Two gateways over the same database, two clients on each, all asking at once.
  std::unique_ptr<TMotorBD> otroMotor =
      GetParam() == "sqlite" ? CrearMotorSQLite(archivo_) : CrearMotorPostgres(conexion_);
  std::unique_ptr<TServidorPasarela> otro = Servidor(*otroMotor);
  constexpr int kPorCliente = 25;
  std::vector<std::vector<std::int32_t>> obtenidos(4);
  std::vector<std::string> errores(4);
  std::vector<std::thread> hilos;
  for (int i = 0; i < 4; ++i) {
    hilos.emplace_back([&, i] {
      TDBrosxCon con = Cliente(i % 2 == 0 ? *servidor_ : *otro);
      try {
        for (int k = 0; k < kPorCliente; ++k)
          obtenidos[static_cast<std::size_t>(i)].push_back(con.NextNid("molinos"));
      } catch (const std::exception& e) {
        errores[static_cast<std::size_t>(i)] = e.what();
      }
    });
  }
  for (std::thread& h : hilos) h.join();
  std::set<std::int32_t> todos;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(errores[static_cast<std::size_t>(i)], "");
    todos.insert(obtenidos[static_cast<std::size_t>(i)].begin(),
                 obtenidos[static_cast<std::size_t>(i)].end());
  }
  EXPECT_EQ(todos.size(), 4u * kPorCliente);
  EXPECT_GT(*todos.begin(), 805);  // above every nid already in the table
}

INSTANTIATE_TEST_SUITE_P(Motores, Pasarela, testing::Values("sqlite", "postgres"),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

// --- requests that are not the client's -------------------------------------------------------

std::string PedidoCrudo(int puerto, const std::string& bytes) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in dir{};
  dir.sin_family = AF_INET;
  dir.sin_port = htons(static_cast<std::uint16_t>(puerto));
  dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string r;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&dir), sizeof dir) == 0) {
    std::size_t enviado = 0;
    while (enviado < bytes.size()) {
      const ssize_t n = ::send(fd, bytes.data() + enviado, bytes.size() - enviado, MSG_NOSIGNAL);
      if (n <= 0) break;
      enviado += static_cast<std::size_t>(n);
    }
    ::shutdown(fd, SHUT_WR);
    char buf[4096];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 10000) > 0) {
      const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      r.append(buf, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return r;
}

std::string Post(const std::string& ruta, const std::string& cuerpo) {
  return "POST " + ruta + " HTTP/1.0\nContent-Type: application/x-www-form-urlencoded\n" +
         "Content-Length: " + std::to_string(cuerpo.size()) + "\n\n" + cuerpo + "\n";
}

TEST(PasarelaHttp, PedidosMalFormadosNoLaDerriban) {
  prueba::TCarpetaTemporal carpeta;
  auto motor = CrearMotorSQLite(carpeta.ruta() + "/p.db");
  motor->CrearEsquema();
  std::vector<std::string> registro;
  std::mutex m;
  TOpcionesServidor op;
  op.puerto = 0;
  op.registro = [&](const std::string& l) {
    const std::lock_guard<std::mutex> c(m);
    registro.push_back(l);
  };
  TServidorPasarela s(*motor, op);
  s.Iniciar();
  struct Caso {
    std::string pedido, esperado;
  };
  const Caso casos[] = {
      {Post("/scripts/dovi.php", "xo=query&sql=select%zz"), "HTTP/1.1 400"},
      {Post("/scripts/dovi.php", "xo=query&sql=%"), "HTTP/1.1 400"},
      {Post("/scripts/dovi.php", "xo=Query%0A%2Binicio_query&sql=1"), "HTTP/1.1 400"},
      {Post("/scripts/dovi.php", ""), "HTTP/1.1 400"},
      {Post("/otro.php", "xo=query&sql=select%201"), "HTTP/1.1 404"},
      {"GET /scripts/dovi.php HTTP/1.0\n\n", "HTTP/1.1 405"},
      {Post("/scripts/dovi.php", "xo=query&sql=" + std::string(2 << 20, 'a')), "HTTP/1.1 413"},
      {Post("/scripts/dovi.php", "xo=query"),
       "+inicio_query\r\n+error\r\nfalta el parámetro sql\r\n+fin_query\r\n"},
      {Post("/scripts/dovi.php", "xo=next_nid"),
       "+inicio_next_nid\r\n+error\r\nfalta el parámetro tabla\r\n+fin_next_nid\r\n"},
      {Post("/scripts/dovi.php", "xo=borrar&sql=x"),
       "+inicio_borrar\r\n+error\r\noperación desconocida: borrar\r\n+fin_borrar\r\n"},
      {Post("/scripts/dovi.php", "xo=query&sql=select+1+as+Uno"),
       "+inicio_query\r\n+ok\r\n1\r\n1\r\n\r\nuno\r\n1\r\n+fin_query\r\n"},
      {std::string("\x00\xff\r\n\r\n garbage", 14), ""},
      {"POST /scripts/dovi.php HTTP/1.0\nContent-Length: 99999999999999999999\n\n", ""},
      {"POST /scripts/dovi.php HTTP/1.0\nContent-Length: 10\n\nxo=q", ""},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.pedido.substr(0, 60));
    const std::string r = PedidoCrudo(s.puerto(), c.pedido);
    if (c.esperado.rfind("HTTP", 0) == 0) {
      EXPECT_THAT(r, StartsWith(c.esperado));
    } else if (!c.esperado.empty()) {
      EXPECT_THAT(r, testing::EndsWith("\r\n\r\n" + c.esperado));
    }
  }
  // Still answering the client after all that.
  TDBrosxCon con("127.0.0.1", "localhost", s.puerto(), "/scripts/dovi.php");
  EXPECT_EQ(con.QueryInt("SELECT count(*) FROM centrales", -1), 0) << con.LastError();
  const std::lock_guard<std::mutex> c(m);
  EXPECT_THAT(registro, testing::Contains(HasSubstr("cuerpo mal codificado")));
  EXPECT_THAT(registro, testing::Contains(HasSubstr("operación desconocida: borrar")));
}

// --- the program itself -------------------------------------------------------------------------

TEST(ProgramaPasarela, AvisaCuandoEstaListaYTerminaConSIGTERM) {
  prueba::TCarpetaTemporal carpeta;
  int tubo[2];
  ASSERT_EQ(pipe(tubo), 0);
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_adddup2(&acciones, tubo[1], 1);
  posix_spawn_file_actions_addclose(&acciones, tubo[0]);
  const std::string base = carpeta.ruta() + "/p.db";
  std::vector<std::string> args = {VELTRA_PASARELA_EXE, "--sqlite", base,
                                   "--crear-esquema",   "--cargar", VELTRA_SEMILLA_DEMO,
                                   "--puerto",          "0"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &acciones, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&acciones);
  close(tubo[1]);
  std::string linea;
  char ch = 0;
  pollfd p{tubo[0], POLLIN, 0};
  while (poll(&p, 1, 20000) > 0 && read(tubo[0], &ch, 1) == 1 && ch != '\n') linea += ch;
  close(tubo[0]);
  ASSERT_THAT(linea, StartsWith("veltra_pasarela escuchando en 127.0.0.1:"));
  const int puerto = std::stoi(linea.substr(linea.rfind(':') + 1));
  TDBrosxCon con("", "localhost", puerto, "/scripts/dovi.php");
  EXPECT_EQ(con.QueryString("SELECT centralgeneradora FROM centrales WHERE nid = 8"), "Parque Demo")
      << con.LastError();
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  int estado = 0;
  ASSERT_EQ(waitpid(pid, &estado, 0), pid);
  EXPECT_TRUE(WIFEXITED(estado));
  EXPECT_EQ(WEXITSTATUS(estado), 0);
  // Stopped: nobody answers any more.
  EXPECT_EQ(con.Query("SELECT 1"), nullptr);
  EXPECT_THAT(con.LastError(), StartsWith("No pude abrir el socket."));
}

}  // namespace
