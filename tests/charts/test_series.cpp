#include <gtest/gtest.h>

#include "ugraficador.h"

namespace {

constexpr TColor kRojo = ColorRGB(255, 0, 0);
constexpr TColor kVerde = ColorRGB(0, 128, 0);

bool HayDistintoDe(const TLienzo& l, int x1, int y1, int x2, int y2, TColor c) {
  for (int y = y1; y < y2; ++y) {
    for (int x = x1; x < x2; ++x) {
      if (l.Pixel(x, y) != c) return true;
    }
  }
  return false;
}

// A chart whose plot rectangle and left scale are set by hand, for the painters alone.
std::unique_ptr<TGrafico> GraficoConRectangulo(int izquierda, int derecha, int arriba, int abajo,
                                               NReal yAlto) {
  auto g = TGrafico::Crear("g", tgBarras, 0);
  g->izquierda = izquierda;
  g->derecha = derecha;
  g->arriba = arriba;
  g->abajo = abajo;
  g->yBajo = 0;
  g->yAlto = yAlto;
  g->escalaY = (abajo - arriba) / yAlto;
  return g;
}

}  // namespace

TEST(TSerieGrafico, SinGraficoEsNegraConCruzYNoSePinta) {
  auto s = TSerieGrafico::Crear("s", {5, 5}, nullptr, nullptr, "", false);
  EXPECT_EQ(s->colorMarca, kNegro);
  EXPECT_EQ(s->colorLinea, kNegro);
  EXPECT_EQ(s->colorRelleno, kNegro);
  EXPECT_EQ(s->colorMarcaRelleno, kNegro);
  EXPECT_EQ(s->marca, mcMas);
  EXPECT_EQ(s->tipo, tgNoPintada);
  EXPECT_EQ(s->rol, 0);
  EXPECT_EQ(s->tamMarca, 3);
  EXPECT_EQ(s->anchoLinea, 1);

  auto g = TGrafico::Crear("g", tgLineasYMarcas, -1);
  g->AgregarSerie(TSerieGrafico::Crear("x", {1.3, 3.7}, nullptr, nullptr, "", true));
  s->valores = {2.3, 6.7};
  TSerieGrafico* sp = g->AgregarSerie(std::move(s));
  EXPECT_EQ(sp->serieX, nullptr);  // only line series take the chart's abscissa
  sp->serieX = g->seriesX[0].get();
  auto l = TLienzo::Crear(400, 300);
  g->Dibujar(*l, 400, 300);
  EXPECT_EQ(g->yAlto, 7);  // it still ranges its axis
  const int x = g->XPixel(1.3);
  const int y = g->YPixel(2.3);
  EXPECT_FALSE(HayDistintoDe(*l, x - 3, y - 3, x + 4, y + 4, kBlanco));
}

