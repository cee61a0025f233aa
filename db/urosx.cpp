#include "urosx.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "formatos.h"
#include "numtext.h"

namespace {

thread_local std::string ultimoErrorSocket;

int HexDigito(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int MilisegundosPoll(std::chrono::milliseconds ms) {
  if (ms.count() <= 0) return 0;
  if (ms.count() > 0x7fffffff) return 0x7fffffff;
  return static_cast<int>(ms.count());
}

std::string TextoEspera(std::chrono::milliseconds ms) {
  if (ms.count() % 1000 == 0) return IntATexto(ms.count() / 1000) + " s";
  return IntATexto(ms.count()) + " ms";
}

// Waits for the socket to become ready for `eventos`; false on time-out. EINTR restarts the wait
// with the full time, which can only lengthen it by the signal's delay.
bool Esperar(int fd, short eventos, std::chrono::milliseconds espera) {
  pollfd p{fd, eventos, 0};
  for (;;) {
    const int r = ::poll(&p, 1, MilisegundosPoll(espera));
    if (r > 0) return true;
    if (r == 0) return false;
    if (errno != EINTR) return true;  // let the following call report the error
  }
}

class ExcepcionTiempoAgotado : public Excepcion {
 public:
  using Excepcion::Excepcion;
};

// Receives from a socket with an idle time limit: no byte for that long fails the exchange.
class TFuenteSocket : public TFuenteRespuesta {
 public:
  TFuenteSocket(const TSocket& s, std::chrono::milliseconds espera, std::string mensaje)
      : s_(s), espera_(espera), mensaje_(std::move(mensaje)) {}

  std::size_t Recibir(char* buf, std::size_t n) override {
    for (;;) {
      if (!Esperar(s_.fd(), POLLIN, espera_)) throw ExcepcionTiempoAgotado(mensaje_);
      const ssize_t r = ::recv(s_.fd(), buf, n, 0);
      if (r > 0) return static_cast<std::size_t>(r);
      if (r == 0) return 0;
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return 0;  // a reset or any other error ends the connection
    }
  }

 private:
  const TSocket& s_;
  std::chrono::milliseconds espera_;
  std::string mensaje_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

std::string URLEncode(const std::string& texto) {
  static const char* const hex = "0123456789ABCDEF";
  std::string r;
  r.reserve(texto.size());
  for (const char c : texto) {
    const bool copia = c == '-' || c == '.' || c == '_' || (c >= '0' && c <= '9') ||
                       (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (copia) {
      r += c;
    } else {
      const auto b = static_cast<unsigned char>(c);
      r += '%';
      r += hex[b >> 4];
      r += hex[b & 0x0f];
    }
  }
  return r;
}

std::string URLDecode(const std::string& texto) {
  std::string r;
  r.reserve(texto.size());
  for (std::size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] != '%') {
      r += texto[i];
      continue;
    }
    if (i + 2 >= texto.size()) return {};
    const int a = HexDigito(texto[i + 1]);
    const int b = HexDigito(texto[i + 2]);
    if (a < 0 || b < 0) return {};
    r += static_cast<char>(a * 16 + b);
    i += 2;
  }
  return r;
}

// ---------------------------------------------------------------------------------------------

TSocket::~TSocket() { Cerrar(); }

TSocket& TSocket::operator=(TSocket&& o) noexcept {
  if (this != &o) {
    Cerrar();
    fd_ = o.fd_;
    o.fd_ = -1;
  }
  return *this;
}

bool TSocket::Cerrar() noexcept {
  if (fd_ < 0) return true;
  const int r = ::close(fd_);
  fd_ = -1;
  return r == 0;
}

const std::string& lastSocketError() { return ultimoErrorSocket; }

std::string GetIpByName(const std::string& hostName) {
  addrinfo pista{};
  pista.ai_family = AF_INET;
  pista.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  const int r = ::getaddrinfo(hostName.c_str(), nullptr, &pista, &res);
  if (r != 0 || res == nullptr) {
    if (res != nullptr) ::freeaddrinfo(res);
    throw Excepcion("GetIpByName: error en GetHostByName(" + hostName +
                    "). WSAGetLastError= " + IntATexto(r));
  }
  sockaddr_in dir{};
  std::memcpy(&dir, res->ai_addr, sizeof dir);
  ::freeaddrinfo(res);
  const std::uint32_t a = ntohl(dir.sin_addr.s_addr);
  return IntATexto(a >> 24) + "." + IntATexto((a >> 16) & 0xff) + "." + IntATexto((a >> 8) & 0xff) +
         "." + IntATexto(a & 0xff);
}

std::uint32_t IpTextToInt(const std::string& texto) {
  std::size_t ini = 0, fin = texto.size();
  while (ini < fin && static_cast<unsigned char>(texto[ini]) <= ' ') ++ini;
  while (fin > ini && static_cast<unsigned char>(texto[fin - 1]) <= ' ') --fin;
  const std::string t = texto.substr(ini, fin - ini);
  std::uint32_t valor = 0;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t punto = t.find('.', pos);
    const std::string parte = t.substr(pos, punto == std::string::npos ? punto : punto - pos);
    std::int32_t v = 0;
    if (!TextoAEnteroOk(parte, v)) v = 0;
    valor = valor * 256u + static_cast<std::uint32_t>(v);
    if (punto == std::string::npos) break;
    pos = punto + 1;
  }
  return valor;
}

bool cliOpen(TSocket& s, std::uint32_t address, std::int32_t port,
             std::chrono::milliseconds espera) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    ultimoErrorSocket = "cliOpen: Error creando socket.";
    return false;
  }
  TSocket nuevo(fd);
  const auto fallo = [&](int codigo) {
    ultimoErrorSocket = "cliOpen: Error conectando socket, WSAGetLastError= " + IntATexto(codigo) +
                        ", socket= " + IntATexto(fd);
    return false;
  };
  if (port < 0 || port > 65535) return fallo(EINVAL);
  sockaddr_in dir{};
  dir.sin_family = AF_INET;
  dir.sin_port = htons(static_cast<std::uint16_t>(port));
  dir.sin_addr.s_addr = htonl(address);
  // Non-blocking: the connection completes in the background, interrupted or not, and the
  // wait below bounds it.
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&dir), sizeof dir) != 0) {
    if (errno != EINPROGRESS && errno != EINTR && errno != EALREADY) return fallo(errno);
    if (!Esperar(fd, POLLOUT, espera)) return fallo(ETIMEDOUT);
    int error = 0;
    socklen_t largo = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &largo) != 0) return fallo(errno);
    if (error != 0) return fallo(error);
  }
  s = std::move(nuevo);
  return true;
}

