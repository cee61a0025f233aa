#include "matreal.h"

#include <cmath>
#include <utility>

// ---------------------------------------------------------------------------------------------
// TVectR

TVectR::TVectR(int n) : n_(n < 0 ? 0 : n), v_(static_cast<std::size_t>(n_) + 1, 0.0) {}

TVectR::TVectR(const TDAofNReal& valores)
    : n_(static_cast<int>(valores.size())), v_(valores.size() + 1, 0.0) {
  for (std::size_t k = 0; k < valores.size(); ++k) v_[k + 1] = valores[k];
}

void TVectR::ceros() {
  for (NReal& x : v_) x = 0.0;
}

void TVectR::redimensionar(int m) {
  if (m < 0) m = 0;
  v_.resize(static_cast<std::size_t>(m) + 1, 0.0);
  n_ = m;
}

TDAofNReal TVectR::copiar_rango(int desde, int hasta) const {
  if (hasta < desde) hasta = n_;
  TDAofNReal res;
  if (hasta < desde) return res;
  res.reserve(static_cast<std::size_t>(hasta - desde) + 1);
  for (int k = desde; k <= hasta; ++k) res.push_back(elemento(k));
  return res;
}

NReal TVectR::suma_rango(int desde, int hasta) const {
  NReal s = 0.0;
  for (int k = desde; k <= hasta; ++k) s += elemento(k);
  return s;
}

NReal TVectR::maximo() const {
  NReal m = elemento(1);
  for (int k = 2; k <= n_; ++k) {
    if (elemento(k) > m) m = elemento(k);
  }
  return m;
}

void TVectR::min_max(NReal& min, int& kmin, NReal& max, int& kmax) const {
  min = elemento(1);
  max = min;
  kmin = 1;
  kmax = 1;
  for (int k = 2; k <= n_; ++k) {
    const NReal x = elemento(k);
    if (x < min) {
      min = x;
      kmin = k;
    } else if (x > max) {
      max = x;
      kmax = k;
    }
  }
}

NReal TVectR::norma2_cuadrado() const {
  NReal s = 0.0;
  for (int k = 1; k <= n_; ++k) s += elemento(k) * elemento(k);
  return s;
}

NReal TVectR::norma2() const { return std::sqrt(norma2_cuadrado()); }

void TVectR::escalar_rango(int desde, NReal f) {
  for (int k = desde; k <= n_; ++k) v_[pos(k)] *= f;
}

void TVectR::sumar_multiplo(const TVectR& otro, int desde, NReal f, int hasta) {
  for (int k = desde; k <= hasta; ++k) v_[pos(k)] += f * otro.elemento(k);
}

void TVectR::sumar(const TVectR& a, const TVectR& b) {
  for (int k = 1; k <= n_; ++k) v_[pos(k)] = a.elemento(k) + b.elemento(k);
}

TVectR TVectR::producto_elementos(const TVectR& otro) const {
  TVectR res(n_);
  for (int k = 1; k <= n_; ++k) res.poner(k, elemento(k) * otro.elemento(k));
  return res;
}

NReal TVectR::serie_fourier(NReal x) const {
  const int m = (n_ - 1) / 2;
  NReal s = elemento(1);
  for (int h = 1; h <= m; ++h) {
    const NReal hx = h * x;
    s += elemento(h + 1) * std::cos(hx) + elemento(h + 1 + m) * std::sin(hx);
  }
  return s;
}

NReal TVectR::interpol(NReal x) const {
  // The index is truncated toward zero; anything outside 1..n-1 takes the nearest end element,
  // NaN included (it compares false with every bound).
  if (!(x >= 1.0)) return elemento(1);
  if (!(x < static_cast<NReal>(n_))) return elemento(n_);
  const int k = TruncToInt(x);
  return elemento(k) + (x - k) * (elemento(k + 1) - elemento(k));
}

NReal TVectR::inv_interpol(NReal y) const {
  // 1.-2. no segment to interpolate on.
  if (n_ == 0) return -1.0;
  if (n_ == 1) {
    if (y < elemento(1)) return -1.0;
    if (y == elemento(1)) return 0.0;
    return 1.0;
  }
  // 3. first element >= y among 2..n-1, else the last segment.
  int i = 2;
  while (i < n_ && !(elemento(i) >= y)) ++i;
  const NReal anterior = elemento(i - 1);
  const NReal d = elemento(i) - anterior;
  // 4. linear, not clamped: below 1 or beyond n extends the end segments.
  if (std::fabs(d) > MachEps) return (i - 1) + (y - anterior) / d;
  // 5. on a flat segment at its own level.
  if (std::fabs(y - anterior) <= MachEps) return i - 0.5;
  // 6. a flat segment strictly inside the range cannot reach y.
  if (elemento(1) < y && y < elemento(n_)) {
    throw Excepcion("TVectR.inv_interpol ... ERROR... Imposible!");
  }
  // 7. beyond an end on a flat segment: the position of the nearest end.
  return y <= elemento(1) ? 1.0 : static_cast<NReal>(n_);
}

