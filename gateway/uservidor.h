#pragma once

#include <functional>
#include <map>
#include <string>

#include "umotor.h"

struct MHD_Daemon;

// The body of the answer to one operation ("query", "exec", "next_nid"), between its
// "+inicio_" and "+fin_" markers; a failing or refused statement answers "+error" and its message.
// `rechazo` receives the reason when the gateway itself refused the request. An operation name
// that is not a plain lower-case word raises ExcepcionRechazo (it would be echoed in the markers).
std::string ResponderOperacion(TMotorBD& motor, const std::string& op,
                               const std::map<std::string, std::string>& parametros,
                               std::string& rechazo);

// application/x-www-form-urlencoded body to its fields; false on a bad percent-escape.
bool LeerFormulario(const std::string& cuerpo, std::map<std::string, std::string>& campos);

struct TOpcionesServidor {
  std::string direccion = "127.0.0.1";
  int puerto = 8080;  // 0: any free port
  std::string script = "/scripts/dovi.php";
  // One line per refused request; standard error when empty.
  std::function<void(const std::string&)> registro;
};

// The HTTP side of the gateway: POST to the script path, one statement per request.
class TServidorPasarela {
 public:
  static constexpr std::size_t kMaximoCuerpo = std::size_t{1} << 20;

  TServidorPasarela(TMotorBD& motor, TOpcionesServidor opciones);
  ~TServidorPasarela();
  TServidorPasarela(const TServidorPasarela&) = delete;
  TServidorPasarela& operator=(const TServidorPasarela&) = delete;

  // Listens and answers on its own threads; raises Excepcion when it cannot listen.
  void Iniciar();
  // Stops listening and waits for the requests in progress.
  void Detener();
  [[nodiscard]] int puerto() const { return puerto_; }
  [[nodiscard]] const std::string& direccion() const { return opciones_.direccion; }
  [[nodiscard]] const std::string& script() const { return opciones_.script; }

  // Internal: called by the HTTP library.
  std::string Atender(const std::string& cliente, const std::string& cuerpo, int& estado);

 private:
  TMotorBD& motor_;
  TOpcionesServidor opciones_;
  MHD_Daemon* daemon_ = nullptr;
  int puerto_ = 0;
};
