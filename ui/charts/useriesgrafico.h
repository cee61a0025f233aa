#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lienzo.h"
#include "xmatdefs.h"

class TGrafico;

// Drawing kinds of a series.
inline constexpr std::uint8_t tgNoPintada = 0;
inline constexpr std::uint8_t tgAreasApiladas = 1;
inline constexpr std::uint8_t tgLineasYMarcas = 2;
inline constexpr std::uint8_t tgBarras = 3;
inline constexpr std::uint8_t tgBandasPorcentaje = 4;

// Marker shapes.
inline constexpr std::uint8_t mcCirculo = 0;
inline constexpr std::uint8_t mcCuadrado = 1;
inline constexpr std::uint8_t mcRombo = 2;
inline constexpr std::uint8_t mcMas = 3;
inline constexpr std::uint8_t mcCruz = 4;

// A named array of values: an abscissa series that supplies x values (rol 1), or an ordinate
// series that is drawn (rol 2 when created with an abscissa series, 0 without one).
class TSerieGrafico {
 public:
  // With a chart the series takes the chart's next palette colour, next marker shape and its
  // default kind; abscissa series are created without a chart so they consume neither.
  static std::unique_ptr<TSerieGrafico> Crear(const std::string& nombre, TDAofNReal valores,
                                              TSerieGrafico* serieX, TGrafico* grafico,
                                              const std::string& formato, bool abscisa);

  std::string nombre;
  TColor colorRelleno = 0;
  TColor colorLinea = 0;
  TColor colorMarcaRelleno = 0;
  TColor colorMarca = 0;
  std::uint8_t marca = mcMas;
  std::uint8_t tipo = tgNoPintada;
  std::uint8_t rol = 0;
  TDAofNReal valores;
  std::int32_t tamMarca = 3;
  std::int32_t anchoLinea = 1;
  std::vector<std::string> etiquetas;
  TSerieGrafico* serieX = nullptr;  // not owned: the chart owns its abscissa series
  bool ejeDerecho = false;
  std::string formato;
};

// A rectangle in data coordinates with an optional centred text.
class TCajaGraficoXY {
 public:
  static std::unique_ptr<TCajaGraficoXY> Crear(const std::string& texto, NReal x1, NReal y1,
                                               NReal x2, NReal y2);

  NReal x1 = 0;
  NReal y1 = 0;
  NReal x2 = 0;
  NReal y2 = 0;
  std::string texto;
  TColor colorRelleno = ninguno;
  TColor colorBorde = 0;
  TColor colorTexto = 0;
  bool ejeDerecho = false;
  std::int32_t estiloBorde = psSolido;
  std::int32_t estiloRelleno = bsSolido;
};

// Draws one marker of the given half-size centred at (x, y) with the canvas' pen and brush.
void DibujarMarca(TLienzo& lienzo, int x, int y, int s, std::uint8_t forma);

// Painters of the plot area; each takes the series of one kind on one side, in insertion order.
void PintarLineas(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista);
void PintarMarcas(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista);
void PintarBarras(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista);
void PintarAreasApiladas(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista);
void PintarBandasPorcentaje(TGrafico& g, TLienzo& l, const std::vector<TSerieGrafico*>& lista);
void PintarCaja(TGrafico& g, TLienzo& l, const TCajaGraficoXY& caja);
// Label passes run after both sides are painted.
void EtiquetarBarras(TGrafico& g, TLienzo& l);
void EtiquetarBandas(TGrafico& g, TLienzo& l);

// Widens [bajo, alto] with the running sums of the stacked series (the range starts at 0..0 when
// hayRango is false).
void RangoApiladas(const std::vector<TSerieGrafico*>& lista, NReal& bajo, NReal& alto,
                   bool& hayRango);
