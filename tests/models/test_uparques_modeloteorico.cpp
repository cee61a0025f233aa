#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "errores.h"
#include "uparques_modeloteorico.h"
#include "uparquesreferencia.h"

namespace {

using testing::StrEq;
using testing::ThrowsMessage;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Turbines at the given offsets east and north of the station, numbered from 1.
std::unique_ptr<TParque_ModeloTeorico> Parque(const std::vector<std::pair<double, double>>& pos,
                                              double potencia_autorizada = 100,
                                              double diametro = 80) {
  std::vector<std::unique_ptr<TMolino>> molinos;
  int nid = 1;
  for (const auto& [x, y] : pos) {
    molinos.push_back(std::make_unique<TMolino>(nid, nid, 1, 1, CurvaReferencia2MW(diametro), 1.0,
                                                TPosicion(x, y)));
    ++nid;
  }
  return TParque_ModeloTeorico::Crear("Prueba", std::move(molinos), potencia_autorizada);
}

void ExpectRelativo(double valor, double esperado, double tol = 1e-12) {
  EXPECT_NEAR(valor, esperado, tol * std::fabs(esperado)) << "esperado " << esperado;
}

double SumaPotencias(const TParque_ModeloTeorico& p) {
  double s = 0;
  for (const auto& m : p.molinos) s += m->potencia;
  return s;
}

TEST(TParqueModeloTeorico, CoeficientesConCeldasDe9x1) {
  // A turbine at the station and a margin of 999 m give cells of exactly 9 m x 1 m.
  auto p = Parque({{0, 0}});
  p->grilla_rotada_margen_dx = 999;
  p->PrepararDireccion(270, true);
  EXPECT_EQ(p->celda_dx, 9.0);
  EXPECT_EQ(p->celda_dy, 1.0);
  EXPECT_EQ(p->grilla->n_columnas(), 223);
  EXPECT_EQ(p->grilla->n_filas(), 1000);
  EXPECT_DOUBLE_EQ(p->m_lateral, 0.027020265546617295);
  EXPECT_DOUBLE_EQ(p->m_central, 0.9459594689067654);
  EXPECT_DOUBLE_EQ(p->r_retorno, 0.0007996800853162789);
  EXPECT_EQ(p->r_conserva, 1 - p->r_retorno);
}

TEST(TParqueModeloTeorico, Fila1EsLaDelOesteCon270) {
  auto p = Parque({{-300, 0}, {300, 0}});
  p->PrepararDireccion(270, true);
  // Along-wind bounds: -300 - 500 .. 300 + 500 with 1 m cells.
  EXPECT_EQ(p->molinos[0]->posicion.fila, 501);
  EXPECT_EQ(p->molinos[1]->posicion.fila, 1101);
  p->PrepararDireccion(90, true);
  EXPECT_GT(p->molinos[0]->posicion.fila, p->molinos[1]->posicion.fila);
}

TEST(TParqueModeloTeorico, FilaRedondeaAlPar) {
  // Wind from the south: yr is the offset north; 2 m cells from yr_min = -500.
  auto p = Parque({{0, 5}, {0, 7}, {0, 8}});
  p->grilla_rotada_dy = 2;
  p->PrepararDireccion(180, true);
  ASSERT_EQ(p->celda_dy, 2.0);
  EXPECT_EQ(p->molinos[0]->posicion.fila, 253);  // nint(252.5) = 252
  EXPECT_EQ(p->molinos[1]->posicion.fila, 255);  // nint(253.5) = 254
  EXPECT_EQ(p->molinos[2]->posicion.fila, 255);
}

TEST(TParqueModeloTeorico, FilaUniformeSigueUniforme) {
  auto p = Parque({{500, 0}});
  p->PrepararDireccion(225, true);
  const double f = PV3(9, 1.225);
  TMatR& g = *p->grilla;
  for (int c = 1; c <= g.n_columnas(); ++c) g.poner(1, c, f);
  p->pv3_libre = f;
  p->PropagarFila(2);
  for (int c = 2; c < g.n_columnas(); c += 37) {
    SCOPED_TRACE(c);
    ExpectRelativo(g.elemento(2, c), f, 1e-15);
  }
}

TEST(TParqueModeloTeorico, MolinoAisladoVeLaCorrienteLibre) {
  struct Caso {
    double etha, rho;
  };
  const Caso casos[] = {{1, 1.225}, {0.9, 1.1}, {1.05, 1.3}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "etha=" << c.etha << " rho=" << c.rho);
    auto p = Parque({{500, 200}});
    TMolino& m = *p->molinos[0];
    m.etha = c.etha;
    p->PrepararDireccion(270, true);
    const double f = PV3(9.5, 1.225);
    double meteo = 0;
    const double P = p->Simular(100, f, c.rho, meteo);
    ExpectRelativo(m.pv3_medio, f);
    ExpectRelativo(m.potencia, m.curva->PotenciaDePV3(c.etha * f) * FactorDensidad(c.rho));
    // The park power is held in single precision.
    const double S = m.potencia;
    EXPECT_EQ(P, static_cast<double>(static_cast<float>(S - S * S * p->k_perdidas)));
    // The station is upwind of the turbine.
    ExpectRelativo(meteo, f);
  }
}