NReal TVectR::AproximacionLineal(const TVectR& xs, NReal xmin, NReal xmax, NReal& a, NReal& b,
                                 int& cuenta) const {
  // 1. points inside [xmin, xmax).
  NReal sx2 = 0.0;
  NReal sy2 = 0.0;
  NReal sx = 0.0;
  NReal sxy = 0.0;
  NReal sy = 0.0;
  cuenta = 0;
  for (int k = 1; k <= n_; ++k) {
    const NReal x = xs.elemento(k);
    if (xmin <= x && x < xmax) {
      const NReal y = elemento(k);
      sx2 += x * x;
      sy2 += y * y;
      sx += x;
      sxy += x * y;
      sy += y;
      ++cuenta;
    }
  }
  // 2. empty window.
  if (cuenta == 0) {
    a = 0.0;
    b = 0.0;
    return -1.0;
  }
  // 3. means.
  const NReal c = cuenta;
  const NReal mx2 = sx2 / c;
  const NReal my2 = sy2 / c;
  const NReal mx = sx / c;
  const NReal mxy = sxy / c;
  const NReal my = sy / c;
  // 4. normal equations.
  TMatR A(2, 2);
  A.poner(1, 1, mx2);
  A.poner(1, 2, mx);
  A.poner(2, 1, mx);
  A.poner(2, 2, 1.0);
  TMatR B(2, 1);
  B.poner(1, 1, mxy);
  B.poner(2, 1, my);
  bool invertible = false;
  int exponente = 0;
  A.resolver_sistema(B, invertible, exponente);
  if (!invertible) throw Excepcion("TVectR.AproximacionLineal res= 0");
  a = B.elemento(1, 1);
  b = B.elemento(2, 1);
  // 5. mean squared residual.
  return my2 - (a * a * mx2 + 2.0 * a * b * mx + b * b);
}

void TVectR::ordenar(bool ascendente, TDAofNInt& idx) {
  assert(idx.size() > static_cast<std::size_t>(n_));
  if (n_ > 1) ordenar_rango(ascendente, idx, 1, n_);
}

