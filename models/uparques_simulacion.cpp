// The farm computation of the theoretical model: row step, turbine step, the passes of Simular
// and the two inverse computations built on it.
#include <algorithm>
#include <cmath>

#include "errores.h"
#include "numtext.h"
#include "uparques_modeloteorico.h"

void TMolino::AplicarEnFila(TMatR& grilla, int r, NReal rho, NReal factor_ajuste, NReal fp) {
  if (r != posicion.fila) return;
  // 1.
  const NReal k_rho = FactorDensidad(rho);
  // 2. mean over the rotor's columns.
  TVectR& fila = grilla.fila(r);
  NReal suma = 0;
  for (int c = posicion.col_ini; c <= posicion.col_fin; ++c) suma += fila.elemento(c);
  pv3_medio = suma / (posicion.col_fin - posicion.col_ini + 1);
  // 3.
  potencia = curva->PotenciaDePV3(etha * pv3_medio) * k_rho * factor_ajuste;
  // 4.-5. share of the power density the rotor takes out of the stream.
  const NReal h = pv3_medio < 1e-15 ? 0.01 : fp * (potencia / curva->area) / pv3_medio;
  NReal k = 1 - h;
  if (k > 0.999999) k = 0.999999;
  if (k < 1e-5) k = 1e-5;
  // 6. the deficit travels downwind through the following rows.
  for (int c = posicion.col_ini; c <= posicion.col_fin; ++c) fila.poner(c, fila.elemento(c) * k);
}

const TMatR& TParque_ModeloTeorico::GrillaPreparada() const {
  if (!grilla) throw Excepcion(Nombre() + ": no hay una dirección preparada");
  return *grilla;
}

void TParque_ModeloTeorico::PropagarFila(int r) {
  const TMatR& g = GrillaPreparada();
  if (r < 2 || r > g.n_filas())
    throw Excepcion(Nombre() + ": fila fuera de la grilla: " + IntATexto(r));
  const TVectR& p = grilla->fila(r - 1);
  TVectR& q = grilla->fila(r);
  const int ultima = q.n() - 1;
  const NReal retorno = r_retorno * pv3_libre;
  for (int c = 2; c <= ultima; ++c) {
    q.poner(c, (m_lateral * (p.elemento(c - 1) + p.elemento(c + 1)) + m_central * p.elemento(c)) *
                       r_conserva +
                   retorno);
  }
}

void TParque_ModeloTeorico::AplicarMolinosEnFila(int r, NReal rho, NReal factor_ajuste) {
  GrillaPreparada();
  // In list order: where rotors overlap on one row the later turbine sees the earlier's deficit.
  for (auto& m : molinos) m->AplicarEnFila(*grilla, r, rho, factor_ajuste, fpv3pe);
}

NReal TParque_ModeloTeorico::Simular(NReal limite, NReal pv3_libre_entrada, NReal rho,
                                     NReal& pv3_meteo) {
  const TMatR& g = GrillaPreparada();
  if (!std::isfinite(pv3_libre_entrada)) {
    throw Excepcion(Nombre() + ": pv3 libre no válida: " + RealAGeneral(pv3_libre_entrada));
  }
  if (!std::isfinite(rho)) throw Excepcion(Nombre() + ": densidad no válida: " + RealAGeneral(rho));
  if (std::isnan(limite)) throw Excepcion(Nombre() + ": límite de potencia no válido");
  // 1. a negative limit (a missing set-point) means no power at all.
  const NReal L = std::max(0.0, std::min(limite, potencia_autorizada_mw));
  pv3_libre = pv3_libre_entrada;
  NReal factor_ajuste = 1;
  const int filas = g.n_filas();
  const int columnas = g.n_columnas();
  // 2. each pass recomputes the whole grid: the wakes depend on the scaled powers.
  for (int pasada = 0; pasada <= 10; ++pasada) {
    // 2.1 boundary.
    TVectR& primera = grilla->fila(1);
    for (int c = 1; c <= columnas; ++c) primera.poner(c, pv3_libre);
    for (int r = 2; r <= filas; ++r) {
      TVectR& f = grilla->fila(r);
      f.poner(1, pv3_libre);
      f.poner(columnas, pv3_libre);
    }
    // 2.2-2.3
    AplicarMolinosEnFila(1, rho, factor_ajuste);
    for (int r = 2; r <= filas; ++r) {
      PropagarFila(r);
      AplicarMolinosEnFila(r, rho, factor_ajuste);
    }
    // 2.4 electrical losses, the result held in single precision.
    NReal S = 0;
    for (const auto& m : molinos) S += m->potencia;
    const float pp = static_cast<float>(S - S * S * k_perdidas);
    const NReal Pp = pp <= 0 ? 0.0 : static_cast<NReal>(pp);
    // 2.5
    if (Pp <= L) {
      pv3_meteo = PV3EnPunto(0, 0) * etha_meteo_dir;
      return Pp;
    }
    // 2.6
    factor_ajuste = factor_ajuste * L / Pp;
  }
  // 3. still above the limit after the eleventh pass.
  for (auto& m : molinos) m->potencia = m->potencia * factor_ajuste;
  pv3_meteo = PV3EnPunto(0, 0) * etha_meteo_dir;
  return L;
}

