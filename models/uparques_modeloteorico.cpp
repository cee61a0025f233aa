#include "uparques_modeloteorico.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "errores.h"
#include "numtext.h"

TPosicion::TPosicion(NReal desp_x, NReal desp_y) : dx(desp_x), dy(desp_y) {}

TPosicion::TPosicion(std::int32_t huso, char zona, NReal este, NReal norte)
    : huso_utm(huso), zona_utm(zona), xe(este), yn(norte) {}

TMolino::TMolino(std::int32_t id, std::int32_t numero, std::int32_t id_curva,
                 std::int32_t id_central, std::unique_ptr<TCurvaAerogen> curva_propia,
                 NReal etha_molino, TPosicion pos)
    : nid(id),
      nro(numero),
      nid_curvaaero(id_curva),
      nidcentral(id_central),
      curva(std::move(curva_propia)),
      etha(etha_molino),
      posicion(pos) {
  if (!curva) throw Excepcion("Molino " + IntATexto(nid) + ": sin curva de potencia");
}

std::unique_ptr<TMolino> TMolino::CrearCopia(const TMolino& otro) {
  auto m =
      std::make_unique<TMolino>(otro.nid, otro.nro, otro.nid_curvaaero, otro.nidcentral,
                                TCurvaAerogen::CrearCopia(*otro.curva), otro.etha, otro.posicion);
  m->pv3_medio = otro.pv3_medio;
  m->potencia = otro.potencia;
  return m;
}

TParque_ModeloTeorico::TParque_ModeloTeorico() : meteo_etha(11) { meteo_etha.poner(1, 1.0); }

std::unique_ptr<TParque_ModeloTeorico> TParque_ModeloTeorico::Crear(
    std::string nombre_parque, std::vector<std::unique_ptr<TMolino>> lista,
    NReal potencia_autorizada) {
  std::unique_ptr<TParque_ModeloTeorico> p(new TParque_ModeloTeorico());
  p->nombre = std::move(nombre_parque);
  for (const auto& m : lista) {
    if (!m) throw Excepcion(p->Nombre() + ": molino inexistente en la lista");
  }
  p->molinos = std::move(lista);
  p->potencia_autorizada_mw = potencia_autorizada;
  p->potencia_nominal = potencia_autorizada;
  p->PrepararDerivados();
  return p;
}

std::unique_ptr<TParque_ModeloTeorico> TParque_ModeloTeorico::CrearCopia(
    const TParque_ModeloTeorico& o) {
  std::unique_ptr<TParque_ModeloTeorico> p(new TParque_ModeloTeorico());
  p->nid_central = o.nid_central;
  p->nid_modelo_teorico = o.nid_modelo_teorico;
  p->nombre = o.nombre;
  p->n_sectores_dir = o.n_sectores_dir;
  p->molinos.reserve(o.molinos.size());
  for (const auto& m : o.molinos) p->molinos.push_back(TMolino::CrearCopia(*m));
  if (o.curva_parque) p->curva_parque = TCurvaAerogen::CrearCopia(*o.curva_parque);
  p->meteo_utm_zona = o.meteo_utm_zona;
  p->meteo_utm_huso = o.meteo_utm_huso;
  p->meteo_utm_xe = o.meteo_utm_xe;
  p->meteo_utm_yn = o.meteo_utm_yn;
  p->meteo_cota = o.meteo_cota;
  p->xr_min = o.xr_min;
  p->xr_max = o.xr_max;
  p->yr_min = o.yr_min;
  p->yr_max = o.yr_max;
  p->celda_dx = o.celda_dx;
  p->celda_dy = o.celda_dy;
  p->cos_dir = o.cos_dir;
  p->sin_dir = o.sin_dir;
  p->grilla_rotada_dx = o.grilla_rotada_dx;
  p->grilla_rotada_dy = o.grilla_rotada_dy;
  p->grilla_rotada_margen_dx = o.grilla_rotada_margen_dx;
  if (o.grilla) p->grilla = std::make_unique<TMatR>(*o.grilla);
  p->meteo_etha = o.meteo_etha;
  p->alfa_terreno = o.alfa_terreno;
  p->gamma_atmosfera = o.gamma_atmosfera;
  p->fpv3pe = o.fpv3pe;
  p->factor_perdidas = o.factor_perdidas;
  p->pv3_libre = o.pv3_libre;
  p->k_perdidas = o.k_perdidas;
  p->potencia_nominal = o.potencia_nominal;
  p->potencia_autorizada_mw = o.potencia_autorizada_mw;
  p->etha_meteo_dir = o.etha_meteo_dir;
  p->m_lateral = o.m_lateral;
  p->m_central = o.m_central;
  p->r_retorno = o.r_retorno;
  p->r_conserva = o.r_conserva;
  p->vista = o.vista;
  return p;
}

