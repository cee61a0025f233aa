// The two fitting passes of the empirical model: sector clusters, S curves with their
// completion, and the bin lines.
#include <algorithm>
#include <cmath>
#include <ostream>
#include <vector>

#include "math01.h"
#include "numtext.h"
#include "ucurvasaeros.h"
#include "uparques_modeloempirico.h"

namespace {

constexpr int kMuestrasCurvaPropia = 50;  // a sector's own S curve stands above this
constexpr int kMuestrasAjuste = 10;       // an S-curve fit needs more than this

// What every sector needs of a valid sample, computed once per pass.
struct TMuestraValida {
  int k;
  NReal ang, pv3, pe;
};

}  // namespace

void TParque_ModeloEmpirico::AjustarSectores(int NS, int NB, int pct_sup, int pct_inf, int pasada,
                                             NReal fraccion) {
  // A model read from text holds the curves only.
  if (datos == nullptr) throw Excepcion("Modelo empírico sin series: no se puede ajustar");
  const TCurvaAerogen* curva = modelo_teorico->curva_parque.get();
  if (curva == nullptr) throw Excepcion("Modelo empírico: el modelo teórico no tiene molinos");
  // L0 = ln((Pmax - 0.1) / 0.1) has no value for such a curve.
  if (!(curva->P_max > 0.1)) {
    throw Excepcion("Modelo empírico: potencia máxima de la curva del parque no válida: " +
                    RealAGeneral(curva->P_max));
  }
  // 1. the curves of a previous pass are replaced.
  clusters.assign(static_cast<std::size_t>(NS), TCluster{});
  // 2.
  const NReal h = 360.0 / NS * 0.5 * (1 + fraccion);
  // 3.-4.
  NReal vmax = 0;
  std::vector<TMuestraValida> validas;
  for (int k = 1; k <= n_muestras; ++k) {
    if (!filtros.Valida(k)) continue;
    vmax = std::max(vmax, Vel->elemento(k));
    const NReal rho = DensidadAire(Temp->elemento(k), Pre->elemento(k), HumRel->elemento(k));
    validas.push_back(
        {k, Ang->elemento(k), PV3(Vel->elemento(k), rho), PE->elemento(k) / FactorDensidad(rho)});
  }
  pv3_bordes = TVectR(NB + 1);
  for (int b = 1; b <= NB + 1; ++b) pv3_bordes.poner(b, PV3((b - 1) * vmax / NB, 1.225));
  Pv3Medio = TVectR(NB);
  for (int b = 1; b <= NB; ++b) {
    Pv3Medio.poner(b, (pv3_bordes.elemento(b) + pv3_bordes.elemento(b + 1)) / 2);
  }
  // 5.
  cnt_bin = TMatR(NS, NB);
  a0 = TMatR(NS, NB);
  a1 = TMatR(NS, NB);
  F0 = TMatR(NS, NB);
  alfa = TVectR(NS);
  vm = TVectR(NS);
  errc2 = TVectR(NS);
  cntMuestras = TVectE(NS);
  TMatR alfa_conocido(NS, 1);
  TMatR vm_conocido(NS, 1);

  // 6.
  for (int s = 1; s <= NS; ++s) {
    const NReal c = 360.0 * (s - 1) / NS;
    // 6.1 the window around the centre, any direction reduced to an angular distance.
    std::vector<const TMuestraValida*> dentro;
    for (const TMuestraValida& m : validas) {
      NReal d = std::fmod(std::fabs(m.ang - c), 360.0);
      if (d > 180) d = 360 - d;
      if (d <= h) dentro.push_back(&m);
    }
    const int n = static_cast<int>(dentro.size());
    cl_pv3 = TVectR(n);
    cl_pe = TVectR(n);
    cl_extra = TVectR(n);
    cl_tiempo = TVectR(n);
    for (int i = 1; i <= n; ++i) {
      const TMuestraValida& m = *dentro[static_cast<std::size_t>(i - 1)];
      cl_pv3.poner(i, m.pv3);
      cl_pe.poner(i, m.pe);
      cl_extra.poner(i, extra->elemento(m.k));
      cl_tiempo.poner(i, tiempos.elemento(m.k));
    }
    // 6.2
    TDAofNInt idx(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) idx[static_cast<std::size_t>(i)] = i;
    cl_pv3.ordenar(true, idx);
    cl_pe.reordenar(idx);
    cl_extra.reordenar(idx);
    cl_tiempo.reordenar(idx);
    // 6.3-6.4
    AjustarCurvaS(s, pct_sup, pct_inf);
    if (cntMuestras.elemento(s) > kMuestrasCurvaPropia) {
      alfa_conocido.poner(s, 1, alfa.elemento(s));
      vm_conocido.poner(s, 1, vm.elemento(s));
    }
    // 6.5
    for (int b = 1; b <= NB; ++b) AjustarBin(s, b);
    // 6.6
    TCluster& cl = clusters[static_cast<std::size_t>(s - 1)];
    cl.pv3 = cl_pv3;
    cl.pe = cl_pe;
    cl.tiempo = cl_tiempo;
  }

  // 7.-8. sectors without enough samples of their own take the relaxed values of their
  // neighbours.
  alfa_completo = TMatR(NS, 1);
  vm_completo = TMatR(NS, 1);
  NReal cambio = 0;
  int barridos = 0;
  RellenarHuecos(alfa_completo, alfa_conocido, cambio, barridos, *salida_);
  RellenarHuecos(vm_completo, vm_conocido, cambio, barridos, *salida_);
  for (int s = 1; s <= NS; ++s) {
    if (cntMuestras.elemento(s) <= kMuestrasCurvaPropia) {
      alfa.poner(s, alfa_completo.elemento(s, 1));
      vm.poner(s, vm_completo.elemento(s, 1));
    }
  }
  // 9.
  if (graficos_) {
    for (int s = 1; s <= NS; ++s) {
      if (clusters[static_cast<std::size_t>(s - 1)].pv3.n() > 3) GraficarSector(s, pasada);
    }
  }
  EscribirCurvasCompletadas();
}

