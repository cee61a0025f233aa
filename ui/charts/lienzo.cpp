#include "lienzo.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <system_error>

#include "errores.h"
#include "xmatdefs.h"

// The JPEG library needs FILE declared first.
#include <jpeglib.h>

#if defined(__SANITIZE_ADDRESS__)
#define VELTRA_CON_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELTRA_CON_ASAN 1
#endif
#endif

#ifdef VELTRA_CON_ASAN
// The font library keeps its configuration cache for the life of the process on purpose; every
// program that draws text would otherwise report it as a leak at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

struct TLienzo::TCairo {
  cairo_surface_t* superficie = nullptr;
  cairo_t* cr = nullptr;
  ~TCairo() {
    if (cr != nullptr) cairo_destroy(cr);
    if (superficie != nullptr) cairo_surface_destroy(superficie);
  }
};

namespace {

constexpr char kFuente[] = "DejaVu Sans";
// Beyond this many pixels outside the image nothing can show, whatever the pen width.
constexpr double kMargenGuarda = 256.0;

struct TPuntoR {
  double x;
  double y;
};

void FijarColor(cairo_t* cr, TColor c) {
  cairo_set_source_rgb(cr, RojoDe(c) / 255.0, VerdeDe(c) / 255.0, AzulDe(c) / 255.0);
}

// Liang-Barsky: cuts the segment to the box; false when nothing of it is inside.
bool RecortarSegmento(TPuntoR& a, TPuntoR& b, double xmin, double ymin, double xmax, double ymax) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - xmin, xmax - a.x, a.y - ymin, ymax - a.y};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double r = q[k] / p[k];
    if (p[k] < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  const TPuntoR a0 = a;
  a = {a0.x + t0 * dx, a0.y + t0 * dy};
  b = {a0.x + t1 * dx, a0.y + t1 * dy};
  return true;
}

// Sutherland-Hodgman against one edge of the box at a time.
template <typename Dentro, typename Corte>
std::vector<TPuntoR> RecortarContraBorde(const std::vector<TPuntoR>& entrada, Dentro dentro,
                                         Corte corte) {
  std::vector<TPuntoR> salida;
  if (entrada.empty()) return salida;
  TPuntoR previo = entrada.back();
  for (const TPuntoR& actual : entrada) {
    const bool dActual = dentro(actual);
    const bool dPrevio = dentro(previo);
    if (dActual) {
      if (!dPrevio) salida.push_back(corte(previo, actual));
      salida.push_back(actual);
    } else if (dPrevio) {
      salida.push_back(corte(previo, actual));
    }
    previo = actual;
  }
  return salida;
}

std::vector<TPuntoR> RecortarPoligono(std::vector<TPuntoR> pts, double xmin, double ymin,
                                      double xmax, double ymax) {
  auto cortaX = [](double x) {
    return [x](const TPuntoR& a, const TPuntoR& b) {
      const double t = (x - a.x) / (b.x - a.x);
      return TPuntoR{x, a.y + t * (b.y - a.y)};
    };
  };
  auto cortaY = [](double y) {
    return [y](const TPuntoR& a, const TPuntoR& b) {
      const double t = (y - a.y) / (b.y - a.y);
      return TPuntoR{a.x + t * (b.x - a.x), y};
    };
  };
  pts = RecortarContraBorde(
      pts, [&](const TPuntoR& p) { return p.x >= xmin; }, cortaX(xmin));
  pts = RecortarContraBorde(
      pts, [&](const TPuntoR& p) { return p.x <= xmax; }, cortaX(xmax));
  pts = RecortarContraBorde(
      pts, [&](const TPuntoR& p) { return p.y >= ymin; }, cortaY(ymin));
  pts = RecortarContraBorde(
      pts, [&](const TPuntoR& p) { return p.y <= ymax; }, cortaY(ymax));
  return pts;
}

