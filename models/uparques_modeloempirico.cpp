// Construction from series and from text, persistence and the power queries of the empirical
// model.
#include "uparques_modeloempirico.h"

#include <cmath>
#include <iostream>
#include <istream>
#include <ostream>
#include <utility>

#include "carpetas.h"
#include "formatos.h"
#include "numtext.h"
#include "ucurvasaeros.h"

namespace {

constexpr int kSeriesNecesarias = 9;

}  // namespace

std::unique_ptr<TParque_ModeloEmpirico> TParque_ModeloEmpirico::CrearDesdeSeries(
    std::shared_ptr<const TParque_ModeloTeorico> modelo_teorico, const std::string& archivo_series,
    int pct_inf, int pct_sup) {
  return CrearDesdeSeries(std::move(modelo_teorico), archivo_series, pct_inf, pct_sup, std::cout);
}

std::unique_ptr<TParque_ModeloEmpirico> TParque_ModeloEmpirico::CrearDesdeSeries(
    std::shared_ptr<const TParque_ModeloTeorico> modelo_teorico, const std::string& archivo_series,
    int pct_inf, int pct_sup, std::ostream& salida, bool graficos) {
  if (!modelo_teorico) throw Excepcion("Modelo empírico sin modelo teórico");
  std::unique_ptr<TParque_ModeloEmpirico> m(new TParque_ModeloEmpirico());
  m->salida_ = &salida;
  m->graficos_ = graficos;
  // 1.
  m->modelo_teorico = std::move(modelo_teorico);
  m->datos = TSeriesDeDatos::CrearDesdeArchivo(archivo_series);
  const TSeriesDeDatos& d = *m->datos;
  // The samples are taken by position: a file with fewer series would be read past its end.
  if (d.NSeries < kSeriesNecesarias) {
    throw Excepcion("ERROR en archivo series: tiene " + IntATexto(d.NSeries) +
                    " series y se necesitan al menos " + IntATexto(kSeriesNecesarias));
  }
  m->n_muestras = d.Series[0].n();
  if (m->n_muestras < 1) throw Excepcion("ERROR en archivo series: no tiene muestras");
  m->fecha_inicio = d.FechaInicio;
  m->dt = d.PeriodoDias;
  // 2. the period must be 10 minutes within one second.
  if (!(std::fabs(m->dt * 1440 - 10) * 60 <= 1)) {
    const float esperado = 1.0F / 6.0F;
    throw Excepcion(
        "ERROR en archivo series, Perioedo Entre Muestras : " + RealAGeneral(d.PeriodoHoras) +
        " debe ser " + RealAGeneral(static_cast<NReal>(esperado)));
  }
  // 3.
  m->dt = 1.0 / 144;
  // 4.
  m->Vel = &m->datos->Series[0];
  m->Ang = &m->datos->Series[1];
  m->PE = &m->datos->Series[2];
  m->Temp = &m->datos->Series[3];
  m->Pre = &m->datos->Series[4];
  m->HumRel = &m->datos->Series[5];
  m->CGM = &m->datos->Series[6];
  m->fDisp = &m->datos->Series[7];
  m->extra = &m->datos->Series[8];
  m->AlfaFilt = 0;
  // 5.
  m->tiempos = TVectR(m->n_muestras);
  for (int k = 1; k <= m->n_muestras; ++k) m->tiempos.poner(k, m->fecha_inicio + (k - 1) * m->dt);
  // 6.-9.
  FiltrarMuestras(*m->modelo_teorico, m->Series(), m->filtros, true, salida);
  m->AjustarSectores(72, 10, pct_sup, pct_inf, 1, 0.2);
  const TParque_ModeloEmpirico& primera = *m;
  FiltrarPorDistancia(m->Series(), m->filtros, [&primera](NReal rho, NReal pv3, NReal ang) {
    return primera.PotenciaCurvaS(rho, pv3, ang);
  });
  m->AjustarSectores(72, 10, pct_sup, pct_inf, 2, 0.2);
  // 10.
  TSalidaFiltrado o;
  o.carpeta = m->Carpeta();
  o.fecha_inicio = m->fecha_inicio;
  o.dt = m->dt;
  o.AlfaFilt = m->AlfaFilt;
  o.PAut = m->modelo_teorico->potencia_autorizada_mw;
  o.graficos = graficos;
  EscribirSeriesFiltradas(m->Series(), m->filtros, o);
  m->EscribirCurvasS();
  // 11.
  salida << "Fin err2CurvasS: " << RealANotacionArchivo(m->errc2.norma2())
         << " AlfaFilt: " << RealANotacionArchivo(m->AlfaFilt) << '\n';
  return m;
}

TSeriesFiltrado TParque_ModeloEmpirico::Series() const {
  return {.Vel = *Vel,
          .Ang = *Ang,
          .PE = *PE,
          .Temp = *Temp,
          .Pre = *Pre,
          .HumRel = *HumRel,
          .CGM = *CGM,
          .fDisp = *fDisp};
}

std::string TParque_ModeloEmpirico::Carpeta() const {
  return CarpetaCentral(modelo_teorico->nid_central);
}

