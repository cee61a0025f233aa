#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "lienzo.h"
#include "useriesgrafico.h"
#include "xmatdefs.h"

// Tick label kinds.
inline constexpr std::uint8_t teNumero = 0;
inline constexpr std::uint8_t teEntero = 1;
inline constexpr std::uint8_t teFecha = 2;

// Number formats of kind 0.
inline constexpr std::int32_t ffGeneral = 0;
inline constexpr std::int32_t ffExponente = 1;
inline constexpr std::int32_t ffFijo = 2;

// One axis: its data range, its ends (nice or fixed), its ticks and their labels.
class TEjeGrafico {
 public:
  static std::unique_ptr<TEjeGrafico> Crear(const std::string& titulo);
  explicit TEjeGrafico(std::string titulo_) : titulo(std::move(titulo_)) {}

  void SetMin(NReal v);
  void SetMax(NReal v);
  // Scales [bajo, alto] and returns the ends in use.
  void FijarRango(NReal& bajo, NReal& alto);
  [[nodiscard]] std::string EtiquetaTick(int i) const;

  // Nice-number scaling: steps of 1, 2 or 5 times a power of ten. Expanding takes the smallest
  // such step not below (alto - bajo) / divisiones and widens the ends to multiples of it;
  // otherwise the largest step not above and the ends shrink. divisiones returns the count.
  static void EscalaRedondeada(NReal& bajo, NReal& alto, NReal& paso, bool expandir,
                               std::int32_t& divisiones);

  std::string titulo;
  NReal rangoBajo = 0;
  NReal rangoAlto = 0;
  NReal minUsuario = 0;
  NReal maxUsuario = 0;
  NReal redondeadoBajo = 0;
  NReal redondeadoAlto = 0;
  NReal minUsado = 0;
  NReal maxUsado = 0;
  bool autoMin = true;
  bool autoMax = true;
  NReal primero = 0;
  NReal paso = 1.0;
  std::int32_t nDiv = 10;
  std::int32_t nDivFijo = 0;
  bool autoDiv = true;
  bool grilla = true;
  bool etiquetasVerticales = true;
  std::uint8_t tipoEtiqueta = teNumero;
  std::int32_t formatoNum = ffFijo;
  std::int32_t precision = 12;
  std::int32_t decimales = 2;
  std::string formatoFecha = "yyyy/mm/dd hh:mm";
};

// The palette SiguienteColor walks through.
inline constexpr std::array<TColor, 15> kPaletaGrafico = {
    ColorRGB(0, 0, 0),       ColorRGB(128, 0, 0),   ColorRGB(0, 128, 0),   ColorRGB(128, 128, 0),
    ColorRGB(0, 0, 128),     ColorRGB(128, 0, 128), ColorRGB(0, 128, 128), ColorRGB(128, 128, 128),
    ColorRGB(192, 192, 192), ColorRGB(255, 0, 0),   ColorRGB(0, 255, 0),   ColorRGB(255, 255, 0),
    ColorRGB(0, 0, 255),     ColorRGB(255, 0, 255), ColorRGB(0, 255, 255)};

// Pixel offset of a value: truncated toward zero and held within the 32-bit range (NaN gives 0).
[[nodiscard]] std::int32_t ClampPixel(NReal t);

// An XY chart: three axes, abscissa and ordinate series and annotation boxes, drawn on any canvas
// and saved as JPEG.
class TGrafico {
 public:
  static std::unique_ptr<TGrafico> Crear(const std::string& nombre, std::uint8_t tipoDefecto,
                                         std::int32_t logo);
  TGrafico(std::string nombre, std::uint8_t tipoDefecto, std::int32_t logo);
  virtual ~TGrafico() = default;
  TGrafico(const TGrafico&) = delete;
  TGrafico& operator=(const TGrafico&) = delete;

  // Takes ownership; returns the series for further set-up.
  TSerieGrafico* AgregarSerie(std::unique_ptr<TSerieGrafico> serie);
  TCajaGraficoXY* AgregarCaja(std::unique_ptr<TCajaGraficoXY> caja);
  TColor SiguienteColor();
  std::uint8_t SiguienteMarca();

  virtual void Dibujar(TLienzo& lienzo, int ancho, int alto);
  // Draws on an off-screen image of ancho x alto pixels and writes it as a JPEG file.
  void GuardarJPG(const std::filesystem::path& archivo, int ancho, int calidad, int alto);

  // Pixel mapping over the plot rectangle of the last drawing.
  [[nodiscard]] int XPixel(NReal v) const;
  [[nodiscard]] int YPixel(NReal v) const;
  [[nodiscard]] int Y2Pixel(NReal v) const;
  [[nodiscard]] int YPixelEje(NReal v, bool derecho) const {
    return derecho ? Y2Pixel(v) : YPixel(v);
  }

  std::string nombre;
  std::string titulo;
  std::unique_ptr<TEjeGrafico> ejeX;
  std::unique_ptr<TEjeGrafico> ejeY;
  std::unique_ptr<TEjeGrafico> ejeY2;
  std::vector<std::unique_ptr<TSerieGrafico>> series;
  std::vector<std::unique_ptr<TSerieGrafico>> seriesX;
  std::vector<std::unique_ptr<TCajaGraficoXY>> cajas;
  std::uint8_t tipoDefecto;
  std::int32_t tamanoLetra = 14;
  std::int32_t logo;
  std::int32_t iColor = 0;
  std::int32_t iMarca = 0;

  // Drawing state of the last drawing.
  int anchoDibujo = 0;
  int altoDibujo = 0;
  int izquierda = 0;
  int arriba = 0;
  int derecha = 0;
  int abajo = 0;
  NReal xBajo = 0, xAlto = 0;
  NReal yBajo = 0, yAlto = 0;
  NReal y2Bajo = 0, y2Alto = 0;
  NReal escalaX = 0, escalaY = 0, escalaY2 = 0;
  bool hayRangoY = false;
  bool hayRangoY2 = false;
  int mx = 0, my = 0;
  int alturaTitulo = 0;
  int alturaTituloX = 0;
  int alturaTituloY = 0;
  int extensionEtiquetasX = 0;
  int anchoLeyenda = 0;
  int marcaMayor = 0;
  int anchoEtiquetasBanda = 0;
  int altoFilaLeyenda = 0;
  int anchoEtiquetasY = 0;
  int anchoEtiquetasY2 = 0;
  // Kept between painting and the label passes.
  std::vector<int> centrosBarras;
  std::vector<int> centrosBandas;

 private:
  void CalcularRangos(std::array<std::array<std::vector<TSerieGrafico*>, 5>, 2>& listas);
  void CalcularMedidas(TLienzo& l, bool hayBandas);
  void CalcularRectangulo(TLienzo& l, int ancho, int alto);
  void DibujarLeyenda(TLienzo& l, int ancho);
  void DibujarEtiquetasEjes(TLienzo& l);
  void DibujarTitulosEjes(TLienzo& l, int ancho, int alto);
  void DibujarGrilla(TLienzo& l);
};