TEST(TParqueModeloTeorico, Estelas) {
  // Wind from the west: turbine 2 stands 7 diameters downwind of turbine 1, turbine 3 beside it.
  const double f = PV3(9, 1.225);
  double meteo = 0;
  auto cerca = Parque({{0, 0}, {560, 0}, {0, 1000}});
  cerca->PrepararDireccion(270, true);
  cerca->Simular(100, f, 1.225, meteo);
  const TMolino& delante = *cerca->molinos[0];
  const TMolino& detras = *cerca->molinos[1];
  const TMolino& lado = *cerca->molinos[2];
  ExpectRelativo(delante.pv3_medio, f);
  ExpectRelativo(lado.pv3_medio, f);
  EXPECT_LT(detras.pv3_medio, 0.9 * f);
  EXPECT_LT(detras.potencia, 0.9 * delante.potencia);

  // Farther downwind the free stream has restored more of the deficit.
  auto lejos = Parque({{0, 0}, {1400, 0}, {0, 1000}});
  lejos->PrepararDireccion(270, true);
  lejos->Simular(100, f, 1.225, meteo);
  EXPECT_GT(lejos->molinos[1]->pv3_medio, detras.pv3_medio);
  EXPECT_LT(lejos->molinos[1]->pv3_medio, f);

  // Two rotors on the same cells: the later turbine in the list sees the earlier one's deficit.
  auto juntos = Parque({{300, 0}, {300, 0}});
  juntos->PrepararDireccion(270, true);
  juntos->Simular(100, f, 1.225, meteo);
  ExpectRelativo(juntos->molinos[0]->pv3_medio, f);
  EXPECT_LT(juntos->molinos[1]->pv3_medio, 0.9 * f);
}

TEST(TParqueModeloTeorico, PosicionesRelativasALaEstacion) {
  std::vector<std::unique_ptr<TMolino>> molinos;
  molinos.push_back(std::make_unique<TMolino>(5, 1, 1, 1, CurvaReferencia2MW(), 1.0,
                                              TPosicion(30, 'T', 500250.5, 4400100)));
  auto p = TParque_ModeloTeorico::Crear("Prueba", std::move(molinos), 2);
  p->meteo_utm_xe = 500000;
  p->meteo_utm_yn = 4400300.25;
  p->CalcularPosicionesRelativas();
  EXPECT_EQ(p->molinos[0]->posicion.dx, 250.5);
  EXPECT_EQ(p->molinos[0]->posicion.dy, -200.25);
  EXPECT_EQ(p->molinos[0]->posicion.huso_utm, 30);
  EXPECT_EQ(p->molinos[0]->posicion.zona_utm, 'T');
}

TEST(TParqueModeloTeorico, PerdidasNulasDanLaSumaEnSimple) {
  auto p = Parque({{0, 0}, {560, 0}, {0, 600}});
  p->factor_perdidas = 0;
  p->PrepararDireccion(250, true);
  double meteo = 0;
  const double P = p->Simular(100, PV3(10.3, 1.225), 1.225, meteo);
  const double S = SumaPotencias(*p);
  EXPECT_EQ(P, static_cast<double>(static_cast<float>(S)));
  EXPECT_NE(P, S);
}

