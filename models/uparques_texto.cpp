// The theoretical model text block (the ".pmt" file) and the blocks of its turbines.
#include <fstream>
#include <ostream>
#include <sstream>
#include <vector>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "ubloquestexto.h"
#include "uparques_modeloteorico.h"
#include "utokens.h"

namespace {

// One real per line in the file notation; a value that could not be read back is never written.
std::string LineaReal(NReal x) {
  VerificarFinito(x);
  return RealANotacionArchivo(x) + "\r\n";
}

std::string LineaEntero(std::int64_t v) { return IntATexto(v) + "\r\n"; }

// A number of the position lines: the plain decimal form is read exactly; anything else goes
// through the expression evaluator, as every typed number does.
NReal RealDeToken(const std::string& token) {
  NReal v = 0;
  if (TextoARealArchivo(token, v)) return v;
  return StrToReal(token);
}

void Escribir(std::ostream& archivo, const std::string& texto) {
  archivo << texto;
  if (!archivo) throw ExcepcionES("Error de escritura del archivo");
}

std::int32_t LeerVersion(TLectorBloques& lector) {
  const std::string linea = lector.Linea();
  return lector.EnLinea([&] {
    const std::string prefijo = "VERSION=";
    if (linea.rfind(prefijo, 0) != 0) {
      throw ExcepcionConversion("'" + linea + "' no es una línea de versión (\"" + prefijo +
                                "\" y el número)");
    }
    std::string resto = linea.substr(prefijo.size());
    while (!resto.empty() && (resto.back() == ' ' || resto.back() == '\t')) resto.pop_back();
    const std::int32_t version = TextoAEntero(resto);
    if (version < 1 || version > TParque_ModeloTeorico::VersionArchivo) {
      throw Excepcion("Versión " + IntATexto(version) +
                      " del modelo teórico no soportada (se leen de la 1 a la " +
                      IntATexto(TParque_ModeloTeorico::VersionArchivo) + ")");
    }
    return version;
  });
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TPosicion

TPosicion TPosicion::CrearDesdeTexto(TLectorBloques& lector) {
  const TFormatosNeutros neutros;
  std::string primera = lector.Linea();
  TPosicion p;
  lector.EnLinea([&] {
    p.dx = RealDeToken(NextToken(primera));
    p.dy = RealDeToken(NextToken(primera));
  });
  std::string segunda = lector.Linea();
  lector.EnLinea([&] {
    std::vector<std::string> t;
    for (std::string k = NextToken(segunda); !k.empty(); k = NextToken(segunda)) t.push_back(k);
    // A blank band letter leaves no token of its own between the zone number and the easting.
    if (t.size() == 3) t.insert(t.begin() + 1, " ");
    t.resize(4);
    p.huso_utm = TextoAEntero(t[0]);
    p.zona_utm = ZonaDeTexto(t[1]);
    p.xe = RealDeToken(t[2]);
    p.yn = RealDeToken(t[3]);
  });
  return p;
}

void TPosicion::EscribirTexto(std::ostream& archivo) const {
  const TFormatosNeutros neutros;
  for (const NReal x : {dx, dy, xe, yn}) VerificarFinito(x);
  Escribir(archivo, RealANotacionArchivo(dx) + "\t" + RealANotacionArchivo(dy) + "\r\n" +
                        IntATexto(huso_utm) + "\t" + ZonaUTM(zona_utm) + "\t" +
                        RealANotacionArchivo(xe) + "\t" + RealANotacionArchivo(yn) + "\r\n");
}

// ---------------------------------------------------------------------------------------------
// TMolino

std::unique_ptr<TMolino> TMolino::CrearDesdeTexto(TLectorBloques& lector) {
  const TFormatosNeutros neutros;
  const std::int32_t id = lector.Entero();
  const std::int32_t id_curva = lector.Entero();
  const std::int32_t id_central = lector.Entero();
  const TPosicion pos = TPosicion::CrearDesdeTexto(lector);
  std::unique_ptr<TCurvaAerogen> c = TCurvaAerogen::CrearDesdeTexto(lector);
  const NReal e = lector.Real();
  return std::make_unique<TMolino>(id, 0, id_curva, id_central, std::move(c), e, pos);
}

std::unique_ptr<TMolino> TMolino::CrearDesdeTexto(std::istream& archivo) {
  TLectorBloques lector(archivo);
  return CrearDesdeTexto(lector);
}

void TMolino::EscribirTexto(std::ostream& archivo) const {
  const TFormatosNeutros neutros;
  std::ostringstream s;
  s << LineaEntero(nid) << LineaEntero(nid_curvaaero) << LineaEntero(nidcentral);
  posicion.EscribirTexto(s);
  curva->EscribirTexto(s);
  s << LineaReal(etha);
  Escribir(archivo, s.str());
}

// ---------------------------------------------------------------------------------------------
// TParque_ModeloTeorico

std::unique_ptr<TParque_ModeloTeorico> TParque_ModeloTeorico::CrearDesdeTexto(
    TLectorBloques& lector) {
  const TFormatosNeutros neutros;
  const std::int32_t version = LeerVersion(lector);
  std::unique_ptr<TParque_ModeloTeorico> p(new TParque_ModeloTeorico());
  p->nid_central = lector.Entero();
  p->nid_modelo_teorico = lector.Entero();
  p->nombre = lector.Linea();
  const std::int32_t n = lector.Cuenta();
  p->n_sectores_dir = lector.Entero();
  p->alfa_terreno = lector.Real();
  p->gamma_atmosfera = lector.Real();
  p->fpv3pe = lector.Real();
  p->factor_perdidas = lector.Real();
  p->potencia_autorizada_mw = lector.Real();
  // Version 1 has no nominal power; version 3 keeps the whole station correction series where
  // the older ones kept its mean alone.
  p->potencia_nominal = version >= 2 ? lector.Real() : p->potencia_autorizada_mw;
  if (version >= 3) {
    p->meteo_etha = lector.Vector();
  } else {
    p->meteo_etha = TVectR(11);
    p->meteo_etha.poner(1, lector.Real());
  }
  p->grilla_rotada_dx = lector.Real();
  p->grilla_rotada_dy = lector.Real();
  p->grilla_rotada_margen_dx = lector.Real();
  // The count is not trusted for allocation: a bogus one ends at the end of the file.
  for (std::int32_t i = 0; i < n; ++i) p->molinos.push_back(TMolino::CrearDesdeTexto(lector));
  p->meteo_utm_zona = ZonaDeTexto(lector.Linea());
  p->meteo_utm_huso = lector.Entero();
  p->meteo_utm_xe = lector.Real();
  p->meteo_utm_yn = lector.Real();
  p->meteo_cota = 0;
  lector.EnLinea([&] { p->PrepararDerivados(); });
  return p;
}

std::unique_ptr<TParque_ModeloTeorico> TParque_ModeloTeorico::CrearDesdeTexto(
    std::istream& archivo, const std::string& nombre_archivo) {
  TLectorBloques lector(archivo, nombre_archivo);
  return CrearDesdeTexto(lector);
}

void TParque_ModeloTeorico::EscribirTexto(std::ostream& archivo) const {
  const TFormatosNeutros neutros;
  // The whole block is composed first: a value that cannot be written stops it before a byte
  // reaches the file.
  std::ostringstream s;
  s << "VERSION=" << LineaEntero(VersionArchivo) << LineaEntero(nid_central)
    << LineaEntero(nid_modelo_teorico) << EnUnaLinea(nombre) << "\r\n"
    << LineaEntero(n_molinos()) << LineaEntero(n_sectores_dir) << LineaReal(alfa_terreno)
    << LineaReal(gamma_atmosfera) << LineaReal(fpv3pe) << LineaReal(factor_perdidas)
    << LineaReal(potencia_autorizada_mw) << LineaReal(potencia_nominal);
  meteo_etha.guardar(s);
  s << LineaReal(grilla_rotada_dx) << LineaReal(grilla_rotada_dy)
    << LineaReal(grilla_rotada_margen_dx);
  for (const auto& m : molinos) m->EscribirTexto(s);
  s << ZonaUTM(meteo_utm_zona) << "\r\n"
    << LineaEntero(meteo_utm_huso) << LineaReal(meteo_utm_xe) << LineaReal(meteo_utm_yn);
  Escribir(archivo, s.str());
}

std::unique_ptr<TParque_ModeloTeorico> TParque_ModeloTeorico::CrearDesdeArchivo(
    const std::string& archivo) {
  std::ifstream f(archivo, std::ios::binary);
  if (!f) throw ExcepcionES("No se puede abrir el archivo " + archivo);
  return CrearDesdeTexto(f, archivo);
}

void TParque_ModeloTeorico::GuardarEnArchivo(const std::string& archivo) const {
  std::ostringstream s;
  EscribirTexto(s);
  GrabarArchivoSeguro(archivo, s.str());
}