bool cliSendAll(const TSocket& s, const std::string& texto, std::chrono::milliseconds espera) {
  std::size_t enviado = 0;
  while (enviado < texto.size()) {
    // MSG_NOSIGNAL: a peer that resets the connection must not kill the process with SIGPIPE.
    const ssize_t r = ::send(s.fd(), texto.data() + enviado, texto.size() - enviado, MSG_NOSIGNAL);
    if (r > 0) {
      enviado += static_cast<std::size_t>(r);
    } else if (r < 0 && (errno == EINTR)) {
      continue;
    } else if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!Esperar(s.fd(), POLLOUT, espera)) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool cliClose(TSocket& s) { return s.Cerrar(); }

std::size_t TFuenteMemoria::Recibir(char* buf, std::size_t n) {
  const std::size_t k = std::min({n, trozo_, datos_.size() - pos_});
  std::memcpy(buf, datos_.data() + pos_, k);
  pos_ += k;
  return k;
}

bool TLectorLineas::cliReadLine(std::string& linea) {
  linea.clear();
  for (;;) {
    if (pos_ == fin_) {
      if (terminado_) return false;
      const std::size_t n = fuente_.Recibir(buf_.data(), buf_.size());
      if (n == 0) {
        terminado_ = true;
        return false;
      }
      total_ += n;
      if (total_ > maximo_) throw Excepcion(mensajeExceso_);
      pos_ = 0;
      fin_ = n;
    }
    const auto ini = buf_.begin() + static_cast<std::ptrdiff_t>(pos_);
    const auto fin = buf_.begin() + static_cast<std::ptrdiff_t>(fin_);
    const auto lf = std::find(ini, fin, '\n');
    linea.append(ini, lf);
    if (lf != fin) {
      pos_ = static_cast<std::size_t>(lf - buf_.begin()) + 1;
      while (!linea.empty() && linea.back() == '\r') linea.pop_back();
      return true;
    }
    pos_ = fin_;
  }
}

std::vector<std::string> LeerRespuesta(TLectorLineas& lector, const std::string& op) {
  const std::string inicio = "+inicio_" + op;
  const std::string fin = "+fin_" + op;
  std::string linea;
  // 1-2. Everything before the start marker (HTTP status line, headers) is skipped.
  for (;;) {
    if (!lector.cliReadLine(linea)) {
      throw ConsultaSQLException("TResultadoQuery.ros: error, no se recibió " + inicio);
    }
    if (linea == inicio) break;
  }
  // 3. The status line: "+error" or anything else for success.
  lector.cliReadLine(linea);
  if (linea == "+error") {
    std::string texto;
    while (lector.cliReadLine(linea) && linea != fin) texto += linea + "\r\n";
    throw ConsultaSQLException("TResultadoQuery.ros: " + texto);
  }
  // 4. Data lines; a line cut off by the end of the connection is dropped.
  std::vector<std::string> lineas;
  while (lector.cliReadLine(linea) && linea != fin) lineas.push_back(linea);
  return lineas;
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<TResultadoQuery> TResultadoQuery::Create(TDBrosxCon& conexion,
                                                         const std::string& sql) {
  return ros(conexion, "query", sql);
}

std::unique_ptr<TResultadoQuery> TResultadoQuery::CreateExec(TDBrosxCon& conexion,
                                                             const std::string& sql) {
  return ros(conexion, "exec", sql);
}

std::unique_ptr<TResultadoQuery> TResultadoQuery::ros(TDBrosxCon& conexion, const std::string& op,
                                                      const std::string& sql) {
  return CrearDesdeLineas(conexion.Exchange(op, "sql=" + URLEncode(sql)));
}

std::unique_ptr<TResultadoQuery> TResultadoQuery::CrearDesdeLineas(
    const std::vector<std::string>& lineas) {
  std::unique_ptr<TResultadoQuery> r(new TResultadoQuery());
  if (lineas.empty()) return r;
  const auto linea = [&](std::int64_t i) -> const std::string& {
    if (i >= static_cast<std::int64_t>(lineas.size())) throw ExcepcionIndiceLista(i);
    return lineas[static_cast<std::size_t>(i)];
  };
  const std::int32_t filas = TextoAEntero(linea(0));
  const std::int32_t cols = TextoAEntero(linea(1));
  // Counts are checked against the lines received before anything is allocated.
  if (filas < 0 || cols < 0 || (filas > 0 && cols == 0)) {
    throw Excepcion("TResultadoQuery.ros: cuentas no válidas en la respuesta: " + IntATexto(filas) +
                    " filas, " + IntATexto(cols) + " columnas");
  }
  const std::int64_t necesarias =
      2 + 2 * std::int64_t{cols} + std::int64_t{filas} * std::int64_t{cols};
  if (necesarias > static_cast<std::int64_t>(lineas.size())) {
    throw ExcepcionIndiceLista(static_cast<std::int64_t>(lineas.size()));
  }
  r->Inicializar(filas, cols);
  std::int64_t k = 2;
  for (std::int32_t c = 0; c < cols; ++c) r->columns[static_cast<std::size_t>(c)].info = linea(k++);
  for (std::int32_t c = 0; c < cols; ++c) {
    r->columns[static_cast<std::size_t>(c)].name = MinusculasAscii(linea(k++));
  }
  for (std::int32_t f = 0; f < filas; ++f) {
    TDataRecord& registro = r->records.Items(f);
    for (std::int32_t c = 0; c < cols; ++c) registro.SetValue(c, URLDecode(linea(k++)));
  }
  return r;
}

// ---------------------------------------------------------------------------------------------

TDestinoPasarela LeerDestinoPasarela(const std::string& texto) {
  TDestinoPasarela d;
  if (texto.empty()) return d;
  const std::size_t dos = texto.rfind(':');
  if (dos == std::string::npos) {
    d.host = texto;
    return d;
  }
  std::int32_t puerto = 0;
  if (dos == 0 || !TextoAEnteroOk(texto.substr(dos + 1), puerto) || puerto < 1 || puerto > 65535) {
    throw Excepcion("Pasarela no válida (host o host:puerto): '" + texto + "'");
  }
  d.host = texto.substr(0, dos);
  d.port = puerto;
  return d;
}

TDBrosxCon::TDBrosxCon(std::string ipAddress, std::string hostName, std::int32_t port,
                       std::string script)
    : ipAddress_(std::move(ipAddress)),
      hostName_(std::move(hostName)),
      port_(port),
      script_(std::move(script)) {}

std::unique_ptr<TDBrosxCon> TDBrosxCon::CrearDesdeEntorno() {
  const char* destino = std::getenv("VELTRA_PASARELA");
  const TDestinoPasarela d = LeerDestinoPasarela(destino != nullptr ? destino : "");
  auto con = std::make_unique<TDBrosxCon>("", d.host, d.port, "/scripts/dovi.php");
  if (const char* espera = std::getenv("VELTRA_PASARELA_ESPERA"); espera != nullptr) {
    std::int32_t s = 0;
    if (!TextoAEnteroOk(espera, s) || s <= 0) {
      throw Excepcion("VELTRA_PASARELA_ESPERA no válida (segundos): '" + std::string(espera) + "'");
    }
    con->FijarEsperas(kEsperaConexion, std::chrono::seconds(s));
  }
  return con;
}

void TDBrosxCon::FijarEsperas(std::chrono::milliseconds conexion,
                              std::chrono::milliseconds recepcion) {
  esperaConexion_ = conexion;
  esperaRecepcion_ = recepcion;
}

std::string ArmarPeticion(const std::string& script, const std::string& hostName,
                          const std::string& cuerpo) {
  return "POST " + script + " HTTP/1.0\n" + "Host: " + hostName + "\n" + "User-Agent: VaviDe\n" +
         "Content-Type: application/x-www-form-urlencoded\n" +
         "Content-Length: " + IntATexto(static_cast<std::int64_t>(cuerpo.size())) + "\n\n" +
         cuerpo + "\n";
}

std::vector<std::string> TDBrosxCon::Exchange(const std::string& op,
                                              const std::string& parametros) {
  // 1. Address: the literal one, or the host name resolved now.
  std::string direccion = ipAddress_.empty() ? GetIpByName(hostName_) : ipAddress_;
  if (direccion.size() > 255) direccion.resize(255);
  // 2. One connection per exchange; the handle closes it on every path.
  TSocket s;
  if (!cliOpen(s, IpTextToInt(direccion), port_, esperaConexion_)) {
    throw Excepcion("No pude abrir el socket. El servidor: " + direccion +
                    " en el puerto: " + IntATexto(port_) +
                    " no contesto la solicitud. Ultimo Error: " + lastSocketError());
  }
  // 3-5. Body and request; a failed send shows up as a missing or cut response.
  std::string cuerpo = "xo=" + op;
  if (!parametros.empty()) cuerpo += "&" + parametros;
  cliSendAll(s, ArmarPeticion(script_, hostName_, cuerpo), esperaRecepcion_);

  const std::string destino = hostName_ + ":" + IntATexto(port_);
  TFuenteSocket fuente(s, esperaRecepcion_,
                       "TResultadoQuery.ros: tiempo de espera agotado (" +
                           TextoEspera(esperaRecepcion_) + ") esperando a " + destino +
                           " en la operación " + op);
  TLectorLineas lector(fuente, maximoRespuesta_,
                       "TResultadoQuery.ros: la respuesta de " + destino + " a la operación " + op +
                           " supera " + IntATexto(static_cast<std::int64_t>(maximoRespuesta_)) +
                           " bytes");
  std::vector<std::string> lineas = LeerRespuesta(lector, op);
  cliClose(s);
  return lineas;
}

std::string TDBrosxCon::CallOperation(const std::string& op,
                                      const std::vector<std::string>& nombres,
                                      const std::vector<std::string>& valores) {
  std::string parametros;
  for (std::size_t i = 0; i < nombres.size(); ++i) {
    if (i > 0) parametros += "&";
    parametros += nombres[i] + "=" + URLEncode(i < valores.size() ? valores[i] : std::string());
  }
  const std::vector<std::string> lineas = Exchange(op, parametros);
  if (lineas.empty()) throw ExcepcionIndiceLista(0);
  return lineas.front();
}

std::int32_t TDBrosxCon::ExecSQL(const std::string& sql) noexcept {
  try {
    TResultadoQuery::CreateExec(*this, sql);
    return 0;
  } catch (const std::exception& e) {
    lastError_ = e.what();
    return -1;
  }
}

std::unique_ptr<TResultadoQuery> TDBrosxCon::Query(const std::string& sql) noexcept {
  try {
    return TResultadoQuery::Create(*this, sql);
  } catch (const std::exception& e) {
    lastError_ = e.what();
    return nullptr;
  }
}

std::unique_ptr<TResultadoQuery> TDBrosxCon::QueryOrThrow(const std::string& sql) {
  std::unique_ptr<TResultadoQuery> r = Query(sql);
  if (r == nullptr) throw Excepcion(lastError_);
  return r;
}

std::string TDBrosxCon::QueryString(const std::string& sql) noexcept {
  const std::unique_ptr<TResultadoQuery> r = Query(sql);
  if (r == nullptr || r->nRows <= 0 || r->nCols <= 0) return {};
  return r->RecordAt(0).GetValue(0);
}

std::string TDBrosxCon::QueryStringDef(const std::string& sql, const std::string& def) noexcept {
  std::string s = QueryString(sql);
  return s.empty() ? def : s;
}

std::int32_t TDBrosxCon::QueryInt(const std::string& sql, std::int32_t def) {
  return TextoAEntero(QueryStringDef(sql, IntATexto(def)));
}

NReal TDBrosxCon::QueryFloat(const std::string& sql, NReal def) {
  // The plain conversion under the formats in force: their decimal separator only.
  const std::string texto = QueryStringDef(sql, RealAGeneral(def));
  const char sep = FormatosActuales().separador_decimal;
  std::string t = texto;
  bool valido = sep == '.' || t.find('.') == std::string::npos;
  if (sep != '.') std::replace(t.begin(), t.end(), sep, '.');
  NReal v = 0;
  if (!valido || !TextoARealArchivo(t, v)) {
    throw ExcepcionConversion("'" + texto + "' is not a valid floating point value");
  }
  return v;
}

std::int32_t TDBrosxCon::NextNid(const std::string& tabla) {
  return TextoAEntero(CallOperation("next_nid", {"tabla"}, {tabla}));
}
