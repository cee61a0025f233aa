#pragma once

#include "lienzo.h"
#include "xmatdefs.h"

// Colour scale of the park map: blue, cyan, green, yellow, red from the minimum to the maximum,
// changing more slowly near the quarter points.
class TEscalaColor {
 public:
  TEscalaColor(NReal minimo, NReal maximo) : v_min(minimo), rango(maximo - minimo) {}
  virtual ~TEscalaColor() = default;
  TEscalaColor(const TEscalaColor&) = default;
  TEscalaColor& operator=(const TEscalaColor&) = default;

  [[nodiscard]] NReal Normalizar(NReal x) const { return (x - v_min) / rango; }
  [[nodiscard]] virtual TColor Color(NReal x) const;

  NReal v_min;
  NReal rango;
};
