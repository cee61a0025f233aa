#include "useriesgrafico.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numtext.h"
#include "ugraficador.h"

namespace {

// Value k of a series, 0 where the series is short or the value is not finite, so that one bad
// sample does not break a stacked outline.
NReal ValorOCero(const TSerieGrafico& s, std::size_t k) {
  if (k >= s.valores.size() || !std::isfinite(s.valores[k])) return 0.0;
  return s.valores[k];
}

}  // namespace

std::unique_ptr<TSerieGrafico> TSerieGrafico::Crear(const std::string& nombre, TDAofNReal valores,
                                                    TSerieGrafico* serieX, TGrafico* grafico,
                                                    const std::string& formato, bool abscisa) {
  auto s = std::make_unique<TSerieGrafico>();
  s->nombre = nombre;
  s->valores = std::move(valores);
  s->serieX = serieX;
  s->formato = formato;
  if (grafico != nullptr) {
    const TColor c = grafico->SiguienteColor();
    s->colorRelleno = c;
    s->colorLinea = c;
    s->colorMarcaRelleno = c;
    s->colorMarca = c;
    s->marca = grafico->SiguienteMarca();
    s->tipo = grafico->tipoDefecto;
  }
  s->rol = abscisa ? 1 : (serieX != nullptr ? 2 : 0);
  return s;
}

std::unique_ptr<TCajaGraficoXY> TCajaGraficoXY::Crear(const std::string& texto, NReal x1, NReal y1,
                                                      NReal x2, NReal y2) {
  auto c = std::make_unique<TCajaGraficoXY>();
  c->texto = texto;
  c->x1 = x1;
  c->y1 = y1;
  c->x2 = x2;
  c->y2 = y2;
  return c;
}

void DibujarMarca(TLienzo& l, int x, int y, int s, std::uint8_t forma) {
  // A marker this far off the image cannot show, and its corners would overflow.
  constexpr int kLejos = 1 << 30;
  if (x < -kLejos || x > kLejos || y < -kLejos || y > kLejos) return;
  s = std::clamp(s, -kLejos, kLejos);
  const int x1 = x - s;
  const int x2 = x + s;
  const int y1 = y - s;
  const int y2 = y + s;
  switch (forma) {
    case mcCirculo:
      l.Elipse(x1, y1, x2, y2);
      break;
    case mcCuadrado:
      l.Rectangulo(x1, y1, x2, y2);
      break;
    case mcRombo:
      l.Poligono({{x, y - s}, {x - s, y}, {x, y + s}, {x + s, y}});
      break;
    case mcMas:
      l.Linea(x1, y, x2, y);
      l.Linea(x, y1, x, y2);
      break;
    case mcCruz:
      l.Linea(x1, y1, x2, y2);
      l.Linea(x1, y2, x2, y1);
      break;
    default:
      break;
  }
}

void PintarLineas(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista) {
  for (const TSerieGrafico* s : lista) {
    if (s->colorLinea == ninguno || s->serieX == nullptr) continue;
    l.PlumaColor(s->colorLinea);
    l.PlumaAncho(s->anchoLinea);
    const TDAofNReal& xs = s->serieX->valores;
    const std::size_t n = std::min(s->valores.size(), xs.size());
    // A point that is not a number breaks the line; it resumes at the next good one.
    bool enCurso = false;
    for (std::size_t j = 0; j < n; ++j) {
      if (!std::isfinite(xs[j]) || !std::isfinite(s->valores[j])) {
        enCurso = false;
        continue;
      }
      const int px = g.XPixel(xs[j]);
      const int py = g.YPixelEje(s->valores[j], s->ejeDerecho);
      if (enCurso) {
        l.LineaA(px, py);
      } else {
        l.MoverA(px, py);
        enCurso = true;
      }
    }
  }
}

void PintarMarcas(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista) {
  for (const TSerieGrafico* s : lista) {
    if (s->serieX == nullptr) continue;
    l.PlumaColor(s->colorMarca);
    l.PlumaAncho(3);
    l.BrochaColor(s->colorMarcaRelleno);
    l.BrochaEstilo(bsVacio);
    const TDAofNReal& xs = s->serieX->valores;
    const std::size_t n = std::min(s->valores.size(), xs.size());
    for (std::size_t j = 0; j < n; ++j) {
      if (!std::isfinite(xs[j]) || !std::isfinite(s->valores[j])) continue;
      DibujarMarca(l, g.XPixel(xs[j]), g.YPixelEje(s->valores[j], s->ejeDerecho), s->tamMarca,
                   s->marca);
    }
  }
}

