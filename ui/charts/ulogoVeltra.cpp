#include "ulogoVeltra.h"

void DibujarLogoVeltra(TLienzo& l, int x, int y) {
  l.LetraTamano(8);
  l.LetraOrientacion(0);
  const int h = l.AltoTexto("S") / 2;
  const int d = l.AnchoTexto(".") / 2;
  const int base = y + h + h / 2;
  struct TCuadro {
    TColor color;
    int x1, y1, x2, y2;
  };
  const TCuadro cuadros[] = {
      {ColorRGB(255, 211, 32), x, base - 2 * h - 2 * d, x + h, base - h - 2 * d},
      {ColorRGB(131, 202, 254), x + h + d, base - 2 * h - 2 * d, x + 2 * h + d, base - h - 2 * d},
      {ColorRGB(153, 101, 0), x + h + d, base - h - d, x + 2 * h + d, base - d},
      {ColorRGB(101, 204, 0), x, base - h - d, x + h, base - d},
  };
  l.BrochaEstilo(bsSolido);
  for (const TCuadro& c : cuadros) {
    l.BrochaColor(c.color);
    l.RellenarRect(c.x1, c.y1, c.x2, c.y2);
  }
  l.BrochaEstilo(bsVacio);
  l.LetraColor(ColorRGB(0, 0, 0));
  l.Texto(x + 2 * h + 2 * d, base - h, "Veltra");
}