std::unique_ptr<TParque_ModeloEmpirico> TParque_ModeloEmpirico::CrearDesdeTexto(
    std::istream& archivo, std::shared_ptr<const TParque_ModeloTeorico> modelo_teorico) {
  std::unique_ptr<TParque_ModeloEmpirico> m(new TParque_ModeloEmpirico());
  TFormatosNeutros neutros;
  m->pv3_bordes = TVectR(archivo);
  m->cnt_bin = TMatR(archivo);
  m->a0 = TMatR(archivo);
  m->a1 = TMatR(archivo);
  m->Pv3Medio = TVectR(archivo);
  m->F0 = TMatR(archivo);
  m->alfa = TVectR(archivo);
  m->vm = TVectR(archivo);
  m->modelo_teorico = std::move(modelo_teorico);
  m->AlfaFilt = 0;
  m->salida_ = &std::cout;
  // The queries index these by sector and bin: a block whose sizes disagree is not a model.
  const int NS = m->a0.n_filas();
  const int NB = m->pv3_bordes.n() - 1;
  bool ok = NS >= 1 && NB >= 1 && m->Pv3Medio.n() == NB && m->alfa.n() == NS && m->vm.n() == NS;
  for (const TMatR* M : {&m->cnt_bin, &m->a0, &m->a1, &m->F0}) {
    ok = ok && M->n_filas() == NS;
    for (int s = 1; ok && s <= M->n_filas(); ++s) ok = M->fila(s).n() == NB;
  }
  if (!ok) throw ExcepcionES("Bloque del modelo empírico con dimensiones inconsistentes");
  return m;
}

void TParque_ModeloEmpirico::EscribirTexto(std::ostream& archivo) const {
  TFormatosNeutros neutros;
  pv3_bordes.guardar(archivo);
  cnt_bin.guardar(archivo);
  a0.guardar(archivo);
  a1.guardar(archivo);
  Pv3Medio.guardar(archivo);
  F0.guardar(archivo);
  alfa.guardar(archivo);
  vm.guardar(archivo);
}

NReal TParque_ModeloEmpirico::AnguloSector(int s) const {
  // Multiplying first keeps every centre of 72 sectors an exact multiple of 5 degrees.
  return 360.0 * (s - 1) / NSectores();
}

void TParque_ModeloEmpirico::PesosSector(NReal ang, int& k1, int& k2, NReal& w1, NReal& w2) const {
  const int NS = NSectores();
  // A negative direction is first brought into [0, 360); larger ones wrap in the integer mod.
  if (ang < 0) {
    ang -= 360 * std::floor(ang / 360);
    if (ang >= 360) ang = 0;
  }
  const NReal x = NS * ang / 360;
  k1 = TruncToInt(x) % NS + 1;
  k2 = k1 % NS + 1;
  w2 = Frac(x);
  w1 = 1 - w2;
}

NReal TParque_ModeloEmpirico::PotenciaCurvaS(NReal rho, NReal pv3, NReal ang) const {
  int k1 = 0, k2 = 0;
  NReal w1 = 0, w2 = 0;
  PesosSector(ang, k1, k2, w1, w2);
  const NReal v = VelocidadDePV3(pv3, rho);
  const NReal s1 = 1 / (1 + std::exp(-alfa.elemento(k1) * (v - vm.elemento(k1))));
  const NReal s2 = 1 / (1 + std::exp(-alfa.elemento(k2) * (v - vm.elemento(k2))));
  const NReal P = FactorDensidad(rho) * modelo_teorico->curva_parque->P_max * (s1 * w1 + s2 * w2);
  return std::min(P, modelo_teorico->potencia_autorizada_mw);
}

NReal TParque_ModeloEmpirico::PotenciaBinada(NReal rho, NReal pv3, NReal ang, NReal& peso) const {
  int k1 = 0, k2 = 0;
  NReal w1 = 0, w2 = 0;
  PesosSector(ang, k1, k2, w1, w2);
  const int NB = NBins();
  // 1. outside the centres only the side matters, so far values never reach the integer part.
  const NReal x = Pv3Medio.inv_interpol(pv3);
  const int e = x < 1 ? 0 : (x >= NB ? NB : TruncToInt(x));
  // 2.
  auto valor = [&](int k, NReal& c) -> NReal {
    if (e < 1) {
      c = cnt_bin.elemento(k, 1);
      return F0.elemento(k, 1) + a1.elemento(k, 1) * (pv3 - Pv3Medio.elemento(1));
    }
    if (e >= NB) {
      c = cnt_bin.elemento(k, NB);
      return F0.elemento(k, NB) + a1.elemento(k, NB) * (pv3 - Pv3Medio.elemento(NB));
    }
    const NReal t = Frac(x);
    const NReal hb = Pv3Medio.elemento(e + 1) - Pv3Medio.elemento(e);
    if ((t < 0.999 && cnt_bin.elemento(k, e) < 10) ||
        (t > 0.001 && cnt_bin.elemento(k, e + 1) < 10)) {
      c = -1;
      return 0;
    }
    const NReal h00 = 2 * t * t * t - 3 * t * t + 1;
    const NReal h01 = 1 - h00;
    const NReal h10 = t * (1 - t) * (1 - t);
    const NReal h11 = -t * t * (1 - t);
    c = cnt_bin.elemento(k, e) * (1 - t) + t * cnt_bin.elemento(k, e + 1);
    return h00 * F0.elemento(k, e) + h01 * F0.elemento(k, e + 1) +
           hb * (h10 * a1.elemento(k, e) + h11 * a1.elemento(k, e + 1));
  };
  NReal c1 = 0, c2 = 0;
  const NReal y1 = valor(k1, c1);
  const NReal y2 = valor(k2, c2);
  // 3.-4.
  if ((w1 > 0.001 && c1 < 10) || (w2 > 0.001 && c2 < 10)) {
    peso = -1;
    return 0;
  }
  peso = c1 * w1 + c2 * w2;
  return FactorDensidad(rho) * (y1 * w1 + y2 * w2);
}