void PintarBarras(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista) {
  if (lista.empty()) return;
  const std::size_t nS = lista.size();
  const std::size_t nV = lista.front()->valores.size();
  if (nV == 0) return;
  // 1.
  const int w =
      TruncToInt((g.derecha - g.izquierda) / static_cast<NReal>(nS) / static_cast<NReal>(nV) * 0.9);
  const int hueco = TruncToInt(w * 0.9 / 10);
  if (g.centrosBarras.size() < nV) g.centrosBarras.resize(nV, 0);
  // 2.
  for (std::size_t s = 0; s < nS; ++s) {
    const TSerieGrafico& serie = *lista[s];
    const int y0 = g.YPixelEje(0.0, serie.ejeDerecho);
    l.BrochaColor(serie.colorRelleno);
    l.BrochaEstilo(bsSolido);
    g.ejeX->etiquetasVerticales = false;
    for (std::size_t j = 0; j < nV && j < serie.valores.size(); ++j) {
      const std::int64_t x1 =
          g.izquierda + 3LL * hueco + static_cast<std::int64_t>(s) * w +
          static_cast<std::int64_t>(j) * (static_cast<std::int64_t>(nS) * w + hueco);
      const NReal v = serie.valores[j];
      if (std::isfinite(v)) {
        l.Rectangulo(Saturar(x1), g.YPixelEje(v, serie.ejeDerecho), Saturar(x1 + w), y0);
      }
      g.centrosBarras[j] = Saturar((2 * x1 + w) / 2);  // integer division truncates toward zero
    }
  }
}

void EtiquetarBarras(TGrafico& g, TLienzo& l) {
  // 3. Category labels of the chart's last series, slanted under each bar.
  l.LetraOrientacion(3150);
  l.BrochaColor(kBlanco);
  l.BrochaEstilo(bsSolido);
  l.Recortar(0, 0, g.anchoDibujo, g.altoDibujo);
  if (!g.series.empty()) {
    const std::vector<std::string>& etiquetas = g.series.back()->etiquetas;
    for (std::size_t j = 0; j < g.centrosBarras.size() && j < etiquetas.size(); ++j) {
      l.Texto(g.centrosBarras[j], g.abajo + 20, etiquetas[j]);
    }
  }
  l.LetraOrientacion(0);
  g.centrosBarras.clear();
}

void RangoApiladas(const std::vector<TSerieGrafico*>& lista, NReal& bajo, NReal& alto,
                   bool& hayRango) {
  if (lista.empty()) return;
  if (!hayRango) {
    bajo = 0;
    alto = 0;
    hayRango = true;
  }
  const std::size_t n = lista.front()->valores.size();
  for (std::size_t k = 0; k < n; ++k) {
    NReal suma = 0;
    for (const TSerieGrafico* s : lista) {
      suma += ValorOCero(*s, k);
      if (suma < bajo) {
        bajo = suma;
      } else if (suma > alto) {
        alto = suma;
      }
    }
  }
}

void PintarAreasApiladas(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista) {
  if (lista.empty()) return;
  const TSerieGrafico& primera = *lista.front();
  if (primera.serieX == nullptr) return;
  const TDAofNReal& xs = primera.serieX->valores;
  const std::size_t n = std::min(primera.valores.size(), xs.size());
  if (n == 0) return;
  // 1.
  std::vector<NReal> inferior(n, 0.0);
  std::vector<NReal> superior(n);
  for (std::size_t k = 0; k < n; ++k) superior[k] = ValorOCero(primera, k);
  std::vector<int> px(n);
  for (std::size_t k = 0; k < n; ++k) px[k] = g.XPixel(xs[k]);
  for (std::size_t s = 0; s < lista.size(); ++s) {
    // 2.
    const TSerieGrafico& serie = *lista[s];
    l.BrochaColor(serie.colorRelleno);
    l.BrochaEstilo(bsSolido);
    std::vector<TPunto> puntos;
    puntos.reserve(2 * n);
    for (std::size_t k = 0; k < n; ++k) {
      puntos.push_back({px[k], g.YPixelEje(superior[k], serie.ejeDerecho)});
    }
    for (std::size_t k = n; k-- > 0;) {
      puntos.push_back({px[k], g.YPixelEje(inferior[k], serie.ejeDerecho)});
    }
    l.Poligono(puntos);
    // 3.
    if (s + 1 < lista.size()) {
      inferior = superior;
      for (std::size_t k = 0; k < n; ++k) superior[k] = inferior[k] + ValorOCero(*lista[s + 1], k);
    }
  }
}

