#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "../gateway/puerto_libre.h"
#include "formatos.h"
#include "numtext.h"
#include "peer_guionado.h"
#include "urosx.h"

using testing::StartsWith;
using testing::StrEq;
using testing::ThrowsMessage;
using Modo = TPeerGuionado::Modo;

namespace {

std::vector<std::string> Leer(const std::string& bytes, const std::string& op,
                              std::size_t trozo = 4096, std::size_t maximo = 1 << 20) {
  TFuenteMemoria fuente(bytes, trozo);
  TLectorLineas lector(fuente, maximo, "demasiado");
  return LeerRespuesta(lector, op);
}

TDBrosxCon Conexion(int puerto) {
  TDBrosxCon c("127.0.0.1", "H", puerto, "/scripts/dovi.php");
  c.FijarEsperas(std::chrono::seconds(5), std::chrono::seconds(5));
  return c;
}

const std::string kCabeceras = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

}  // namespace

TEST(URLCodificacion, Casos) {
  EXPECT_EQ(URLEncode("año 5%"), "a%C3%B1o%205%25");
  EXPECT_EQ(URLEncode("select 1"), "select%201");
  EXPECT_EQ(URLEncode("a-b.c_D9+"), "a-b.c_D9%2B");
  struct Caso {
    std::string entrada, salida;
  };
  const Caso casos[] = {{"a%2Cb", "a,b"}, {"a%zz", ""},    {"a+b", "a+b"}, {"a%2", ""},
                        {"%", ""},        {"%c3%B1", "ñ"}, {"", ""},       {"50%", ""}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.entrada);
    EXPECT_EQ(URLDecode(c.entrada), c.salida);
  }
  const std::string todos = [] {
    std::string t;
    for (int b = 0; b < 256; ++b) t += static_cast<char>(b);
    return t;
  }();
  EXPECT_EQ(URLDecode(URLEncode(todos)), todos);
}

TEST(IpTextToInt, Casos) {
  EXPECT_EQ(IpTextToInt(" 127.0.0.1\r\n"), 0x7f000001u);
  EXPECT_EQ(IpTextToInt("10.x.0.1"), 0x0a000001u);
  EXPECT_EQ(GetIpByName("127.0.0.1"), "127.0.0.1");
}

TEST(LeerDestinoPasarela, Casos) {
  EXPECT_EQ(LeerDestinoPasarela("").host, "localhost");
  EXPECT_EQ(LeerDestinoPasarela("").port, 80);
  EXPECT_EQ(LeerDestinoPasarela("srv").port, 80);
  EXPECT_EQ(LeerDestinoPasarela("srv:8080").host, "srv");
  EXPECT_EQ(LeerDestinoPasarela("srv:8080").port, 8080);
  for (const char* malo : {"srv:", "srv:0", "srv:70000", "srv:8o", ":80"}) {
    SCOPED_TRACE(malo);
    EXPECT_THAT([&] { (void)LeerDestinoPasarela(malo); },
                ThrowsMessage<Excepcion>(
                    StrEq("Pasarela no válida (host o host:puerto): '" + std::string(malo) + "'")));
  }
}

TEST(LeerRespuesta, MarcadoresYEstado) {
  // Headers skipped, any status but "+error" discarded, data up to the end marker.
  EXPECT_EQ(
      Leer(kCabeceras + "+inicio_query\n+cualquier cosa\n1\n1\n\nnid\n7\n+fin_query\nx\n", "query"),
      (std::vector<std::string>{"1", "1", "", "nid", "7"}));
  EXPECT_TRUE(Leer("+inicio_exec\n+ok\n+fin_exec\n", "exec").empty());
  // The marker is case-sensitive and must be the whole line.
  EXPECT_THAT([] { (void)Leer("+INICIO_query\n +inicio_query\n", "query"); },
              ThrowsMessage<ConsultaSQLException>(
                  StrEq("TResultadoQuery.ros: error, no se recibió +inicio_query")));
  // A marker cut off by the end of the connection was never received.
  EXPECT_THROW((void)Leer("+inicio_query", "query"), ConsultaSQLException);
  // Closed before the end marker: the whole lines read so far; the cut one is dropped.
  EXPECT_EQ(Leer("+inicio_query\r\n+ok\r\n1\r\n1\r\nx\r\nno", "query"),
            (std::vector<std::string>{"1", "1", "x"}));
}

