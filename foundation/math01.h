#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <utility>

#include "matreal.h"
#include "xmatdefs.h"

// A real function whose zero is sought, given as an object.
class T_ProblemaFx_Cero {
 public:
  virtual ~T_ProblemaFx_Cero() = default;
  virtual NReal f(NReal x) = 0;

  // Bisection over [min(x1, x2), max(x1, x2)]. True only when the bracket shrank to tolerancia;
  // false at once (0 halvings) when f has no sign change, or after max_iter halvings. Never raises.
  bool Biseccion(std::int16_t max_iter, NReal& raiz, std::int16_t& iteraciones, NReal& fx,
                 NReal tolerancia, NReal x1, NReal x2);
};

// A plain function of one real.
using TFuncionReal = std::function<NReal(NReal)>;

class T_ProblemaFx_Cero_externa : public T_ProblemaFx_Cero {
 public:
  explicit T_ProblemaFx_Cero_externa(TFuncionReal funcion) : funcion_(std::move(funcion)) {}
  NReal f(NReal x) override { return funcion_(x); }

 private:
  TFuncionReal funcion_;
};

void ResolverFxCero(const TFuncionReal& funcion, std::int16_t max_iter, NReal& raiz, bool& ok,
                    std::int16_t& iteraciones, NReal& fx, NReal tolerancia, NReal x1, NReal x2);

// Romberg integration of funcion from a to b (note the order of the bounds). resultado is written
// only when two successive extrapolations agree within tolerancia (at most 10 levels).
void IntegrarRomberg(const TFuncionReal& funcion, NReal& resultado, bool& ok, NReal tolerancia,
                     NReal b, NReal a);
// The same integration, returning the last extrapolated estimate whether or not it converged.
NReal RombergEstimacion(const TFuncionReal& funcion, bool& ok, NReal tolerancia, NReal b, NReal a);

// Fills the empty cells of M (those with D(i, j) <= 0) by Jacobi relaxation from their neighbours,
// rows being cyclic direction sectors and columns bins. Cells with data take D's value. Writes one
// progress line per sweep to salida; cambio is the last sweep's change and barridos the number of
// sweeps made (at most 10001).
void RellenarHuecos(TMatR& M, const TMatR& D, NReal& cambio, int& barridos, std::ostream& salida);
void RellenarHuecos(TMatR& M, const TMatR& D, NReal& cambio, int& barridos);