TEST(TSerieGrafico, MarcasPorForma) {
  struct Caso {
    std::uint8_t forma;
    std::vector<TPunto> pintados, vacios;  // relative to the centre
  };
  const Caso casos[] = {
      {mcCirculo, {{-4, 0}, {0, -4}}, {{0, 0}, {-5, -5}}},
      {mcCuadrado, {{-4, -4}, {-4, 2}}, {{0, 0}}},
      {mcRombo, {{0, -4}, {-3, 0}}, {{0, 0}, {-4, -4}}},
      {mcMas, {{0, 0}, {-3, 0}, {0, 3}}, {{-3, -3}}},
      {mcCruz, {{0, 0}, {-3, -3}, {3, 3}}, {{0, -3}}},
      {7, {}, {{0, 0}, {-3, 0}}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(static_cast<int>(c.forma));
    auto l = TLienzo::Crear(40, 40);
    l->PlumaColor(kRojo);
    l->PlumaAncho(3);
    l->BrochaColor(kVerde);
    l->BrochaEstilo(bsVacio);
    DibujarMarca(*l, 20, 20, 4, c.forma);
    for (const TPunto& p : c.pintados) EXPECT_EQ(l->Pixel(20 + p.x, 20 + p.y), kRojo);
    for (const TPunto& p : c.vacios) EXPECT_EQ(l->Pixel(20 + p.x, 20 + p.y), kBlanco);
  }
}

// Three series of four values on a plot 900 pixels wide: bars 67 wide, gaps of 6.
TEST(TSerieGrafico, BarrasSobreNovecientosPixeles) {
  auto g = GraficoConRectangulo(50, 950, 10, 410, 10);
  std::vector<std::unique_ptr<TSerieGrafico>> propias;
  std::vector<TSerieGrafico*> lista;
  const TColor colores[] = {kRojo, kVerde, ColorRGB(0, 0, 255)};
  for (int s = 0; s < 3; ++s) {
    propias.push_back(TSerieGrafico::Crear("s", {5, 6, 7, 8}, nullptr, nullptr, "", false));
    propias.back()->colorRelleno = colores[s];
    lista.push_back(propias.back().get());
  }
  auto l = TLienzo::Crear(1000, 500);
  PintarBarras(*g, *l, lista);
  EXPECT_FALSE(g->ejeX->etiquetasVerticales);
  // Centres of the last series' bars: x1 = 50 + 18 + 2 * 67 + j * (3 * 67 + 6).
  EXPECT_EQ(g->centrosBarras, (std::vector<int>{235, 442, 649, 856}));
  const int y = g->YPixel(2.5);
  EXPECT_EQ(l->Pixel(50 + 17, y), kBlanco);
  EXPECT_EQ(l->Pixel(50 + 18, y), kNegro);  // outline with the current pen
  EXPECT_EQ(l->Pixel(50 + 19, y), kRojo);
  EXPECT_EQ(l->Pixel(50 + 18 + 67 + 1, y), kVerde);
  EXPECT_EQ(l->Pixel(50 + 18 + 67 + 1, g->YPixel(6) - 3), kBlanco);  // the bar is 5 high
  EXPECT_EQ(l->Pixel(50 + 18 + 3 * 67 + 3, y), kBlanco);             // the gap
  EXPECT_EQ(l->Pixel(50 + 18 + 3 * 67 + 6 + 1, y), kRojo);           // next category
}

// Percentages 50, 0.5 and 30: two bands, three palette steps, only the first one labelled.
TEST(TSerieGrafico, BandasDePorcentaje) {
  auto g = TGrafico::Crear("g", tgBandasPorcentaje, 0);
  auto s = TSerieGrafico::Crear("reparto", {50, 0.5, 30}, nullptr, g.get(), "", false);
  s->colorMarcaRelleno = kRojo;
  s->etiquetas = {"A", "B", "C"};
  g->AgregarSerie(std::move(s));
  ASSERT_EQ(g->iColor, 1);
  auto l = TLienzo::Crear(800, 500);
  g->Dibujar(*l, 800, 500);
  EXPECT_EQ(g->iColor, 4);
  EXPECT_EQ(g->yAlto, 100);
  EXPECT_EQ(g->extensionEtiquetasX, 0);
  EXPECT_FALSE(g->ejeX->etiquetasVerticales);
  ASSERT_EQ(g->centrosBandas.size(), 3u);
  EXPECT_EQ(g->centrosBandas[1], 0);  // the 0.5 band is not drawn
  const int nivel50 = g->YPixel(50);
  EXPECT_EQ(g->centrosBandas[0], (g->abajo + nivel50) / 2);
  const int x = g->izquierda + 10;
  EXPECT_EQ(l->Pixel(x, g->centrosBandas[0]), kRojo);
  // The skipped band still took maroon; the 30 band is the next palette colour.
  EXPECT_EQ(l->Pixel(x, g->centrosBandas[2]), kVerde);
  EXPECT_EQ(l->Pixel(x, g->YPixel(85)), kBlanco);
  // Labels right of the plot: beside the 50 band only.
  const int xl = g->derecha + g->mx;
  const int h = l->AltoTexto("M");
  EXPECT_TRUE(
      HayDistintoDe(*l, xl, g->centrosBandas[0], xl + 12, g->centrosBandas[0] + h, kBlanco));
  EXPECT_FALSE(
      HayDistintoDe(*l, xl, g->centrosBandas[2], xl + 12, g->centrosBandas[2] + h, kBlanco));
}

TEST(TSerieGrafico, AreasApiladas) {
  auto g = TGrafico::Crear("g", tgAreasApiladas, -1);
  auto* x = g->AgregarSerie(TSerieGrafico::Crear("x", {0, 1, 2}, nullptr, nullptr, "", true));
  auto* a = g->AgregarSerie(TSerieGrafico::Crear("a", {1, 2, 3}, x, g.get(), "", false));
  auto* b = g->AgregarSerie(TSerieGrafico::Crear("b", {1, 1, 1}, x, g.get(), "", false));
  a->colorRelleno = kRojo;
  b->colorRelleno = kVerde;
  auto l = TLienzo::Crear(600, 400);
  g->Dibujar(*l, 600, 400);
  EXPECT_EQ(g->yBajo, 0);
  EXPECT_EQ(g->yAlto, 4);         // the running sums range the axis
  const int px = g->XPixel(1.3);  // between two vertical grid lines
  EXPECT_EQ(l->Pixel(px, g->YPixel(1.1)), kRojo);
  EXPECT_EQ(l->Pixel(px, g->YPixel(2.7)), kVerde);
  EXPECT_EQ(l->Pixel(px, g->YPixel(3.6)), kBlanco);
}

TEST(TCajaGraficoXY, ColoresYTexto) {
  auto g = TGrafico::Crear("g", tgLineasYMarcas, -1);
  auto* x = g->AgregarSerie(TSerieGrafico::Crear("x", {0, 10}, nullptr, nullptr, "", true));
  g->AgregarSerie(TSerieGrafico::Crear("s", {0, 10}, x, g.get(), "", false));
  g->ejeY->SetMax(10);
  // A vertical marker line as the program draws them.
  g->AgregarCaja(TCajaGraficoXY::Crear("", 3.3, 0, 3.3 + 5e-6, 10));
  // Only text: both colours absent.
  auto* soloTexto = g->AgregarCaja(TCajaGraficoXY::Crear("Nota", 5.3, 6.3, 9.3, 9.7));
  soloTexto->colorBorde = ninguno;
  auto* rellena = g->AgregarCaja(TCajaGraficoXY::Crear("", 6.3, 1.3, 8.7, 3.7));
  rellena->colorRelleno = kRojo;
  rellena->colorBorde = kVerde;
  auto l = TLienzo::Crear(600, 400);
  g->Dibujar(*l, 600, 400);
  const int xl = g->XPixel(3.3);
  for (const NReal v : {0.7, 4.2, 8.8}) EXPECT_EQ(l->Pixel(xl, g->YPixel(v)), kNegro) << v;
  EXPECT_EQ(l->Pixel(g->XPixel(5.3), g->YPixel(8.1)), kBlanco);  // no outline
  EXPECT_TRUE(HayDistintoDe(*l, g->XPixel(6.5), g->YPixel(8.5), g->XPixel(8.1), g->YPixel(7.5),
                            kBlanco));  // the text
  EXPECT_EQ(l->Pixel(g->XPixel(7.1), g->YPixel(2.2)), kRojo);
  EXPECT_EQ(l->Pixel(g->XPixel(6.3), g->YPixel(2.2)), kVerde);
}
