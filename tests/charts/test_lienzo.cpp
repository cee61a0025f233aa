#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "errores.h"
#include "lienzo.h"

namespace fs = std::filesystem;

namespace {

constexpr TColor kRojo = ColorRGB(255, 0, 0);
constexpr TColor kAzul = ColorRGB(0, 0, 255);

fs::path CarpetaTemporal(const std::string& nombre) {
  const fs::path p =
      fs::temp_directory_path() / ("veltra_charts_" + nombre + "_" + std::to_string(getpid()));
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

}  // namespace

TEST(TLienzo, ColoresEnOrdenBGR) {
  EXPECT_EQ(ColorRGB(0x12, 0x34, 0x56), 0x00563412u);
  EXPECT_EQ(RojoDe(0x00563412u), 0x12);
  EXPECT_EQ(AzulDe(0x00563412u), 0x56);
}

TEST(TLienzo, RectanguloExcluyeBordeDerechoEInferior) {
  auto l = TLienzo::Crear(40, 30);
  l->BrochaColor(kAzul);
  l->PlumaColor(kRojo);
  l->Rectangulo(10, 5, 20, 15);
  EXPECT_EQ(l->Pixel(10, 5), kRojo);     // outline on the first column and row
  EXPECT_EQ(l->Pixel(19, 14), kRojo);    // and on the last ones inside the box
  EXPECT_EQ(l->Pixel(15, 10), kAzul);    // filled with the brush
  EXPECT_EQ(l->Pixel(20, 10), kBlanco);  // right edge excluded
  EXPECT_EQ(l->Pixel(15, 15), kBlanco);  // bottom edge excluded
}

TEST(TLienzo, NingunoYBrochaVaciaNoPintan) {
  auto l = TLienzo::Crear(40, 30);
  l->PlumaColor(ninguno);
  l->BrochaColor(kAzul);
  l->BrochaEstilo(bsVacio);
  l->Rectangulo(0, 0, 40, 30);
  l->Linea(0, 10, 39, 10);
  l->BrochaColor(ninguno);
  l->BrochaEstilo(bsSolido);
  l->RellenarRect(0, 0, 40, 30);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(l->Pixel(x, 10), kBlanco) << x;
}

TEST(TLienzo, RecorteLimitaElDibujo) {
  auto l = TLienzo::Crear(40, 30);
  l->Recortar(10, 10, 20, 20);
  l->BrochaColor(kAzul);
  l->RellenarRect(0, 0, 40, 30);
  EXPECT_EQ(l->Pixel(9, 15), kBlanco);
  EXPECT_EQ(l->Pixel(10, 15), kAzul);
  EXPECT_EQ(l->Pixel(19, 19), kAzul);
  EXPECT_EQ(l->Pixel(20, 15), kBlanco);
}

TEST(TLienzo, PixelesYAccesoAlBufer) {
  auto l = TLienzo::Crear(7, 3);
  l->Pixel(6, 2, ColorRGB(1, 2, 3));
  EXPECT_EQ(l->Pixel(6, 2), ColorRGB(1, 2, 3));
  EXPECT_EQ(l->Pixel(7, 0), ninguno);  // outside
  ASSERT_GE(l->Paso(), 7 * 4);
  std::uint32_t argb = 0;
  std::memcpy(&argb, l->Datos() + 2 * l->Paso() + 6 * 4, 4);
  EXPECT_EQ(argb, 0xFF010203u);
}

// Points far outside the image are cut, not moved: the visible part keeps its direction.
TEST(TLienzo, LineasHastaCoordenadasExtremas) {
  auto l = TLienzo::Crear(100, 100);
  l->PlumaColor(kRojo);
  l->Linea(10, 20, 2147483647, 20);
  l->Linea(0, 0, 2147483647, 2147483647);
  l->Linea(-2147483647, 90, 2147483647, 90);
  EXPECT_EQ(l->Pixel(99, 20), kRojo);
  EXPECT_EQ(l->Pixel(50, 50), kRojo);
  EXPECT_EQ(l->Pixel(70, 70), kRojo);
  EXPECT_EQ(l->Pixel(0, 90), kRojo);
  EXPECT_EQ(l->Pixel(60, 61), kBlanco);
  l->BrochaColor(kAzul);
  l->Poligono({{0, 0}, {2147483647, 0}, {0, 2147483647}});
  EXPECT_EQ(l->Pixel(80, 10), kAzul);
  l->Rectangulo(-2147483647, -2147483647, 2147483647, 5);
  EXPECT_EQ(l->Pixel(50, 2), kAzul);
}

TEST(TLienzo, MedidasDeTexto) {
  auto l = TLienzo::Crear(10, 10);
  l->LetraTamano(14);
  const int alto = l->AltoTexto("M");
  EXPECT_GT(alto, 14);
  EXPECT_EQ(l->AltoTexto("..."), alto);
  EXPECT_EQ(l->AnchoTexto(""), 0);
  EXPECT_GT(l->AnchoTexto("MM"), l->AnchoTexto("M"));
  l->LetraTamano(28);
  EXPECT_GT(l->AltoTexto("M"), alto);
}

TEST(TLienzo, TamanoNoValido) {
  EXPECT_THAT(
      [] { TLienzo::Crear(0, 10); },
      testing::ThrowsMessage<Excepcion>(testing::StrEq("Tamaño de imagen no válido: 0 x 10")));
}

TEST(TLienzo, EscrituraFallidaNoDejaArchivos) {
  const fs::path dir = CarpetaTemporal("fallo");
  auto l = TLienzo::Crear(16, 16);
  // A missing folder.
  const fs::path sinCarpeta = dir / "no_existe" / "a.jpg";
  EXPECT_THAT([&] { l->GuardarJPG(sinCarpeta, 100); },
              testing::ThrowsMessage<ExcepcionES>(
                  testing::StrEq("Error escribiendo el archivo: " + sinCarpeta.generic_string())));
  // A target that cannot be replaced: the temporary file is removed again.
  const fs::path carpeta = dir / "b.jpg";
  fs::create_directory(carpeta);
  fs::create_directory(carpeta / "dentro");
  EXPECT_THAT([&] { l->GuardarJPG(carpeta, 100); },
              testing::ThrowsMessage<ExcepcionES>(
                  testing::StrEq("Error escribiendo el archivo: " + carpeta.generic_string())));
  std::vector<std::string> quedan;
  for (const auto& e : fs::directory_iterator(dir)) quedan.push_back(e.path().filename().string());
  EXPECT_THAT(quedan, testing::ElementsAre("b.jpg"));
  fs::remove_all(dir);
}

TEST(TLienzo, GuardarReemplazaElArchivoEntero) {
  const fs::path dir = CarpetaTemporal("reemplazo");
  const fs::path ruta = dir / "a.png";
  { std::ofstream(ruta) << "viejo contenido mucho mas largo que nada"; }
  auto l = TLienzo::Crear(4, 4);
  l->GuardarPNG(ruta);
  std::ifstream f(ruta, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_FALSE(fs::exists(dir / "a.png.tmp"));
  fs::remove_all(dir);
}
