#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "xmatdefs.h"

// Dense 1-based real vector: n + 1 slots, slot 0 never read. Indices are not checked in release
// builds (every caller keeps them in range); debug builds assert in the one accessor.
class TVectR {
 public:
  explicit TVectR(int n = 0);
  // 1-based copy of a 0-based array: element k + 1 := valores[k].
  explicit TVectR(const TDAofNReal& valores);
  // Vector file form: a count line, then one element per line.
  explicit TVectR(std::istream& archivo);
  // Vector text form "[ n| x1;  x2; ...]"; elements go through StrToReal.
  explicit TVectR(const std::string& texto);

  [[nodiscard]] int n() const { return n_; }

  [[nodiscard]] NReal elemento(int i) const { return v_[pos(i)]; }
  void poner(int i, NReal x) { v_[pos(i)] = x; }
  void acumular(int i, NReal x) { v_[pos(i)] += x; }
  // The element itself, for callers that keep a reference to it (valid until redimensionar).
  [[nodiscard]] NReal& referencia(int i) { return v_[pos(i)]; }
  void ceros();
  void redimensionar(int m);

  void guardar(std::ostream& archivo) const;
  [[nodiscard]] std::string a_texto() const;
  void print() const;
  void print(std::ostream& salida) const;

  // Elements desde..hasta at positions 0..; hasta < desde runs to the last element.
  [[nodiscard]] TDAofNReal copiar_rango(int desde, int hasta) const;
  [[nodiscard]] NReal suma_rango(int desde, int hasta) const;
  [[nodiscard]] NReal maximo() const;
  void min_max(NReal& min, int& kmin, NReal& max, int& kmax) const;
  [[nodiscard]] NReal norma2_cuadrado() const;
  [[nodiscard]] NReal norma2() const;
  void escalar_rango(int desde, NReal f);
  void sumar_multiplo(const TVectR& otro, int desde, NReal f, int hasta);
  void sumar(const TVectR& a, const TVectR& b);
  [[nodiscard]] TVectR producto_elementos(const TVectR& otro) const;

  [[nodiscard]] NReal serie_fourier(NReal x) const;
  [[nodiscard]] NReal interpol(NReal x) const;
  [[nodiscard]] NReal inv_interpol(NReal y) const;
  NReal AproximacionLineal(const TVectR& xs, NReal xmin, NReal xmax, NReal& a, NReal& b,
                           int& cuenta) const;

  // idx is 0-based of length n + 1 (idx[k] = k before sorting); it follows every exchange.
  void ordenar(bool ascendente, TDAofNInt& idx);
  void reordenar(const TDAofNInt& idx);
  void reordenar_inverso(const TDAofNInt& idx);

 private:
  [[nodiscard]] std::size_t pos(int i) const {
    assert(i >= 1 && i <= n_);
    return static_cast<std::size_t>(i);
  }
  void ordenar_rango(bool ascendente, TDAofNInt& idx, int lo, int hi);

  int n_;
  std::vector<NReal> v_;
};

// Dense 1-based real matrix: a column of owned row vectors, so two rows exchange in constant time.
// Rows read from a file keep their own count.
class TMatR {
 public:
  TMatR(int n_filas, int n_columnas);
  // Matrix file form: row count, column count, then each row in the vector file form.
  explicit TMatR(std::istream& archivo);

  [[nodiscard]] int n_filas() const { return n_filas_; }
  [[nodiscard]] int n_columnas() const { return n_columnas_; }

  // The owned row itself: writing through it writes the matrix.
  [[nodiscard]] TVectR& fila(int i) { return filas_[pos(i)]; }
  [[nodiscard]] const TVectR& fila(int i) const { return filas_[pos(i)]; }

  [[nodiscard]] NReal elemento(int i, int j) const { return filas_[pos(i)].elemento(j); }
  void poner(int i, int j, NReal x) { filas_[pos(i)].poner(j, x); }
  void acumular(int i, int j, NReal x) { filas_[pos(i)].acumular(j, x); }
  void ceros();
  void intercambiar_filas(int i, int j);

  void guardar(std::ostream& archivo) const;

  [[nodiscard]] NReal maximo() const;
  void escalar(NReal f);
  void producto_elementos(const TMatR& otra);
  [[nodiscard]] NReal suma_elementos() const;
  void sumar(const TMatR& a, const TMatR& b);

  // Gaussian elimination with partial pivoting against the right-hand sides B (replaced by
  // A^-1 B); this matrix is overwritten. Returns the determinant's mantissa, the determinant being
  // mantissa * 10^exponente. Never raises: a singular system reports invertible = false.
  NReal resolver_sistema(TMatR& B, bool& invertible, int& exponente);

 private:
  [[nodiscard]] std::size_t pos(int i) const {
    assert(i >= 1 && i <= n_filas_);
    return static_cast<std::size_t>(i);
  }

  int n_filas_;
  int n_columnas_;
  std::vector<TVectR> filas_;
};

// Readers of the line-oriented model files: blank lines before the value are skipped, the value is
// the first token of its line and the rest of the line is skipped. End of file raises ExcepcionES.
std::int32_t LeerEnteroLinea(std::istream& archivo);
NReal LeerRealLinea(std::istream& archivo);
// A count of elements or rows: a non-negative integer.
int LeerCuentaLinea(std::istream& archivo);
