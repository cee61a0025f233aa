#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "uparques_modeloteorico.h"

namespace {

std::unique_ptr<TCurvaAerogen> Curva(double diametro) {
  return std::make_unique<TCurvaAerogen>(1, "2 MW", diametro, TDAofNReal{3, 10, 15, 25},
                                         TDAofNReal{0, 1.3, 2, 2});
}

std::unique_ptr<TParque_ModeloTeorico> Parque(const std::vector<std::pair<double, double>>& pos,
                                              double diametro = 80) {
  std::vector<std::unique_ptr<TMolino>> molinos;
  int nid = 1;
  for (const auto& [x, y] : pos) {
    molinos.push_back(
        std::make_unique<TMolino>(nid, nid, 1, 1, Curva(diametro), 1.0, TPosicion(x, y)));
    ++nid;
  }
  return TParque_ModeloTeorico::Crear("Vista", std::move(molinos), 10);
}

struct TPx {
  std::int32_t x = 0, y = 0;
};

TPx Pixel(const TParque_ModeloTeorico& p, double x, double y) {
  TPx r;
  p.MundoAPixel(x, y, r.x, r.y);
  return r;
}

TEST(TParqueVista, LaEstacionQuedaDentroAunqueLosMolinosEstenAlEste) {
  auto p = Parque({{2000, 100}, {3000, 400}, {2500, -200}});
  p->AjustarVista(0, 30, 978, 616);
  EXPECT_LE(p->vista.x_min, -300);
  EXPECT_GE(p->vista.x_max, 3300);
  EXPECT_LE(p->vista.y_min, -500);
  EXPECT_GE(p->vista.y_max, 700);
  const TPx a = Pixel(*p, 0, 0);
  EXPECT_GE(a.x, 0);
  EXPECT_LE(a.x, 978);
  EXPECT_GE(a.y, 30);
  EXPECT_LE(a.y, 616);
}

TEST(TParqueVista, ElAreaSeEnsanchaSinAchicarseConMetrosCuadrados) {
  // Turbines spanning 2000 m by 600 m, on a wide, a tall and a square area.
  struct Caso {
    std::int32_t der, aba;
  };
  const Caso casos[] = {{978, 616}, {2000, 130}, {300, 1030}, {500, 530}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << c.der << " x " << c.aba);
    auto p = Parque({{-1000, 0}, {1000, 600}});
    p->AjustarVista(0, 30, c.der, c.aba);
    const TVista& v = p->vista;
    EXPECT_EQ(v.ancho_px, c.der);
    EXPECT_EQ(v.alto_px, c.aba - 30);
    // Never narrower than the turbines and the station with 300 m around them.
    EXPECT_LE(v.x_min, -1300);
    EXPECT_GE(v.x_max, 1300);
    EXPECT_LE(v.y_min, -300);
    EXPECT_GE(v.y_max, 900);
    // Only one direction grew, evenly on both ends.
    const bool crecio_x = v.x_min < -1300;
    const bool crecio_y = v.y_min < -300;
    EXPECT_FALSE(crecio_x && crecio_y);
    if (crecio_x) {
      EXPECT_NEAR(-1300 - v.x_min, v.x_max - 1300, 1e-9);
    }
    if (crecio_y) {
      EXPECT_NEAR(-300 - v.y_min, v.y_max - 900, 1e-9);
    }
    EXPECT_NEAR(v.ancho_px / v.ancho_m, v.alto_px / v.alto_m, 1e-12);
  }
}

