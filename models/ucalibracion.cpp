// The calibration procedures of the calibrator: the random search over the station correction and
// the loss factor, and the tables that compare the two models.
#include <chrono>
#include <cmath>
#include <ostream>
#include <string>
#include <utility>

#include "carpetas.h"
#include "errores.h"
#include "fddp.h"
#include "numtext.h"
#include "ubloquestexto.h"
#include "ucalibrador.h"
#include "ucurvasaeros.h"

namespace {

// Puts back the terrain and atmosphere parameters of a model on every way out.
class TRestaurarMezcla {
 public:
  explicit TRestaurarMezcla(TParque_ModeloTeorico& m)
      : m_(m), alfa_(m.alfa_terreno), gamma_(m.gamma_atmosfera) {}
  ~TRestaurarMezcla() {
    m_.alfa_terreno = alfa_;
    m_.gamma_atmosfera = gamma_;
  }
  TRestaurarMezcla(const TRestaurarMezcla&) = delete;
  TRestaurarMezcla& operator=(const TRestaurarMezcla&) = delete;

 private:
  TParque_ModeloTeorico& m_;
  NReal alfa_, gamma_;
};

}  // namespace

void TCalibradorParque::SembrarAleatorio() {
  if (semilla_fija_) {
    generador_.seed(*semilla_fija_);
  } else {
    generador_.seed(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  }
  uniforme_.reset();
}

NReal TCalibradorParque::Uniforme() { return fuente_ ? fuente_() : uniforme_(generador_); }

void TCalibradorParque::Perturbar(const TDAofI& indices) {
  const auto perturbado = [&](std::size_t k) {
    // Left to right as written, then held in single precision; 0, below or NaN give 0.
    const NReal c = x_mejor[k] + (Uniforme() - 0.5) * 2 * 0.1 * amplitud;
    const float f = static_cast<float>(c);
    return f > 0 ? static_cast<NReal>(f) : 0.0;
  };
  if (indices.empty()) {
    x_prueba.resize(x_mejor.size());
    for (std::size_t k = 0; k < x_mejor.size(); ++k) x_prueba[k] = perturbado(k);
    return;
  }
  x_prueba = x_mejor;
  for (const std::int32_t i : indices) {
    if (i < 0 || static_cast<std::size_t>(i) >= x_mejor.size()) {
      throw Excepcion("Perturbar: el índice " + IntATexto(i) + " no es un parámetro (hay " +
                      IntATexto(std::ssize(x_mejor)) + ")");
    }
    x_prueba[static_cast<std::size_t>(i)] = perturbado(static_cast<std::size_t>(i));
  }
}

NReal TCalibradorParque::FuncionObjetivo(std::int32_t semilla, const TDAofNReal& x) {
  // 1.
  AplicarParametros(x);
  TParque_ModeloTeorico& mt = *modelo_teorico;
  NReal E = 0;
  TMadreUniforme U(semilla);
  // 2. one direction, then its five speeds, five times over: the same 25 points on every call.
  for (int i = 0; i < 5; ++i) {
    const NReal theta = 360 * U.sortear();
    mt.PrepararDireccion(theta, false);
    for (int j = 0; j < 5; ++j) {
      const NReal v = 12 * U.sortear() + 3;
      const NReal pv3 = PV3(v, DensidadEstandar);
      bool convergido = false;
      NReal pv3_meteo = 0, pv3_libre = 0;
      const NReal P_teo = mt.SimularDesdeAnemometro(
          mt.potencia_autorizada_mw, pv3, DensidadEstandar, convergido, pv3_meteo, pv3_libre);
      const NReal P_emp = modelo_empirico->PotenciaCurvaS(DensidadEstandar, pv3, theta);
      E = E + (P_emp - P_teo) * (P_emp - P_teo);
    }
  }
  return E;
}

NReal TCalibradorParque::Calibrar(const TDAofI& indices) {
  // 1.
  SembrarAleatorio();
  // 2.
  e_mejor = FuncionObjetivo(31, x_mejor);
  amplitud = 1.0;
  int reducciones = 0;
  int fallos = 0;
  int mejoras = 0;
  // 3.
  std::string sufijo;
  for (const std::int32_t i : indices) sufijo += IntAHex(static_cast<std::uint32_t>(i), 2);
  const std::string base = "calibrado_" + ComponenteNombreArchivo(modelo_teorico->nombre) + sufijo;
  // 4.
  while (reducciones < 10) {
    Salida() << IntATexto(reducciones, 6) << ", E:" << RealAFijo(amplitud, 6, 4)
             << ", fo: " << RealAFijo(e_mejor, 6, 4) << ", cntfs: " << IntATexto(fallos, 6) << "\n";
    Salida().flush();
    Perturbar(indices);
    e_prueba = FuncionObjetivo(31, x_prueba);
    if (e_prueba < e_mejor) {
      std::swap(x_mejor, x_prueba);
      e_mejor = e_prueba;
      ++mejoras;
      fallos = 0;
      GuardarEnArchivo(ArchivoBasura(base + IntATexto(mejoras) + ".clp"));
    } else {
      ++fallos;
    }
    if (fallos >= 10) {
      amplitud = amplitud * 0.7;
      fallos = 0;
      ++reducciones;
    }
  }
  // 5.
  AplicarParametros(x_mejor);
  return e_mejor;
}

TMatR TCalibradorParque::CalibrarEthaMeteoSimple() {
  TParque_ModeloTeorico& mt = *modelo_teorico;
  const TParque_ModeloEmpirico& me = *modelo_empirico;
  // 1.
  const std::string archivo =
      ArchivoEnCarpetaCentral(mt.nid_central, "EthaMeteoCalibracionSimple.txt");
  // 2.
  const NReal alfas[] = {0.05, 0.5, 5};
  const NReal gammas[] = {0.04, 0.4, 4};
  // 3.
  const int NS = me.NSectores();
  TMatR R(NS, 3 * 3 + 1);
  // 4. the labels in the number format in force; lines end with LF alone.
  std::string texto = "ang";
  for (const NReal a : alfas) {
    for (const NReal g : gammas) {
      texto += "\tethaM_alfa_";
      texto += RealAGeneral(a);
      texto += "_gamma_";
      texto += RealAGeneral(g);
    }
  }
  texto += "\n";
  // 5.
  {
    const TRestaurarMezcla restaurar(mt);
    for (int k = 1; k <= NS; ++k) {
      const NReal theta = me.AnguloSector(k);
      int columna = 1;
      for (const NReal a : alfas) {
        for (const NReal g : gammas) {
          mt.alfa_terreno = a;
          mt.gamma_atmosfera = g;
          mt.PrepararDireccion(theta, true);
          const NReal v_half = mt.VientoParaPotencia(0.5 * mt.curva_parque->P_max);
          // A zero speed has no ratio.
          const NReal ratio = v_half == 0 ? 0.0 : me.vm.elemento(k) / v_half;
          R.poner(k, 1, theta);
          R.poner(k, columna + 1, ratio);
          ++columna;
        }
      }
      for (int j = 1; j <= R.n_columnas(); ++j) {
        VerificarFinito(R.elemento(k, j));
        texto += RealANotacionArchivo(R.elemento(k, j));
        texto += '\t';
      }
      texto += "\n";
    }
  }
  // 6.
  GrabarArchivoSeguro(archivo, texto);
  return R;
}

void TCalibradorParque::EscribirComparacionCurvas(const std::string& nombre) const {
  const TParque_ModeloEmpirico& me = *modelo_empirico;
  const TParque_ModeloTeorico& mt = *modelo_teorico;
  // 1.
  std::string texto;
  for (int i = 0; i <= 40; ++i) {
    texto += '\t';
    texto += RealAFijo(0.5 * i, 12, 3);
  }
  texto += "\r\n";
  // 2.
  for (int r = 1; r <= me.NSectores(); ++r) {
    const NReal theta = me.AnguloSector(r);
    texto += RealANotacionArchivo(theta);
    for (int i = 0; i <= 40; ++i) {
      NReal peso = 0;
      const NReal P =
          me.PotenciaBinada(DensidadEstandar, PV3(0.5 * i, DensidadEstandar), theta, peso);
      VerificarFinito(P);
      texto += '\t';
      texto += RealANotacionArchivo(P);
    }
    texto += "\r\n";
  }
  // 3. the first turbine's curve read straight at pv3, without its range check.
  texto += "A0";
  if (mt.molinos.empty()) throw Excepcion("El modelo " + mt.nombre + " no tiene molinos");
  const TCurvaAerogen& curva = *mt.molinos.front()->curva;
  const NReal N = static_cast<NReal>(mt.molinos.size());
  for (int i = 0; i <= 40; ++i) {
    const NReal pv3 = PV3(0.5 * i, DensidadEstandar);
    const NReal P = curva.curva_P.interpol(curva.pv3.inv_interpol(pv3));
    VerificarFinito(P * N);
    texto += '\t';
    texto += RealANotacionArchivo(P * N);
  }
  texto += "\r\n";
  GrabarArchivoSeguro(nombre, texto);
}
