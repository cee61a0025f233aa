#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "carpetas.h"
#include "entorno_prueba.h"
#include "errores.h"

namespace fs = std::filesystem;

namespace {

std::string MensajeCarpeta(const std::string& ruta, std::errc e) {
  return "No se puede crear la carpeta \"" + ruta + "\": " + std::make_error_code(e).message();
}

class Carpetas : public testing::Test {
 protected:
  void SetUp() override {
    base_ =
        fs::temp_directory_path() / ("veltra_carpetas_" + std::to_string(getpid()) + "_" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base_);
    fs::create_directories(base_);
    raiz_ = base_.generic_string() + "/modelado_ro";
    FijarCarpetaRaiz(raiz_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(base_, ec);
  }

  fs::path base_;
  std::string raiz_;
};

}  // namespace

TEST_F(Carpetas, InicioCreaLaRaizConSusPadres) {
  const std::string raiz = base_.generic_string() + "/a/b/modelado_ro/";
  FijarCarpetaRaiz(raiz);
  EXPECT_EQ(CarpetaRaiz(), base_.generic_string() + "/a/b/modelado_ro");
  IniciarCarpetaRaiz();
  EXPECT_TRUE(fs::is_directory(CarpetaRaiz()));
  IniciarCarpetaRaiz();  // already there

  // A parent that is a file stops the start-up.
  std::ofstream(base_ / "fichero") << "x";
  const std::string imposible = base_.generic_string() + "/fichero/modelado_ro";
  FijarCarpetaRaiz(imposible);
  EXPECT_THAT([] { IniciarCarpetaRaiz(); },
              testing::ThrowsMessage<ExcepcionES>(
                  testing::StrEq(MensajeCarpeta(imposible, std::errc::not_a_directory))));
}

TEST_F(Carpetas, NombresDeLaCentral) {
  IniciarCarpetaRaiz();
  struct Caso {
    std::int32_t nid;
    std::string carpeta, mt, mc, clp, sas;
  };
  const Caso casos[] = {
      {8, "c8", "c8_parque_mt.pmt", "c8.pmc", "c8_calibrador.clp", "c8_series10min.sas"},
      {-5, "c-5", "c-5_parque_mt.pmt", "c-5.pmc", "c-5_calibrador.clp", "c-5_series10min.sas"},
      {2147483647, "c2147483647", "c2147483647_parque_mt.pmt", "c2147483647.pmc",
       "c2147483647_calibrador.clp", "c2147483647_series10min.sas"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nid);
    const std::string carpeta = raiz_ + "/" + c.carpeta;
    EXPECT_FALSE(fs::exists(carpeta));
    EXPECT_EQ(ArchivoCalibrador(c.nid), carpeta + "/" + c.clp);
    EXPECT_TRUE(fs::is_directory(carpeta));
    EXPECT_EQ(ArchivoModeloTeorico(c.nid), carpeta + "/" + c.mt);
    EXPECT_EQ(ArchivoModeloCombinado(c.nid), carpeta + "/" + c.mc);
    EXPECT_EQ(ArchivoCentral(c.nid, "_series10min.sas"), carpeta + "/" + c.sas);
    EXPECT_EQ(CarpetaCentral(c.nid), carpeta);
    EXPECT_EQ(ArchivoEnCarpetaCentral(c.nid, "series_filtradas.xlt"),
              carpeta + "/series_filtradas.xlt");
    // Nothing creates the files themselves.
    EXPECT_FALSE(fs::exists(carpeta + "/" + c.clp));
  }
}

TEST_F(Carpetas, CarpetaCentralSeCreaUnSoloNivel) {
  // The root was never created: the central folder cannot be made under it.
  EXPECT_THAT([] { CarpetaCentral(8); },
              testing::ThrowsMessage<ExcepcionES>(testing::StrEq(
                  MensajeCarpeta(raiz_ + "/c8", std::errc::no_such_file_or_directory))));
  EXPECT_FALSE(fs::exists(raiz_));

  IniciarCarpetaRaiz();
  EXPECT_EQ(CarpetaCentral(8), raiz_ + "/c8");
  // Removed meanwhile: the next name asked for brings it back.
  fs::remove(raiz_ + "/c8");
  EXPECT_EQ(ArchivoModeloCombinado(8), raiz_ + "/c8/c8.pmc");
  EXPECT_TRUE(fs::is_directory(raiz_ + "/c8"));
}

TEST_F(Carpetas, ArchivoEnCarpetaNoCreaNada) {
  const std::string x = base_.generic_string() + "/x";
  EXPECT_EQ(ArchivoEnCarpeta(x, 3, "_a.txt"), x + "/c3_a.txt");
  EXPECT_FALSE(fs::exists(x));
  EXPECT_EQ(ArchivoEnCarpeta(x + "/", -3, ".pmc"), x + "/c-3.pmc");
}

TEST_F(Carpetas, AsegurarCarpetaSobreUnFichero) {
  const std::string f = base_.generic_string() + "/f";
  std::ofstream(f) << "x";
  EXPECT_THAT([&] { AsegurarCarpeta(f); }, testing::ThrowsMessage<ExcepcionES>(testing::StrEq(
                                               MensajeCarpeta(f, std::errc::file_exists))));
  AsegurarCarpeta(base_.generic_string() + "/nueva");
  EXPECT_TRUE(fs::is_directory(base_ / "nueva"));
}

TEST_F(Carpetas, CarpetasPorDefectoYDelEntorno) {
  {
    TVariableEntorno home("HOME", base_.c_str());
    TVariableEntorno raiz("VELTRA_MODELADO_RO", nullptr);
    TVariableEntorno basura("VELTRA_BASURA", nullptr);
    EXPECT_EQ(CarpetaRaizDelEntorno(), base_.generic_string() + "/veltra/modelado_ro");
    EXPECT_EQ(CarpetaBasuraDelEntorno(), base_.generic_string() + "/veltra/basura");
  }
  {
    TVariableEntorno raiz("VELTRA_MODELADO_RO", (base_.generic_string() + "/r//").c_str());
    TVariableEntorno basura("VELTRA_BASURA", (base_.generic_string() + "/b").c_str());
    EXPECT_EQ(CarpetaRaizDelEntorno(), base_.generic_string() + "/r");
    EXPECT_EQ(CarpetaBasuraDelEntorno(), base_.generic_string() + "/b");
  }
}

TEST_F(Carpetas, BasuraSeCreaAlPrimerUso) {
  const std::string basura = base_.generic_string() + "/v/basura";
  FijarCarpetaBasura(basura);
  EXPECT_FALSE(fs::exists(basura));
  EXPECT_EQ(ArchivoBasura("compartivacurvas.xlt"), basura + "/compartivacurvas.xlt");
  EXPECT_TRUE(fs::is_directory(basura));
  EXPECT_EQ(ArchivoBasura("calibrador_RURIZ A_FIN_.clp"), basura + "/calibrador_RURIZ A_FIN_.clp");
}

TEST(ComponenteNombreArchivo, SoloCambiaLoQueRompeElNombre) {
  struct Caso {
    std::string texto, esperado;
  };
  const Caso casos[] = {
      {"RURIZ A", "RURIZ A"},
      {"a/b\\c", "a_b_c"},
      {std::string("x\0y", 3), "x_y"},
      {"..", ".."},
      {"", ""},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.esperado);
    EXPECT_EQ(ComponenteNombreArchivo(c.texto), c.esperado);
  }
}
