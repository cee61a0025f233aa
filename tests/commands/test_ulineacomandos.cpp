#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "lienzo.h"
#include "ulineacomandos.h"
#include "uparquedemo.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class LineaDeComandos : public testing::Test {
 protected:
  LineaDeComandos()
      : carpeta(fs::temp_directory_path() /
                ("modelado_ro_" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
  }
  ~LineaDeComandos() override { fs::remove_all(carpeta); }

  int Ejecutar(std::vector<std::string> args) {
    salida.str("");
    errores.str("");
    args.push_back("--raiz");
    args.push_back((carpeta / "raiz").string());
    return ModeladoRO(args, salida, errores);
  }

  fs::path carpeta;
  std::ostringstream salida;
  std::ostringstream errores;
};

TEST_F(LineaDeComandos, SimularEscribeLasSalidasYElMapa) {
  const fs::path png = carpeta / "mapa.png";
  ASSERT_EQ(Ejecutar({"simular", "--demo", "--dir", "270", "--vel=2*4.95", "--mapa", png.string(),
                      "--ancho", "400", "--alto", "250"}),
            0)
      << errores.str();
  EXPECT_EQ(errores.str(), "");
  const std::string s = salida.str();
  EXPECT_NE(s.find("Viento libre incidente en la central (m/s): 9.9\n"), std::string::npos) << s;
  EXPECT_NE(s.find("Potencia Modelo Teórico [MW]: "), std::string::npos) << s;
  EXPECT_NE(s.find("Velocidad E.M. [m/s] reproducida: 9.9\n"), std::string::npos) << s;
  EXPECT_NE(s.find("Mapa: " + png.string() + "\n"), std::string::npos) << s;
  ASSERT_TRUE(fs::exists(png));
  EXPECT_GT(fs::file_size(png), 1000U);
  // The start-up creates the root working folder.
  EXPECT_TRUE(fs::is_directory(carpeta / "raiz"));
}

TEST_F(LineaDeComandos, LosParametrosSeAplicanAntesDeSimular) {
  ASSERT_EQ(Ejecutar({"simular", "--demo", "--limite", "3"}), 0) << errores.str();
  EXPECT_NE(salida.str().find("Potencia Modelo Teórico [MW]: 3\n"), std::string::npos)
      << salida.str();
  ASSERT_EQ(Ejecutar({"simular", "--demo", "--etha-molino", "0", "--todos"}), 0) << errores.str();
  EXPECT_NE(salida.str().find("Potencia Modelo Teórico [MW]: 0\n"), std::string::npos)
      << salida.str();
  ASSERT_EQ(Ejecutar({"simular", "--demo", "--vel", "0"}), 0) << errores.str();
  EXPECT_NE(salida.str().find("Viento libre incidente en la central (m/s): 0\n"),
            std::string::npos);
}

TEST_F(LineaDeComandos, Viento) {
  ASSERT_EQ(Ejecutar({"viento", "--demo", "--potencia", "0"}), 0) << errores.str();
  EXPECT_EQ(salida.str(), "Viento libre asociado a la potencia generada (m/s): 0\n");
  EXPECT_EQ(Ejecutar({"viento", "--demo", "--potencia", "16"}), 1);
  EXPECT_EQ(errores.str(),
            "La central tiene una potencia autorizada de 15 MW.\n"
            "Ingrese nuevamente el valor de potencia.\n");
  EXPECT_EQ(salida.str(), "");
}

TEST_F(LineaDeComandos, AyudaDeCadaComando) {
  for (const char* comando : {"", "simular", "viento"}) {
    SCOPED_TRACE(comando);
    std::vector<std::string> args;
    if (*comando != '\0') args.emplace_back(comando);
    args.emplace_back("--help");
    EXPECT_EQ(ModeladoRO(args, salida, errores), 0);
    EXPECT_NE(salida.str().find("Uso: modelado_ro"), std::string::npos);
    salida.str("");
  }
}

TEST_F(LineaDeComandos, FallosConUnaLineaEnErrores) {
  struct Caso {
    std::vector<std::string> args;
    int estado;
    const char* mensaje;
  };
  const Caso casos[] = {
      {{"simular", "--demo", "--vel", "9,9"},
       1,
       "modelado_ro: Error: no se puede evaluar \"9,9\" a un número real\n"},
      {{"simular", "--demo", "--etha-molino", "1", "--molino", "9"},
       1,
       "modelado_ro: No existe el molino número 9\n"},
      {{"simular"},
       2,
       "modelado_ro: falta el modelo: --central NID, --pmt ARCHIVO o --demo (modelado_ro "
       "--help)\n"},
      {{"viento", "--demo", "--pmt", "x.pmt"},
       2,
       "modelado_ro: un solo modelo: --central NID, --pmt ARCHIVO o --demo (modelado_ro --help)\n"},
      {{"bajar"}, 2, "modelado_ro: falta la central: --central NID (modelado_ro --help)\n"},
      {{"bajar", "--central", "8", "--dir", "90"},
       2,
       "modelado_ro: la opción --dir no corresponde al comando bajar (modelado_ro --help)\n"},
      {{"bajar", "--central", "ocho"}, 1, "modelado_ro: 'ocho' is not a valid integer value\n"},
      {{"simular", "--demo", "--nada"},
       2,
       "modelado_ro: opción desconocida: --nada (modelado_ro --help)\n"},
      {{"simular", "--demo", "--dir"},
       2,
       "modelado_ro: falta el valor de la opción --dir (modelado_ro --help)\n"},
      {{"calibrarlo", "--demo"},
       2,
       "modelado_ro: comando desconocido: calibrarlo (modelado_ro --help)\n"},
      {{"viento", "--demo", "--mapa", "x.png"},
       2,
       "modelado_ro: la opción --mapa no corresponde al comando viento (modelado_ro --help)\n"},
      {{"simular", "--demo", "--mapa", "x.png", "--ancho", "0"},
       2,
       "modelado_ro: valor no válido para --ancho: '0' (modelado_ro --help)\n"},
      {{"simular", "--demo", "--etha-molino", "1"},
       2,
       "modelado_ro: --etha-molino va con --molino NRO o con --todos (modelado_ro --help)\n"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.mensaje);
    EXPECT_EQ(Ejecutar(c.args), c.estado);
    EXPECT_EQ(errores.str(), c.mensaje);
    EXPECT_EQ(salida.str(), "");
  }
  // A central whose model was never downloaded: the message says how, and no folder appears.
  const std::string raiz = (carpeta / "raiz").string();
  EXPECT_EQ(Ejecutar({"simular", "--central", "99"}), 1);
  EXPECT_EQ(errores.str(), "modelado_ro: No hay un modelo de la central 99 en " + raiz +
                               " (modelado_ro bajar --central 99)\n");
  EXPECT_FALSE(fs::exists(carpeta / "raiz" / "c99"));
  // A model file that is not there.
  EXPECT_EQ(Ejecutar({"simular", "--pmt", (carpeta / "no.pmt").string()}), 1);
  EXPECT_NE(errores.str().find((carpeta / "no.pmt").string()), std::string::npos) << errores.str();

  // A map that cannot be written fails after the figures, naming the file.
  const std::string png = (carpeta / "no" / "existe" / "mapa.png").string();
  EXPECT_EQ(Ejecutar({"simular", "--demo", "--mapa", png}), 1);
  EXPECT_NE(errores.str().find(png), std::string::npos) << errores.str();
  EXPECT_FALSE(fs::exists(png));
}

}  // namespace
