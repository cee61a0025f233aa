#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ayuda_empirico.h"
#include "carpetas.h"
#include "matreal.h"
#include "ucurvasaeros.h"
#include "uparques_modeloteorico.h"

namespace ayuda {

// The pieces of a text between the separators (a trailing separator leaves an empty last piece).
inline std::vector<std::string> Partir(const std::string& texto, const std::string& sep) {
  std::vector<std::string> r;
  std::size_t desde = 0;
  for (std::size_t p = texto.find(sep); p != std::string::npos; p = texto.find(sep, desde)) {
    r.push_back(texto.substr(desde, p - desde));
    desde = p + sep.size();
  }
  r.push_back(texto.substr(desde));
  return r;
}

// The empirical block of a calibrator file for 72 sectors and 10 bins centred on the pv3 of
// 4..13 m/s: `cnt` samples and power `F0` in every bin of every sector, flat bin lines, and
// S curves of slope `alfa` centred on `vm` m/s.
struct TEmpiricoPrueba {
  TMatR cnt{72, 10};
  TMatR F0{72, 10};
  NReal alfa = 0.8, vm = 9;

  [[nodiscard]] std::string Texto() const {
    const int NS = cnt.n_filas(), NB = cnt.n_columnas();
    TVectR bordes(NB + 1), medio(NB), alfas(NS), vms(NS);
    for (int b = 1; b <= NB + 1; ++b) bordes.poner(b, PV3(2.5 + b, 1.225));
    for (int b = 1; b <= NB; ++b) medio.poner(b, PV3(3.0 + b, 1.225));
    for (int s = 1; s <= NS; ++s) {
      alfas.poner(s, alfa);
      vms.poner(s, vm);
    }
    const TMatR ceros(NS, NB);
    std::ostringstream o;
    bordes.guardar(o);
    cnt.guardar(o);
    ceros.guardar(o);
    ceros.guardar(o);
    medio.guardar(o);
    F0.guardar(o);
    alfas.guardar(o);
    vms.guardar(o);
    return o.str();
  }
};

// The row of n turbines on a coarse grid (20 m across the wind, 10 m along it): the calibration
// procedures run it thousands of times.
inline std::unique_ptr<TParque_ModeloTeorico> ParqueGrueso(int n, double potencia_autorizada) {
  auto p = Parque(n, potencia_autorizada);
  p->grilla_rotada_dx = 20;
  p->grilla_rotada_dy = 10;
  return p;
}

inline std::string TextoCalibrador(const TParque_ModeloTeorico& mt, const TEmpiricoPrueba& e) {
  std::ostringstream o;
  mt.EscribirTexto(o);
  return o.str() + e.Texto();
}

inline void EscribirArchivo(const std::filesystem::path& ruta, const std::string& texto) {
  std::ofstream f(ruta, std::ios::binary);
  f << texto;
}

inline std::string LeerArchivo(const std::filesystem::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::ostringstream o;
  o << f.rdbuf();
  return o.str();
}

// Working and diagnostic folders of one test, removed at its end.
class CarpetasPrueba {
 public:
  explicit CarpetasPrueba(const std::string& nombre) : dir(CarpetaTemporal(nombre)) {
    FijarCarpetaRaiz((dir / "raiz").generic_string());
    std::filesystem::create_directories(dir / "raiz");
    FijarCarpetaBasura((dir / "basura").generic_string());
  }
  ~CarpetasPrueba() { std::filesystem::remove_all(dir); }
  CarpetasPrueba(const CarpetasPrueba&) = delete;
  CarpetasPrueba& operator=(const CarpetasPrueba&) = delete;
  [[nodiscard]] std::filesystem::path Basura() const { return dir / "basura"; }
  std::filesystem::path dir;
};

}  // namespace ayuda
