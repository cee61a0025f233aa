#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// A loopback TCP peer that plays a fixed script, one connection per entry: it reads the request,
// answers the scripted bytes (or stays silent, or closes at once) and records what it received.
class TPeerGuionado {
 public:
  enum class Modo { Responder, Callar, CerrarSinLeer };
  struct Paso {
    std::string respuesta;
    Modo modo = Modo::Responder;
  };

  explicit TPeerGuionado(std::vector<Paso> pasos) : pasos_(std::move(pasos)) {
    escucha_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in dir{};
    dir.sin_family = AF_INET;
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof dir;
    ::bind(escucha_, reinterpret_cast<sockaddr*>(&dir), sizeof dir);
    ::listen(escucha_, 8);
    ::getsockname(escucha_, reinterpret_cast<sockaddr*>(&dir), &largo);
    puerto_ = ntohs(dir.sin_port);
    hilo_ = std::thread([this] { Correr(); });
  }
  explicit TPeerGuionado(std::string respuesta, Modo modo = Modo::Responder)
      : TPeerGuionado(std::vector<Paso>{{std::move(respuesta), modo}}) {}

  ~TPeerGuionado() {
    if (hilo_.joinable()) hilo_.join();
    ::close(escucha_);
  }
  TPeerGuionado(const TPeerGuionado&) = delete;
  TPeerGuionado& operator=(const TPeerGuionado&) = delete;

  [[nodiscard]] int puerto() const { return puerto_; }
  // Waits for the script to end; the request bytes of each connection.
  const std::vector<std::string>& Peticiones() {
    if (hilo_.joinable()) hilo_.join();
    return peticiones_;
  }

 private:
  static bool Esperar(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
  }

  // Headers up to the blank line, then Content-Length bytes and the final LF.
  static std::string LeerPeticion(int fd) {
    std::string r;
    std::size_t esperado = std::string::npos;
    char buf[4096];
    while (r.size() < esperado && Esperar(fd, 5000)) {
      const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      r.append(buf, static_cast<std::size_t>(n));
      const std::size_t fin = r.find("\n\n");
      if (esperado == std::string::npos && fin != std::string::npos) {
        const std::size_t cl = r.find("Content-Length: ");
        std::size_t largo = 0;
        if (cl != std::string::npos) {
          for (std::size_t i = cl + 16; i < r.size() && r[i] >= '0' && r[i] <= '9'; ++i) {
            largo = largo * 10 + static_cast<std::size_t>(r[i] - '0');
          }
        }
        esperado = fin + 2 + largo + 1;
      }
    }
    return r;
  }

  void Correr() {
    for (const Paso& p : pasos_) {
      if (!Esperar(escucha_, 10000)) return;
      const int fd = ::accept4(escucha_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) return;
      if (p.modo == Modo::CerrarSinLeer) {
        ::close(fd);
        peticiones_.emplace_back();
        continue;
      }
      peticiones_.push_back(LeerPeticion(fd));
      if (p.modo == Modo::Responder) {
        std::size_t enviado = 0;
        while (enviado < p.respuesta.size()) {
          const ssize_t n =
              ::send(fd, p.respuesta.data() + enviado, p.respuesta.size() - enviado, MSG_NOSIGNAL);
          if (n <= 0) break;
          enviado += static_cast<std::size_t>(n);
        }
      } else {
        // Silent: hold the connection until the client gives up and closes it.
        char c;
        while (Esperar(fd, 10000) && ::recv(fd, &c, 1, 0) > 0) {
        }
      }
      ::close(fd);
    }
  }

  std::vector<Paso> pasos_;
  std::vector<std::string> peticiones_;
  int escucha_ = -1;
  int puerto_ = 0;
  std::thread hilo_;
};