cairo_status_t AcumularBytes(void* destino, const unsigned char* datos, unsigned int n) {
  auto* v = static_cast<std::vector<std::uint8_t>*>(destino);
  v->insert(v->end(), datos, datos + n);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::unique_ptr<TLienzo> TLienzo::Crear(int ancho, int alto) {
  if (ancho < 1 || alto < 1 || ancho > 32767 || alto > 32767) {
    throw Excepcion("Tamaño de imagen no válido: " + std::to_string(ancho) + " x " +
                    std::to_string(alto));
  }
  auto c = std::make_unique<TCairo>();
  c->superficie = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, ancho, alto);
  c->cr = cairo_create(c->superficie);
  if (cairo_status(c->cr) != CAIRO_STATUS_SUCCESS) {
    throw Excepcion("No se puede crear la imagen de " + std::to_string(ancho) + " x " +
                    std::to_string(alto));
  }
  // Crisp shapes, as a pixel canvas draws them; text keeps its own smoothing.
  cairo_set_antialias(c->cr, CAIRO_ANTIALIAS_NONE);
  cairo_select_font_face(c->cr, kFuente, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_source_rgb(c->cr, 1.0, 1.0, 1.0);
  cairo_paint(c->cr);
  std::unique_ptr<TLienzo> l(new TLienzo(ancho, alto, std::move(c)));
  l->LetraTamano(8);
  return l;
}

TLienzo::TLienzo(int ancho, int alto, std::unique_ptr<TCairo> cairo)
    : ancho_(ancho), alto_(alto), cairo_(std::move(cairo)) {}

TLienzo::~TLienzo() = default;

int TLienzo::Paso() const { return cairo_image_surface_get_stride(cairo_->superficie); }

const std::uint8_t* TLienzo::Datos() const {
  cairo_surface_flush(cairo_->superficie);
  return cairo_image_surface_get_data(cairo_->superficie);
}

void TLienzo::LetraTamano(int puntos) {
  letraTamano_ = puntos < 1 ? 1 : puntos;
  cairo_set_font_size(cairo_->cr, letraTamano_ * 96.0 / 72.0);
}

bool TLienzo::PlumaVisible() const { return plumaColor_ != ninguno; }

bool TLienzo::BrochaVisible() const { return brochaEstilo_ == bsSolido && brochaColor_ != ninguno; }

void TLienzo::AplicarPluma() {
  cairo_t* cr = cairo_->cr;
  FijarColor(cr, plumaColor_);
  const double w = plumaAncho_;
  cairo_set_line_width(cr, w);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (plumaEstilo_ == psRayado) {
    const double d[2] = {6.0 * w, 3.0 * w};
    cairo_set_dash(cr, d, 2, 0.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  } else if (plumaEstilo_ == psPunteado) {
    const double d[2] = {2.0 * w, 2.0 * w};
    cairo_set_dash(cr, d, 2, 0.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_set_line_cap(cr, w > 1.0 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_SQUARE);
  }
}

// Fills and strokes the current path, then clears it.
void TLienzo::Trazar(bool rellenar, bool contornear) {
  cairo_t* cr = cairo_->cr;
  if (rellenar && BrochaVisible()) {
    FijarColor(cr, brochaColor_);
    if (contornear && PlumaVisible()) {
      cairo_fill_preserve(cr);
    } else {
      cairo_fill(cr);
    }
  }
  if (contornear && PlumaVisible()) {
    AplicarPluma();
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
}

namespace {

// A pen of odd width sits on pixel centres.
double Desfase(int ancho) { return ancho % 2 == 1 ? 0.5 : 0.0; }

// Keeps integer coordinates within the range the rasteriser handles; for axis-aligned boxes this
// changes nothing that shows.
double Acotar(int v, int limite) {
  return std::clamp(static_cast<double>(v), -kMargenGuarda, limite + kMargenGuarda);
}

}  // namespace

void TLienzo::Rectangulo(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  cairo_t* cr = cairo_->cr;
  const double l = Acotar(x1, ancho_);
  const double t = Acotar(y1, alto_);
  const double r = Acotar(x2, ancho_);
  const double b = Acotar(y2, alto_);
  if (BrochaVisible() && r > l && b > t) {
    cairo_rectangle(cr, l, t, r - l, b - t);
    Trazar(true, false);
  }
  if (PlumaVisible()) {
    // The outline runs over the first and last pixel rows and columns of the box; a box of no
    // width is a line.
    const double o = Desfase(plumaAncho_);
    const double ol = l + o;
    const double ot = t + o;
    const double orr = std::max(ol, r - 1.0 + o);
    const double ob = std::max(ot, b - 1.0 + o);
    cairo_rectangle(cr, ol, ot, orr - ol, ob - ot);
    Trazar(false, true);
  }
}

void TLienzo::RellenarRect(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const double l = Acotar(x1, ancho_);
  const double t = Acotar(y1, alto_);
  const double r = Acotar(x2, ancho_);
  const double b = Acotar(y2, alto_);
  if (r <= l || b <= t) return;
  cairo_rectangle(cairo_->cr, l, t, r - l, b - t);
  Trazar(true, false);
}

void TLienzo::Elipse(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const double l = Acotar(x1, ancho_);
  const double t = Acotar(y1, alto_);
  const double r = Acotar(x2, ancho_);
  const double b = Acotar(y2, alto_);
  const double o = 0.5;
  const double rx = std::max(0.0, (r - l - 1.0) * 0.5);
  const double ry = std::max(0.0, (b - t - 1.0) * 0.5);
  if (rx <= 0.0 || ry <= 0.0) {
    Linea(x1, y1, std::max(x1, x2 - 1), std::max(y1, y2 - 1));
    return;
  }
  cairo_t* cr = cairo_->cr;
  cairo_save(cr);
  cairo_translate(cr, l + o + rx, t + o + ry);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
  cairo_restore(cr);
  Trazar(true, true);
}

void TLienzo::Poligono(const std::vector<TPunto>& puntos) {
  if (puntos.size() < 2) return;
  const double o = Desfase(plumaAncho_);
  std::vector<TPuntoR> pts;
  pts.reserve(puntos.size());
  for (const TPunto& p : puntos) pts.push_back({p.x + o, p.y + o});
  pts = RecortarPoligono(std::move(pts), -kMargenGuarda, -kMargenGuarda, ancho_ + kMargenGuarda,
                         alto_ + kMargenGuarda);
  if (pts.size() < 2) return;
  cairo_t* cr = cairo_->cr;
  cairo_move_to(cr, pts[0].x, pts[0].y);
  for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x, pts[i].y);
  cairo_close_path(cr);
  Trazar(true, true);
}

void TLienzo::MoverA(int x, int y) { posicion_ = {x, y}; }

void TLienzo::LineaA(int x, int y) {
  Linea(posicion_.x, posicion_.y, x, y);
  posicion_ = {x, y};
}

void TLienzo::Linea(int x1, int y1, int x2, int y2) {
  if (!PlumaVisible()) return;
  const double o = Desfase(plumaAncho_);
  TPuntoR a{x1 + o, y1 + o};
  TPuntoR b{x2 + o, y2 + o};
  if (!RecortarSegmento(a, b, -kMargenGuarda, -kMargenGuarda, ancho_ + kMargenGuarda,
                        alto_ + kMargenGuarda)) {
    return;
  }
  cairo_t* cr = cairo_->cr;
  cairo_move_to(cr, a.x, a.y);
  cairo_line_to(cr, b.x, b.y);
  Trazar(false, true);
}

void TLienzo::Pixel(int x, int y, TColor c) {
  if (x < 0 || y < 0 || x >= ancho_ || y >= alto_ || c == ninguno) return;
  cairo_surface_flush(cairo_->superficie);
  unsigned char* fila =
      cairo_image_surface_get_data(cairo_->superficie) + static_cast<std::ptrdiff_t>(y) * Paso();
  const std::uint32_t argb = 0xFF000000u | (static_cast<std::uint32_t>(RojoDe(c)) << 16) |
                             (static_cast<std::uint32_t>(VerdeDe(c)) << 8) | AzulDe(c);
  std::memcpy(fila + static_cast<std::ptrdiff_t>(x) * 4, &argb, 4);
  cairo_surface_mark_dirty_rectangle(cairo_->superficie, x, y, 1, 1);
}

TColor TLienzo::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= ancho_ || y >= alto_) return ninguno;
  const std::uint8_t* fila = Datos() + static_cast<std::ptrdiff_t>(y) * Paso();
  std::uint32_t argb = 0;
  std::memcpy(&argb, fila + static_cast<std::ptrdiff_t>(x) * 4, 4);
  return ColorRGB(static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                  static_cast<std::uint8_t>(argb));
}

void TLienzo::Recortar(int x1, int y1, int x2, int y2) {
  cairo_t* cr = cairo_->cr;
  cairo_reset_clip(cr);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const double l = Acotar(x1, ancho_);
  const double t = Acotar(y1, alto_);
  cairo_rectangle(cr, l, t, Acotar(x2, ancho_) - l, Acotar(y2, alto_) - t);
  cairo_clip(cr);
}

void TLienzo::Texto(int x, int y, const std::string& texto) {
  if (texto.empty()) return;
  // A text placed this far away cannot reach the image.
  constexpr int kLejos = 1 << 20;
  if (x < -kLejos || x > kLejos || y < -kLejos || y > kLejos) return;
  cairo_t* cr = cairo_->cr;
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_text_extents_t te;
  cairo_text_extents(cr, texto.c_str(), &te);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, -letraOrientacion_ * std::numbers::pi / 1800.0);
  if (BrochaVisible()) {
    FijarColor(cr, brochaColor_);
    cairo_rectangle(cr, 0.0, 0.0, AnchoTexto(texto), AltoTexto(texto));
    cairo_fill(cr);
  }
  FijarColor(cr, letraColor_);
  cairo_move_to(cr, 0.0, fe.ascent);
  cairo_show_text(cr, texto.c_str());
  cairo_new_path(cr);
  cairo_restore(cr);
}