void TVectR::ordenar_rango(bool ascendente, TDAofNInt& idx, int lo, int hi) {
  // Hoare partition around the middle element; the tie order of equal values is part of the
  // result (callers cut sorted samples at fixed positions), so the scheme must stay exactly this.
  // The two parts are disjoint, so sorting the smaller one first by recursion and the larger one
  // in this loop gives the same result with a stack depth of O(log n).
  while (lo < hi) {
    int i = lo;
    int j = hi;
    const NReal pivote = elemento((lo + hi) / 2);
    do {
      if (ascendente) {
        while (elemento(i) < pivote) ++i;
        while (pivote < elemento(j)) --j;
      } else {
        while (elemento(i) > pivote) ++i;
        while (pivote > elemento(j)) --j;
      }
      if (i <= j) {
        std::swap(v_[pos(i)], v_[pos(j)]);
        std::swap(idx[static_cast<std::size_t>(i)], idx[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      if (lo < j) ordenar_rango(ascendente, idx, lo, j);
      lo = i;
    } else {
      if (i < hi) ordenar_rango(ascendente, idx, i, hi);
      hi = j;
    }
  }
}

void TVectR::reordenar(const TDAofNInt& idx) {
  assert(idx.size() > static_cast<std::size_t>(n_));
  const std::vector<NReal> viejo = v_;
  for (int k = 1; k <= n_; ++k) {
    v_[pos(k)] = viejo[pos(idx[static_cast<std::size_t>(k)])];
  }
}

void TVectR::reordenar_inverso(const TDAofNInt& idx) {
  assert(idx.size() > static_cast<std::size_t>(n_));
  const std::vector<NReal> viejo = v_;
  for (int k = 1; k <= n_; ++k) {
    v_[pos(idx[static_cast<std::size_t>(k)])] = viejo[pos(k)];
  }
}

// ---------------------------------------------------------------------------------------------
// TMatR

TMatR::TMatR(int n_filas, int n_columnas)
    : n_filas_(n_filas < 0 ? 0 : n_filas), n_columnas_(n_columnas < 0 ? 0 : n_columnas) {
  filas_.reserve(static_cast<std::size_t>(n_filas_) + 1);
  filas_.emplace_back(0);
  for (int i = 1; i <= n_filas_; ++i) filas_.emplace_back(n_columnas_);
}

void TMatR::ceros() {
  for (TVectR& f : filas_) f.ceros();
}

void TMatR::intercambiar_filas(int i, int j) { std::swap(filas_[pos(i)], filas_[pos(j)]); }

NReal TMatR::maximo() const {
  NReal m = fila(1).maximo();
  for (int i = 2; i <= n_filas_; ++i) {
    const NReal x = fila(i).maximo();
    if (x > m) m = x;
  }
  return m;
}

void TMatR::escalar(NReal f) {
  for (int i = 1; i <= n_filas_; ++i) fila(i).escalar_rango(1, f);
}

void TMatR::producto_elementos(const TMatR& otra) {
  for (int i = 1; i <= n_filas_; ++i) {
    TVectR& f = fila(i);
    for (int j = 1; j <= f.n(); ++j) f.poner(j, f.elemento(j) * otra.elemento(i, j));
  }
}

NReal TMatR::suma_elementos() const {
  NReal s = 0.0;
  for (int i = 1; i <= n_filas_; ++i) s += fila(i).suma_rango(1, fila(i).n());
  return s;
}

void TMatR::sumar(const TMatR& a, const TMatR& b) {
  for (int i = 1; i <= n_filas_; ++i) fila(i).sumar(a.fila(i), b.fila(i));
}

namespace {

// Keeps the mantissa's magnitude within [0.001, 1000] by counting decimal shifts.
void NormalizarMantisa(NReal& mantisa, int& corrimientos_abajo, int& corrimientos_arriba) {
  // An infinite mantissa (a matrix holding infinities) would never come below 1000.
  if (!std::isfinite(mantisa)) return;
  if (std::fabs(mantisa) > 1000.0) {
    while (std::fabs(mantisa) >= 1000.0) {
      mantisa /= 10.0;
      ++corrimientos_abajo;
    }
  } else if (std::fabs(mantisa) < 0.001) {
    while (std::fabs(mantisa) <= 0.001) {
      mantisa *= 10.0;
      ++corrimientos_arriba;
    }
  }
}

}  // namespace

NReal TMatR::resolver_sistema(TMatR& B, bool& invertible, int& exponente) {
  const int n = n_filas_;
  // 1.
  invertible = true;
  NReal mantisa = 1.0;
  int abajo = 0;
  int arriba = 0;
  int k = 1;
  // 2. forward elimination.
  while (invertible && k < n) {
    // 2.1 pivot: the largest magnitude in column k, ties keep the upper row.
    int p = k;
    NReal mejor = std::fabs(elemento(k, k));
    for (int i = k + 1; i <= n; ++i) {
      const NReal m = std::fabs(elemento(i, k));
      if (m > mejor) {
        mejor = m;
        p = i;
      }
    }
    // 2.2
    if (p != k) {
      intercambiar_filas(k, p);
      B.intercambiar_filas(k, p);
      mantisa = -mantisa;
    }
    // 2.3
    if (!(mejor > MachEps)) {
      mantisa = 0.0;
      invertible = false;
      break;
    }
    // 2.4
    const TVectR& fk = fila(k);
    const TVectR& bk = B.fila(k);
    mantisa *= fk.elemento(k);
    if (mantisa == 0.0) {
      invertible = false;
      break;
    }
    NormalizarMantisa(mantisa, abajo, arriba);
    for (int i = k + 1; i <= n; ++i) {
      const NReal m = -elemento(i, k) / fk.elemento(k);
      fila(i).sumar_multiplo(fk, k + 1, m, n_columnas_);
      B.fila(i).sumar_multiplo(bk, 1, m, bk.n());
    }
    // 2.5
    ++k;
  }
  // 3.
  if (n >= 1) mantisa *= elemento(n, n);
  // 4.
  if (invertible) {
    if (mantisa == 0.0) {
      invertible = false;
    } else {
      NormalizarMantisa(mantisa, abajo, arriba);
      if (std::fabs(mantisa) < MachEps) {
        invertible = false;
      } else {
        // Back substitution: scale each row by its pivot's reciprocal, then clear upwards.
        for (int p = 1; p <= n; ++p) {
          const NReal r = 1.0 / elemento(p, p);
          TVectR& bp = B.fila(p);
          bp.escalar_rango(1, r);
          TVectR& fp = fila(p);
          for (int j = p + 1; j <= n_columnas_; ++j) fp.poner(j, fp.elemento(j) * r);
        }
        for (int c = n; c >= 2; --c) {
          const TVectR& bc = B.fila(c);
          for (int p = c - 1; p >= 1; --p) {
            B.fila(p).sumar_multiplo(bc, 1, -elemento(p, c), bc.n());
          }
        }
      }
    }
  }
  // 5.
  exponente = abajo - arriba;
  return mantisa;
}
