#include "uparquedemo.h"

#include <utility>
#include <vector>

namespace {

constexpr std::int32_t kCentralDemo = 1;
constexpr std::int32_t kHuso = 21;
constexpr char kZona = 'H';
constexpr NReal kEsteEstacion = 600000;
constexpr NReal kNorteEstacion = 6200000;

std::unique_ptr<TCurvaAerogen> Curva2MW() {
  return std::make_unique<TCurvaAerogen>(
      1, "Demo 2 MW 80 m", 80, TDAofNReal{3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                          15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
      TDAofNReal{0,     0.066, 0.154, 0.282, 0.46, 0.696, 0.996, 1.341, 1.661, 1.866, 1.958, 1.988,
                 1.997, 2,     2,     2,     2,    2,     2,     2,     2,     2,     2});
}

}  // namespace

std::unique_ptr<TParque_ModeloTeorico> CrearParqueDemo() {
  const NReal este[] = {500, 1100};
  const NReal norte[] = {-480, -160, 160, 480};
  std::vector<std::unique_ptr<TMolino>> molinos;
  std::int32_t nro = 1;
  for (const NReal dx : este) {
    for (const NReal dy : norte) {
      molinos.push_back(std::make_unique<TMolino>(
          nro, nro, 1, kCentralDemo, Curva2MW(), 1.0,
          TPosicion(kHuso, kZona, kEsteEstacion + dx, kNorteEstacion + dy)));
      ++nro;
    }
  }
  auto p = TParque_ModeloTeorico::Crear("Parque demostración", std::move(molinos), 15);
  p->nid_central = kCentralDemo;
  p->meteo_utm_huso = kHuso;
  p->meteo_utm_zona = kZona;
  p->meteo_utm_xe = kEsteEstacion;
  p->meteo_utm_yn = kNorteEstacion;
  p->potencia_nominal = 16;
  p->CalcularPosicionesRelativas();
  p->PrepararDerivados();
  return p;
}