int TLienzo::AnchoTexto(const std::string& texto) {
  if (texto.empty()) return 0;
  cairo_text_extents_t te;
  cairo_text_extents(cairo_->cr, texto.c_str(), &te);
  return CeilToInt(te.x_advance);
}

int TLienzo::AltoTexto(const std::string& /*texto*/) {
  // The cell height of the font, whatever the text, so rows line up.
  cairo_font_extents_t fe;
  cairo_font_extents(cairo_->cr, &fe);
  return CeilToInt(fe.ascent + fe.descent);
}

void TLienzo::GuardarJPG(const std::filesystem::path& ruta, int calidad) const {
  EscribirArchivoAtomico(ruta, CodificarJPEG(Datos(), ancho_, alto_, Paso(), calidad));
}

void TLienzo::GuardarPNG(const std::filesystem::path& ruta) const {
  std::vector<std::uint8_t> bytes;
  cairo_surface_flush(cairo_->superficie);
  if (cairo_surface_write_to_png_stream(cairo_->superficie, AcumularBytes, &bytes) !=
      CAIRO_STATUS_SUCCESS) {
    throw ExcepcionES("Error escribiendo el archivo: " + ruta.generic_string());
  }
  EscribirArchivoAtomico(ruta, bytes);
}

void EscribirArchivoAtomico(const std::filesystem::path& ruta,
                            const std::vector<std::uint8_t>& bytes) {
  const std::string mensaje = "Error escribiendo el archivo: " + ruta.generic_string();
  if (!ruta.has_filename()) throw ExcepcionES(mensaje);
  std::filesystem::path temporal = ruta;
  temporal += ".tmp";
  std::FILE* f = std::fopen(temporal.c_str(), "wb");
  if (f == nullptr) throw ExcepcionES(mensaje);
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  std::error_code ec;
  if (ok) std::filesystem::rename(temporal, ruta, ec);
  if (!ok || ec) {
    std::filesystem::remove(temporal, ec);
    throw ExcepcionES(mensaje);
  }
}