void TParque_ModeloEmpirico::AjustarCurvaS(int s, int pct_sup, int pct_inf) {
  // 1.
  const NReal Pmax = modelo_teorico->curva_parque->P_max;
  const NReal PAut = modelo_teorico->potencia_autorizada_mw;
  const NReal lo = pct_inf * PAut / 100;
  const NReal hi = pct_sup * PAut / 100;
  const NReal L0 = std::log((Pmax - 0.1) / 0.1);
  // 2. a power at or above Pmax, or not above 0, has no logarithm and stays out of the fit.
  std::vector<NReal> v;
  std::vector<NReal> y;
  for (int i = 1; i <= cl_pe.n(); ++i) {
    const NReal pe = cl_pe.elemento(i);
    if (!(lo <= pe && pe <= hi) || !(pe > 0 && pe < Pmax)) continue;
    v.push_back(VelocidadDePV3(cl_pv3.elemento(i), 1.225));
    y.push_back(std::log(Pmax / pe - 1) - L0);
  }
  const int n = static_cast<int>(v.size());
  cntMuestras.poner(s, n);
  errc2.poner(s, 0);
  // 3.
  alfa.poner(s, -1);
  vm.poner(s, -1);
  if (n <= kMuestrasAjuste) return;
  // 4. least squares through the origin, in the sorted order of the cluster.
  NReal syv = 0;
  NReal svv = 0;
  for (std::size_t j = 0; j < v.size(); ++j) {
    syv += y[j] * v[j];
    svv += v[j] * v[j];
  }
  if (svv == 0) return;
  const NReal b1 = syv / svv;
  if (b1 == 0 || !std::isfinite(b1)) return;
  const NReal vm_s = -L0 / b1;
  const NReal alfa_s = L0 / vm_s;
  // 5. a fit without a finite curve counts as failed.
  if (!std::isfinite(vm_s) || !std::isfinite(alfa_s)) return;
  alfa.poner(s, alfa_s);
  vm.poner(s, vm_s);
  EscribirCurvaSDepuracion(v, y, Pmax, alfa_s, vm_s);
  NReal e = 0;
  for (std::size_t j = 0; j < v.size(); ++j) {
    const NReal r = b1 * v[j] - y[j];
    e += r * r;
  }
  errc2.poner(s, e / n);
}

void TParque_ModeloEmpirico::AjustarBin(int s, int b) {
  const int n = cl_pv3.n();
  // 1. positions clamped before they become integers, so an extrapolation far beyond the
  // cluster never overflows.
  int i1 = 1;
  int i2 = 0;
  if (n > 0) {
    auto posicion = [n](NReal x) { return std::clamp(x, 1.0, static_cast<NReal>(n)); };
    i1 = CeilToInt(posicion(cl_pv3.inv_interpol(pv3_bordes.elemento(b))));
    i2 = FloorToInt(posicion(cl_pv3.inv_interpol(pv3_bordes.elemento(b + 1))));
  }
  if (i1 < i2) {
    // 2.
    const int m = i2 - i1 + 1;
    NReal sx = 0, sxx = 0, sy = 0, sxy = 0;
    for (int i = i1; i <= i2; ++i) {
      const NReal x = cl_pv3.elemento(i);
      const NReal y = cl_pe.elemento(i);
      sx += x;
      sxx += x * x;
      sy += y;
      sxy += x * y;
    }
    TMatR A(2, 2);
    A.poner(1, 1, m);
    A.poner(1, 2, sx);
    A.poner(2, 1, sx);
    A.poner(2, 2, sxx);
    TMatR B(2, 1);
    B.poner(1, 1, sy);
    B.poner(2, 1, sxy);
    bool invertible = false;
    int exponente = 0;
    A.resolver_sistema(B, invertible, exponente);
    if (!invertible) {
      throw Excepcion(
          "Atención!!!! sistema lineal no invertible en la aproximación de un tramo!!!");
    }
    cnt_bin.poner(s, b, m);
    a0.poner(s, b, B.elemento(1, 1));
    a1.poner(s, b, B.elemento(2, 1));
  } else {
    // 3.
    cnt_bin.poner(s, b, -1);
    a0.poner(s, b, 0);
    a1.poner(s, b, 0);
  }
  // 4.
  F0.poner(s, b, a0.elemento(s, b) + a1.elemento(s, b) * Pv3Medio.elemento(b));
}
