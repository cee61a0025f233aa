#include "math01.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "numtext.h"

bool T_ProblemaFx_Cero::Biseccion(std::int16_t max_iter, NReal& raiz, std::int16_t& iteraciones,
                                  NReal& fx, NReal tolerancia, NReal x1, NReal x2) {
  enum { kSinCodigo, kConvergio, kAgotado, kSinCambioDeSigno };
  // 1.
  NReal hi = std::max(x1, x2);
  NReal lo = std::min(x1, x2);
  NReal flo = f(lo);
  std::int16_t i = 0;
  int codigo = kSinCodigo;
  // 2. products are tested as "not <= 0" so that a NaN counts as no sign change.
  if (!(f(hi) * flo <= 0.0)) {
    codigo = kSinCambioDeSigno;
  } else {
    // 3. a max_iter below 1 stops after the first halving instead of never.
    do {
      ++i;
      const NReal m = (hi + lo) * 0.5;
      const NReal fm = f(m);
      if (!(fm * flo <= 0.0)) {
        lo = m;
        flo = fm;
      } else {
        hi = m;
      }
      if (hi - lo <= tolerancia) {
        codigo = kConvergio;
      } else if (i >= max_iter) {
        codigo = kAgotado;
      }
    } while (codigo == kSinCodigo);
  }
  // 4.
  raiz = (hi + lo) * 0.5;
  fx = f(raiz);
  iteraciones = i;
  return codigo == kConvergio;
}

void ResolverFxCero(const TFuncionReal& funcion, std::int16_t max_iter, NReal& raiz, bool& ok,
                    std::int16_t& iteraciones, NReal& fx, NReal tolerancia, NReal x1, NReal x2) {
  T_ProblemaFx_Cero_externa problema(funcion);
  ok = problema.Biseccion(max_iter, raiz, iteraciones, fx, tolerancia, x1, x2);
}

NReal RombergEstimacion(const TFuncionReal& funcion, bool& ok, NReal tolerancia, NReal b, NReal a) {
  constexpr int kNivelMaximo = 10;
  // 1. one trapezoid over the whole interval.
  NReal h = (b - a) / 2.0;
  NReal t = (funcion(a) + funcion(b)) * h;
  std::vector<NReal> tabla{t};
  NReal anterior = t;
  int nivel = 1;
  int nuevos = 1;
  // 2. halve the step, add the new midpoints, extrapolate.
  while (true) {
    NReal suma = 0.0;
    for (int k = 1; k <= nuevos; ++k) suma += funcion(a + h * (2.0 * k - 1.0));
    t = h * suma + t / 2.0;
    std::vector<NReal> fila{t};
    NReal factor = 4.0;
    for (int m = 1; m <= nivel; ++m) {
      fila.push_back((factor * fila[static_cast<std::size_t>(m - 1)] -
                      tabla[static_cast<std::size_t>(m - 1)]) /
                     (factor - 1.0));
      factor *= 4.0;
    }
    const NReal estimacion = fila.back();
    if (std::fabs(estimacion - anterior) <= tolerancia) {
      ok = true;
      return estimacion;
    }
    if (nivel == kNivelMaximo) {
      ok = false;
      return estimacion;
    }
    ++nivel;
    h /= 2.0;
    nuevos *= 2;
    tabla = std::move(fila);
    anterior = estimacion;
  }
}

void IntegrarRomberg(const TFuncionReal& funcion, NReal& resultado, bool& ok, NReal tolerancia,
                     NReal b, NReal a) {
  // 3. the result is left untouched when the extrapolations never agree.
  const NReal estimacion = RombergEstimacion(funcion, ok, tolerancia, b, a);
  if (ok) resultado = estimacion;
}

void RellenarHuecos(TMatR& M, const TMatR& D, NReal& cambio, int& barridos) {
  RellenarHuecos(M, D, cambio, barridos, std::cout);
}

void RellenarHuecos(TMatR& M, const TMatR& D, NReal& cambio, int& barridos, std::ostream& salida) {
  const int nf = M.n_filas();
  const int nc = M.n_columnas();
  if (D.n_filas() != nf || D.n_columnas() != nc) {
    throw Excepcion("RellenarHuecos: la matriz de datos no tiene la forma de la matriz a rellenar");
  }
  // A cell without data (a non-number included) is a hole.
  const auto hueco = [&D](int i, int j) { return !(D.elemento(i, j) > 0.0); };
  // With a single sector the cyclic neighbour of the first sector is itself.
  const int sig = nf >= 2 ? 2 : 1;

  // 1. seed the cells with data.
  for (int i = 1; i <= nf; ++i) {
    for (int j = 1; j <= nc; ++j) {
      if (!hueco(i, j)) M.poner(i, j, D.elemento(i, j));
    }
  }

  // 2.-5. Jacobi sweeps: every rule reads the copy Q taken at the start of the sweep.
  int s = 0;
  while (true) {
    const TMatR Q = M;
    for (int i = 1; i <= nf; ++i) {
      for (int j = 1; j <= nc; ++j) {
        if (!hueco(i, j)) continue;
        if (nc <= 1) {
          if (i == 1) {
            M.poner(i, j, (Q.elemento(sig, j) + Q.elemento(nf, j)) / 2.0);
          } else if (i == nf) {
            M.poner(i, j, (Q.elemento(nf - 1, j) + Q.elemento(1, j)) / 2.0);
          } else {
            M.poner(i, j, (Q.elemento(i - 1, j) + Q.elemento(i + 1, j)) / 2.0);
          }
        } else if (1 < i && i < nf && 1 < j && j < nc) {
          M.poner(i, j,
                  (Q.elemento(i, j - 1) + Q.elemento(i, j + 1) + Q.elemento(i - 1, j) +
                   Q.elemento(i + 1, j)) /
                      4.0);
        } else if (i == 1 && j == 1) {
          M.poner(
              i, j,
              (Q.elemento(1, 1) + Q.elemento(1, 2) + Q.elemento(nf, 1) + Q.elemento(sig, 1)) / 4.0);
        } else if (i == 1 && j == nc) {
          M.poner(i, j,
                  (Q.elemento(1, nc - 1) + Q.elemento(1, nc) + Q.elemento(nf, nc) +
                   Q.elemento(sig, nc)) /
                      4.0);
        } else if (i >= 2 && j == 1) {
          // The first sector stands in for the following one, as the stored matrices expect.
          M.poner(i, j,
                  (Q.elemento(i, 1) + Q.elemento(i, 2) + Q.elemento(i - 1, 1) + Q.elemento(1, 1)) /
                      4.0);
        } else if (i >= 2 && j == nc) {
          M.poner(i, j,
                  (Q.elemento(i, nc - 1) + Q.elemento(i, nc) + Q.elemento(i - 1, nc) +
                   Q.elemento(1, nc)) /
                      4.0);
        }
        // Inner bins of the first and the last sector keep the caller's value.
      }
    }
    // 3. the largest signed change: a sweep of pure decreases counts as no change.
    cambio = 0.0;
    if (nf > 0 && nc > 0) {
      TMatR diferencia(nf, nc);
      for (int i = 1; i <= nf; ++i) {
        for (int j = 1; j <= nc; ++j) diferencia.poner(i, j, M.elemento(i, j) - Q.elemento(i, j));
      }
      cambio = std::fabs(diferencia.maximo());
    }
    // 4.
    salida << "cnt_iter: " << IntATexto(s) << ", epsilon: " << RealANotacionArchivo(cambio) << '\n'
           << std::flush;
    // 5.
    barridos = s + 1;
    if (cambio < 1e-4 || s >= 10000) break;
    ++s;
  }
}