TEST(TParqueModeloTeorico, Limite) {
  // Two turbines in line, the second 3 diameters downwind of the first.
  auto p = Parque({{300, 0}, {540, 0}});
  p->PrepararDireccion(270, true);
  const double f = PV3(10, 1.225);
  double meteo = 0;
  ASSERT_GT(p->Simular(100, f, 1.225, meteo), 2.0);
  for (const double L : {1.0, 0.3, 0.1}) {
    SCOPED_TRACE(L);
    const double P = p->Simular(L, f, 1.225, meteo);
    EXPECT_LE(P, L);
    EXPECT_GT(P, 0.99 * L);
  }

  // Scaling the first turbine down frees wind for the second, so the held power approaches 1.1
  // from above on every pass (and 1.1 has no single-precision value to land on): after the
  // eleventh pass the limit itself is returned and the turbines are scaled down once more.
  const double P = p->Simular(1.1, f, 1.225, meteo);
  EXPECT_EQ(P, 1.1);
  const double S = SumaPotencias(*p);
  EXPECT_GT(S, 0.0);
  EXPECT_LT(S, 1.1);
  ExpectRelativo(meteo, f);

  // The authorised power limits too.
  p->potencia_autorizada_mw = 0.5;
  EXPECT_LE(p->Simular(100, f, 1.225, meteo), 0.5);
}

TEST(TParqueModeloTeorico, LimiteNegativoDaCero) {
  auto p = Parque({{0, 0}, {560, 0}});
  p->PrepararDireccion(270, true);
  double meteo = 0;
  EXPECT_EQ(p->Simular(-1, PV3(12, 1.225), 1.225, meteo), 0.0);
  for (const auto& m : p->molinos) EXPECT_EQ(m->potencia, 0.0);
  EXPECT_TRUE(std::isfinite(meteo));
}

TEST(TParqueModeloTeorico, CorreccionDeLaEstacion) {
  auto p = Parque({{500, 0}});
  p->PrepararDireccion(90, true);
  EXPECT_EQ(p->etha_meteo_dir, 1.0);

  // 1 + 0.2 cos(theta) + 0.1 sin(theta) at 90 degrees.
  p->meteo_etha.poner(2, 0.2);
  p->meteo_etha.poner(7, 0.1);
  p->PrepararDireccion(90, false);
  EXPECT_DOUBLE_EQ(p->etha_meteo_dir, 1.1);
  double meteo = 0;
  p->Simular(100, PV3(8, 1.225), 1.225, meteo);
  EXPECT_EQ(meteo, p->PV3EnPunto(0, 0) * p->etha_meteo_dir);

  p->meteo_etha.poner(1, 0.05);
  p->meteo_etha.poner(2, 0);
  p->meteo_etha.poner(7, 0);
  p->PrepararDireccion(90, false);
  EXPECT_EQ(p->etha_meteo_dir, 0.1);
}

TEST(TParqueModeloTeorico, PV3EnPuntoBilineal) {
  // Wind from the south: the rotated frame is the east/north frame up to rounding.
  auto p = Parque({{300, 400}});
  p->PrepararDireccion(180, true);
  TMatR& g = *p->grilla;
  for (int r = 1; r <= g.n_filas(); ++r) {
    for (int c = 1; c <= g.n_columnas(); ++c) g.poner(r, c, 2.0 * r + 3.0 * c);
  }
  const std::pair<double, double> puntos[] = {{0, 0}, {123.4, -56.7}, {-900, 800}, {1250, 30}};
  for (const auto& [x, y] : puntos) {
    SCOPED_TRACE(testing::Message() << x << ", " << y);
    const double u = (y - p->yr_min) / p->celda_dy;
    const double w = (x - p->xr_min) / p->celda_dx;
    EXPECT_NEAR(p->PV3EnPunto(x, y), 2 * (u + 1) + 3 * (w + 1), 1e-9);
  }
  EXPECT_EQ(p->PV3EnPunto(p->xr_min - 1, 0), 0.0);
  EXPECT_EQ(p->PV3EnPunto(0, p->yr_max + 1), 0.0);
}