std::string TParque_ModeloTeorico::Nombre() const { return "Parque " + nombre; }

std::string TParque_ModeloTeorico::NombreMolino(const TMolino& m) const {
  return Nombre() + ", molino " + IntATexto(m.nid);
}

void TParque_ModeloTeorico::CalcularPosicionesRelativas() {
  for (auto& m : molinos) {
    m->posicion.dx = m->posicion.xe - meteo_utm_xe;
    m->posicion.dy = m->posicion.yn - meteo_utm_yn;
  }
}

void TParque_ModeloTeorico::PrepararDerivados() {
  if (!std::isfinite(potencia_autorizada_mw)) {
    throw Excepcion(Nombre() +
                    ": potencia autorizada no válida: " + RealAGeneral(potencia_autorizada_mw));
  }
  // 1. the limit stays positive.
  if (potencia_autorizada_mw <= 1e-8) potencia_autorizada_mw = 1e-8;
  // 2. a farm without a usable nominal power (a null column, supercentral members) takes the loss
  // scale from its authorised power.
  const NReal base = potencia_nominal > 0 && std::isfinite(potencia_nominal)
                         ? potencia_nominal
                         : potencia_autorizada_mw;
  k_perdidas = factor_perdidas / base;
  // 3. aggregate curve tabulated at the first turbine's points.
  if (!molinos.empty()) {
    curva_parque = TCurvaAerogen::CrearCopia(*molinos.front()->curva);
    if (molinos.size() > 1) {
      std::vector<const TCurvaAerogen*> otras;
      otras.reserve(molinos.size() - 1);
      for (std::size_t i = 1; i < molinos.size(); ++i) otras.push_back(molinos[i]->curva.get());
      curva_parque->SumarCurvas(otras);
    }
  }
}

NReal TParque_ModeloTeorico::EthaMeteo(NReal direccion) const {
  if (meteo_etha.n() < 1) throw Excepcion(Nombre() + ": meteo_etha sin coeficientes");
  return meteo_etha.serie_fourier(direccion / 180 * std::numbers::pi);
}

