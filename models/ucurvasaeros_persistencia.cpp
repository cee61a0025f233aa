// Text block and database forms of the turbine power curve.
#include <ostream>
#include <sstream>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "uDataSetGenerico.h"
#include "ubloquestexto.h"
#include "ucurvasaeros.h"
#include "urosx.h"

std::unique_ptr<TCurvaAerogen> TCurvaAerogen::CrearDesdeTexto(TLectorBloques& lector) {
  const TFormatosNeutros neutros;
  const std::int32_t id = lector.Entero();
  std::string nombre_modelo = lector.Linea();
  const NReal d = lector.Real();
  TVectR v = lector.Vector();
  TVectR p = lector.Vector();
  // The curve's own checks name the curve; the line tells where the block that failed ends.
  return lector.EnLinea([&] {
    return std::make_unique<TCurvaAerogen>(id, std::move(nombre_modelo), d, std::move(v),
                                           std::move(p));
  });
}

std::unique_ptr<TCurvaAerogen> TCurvaAerogen::CrearDesdeTexto(std::istream& archivo) {
  TLectorBloques lector(archivo);
  return CrearDesdeTexto(lector);
}

void TCurvaAerogen::EscribirTexto(std::ostream& archivo) const {
  const TFormatosNeutros neutros;
  VerificarFinito(diametro);
  std::ostringstream s;
  s << IntATexto(nid) << "\r\n"
    << EnUnaLinea(modelo) << "\r\n"
    << RealANotacionArchivo(diametro) << "\r\n";
  curva_v.guardar(s);
  curva_P.guardar(s);
  archivo << s.str();
  if (!archivo) throw ExcepcionES("Error de escritura del archivo");
}

std::unique_ptr<TCurvaAerogen> TCurvaAerogen::CrearDesdeRegistro(TDataSetGenerico& r) {
  const TFormatosNeutros neutros;
  const std::int32_t id = r.FieldByName("nid").AsInteger(0);
  std::string nombre_modelo = r.FieldByName("modelo").AsString();
  const NReal d = r.FieldByName("diametro").AsFloat(0);
  TVectR v(r.FieldByName("curva_v").AsString());
  TVectR p(r.FieldByName("curva_P").AsString());
  return std::make_unique<TCurvaAerogen>(id, std::move(nombre_modelo), d, std::move(v),
                                         std::move(p));
}

std::unique_ptr<TCurvaAerogen> TCurvaAerogen::CrearDesdeDB(TDBrosxCon& conexion, std::int32_t id) {
  const TFormatosNeutros neutros;
  const std::unique_ptr<TResultadoQuery> r =
      conexion.QueryOrThrow("SELECT * FROM curvas_aerogen WHERE nid =" + IntATexto(id));
  if (r->nRows <= 0) {
    throw Excepcion("Curva de potencia " + IntATexto(id) + ": no está en curvas_aerogen");
  }
  return CrearDesdeRegistro(*r);
}
