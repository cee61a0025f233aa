#include "ucomandos_restricciones.h"

#include <ostream>
#include <utility>

#include "carpetas.h"
#include "errores.h"
#include "numtext.h"
#include "ucalibrador.h"
#include "uparques_modelocombinado.h"
#include "urosx.h"
#include "utokens.h"

namespace {

const char* const kSinCalibrador = "No hay un calibrador cargado.";
const char* const kSinModeloCombinado = "No hay un modelo combinado cargado.";

// The central of the current calibrator: its folder and files are the commands' defaults.
std::int32_t CentralDelCalibrador(TEstadoAplicacion& estado) {
  if (!estado.Calibrador() || !estado.ModeloDelCalibrador()) throw Excepcion(kSinCalibrador);
  return estado.ModeloDelCalibrador()->nid_central;
}

}  // namespace

TFechaHora LeerFecha(const std::string& texto) {
  std::vector<std::string> partes(1);
  for (const char ch : texto) {
    if (ch == '/' || ch == '-' || ch == '.') {
      partes.emplace_back();
    } else {
      partes.back() += ch;
    }
  }
  std::int32_t a = 0, b = 0, c = 0;
  const bool ok = partes.size() == 3 && TextoAEnteroOk(partes[0], a) &&
                  TextoAEnteroOk(partes[1], b) && TextoAEnteroOk(partes[2], c);
  const bool iso = ok && partes[0].size() == 4;
  const int anio = iso ? a : c, mes = b, dia = iso ? c : a;
  if (!ok || !FechaValida(anio, mes, dia)) {
    throw ExcepcionConversion("'" + texto + "' no es una fecha válida");
  }
  return CodificarFecha(anio, mes, dia);
}

NReal btProcesarSeriesConMCClick(TEstadoAplicacion& estado, const TArchivoElegido& archivo_series,
                                 std::ostream& salida) {
  // 1., 2.
  const std::int32_t c = CentralDelCalibrador(estado);
  if (!estado.ModeloCombinado()) throw Excepcion(kSinModeloCombinado);
  TParque_ModeloCombinado& mc = *estado.ModeloCombinado();
  // The factor is the combined model's farm's and the folder the calibrator's: they must agree.
  if (mc.modelo_teorico->nid_central != c) {
    throw Excepcion("El modelo combinado (central " + IntATexto(mc.modelo_teorico->nid_central) +
                    ") y el calibrador (central " + IntATexto(c) + ") son de centrales distintas.");
  }
  const TFechaHora desde = LeerFecha(estado.textos.FechaDesde);
  const TFechaHora hasta = LeerFecha(estado.textos.FechaHasta);
  estado.archivo_series = ArchivoCentral(c, "_series10min.sas");
  // 3.
  if (archivo_series) estado.archivo_series = *archivo_series;
  // 4.
  const NReal f = FactorSMEC(estado.Conexion(), mc.modelo_teorico->nid_central);
  // 5.
  std::vector<TEntradaEnergia> lista;
  return ProcesarPeriodoMC(mc, estado.archivo_series, CarpetaCentral(c), false, lista, f, desde,
                           hasta, desde, hasta, salida);
}

std::vector<TResumenPeriodo> btProcesarRestriccionesClick(TEstadoAplicacion& estado,
                                                          const TArchivoElegido& archivo_series,
                                                          std::ostream& salida) {
  // 1., 2.
  const std::int32_t c = CentralDelCalibrador(estado);
  estado.archivo_series = ArchivoCentral(c, "_series10min.sas");
  // 3.
  const std::string pmc = ArchivoModeloCombinado(c);
  // 4.
  if (!archivo_series) return {};
  const TFechaHora desde = LeerFecha(estado.textos.FechaDesde);
  // The last day is included whole.
  const TFechaHora hasta = LeerFecha(estado.textos.FechaHasta) + 1;
  estado.archivo_series = *archivo_series;
  return ProcesarRestricciones(estado.Conexion(), pmc, estado.archivo_series, desde, hasta,
                               CarpetaCentral(c), salida);
}

