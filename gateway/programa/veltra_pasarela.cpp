// The farm database gateway: answers the client's SQL-over-HTTP operations from SQLite or
// PostgreSQL. Prints one line when it is ready and stops on SIGTERM or SIGINT.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "numtext.h"
#include "umotor.h"
#include "uservidor.h"

namespace {

const char* const kUso =
    "uso: veltra_pasarela [opciones]\n"
    "  --sqlite ARCHIVO      base SQLite (por defecto veltra_parques.db; se crea si falta)\n"
    "  --postgres CONEXION   base PostgreSQL (cadena de conexión de libpq)\n"
    "  --direccion IP        dirección en la que escucha (por defecto 127.0.0.1)\n"
    "  --puerto N            puerto (por defecto 8080; 0 elige uno libre)\n"
    "  --crear-esquema       crea las tablas que falten\n"
    "  --cargar ARCHIVO.sql  ejecuta un archivo de INSERT (semilla) en una transacción\n"
    "  --salir               termina tras preparar la base, sin escuchar\n";

int tuberiaSenal[2] = {-1, -1};

// Only async-signal-safe work here: the main thread wakes up and stops the server.
void AlRecibirSenal(int) {
  const char c = 's';
  const ssize_t r = write(tuberiaSenal[1], &c, 1);
  (void)r;
}

std::string LeerArchivo(const std::string& nombre) {
  std::ifstream f(nombre, std::ios::binary);
  if (!f) throw ExcepcionES("No se pudo abrir " + nombre);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  // Whichever thread takes SIGTERM or SIGINT, the handler only wakes the main thread.
  if (pipe(tuberiaSenal) != 0) return 1;
  struct sigaction accion {};
  accion.sa_handler = AlRecibirSenal;
  sigemptyset(&accion.sa_mask);
  sigaction(SIGINT, &accion, nullptr);
  sigaction(SIGTERM, &accion, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  std::string sqlite = "veltra_parques.db", postgres;
  TOpcionesServidor opciones;
  bool crear = false, salir = false;
  std::vector<std::string> semillas;
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      const auto valor = [&]() -> const std::string& {
        if (i + 1 >= args.size()) throw Excepcion("falta el valor de " + a);
        return args[++i];
      };
      if (a == "--sqlite") {
        sqlite = valor();
      } else if (a == "--postgres") {
        postgres = valor();
      } else if (a == "--direccion") {
        opciones.direccion = valor();
      } else if (a == "--puerto") {
        opciones.puerto = TextoAEntero(valor());
      } else if (a == "--crear-esquema") {
        crear = true;
      } else if (a == "--cargar") {
        semillas.push_back(valor());
      } else if (a == "--salir") {
        salir = true;
      } else if (a == "--ayuda" || a == "-h" || a == "--help") {
        std::cout << kUso;
        return 0;
      } else {
        throw Excepcion("opción desconocida: " + a + "\n" + kUso);
      }
    }

    const std::unique_ptr<TMotorBD> motor =
        postgres.empty() ? CrearMotorSQLite(sqlite) : CrearMotorPostgres(postgres);
    if (crear) motor->CrearEsquema();
    for (const std::string& s : semillas) motor->CargarSemilla(LeerArchivo(s));
    if (salir) return 0;

    TServidorPasarela servidor(*motor, opciones);
    servidor.Iniciar();
    std::cout << "veltra_pasarela escuchando en " << servidor.direccion() << ":"
              << IntATexto(servidor.puerto()) << std::endl;
    char c = 0;
    while (read(tuberiaSenal[0], &c, 1) < 0 && errno == EINTR) {
    }
    servidor.Detener();
    std::cerr << "veltra_pasarela detenida" << std::endl;
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "veltra_pasarela: " << e.what() << std::endl;
    return 1;
  }
}
