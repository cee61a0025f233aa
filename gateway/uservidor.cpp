#include "uservidor.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <iostream>
#include <memory>

#include "numtext.h"
#include "urosx.h"

namespace {

const char* const kCR_LF = "\r\n";

bool NombreDeOperacionValido(const std::string& op) {
  if (op.empty() || op.size() > 32) return false;
  for (const char c : op) {
    if (!((c >= 'a' && c <= 'z') || c == '_')) return false;
  }
  return true;
}

void AgregarLineas(std::string& out, const std::string& texto) {
  std::size_t ini = 0;
  while (ini <= texto.size()) {
    std::size_t fin = texto.find('\n', ini);
    if (fin == std::string::npos) fin = texto.size();
    std::string linea = texto.substr(ini, fin - ini);
    while (!linea.empty() && linea.back() == '\r') linea.pop_back();
    if (!(fin == texto.size() && linea.empty())) out += linea + kCR_LF;
    ini = fin + 1;
  }
}

// A text fit for the one-line log: no line breaks, bounded length.
std::string UnaLinea(const std::string& t, std::size_t maximo = 300) {
  std::string r = t.substr(0, maximo);
  for (char& c : r) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  if (t.size() > maximo) r += "...";
  return r;
}

struct TPedido {
  std::string cuerpo;
  bool excedido = false;
};

MHD_Result Enviar(MHD_Connection* con, unsigned int estado, const std::string& cuerpo) {
  MHD_Response* r = MHD_create_response_from_buffer(cuerpo.size(), const_cast<char*>(cuerpo.data()),
                                                    MHD_RESPMEM_MUST_COPY);
  if (r == nullptr) return MHD_NO;
  MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain; charset=utf-8");
  const MHD_Result q = MHD_queue_response(con, estado, r);
  MHD_destroy_response(r);
  return q;
}

std::string DireccionCliente(MHD_Connection* con) {
  const MHD_ConnectionInfo* info = MHD_get_connection_info(con, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  if (info == nullptr || info->client_addr == nullptr || info->client_addr->sa_family != AF_INET) {
    return "?";
  }
  sockaddr_in dir{};
  std::memcpy(&dir, info->client_addr, sizeof dir);
  char texto[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &dir.sin_addr, texto, sizeof texto);
  return std::string(texto) + ":" + IntATexto(ntohs(dir.sin_port));
}

MHD_Result Manejar(void* cls, MHD_Connection* con, const char* url, const char* metodo, const char*,
                   const char* datos, size_t* tam, void** estado) {
  auto* servidor = static_cast<TServidorPasarela*>(cls);
  if (*estado == nullptr) {
    *estado = std::make_unique<TPedido>().release();
    return MHD_YES;
  }
  auto* pedido = static_cast<TPedido*>(*estado);
  if (*tam > 0) {
    if (pedido->cuerpo.size() + *tam > TServidorPasarela::kMaximoCuerpo) {
      pedido->excedido = true;
    } else if (!pedido->excedido) {
      pedido->cuerpo.append(datos, *tam);
    }
    *tam = 0;
    return MHD_YES;
  }
  if (std::strcmp(metodo, "POST") != 0) {
    return Enviar(con, MHD_HTTP_METHOD_NOT_ALLOWED, "solo se acepta POST\r\n");
  }
  if (servidor->script() != url) {
    return Enviar(con, MHD_HTTP_NOT_FOUND, "no existe\r\n");
  }
  int codigo = MHD_HTTP_OK;
  std::string respuesta;
  if (pedido->excedido) {
    codigo = MHD_HTTP_CONTENT_TOO_LARGE;
    respuesta = "pedido demasiado grande\r\n";
  } else {
    respuesta = servidor->Atender(DireccionCliente(con), pedido->cuerpo, codigo);
  }
  return Enviar(con, static_cast<unsigned int>(codigo), respuesta);
}

void Completado(void*, MHD_Connection*, void** estado, MHD_RequestTerminationCode) {
  std::unique_ptr<TPedido> pedido(static_cast<TPedido*>(*estado));
  *estado = nullptr;
}

}  // namespace

bool LeerFormulario(const std::string& cuerpo, std::map<std::string, std::string>& campos) {
  const auto decodificar = [](const std::string& t, std::string& r) {
    r.clear();
    for (std::size_t i = 0; i < t.size(); ++i) {
      if (t[i] == '+') {
        r += ' ';
      } else if (t[i] == '%') {
        if (i + 2 >= t.size()) return false;
        std::int32_t v = 0;
        for (std::size_t k = 1; k <= 2; ++k) {
          const char c = t[i + k];
          const int d = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                               : -1;
          if (d < 0) return false;
          v = v * 16 + d;
        }
        r += static_cast<char>(v);
        i += 2;
      } else {
        r += t[i];
      }
    }
    return true;
  };
  std::size_t ini = 0;
  while (ini < cuerpo.size()) {
    std::size_t fin = cuerpo.find('&', ini);
    if (fin == std::string::npos) fin = cuerpo.size();
    const std::string par = cuerpo.substr(ini, fin - ini);
    const std::size_t igual = par.find('=');
    std::string nombre, valor;
    if (!decodificar(par.substr(0, igual), nombre)) return false;
    if (igual != std::string::npos && !decodificar(par.substr(igual + 1), valor)) return false;
    if (!nombre.empty()) campos[nombre] = valor;
    ini = fin + 1;
  }
  return true;
}

std::string ResponderOperacion(TMotorBD& motor, const std::string& op,
                               const std::map<std::string, std::string>& parametros,
                               std::string& rechazo) {
  if (!NombreDeOperacionValido(op)) throw ExcepcionRechazo("operación no válida");
  const std::string inicio = "+inicio_" + op + kCR_LF;
  const std::string fin = "+fin_" + op + kCR_LF;
  const auto error = [&](const std::string& mensaje) {
    std::string r = inicio + "+error" + kCR_LF;
    AgregarLineas(r, mensaje);
    return r + fin;
  };
  const auto parametro = [&](const std::string& nombre) -> const std::string* {
    const auto it = parametros.find(nombre);
    return it == parametros.end() ? nullptr : &it->second;
  };
  try {
    if (op == "query" || op == "exec") {
      const std::string* sql = parametro("sql");
      if (sql == nullptr) throw ExcepcionRechazo("falta el parámetro sql");
      const TResultadoTabla t = motor.Ejecutar(*sql);
      std::string r = inicio + "+ok" + kCR_LF;
      if (op == "query") {
        r += IntATexto(static_cast<std::int64_t>(t.filas.size())) + kCR_LF;
        r += IntATexto(static_cast<std::int64_t>(t.nombres.size())) + kCR_LF;
        for (const std::string& i : t.infos) r += i + kCR_LF;
        for (const std::string& n : t.nombres) r += n + kCR_LF;
        for (const auto& fila : t.filas) {
          for (const std::string& v : fila) r += URLEncode(v) + kCR_LF;
        }
      }
      return r + fin;
    }
    if (op == "next_nid") {
      const std::string* tabla = parametro("tabla");
      if (tabla == nullptr) throw ExcepcionRechazo("falta el parámetro tabla");
      return inicio + "+ok" + kCR_LF + IntATexto(motor.SiguienteNid(*tabla)) + kCR_LF + fin;
    }
    throw ExcepcionRechazo("operación desconocida: " + op);
  } catch (const ExcepcionRechazo& e) {
    rechazo = e.what();
    return error(e.what());
  } catch (const std::exception& e) {
    return error(e.what());
  }
}

TServidorPasarela::TServidorPasarela(TMotorBD& motor, TOpcionesServidor opciones)
    : motor_(motor), opciones_(std::move(opciones)) {
  if (!opciones_.registro) {
    opciones_.registro = [](const std::string& linea) { std::cerr << linea << std::endl; };
  }
}

TServidorPasarela::~TServidorPasarela() { Detener(); }

std::string TServidorPasarela::Atender(const std::string& cliente, const std::string& cuerpo,
                                       int& estado) {
  std::map<std::string, std::string> campos;
  if (!LeerFormulario(cuerpo, campos)) {
    opciones_.registro("rechazado " + cliente + ": cuerpo mal codificado");
    estado = MHD_HTTP_BAD_REQUEST;
    return "cuerpo mal codificado\r\n";
  }
  const std::string op = campos.count("xo") != 0 ? campos["xo"] : std::string();
  std::string rechazo;
  try {
    std::string r = ResponderOperacion(motor_, op, campos, rechazo);
    if (!rechazo.empty()) {
      const auto sql = campos.find(op == "next_nid" ? "tabla" : "sql");
      opciones_.registro("rechazado " + cliente + " " + op + ": " + rechazo +
                         (sql != campos.end() ? ": " + UnaLinea(sql->second) : std::string()));
    }
    return r;
  } catch (const ExcepcionRechazo& e) {
    opciones_.registro("rechazado " + cliente + ": " + e.what() + ": " + UnaLinea(op, 40));
    estado = MHD_HTTP_BAD_REQUEST;
    return std::string(e.what()) + kCR_LF;
  }
}

void TServidorPasarela::Iniciar() {
  sockaddr_in dir{};
  dir.sin_family = AF_INET;
  if (opciones_.puerto < 0 || opciones_.puerto > 65535 ||
      inet_pton(AF_INET, opciones_.direccion.c_str(), &dir.sin_addr) != 1) {
    throw Excepcion("Dirección no válida: " + opciones_.direccion + ":" +
                    IntATexto(opciones_.puerto));
  }
  dir.sin_port = htons(static_cast<std::uint16_t>(opciones_.puerto));
  daemon_ = MHD_start_daemon(
      MHD_USE_POLL_INTERNAL_THREAD | MHD_USE_THREAD_PER_CONNECTION | MHD_USE_ERROR_LOG, 0, nullptr,
      nullptr, &Manejar, this, MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&dir),
      MHD_OPTION_NOTIFY_COMPLETED, &Completado, nullptr, MHD_OPTION_CONNECTION_TIMEOUT,
      static_cast<unsigned int>(30), MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned int>(64),
      MHD_OPTION_END);
  if (daemon_ == nullptr) {
    throw Excepcion("No se pudo escuchar en " + opciones_.direccion + ":" +
                    IntATexto(opciones_.puerto));
  }
  const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
  puerto_ = info != nullptr ? info->port : opciones_.puerto;
}

void TServidorPasarela::Detener() {
  if (daemon_ != nullptr) {
    MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
  }
}
