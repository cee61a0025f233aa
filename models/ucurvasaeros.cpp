#include "ucurvasaeros.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "errores.h"
#include "numtext.h"

// The closed forms are evaluated in extended precision and rounded once, so that FactorDensidad is
// exactly 1 at the standard density and VelocidadDePV3 gives back the speed PV3 started from.
namespace {
using Ext = long double;
}

NReal PV3(NReal v, NReal rho) {
  const Ext r = std::pow(static_cast<Ext>(v), 3.0L) * (static_cast<Ext>(rho) * 0.5L) / 1000000.0L;
  return static_cast<NReal>(r);
}

NReal VelocidadDePV3(NReal p, NReal rho) {
  // Negative densities come from negative speeds: keep the sign so this stays PV3's inverse.
  if (p < 0) return -VelocidadDePV3(-p, rho);
  const Ext base = static_cast<Ext>(p) / (static_cast<Ext>(rho) * 0.5L) * 1000000.0L;
  return static_cast<NReal>(std::pow(base, 1.0L / 3.0L));
}

NReal FactorDensidad(NReal rho) {
  const Ext f = (1.0L - std::exp(-2.17L * static_cast<Ext>(rho))) / 0.92992926169656980727L;
  return static_cast<NReal>(f);
}

NReal DensidadAire(NReal t, NReal p, NReal h) {
  const Ext te = static_cast<Ext>(t);
  const Ext r =
      (0.34848L * static_cast<Ext>(p) - 0.009L * static_cast<Ext>(h) * std::exp(0.061L * te)) /
      (te + 273.16L);
  const NReal rho = static_cast<NReal>(r);
  // Written so that a reading that is not a number is replaced too.
  if (!(rho >= 1.1 && rho <= 1.3)) return 1.18;
  return rho;
}

NReal Norma2D(NReal x, NReal y) { return std::sqrt(x * x + y * y); }

TCurvaAerogen::TCurvaAerogen(std::int32_t id, std::string nombre_modelo, NReal diametro_rotor,
                             TVectR velocidades, TVectR potencias)
    : nid(id),
      modelo(std::move(nombre_modelo)),
      diametro(diametro_rotor),
      curva_v(std::move(velocidades)),
      curva_P(std::move(potencias)) {
  PrepararCurva();
}

TCurvaAerogen::TCurvaAerogen(std::int32_t id, std::string nombre_modelo, NReal diametro_rotor,
                             const TDAofNReal& velocidades, const TDAofNReal& potencias)
    : TCurvaAerogen(id, std::move(nombre_modelo), diametro_rotor, TVectR(velocidades),
                    TVectR(potencias)) {}

std::unique_ptr<TCurvaAerogen> TCurvaAerogen::CrearCopia(const TCurvaAerogen& otra) {
  return std::make_unique<TCurvaAerogen>(otra.nid, otra.modelo, otra.diametro, otra.curva_v,
                                         otra.curva_P);
}

std::string TCurvaAerogen::Nombre() const {
  return "Curva de potencia " + IntATexto(nid) + " (" + modelo + ")";
}

void TCurvaAerogen::Validar() const {
  // Interpolation in pv3 needs at least one segment and ascending abscissae; a non-finite value
  // would end up in every power the curve gives.
  if (curva_v.n() != curva_P.n()) {
    throw Excepcion(Nombre() + ": " + IntATexto(curva_v.n()) + " velocidades y " +
                    IntATexto(curva_P.n()) + " potencias");
  }
  if (curva_v.n() < 2) throw Excepcion(Nombre() + ": necesita al menos dos puntos");
  for (int k = 1; k <= curva_v.n(); ++k) {
    if (!std::isfinite(curva_v.elemento(k)) || !std::isfinite(curva_P.elemento(k))) {
      throw Excepcion(Nombre() + ": valor no finito en el punto " + IntATexto(k));
    }
    if (k > 1 && !(curva_v.elemento(k) > curva_v.elemento(k - 1))) {
      throw Excepcion(Nombre() + ": las velocidades no son ascendentes en el punto " +
                      IntATexto(k));
    }
  }
  if (!std::isfinite(diametro)) throw Excepcion(Nombre() + ": diámetro no finito");
}

void TCurvaAerogen::PrepararCurva() {
  Validar();
  // 1.
  area = (diametro * 0.5) * (diametro * 0.5) * std::numbers::pi;
  // 2.
  n = curva_v.n();
  pv3 = TVectR(n);
  for (int k = 1; k <= n; ++k) pv3.poner(k, PV3(curva_v.elemento(k), DensidadEstandar));
  // 3.
  int kmin = 0;
  int kmax = 0;
  pv3.min_max(pv3_min, kmin, pv3_max, kmax);
  // 4.
  CalcularCaracteristicas();
}

void TCurvaAerogen::CalcularCaracteristicas() {
  // 1.-2. first point of the top plateau.
  P_max = curva_P.maximo();
  k_P_max = 1;
  while (k_P_max < n && !(std::fabs(curva_P.elemento(k_P_max) - P_max) <= 1e-10)) ++k_P_max;
  v_P_max = curva_v.elemento(k_P_max);
  pv3_P_max = pv3.elemento(k_P_max);
  // 3. start point: first power of at least 1 % of the maximum.
  k_arranque = 1;
  while (k_arranque < n && !(curva_P.elemento(k_arranque) >= 0.01 * P_max)) ++k_arranque;
  v_arranque = curva_v.elemento(k_arranque);
  pv3_arranque = pv3.elemento(k_arranque);
  // 4. logistic fit on the rising part: ln(P_max / P - 1) is linear in v.
  const NReal lo = v_arranque + 1.1;
  const NReal hi = 0.9 * v_P_max;
  TVectR y(n);
  for (int k = k_arranque; k <= k_P_max; ++k) {
    const NReal v = curva_v.elemento(k);
    if (lo <= v && v < hi) {
      const NReal arg = P_max / curva_P.elemento(k) - 1;
      // A zero or the maximum inside the window has no logarithm; such points count as 0.
      if (arg > 0 && std::isfinite(arg)) y.poner(k, std::log(arg));
    }
  }
  NReal a = 0;
  NReal b = 0;
  err2_s = y.AproximacionLineal(curva_v, lo, hi, a, b, n_s);
  if (n_s == 0) {
    // Empty window: no fit; keep plain zeros (the fit is informative only).
    alfa_s = 0;
    vm_s = 0;
    return;
  }
  alfa_s = -a;
  // A flat line has no mid-point.
  vm_s = alfa_s != 0 ? b / alfa_s : 0;
}

NReal TCurvaAerogen::PotenciaDePV3(NReal x) const {
  // 1. below the first point or above the last (cut-out) the turbine yields nothing; written so
  // that a density that is not a number yields nothing as well.
  if (!(x >= pv3_min && x <= pv3_max)) return 0;
  // 2. linear in pv3 between two points.
  return curva_P.interpol(pv3.inv_interpol(x));
}

void TCurvaAerogen::SumarCurvas(const std::vector<const TCurvaAerogen*>& otras) {
  for (const TCurvaAerogen* c : otras) {
    for (int k = 1; k <= n; ++k) curva_P.acumular(k, c->PotenciaDePV3(pv3.elemento(k)));
  }
  CalcularCaracteristicas();
}
