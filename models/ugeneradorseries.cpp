#include "ugeneradorseries.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "formatos.h"
#include "numtext.h"
#include "ucurvasaeros.h"
#include "uparques_modeloteorico.h"
#include "usalidatexto.h"

TTablaPotencia::TTablaPotencia(TParque_ModeloTeorico& modelo, int n_direcciones,
                               NReal paso_velocidad)
    : nd_(std::max(1, n_direcciones)),
      paso_(paso_velocidad > 0 ? paso_velocidad : 0.5),
      nv_(TruncToInt(VelocidadMaxima / paso_ + 1e-9) + 1),
      p_(static_cast<std::size_t>(nd_) * static_cast<std::size_t>(nv_), 0.0) {
  const bool sin_etha = modelo.meteo_etha.n() < 1;
  for (int d = 0; d < nd_; ++d) {
    modelo.PrepararDireccion(360.0 * d / nd_, sin_etha);
    for (int i = 1; i < nv_; ++i) {
      bool convergido = false;
      NReal pv3_simulado = 0;
      NReal pv3_libre = 0;
      const NReal P = modelo.SimularDesdeAnemometro(
          modelo.potencia_autorizada_mw, PV3(i * paso_, DensidadEstandar), DensidadEstandar,
          convergido, pv3_simulado, pv3_libre);
      p_[static_cast<std::size_t>(d * nv_ + i)] = P;
    }
  }
}

NReal TTablaPotencia::Potencia(NReal direccion, NReal velocidad) const {
  if (!(velocidad > 0)) return 0;
  NReal x = std::fmod(direccion, 360.0);
  if (x < 0) x += 360;
  x = x / (360.0 / nd_);
  const int d1 = std::min(static_cast<int>(x), nd_ - 1);
  const int d2 = (d1 + 1) % nd_;
  const NReal wd = x - d1;
  auto P = [&](int d, int v) { return p_[static_cast<std::size_t>(d * nv_ + v)]; };
  const NReal y = velocidad / paso_;
  if (y >= nv_ - 1) return P(d1, nv_ - 1) * (1 - wd) + P(d2, nv_ - 1) * wd;
  const int v1 = static_cast<int>(y);
  const NReal wv = y - v1;
  const NReal a = P(d1, v1) * (1 - wv) + P(d1, v1 + 1) * wv;
  const NReal b = P(d2, v1) * (1 - wv) + P(d2, v1 + 1) * wv;
  return a * (1 - wd) + b * wd;
}

namespace {

// Seeded draws that give the same values with every standard library.
class TAzar {
 public:
  explicit TAzar(std::uint64_t semilla) : g_(semilla) {}
  // Uniform in [0, 1).
  NReal U() { return static_cast<NReal>(g_() >> 11) * 0x1.0p-53; }
  // Standard normal (Box-Muller).
  NReal N() {
    const NReal u1 = 1 - U();
    const NReal u2 = U();
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
  }
  // Integer in [a, b].
  int Entre(int a, int b) { return a + static_cast<int>(U() * (b - a + 1)); }