NReal TParque_ModeloTeorico::PV3EnPunto(NReal x, NReal y) const {
  const TMatR& g = GrillaPreparada();
  // 1.
  const NReal xp = cos_dir * x - sin_dir * y;
  const NReal yp = sin_dir * x + cos_dir * y;
  if (std::isnan(xp) || std::isnan(yp)) {
    throw Excepcion(Nombre() + ": punto no válido: " + RealAGeneral(x) + ", " + RealAGeneral(y));
  }
  // 2.
  if (xp < xr_min || xp > xr_max || yp < yr_min || yp > yr_max) return 0;
  // 3.
  const int filas = g.n_filas();
  const int columnas = g.n_columnas();
  const NReal u = (yp - yr_min) / celda_dy;
  const NReal w = (xp - xr_min) / celda_dx;
  const int R = std::min(TruncToInt(u) + 1, filas);
  const int R2 = std::min(R + 1, filas);
  const int C = std::min(TruncToInt(w) + 1, columnas);
  const int C2 = std::min(C + 1, columnas);
  const NReal fu = Frac(u);
  const NReal fw = Frac(w);
  // 4.
  return (g.elemento(R, C) * (1 - fw) + g.elemento(R, C2) * fw) * (1 - fu) +
         (g.elemento(R2, C) * (1 - fw) + g.elemento(R2, C2) * fw) * fu;
}

NReal TParque_ModeloTeorico::SimularDesdeAnemometro(NReal limite, NReal pv3_meteo, NReal rho,
                                                    bool& convergido, NReal& pv3_meteo_simulado,
                                                    NReal& pv3_libre_salida) {
  if (std::isnan(pv3_meteo)) throw Excepcion(Nombre() + ": pv3 de la estación no válida");
  // 1. calm station: the outputs are left as they were.
  if (pv3_meteo < 1e-10) return 0;
  GrillaPreparada();
  // 2.
  NReal f = pv3_meteo / etha_meteo_dir;
  bool conv = false;
  int i = 0;
  NReal P = 0;
  NReal a = 0;
  // 3. at most eleven simulations.
  do {
    P = Simular(limite, f, rho, a);
    const NReal g = pv3_meteo / a;
    if (std::fabs(g - 1) < 0.01) {
      conv = true;
    } else {
      ++i;
      f = f * g;
    }
  } while (i <= 10 && !conv);
  // 4.
  convergido = conv;
  pv3_meteo_simulado = a;
  pv3_libre_salida = f;
  return P;
}

NReal TParque_ModeloTeorico::VientoParaPotencia(NReal potencia_objetivo) {
  if (std::isnan(potencia_objetivo)) throw Excepcion(Nombre() + ": potencia objetivo no válida");
  // 1. unattainable target, and a negative one (the secant would divide by zero).
  if (potencia_autorizada_mw < potencia_objetivo || potencia_objetivo < 0) return -11;
  // Nothing to search within the tolerance.
  if (potencia_autorizada_mw <= 0.01) return 0;
  GrillaPreparada();
  // 2. bracket (speed, power).
  NReal v_bajo = 0;
  NReal p_bajo = 0;
  NReal v_alto = 20;
  NReal p_alto = potencia_autorizada_mw;
  NReal err = potencia_autorizada_mw;
  int i = 0;
  NReal V = 0;
  NReal pv3_meteo = 0;
  // 3. secant through the bracket, at most 301 simulations.
  while (err > 0.01) {
    V = v_bajo + (potencia_objetivo - p_bajo) * (v_alto - v_bajo) / (p_alto - p_bajo);
    const NReal P =
        Simular(potencia_autorizada_mw, PV3(V, DensidadEstandar), DensidadEstandar, pv3_meteo);
    err = std::fabs(potencia_objetivo - P);
    ++i;
    if (P > potencia_objetivo) {
      v_alto = V;
      p_alto = P;
    } else {
      v_bajo = V;
      p_bajo = P;
    }
    if (i > 300 || v_bajo == v_alto) break;
  }
  return V;
}