TEST(TParqueModeloTeorico, SimularDesdeAnemometro) {
  // Wind from the west: the station stands 300 m downwind of a turbine, in its wake.
  auto p = Parque({{-300, 0}, {-300, 700}});
  p->PrepararDireccion(270, true);
  bool convergido = false;
  double meteo_sim = -5;
  double libre = -5;
  EXPECT_EQ(p->SimularDesdeAnemometro(100, 0, 1.225, convergido, meteo_sim, libre), 0.0);
  EXPECT_EQ(meteo_sim, -5.0);
  EXPECT_EQ(libre, -5.0);

  const double s = PV3(8, 1.225);
  const double P = p->SimularDesdeAnemometro(100, s, 1.225, convergido, meteo_sim, libre);
  EXPECT_TRUE(convergido);
  EXPECT_LT(std::fabs(s / meteo_sim - 1), 0.01);
  EXPECT_GT(libre, 1.02 * s);
  double meteo = 0;
  EXPECT_EQ(p->Simular(100, libre, 1.225, meteo), P);
}

TEST(TParqueModeloTeorico, VientoParaPotencia) {
  auto p = Parque({{0, 0}, {0, 600}, {0, 1200}}, 6);
  p->PrepararDireccion(270, true);
  EXPECT_EQ(p->VientoParaPotencia(6.5), -11.0);
  EXPECT_EQ(p->VientoParaPotencia(-0.5), -11.0);
  EXPECT_EQ(p->VientoParaPotencia(0), 0.0);
  for (const double objetivo : {0.5, 3.0, 5.2}) {
    SCOPED_TRACE(objetivo);
    const double v = p->VientoParaPotencia(objetivo);
    double meteo = 0;
    EXPECT_NEAR(p->Simular(6, PV3(v, 1.225), 1.225, meteo), objetivo, 0.01);
  }
  // An authorised power within the tolerance leaves nothing to search.
  p->potencia_autorizada_mw = 0.005;
  EXPECT_EQ(p->VientoParaPotencia(0.004), 0.0);
}

TEST(TParqueModeloTeorico, PrepararDerivados) {
  auto p = Parque({{0, 0}, {0, 600}, {0, 1200}}, 0);
  EXPECT_EQ(p->potencia_autorizada_mw, 1e-8);
  p->potencia_autorizada_mw = 6;
  p->potencia_nominal = 5;
  p->PrepararDerivados();
  EXPECT_EQ(p->k_perdidas, 0.035 / 5);
  // Without a nominal power the loss scale comes from the authorised power.
  p->potencia_nominal = 0;
  p->PrepararDerivados();
  EXPECT_EQ(p->k_perdidas, 0.035 / 6);
  p->potencia_nominal = kNaN;
  p->PrepararDerivados();
  EXPECT_EQ(p->k_perdidas, 0.035 / 6);
  ASSERT_NE(p->curva_parque, nullptr);
  EXPECT_NEAR(p->curva_parque->P_max, 6.0, 1e-12);
  EXPECT_EQ(p->curva_parque->n, 23);
}

TEST(TParqueModeloTeorico, ParametrosCalibrables) {
  auto p = Parque({{0, 0}});
  const TDAOfNRealPtr r = p->ParametrosCalibrables();
  ASSERT_EQ(r.size(), 12u);
  *r[0] = 0.8;
  *r[10] = 0.3;
  *r[11] = 0.02;
  EXPECT_EQ(p->meteo_etha.elemento(1), 0.8);
  EXPECT_EQ(p->meteo_etha.elemento(11), 0.3);
  EXPECT_EQ(p->factor_perdidas, 0.02);
}

TEST(TParqueModeloTeorico, CopiaDaLosMismosNumeros) {
  auto p = Parque({{0, 0}, {560, 0}, {200, 560}, {760, 560}}, 7);
  p->meteo_etha.poner(3, 0.05);
  p->PrepararDireccion(240, false);
  auto copia = TParque_ModeloTeorico::CrearCopia(*p);
  double m1 = 0;
  double m2 = 0;
  const double s = PV3(11, 1.225);
  bool c1 = false;
  bool c2 = false;
  double l1 = 0;
  double l2 = 0;
  EXPECT_EQ(p->SimularDesdeAnemometro(6.5, s, 1.2, c1, m1, l1),
            copia->SimularDesdeAnemometro(6.5, s, 1.2, c2, m2, l2));
  EXPECT_EQ(m1, m2);
  EXPECT_EQ(l1, l2);
  for (std::size_t i = 0; i < p->molinos.size(); ++i) {
    EXPECT_EQ(p->molinos[i]->potencia, copia->molinos[i]->potencia);
  }
  EXPECT_EQ(p->VientoParaPotencia(4), copia->VientoParaPotencia(4));

  // The copy owns its grid and turbines.
  copia->alfa_terreno = 2;
  copia->molinos[0]->etha = 0.5;
  copia->PrepararDireccion(10, true);
  EXPECT_EQ(p->Simular(100, s, 1.2, m1),
            TParque_ModeloTeorico::CrearCopia(*p)->Simular(100, s, 1.2, m2));
  EXPECT_EQ(m1, m2);
  EXPECT_EQ(p->molinos[0]->etha, 1.0);
}