 private:
  std::mt19937_64 g_;
};

// Signed angle from a to b in (-180, 180].
NReal DiferenciaAngular(NReal a, NReal b) {
  NReal d = std::fmod(b - a, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  return d;
}

// A stretch of samples an event lasts, with its remaining count.
struct TEvento {
  int restantes = 0;
  NReal valor = 0;
};

}  // namespace

void GenerarSeries(const TTablaPotencia& tabla, const TParque_ModeloTeorico& modelo,
                   const TOpcionesGenerador& o, const std::string& archivo) {
  TAzar azar(o.semilla);
  const NReal PAut = modelo.potencia_autorizada_mw;
  const int N = std::max(1, modelo.n_molinos());
  const TFechaHora t0 = CodificarFecha(o.anio, o.mes, o.dia);
  const NReal dt = 1.0 / 144;

  TFormatosNeutros neutros;
  std::string t;
  t.reserve(static_cast<std::size_t>(o.n_muestras) * 80 + 256);
  t += "VERSION_FORMATO_SERIES 1\r\n9\r\n";
  t += IntATexto(o.anio) + " " + IntATexto(o.mes) + " " + IntATexto(o.dia) + " 0 0 0\r\n";
  t += "1/6\r\n" + IntATexto(o.n_muestras) + "\r\n144\r\n.........\r\n";
  t += "Vel Ang PE Temp Pre HumRel CGM fDisp PE_modelo\r\n";

  // Speed: a slowly varying Gaussian variable carried through the Weibull distribution.
  const NReal phi = 0.98;
  NReal z = azar.N();
  NReal dir = 360 * azar.U();
  NReal pre = 0;
  TEvento hueco, trabado, fuera, consigna;
  bool trabado_vel = true;
  NReal vel_trabada = 0, dir_trabada = 0;
  for (int k = 1; k <= o.n_muestras; ++k) {
    const TFechaHora tk = t0 + (k - 1) * dt;
    z = phi * z + std::sqrt(1 - phi * phi) * azar.N();
    const NReal u = std::clamp(0.5 * std::erfc(-z / std::numbers::sqrt2), 1e-12, 1 - 1e-12);
    const NReal vel = o.weibull_a * std::pow(-std::log(1 - u), 1 / o.weibull_k);
    // Direction: a random walk drawn gently towards a prevailing 250 degrees.
    dir = dir + 4 * azar.N() + 0.002 * DiferenciaAngular(dir, 250);
    dir = std::fmod(dir, 360.0);
    if (dir < 0) dir += 360;
    const NReal dia = tk - CodificarFecha(o.anio, 1, 1);
    const NReal hora = tk - std::floor(tk);
    const NReal temp = 15 + 8 * std::sin(2 * std::numbers::pi * (dia - 110) / 365) +
                       5 * std::sin(2 * std::numbers::pi * (hora - 0.375)) + 0.5 * azar.N();
    pre = 0.995 * pre + 0.8 * azar.N();
    const NReal presion = 1013 + pre;
    const NReal hum = std::clamp(70 - 2 * (temp - 15) + 5 * azar.N(), 5.0, 100.0);

    const NReal rho = DensidadAire(temp, presion, hum);
    const NReal v_std = VelocidadDePV3(PV3(vel, rho), DensidadEstandar);
    const NReal limpia = FactorDensidad(rho) * tabla.Potencia(dir, v_std);
    NReal pe = std::max(0.0, limpia + o.ruido * PAut * azar.N());
    NReal cgm = PAut;
    NReal fdisp = 1;
    NReal vel_medida = vel;
    NReal dir_medida = dir;

    if (o.disponibilidad) {
      if (fuera.restantes == 0 && azar.U() < 1.0 / 2000) {
        fuera.restantes = azar.Entre(6, 144);
        fuera.valor = static_cast<NReal>(N - azar.Entre(1, std::max(1, N / 2))) / N;
      }
      if (fuera.restantes > 0) {
        --fuera.restantes;
        fdisp = fuera.valor;
        pe *= fdisp;
      }
    }
    if (o.consignas) {
      if (consigna.restantes == 0 && azar.U() < 1.0 / 3000) {
        consigna.restantes = azar.Entre(6, 72);
        consigna.valor = PAut * (0.3 + 0.5 * azar.U());
      }
      if (consigna.restantes > 0) {
        --consigna.restantes;
        cgm = consigna.valor;
        pe = std::min(pe, cgm);
      }
    }
    if (o.trabados) {
      if (trabado.restantes == 0 && azar.U() < 1.0 / 3000) {
        trabado.restantes = azar.Entre(10, 60);
        trabado_vel = azar.U() < 0.5;
        vel_trabada = vel;
        dir_trabada = dir;
      }
      if (trabado.restantes > 0) {
        --trabado.restantes;
        if (trabado_vel) {
          vel_medida = vel_trabada;
        } else {
          dir_medida = dir_trabada;
        }
      }
    }
    bool falta = false;
    if (o.huecos) {
      if (hueco.restantes == 0 && azar.U() < 1.0 / 1500) hueco.restantes = azar.Entre(1, 12);
      if (hueco.restantes > 0) {
        --hueco.restantes;
        falta = true;
      }
    }

    t += IntATexto(k);
    const NReal valores[9] = {vel_medida, dir_medida, pe, temp, presion, hum, cgm, fdisp, limpia};
    for (const NReal x : valores) {
      t += ' ';
      t += falta ? std::string("-9999") : RealAFijo(x, 0, 4);
    }
    t += "\r\n";
  }
  EscribirTextoAtomico(archivo, t);
}