TEST(LeerRespuesta, ErrorDeLaPasarela) {
  EXPECT_THAT(
      [] {
        (void)Leer("+inicio_query\n+error\nrelation does not exist\nline 2\r\n+fin_query\n",
                   "query");
      },
      ThrowsMessage<ConsultaSQLException>(
          StrEq("TResultadoQuery.ros: relation does not exist\r\nline 2\r\n")));
  EXPECT_THAT([] { (void)Leer("+inicio_exec\n+error\n", "exec"); },
              ThrowsMessage<ConsultaSQLException>(StrEq("TResultadoQuery.ros: ")));
}

TEST(LeerRespuesta, LineaDe254MasCRLFEsUnaSolaLinea) {
  const std::string largo(254, 'a');
  const std::string otro(1000, 'b');
  const std::string r =
      "+inicio_query\r\n+ok\r\n2\r\n1\r\n\r\nv\r\n" + largo + "\r\n" + otro + "\r\n+fin_query\r\n";
  for (const std::size_t trozo :
       {std::size_t{1}, std::size_t{255}, std::size_t{256}, std::size_t{4096}}) {
    SCOPED_TRACE(trozo);
    EXPECT_EQ(Leer(r, "query", trozo), (std::vector<std::string>{"2", "1", "", "v", largo, otro}));
  }
}

TEST(LeerRespuesta, RespuestaDemasiadoGrande) {
  const std::string r = "+inicio_query\n+ok\n" + std::string(5000, 'x') + "\n+fin_query\n";
  EXPECT_THAT([&] { (void)Leer(r, "query", 4096, 4096); },
              ThrowsMessage<Excepcion>(StrEq("demasiado")));
}

