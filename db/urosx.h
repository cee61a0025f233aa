#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "errores.h"
#include "uDataSetGenerico.h"
#include "xmatdefs.h"

// Raised for an error reported by the gateway or a response without its start marker.
class ConsultaSQLException : public Excepcion {
 public:
  using Excepcion::Excepcion;
};

// ---------------------------------------------------------------------------------------------
// Percent-encoding of both directions of the wire.

// Copies '-', '.', digits, letters and '_'; every other byte becomes "%XX" (upper-case hex).
std::string URLEncode(const std::string& texto);
// "%XX" yields that byte; any other character is copied ('+' too). A bad or cut escape makes the
// whole result empty.
std::string URLDecode(const std::string& texto);

// ---------------------------------------------------------------------------------------------
// Socket layer: IPv4, TCP, blocking from the caller's point of view.

// An open TCP socket; closes itself when it goes.
class TSocket {
 public:
  TSocket() = default;
  explicit TSocket(int fd) : fd_(fd) {}
  ~TSocket();
  TSocket(TSocket&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  TSocket& operator=(TSocket&& o) noexcept;
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;

  [[nodiscard]] int fd() const { return fd_; }
  [[nodiscard]] bool abierto() const { return fd_ >= 0; }
  // Closes now; true on success (and when there was nothing to close).
  bool Cerrar() noexcept;

 private:
  int fd_ = -1;
};

// The reason of the last failed socket creation or connection on this thread.
const std::string& lastSocketError();

// First IPv4 address of the name as dotted decimal; raises Excepcion when it does not resolve.
std::string GetIpByName(const std::string& hostName);
// Dotted text to a host-order address: each part that is not an integer counts as 0.
std::uint32_t IpTextToInt(const std::string& texto);
// Connects within the time limit; on failure sets lastSocketError and returns false.
bool cliOpen(TSocket& s, std::uint32_t address, std::int32_t port,
             std::chrono::milliseconds espera);
// True only when every byte went out before an error or the time limit.
bool cliSendAll(const TSocket& s, const std::string& texto, std::chrono::milliseconds espera);
bool cliClose(TSocket& s);

// Bytes of a response as they arrive: from a socket, or from memory for tests and fuzzing.
class TFuenteRespuesta {
 public:
  virtual ~TFuenteRespuesta() = default;
  // Up to n bytes into buf; 0 once the peer has ended (or the connection failed).
  virtual std::size_t Recibir(char* buf, std::size_t n) = 0;
};

// Response bytes already in memory, handed out in pieces of at most `trozo` bytes.
class TFuenteMemoria : public TFuenteRespuesta {
 public:
  explicit TFuenteMemoria(std::string datos, std::size_t trozo = 4096)
      : datos_(std::move(datos)), trozo_(trozo == 0 ? 1 : trozo) {}
  std::size_t Recibir(char* buf, std::size_t n) override;

 private:
  std::string datos_;
  std::size_t pos_ = 0;
  std::size_t trozo_;
};

// Splits a response into lines. A line ends only at LF; trailing CRs are dropped, so a CR LF line
// of any length gives exactly one line. The total size is capped so a peer cannot exhaust memory.
class TLectorLineas {
 public:
  TLectorLineas(TFuenteRespuesta& fuente, std::size_t maximo, std::string mensajeExceso)
      : fuente_(fuente), maximo_(maximo), mensajeExceso_(std::move(mensajeExceso)) {}
  // False when the connection ended during the line; the text read so far is still in `linea`.
  bool cliReadLine(std::string& linea);

 private:
  TFuenteRespuesta& fuente_;
  std::size_t maximo_;
  std::string mensajeExceso_;
  std::vector<char> buf_ = std::vector<char>(4096);
  std::size_t pos_ = 0, fin_ = 0, total_ = 0;
  bool terminado_ = false;
};

// Skips to "+inicio_" + op, reads the status line, and returns the lines up to "+fin_" + op (or
// the end of the connection). "+error" raises ConsultaSQLException with the error lines.
std::vector<std::string> LeerRespuesta(TLectorLineas& lector, const std::string& op);

// ---------------------------------------------------------------------------------------------

class TDBrosxCon;

// The result of one gateway statement, owned by the caller.
class TResultadoQuery : public TDataSetGenerico {
 public:
  static std::unique_ptr<TResultadoQuery> Create(TDBrosxCon& conexion, const std::string& sql);
  static std::unique_ptr<TResultadoQuery> CreateExec(TDBrosxCon& conexion, const std::string& sql);
  // Fills a set from the data lines of a response (counts, infos, names, values).
  static std::unique_ptr<TResultadoQuery> CrearDesdeLineas(const std::vector<std::string>& lineas);

