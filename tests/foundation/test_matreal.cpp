#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "MatEnt.h"
#include "matreal.h"

namespace {

TVectR Vector(const std::vector<double>& v) { return TVectR(v); }

TMatR Matriz(const std::vector<std::vector<double>>& filas) {
  const int nc = filas.empty() ? 0 : static_cast<int>(filas[0].size());
  TMatR m(static_cast<int>(filas.size()), nc);
  for (std::size_t i = 0; i < filas.size(); ++i) {
    for (std::size_t j = 0; j < filas[i].size(); ++j) {
      m.poner(static_cast<int>(i) + 1, static_cast<int>(j) + 1, filas[i][j]);
    }
  }
  return m;
}

std::vector<double> Valores(const TVectR& v) { return v.copiar_rango(1, -1); }

// The partition sort written literally, recursing into both parts in order.
void OrdenarLiteral(std::vector<double>& v, TDAofNInt& idx, int lo, int hi) {
  int i = lo;
  int j = hi;
  const double p = v[static_cast<std::size_t>((lo + hi) / 2)];
  do {
    while (v[static_cast<std::size_t>(i)] < p) ++i;
    while (p < v[static_cast<std::size_t>(j)]) --j;
    if (i <= j) {
      std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(j)]);
      std::swap(idx[static_cast<std::size_t>(i)], idx[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) OrdenarLiteral(v, idx, lo, j);
  if (i < hi) OrdenarLiteral(v, idx, i, hi);
}

TDAofNInt Identidad(int n) {
  TDAofNInt idx(static_cast<std::size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) idx[static_cast<std::size_t>(k)] = k;
  return idx;
}

}  // namespace

TEST(TVectR, CreacionYRedimensionConCeros) {
  TVectR v(3);
  EXPECT_EQ(Valores(v), (std::vector<double>{0, 0, 0}));
  v.poner(2, 5);
  v.acumular(2, 1.5);
  v.redimensionar(5);
  EXPECT_EQ(Valores(v), (std::vector<double>{0, 6.5, 0, 0, 0}));
  v.redimensionar(1);
  v.redimensionar(2);
  EXPECT_EQ(Valores(v), (std::vector<double>{0, 0}));
  EXPECT_TRUE(TVectR(0).copiar_rango(1, -1).empty());
}

TEST(TVectR, RangosSumasYNormas) {
  TVectR v = Vector({1, -2, 3, 4});
  EXPECT_EQ(v.copiar_rango(2, 3), (std::vector<double>{-2, 3}));
  EXPECT_EQ(v.copiar_rango(3, 1), (std::vector<double>{3, 4}));
  EXPECT_EQ(v.suma_rango(2, 4), 5);
  EXPECT_EQ(v.suma_rango(3, 2), 0);
  EXPECT_EQ(v.norma2_cuadrado(), 30);
  EXPECT_DOUBLE_EQ(v.norma2(), std::sqrt(30.0));
  EXPECT_EQ(v.maximo(), 4);
  v.escalar_rango(3, 2);
  EXPECT_EQ(Valores(v), (std::vector<double>{1, -2, 6, 8}));
  v.sumar_multiplo(Vector({10, 10, 10, 10}), 2, 0.5, 3);
  EXPECT_EQ(Valores(v), (std::vector<double>{1, 3, 11, 8}));
  v.sumar(Vector({1, 2, 3, 4}), Vector({1, 1, 1, 1}));
  EXPECT_EQ(Valores(v), (std::vector<double>{2, 3, 4, 5}));
  EXPECT_EQ(Valores(v.producto_elementos(Vector({2, 0, -1, 1}))),
            (std::vector<double>{4, 0, -4, 5}));
}

TEST(TVectR, MinMaxEmpatesConservanElPrimero) {
  struct Caso {
    std::vector<double> v;
    double min;
    int kmin;
    double max;
    int kmax;
  };
  const Caso casos[] = {
      {{5}, 5, 1, 5, 1},
      {{2, 1, 3, 1, 3}, 1, 2, 3, 3},
      // A new minimum is never also tested as a maximum.
      {{2, 1, 0}, 0, 3, 2, 1},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "n=" << c.v.size() << " primero=" << c.v[0]);
    double mn = 0;
    double mx = 0;
    int kmn = 0;
    int kmx = 0;
    Vector(c.v).min_max(mn, kmn, mx, kmx);
    EXPECT_EQ(mn, c.min);
    EXPECT_EQ(kmn, c.kmin);
    EXPECT_EQ(mx, c.max);
    EXPECT_EQ(kmx, c.kmax);
  }
}