void TParque_ModeloTeorico::PrepararDireccion(NReal direccion, bool sin_etha_meteo) {
  if (!std::isfinite(direccion)) {
    throw Excepcion(Nombre() + ": dirección no válida: " + RealAGeneral(direccion));
  }
  const NReal gdx = grilla_rotada_dx;
  const NReal gdy = grilla_rotada_dy;
  const NReal margen = grilla_rotada_margen_dx;
  if (!(gdx > 0 && std::isfinite(gdx)) || !(gdy > 0 && std::isfinite(gdy)) ||
      !(margen > 0 && std::isfinite(margen))) {
    throw Excepcion(Nombre() + ": grilla no válida: dx = " + RealAGeneral(gdx) +
                    ", dy = " + RealAGeneral(gdy) + ", margen = " + RealAGeneral(margen));
  }
  for (const auto& m : molinos) {
    const NReal d = m->curva->diametro;
    if (!(d > 0)) {
      throw Excepcion(NombreMolino(*m) + ": diámetro de rotor no válido: " + RealAGeneral(d));
    }
    // A rotor sticking out of the grid would average cells that do not exist.
    if (d / 2 > margen) {
      throw Excepcion(NombreMolino(*m) + ": el rotor de " + RealAGeneral(d) +
                      " m no cabe en el margen de la grilla de " + RealAGeneral(margen) + " m");
    }
    if (!std::isfinite(m->posicion.dx) || !std::isfinite(m->posicion.dy)) {
      throw Excepcion(NombreMolino(*m) + ": posición no válida");
    }
  }

  // 1.-2.
  PrepararDerivados();
  if (sin_etha_meteo) {
    etha_meteo_dir = 1;
  } else {
    const NReal e = EthaMeteo(direccion);
    if (std::isnan(e)) throw Excepcion(Nombre() + ": corrección de la estación no válida");
    etha_meteo_dir = e < 0.1 ? 0.1 : e;
  }
  // 3. the grid is laid along the direction the wind blows to.
  const NReal phi = (direccion + 180) * 2 * std::numbers::pi / 360;
  cos_dir = std::cos(phi);
  sin_dir = std::sin(phi);
  // 4.-5. the station, at offset (0, 0), is always inside.
  xr_min = xr_max = yr_min = yr_max = 0;
  for (auto& m : molinos) {
    TPosicion& p = m->posicion;
    p.xr = cos_dir * p.dx - sin_dir * p.dy;
    p.yr = sin_dir * p.dx + cos_dir * p.dy;
    if (p.xr < xr_min) {
      xr_min = p.xr;
    } else if (p.xr > xr_max) {
      xr_max = p.xr;
    }
    if (p.yr < yr_min) {
      yr_min = p.yr;
    } else if (p.yr > yr_max) {
      yr_max = p.yr;
    }
  }
  // 6. half the margin along the wind.
  xr_min -= margen;
  xr_max += margen;
  yr_min -= 0.5 * margen;
  yr_max += 0.5 * margen;
  // 7. cells never larger than requested.
  const NReal cx = (xr_max - xr_min) / gdx + 0.999;
  const NReal cy = (yr_max - yr_min) / gdy + 0.999;
  if (!((cx + 1) * (cy + 1) <= MaxCeldasGrilla)) {
    throw Excepcion(Nombre() + ": la grilla de " + RealAGeneral(std::trunc(cx)) + " x " +
                    RealAGeneral(std::trunc(cy)) + " celdas es demasiado grande");
  }
  // A cell wider than the whole extent still leaves one cell.
  const int nx = std::max(1, TruncToInt(cx));
  const int ny = std::max(1, TruncToInt(cy));
  celda_dx = (xr_max - xr_min) / nx;
  celda_dy = (yr_max - yr_min) / ny;
  // 8.
  m_lateral = 0.5 * (1 - std::exp(-alfa_terreno * celda_dy / celda_dx));
  m_central = 1 - 2 * m_lateral;
  r_retorno = 1 - std::exp(-gamma_atmosfera * celda_dy / 500);
  r_conserva = 1 - r_retorno;
  // 9. the grid is allocated here only, never per simulation.
  grilla.reset();
  grilla = std::make_unique<TMatR>(ny + 1, nx + 1);
  // 10. nearest cell, ties to even; columns kept inside the grid.
  const int filas = ny + 1;
  const int columnas = nx + 1;
  for (auto& m : molinos) {
    TPosicion& p = m->posicion;
    const NReal radio = m->curva->diametro / 2;
    p.fila = std::clamp(NintToInt((p.yr - yr_min) / celda_dy) + 1, 1, filas);
    p.col_ini = std::clamp(NintToInt((p.xr - radio - xr_min) / celda_dx) + 1, 1, columnas);
    p.col_fin = std::clamp(NintToInt((p.xr + radio - xr_min) / celda_dx) + 1, 1, columnas);
  }
}

TDAOfNRealPtr TParque_ModeloTeorico::ParametrosCalibrables() {
  TDAOfNRealPtr r;
  r.reserve(static_cast<std::size_t>(meteo_etha.n()) + 1);
  for (int k = 1; k <= meteo_etha.n(); ++k) r.push_back(&meteo_etha.referencia(k));
  r.push_back(&factor_perdidas);
  return r;
}
