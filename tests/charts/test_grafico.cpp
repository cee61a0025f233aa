#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "fechas.h"
#include "formatos.h"
#include "ugraficador.h"

namespace fs = std::filesystem;

namespace {

constexpr TColor kRojo = ColorRGB(255, 0, 0);

// What a JPEG file says about itself: size and the largest quantisation step (1 at quality 100).
struct TCabeceraJPEG {
  bool valida = false;
  int ancho = 0;
  int alto = 0;
  int mayorCuantizacion = 0;
};

TCabeceraJPEG LeerCabeceraJPEG(const fs::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
  TCabeceraJPEG c;
  if (b.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return c;
  if (byte(b.size() - 2) != 0xFF || byte(b.size() - 1) != 0xD9) return c;  // complete file
  std::size_t i = 2;
  while (i + 4 <= b.size() && byte(i) == 0xFF) {
    const int marca = byte(i + 1);
    const std::size_t largo = (static_cast<std::size_t>(byte(i + 2)) << 8) | byte(i + 3);
    const std::size_t datos = i + 4;
    if (marca == 0xDB) {
      for (std::size_t k = datos; k < i + 2 + largo; k += 65) {
        for (std::size_t q = 1; q <= 64; ++q) {
          c.mayorCuantizacion = std::max(c.mayorCuantizacion, static_cast<int>(byte(k + q)));
        }
      }
    } else if (marca == 0xC0 || marca == 0xC2) {
      c.alto = (byte(datos + 1) << 8) | byte(datos + 2);
      c.ancho = (byte(datos + 3) << 8) | byte(datos + 4);
      c.valida = true;
    } else if (marca == 0xDA) {
      break;
    }
    i += 2 + largo;
  }
  return c;
}

fs::path CarpetaTemporal(const std::string& nombre) {
  const fs::path p =
      fs::temp_directory_path() / ("veltra_grafico_" + nombre + "_" + std::to_string(getpid()));
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

TSerieGrafico* AgregarAbscisa(TGrafico& g, TDAofNReal v, const std::string& formato = "##.##") {
  return g.AgregarSerie(TSerieGrafico::Crear("x", std::move(v), nullptr, nullptr, formato, true));
}

TSerieGrafico* AgregarOrdenada(TGrafico& g, const std::string& nombre, TDAofNReal v,
                               TSerieGrafico* x) {
  return g.AgregarSerie(TSerieGrafico::Crear(nombre, std::move(v), x, &g, "", false));
}

bool HayColor(const TLienzo& l, int x1, int y1, int x2, int y2, TColor c) {
  for (int y = y1; y < y2; ++y) {
    for (int x = x1; x < x2; ++x) {
      if (l.Pixel(x, y) == c) return true;
    }
  }
  return false;
}

}  // namespace

TEST(TGrafico, PaletaYMarcasSobreDieciseisSeries) {
  auto g = TGrafico::Crear("g", tgLineasYMarcas, 0);
  auto* x = AgregarAbscisa(*g, {0, 1});
  EXPECT_EQ(g->iColor, 0);  // abscissa series take no colour
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    const TSerieGrafico* s = AgregarOrdenada(*g, "s", {0, 1}, x);
    EXPECT_EQ(s->colorMarca, kPaletaGrafico[static_cast<std::size_t>(i % 15)]);
    EXPECT_EQ(s->colorLinea, s->colorMarca);
    EXPECT_EQ(s->colorRelleno, s->colorMarca);
    EXPECT_EQ(s->marca, i % 5);
    EXPECT_EQ(s->tipo, tgLineasYMarcas);
    EXPECT_EQ(s->rol, 2);
  }
  EXPECT_EQ(g->series[1]->colorMarca, ColorRGB(128, 0, 0));
  EXPECT_EQ(g->series[1]->marca, mcCuadrado);
  EXPECT_EQ(g->series[15]->colorMarca, ColorRGB(0, 0, 0));
}

TEST(TGrafico, AgregarSerieReparteYEnlazaLaAbscisa) {
  auto g = TGrafico::Crear("g", tgLineasYMarcas, 0);
  auto* x1 = AgregarAbscisa(*g, {0, 1});
  AgregarAbscisa(*g, {5, 6});
  auto* sinX = AgregarOrdenada(*g, "a", {1, 2}, nullptr);
  EXPECT_EQ(sinX->rol, 0);
  EXPECT_EQ(sinX->serieX, x1);  // the chart's first abscissa
  auto barras = TSerieGrafico::Crear("b", {1, 2}, nullptr, g.get(), "", false);
  barras->tipo = tgBarras;
  EXPECT_EQ(g->AgregarSerie(std::move(barras))->serieX, nullptr);
  ASSERT_EQ(g->seriesX.size(), 2u);
  ASSERT_EQ(g->series.size(), 2u);
  EXPECT_EQ(g->series[0]->nombre, "a");
  EXPECT_EQ(g->series[1]->nombre, "b");
}

TEST(TGrafico, RectanguloSinTitulosNiSeriesIzquierdas) {
  auto g = TGrafico::Crear("g", tgLineasYMarcas, 0);
  AgregarAbscisa(*g, {0, 10});
  auto l = TLienzo::Crear(600, 400);
  g->Dibujar(*l, 600, 400);
  l->LetraTamano(14);
  const int m = l->AltoTexto("M") / 2;
  EXPECT_EQ(g->mx, m);
  EXPECT_EQ(g->izquierda, m);
  EXPECT_EQ(g->arriba, m);
  EXPECT_EQ(g->derecha, 600 - m);
  EXPECT_EQ(g->abajo, 400 - (m + g->extensionEtiquetasX + m));
  EXPECT_GT(g->extensionEtiquetasX, 0);

  // Titles and a left series each take their measure and one margin.
  g->titulo = "T";
  g->ejeY->titulo = "Y";
  AgregarOrdenada(*g, "s", {1, 2}, g->seriesX[0].get());
  g->Dibujar(*l, 600, 400);
  const int alturaM = l->AltoTexto("M");
  EXPECT_EQ(g->izquierda, m + (alturaM + m) + (g->anchoEtiquetasY + m));
  EXPECT_EQ(g->arriba, m + (alturaM + m));
  EXPECT_EQ(g->altoFilaLeyenda, l->AltoTexto("M"));
}

TEST(TGrafico, AbscisaDeFechasUsaElRangoExacto) {
  TFormatosDePrueba formatos(TFormatos{});
  auto g = TGrafico::Crear("g", tgLineasYMarcas, 0);
  const NReal d0 = CodificarFecha(2015, 3, 5);
  auto* x = AgregarAbscisa(*g, {d0 + 0.25, d0, d0 + 6.5}, "yyyy-mm-dd");
  AgregarOrdenada(*g, "s", {1, 2, 3}, x);
  auto l = TLienzo::Crear(800, 400);
  g->Dibujar(*l, 800, 400);
  EXPECT_EQ(g->ejeX->tipoEtiqueta, teFecha);
  EXPECT_EQ(g->ejeX->minUsado, d0);
  EXPECT_EQ(g->ejeX->maxUsado, d0 + 6.5);
  EXPECT_EQ(g->ejeX->EtiquetaTick(0), "2015-03-05");
  EXPECT_EQ(g->ejeX->EtiquetaTick(g->ejeX->nDiv), "2015-03-11");
  // Drawn again, the axis stays on the data.
  g->Dibujar(*l, 800, 400);
  EXPECT_EQ(g->ejeX->maxUsado, d0 + 6.5);
}

// Markers land on their mapped pixel; with no line colour nothing joins them.
TEST(TGrafico, PixelesDeUnGraficoDibujado) {
  auto g = TGrafico::Crear("g", tgLineasYMarcas, 0);
  auto* x = AgregarAbscisa(*g, {1.3, 3.7, 8.3});
  auto* s = AgregarOrdenada(*g, "s", {2.3, 6.7, 4.1}, x);
  s->colorLinea = ninguno;
  s->colorMarca = kRojo;
  s->marca = mcMas;
  auto l = TLienzo::Crear(500, 300);
  g->Dibujar(*l, 500, 300);
  const int px0 = g->XPixel(1.3);
  const int py0 = g->YPixel(2.3);
  const int px1 = g->XPixel(3.7);
  const int py1 = g->YPixel(6.7);
  EXPECT_EQ(l->Pixel(px0, py0), kRojo);
  EXPECT_EQ(l->Pixel(px1, py1), kRojo);
  EXPECT_EQ(l->Pixel(px0 + 3, py0), kRojo);  // arm of the plus
  // A point on the segment between the first two markers, away from the grid.
  const int pxm = g->XPixel(1.3 + 0.55 * 2.4);
  const int pym = g->YPixel(2.3 + 0.55 * 4.4);
  EXPECT_FALSE(HayColor(*l, pxm - 2, pym - 2, pxm + 3, pym + 3, ColorRGB(0, 128, 0)));
  EXPECT_EQ(l->Pixel(pxm, pym), kBlanco);
  EXPECT_EQ(l->Pixel(499, 299), kBlanco);
  EXPECT_EQ(l->Pixel(0, 0), kBlanco);

  // The legend shows the series' marker beside its name; the logo is stamped.
  const int xLeyenda = 500 - g->mx - g->anchoLeyenda - s->tamMarca - g->mx;
  const int yLeyenda = g->altoFilaLeyenda / 2 + g->arriba + g->my;
  EXPECT_EQ(l->Pixel(xLeyenda, yLeyenda), kRojo);
  EXPECT_TRUE(HayColor(*l, 0, 0, 500, 300, ColorRGB(255, 211, 32)));

  s->colorLinea = ColorRGB(0, 128, 0);
  g->logo = -1;
  g->Dibujar(*l, 500, 300);
  EXPECT_FALSE(HayColor(*l, 0, 0, 500, 300, ColorRGB(255, 211, 32)));
  EXPECT_TRUE(HayColor(*l, pxm - 2, pym - 2, pxm + 3, pym + 3, ColorRGB(0, 128, 0)));
}

TEST(TGrafico, EjeDerechoConSusMarcasRojas) {
  auto g = TGrafico::Crear("g", tgLineasYMarcas, 0);
  auto* x = AgregarAbscisa(*g, {0, 1, 2, 3});
  AgregarOrdenada(*g, "izq", {10, 20, 30, 40}, x);
  auto* d = AgregarOrdenada(*g, "Peso", {0.1, 0.7, 0.3, 0.2}, x);
  d->ejeDerecho = true;
  d->colorLinea = ninguno;
  d->colorMarca = ColorRGB(0, 0, 128);
  d->marca = mcMas;
  auto l = TLienzo::Crear(800, 400);
  g->Dibujar(*l, 800, 400);
  ASSERT_TRUE(g->hayRangoY2);
  EXPECT_NEAR(g->ejeY2->minUsado, 0.1, 1e-12);
  EXPECT_NEAR(g->ejeY2->maxUsado, 0.7, 1e-12);
  EXPECT_EQ(g->ejeY2->nDiv, 6);
  EXPECT_GT(g->anchoEtiquetasY2, 0);
  EXPECT_NEAR(g->escalaY2, (g->abajo - g->arriba) / 0.6, 1e-6);
  // The marker sits on the right mapping (its centre is under a vertical grid line).
  EXPECT_EQ(g->Y2Pixel(0.7), g->arriba);
  EXPECT_EQ(l->Pixel(g->XPixel(1) + 2, g->Y2Pixel(0.7)), ColorRGB(0, 0, 128));
  for (int i = 1; i < g->ejeY2->nDiv; ++i) {
    SCOPED_TRACE(i);
    const int y = g->Y2Pixel(i * g->ejeY2->paso + g->ejeY2->primero);
    EXPECT_TRUE(HayColor(*l, g->derecha - 20, y, g->derecha, y + 1, kRojo));
    EXPECT_FALSE(HayColor(*l, g->derecha - 40, y, g->derecha - 21, y + 1, kRojo));
  }
}

TEST(TGrafico, EntradasMalasDibujanYGuardan) {
  const NReal nan = std::numeric_limits<NReal>::quiet_NaN();
  const NReal inf = std::numeric_limits<NReal>::infinity();
  struct Caso {
    const char* nombre;
    TDAofNReal x, y;
    std::uint8_t tipo;
    bool conAbscisa;
  };
  const Caso casos[] = {
      {"sin series", {}, {}, tgLineasYMarcas, false},
      {"series vacias", {}, {}, tgLineasYMarcas, true},
      {"nan e infinitos", {0, nan, 2, 3, inf}, {1, 2, nan, -inf, 5}, tgLineasYMarcas, true},
      {"un solo valor", {4, 4}, {7, 7}, tgLineasYMarcas, true},
      {"serie mas corta que su abscisa", {0, 1, 2, 3}, {5, 6}, tgLineasYMarcas, true},
      {"abscisa mas corta que su serie", {0, 1}, {5, 6, 7}, tgLineasYMarcas, true},
      {"valores enormes", {0, 1e300, -1e300}, {1e300, -1e300, 0}, tgLineasYMarcas, true},
      {"areas con nan", {0, 1, 2}, {1, nan, 3}, tgAreasApiladas, true},
      {"areas sin abscisa", {}, {1, 2}, tgAreasApiladas, false},
      {"barras con nan", {0, 1, 2}, {1, nan, inf}, tgBarras, true},
      {"barras vacias", {}, {}, tgBarras, false},
      {"bandas con nan", {}, {40, nan, inf, 20}, tgBandasPorcentaje, false},
  };
  const fs::path dir = CarpetaTemporal("malas");
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    auto g = TGrafico::Crear("g", c.tipo, 0);
    TSerieGrafico* x = c.conAbscisa ? AgregarAbscisa(*g, c.x) : nullptr;
    if (c.conAbscisa || !c.y.empty()) {
      auto* s = AgregarOrdenada(*g, "s", c.y, x);
      s->etiquetas = {"a"};
    }
    g->AgregarCaja(TCajaGraficoXY::Crear("caja", nan, 0, inf, 1));
    const fs::path ruta = dir / "g.jpg";
    fs::remove(ruta);
    g->GuardarJPG(ruta, 320, 100, 200);
    const TCabeceraJPEG cab = LeerCabeceraJPEG(ruta);
    EXPECT_TRUE(cab.valida);
    EXPECT_EQ(cab.ancho, 320);
    EXPECT_EQ(cab.alto, 200);
    g->Dibujar(*TLienzo::Crear(320, 200), 320, 200);  // a second drawing of the same chart
  }
  fs::remove_all(dir);
}

TEST(TGrafico, GuardarJPGDeDosMilCien) {
  const fs::path dir = CarpetaTemporal("jpg");
  auto g = TGrafico::Crear("g", tgLineasYMarcas, 0);
  auto* x = AgregarAbscisa(*g, {1, 2, 3});
  AgregarOrdenada(*g, "s", {3, 1, 2}, x);
  const fs::path ruta = dir / "3500_2_0.jpg";
  g->GuardarJPG(ruta, 2100, 100, 1000);
  const TCabeceraJPEG cab = LeerCabeceraJPEG(ruta);
  EXPECT_TRUE(cab.valida);
  EXPECT_EQ(cab.ancho, 2100);
  EXPECT_EQ(cab.alto, 1000);
  EXPECT_EQ(cab.mayorCuantizacion, 1);  // quality 100
  EXPECT_FALSE(fs::exists(dir / "3500_2_0.jpg.tmp"));

  const fs::path mala = dir / "falta" / "g.jpg";
  EXPECT_THAT([&] { g->GuardarJPG(mala, 2100, 100, 1000); },
              testing::ThrowsMessage<ExcepcionES>(
                  testing::StrEq("Error escribiendo el archivo: " + mala.generic_string())));
  fs::remove_all(dir);
}