TEST(TParqueModeloTeorico, DatosNoValidos) {
  struct Caso {
    const char* mensaje;
    std::function<void(TParque_ModeloTeorico&)> accion;
  };
  double m = 0;
  bool conv = false;
  const Caso casos[] = {
      {"Parque Prueba: no hay una dirección preparada",
       [&](TParque_ModeloTeorico& p) { p.Simular(1, 0.001, 1.225, m); }},
      {"Parque Prueba: no hay una dirección preparada",
       [&](TParque_ModeloTeorico& p) { (void)p.PV3EnPunto(0, 0); }},
      {"Parque Prueba: dirección no válida: NAN",
       [](TParque_ModeloTeorico& p) { p.PrepararDireccion(kNaN, true); }},
      {"Parque Prueba: pv3 libre no válida: NAN",
       [&](TParque_ModeloTeorico& p) {
         p.PrepararDireccion(270, true);
         p.Simular(1, kNaN, 1.225, m);
       }},
      {"Parque Prueba: densidad no válida: NAN",
       [&](TParque_ModeloTeorico& p) {
         p.PrepararDireccion(270, true);
         p.Simular(1, 0.001, kNaN, m);
       }},
      {"Parque Prueba: pv3 de la estación no válida",
       [&](TParque_ModeloTeorico& p) {
         p.PrepararDireccion(270, true);
         p.SimularDesdeAnemometro(1, kNaN, 1.225, conv, m, m);
       }},
      {"Parque Prueba: potencia objetivo no válida",
       [](TParque_ModeloTeorico& p) {
         p.PrepararDireccion(270, true);
         p.VientoParaPotencia(kNaN);
       }},
      {"Parque Prueba: grilla no válida: dx = 0, dy = 1, margen = 1000",
       [](TParque_ModeloTeorico& p) {
         p.grilla_rotada_dx = 0;
         p.PrepararDireccion(270, true);
       }},
      {"Parque Prueba: grilla no válida: dx = 9, dy = NAN, margen = 1000",
       [](TParque_ModeloTeorico& p) {
         p.grilla_rotada_dy = kNaN;
         p.PrepararDireccion(270, true);
       }},
      {"Parque Prueba: la grilla de 223 x 1000000000 celdas es demasiado grande",
       [](TParque_ModeloTeorico& p) {
         p.grilla_rotada_dy = 1e-6;
         p.PrepararDireccion(270, true);
       }},
      {"Parque Prueba, molino 1: el rotor de 80 m no cabe en el margen de la grilla de 30 m",
       [](TParque_ModeloTeorico& p) {
         p.grilla_rotada_margen_dx = 30;
         p.PrepararDireccion(270, true);
       }},
      {"Parque Prueba, molino 1: posición no válida",
       [](TParque_ModeloTeorico& p) {
         p.molinos[0]->posicion.dy = kNaN;
         p.PrepararDireccion(270, true);
       }},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.mensaje);
    auto p = Parque({{0, 0}});
    EXPECT_THAT([&] { c.accion(*p); }, ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
  }
  // A rotor of no size, and an authorised power that is not a number.
  auto sin_rotor = Parque({{0, 0}}, 10, 0);
  EXPECT_THAT(
      [&] { sin_rotor->PrepararDireccion(0, true); },
      ThrowsMessage<Excepcion>(StrEq("Parque Prueba, molino 1: diámetro de rotor no válido: 0")));
  EXPECT_THAT(
      [] {
        Parque({{0, 0}}, kNaN);
      },
      ThrowsMessage<Excepcion>(StrEq("Parque Prueba: potencia autorizada no válida: NAN")));
}

}  // namespace
