#include "MatEnt.h"

#include <iostream>
#include <string>

#include "numtext.h"

TVectE::TVectE(int n) : n_(n < 0 ? 0 : n), v_(static_cast<std::size_t>(n_) + 1, 0) {}

void TVectE::ceros() {
  for (std::int32_t& x : v_) x = 0;
}

void TVectE::print() const { print(std::cout); }

void TVectE::print(std::ostream& salida) const {
  std::string s = " TVectE.print.inicio\n";
  for (int k = 1; k <= n_; ++k) {
    s += " N: " + IntATexto(k, 6) + " : " + IntATexto(elemento(k), 12) + "\n";
  }
  s += " TVectE.print.fin\n";
  salida << s;
  salida.flush();
}