TEST(TParqueVista, PixelesYMetrosIdaYVuelta) {
  auto p = Parque({{500, -480}, {1100, 480}});
  p->AjustarVista(0, 30, 978, 616);
  const TVista& v = p->vista;
  // The world window's corners are the rectangle's corners; north is up.
  const TPx so = Pixel(*p, v.x_min, v.y_min);
  EXPECT_EQ(so.x, 0);
  EXPECT_EQ(so.y, 616);
  const TPx ne = Pixel(*p, v.x_max, v.y_max);
  EXPECT_EQ(ne.x, 978);
  EXPECT_EQ(ne.y, 30);
  for (const auto& [px, py] : std::vector<std::pair<int, int>>{{0, 30}, {489, 300}, {977, 615}}) {
    double x = 0;
    double y = 0;
    p->PixelAMundo(px, py, x, y);
    const TPx q = Pixel(*p, x, y);
    EXPECT_EQ(q.x, px);
    EXPECT_EQ(q.y, py);
  }
}

TEST(TParqueVista, MolinoCercanoHastaTresDiametros) {
  auto p = Parque({{500, 0}, {1100, 0}}, 80);
  p->AjustarVista(0, 30, 978, 616);
  const double m_por_px = p->vista.ancho_m / p->vista.ancho_px;
  struct Caso {
    double x, y;
    int esperado;  // nid, 0 for nothing
  };
  const Caso casos[] = {{500, 0, 1},     {1100, 0, 2},  {510, 30, 1},
                        {1100, -200, 2}, {500, 260, 0},  // more than 3 diameters (240 m) from both
                        {800, 0, 0},                     // halfway, 300 m from each
                        {-200, 0, 0}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
    const TPx px = Pixel(*p, c.x, c.y);
    const TMolino* m = p->MolinoCercano(px.x, px.y);
    if (c.esperado == 0) {
      EXPECT_EQ(m, nullptr);
    } else {
      ASSERT_NE(m, nullptr);
      EXPECT_EQ(m->nid, c.esperado);
    }
  }
  // Right at the limit, within a pixel's worth of metres.
  const TPx cerca = Pixel(*p, 500, 240 - 2 * m_por_px);
  EXPECT_NE(p->MolinoCercano(cerca.x, cerca.y), nullptr);
  const TPx lejos = Pixel(*p, 500, 240 + 2 * m_por_px);
  EXPECT_EQ(p->MolinoCercano(lejos.x, lejos.y), nullptr);
}

TEST(TParqueVista, ElPrimeroDeIgualesGana) {
  auto p = Parque({{500, 100}, {500, -100}});
  p->AjustarVista(0, 0, 1000, 1000);
  double x = 0;
  double y = 0;
  const TPx medio = Pixel(*p, 500, 0);
  p->PixelAMundo(medio.x, medio.y, x, y);
  ASSERT_EQ(y, 0.0);
  const TMolino* m = p->MolinoCercano(medio.x, medio.y);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->nid, 1);
}

TEST(TParqueVista, AreaVaciaNoEligeNada) {
  auto p = Parque({{0, 0}});
  for (const auto& [der, aba] : std::vector<std::pair<int, int>>{{0, 616}, {978, 30}, {-5, 10}}) {
    SCOPED_TRACE(testing::Message() << der << " x " << aba);
    p->AjustarVista(0, 30, der, aba);
    EXPECT_TRUE(p->VistaVacia());
    EXPECT_EQ(p->MolinoCercano(0, 30), nullptr);
  }
}

TEST(TParqueVista, PV3EnPixelEsElValorDeLaGrillaEnEsePunto) {
  auto p = Parque({{500, 0}});
  p->PrepararDireccion(270, true);
  double pv3_meteo = 0;
  (void)p->Simular(100, 0.0005, 1.225, pv3_meteo);
  p->AjustarVista(0, 30, 978, 616);
  for (const auto& [px, py] : std::vector<std::pair<int, int>>{{10, 40}, {489, 323}, {700, 500}}) {
    double x = 0;
    double y = 0;
    p->PixelAMundo(px, py, x, y);
    EXPECT_EQ(p->PV3EnPixel(px, py), p->PV3EnPunto(x, y));
  }
  // Upwind of the turbine the free stream.
  const TPx a = Pixel(*p, -200, 0);
  EXPECT_NEAR(p->PV3EnPixel(a.x, a.y), 0.0005, 1e-12);
}

}  // namespace
