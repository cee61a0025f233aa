#include "uparquesreferencia.h"

#include <utility>
#include <vector>

std::unique_ptr<TCurvaAerogen> CurvaReferencia2MW(NReal diametro, const std::string& modelo) {
  return std::make_unique<TCurvaAerogen>(
      1, modelo, diametro, TDAofNReal{3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                      15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
      TDAofNReal{0,     0.066, 0.154, 0.282, 0.46, 0.696, 0.996, 1.341, 1.661, 1.866, 1.958, 1.988,
                 1.997, 2,     2,     2,     2,    2,     2,     2,     2,     2,     2});
}

std::unique_ptr<TParque_ModeloTeorico> ParqueEnRejilla(const std::string& nombre, int filas,
                                                       int por_fila, std::int32_t nid_central) {
  constexpr double kEspacio = 560;
  std::vector<std::unique_ptr<TMolino>> molinos;
  int nid = 1;
  for (int i = 0; i < filas; ++i) {
    for (int j = 0; j < por_fila; ++j) {
      const TPosicion pos((i - 0.5 * (filas - 1)) * kEspacio,
                          (j - 0.5 * (por_fila - 1)) * kEspacio);
      molinos.push_back(
          std::make_unique<TMolino>(nid, nid, 1, nid_central, CurvaReferencia2MW(), 1.0, pos));
      ++nid;
    }
  }
  auto p = TParque_ModeloTeorico::Crear(nombre, std::move(molinos), 2.0 * filas * por_fila);
  p->nid_central = nid_central;
  return p;
}

std::unique_ptr<TParque_ModeloTeorico> ParqueEnFilasDeCinco(const std::string& nombre, int n,
                                                            NReal potencia_autorizada,
                                                            std::int32_t nid_central) {
  std::vector<std::unique_ptr<TMolino>> molinos;
  for (int i = 0; i < n; ++i) {
    const TPosicion pos(1000 + (i / 5) * 560.0, (i % 5 - 2) * 560.0);
    molinos.push_back(
        std::make_unique<TMolino>(i + 1, i + 1, 1, nid_central, CurvaReferencia2MW(), 1.0, pos));
  }
  auto p = TParque_ModeloTeorico::Crear(nombre, std::move(molinos), potencia_autorizada);
  p->nid_central = nid_central;
  return p;
}
