#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "puerto_libre.h"

extern char** environ;

namespace prueba {

// Runs a program with its output appended to `registro`; its exit status (-1 if it did not run).
inline int Ejecutar(const std::vector<std::string>& args, const std::string& registro) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_addopen(&acciones, 1, registro.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0644);
  posix_spawn_file_actions_adddup2(&acciones, 1, 2);
  pid_t pid = 0;
  const int r = posix_spawnp(&pid, argv[0], &acciones, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acciones);
  if (r != 0) return -1;
  int estado = 0;
  while (waitpid(pid, &estado, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

inline std::string LeerTexto(const std::string& archivo) {
  std::ifstream f(archivo, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TCarpetaTemporal {
 public:
  explicit TCarpetaTemporal(std::filesystem::path base = std::filesystem::temp_directory_path()) {
    std::string plantilla = (base / "veltra_XXXXXX").string();
    if (mkdtemp(plantilla.data()) != nullptr) ruta_ = plantilla;
  }
  ~TCarpetaTemporal() {
    std::error_code ec;
    if (!ruta_.empty()) std::filesystem::remove_all(ruta_, ec);
  }
  TCarpetaTemporal(const TCarpetaTemporal&) = delete;
  TCarpetaTemporal& operator=(const TCarpetaTemporal&) = delete;
  [[nodiscard]] const std::string& ruta() const { return ruta_; }

 private:
  std::string ruta_;
};

// A throwaway PostgreSQL cluster on a free loopback port, in a temporary folder, trusting local
// connections; stopped and removed at the end. The server refuses to run as root, so under root
// the cluster belongs to, and runs as, the unprivileged user "nobody".
class TClusterPostgres {
 public:
  // Nothing, with the reason in `motivo`, when the binaries are not installed.
  static std::unique_ptr<TClusterPostgres> Iniciar(std::string& motivo) {
    const char* env = std::getenv("VELTRA_PG_BIN");
    const std::string bin = env != nullptr ? env : "/usr/lib/postgresql/15/bin";
    for (const char* p : {"initdb", "pg_ctl", "postgres", "createdb", "psql"}) {
      if (access((bin + "/" + p).c_str(), X_OK) != 0) {
        motivo = "PostgreSQL no está instalado (falta " + bin + "/" + p +
                 "; instalar el paquete postgresql o fijar VELTRA_PG_BIN)";
        return nullptr;
      }
    }
    auto c = std::unique_ptr<TClusterPostgres>(new TClusterPostgres(bin));
    if (!c->Arrancar(motivo)) return nullptr;
    return c;
  }

  ~TClusterPostgres() {
    if (arrancado_) {
      Ejecutar(Como({bin_ + "/pg_ctl", "-D", datos_, "-m", "immediate", "-w", "stop"}), registro_);
    }
  }
  TClusterPostgres(const TClusterPostgres&) = delete;
  TClusterPostgres& operator=(const TClusterPostgres&) = delete;

  // A new empty database; its libpq connection string.
  std::string NuevaBase() {
    const std::string nombre = "prueba" + std::to_string(++bases_);
    if (Ejecutar({bin_ + "/createdb", "-h", "127.0.0.1", "-p", std::to_string(puerto_), "-U",
                  "veltra", nombre},
                 registro_) != 0) {
      return {};
    }
    return Conexion(nombre);
  }
  [[nodiscard]] std::string Conexion(const std::string& base) const {
    return "host=127.0.0.1 port=" + std::to_string(puerto_) + " user=veltra dbname=" + base;
  }
  [[nodiscard]] std::string Registro() const { return LeerTexto(registro_); }

 private:
  // Under root the folder must be one "nobody" can reach, whatever TMPDIR says.
  explicit TClusterPostgres(std::string bin)
      : bin_(std::move(bin)),
        carpeta_(geteuid() == 0 ? std::filesystem::path("/tmp")
                                : std::filesystem::temp_directory_path()) {}

  std::vector<std::string> Como(std::vector<std::string> args) const {
    if (geteuid() != 0) return args;
    args.insert(args.begin(), {"runuser", "-u", "nobody", "--"});
    return args;
  }

  bool Arrancar(std::string& motivo) {
    if (carpeta_.ruta().empty()) {
      motivo = "no se pudo crear la carpeta temporal";
      return false;
    }
    registro_ = carpeta_.ruta() + "/registro.txt";
    datos_ = carpeta_.ruta() + "/datos";
    if (geteuid() == 0) {
      const passwd* nadie = getpwnam("nobody");
      if (nadie == nullptr || chown(carpeta_.ruta().c_str(), nadie->pw_uid, nadie->pw_gid) != 0) {
        motivo = "no se pudo ceder la carpeta temporal al usuario nobody";
        return false;
      }
    }
    if (Ejecutar(Como({bin_ + "/initdb", "-D", datos_, "-U", "veltra", "--auth=trust", "-E", "UTF8",
                       "--no-locale", "--no-sync"}),
                 carpeta_.ruta() + "/initdb.txt") != 0) {
      motivo = "initdb falló: " + LeerTexto(carpeta_.ruta() + "/initdb.txt");
      return false;
    }
    for (int intento = 0; intento < 3 && !arrancado_; ++intento) {
      puerto_ = PuertoLibre();
      arrancado_ =
          Ejecutar(
              Como({bin_ + "/pg_ctl", "-D", datos_, "-l", carpeta_.ruta() + "/servidor.txt", "-o",
                    "-h 127.0.0.1 -p " + std::to_string(puerto_) + " -k " + carpeta_.ruta() + " -F",
                    "-w", "-t", "60", "start"}),
              registro_) == 0;
    }
    if (!arrancado_) motivo = "pg_ctl start falló: " + LeerTexto(carpeta_.ruta() + "/servidor.txt");
    return arrancado_;
  }

  std::string bin_;
  TCarpetaTemporal carpeta_;
  std::string datos_, registro_;
  int puerto_ = 0;
  int bases_ = 0;
  bool arrancado_ = false;
};

// One PostgreSQL cluster per test process, started on first use and stopped at the end.
class EntornoPostgres : public testing::Environment {
 public:
  static prueba::TClusterPostgres* Cluster(std::string& motivo) {
    if (!intentado_) {
      intentado_ = true;
      cluster_ = prueba::TClusterPostgres::Iniciar(motivo_);
    }
    motivo = motivo_;
    return cluster_.get();
  }
  void TearDown() override { cluster_.reset(); }

 private:
  static inline bool intentado_ = false;
  static inline std::string motivo_;
  static inline std::unique_ptr<prueba::TClusterPostgres> cluster_;
};
inline testing::Environment* const entorno_postgres =
    testing::AddGlobalTestEnvironment(new EntornoPostgres);

}  // namespace prueba
