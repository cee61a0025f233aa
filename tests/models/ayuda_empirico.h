#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "uparques_modeloteorico.h"
#include "uparquesreferencia.h"

namespace ayuda {

// A row of n turbines 560 m apart running north from 1 km east of the station.
inline std::unique_ptr<TParque_ModeloTeorico> Parque(int n, double potencia_autorizada,
                                                     int nid_central = 8) {
  std::vector<std::unique_ptr<TMolino>> molinos;
  for (int i = 1; i <= n; ++i) {
    molinos.push_back(std::make_unique<TMolino>(i, i, 1, nid_central, CurvaReferencia2MW(), 1.0,
                                                TPosicion(1000, (i - 1) * 560.0)));
  }
  auto p = TParque_ModeloTeorico::Crear("Prueba", std::move(molinos), potencia_autorizada);
  p->nid_central = nid_central;
  return p;
}

// A fresh folder of this process under the system's temporary folder.
inline std::filesystem::path CarpetaTemporal(const std::string& nombre) {
  const std::filesystem::path p = std::filesystem::temp_directory_path() /
                                  ("veltra_empirico_" + nombre + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(p);
  std::filesystem::create_directories(p);
  return p;
}

}  // namespace ayuda
