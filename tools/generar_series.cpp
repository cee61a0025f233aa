// Writes a ".sas" file of 10-minute series for a farm of 2 MW turbines and a seeded synthetic
// wind climate, for trying the empirical model and for the demo.
//
//   veltra_generar_series SALIDA [--semilla N] [--muestras N] [--inicio AAAA-MM-DD]
//                         [--molinos N] [--potencia MW] [--pmt MODELO.pmt] [--ruido PU]
//                         [--huecos] [--trabados] [--disponibilidad] [--consignas]
#include <cstdint>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "numtext.h"
#include "ugeneradorseries.h"
#include "uparques_modeloteorico.h"
#include "uparquesreferencia.h"

namespace {

int Uso() {
  std::cerr << "uso: veltra_generar_series SALIDA [--semilla N] [--muestras N] "
               "[--inicio AAAA-MM-DD] [--molinos N] [--potencia MW] [--pmt ARCHIVO] [--ruido PU] "
               "[--huecos] "
               "[--trabados] [--disponibilidad] [--consignas]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::vector<std::string> a(argv + 1, argv + argc);
    TOpcionesGenerador o;
    std::string salida;
    int molinos = 10;
    NReal potencia = -1;
    std::string pmt;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const std::string& x = a[i];
      auto valor = [&]() -> const std::string& {
        if (i + 1 >= a.size()) throw Excepcion("falta el valor de " + x);
        return a[++i];
      };
      if (x == "--semilla") {
        o.semilla = static_cast<std::uint64_t>(TextoAEntero(valor()));
      } else if (x == "--muestras") {
        o.n_muestras = TextoAEntero(valor());
      } else if (x == "--inicio") {
        const std::string& f = valor();
        if (f.size() != 10) throw Excepcion("fecha no válida: " + f);
        o.anio = TextoAEntero(f.substr(0, 4));
        o.mes = TextoAEntero(f.substr(5, 2));
        o.dia = TextoAEntero(f.substr(8, 2));
      } else if (x == "--molinos") {
        molinos = TextoAEntero(valor());
      } else if (x == "--potencia") {
        potencia = TextoARealArchivo(valor());
      } else if (x == "--pmt") {
        pmt = valor();
      } else if (x == "--ruido") {
        o.ruido = TextoARealArchivo(valor());
      } else if (x == "--huecos") {
        o.huecos = true;
      } else if (x == "--trabados") {
        o.trabados = true;
      } else if (x == "--disponibilidad") {
        o.disponibilidad = true;
      } else if (x == "--consignas") {
        o.consignas = true;
      } else if (!x.empty() && x[0] != '-' && salida.empty()) {
        salida = x;
      } else {
        return Uso();
      }
    }
    if (salida.empty() || molinos < 1 || o.n_muestras < 0) return Uso();
    // A farm's own model file, or the synthetic rows of 2 MW turbines.
    auto modelo = pmt.empty() ? ParqueEnFilasDeCinco("Sintetico", molinos,
                                                     potencia > 0 ? potencia : 2.0 * molinos, 1)
                              : TParque_ModeloTeorico::CrearDesdeArchivo(pmt);
    const TTablaPotencia tabla(*modelo);
    GenerarSeries(tabla, *modelo, o, salida);
    std::cout << "Escrito " << salida << ": " << o.n_muestras << " muestras\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
}
