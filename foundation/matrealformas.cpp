// File forms, text form writer and console listings of the real vector and matrix.
#include <iostream>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "matreal.h"
#include "numtext.h"

namespace {

bool EsBlanco(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The first token of the next line that holds one; the rest of that line is consumed.
std::string SiguienteTokenLinea(std::istream& archivo) {
  std::string linea;
  while (std::getline(archivo, linea)) {
    std::size_t desde = 0;
    while (desde < linea.size() && EsBlanco(linea[desde])) ++desde;
    if (desde == linea.size()) continue;
    std::size_t hasta = desde;
    while (hasta < linea.size() && !EsBlanco(linea[hasta])) ++hasta;
    return linea.substr(desde, hasta - desde);
  }
  if (archivo.bad()) throw ExcepcionES("Error de lectura del archivo");
  throw ExcepcionES("Lectura más allá del fin de archivo");
}

}  // namespace

std::int32_t LeerEnteroLinea(std::istream& archivo) {
  return TextoAEntero(SiguienteTokenLinea(archivo));
}

NReal LeerRealLinea(std::istream& archivo) {
  return TextoARealArchivo(SiguienteTokenLinea(archivo));
}

int LeerCuentaLinea(std::istream& archivo) {
  const std::string token = SiguienteTokenLinea(archivo);
  const std::int32_t n = TextoAEntero(token);
  if (n < 0) throw ExcepcionConversion("'" + token + "' no es una cuenta de elementos válida");
  return n;
}

// ---------------------------------------------------------------------------------------------
// TVectR

TVectR::TVectR(std::istream& archivo) : n_(0), v_(1, 0.0) {
  // The count is not trusted for allocation: a bogus count ends at the end of the file.
  const int n = LeerCuentaLinea(archivo);
  for (int k = 1; k <= n; ++k) v_.push_back(LeerRealLinea(archivo));
  n_ = n;
}

void TVectR::guardar(std::ostream& archivo) const {
  for (int k = 1; k <= n_; ++k) VerificarFinito(elemento(k));
  std::string s = IntATexto(n_) + "\r\n";
  for (int k = 1; k <= n_; ++k) {
    s += RealANotacionArchivo(elemento(k));
    s += "\r\n";
  }
  archivo << s;
  if (!archivo) throw ExcepcionES("Error de escritura del archivo");
}

std::string TVectR::a_texto() const {
  std::string s = "[ " + IntATexto(n_) + "|";
  for (int k = 1; k <= n_; ++k) {
    if (k > 1) s += "; ";
    s += ' ';
    s += RealAGeneral(elemento(k));
  }
  s += ']';
  return s;
}

void TVectR::print() const { print(std::cout); }

void TVectR::print(std::ostream& salida) const {
  std::string s = " TVectR.print.inicio\n";
  for (int k = 1; k <= n_; ++k) {
    s += " N: " + IntATexto(k, 6) + " : " + RealAFijo(elemento(k), 12, 4) + "\n";
  }
  s += " TVectR.print.fin\n";
  salida << s;
  salida.flush();
}

// ---------------------------------------------------------------------------------------------
// TMatR

TMatR::TMatR(std::istream& archivo) : n_filas_(0), n_columnas_(0) {
  const int n_filas = LeerCuentaLinea(archivo);
  n_columnas_ = LeerCuentaLinea(archivo);
  filas_.emplace_back(0);
  // Rows keep the count they were written with; none is compared with n_columnas.
  for (int i = 1; i <= n_filas; ++i) filas_.emplace_back(archivo);
  n_filas_ = n_filas;
}

void TMatR::guardar(std::ostream& archivo) const {
  for (int i = 1; i <= n_filas_; ++i) {
    for (int j = 1; j <= fila(i).n(); ++j) VerificarFinito(elemento(i, j));
  }
  archivo << IntATexto(n_filas_) << "\r\n" << IntATexto(n_columnas_) << "\r\n";
  if (!archivo) throw ExcepcionES("Error de escritura del archivo");
  for (int i = 1; i <= n_filas_; ++i) fila(i).guardar(archivo);
}