TEST(TResultadoQuery, LineasDeDatosMalFormadas) {
  struct Caso {
    std::vector<std::string> lineas;
    std::string mensaje;
  };
  const Caso casos[] = {
      {{"2", "1", "t", "a", "x"}, "List index out of bounds (5)"},
      {{"1"}, "List index out of bounds (1)"},
      {{"x", "1"}, "'x' is not a valid integer value"},
      {{"1", "1.0", "t", "a", "x"}, "'1.0' is not a valid integer value"},
      {{"99999999999", "1"}, "'99999999999' is not a valid integer value"},
      {{"-1", "1", "t", "a"},
       "TResultadoQuery.ros: cuentas no válidas en la respuesta: -1 filas, 1 columnas"},
      {{"5", "0"}, "TResultadoQuery.ros: cuentas no válidas en la respuesta: 5 filas, 0 columnas"},
      // Huge announced counts fail before anything is allocated.
      {{"2000000000", "2000000000"}, "List index out of bounds (2)"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.mensaje);
    EXPECT_THAT([&] { (void)TResultadoQuery::CrearDesdeLineas(c.lineas); },
                ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
  }
  auto vacio = TResultadoQuery::CrearDesdeLineas({});
  EXPECT_EQ(vacio->nRows, 0);
  EXPECT_EQ(vacio->nCols, 0);
  // A value whose decoding fails is the empty text; extra lines are ignored.
  auto r =
      TResultadoQuery::CrearDesdeLineas({"1", "2", "i1", "i2", "A", "b", "a%2Cb", "a%zz", "z"});
  EXPECT_EQ(r->columns[0].info, "i1");
  EXPECT_EQ(r->FieldByName("a").AsString(), "a,b");
  EXPECT_EQ(r->FieldByName("B").AsString(), "");
}

// --- the real client against a scripted peer on loopback -----------------------------------

TEST(TDBrosxCon, PeticionExactaYRespuestaConCabeceras) {
  TPeerGuionado peer(
      kCabeceras +
      "+inicio_query\r\n+ok\r\n2\r\n2\r\nint4\r\ntext\r\nNID\r\nCentralGeneradora\r\n"
      "1\r\nParque%20A\r\n2\r\n\r\n+fin_query\r\n");
  TDBrosxCon con = Conexion(peer.puerto());
  auto r = con.Query("select 1");
  ASSERT_NE(r, nullptr) << con.LastError();
  EXPECT_EQ(peer.Peticiones().at(0),
            "POST /scripts/dovi.php HTTP/1.0\nHost: H\nUser-Agent: VaviDe\n"
            "Content-Type: application/x-www-form-urlencoded\nContent-Length: 23\n\n"
            "xo=query&sql=select%201\n");
  EXPECT_EQ(r->nRows, 2);
  EXPECT_EQ(r->FieldByName("centralgeneradora").AsString(), "Parque A");
  r->Next();
  EXPECT_EQ(r->FieldByName("nid").AsInteger(0), 2);
  EXPECT_EQ(r->FieldByName("CentralGeneradora").AsString(), "");
  EXPECT_EQ(con.LastError(), "");
}

TEST(TDBrosxCon, ExecYErrores) {
  TPeerGuionado peer({{"+inicio_exec\n+ok\n+fin_exec\n"},
                      {"+inicio_query\n+error\nrelation does not exist\n+fin_query\n"},
                      {"+inicio_exec\n+ok\n+fin_exec\n"},
                      {"+inicio_exec\n+error\nsyntax error\n+fin_exec\n"},
                      {"", Modo::CerrarSinLeer}});
  TDBrosxCon con = Conexion(peer.puerto());
  EXPECT_EQ(con.ExecSQL("DELETE FROM molinos WHERE nid = 1"), 0);
  EXPECT_EQ(con.Query("select * from nada"), nullptr);
  EXPECT_EQ(con.LastError(), "TResultadoQuery.ros: relation does not exist\r\n");
  // Success never clears the last error.
  EXPECT_EQ(con.ExecSQL("UPDATE molinos SET etha = 1"), 0);
  EXPECT_EQ(con.LastError(), "TResultadoQuery.ros: relation does not exist\r\n");
  EXPECT_EQ(con.ExecSQL("UPDATE"), -1);
  EXPECT_EQ(con.LastError(), "TResultadoQuery.ros: syntax error\r\n");
  EXPECT_THAT(
      [&] { (void)con.QueryOrThrow("select 1"); },
      ThrowsMessage<Excepcion>(StrEq("TResultadoQuery.ros: error, no se recibió +inicio_query")));
  EXPECT_EQ(peer.Peticiones().at(0).substr(peer.Peticiones()[0].find("\n\n") + 2),
            "xo=exec&sql=DELETE%20FROM%20molinos%20WHERE%20nid%20%3D%201\n");
}

TEST(TDBrosxCon, ConexionCortadaAMitadDeLinea) {
  // The last value line is cut: fewer lines than announced.
  TPeerGuionado peer("+inicio_query\n+ok\n1\n1\nint4\nnid\n4");
  TDBrosxCon con = Conexion(peer.puerto());
  EXPECT_EQ(con.Query("select nid from molinos"), nullptr);
  EXPECT_EQ(con.LastError(), "List index out of bounds (4)");
}

TEST(TDBrosxCon, Linea254MasCRLFPorElSocket) {
  const std::string largo(254, 'a');
  TPeerGuionado peer("+inicio_query\r\n+ok\r\n2\r\n1\r\n\r\nv\r\n" + largo +
                     "\r\nz\r\n+fin_query\r\n");
  TDBrosxCon con = Conexion(peer.puerto());
  auto r = con.Query("select v from t");
  ASSERT_NE(r, nullptr) << con.LastError();
  EXPECT_EQ(r->FieldByName("v").AsString(), largo);
  r->Next();
  EXPECT_EQ(r->FieldByName("v").AsString(), "z");
}

TEST(TDBrosxCon, TiempoDeEsperaAgotado) {
  TPeerGuionado peer("", Modo::Callar);
  TDBrosxCon con("", "127.0.0.1", peer.puerto(), "/scripts/dovi.php");
  con.FijarEsperas(std::chrono::seconds(2), std::chrono::milliseconds(200));
  EXPECT_EQ(con.ExecSQL("DELETE FROM molinos"), -1);
  EXPECT_EQ(con.LastError(),
            "TResultadoQuery.ros: tiempo de espera agotado (200 ms) esperando a 127.0.0.1:" +
                IntATexto(peer.puerto()) + " en la operación exec");
}

TEST(TDBrosxCon, ConexionRechazada) {
  // Nobody listens on a port just found free.
  const int puerto = prueba::PuertoLibre();
  TDBrosxCon con = Conexion(puerto);
  EXPECT_EQ(con.Query("select 1"), nullptr);
  EXPECT_THAT(con.LastError(),
              StartsWith("No pude abrir el socket. El servidor: 127.0.0.1 en el puerto: " +
                         IntATexto(puerto) +
                         " no contesto la solicitud. Ultimo Error: cliOpen: Error conectando "
                         "socket, WSAGetLastError= 111, socket= "));
  EXPECT_THAT([&] { (void)con.NextNid("modelo_teorico"); },
              ThrowsMessage<Excepcion>(StartsWith("No pude abrir el socket.")));
  EXPECT_EQ(con.QueryInt("select count(*) from molinos", -1), -1);
  EXPECT_EQ(con.QueryString("select 1"), "");
}

TEST(TDBrosxCon, PeerQueCierraSinLeerNoMataElProceso) {
  // A large request to a peer that has gone: the send fails (no SIGPIPE) and the exchange fails.
  TPeerGuionado peer("", Modo::CerrarSinLeer);
  TDBrosxCon con = Conexion(peer.puerto());
  EXPECT_EQ(con.ExecSQL("UPDATE molinos SET xe = '" + std::string(4 << 20, 'x') + "'"), -1);
  EXPECT_EQ(con.LastError(), "TResultadoQuery.ros: error, no se recibió +inicio_exec");
}

TEST(TDBrosxCon, NextNidYOperacionSinParametros) {
  TPeerGuionado peer({{"+inicio_next_nid\n+ok\n42\nresto\n+fin_next_nid\n"},
                      {"+inicio_ping\n+ok\nhola\n+fin_ping\n"},
                      {"+inicio_next_nid\n+error\nno existe\n+fin_next_nid\n"},
                      {"+inicio_next_nid\n+ok\n+fin_next_nid\n"}});
  TDBrosxCon con = Conexion(peer.puerto());
  EXPECT_EQ(con.NextNid("modelo_teorico"), 42);
  EXPECT_EQ(con.CallOperation("ping", {}, {}), "hola");
  EXPECT_THAT([&] { (void)con.NextNid("x y"); },
              ThrowsMessage<ConsultaSQLException>(StrEq("TResultadoQuery.ros: no existe\r\n")));
  EXPECT_THAT([&] { (void)con.NextNid("modelo_teorico"); },
              ThrowsMessage<ExcepcionIndiceLista>(StrEq("List index out of bounds (0)")));
  const auto& p = peer.Peticiones();
  EXPECT_THAT(p.at(0),
              testing::EndsWith("Content-Length: 32\n\nxo=next_nid&tabla=modelo_teorico\n"));
  EXPECT_THAT(p.at(1), testing::EndsWith("Content-Length: 7\n\nxo=ping\n"));
  EXPECT_THAT(p.at(2), testing::EndsWith("\n\nxo=next_nid&tabla=x%20y\n"));
  EXPECT_EQ(con.LastError(), "");  // NextNid raises, it never records
}

TEST(TDBrosxCon, ConsultasDeUnValor) {
  const std::string uno = "+inicio_query\n+ok\n1\n1\n\nv\n";
  TPeerGuionado peer({{uno + "7\n+fin_query\n"},
                      {"+inicio_query\n+ok\n0\n1\n\nv\n+fin_query\n"},
                      {uno + "0.35\n+fin_query\n"},
                      {uno + "\n+fin_query\n"},
                      {uno + "siete\n+fin_query\n"},
                      {uno + "0.35\n+fin_query\n"}});
  TDBrosxCon con = Conexion(peer.puerto());
  EXPECT_EQ(con.QueryInt("q", -1), 7);
  EXPECT_EQ(con.QueryInt("q", -1), -1);  // no row: the default
  EXPECT_EQ(con.QueryFloat("q", -1.0), 0.35);
  EXPECT_EQ(con.QueryFloat("q", -1.5), -1.5);  // a null: the default
  EXPECT_THAT([&] { (void)con.QueryInt("q", -1); },
              ThrowsMessage<ExcepcionConversion>(StrEq("'siete' is not a valid integer value")));
  // The plain conversion follows the formats in force: '.' is no decimal separator under ','.
  TFormatos coma;
  coma.separador_decimal = ',';
  coma.separador_miles = '.';
  const TFormatosDePrueba prueba(coma);
  EXPECT_THAT(
      [&] { (void)con.QueryFloat("q", -1.0); },
      ThrowsMessage<ExcepcionConversion>(StrEq("'0.35' is not a valid floating point value")));
}

TEST(TDBrosxCon, NombreQueNoResuelve) {
  // An empty label fails in the resolver itself, without asking any name server.
  TDBrosxCon con("", "no..existe", 80, "/scripts/dovi.php");
  const std::string prefijo = "GetIpByName: error en GetHostByName(no..existe). WSAGetLastError= ";
  EXPECT_EQ(con.ExecSQL("DELETE FROM molinos"), -1);
  EXPECT_THAT(con.LastError(), StartsWith(prefijo));
  EXPECT_THAT([&] { (void)con.NextNid("molinos"); }, ThrowsMessage<Excepcion>(StartsWith(prefijo)));
}