TEST(TVectR, InterpolCasos) {
  struct Caso {
    double x;
    double esperado;
  };
  const TVectR v = Vector({1, 3, 5});
  const Caso casos[] = {{0.3, 1}, {-0.5, 1}, {1, 1}, {2.5, 4}, {2.75, 4.5}, {3, 5}, {8, 5}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "x=" << c.x);
    EXPECT_DOUBLE_EQ(v.interpol(c.x), c.esperado);
  }
}

TEST(TVectR, InvInterpolCasos) {
  struct Caso {
    std::vector<double> v;
    double y;
    double esperado;
  };
  const Caso casos[] = {
      {{1, 3, 5}, 4, 2.5},
      {{1, 3, 5}, 0, 0.5},
      {{1, 3, 5}, 7, 4.0},
      {{1, 1, 3}, 2, 2.5},
      {{1, 1, 3}, 1, 1.5},
      {{1, 1, 1, 3}, 2, 3.5},
      {{}, 3, -1},
      {{5}, 4, -1},
      {{5}, 5, 0},
      {{5}, 6, 1},
      // Flat end segments beyond the range: the nearest end.
      {{2, 2}, 1, 1},
      {{2, 2}, 3, 2},
      {{1, 3, 3}, 4, 3},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "n=" << c.v.size() << " y=" << c.y);
    EXPECT_DOUBLE_EQ(Vector(c.v).inv_interpol(c.y), c.esperado);
  }
}

TEST(TVectR, InvInterpolImposibleEnTramoPlanoInterior) {
  // On a non-decreasing vector a flat bracketing segment always holds y within epsilon; a
  // non-number in the middle leaves the last segment undefined while y is inside the range.
  const TVectR v = Vector({1, std::nan(""), 5});
  EXPECT_THAT([&] { (void)v.inv_interpol(2.5); },
              testing::ThrowsMessage<Excepcion>(
                  testing::StrEq("TVectR.inv_interpol ... ERROR... Imposible!")));
}

TEST(TVectR, AproximacionLinealVentana) {
  const TVectR xs = Vector({0, 1, 2, 3, 4});
  const TVectR ys = Vector({1, 3, 5, 7, 100});
  double a = 9;
  double b = 9;
  int cuenta = 0;
  // xmin is included, xmax excluded: the outlier at x = 4 stays out.
  const double res = ys.AproximacionLineal(xs, 0, 4, a, b, cuenta);
  EXPECT_EQ(cuenta, 4);
  EXPECT_NEAR(a, 2, 1e-12);
  EXPECT_NEAR(b, 1, 1e-12);
  EXPECT_NEAR(res, 0, 1e-12);

  EXPECT_EQ(ys.AproximacionLineal(xs, 10, 20, a, b, cuenta), -1);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(cuenta, 0);

  // One point leaves the normal equations singular.
  EXPECT_THAT(
      [&] { ys.AproximacionLineal(xs, 1, 2, a, b, cuenta); },
      testing::ThrowsMessage<Excepcion>(testing::StrEq("TVectR.AproximacionLineal res= 0")));
}

TEST(TVectR, AproximacionLinealResiduoMedio) {
  // Points (0,0), (1,1), (2,0): line y = 1/3, residuals -1/3, 2/3, -1/3, mean square 2/9.
  double a = 0;
  double b = 0;
  int cuenta = 0;
  const double res = Vector({0, 1, 0}).AproximacionLineal(Vector({0, 1, 2}), -1, 3, a, b, cuenta);
  EXPECT_NEAR(a, 0, 1e-12);
  EXPECT_NEAR(b, 1.0 / 3, 1e-12);
  EXPECT_NEAR(res, 2.0 / 9, 1e-12);
}

TEST(TVectR, SerieFourier) {
  // a0 + a1 cos x + a2 cos 2x + b1 sin x + b2 sin 2x; a trailing extra element is ignored.
  const TVectR v = Vector({1, 2, 3, 4, 5, 99});
  const double x = 0.7;
  const double esperado =
      1 + (2 * std::cos(x) + 4 * std::sin(x)) + (3 * std::cos(2 * x) + 5 * std::sin(2 * x));
  EXPECT_DOUBLE_EQ(v.serie_fourier(x), esperado);
  EXPECT_EQ(Vector({7}).serie_fourier(x), 7);
}