 private:
  TResultadoQuery() : TDataSetGenerico(0, 0) {}
  static std::unique_ptr<TResultadoQuery> ros(TDBrosxCon& conexion, const std::string& op,
                                              const std::string& sql);
};

// Where the gateway is: "host" or "host:port".
struct TDestinoPasarela {
  std::string host = "localhost";
  std::int32_t port = 80;
};
// Empty text gives the defaults; a bad port raises Excepcion.
TDestinoPasarela LeerDestinoPasarela(const std::string& texto);

// The connection to the SQL-over-HTTP gateway: one TCP connection per statement.
class TDBrosxCon {
 public:
  static constexpr std::chrono::milliseconds kEsperaConexion{15000};
  static constexpr std::chrono::milliseconds kEsperaRecepcion{60000};
  static constexpr std::size_t kMaximoRespuesta = std::size_t{256} << 20;

  TDBrosxCon(std::string ipAddress, std::string hostName, std::int32_t port, std::string script);
  // Host and port from VELTRA_PASARELA, the receive time-out in seconds from
  // VELTRA_PASARELA_ESPERA, script "/scripts/dovi.php".
  static std::unique_ptr<TDBrosxCon> CrearDesdeEntorno();

  // 0 on success, -1 on failure with the message in LastError.
  std::int32_t ExecSQL(const std::string& sql) noexcept;
  // Nothing on failure, with the message in LastError.
  std::unique_ptr<TResultadoQuery> Query(const std::string& sql) noexcept;
  // For every caller that needs the result set: a failed query raises Excepcion(LastError).
  std::unique_ptr<TResultadoQuery> QueryOrThrow(const std::string& sql);
  std::string QueryString(const std::string& sql) noexcept;
  std::string QueryStringDef(const std::string& sql, const std::string& def) noexcept;
  std::int32_t QueryInt(const std::string& sql, std::int32_t def);
  NReal QueryFloat(const std::string& sql, NReal def);
  // Nothing is caught: socket, gateway and conversion errors reach the caller.
  std::int32_t NextNid(const std::string& tabla);

  // Kept until the next failure replaces it; success never clears it.
  [[nodiscard]] const std::string& LastError() const { return lastError_; }

  // One complete HTTP exchange; the lines between the status line and "+fin_" + op.
  std::vector<std::string> Exchange(const std::string& op, const std::string& parametros);
  // name=URLEncode(value) pairs joined by '&'; the first line of the answer.
  std::string CallOperation(const std::string& op, const std::vector<std::string>& nombres,
                            const std::vector<std::string>& valores);

  void FijarEsperas(std::chrono::milliseconds conexion, std::chrono::milliseconds recepcion);
  void FijarMaximoRespuesta(std::size_t bytes) { maximoRespuesta_ = bytes; }

  [[nodiscard]] const std::string& ipAddress() const { return ipAddress_; }
  [[nodiscard]] const std::string& hostName() const { return hostName_; }
  [[nodiscard]] std::int32_t port() const { return port_; }
  [[nodiscard]] const std::string& script() const { return script_; }

 private:
  std::string lastError_;
  std::string ipAddress_;
  std::string hostName_;
  std::int32_t port_;
  std::string script_;
  std::chrono::milliseconds esperaConexion_ = kEsperaConexion;
  std::chrono::milliseconds esperaRecepcion_ = kEsperaRecepcion;
  std::size_t maximoRespuesta_ = kMaximoRespuesta;
};

// The request bytes: LF line ends, Content-Length of the body without the final LF.
std::string ArmarPeticion(const std::string& script, const std::string& hostName,
                          const std::string& cuerpo);