namespace {

struct TErrorJPEG {
  jpeg_error_mgr base;
  std::jmp_buf salto;
};

[[noreturn]] void SalidaErrorJPEG(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TErrorJPEG*>(info->err)->salto, 1);
}

void SinMensajesJPEG(j_common_ptr /*info*/) {}

// Only plain data lives in this frame, so the jump out of the encoder skips no destructor.
bool ComprimirJPEG(const std::uint8_t* datos, int ancho, int alto, int paso, int calidad,
                   std::uint8_t* fila, unsigned char** salida, unsigned long* tamano) {
  jpeg_compress_struct info;
  TErrorJPEG error;
  info.err = jpeg_std_error(&error.base);
  error.base.error_exit = SalidaErrorJPEG;
  error.base.output_message = SinMensajesJPEG;
  if (setjmp(error.salto) != 0) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, salida, tamano);
  info.image_width = static_cast<JDIMENSION>(ancho);
  info.image_height = static_cast<JDIMENSION>(alto);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, calidad, TRUE);
  // Full colour resolution: thin coloured lines and markers stay sharp.
  info.comp_info[0].h_samp_factor = 1;
  info.comp_info[0].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const std::uint8_t* origen = datos + static_cast<std::ptrdiff_t>(info.next_scanline) * paso;
    for (int x = 0; x < ancho; ++x) {
      std::uint32_t argb = 0;
      std::memcpy(&argb, origen + static_cast<std::ptrdiff_t>(x) * 4, 4);
      fila[3 * x] = static_cast<std::uint8_t>(argb >> 16);
      fila[3 * x + 1] = static_cast<std::uint8_t>(argb >> 8);
      fila[3 * x + 2] = static_cast<std::uint8_t>(argb);
    }
    JSAMPROW filas[1] = {fila};
    jpeg_write_scanlines(&info, filas, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> CodificarJPEG(const std::uint8_t* datos, int ancho, int alto, int paso,
                                        int calidad) {
  std::vector<std::uint8_t> fila(static_cast<std::size_t>(ancho) * 3);
  unsigned char* salida = nullptr;
  unsigned long tamano = 0;
  const bool ok = ComprimirJPEG(datos, ancho, alto, paso, std::clamp(calidad, 0, 100), fila.data(),
                                &salida, &tamano);
  std::vector<std::uint8_t> bytes;
  if (ok && salida != nullptr) bytes.assign(salida, salida + tamano);
  std::free(salida);
  if (!ok) throw Excepcion("Error codificando la imagen JPEG");
  return bytes;
}
