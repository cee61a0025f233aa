#include "ucalcrestriccionesoperativas.h"

#include <cmath>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "uDataSetGenerico.h"
#include "ubloquestexto.h"
#include "uparques_modelocombinado.h"
#include "urosx.h"
#include "usalidatexto.h"
#include "useriestemporales.h"

int IndiceDeMuestra(TFechaHora t, TFechaHora t0, NReal dt, int n) {
  // An instant on a sample computes a hair below it about half the time.
  const NReal x = std::floor((t - t0) / dt + 1e-6) + 1;
  if (!(x >= 0)) return 0;
  if (x > n + 1) return n + 1;
  return static_cast<int>(x);
}

TSeriesDeDatos LeerSeriesRestricciones(const std::string& archivo_series) {
  TSeriesDeDatos s(archivo_series);
  // The samples are taken by position: a file with fewer series would be read past its end.
  if (s.NSeries < kSeriesRestricciones) {
    throw Excepcion("ERROR en archivo series: tiene " + IntATexto(s.NSeries) +
                    " series y se necesitan al menos " + IntATexto(kSeriesRestricciones));
  }
  if (!(s.PeriodoHoras > 0)) {
    throw Excepcion("ERROR en archivo series: el período entre muestras debe ser positivo: " +
                    RealAGeneral(s.PeriodoHoras));
  }
  return s;
}

std::vector<TPeriodoRestriccion> BuscarPeriodosRestriccion(const TSeriesDeDatos& series,
                                                           TFechaHora& desde, TFechaHora& hasta,
                                                           NReal PAut) {
  std::vector<TPeriodoRestriccion> periodos;
  const TVectR& CGM = series.Series[6];
  const int n = CGM.n();
  const TFechaHora t0 = series.FechaInicio;
  const NReal dt = series.PeriodoDias;
  // 1.
  if (desde < t0) desde = t0;
  const TFechaHora ultimo = t0 + (n - 1) * dt;
  if (hasta > ultimo) hasta = ultimo;
  if (n < 1) return periodos;
  const NReal L = PAut - 0.5;
  // 2.
  int k = IndiceDeMuestra(desde, t0, dt, n);
  const int kfin = IndiceDeMuestra(hasta, t0, dt, n);
  for (;;) {
    // 3.
    int ks = 0;
    for (int i = k; i <= kfin && i <= n; ++i) {
      const NReal c = CGM.elemento(i);
      if (c <= -1) continue;
      if (c < L) {
        ks = i;
        break;
      }
    }
    if (ks == 0) break;
    // 4.
    int ke = n + 1;
    for (int i = ks + 1; i <= n; ++i) {
      const NReal c = CGM.elemento(i);
      if (c <= -1) continue;
      if (c > L) {
        ke = i;
        break;
      }
    }
    // 5.
    periodos.push_back({t0 + (ks - 1) * dt, t0 + (ke - 1) * dt});
    if (ke >= kfin) break;
    k = ke + 1;
  }
  return periodos;
}

std::vector<TPeriodoRestriccion> BuscarPeriodosRestriccion(const std::string& archivo_series,
                                                           TFechaHora& desde, TFechaHora& hasta,
                                                           NReal PAut) {
  const TSeriesDeDatos s = LeerSeriesRestricciones(archivo_series);
  return BuscarPeriodosRestriccion(s, desde, hasta, PAut);
}

namespace {

// The whole hour of an instant, the instant taken to the millisecond so that an exact hour is
// never put in the previous one.
TFechaHora HoraEntera(TFechaHora t) {
  const TFechaHoraPartes p = DecodificarFechaHora(t);
  return CodificarFecha(p.anio, p.mes, p.dia) + p.hora / 24.0;
}

}  // namespace

std::vector<TEntradaEnergia> AgruparPorHora(const std::vector<TEntradaEnergia>& lista_ens) {
  std::vector<TEntradaEnergia> r;
  for (const TEntradaEnergia& e : lista_ens) {
    if (!r.empty()) {
      const TFechaHora H = r.back().instante;
      if (H + 1.0 / 288 < e.instante && e.instante < H + 1.0 / 24 + 1.0 / 288) {
        r.back().energia += e.energia;
        continue;
      }
    }
    r.push_back({HoraEntera(e.instante), e.energia});
  }
  return r;
}

