#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Colours are 0x00BBGGRR (red in the low byte).
using TColor = std::uint32_t;

// The absence of a colour: a pen or brush with it draws nothing, a text background is transparent.
inline constexpr TColor ninguno = 0x1FFFFFFF;

[[nodiscard]] constexpr TColor ColorRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
[[nodiscard]] constexpr std::uint8_t RojoDe(TColor c) { return static_cast<std::uint8_t>(c); }
[[nodiscard]] constexpr std::uint8_t VerdeDe(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
[[nodiscard]] constexpr std::uint8_t AzulDe(TColor c) { return static_cast<std::uint8_t>(c >> 16); }

inline constexpr TColor kNegro = ColorRGB(0, 0, 0);
inline constexpr TColor kBlanco = ColorRGB(255, 255, 255);

// Pixel sums saturate instead of overflowing: a clamped offset may be 2^31 - 1 already.
[[nodiscard]] constexpr int Saturar(std::int64_t v) {
  return static_cast<int>(v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : v));
}

// Pen styles: 0 solid, 1 dashed, 2 dotted. Brush styles: 0 solid, 1 clear.
inline constexpr int psSolido = 0;
inline constexpr int psRayado = 1;
inline constexpr int psPunteado = 2;
inline constexpr int bsSolido = 0;
inline constexpr int bsVacio = 1;

struct TPunto {
  int x = 0;
  int y = 0;
};

// Raster canvas over an off-screen ARGB32 image. Coordinates are integer pixels with the origin at
// the top left; rectangles and ellipses take their bounding box with the right and bottom edges
// excluded, as the charts expect. Pen, brush and font are current state, like a drawing context.
// Coordinates far outside the image are clipped before they reach the rasteriser, whose fixed
// point range is far smaller than the 32-bit pixel range the charts may produce.
class TLienzo {
 public:
  // A white image of ancho x alto pixels. Raises Excepcion for a size the rasteriser cannot hold.
  static std::unique_ptr<TLienzo> Crear(int ancho, int alto);
  ~TLienzo();
  TLienzo(const TLienzo&) = delete;
  TLienzo& operator=(const TLienzo&) = delete;

  [[nodiscard]] int Ancho() const { return ancho_; }
  [[nodiscard]] int Alto() const { return alto_; }
  // The pixels, for whoever shows the image: rows of Paso() bytes, each pixel a native-endian
  // 32-bit 0xAARRGGBB word (always opaque here).
  [[nodiscard]] int Paso() const;
  [[nodiscard]] const std::uint8_t* Datos() const;

  // Pen
  void PlumaColor(TColor c) { plumaColor_ = c; }
  void PlumaAncho(int ancho) { plumaAncho_ = ancho < 1 ? 1 : ancho; }
  void PlumaEstilo(int estilo) { plumaEstilo_ = estilo; }
  [[nodiscard]] TColor PlumaColor() const { return plumaColor_; }
  [[nodiscard]] int PlumaAncho() const { return plumaAncho_; }

  // Brush
  void BrochaColor(TColor c) { brochaColor_ = c; }
  void BrochaEstilo(int estilo) { brochaEstilo_ = estilo; }
  [[nodiscard]] TColor BrochaColor() const { return brochaColor_; }

  // Font: size in points (96 pixels per inch), orientation in tenths of a degree counter-clockwise.
  void LetraTamano(int puntos);
  void LetraOrientacion(int decimas) { letraOrientacion_ = decimas; }
  void LetraColor(TColor c) { letraColor_ = c; }
  [[nodiscard]] int LetraTamano() const { return letraTamano_; }

  // Filled with the brush and outlined with the pen, inside the box.
  void Rectangulo(int x1, int y1, int x2, int y2);
  // Filled with the brush only.
  void RellenarRect(int x1, int y1, int x2, int y2);
  void Elipse(int x1, int y1, int x2, int y2);
  void Poligono(const std::vector<TPunto>& puntos);
  void MoverA(int x, int y);
  void LineaA(int x, int y);
  void Linea(int x1, int y1, int x2, int y2);

  void Pixel(int x, int y, TColor c);
  [[nodiscard]] TColor Pixel(int x, int y) const;

  // Drawing is limited to the rectangle (right and bottom excluded) until the next call.
  void Recortar(int x1, int y1, int x2, int y2);

  // The text's cell has its top left corner at (x, y) before rotation; its background is the
  // brush colour when the brush is solid and has a colour, otherwise transparent.
  void Texto(int x, int y, const std::string& texto);
  [[nodiscard]] int AnchoTexto(const std::string& texto);
  [[nodiscard]] int AltoTexto(const std::string& texto);

  // Replace the file only when the whole image was written; raise ExcepcionES naming the path.
  void GuardarJPG(const std::filesystem::path& ruta, int calidad) const;
  void GuardarPNG(const std::filesystem::path& ruta) const;

 private:
  struct TCairo;
  TLienzo(int ancho, int alto, std::unique_ptr<TCairo> cairo);
  void Trazar(bool rellenar, bool contornear);
  void AplicarPluma();
  void AplicarFuente();
  [[nodiscard]] bool PlumaVisible() const;
  [[nodiscard]] bool BrochaVisible() const;

  int ancho_;
  int alto_;
  std::unique_ptr<TCairo> cairo_;
  TColor plumaColor_ = 0;
  int plumaAncho_ = 1;
  int plumaEstilo_ = psSolido;
  TColor brochaColor_ = ColorRGB(255, 255, 255);
  int brochaEstilo_ = bsSolido;
  int letraTamano_ = 8;
  int letraOrientacion_ = 0;
  TColor letraColor_ = 0;
  TPunto posicion_;
};

// JPEG bytes of an ARGB32 image at the given quality (0..100).
std::vector<std::uint8_t> CodificarJPEG(const std::uint8_t* datos, int ancho, int alto, int paso,
                                        int calidad);

// Writes the bytes to a temporary file beside the target and renames it over the target, so a
// failure leaves neither a half-written file nor a damaged old one. Raises ExcepcionES.
void EscribirArchivoAtomico(const std::filesystem::path& ruta,
                            const std::vector<std::uint8_t>& bytes);
