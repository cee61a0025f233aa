// The theoretical model in the farm database: loading (creating the model rows the first time),
// supercentrals and the update of the parameters.
#include <limits>
#include <vector>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "uDataSetGenerico.h"
#include "ubloquestexto.h"
#include "uparques_modeloteorico.h"
#include "urosx.h"
#include "utokens.h"

namespace {

// A real inside an SQL text: the shortest general form in the neutral format. A value that is not
// finite would read as an identifier ("NAN"), so it never gets there.
std::string SQLReal(NReal x) {
  VerificarFinito(x);
  return RealAGeneral(x);
}

std::string SQLEntero(std::int64_t v) { return IntATexto(v); }

// The message of the last failure of the connection, or `otro` when it kept none.
std::string MensajeFallo(const TDBrosxCon& conexion, const std::string& otro) {
  return conexion.LastError().empty() ? otro : conexion.LastError();
}

void Ejecutar(TDBrosxCon& conexion, const std::string& sql) {
  if (conexion.ExecSQL(sql) != 0) {
    throw Excepcion(MensajeFallo(conexion, "Falló la sentencia: " + sql));
  }
}

std::string ConsultaModelo(std::int64_t central) {
  return "SELECT * FROM modelo_teorico WHERE central = " + SQLEntero(central) +
         " ORDER BY dt_creacion DESC LIMIT 1";
}

std::string InsercionModelo(std::int32_t nid_modelo, std::int64_t central) {
  return "INSERT INTO modelo_teorico (nid, central, dt_creacion, dt_actualizacion )  VALUES ( " +
         SQLEntero(nid_modelo) + ", " + SQLEntero(central) + ", now(), now() )";
}

// The turbine count of a central; a count query that fails answers -1, which stops the load.
std::int32_t ContarMolinos(TDBrosxCon& conexion, std::int32_t central) {
  const std::int32_t n =
      conexion.QueryInt("SELECT count(*) FROM molinos WHERE nidcentral=" + SQLEntero(central), -1);
  if (n < 0) {
    throw Excepcion(MensajeFallo(
        conexion, "No se pudo contar los molinos de la central " + SQLEntero(central)));
  }
  return n;
}

// The first n turbines of the central, in record order, appended to `molinos`.
void LeerMolinos(TDBrosxCon& conexion, std::int32_t central, std::int32_t n,
                 std::vector<std::unique_ptr<TMolino>>& molinos) {
  const std::unique_ptr<TResultadoQuery> t =
      conexion.QueryOrThrow("SELECT * FROM molinos WHERE nidcentral=" + SQLEntero(central));
  for (std::int32_t i = 0; i < n; ++i) {
    molinos.push_back(TMolino::CrearDesdeRegistro(conexion, *t));
    t->Next();
  }
}

// The station correction series as a modelo_teorico row holds it: the vector text form, or a
// single number, which is the mean of an 11-coefficient series.
TVectR EthaMeteoDeTexto(const std::string& texto) {
  if (texto.find('|') != std::string::npos) return TVectR(texto);
  TVectR v(11);
  v.poner(1, StrToReal(texto));
  return v;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TMolino

std::unique_ptr<TMolino> TMolino::CrearDesdeRegistro(TDBrosxCon& conexion, TDataSetGenerico& r) {
  const TFormatosNeutros neutros;
  // 1.
  const std::int32_t id = r.FieldByName("nid").AsInteger(0);
  const std::int32_t id_curva = r.FieldByName("nid_curvaaero").AsInteger(0);
  const std::int32_t id_central = r.FieldByName("nidcentral").AsInteger(0);
  const std::int32_t numero = r.FieldByName("nro").AsInteger(0);
  // 2.
  std::unique_ptr<TCurvaAerogen> c = TCurvaAerogen::CrearDesdeDB(conexion, id_curva);
  // 3.
  const NReal e = r.FieldByName("etha").AsFloat(0);
  const char zona = ZonaDeTexto(r.FieldByName("zona_utm").AsString());
  const NReal este = r.FieldByName("xe").AsFloat(0);
  const NReal norte = r.FieldByName("yn").AsFloat(0);
  const TPosicion pos(r.FieldByName("huso_utm").AsInteger(0), zona, este, norte);
  return std::make_unique<TMolino>(id, numero, id_curva, id_central, std::move(c), e, pos);
}

// ---------------------------------------------------------------------------------------------
// TParque_ModeloTeorico

namespace {

// Parameters of an existing model from its modelo_teorico record.
void LeerParametros(TParque_ModeloTeorico& p, TDataSetGenerico& m) {
  p.nid_modelo_teorico = m.FieldByName("nid").AsInteger(0);
  p.n_sectores_dir = m.FieldByName("n_sectores_dir").AsInteger(0);
  p.alfa_terreno = m.FieldByName("alfa_terreno").AsFloat(0);
  p.gamma_atmosfera = m.FieldByName("gamma_atmosfera").AsFloat(0);
  p.fpv3pe = m.FieldByName("fpv3pe").AsFloat(0);
  p.factor_perdidas = m.FieldByName("factor_perdidas").AsFloat(0);
  p.potencia_autorizada_mw = m.FieldByName("potencia_autorizada_mw").AsFloat(0);
  p.potencia_nominal = m.FieldByName("potencia_nominal").AsFloat(0);
  p.meteo_etha = EthaMeteoDeTexto(m.FieldByName("meteo_etha").AsString());
  p.grilla_rotada_dx = m.FieldByName("grilla_rotada_dx").AsFloat(0);
  p.grilla_rotada_dy = m.FieldByName("grilla_rotada_dy").AsFloat(0);
  p.grilla_rotada_margen_dx = m.FieldByName("grilla_rotada_margen_dx").AsFloat(0);
  p.meteo_utm_zona = ZonaDeTexto(m.FieldByName("meteo_utm_zona").AsString());
  p.meteo_utm_huso = m.FieldByName("meteo_utm_huso").AsInteger(0);
  p.meteo_utm_xe = m.FieldByName("meteo_utm_xe").AsFloat(0);
  p.meteo_utm_yn = m.FieldByName("meteo_utm_yn").AsFloat(0);
  p.meteo_cota = m.FieldByName("meteo_cota").AsFloat(0);
}

// The parameters a new model starts with (the station is set by the caller).
void ParametrosPorDefecto(TParque_ModeloTeorico& p) {
  p.n_sectores_dir = 72;
  p.alfa_terreno = 0.5;
  p.gamma_atmosfera = 0.4;
  p.fpv3pe = 1.8;
  p.factor_perdidas = 0.035;
  p.meteo_etha = TVectR(11);
  p.meteo_etha.poner(1, 1.0);
  p.grilla_rotada_dx = 9;
  p.grilla_rotada_dy = 1;
  p.grilla_rotada_margen_dx = 1000;
}

// The station of a new model from a record that holds it (centrales, or a member's model).
void LeerEstacion(TParque_ModeloTeorico& p, TDataSetGenerico& r) {
  p.meteo_utm_zona = ZonaDeTexto(r.FieldByName("meteo_utm_zona").AsString());
  p.meteo_utm_huso = r.FieldByName("meteo_utm_huso").AsInteger(0);
  p.meteo_utm_xe = r.FieldByName("Meteo_UTM_xe").AsFloat(0);
  p.meteo_utm_yn = r.FieldByName("meteo_utm_yn").AsFloat(0);
  p.meteo_cota = r.FieldByName("meteo_cota").AsFloat(0);
}

}  // namespace

void TParque_ModeloTeorico::TerminarCargaDB(TDBrosxCon& conexion, bool nuevo) {
  bool fila_insertada = false;
  try {
    // 7. a new model's rows: the model itself, then one efficiency row per turbine.
    if (nuevo) {
      nid_modelo_teorico = conexion.NextNid("modelo_teorico");
      Ejecutar(conexion, InsercionModelo(nid_modelo_teorico, nid_central));
      fila_insertada = true;
      for (const auto& m : molinos) {
        Ejecutar(conexion,
                 "INSERT INTO modelo_teorico_etha_molinos ( nid_modelo, nid_molino, etha ) VALUES "
                 "( " +
                     SQLEntero(nid_modelo_teorico) + ", " + SQLEntero(m->nid) + ", 1 )");
      }
    }
    // 8. a turbine without its row in this model gets -1.
    for (auto& m : molinos) {
      m->etha = conexion.QueryFloat(
          "SELECT etha FROM modelo_teorico_etha_molinos WHERE nid_modelo = " +
              SQLEntero(nid_modelo_teorico) + " AND nid_molino = " + SQLEntero(m->nid),
          -1.0);
    }
    // 9.
    CalcularPosicionesRelativas();
    if (nuevo) ActualizarEnDB(conexion);
  } catch (...) {
    // A model row without its parameters would be the newest one of the central, and every later
    // load would read it and fail: the rows this load wrote go back out. Best effort, as the
    // gateway that just failed may fail again; the first error is the one reported.
    if (fila_insertada) {
      (void)conexion.ExecSQL("DELETE FROM modelo_teorico_etha_molinos WHERE nid_modelo = " +
                             SQLEntero(nid_modelo_teorico));
      (void)conexion.ExecSQL("DELETE FROM modelo_teorico WHERE nid = " +
                             SQLEntero(nid_modelo_teorico));
    }
    throw;
  }
  PrepararDerivados();
}

std::unique_ptr<TParque_ModeloTeorico> TParque_ModeloTeorico::CrearDesdeDB(TDBrosxCon& conexion,
                                                                           TDataSetGenerico& c) {
  const TFormatosNeutros neutros;
  std::unique_ptr<TParque_ModeloTeorico> p(new TParque_ModeloTeorico());
  // 1.
  p->nid_central = c.FieldByName("nid").AsInteger(0);
  p->nombre = c.FieldByName("centralgeneradora").AsString();
  // 2.-5.
  bool nuevo = false;
  {
    const std::unique_ptr<TResultadoQuery> m =
        conexion.QueryOrThrow(ConsultaModelo(p->nid_central));
    nuevo = m->nRows <= 0;
    if (nuevo) {
      ParametrosPorDefecto(*p);
      p->potencia_autorizada_mw = c.FieldByName("potencia_autorizada_mw").AsFloat(0);
      p->potencia_nominal = p->potencia_autorizada_mw;
      LeerEstacion(*p, c);
    } else {
      LeerParametros(*p, *m);
    }
  }
  // 6. every read is done before the first row is written, so a failure leaves no half-made model
  // in the database.
  LeerMolinos(conexion, p->nid_central, ContarMolinos(conexion, p->nid_central), p->molinos);
  p->TerminarCargaDB(conexion, nuevo);
  return p;
}

std::unique_ptr<TParque_ModeloTeorico> TParque_ModeloTeorico::CrearSuperparque(
    TDBrosxCon& conexion, std::int32_t central_meteo, const std::vector<std::int32_t>& lista) {
  // Checks that need no database come first: nothing is asked or written for a bad list.
  if (lista.empty()) throw Excepcion("Superparque: la lista de centrales está vacía");
  bool con_estacion = false;
  for (const std::int32_t k : lista) con_estacion = con_estacion || k == central_meteo;
  if (!con_estacion) {
    throw Excepcion("Superparque: la central " + SQLEntero(central_meteo) +
                    " de la estación meteorológica no está en la lista de centrales");
  }
  // 1. two decimal digits per member (ambiguous beyond 99, kept: stored identifiers and folders
  // depend on it), computed wide so that an overflow is caught instead of wrapping.
  std::int64_t combinado = 0;
  for (const std::int32_t k : lista) {
    combinado = combinado * 100 + k;
    if (combinado > std::numeric_limits<std::int32_t>::max() ||
        combinado < std::numeric_limits<std::int32_t>::min()) {
      std::string texto;
      for (const std::int32_t j : lista) texto += (texto.empty() ? "" : ", ") + SQLEntero(j);
      throw Excepcion("Superparque: el identificador combinado de las centrales " + texto +
                      " no cabe en un entero de 32 bits");
    }
  }

  const TFormatosNeutros neutros;
  std::unique_ptr<TParque_ModeloTeorico> p(new TParque_ModeloTeorico());
  p->nombre = "Superparque";
  p->potencia_autorizada_mw = 0;
  p->potencia_nominal = 0;
  p->nid_central = static_cast<std::int32_t>(combinado);
  // 2.-4.
  bool nuevo = false;
  {
    const std::unique_ptr<TResultadoQuery> m =
        conexion.QueryOrThrow(ConsultaModelo(p->nid_central));
    nuevo = m->nRows <= 0;
    if (nuevo) {
      ParametrosPorDefecto(*p);
      for (const std::int32_t k : lista) {
        const std::unique_ptr<TResultadoQuery> mk =
            conexion.QueryOrThrow("SELECT * FROM modelo_teorico WHERE central = " + SQLEntero(k));
        if (mk->nRows <= 0) {
          throw Excepcion("Superparque: la central " + SQLEntero(k) +
                          " no tiene modelo teórico; cargarla antes de unirla");
        }
        if (k == central_meteo) LeerEstacion(*p, *mk);
        p->nombre += "_" + mk->FieldByName("central").AsString();
        p->potencia_autorizada_mw += mk->FieldByName("potencia_autorizada_mw").AsFloat(0);
        p->potencia_nominal += mk->FieldByName("potencia_nominal").AsFloat(0);
      }
    } else {
      LeerParametros(*p, *m);
    }
  }
  // 5. the members' turbines one after another, in the order of the list.
  std::vector<std::int32_t> cuentas;
  for (const std::int32_t k : lista) cuentas.push_back(ContarMolinos(conexion, k));
  for (std::size_t i = 0; i < lista.size(); ++i) {
    LeerMolinos(conexion, lista[i], cuentas[i], p->molinos);
  }
  // 6.
  p->TerminarCargaDB(conexion, nuevo);
  return p;
}

void TParque_ModeloTeorico::ActualizarEnDB(TDBrosxCon& conexion) const {
  const TFormatosNeutros neutros;
  // Every statement is composed before the first is sent: a value that cannot be written stops
  // the update before it changes anything.
  std::vector<std::string> sentencias;
  for (const auto& m : molinos) {
    sentencias.push_back("UPDATE modelo_teorico_etha_molinos SET etha = " + SQLReal(m->etha) +
                         " WHERE nid_modelo = " + SQLEntero(nid_modelo_teorico) +
                         " AND nid_molino = " + SQLEntero(m->nid));
  }
  for (int k = 1; k <= meteo_etha.n(); ++k) VerificarFinito(meteo_etha.elemento(k));
  sentencias.push_back(
      "UPDATE modelo_teorico SET n_sectores_dir= " + SQLEntero(n_sectores_dir) +
      ", alfa_terreno = " + SQLReal(alfa_terreno) +
      ", gamma_atmosfera = " + SQLReal(gamma_atmosfera) + ", fpv3pe = " + SQLReal(fpv3pe) +
      ", factor_perdidas = " + SQLReal(factor_perdidas) + ", potencia_autorizada_mw =" +
      SQLReal(potencia_autorizada_mw) + ", potencia_nominal = " + SQLReal(potencia_nominal) +
      ", meteo_etha = '" + meteo_etha.a_texto() + "', meteo_cota = " + SQLReal(meteo_cota) +
      ", grilla_rotada_dx = " + SQLReal(grilla_rotada_dx) +
      ", grilla_rotada_dy = " + SQLReal(grilla_rotada_dy) +
      ", grilla_rotada_margen_dx = " + SQLReal(grilla_rotada_margen_dx) + ", meteo_utm_zona = '" +
      ZonaUTM(meteo_utm_zona) + "'" + ", meteo_utm_huso = " + SQLEntero(meteo_utm_huso) +
      ", meteo_utm_xe = " + SQLReal(meteo_utm_xe) + ", meteo_utm_yn = " + SQLReal(meteo_utm_yn) +
      " WHERE nid = " + SQLEntero(nid_modelo_teorico));
  for (const std::string& s : sentencias) Ejecutar(conexion, s);
}