std::string TextoRestriccionesHorarias(NReal factor_smec,
                                       const std::vector<TEntradaEnergia>& horaria) {
  std::string t;
  AgregarLineaTabla(t, {"Fecha", " Energía no suministrada SCADA [MWh]",
                        " Factor SMEC/SCADA [p.u] ", " Energía no suministrada SMEC [MWh]"});
  NReal total = 0;
  for (const TEntradaEnergia& e : horaria) {
    AgregarLineaTabla(
        t, {RealANotacionArchivo(e.instante), RealANotacionArchivo(e.energia),
            RealANotacionArchivo(factor_smec), RealANotacionArchivo(factor_smec * e.energia)});
    total += e.energia;
  }
  AgregarLineaTabla(t, {"E[MWh] totales", RealANotacionArchivo(total), "",
                        RealANotacionArchivo(factor_smec * total)});
  return t;
}

void EscribirRestriccionesHorarias(const std::string& nombre, NReal factor_smec,
                                   const std::vector<TEntradaEnergia>& horaria) {
  GrabarArchivoSeguro(nombre, TextoRestriccionesHorarias(factor_smec, horaria));
}

NReal FactorSMEC(TDBrosxCon& conexion, std::int32_t nid_central) {
  const TFormatosNeutros neutros;
  const std::unique_ptr<TResultadoQuery> r = conexion.QueryOrThrow(
      "SELECT factor_smec_scada from centrales where nid=" + IntATexto(nid_central));
  return r->FieldByName("factor_smec_scada").AsFloat(0);
}

std::vector<TResumenPeriodo> ProcesarRestricciones(
    TDBrosxCon& conexion, const std::string& archivo_pmc, const std::string& archivo_series,
    TFechaHora desde, TFechaHora hasta, const std::string& carpeta, std::ostream& salida) {
  // 1.
  const std::unique_ptr<TParque_ModeloCombinado> mc =
      TParque_ModeloCombinado::CrearDesdeArchivoMC(archivo_pmc);
  const TParque_ModeloTeorico& mt = *mc->modelo_teorico;
  // 2. before anything is written.
  const NReal factor_smec = FactorSMEC(conexion, mt.nid_central);
  // 3.
  const std::vector<TPeriodoRestriccion> periodos =
      BuscarPeriodosRestriccion(archivo_series, desde, hasta, mt.potencia_autorizada_mw);
  // 4.
  std::vector<TEntradaEnergia> lista_ens;
  std::vector<TResumenPeriodo> resumen;
  for (const TPeriodoRestriccion& p : periodos) {
    const NReal e = ProcesarPeriodoMC(*mc, archivo_series, carpeta, false, lista_ens, factor_smec,
                                      p.inicio, p.fin, p.inicio - 1.0 / 6, p.fin + 1.0 / 6, salida);
    resumen.push_back({p.inicio, p.fin, e, factor_smec * e});
  }
  // 5.
  EscribirRestriccionesHorarias(
      carpeta + "/c" + IntATexto(mt.nid_central) + "_Restricciones_horarias.xlt", factor_smec,
      AgruparPorHora(lista_ens));
  // The answer, without opening the tables.
  salida << "Períodos de restricción encontrados: " << IntATexto(std::ssize(resumen)) << "\n";
  for (const TResumenPeriodo& r : resumen) {
    salida << FormatearFechaHora("dd-mm-yyyy hh:mm", r.inicio) << " - "
           << FormatearFechaHora("dd-mm-yyyy hh:mm", r.fin - 1.0 / 144)
           << ": energía no suministrada SCADA " << RealAFijo(r.energia_scada, 0, 3)
           << " MWh, SMEC " << RealAFijo(r.energia_smec, 0, 3) << " MWh\n";
  }
  return resumen;
}

std::vector<TResumenPeriodo> ProcesarRestricciones(TDBrosxCon& conexion,
                                                   const std::string& archivo_pmc,
                                                   const std::string& archivo_series,
                                                   TFechaHora desde, TFechaHora hasta,
                                                   const std::string& carpeta) {
  return ProcesarRestricciones(conexion, archivo_pmc, archivo_series, desde, hasta, carpeta,
                               std::cout);
}
