#include "umapaparque.h"

#include <cstdint>

#include "errores.h"
#include "numtext.h"
#include "uescalacolores.h"

namespace {

constexpr std::int64_t kMaximoRegion = 32767;

}  // namespace

void VelocidadesMT_To_PB(TParque_ModeloTeorico* modelo, TLienzo& pb) {
  const int W = pb.Ancho();
  const int H = pb.Alto();
  if (modelo == nullptr || W <= 0 || H <= kAltoBarraColores) return;
  // 1.
  const TEscalaColor escala(kVelocidadMinimaMapa, kVelocidadMaximaMapa);
  // 3.
  modelo->AjustarVista(0, kAltoBarraColores, W, H);
  // 4.
  pb.BrochaEstilo(bsSolido);
  pb.BrochaColor(kBlanco);
  pb.RellenarRect(0, 0, W, H);
  // 5. colour bar.
  const NReal rango = kVelocidadMaximaMapa - kVelocidadMinimaMapa;
  for (int i = 0; i < W; ++i) {
    const TColor c = escala.Color(kVelocidadMinimaMapa + rango * i / W);
    for (int j = 0; j < kAltoBarraColores; ++j) pb.Pixel(i, j, c);
  }
  // 6. ticks at 5..9 m/s; the texts sit on the brush colour, as after the white fill.
  pb.LetraColor(kNegro);
  pb.LetraOrientacion(0);
  for (int k = 1; k <= 5; ++k) {
    const int x = TruncToInt(static_cast<NReal>(W) * k / 6);
    for (int j = 0; j < kAltoBarraColores; ++j) pb.Pixel(x, j, kNegro);
    pb.Texto(x + 2, 0, RealAGeneral(Nint((k + kVelocidadMinimaMapa) * 10) / 10));
  }
  // 7.
  pb.Texto(0, 0, "4");
  pb.Texto(0, 15, "Vel (m/s)");
  pb.Texto(W - 13, 0, "10");
  // 8. the field, only where the model holds a grid.
  if (modelo->DireccionPreparada()) {
    for (int px = 0; px < W; ++px) {
      for (int py = kAltoBarraColores; py < H; ++py) {
        const NReal v = VelocidadDePV3(modelo->PV3EnPixel(px, py), DensidadEstandar);
        if (v > 0) pb.Pixel(px, py, escala.Color(v));
      }
    }
  }
  // 9. the station.
  std::int32_t ax = 0;
  std::int32_t ay = 0;
  modelo->MundoAPixel(0, 0, ax, ay);
  pb.Texto(ax, ay, "(A)");
}

std::unique_ptr<TLienzo> DibujarMapaParque(TParque_ModeloTeorico& modelo, int ancho, int alto) {
  auto lienzo = TLienzo::Crear(ancho, alto);
  VelocidadesMT_To_PB(&modelo, *lienzo);
  return lienzo;
}

std::unique_ptr<TLienzo> CopiarRegion(const TLienzo& origen, int x1, int y1, int x2, int y2) {
  // In 64 bits: the corners come from arbitrary world positions.
  const std::int64_t ancho64 = std::int64_t{x2} - x1 + 1;
  const std::int64_t alto64 = std::int64_t{y2} - y1 + 1;
  if (ancho64 <= 0 || alto64 <= 0) return nullptr;
  if (ancho64 > kMaximoRegion || alto64 > kMaximoRegion) {
    throw Excepcion("Región demasiado grande para copiar: " + IntATexto(ancho64) + " x " +
                    IntATexto(alto64));
  }
  const int ancho = static_cast<int>(ancho64);
  const int alto = static_cast<int>(alto64);
  auto copia = TLienzo::Crear(ancho, alto);
  for (int y = 0; y < alto; ++y) {
    for (int x = 0; x < ancho; ++x) copia->Pixel(x, y, origen.Pixel(x1 + x, y1 + y));
  }
  return copia;
}
