#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "ugraficador.h"

namespace {

// Power against wind speed as an engineer reads it: a farm's theoretical curve and its measured
// 10-minute samples, with the rated speed marked.
std::unique_ptr<TGrafico> GraficoPotenciaViento() {
  auto g = TGrafico::Crear("ejemplo", tgLineasYMarcas, 0);
  g->titulo = "Central de ejemplo: potencia frente a velocidad del viento";
  g->ejeX->titulo = "Velocidad del viento [m/s]";
  g->ejeY->titulo = "Potencia [MW]";

  TDAofNReal vCurva;
  TDAofNReal pCurva;
  for (int i = 0; i <= 50; ++i) {
    const NReal v = i * 0.5;
    vCurva.push_back(v);
    pCurva.push_back(48.0 / (1.0 + std::exp(-(v - 8.5) / 1.3)));
  }
  TDAofNReal vMuestras;
  TDAofNReal pMuestras;
  for (int i = 0; i < 400; ++i) {
    // A fixed pseudo-random scatter around the curve (no generator state: reproducible).
    const NReal u = std::fmod(i * 0.618033988749895, 1.0);
    const NReal w = std::fmod(i * 0.414213562373095, 1.0);
    const NReal v = 1.0 + 22.0 * u;
    const NReal p = 48.0 / (1.0 + std::exp(-(v - 8.5) / 1.3)) * (0.85 + 0.2 * w);
    vMuestras.push_back(v);
    pMuestras.push_back(std::min(p, 48.5));
  }

  auto* xCurva = g->AgregarSerie(
      TSerieGrafico::Crear("v", std::move(vCurva), nullptr, nullptr, "##.##", true));
  auto* xMuestras = g->AgregarSerie(
      TSerieGrafico::Crear("v", std::move(vMuestras), nullptr, nullptr, "##.##", true));

  auto* muestras = g->AgregarSerie(
      TSerieGrafico::Crear("PE medida", std::move(pMuestras), xMuestras, g.get(), "", false));
  muestras->colorLinea = ninguno;
  muestras->colorMarca = ColorRGB(0, 128, 0);
  muestras->tamMarca = 2;
  auto* curva =
      g->AgregarSerie(TSerieGrafico::Crear("MW_MT", std::move(pCurva), xCurva, g.get(), "", false));
  curva->colorLinea = ColorRGB(0, 0, 255);
  curva->colorMarca = ColorRGB(0, 0, 255);
  curva->anchoLinea = 2;

  g->AgregarCaja(TCajaGraficoXY::Crear("", 12.5, 0, 12.5 + 5e-6, 50));
  auto* nota = g->AgregarCaja(TCajaGraficoXY::Crear("Potencia nominal", 15, 44, 21, 47));
  nota->colorRelleno = ColorRGB(255, 255, 224);
  return g;
}

}  // namespace

// Draws the documentation chart; VELTRA_GRAFICO_EJEMPLO names where to put the PNG.
TEST(GraficoEjemplo, SeDibujaEntero) {
  auto g = GraficoPotenciaViento();
  auto l = TLienzo::Crear(2100, 1000);
  g->Dibujar(*l, 2100, 1000);
  EXPECT_EQ(g->series.size(), 2u);
  EXPECT_EQ(g->seriesX.size(), 2u);
  if (const char* destino = std::getenv("VELTRA_GRAFICO_EJEMPLO")) l->GuardarPNG(destino);
}
