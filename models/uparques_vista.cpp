#include <cmath>
#include <limits>

#include "uparques_modeloteorico.h"

namespace {

// The station and the turbines get this much room around them on the map (m).
constexpr NReal kMargenVista = 300;

}  // namespace

void TParque_ModeloTeorico::AjustarVista(std::int32_t izq, std::int32_t arr, std::int32_t der,
                                         std::int32_t aba) {
  TVista& v = vista;
  // 1.
  v.px_izq = izq;
  v.px_arr = arr;
  v.px_der = der;
  v.px_aba = aba;
  v.ancho_px = der - izq;
  v.alto_px = aba - arr;
  // 2. the station, at (0, 0), is always inside.
  v.x_min = v.x_max = v.y_min = v.y_max = 0;
  for (const auto& m : molinos) {
    const TPosicion& p = m->posicion;
    if (p.dx < v.x_min) {
      v.x_min = p.dx;
    } else if (p.dx > v.x_max) {
      v.x_max = p.dx;
    }
    if (p.dy < v.y_min) {
      v.y_min = p.dy;
    } else if (p.dy > v.y_max) {
      v.y_max = p.dy;
    }
  }
  // 3.
  v.x_min -= kMargenVista;
  v.x_max += kMargenVista;
  v.y_min -= kMargenVista;
  v.y_max += kMargenVista;
  v.ancho_m = v.x_max - v.x_min;
  v.alto_m = v.y_max - v.y_min;
  // An empty rectangle has no scale to equalise.
  if (VistaVacia()) return;
  // 4. equal scales: the short side of the world window grows, evenly on both ends.
  const NReal ancho_px = v.ancho_px;
  const NReal alto_px = v.alto_px;
  if (alto_px / v.alto_m >= ancho_px / v.ancho_m) {
    const NReal e = (v.ancho_m / ancho_px * alto_px - v.alto_m) * 0.5;
    v.y_min -= e;
    v.y_max += e;
    v.alto_m = v.y_max - v.y_min;
  } else {
    const NReal e = (v.alto_m / alto_px * ancho_px - v.ancho_m) * 0.5;
    v.x_min -= e;
    v.x_max += e;
    v.ancho_m = v.x_max - v.x_min;
  }
}

void TParque_ModeloTeorico::MundoAPixel(NReal x, NReal y, std::int32_t& px,
                                        std::int32_t& py) const {
  const TVista& v = vista;
  px = v.px_izq + NintToInt(v.ancho_px / v.ancho_m * (x - v.x_min));
  // North is up.
  py = v.px_aba - NintToInt(v.alto_px / v.alto_m * (y - v.y_min));
}

void TParque_ModeloTeorico::PixelAMundo(std::int32_t px, std::int32_t py, NReal& x,
                                        NReal& y) const {
  const TVista& v = vista;
  x = v.ancho_m / v.ancho_px * (px - v.px_izq) + v.x_min;
  y = v.alto_m / v.alto_px * (v.px_aba - py) + v.y_min;
}

TMolino* TParque_ModeloTeorico::MolinoCercano(std::int32_t px, std::int32_t py) const {
  if (VistaVacia()) return nullptr;
  NReal x = 0;
  NReal y = 0;
  PixelAMundo(px, py, x, y);
  TMolino* cercano = nullptr;
  NReal distancia = std::numeric_limits<NReal>::infinity();
  for (const auto& m : molinos) {
    const NReal d = Norma2D(x - m->posicion.dx, y - m->posicion.dy);
    // Strictly smaller: the first of equals stays.
    if (d < distancia) {
      distancia = d;
      cercano = m.get();
    }
  }
  if (cercano == nullptr || distancia > 3 * cercano->curva->diametro) return nullptr;
  return cercano;
}

NReal TParque_ModeloTeorico::PV3EnPixel(std::int32_t px, std::int32_t py) const {
  NReal x = 0;
  NReal y = 0;
  PixelAMundo(px, py, x, y);
  return PV3EnPunto(x, y);
}