void PintarBandasPorcentaje(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista) {
  if (lista.empty()) return;
  const TSerieGrafico& serie = *lista.front();
  // 1.
  l.PlumaAncho(2);
  g.ejeX->etiquetasVerticales = false;
  l.BrochaColor(serie.colorMarcaRelleno);
  l.BrochaEstilo(bsSolido);
  int nivel = g.YPixel(0.0);
  g.centrosBandas.assign(serie.valores.size(), 0);
  // 2. Bands of 1 % or less are not drawn but still take their colour.
  for (std::size_t j = 0; j < serie.valores.size(); ++j) {
    const NReal v = serie.valores[j];
    if (v > 1) {
      const int tope = Saturar(static_cast<std::int64_t>(g.YPixel(v)) -
                               (static_cast<std::int64_t>(g.abajo) - nivel));
      l.Rectangulo(g.izquierda + 1, tope, g.derecha, nivel);
      g.centrosBandas[j] = TruncToInt((static_cast<NReal>(tope) + nivel) * 0.5);
      nivel = tope;
    }
    l.BrochaColor(g.SiguienteColor());
  }
}

void EtiquetarBandas(TGrafico& g, TLienzo& l) {
  // 3. Every band but the last, labelled from the chart's last series.
  l.LetraOrientacion(0);
  l.BrochaColor(kBlanco);
  l.BrochaEstilo(bsSolido);
  l.PlumaColor(kNegro);
  l.Recortar(0, 0, g.anchoDibujo, g.altoDibujo);
  if (g.series.empty() || g.centrosBandas.empty()) return;
  const TSerieGrafico& ultima = *g.series.back();
  for (std::size_t j = 0; j + 1 < g.centrosBandas.size(); ++j) {
    if (j >= ultima.valores.size() || j >= ultima.etiquetas.size()) break;
    const NReal v = ultima.valores[j];
    if (!(v > 1) || !std::isfinite(v)) continue;
    const std::string texto =
        ultima.etiquetas[j] + " " + IntATexto(static_cast<std::int64_t>(Nint(v))) + " %";
    l.Texto(g.derecha + g.mx, g.centrosBandas[j], texto);
  }
}

void PintarCaja(TGrafico& g, TLienzo& l, const TCajaGraficoXY& caja) {
  const int xa = g.XPixel(caja.x1);
  const int xb = g.XPixel(caja.x2);
  const int ya = g.YPixelEje(caja.y1, caja.ejeDerecho);
  const int yb = g.YPixelEje(caja.y2, caja.ejeDerecho);
  l.PlumaEstilo(caja.estiloBorde);
  if (caja.colorBorde != ninguno || caja.colorRelleno != ninguno) {
    l.PlumaColor(caja.colorBorde);
    l.BrochaColor(caja.colorRelleno);
    l.BrochaEstilo(caja.estiloRelleno);
    l.Rectangulo(xa, ya, xb, yb);
  }
  if (!caja.texto.empty()) {
    l.BrochaColor(caja.colorRelleno);
    l.BrochaEstilo(caja.estiloRelleno);
    l.LetraColor(caja.colorTexto);
    const NReal cx = (static_cast<NReal>(xa) + xb) * 0.5 - l.AnchoTexto(caja.texto) * 0.5;
    const NReal cy = (static_cast<NReal>(ya) + yb) * 0.5 - l.AltoTexto(caja.texto) * 0.5;
    l.Texto(NintToInt(cx), NintToInt(cy), caja.texto);
    l.LetraColor(kNegro);
  }
  l.PlumaEstilo(psSolido);
  l.PlumaColor(kNegro);
}
