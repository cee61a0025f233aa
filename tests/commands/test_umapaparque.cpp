#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>

#include "uescalacolores.h"
#include "umapaparque.h"
#include "uparquedemo.h"

namespace {

// The demo farm after one simulation of wind from the west at 8 m/s.
std::unique_ptr<TParque_ModeloTeorico> DemoSimulado(double direccion = 270) {
  auto p = CrearParqueDemo();
  p->PrepararDireccion(direccion, true);
  double pv3_meteo = 0;
  (void)p->Simular(100, PV3(8, DensidadEstandar), DensidadEstandar, pv3_meteo);
  return p;
}

TEST(VelocidadesMTToPB, BarraDeColoresYMarcas) {
  auto p = DemoSimulado();
  const auto mapa = DibujarMapaParque(*p);
  ASSERT_EQ(mapa->Ancho(), 978);
  ASSERT_EQ(mapa->Alto(), 616);
  const TEscalaColor escala(4, 10);
  // The bottom row of the bar is clear of the texts; the ticks sit at W k / 6.
  const int marcas[] = {163, 326, 489, 652, 815};
  for (const int x : marcas) {
    SCOPED_TRACE(x);
    for (const int y : {20, 29}) EXPECT_EQ(mapa->Pixel(x, y), kNegro);
  }
  for (const int i : {30, 100, 250, 400, 560, 700, 900, 977}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(mapa->Pixel(i, 29), escala.Color(4 + 6.0 * i / 978));
  }
}

TEST(VelocidadesMTToPB, CadaPixelDelCampoTieneElColorDeSuVelocidad) {
  for (const double dir : {270.0, 45.0}) {
    SCOPED_TRACE(dir);
    auto p = DemoSimulado(dir);
    const auto mapa = DibujarMapaParque(*p, 400, 300);
    const TEscalaColor escala(4, 10);
    int blancos = 0;
    int coloreados = 0;
    // Every 7th pixel of the field, away from the "(A)" at the station.
    std::int32_t ax = 0;
    std::int32_t ay = 0;
    p->MundoAPixel(0, 0, ax, ay);
    for (int px = 0; px < 400; px += 7) {
      for (int py = 30; py < 300; py += 7) {
        if (px >= ax - 2 && px <= ax + 40 && py >= ay - 2 && py <= ay + 20) continue;
        const double v = VelocidadDePV3(p->PV3EnPixel(px, py), DensidadEstandar);
        const TColor esperado = v > 0 ? escala.Color(v) : kBlanco;
        ASSERT_EQ(mapa->Pixel(px, py), esperado) << px << ", " << py;
        (v > 0 ? coloreados : blancos) += 1;
      }
    }
    EXPECT_GT(coloreados, 0);
    // Wind from the north-east: the rotated grid leaves the map's corners outside it.
    if (dir == 45.0) {
      EXPECT_GT(blancos, 0);
    }
  }
}

TEST(VelocidadesMTToPB, SinDireccionPreparadaElCampoQuedaBlanco) {
  auto p = CrearParqueDemo();
  const auto mapa = DibujarMapaParque(*p, 300, 200);
  for (const auto& [x, y] : {std::pair{0, 199}, std::pair{150, 60}, std::pair{299, 199}}) {
    EXPECT_EQ(mapa->Pixel(x, y), kBlanco);
  }
  // The bar is drawn all the same.
  EXPECT_EQ(mapa->Pixel(0, 29), ColorRGB(0, 0, 255));
}

TEST(VelocidadesMTToPB, SinModeloOSinLugarNoDibujaNada) {
  auto lienzo = TLienzo::Crear(100, 100);
  lienzo->Pixel(5, 5, kNegro);
  VelocidadesMT_To_PB(nullptr, *lienzo);
  EXPECT_EQ(lienzo->Pixel(5, 5), kNegro);
  EXPECT_EQ(lienzo->Pixel(50, 20), kBlanco);

  auto p = DemoSimulado();
  auto bajo = TLienzo::Crear(100, 30);
  bajo->Pixel(5, 5, kNegro);
  VelocidadesMT_To_PB(p.get(), *bajo);
  EXPECT_EQ(bajo->Pixel(5, 5), kNegro);
  EXPECT_EQ(bajo->Pixel(50, 20), kBlanco);
}

TEST(CopiarRegion, CopiaLosPixelesConAmbasEsquinas) {
  auto origen = TLienzo::Crear(20, 10);
  origen->Pixel(3, 2, kNegro);
  origen->Pixel(7, 6, ColorRGB(1, 2, 3));
  const auto copia = CopiarRegion(*origen, 3, 2, 7, 6);
  ASSERT_NE(copia, nullptr);
  EXPECT_EQ(copia->Ancho(), 5);
  EXPECT_EQ(copia->Alto(), 5);
  EXPECT_EQ(copia->Pixel(0, 0), kNegro);
  EXPECT_EQ(copia->Pixel(4, 4), ColorRGB(1, 2, 3));
  EXPECT_EQ(copia->Pixel(2, 2), kBlanco);
  // Beyond the source the copy stays white; an empty rectangle gives nothing.
  const auto fuera = CopiarRegion(*origen, 18, 8, 22, 12);
  ASSERT_NE(fuera, nullptr);
  EXPECT_EQ(fuera->Pixel(4, 4), kBlanco);
  EXPECT_EQ(CopiarRegion(*origen, 5, 5, 4, 9), nullptr);
}

}  // namespace