TEST(TVectR, OrdenarYReordenar) {
  TVectR v = Vector({3, 1, 2});
  TDAofNInt idx = Identidad(3);
  v.ordenar(true, idx);
  EXPECT_EQ(Valores(v), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(idx, (TDAofNInt{0, 2, 3, 1}));

  TVectR compa = Vector({30, 10, 20});
  compa.reordenar(idx);
  EXPECT_EQ(Valores(compa), (std::vector<double>{10, 20, 30}));
  TVectR vuelta = Vector({10, 20, 30});
  vuelta.reordenar_inverso(idx);
  EXPECT_EQ(Valores(vuelta), (std::vector<double>{30, 10, 20}));
}

TEST(TVectR, OrdenarOrdenDeEmpatesDelEsquemaDeParticion) {
  // Equal values come out in the order the partition scheme leaves them, which callers rely on.
  struct Caso {
    std::vector<double> v;
    bool ascendente;
    std::vector<double> ordenado;
    TDAofNInt idx;
  };
  const Caso casos[] = {
      {{2, 1, 2, 1, 2}, true, {1, 1, 2, 2, 2}, {0, 4, 2, 5, 1, 3}},
      {{1, 1, 1, 1}, true, {1, 1, 1, 1}, {0, 3, 4, 1, 2}},
      {{1, 3, 2, 3}, false, {3, 3, 2, 1}, {0, 4, 2, 3, 1}},
      {{5}, true, {5}, {0, 1}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "n=" << c.v.size() << " asc=" << c.ascendente);
    TVectR v = Vector(c.v);
    TDAofNInt idx = Identidad(v.n());
    v.ordenar(c.ascendente, idx);
    EXPECT_EQ(Valores(v), c.ordenado);
    EXPECT_EQ(idx, c.idx);
  }
}

TEST(TVectR, OrdenarPermutacionCoherente) {
  // Pseudo-random values with many ties: sorted, and idx maps each position to its origin.
  std::vector<double> datos;
  unsigned s = 12345;
  for (int k = 0; k < 500; ++k) {
    s = s * 1103515245u + 12345u;
    datos.push_back(static_cast<double>((s >> 16) % 37));
  }
  for (bool asc : {true, false}) {
    SCOPED_TRACE(asc);
    TVectR v = Vector(datos);
    TDAofNInt idx = Identidad(v.n());
    v.ordenar(asc, idx);
    for (int k = 1; k <= v.n(); ++k) {
      EXPECT_EQ(v.elemento(k),
                datos[static_cast<std::size_t>(idx[static_cast<std::size_t>(k)] - 1)]);
      if (k > 1) {
        EXPECT_TRUE(asc ? v.elemento(k - 1) <= v.elemento(k) : v.elemento(k - 1) >= v.elemento(k));
      }
    }
    TVectR original = v;
    original.reordenar_inverso(idx);
    EXPECT_EQ(Valores(original), datos);
  }
  // Ties end where the literal recursive scheme leaves them.
  std::vector<double> literal(1, 0.0);
  literal.insert(literal.end(), datos.begin(), datos.end());
  TDAofNInt idx_literal = Identidad(static_cast<int>(datos.size()));
  OrdenarLiteral(literal, idx_literal, 1, static_cast<int>(datos.size()));
  TVectR v = Vector(datos);
  TDAofNInt idx = Identidad(v.n());
  v.ordenar(true, idx);
  EXPECT_EQ(idx, idx_literal);
}

TEST(TMatR, FilaEsLaPropiaEIntercambioDeFilas) {
  TMatR m = Matriz({{1, 2}, {3, 4}, {5, 6}});
  m.fila(2).poner(1, 30);
  EXPECT_EQ(m.elemento(2, 1), 30);
  m.intercambiar_filas(1, 3);
  EXPECT_EQ(Valores(m.fila(1)), (std::vector<double>{5, 6}));
  EXPECT_EQ(Valores(m.fila(3)), (std::vector<double>{1, 2}));
  m.acumular(1, 2, 1);
  EXPECT_EQ(m.elemento(1, 2), 7);
  EXPECT_EQ(m.maximo(), 30);
  EXPECT_EQ(m.suma_elementos(), 5 + 7 + 30 + 4 + 1 + 2);
  m.escalar(2);
  EXPECT_EQ(m.elemento(2, 2), 8);
  m.producto_elementos(Matriz({{1, 0}, {0.5, 1}, {1, 1}}));
  EXPECT_EQ(Valores(m.fila(1)), (std::vector<double>{10, 0}));
  EXPECT_EQ(Valores(m.fila(2)), (std::vector<double>{30, 8}));
  TMatR s(3, 2);
  s.sumar(m, Matriz({{1, 1}, {1, 1}, {1, 1}}));
  EXPECT_EQ(s.suma_elementos(), m.suma_elementos() + 6);
  const TMatR copia = m;
  m.ceros();
  EXPECT_EQ(m.suma_elementos(), 0);
  EXPECT_EQ(copia.elemento(2, 1), 30);
}

TEST(TMatR, MaximoEntreFilasNegativas) { EXPECT_EQ(Matriz({{-5, -3}, {-2, -9}}).maximo(), -2); }

TEST(TMatR, ResolverSistemaCasos) {
  struct Caso {
    const char* nombre;
    std::vector<std::vector<double>> a;
    std::vector<std::vector<double>> b;
    bool invertible;
    double mantisa;
    int exponente;
    std::vector<std::vector<double>> x;  // empty when B is of no use
  };
  const Caso casos[] = {
      {"permutacion", {{0, 1}, {1, 0}}, {{1, 0}, {0, 1}}, true, -1, 0, {{0, 1}, {1, 0}}},
      {"uno por uno", {{2000}}, {{4000}}, true, 200, 1, {{2}}},
      {"singular", {{1, 2}, {2, 4}}, {{1}, {1}}, false, 0, 0, {}},
      {"pivote nulo", {{0, 0}, {0, 1}}, {{1}, {1}}, false, 0, 0, {}},
      {"tres",
       {{2, 1, 1}, {4, -6, 0}, {-2, 7, 2}},
       {{5}, {-2}, {9}},
       true,
       -16,
       0,
       {{1}, {1}, {2}}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    TMatR a = Matriz(c.a);
    TMatR b = Matriz(c.b);
    bool invertible = !c.invertible;
    int exponente = 99;
    const double mantisa = a.resolver_sistema(b, invertible, exponente);
    EXPECT_EQ(invertible, c.invertible);
    EXPECT_NEAR(mantisa, c.mantisa, 1e-9);
    if (c.invertible) {
      EXPECT_EQ(exponente, c.exponente);
    }
    for (std::size_t i = 0; i < c.x.size(); ++i) {
      for (std::size_t j = 0; j < c.x[i].size(); ++j) {
        EXPECT_NEAR(b.elemento(static_cast<int>(i) + 1, static_cast<int>(j) + 1), c.x[i][j], 1e-12);
      }
    }
  }
}

TEST(TMatR, DeterminanteGrandeConExponente) {
  // diag(1e3, ..., 1e3) of order 200: 10^600 overflows a double, the mantissa/exponent pair not.
  const int n = 200;
  TMatR a(n, n);
  TMatR b(n, 1);
  for (int i = 1; i <= n; ++i) {
    a.poner(i, i, 1000);
    b.poner(i, 1, 1000.0 * i);
  }
  bool invertible = false;
  int exponente = 0;
  const double mantisa = a.resolver_sistema(b, invertible, exponente);
  EXPECT_TRUE(invertible);
  EXPECT_NEAR(mantisa * std::pow(10.0, exponente - 600), 1, 1e-9);
  EXPECT_EQ(b.elemento(150, 1), 150);
}

TEST(TMatR, DeterminantePequenoNormalizado) {
  // det = 1e-8: the mantissa stays within [0.001, 1000] and the pair gives the determinant.
  TMatR a = Matriz({{1e-4, 0}, {0, 1e-4}});
  TMatR b = Matriz({{1e-4}, {2e-4}});
  bool invertible = false;
  int exponente = 0;
  const double mantisa = a.resolver_sistema(b, invertible, exponente);
  EXPECT_TRUE(invertible);
  EXPECT_GT(std::fabs(mantisa), 0.001);
  EXPECT_LT(std::fabs(mantisa), 1000);
  EXPECT_NEAR(mantisa * std::pow(10.0, exponente), 1e-8, 1e-20);
  EXPECT_NEAR(b.elemento(1, 1), 1, 1e-12);
  EXPECT_NEAR(b.elemento(2, 1), 2, 1e-12);
}

TEST(TMatR, IntercambiarFilasNiegaLaMantisa) {
  const std::vector<std::vector<double>> filas = {{3, 1, 4}, {1, 5, 9}, {2, 6, 5}};
  TMatR a = Matriz(filas);
  TMatR b(3, 1);
  bool inv = false;
  int e1 = 0;
  const double m1 = a.resolver_sistema(b, inv, e1);
  TMatR a2 = Matriz(filas);
  a2.intercambiar_filas(1, 3);
  TMatR b2(3, 1);
  int e2 = 0;
  const double m2 = a2.resolver_sistema(b2, inv, e2);
  EXPECT_EQ(e1, e2);
  EXPECT_NEAR(m2, -m1, 1e-12);
}

TEST(TVectE, CreacionYCeros) {
  TVectE e(3);
  e.poner(2, -7);
  EXPECT_EQ(e.n(), 3);
  EXPECT_EQ(e.elemento(2), -7);
  e.ceros();
  EXPECT_EQ(e.elemento(2), 0);
}