TResultadoComando CrearSupercentralClick(TEstadoAplicacion& estado, std::ostream& salida) {
  TResultadoComando r;
  // 1. everything is read before anything is released.
  const TDAofNInt lista = ParseIntList(estado.textos.NIDcentralesAunir, ';');
  const std::int32_t a = TextoAEntero(estado.textos.NIDcentralAnemo);
  // Until the calibrator-building command reads the range, the edits give it.
  std::int32_t inf = estado.porcentaje_ajuste_inf;
  std::int32_t sup = estado.porcentaje_ajuste_sup;
  if (!estado.rango_ajuste_leido) {
    inf = TextoAEntero(estado.textos.PorcentajeAjusteCurvaSinf);
    sup = TextoAEntero(estado.textos.PorcentajeAjusteCurvaSsup);
  }
  TDBrosxCon& conexion = estado.Conexion();
  // 2. the calibrator goes with the model: a later failure leaves neither.
  estado.LiberarModeloTeorico();
  estado.LiberarCalibrador();
  // 3.
  std::shared_ptr<TParque_ModeloTeorico> modelo = TParque_ModeloTeorico::CrearSuperparque(
      conexion, a, std::vector<std::int32_t>(lista.begin(), lista.end()));
  estado.FijarModeloTeorico(modelo);
  const std::int32_t s = modelo->nid_central;
  // 4.
  modelo->GuardarEnArchivo(ArchivoModeloTeorico(s));
  // 5.
  std::shared_ptr<TCalibradorParque> c = TCalibradorParque::CrearDesdeSeries(
      modelo, inf, sup, ArchivoCentral(s, "_series10min.sas"), salida);
  c->FijarSalida(salida);
  c->GuardarEnArchivo(ArchivoCalibrador(s));
  std::shared_ptr<TParque_ModeloEmpirico> empirico;
  if (c->modelo_empirico) {
    empirico = std::shared_ptr<TParque_ModeloEmpirico>(c, c->modelo_empirico.get());
  }
  estado.FijarCalibrador(std::move(c), modelo, std::move(empirico));
  // 6. nothing is shown.
  return r;
}

TResultadoComando BorrarSupercentralClick(TEstadoAplicacion& estado, const TConfirmar& confirmar) {
  TResultadoComando r;
  // 1.
  const std::int32_t n = TextoAEntero(estado.textos.NIDsupercentralBorrar);
  const std::string nid = IntATexto(n);
  // 2.
  TDBrosxCon& conexion = estado.Conexion();
  const std::unique_ptr<TResultadoQuery> m = conexion.QueryOrThrow(
      "SELECT * FROM modelo_teorico WHERE central = " + nid + " ORDER BY dt_creacion DESC LIMIT 1");
  // 3.
  if (m->nRows <= 0) {
    r.mensajes.push_back("La supercentral: " + nid + " no existe");
    return r;
  }
  // 4.
  if (!confirmar ||
      !confirmar("ATENCIÓN!", "¿Está seguro que desea borrar la supercentral: " + nid + " ?")) {
    return r;
  }
  const std::int32_t k = m->FieldByName("nid").AsInteger(0);
  const std::int32_t r1 = conexion.ExecSQL("DELETE FROM modelo_teorico WHERE central = " + nid);
  const std::int32_t r2 = conexion.ExecSQL(
      "DELETE FROM modelo_teorico_etha_molinos WHERE nid_modelo = " + IntATexto(k));
  if (r1 == 0 && r2 == 0) {
    r.mensajes.push_back("La supercentral " + nid + " ha sido borrada");
  } else {
    r.mensajes.push_back("No se pudo borrar la supercentral " + nid + ": " + conexion.LastError());
  }
  // 5.
  estado.LiberarModeloTeorico();
  estado.LiberarCalibrador();
  return r;
}
