#include "fddp.h"

#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include "math01.h"
#include "numtext.h"

namespace {

// -|s| without overflow: the most negative seed is its own negative.
std::int32_t MenosAbsoluto(std::int32_t s) {
  if (s == std::numeric_limits<std::int32_t>::min()) return s;
  return s < 0 ? s : -s;
}

NReal Acotar01(NReal x) {
  if (x < 0.0) return 0.0;
  if (x >= 1.0) return 1.0;
  return x;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Tf_ddp

Tf_ddp::Tf_ddp(std::int32_t s, NReal area_max_, NReal x_max_, NReal area_min_, NReal x_min_)
    : semilla(MenosAbsoluto(s)),
      area_min(area_min_),
      x_min(x_min_),
      area_max(area_max_),
      x_max(x_max_),
      area_acum(area_min_),
      x_ult(x_min_) {}

NReal Tf_ddp::densidad(NReal /*x*/) { return 0.0; }

NReal Tf_ddp::distribucion(NReal x) { return distribucion_incremental(x); }

NReal Tf_ddp::distribucion_integral(NReal x) {
  // Ten levels rarely meet the machine epsilon; the last extrapolation is then the best value.
  bool ok = false;
  return area_min +
         RombergEstimacion([this](NReal t) { return densidad(t); }, ok, MachEps, x, x_min);
}

NReal Tf_ddp::distribucion_incremental(NReal x) {
  const TFuncionReal f = [this](NReal t) { return densidad(t); };
  bool ok = false;
  const auto integral = [&](NReal desde, NReal hasta) {
    return RombergEstimacion(f, ok, 1e-4, hasta, desde);
  };
  // Without a positive step the walk would never advance: integrate in one piece.
  if (paso > 0.0) {
    while (x_ult - paso > x) {
      area_acum += integral(x_ult, x_ult - paso);
      x_ult -= paso;
    }
    while (x_ult + paso < x) {
      area_acum += integral(x_ult, x_ult + paso);
      x_ult += paso;
    }
  }
  area_acum += integral(x_ult, x);
  x_ult = x;
  return area_acum;
}

NReal Tf_ddp::inversa(NReal area) {
  if (area <= area_min) return x_min;
  if (area >= area_max) return x_max;
  area_objetivo = area;
  NReal raiz = 0.0;
  bool ok = false;
  std::int16_t iteraciones = 0;
  NReal fx = 0.0;
  ResolverFxCero([this](NReal t) { return distribucion(t) - area_objetivo; }, 1000, raiz, ok,
                 iteraciones, fx, 1e-4, x_max, x_min);
  if (!ok) throw Excepcion(" Problema de convergencia , area: " + RealAGeneral(area));
  return raiz;
}

NReal Tf_ddp::sortear() {
  if (madre_ == nullptr) throw Excepcion("Tf_ddp.sortear: no hay generador uniforme");
  return inversa(madre_->sortear());
}

void Tf_ddp::fijar_semilla(std::int32_t s) { semilla = MenosAbsoluto(s); }

void Tf_ddp::fijar_madre(std::unique_ptr<Tf_ddp> madre) {
  madre_propia_ = std::move(madre);
  madre_ = madre_propia_.get();
}

void Tf_ddp::fijar_madre(Tf_ddp& madre) {
  madre_propia_.reset();
  madre_ = &madre;
}

// ---------------------------------------------------------------------------------------------
// TMadreUniforme

TMadreUniforme::TMadreUniforme(std::int32_t s) : Tf_ddp(s, 1.0, 1.0, 0.0, 0.0) { fijar_semilla(s); }

NReal TMadreUniforme::densidad(NReal x) { return (0.0 <= x && x < 1.0) ? 1.0 : 0.0; }
NReal TMadreUniforme::distribucion(NReal x) { return Acotar01(x); }
NReal TMadreUniforme::distribucion_integral(NReal x) { return Acotar01(x); }
NReal TMadreUniforme::distribucion_incremental(NReal x) { return Acotar01(x); }
NReal TMadreUniforme::inversa(NReal area) { return Acotar01(area); }
void TMadreUniforme::fijar_semilla(std::int32_t s) { semilla = MenosAbsoluto(s); }

NReal TMadreUniforme::sortear() {
  constexpr std::int32_t kMBig = 1000000000;
  constexpr std::int32_t kMSeed = 161803398;
  // 1. a negative seed (re)initialises the table; a seed of 0 never does.
  if (semilla < 0) {
    std::int32_t mj = kMSeed + semilla;
    while (mj < 0) mj += kMBig;
    mj %= kMBig;
    ma[55] = mj;
    std::int32_t mk = 1;
    for (int i = 1; i <= 54; ++i) {
      const auto ii = static_cast<std::size_t>((21 * i) % 55);
      ma[ii] = mk;
      mk = mj - mk;
      if (mk < 0) mk += kMBig;
      mj = ma[ii];
    }
    for (int vuelta = 1; vuelta <= 4; ++vuelta) {
      for (std::size_t i = 1; i <= 55; ++i) {
        ma[i] -= ma[1 + (i + 30) % 55];
        if (ma[i] < 0) ma[i] += kMBig;
      }
    }
    inext = 0;
    inextp = 31;
    semilla = semilla == std::numeric_limits<std::int32_t>::min()
                  ? std::numeric_limits<std::int32_t>::max()
                  : -semilla;
  }
  // 2. one subtraction per draw.
  if (++inext == 56) inext = 1;
  if (++inextp == 56) inextp = 1;
  std::int32_t mj = ma[static_cast<std::size_t>(inext)] - ma[static_cast<std::size_t>(inextp)];
  if (mj < 0) mj += kMBig;
  ma[static_cast<std::size_t>(inext)] = mj;
  // The quotient is the correctly rounded multiple of 1e-9 (a product by 1e-9 is not).
  return mj / 1e9;
}
