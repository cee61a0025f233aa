#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "comparar_modelos.h"
#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "pasarela_prueba.h"
#include "uparques_modeloteorico.h"

namespace {

using prueba_modelos::ExpectMismoModelo;
using prueba_modelos::ExpectMismoVector;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;
using testing::StartsWith;
using testing::StrEq;
using testing::ThrowsMessage;

const char* const kCurvaV =
    "'[ 23| 3;  4;  5;  6;  7;  8;  9;  10;  11;  12;  13;  14;  15;  16;  17;  18;  19;  20;  21; "
    " "
    "22;  23;  24;  25]'";

// Five farms around their stations; two turbine models.
const std::string kSemilla = std::string(R"(
INSERT INTO curvas_aerogen (nid, modelo, diametro, curva_v, curva_P) VALUES
  (1, 'DEMO-2000/90', 90, )") +
                             kCurvaV + R"(,
   '[ 23| 0;  0.06;  0.17;  0.33;  0.55;  0.84;  1.2;  1.55;  1.8;  1.93;  1.98;  2;  2;  2;  2;  2;  2;  2;  2;  2;  2;  2;  2]'),
  (2, 'DEMO-3000/110', 110, )" +
                             kCurvaV + R"(,
   '[ 23| 0;  0.09;  0.255;  0.495;  0.825;  1.26;  1.8;  2.325;  2.7;  2.895;  2.97;  3;  3;  3;  3;  3;  3;  3;  3;  3;  3;  3;  3]');
INSERT INTO centrales (nid, centralgeneradora, potencia_autorizada_mw, meteo_utm_zona,
                       meteo_utm_huso, meteo_utm_xe, meteo_utm_yn, meteo_cota, factor_smec_scada)
VALUES
  (5, 'Cinco', 10, 'H', 21, 600000, 6200000, 120, 1.02),
  (7, 'Parque d''Arco', 6, 'J', 20, 610000, 6210000, 95.5, 1),
  (20, 'Veinte', 4, 'H', 21, 620000, 6220000, 10, 1),
  (21, 'Veintiuno', 4.5, 'H', 21, 621000, 6221000, 11, 1),
  (28, 'Veintiocho', 2, 'H', 21, 628000, 6228000, 12, 1);
INSERT INTO molinos (nid, nid_curvaaero, nidcentral, nro, etha, zona_utm, huso_utm, xe, yn) VALUES
  (501, 1, 5, 1, 0.8, 'H', 21, 600400, 6200250),
  (502, 2, 5, 2, 0.8, 'H', 21, 600700.5, 6200290.25),
  (701, 1, 7, 1, 1, 'J', 20, 610300, 6210100),
  (2001, 1, 20, 1, 1, 'H', 21, 620100, 6220100),
  (2101, 1, 21, 1, 1, 'H', 21, 621100, 6221100),
  (2102, 2, 21, 2, 1, 'H', 21, 621400, 6221100),
  (2801, 2, 28, 1, 1, 'H', 21, 628100, 6228100);
)";

class ModeloEnDB : public prueba_modelos::BaseDePrueba {
 protected:
  void SetUp() override {
    BaseDePrueba::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Sembrar(kSemilla);
  }

  std::unique_ptr<TParque_ModeloTeorico> Cargar(int central) {
    auto c = con_->QueryOrThrow("SELECT * FROM centrales WHERE nid = " + IntATexto(central));
    return TParque_ModeloTeorico::CrearDesdeDB(*con_, *c);
  }
  std::string Columna(const std::string& sql) { return motor_->Columna(sql).at(0); }
};

INSTANTIATE_TEST_SUITE_P(Motores, ModeloEnDB, testing::ValuesIn(prueba_modelos::MotoresDePrueba()));

TEST_P(ModeloEnDB, PrimeraCargaCreaLasFilasYLaSegundaNoInserta) {
  // The user's decimal comma never reaches the statements.
  TFormatos usuario;
  usuario.separador_decimal = ',';
  usuario.separador_miles = '.';
  const TFormatosDePrueba formatos(usuario);
  motor_->OlvidarSentencias();
  auto p = Cargar(5);
  const std::string nid = IntATexto(p->nid_modelo_teorico);
  EXPECT_THAT(
      Escrituras(),
      ElementsAre(
          "next_nid modelo_teorico",
          "INSERT INTO modelo_teorico (nid, central, dt_creacion, dt_actualizacion )  VALUES ( " +
              nid + ", 5, now(), now() )",
          "INSERT INTO modelo_teorico_etha_molinos ( nid_modelo, nid_molino, etha ) VALUES ( " +
              nid + ", 501, 1 )",
          "INSERT INTO modelo_teorico_etha_molinos ( nid_modelo, nid_molino, etha ) VALUES ( " +
              nid + ", 502, 1 )",
          "UPDATE modelo_teorico_etha_molinos SET etha = 1 WHERE nid_modelo = " + nid +
              " AND nid_molino = 501",
          "UPDATE modelo_teorico_etha_molinos SET etha = 1 WHERE nid_modelo = " + nid +
              " AND nid_molino = 502",
          "UPDATE modelo_teorico SET n_sectores_dir= 72, alfa_terreno = 0.5, gamma_atmosfera = "
          "0.4, fpv3pe = 1.8, factor_perdidas = 0.035, potencia_autorizada_mw =10, "
          "potencia_nominal = 10, meteo_etha = '[ 11| 1;  0;  0;  0;  0;  0;  0;  0;  0;  0;  0]', "
          "meteo_cota = 120, grilla_rotada_dx = 9, grilla_rotada_dy = 1, "
          "grilla_rotada_margen_dx = 1000, meteo_utm_zona = 'H', meteo_utm_huso = 21, "
          "meteo_utm_xe = 600000, meteo_utm_yn = 6200000 WHERE nid = " +
              nid));
  EXPECT_EQ(p->nid_central, 5);
  EXPECT_EQ(p->nombre, "Cinco");
  EXPECT_EQ(p->potencia_nominal, 10);
  EXPECT_EQ(p->meteo_cota, 120);
  ASSERT_EQ(p->n_molinos(), 2);
  const TMolino& m2 = *p->molinos[1];
  EXPECT_EQ(m2.nid, 502);
  EXPECT_EQ(m2.nro, 2);
  EXPECT_EQ(m2.curva->modelo, "DEMO-3000/110");
  EXPECT_EQ(m2.curva->diametro, 110);
  // The model's own etha, not the one of the molinos table.
  EXPECT_EQ(m2.etha, 1);
  EXPECT_EQ(m2.posicion.zona_utm, 'H');
  EXPECT_EQ(m2.posicion.dx, 700.5);
  EXPECT_EQ(m2.posicion.dy, 290.25);
  ASSERT_NE(p->curva_parque, nullptr);
  EXPECT_EQ(p->curva_parque->P_max, 5);

  motor_->OlvidarSentencias();
  auto otra = Cargar(5);
  EXPECT_THAT(Escrituras(), IsEmpty());
  ExpectMismoModelo(*p, *otra);
  EXPECT_EQ(Contar("modelo_teorico"), 1);
  EXPECT_EQ(Contar("modelo_teorico_etha_molinos"), 2);

  // A turbine without its row in the model reads the query's default.
  Sembrar("DELETE FROM modelo_teorico_etha_molinos WHERE nid_molino = 502");
  auto sin_fila = Cargar(5);
  EXPECT_EQ(sin_fila->molinos[0]->etha, 1);
  EXPECT_EQ(sin_fila->molinos[1]->etha, -1);
}

TEST_P(ModeloEnDB, ActualizarEnDBYVolverACargarNoCambiaNada) {
  auto nuevo = Cargar(5);
  const std::string nid = IntATexto(nuevo->nid_modelo_teorico);
  Sembrar(
      "UPDATE modelo_teorico SET n_sectores_dir = 36, alfa_terreno = 0.123456789012345, "
      "gamma_atmosfera = 0.333333333333333, fpv3pe = 1.75e-7, factor_perdidas = 12345.6789, "
      "potencia_autorizada_mw = 9.5, potencia_nominal = 11.25, "
      "meteo_etha = '[ 3| 0.95;  0.0123;  -0.02]', meteo_cota = 99.9, grilla_rotada_dx = 7.5, "
      "grilla_rotada_dy = 2, grilla_rotada_margen_dx = 800, meteo_utm_zona = 'K', "
      "meteo_utm_huso = 19, meteo_utm_xe = 600001.5, meteo_utm_yn = 6199999.25 WHERE nid = " +
      nid + ";\nUPDATE modelo_teorico_etha_molinos SET etha = 0.975 WHERE nid_molino = 502;");
  TFormatos usuario;
  usuario.separador_decimal = ',';
  usuario.separador_miles = '.';
  const TFormatosDePrueba formatos(usuario);
  auto a = Cargar(5);
  EXPECT_EQ(a->alfa_terreno, 0.123456789012345);
  EXPECT_EQ(a->fpv3pe, 1.75e-7);
  ExpectMismoVector(a->meteo_etha, TVectR(TDAofNReal{0.95, 0.0123, -0.02}));
  EXPECT_EQ(a->meteo_utm_zona, 'K');
  EXPECT_EQ(a->molinos[1]->etha, 0.975);
  EXPECT_EQ(a->molinos[0]->posicion.dx, 600400 - 600001.5);

  motor_->OlvidarSentencias();
  a->ActualizarEnDB(*con_);
  EXPECT_EQ(Escrituras().size(), 3U);
  auto b = Cargar(5);
  ExpectMismoModelo(*a, *b);

  // What changes in memory is what the next load finds.
  b->fpv3pe = 2.25;
  b->molinos[0]->etha = 0.5;
  b->meteo_etha = TVectR(TDAofNReal{1, 1.0 / 3});
  b->ActualizarEnDB(*con_);
  auto c = Cargar(5);
  EXPECT_EQ(c->fpv3pe, 2.25);
  EXPECT_EQ(c->molinos[0]->etha, 0.5);
  ExpectMismoVector(c->meteo_etha, TVectR(TDAofNReal{1, 0.333333333333333}));
  EXPECT_EQ(Contar("modelo_teorico"), 1);
}

TEST_P(ModeloEnDB, MeteoEthaComoNumeroOComoVector) {
  Cargar(5);
  struct Caso {
    std::string texto;
    TDAofNReal esperado;
  };
  const Caso casos[] = {
      {"0.9", {0.9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"2*0.5", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"[ 3| 1.5;  2;  3]", {1.5, 2, 3}},
      {"[ 2| 2*3;  SQRT(4)]", {6, 2}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    Sembrar("UPDATE modelo_teorico SET meteo_etha = '" + c.texto + "' WHERE central = 5");
    ExpectMismoVector(Cargar(5)->meteo_etha, TVectR(c.esperado));
  }
}

TEST_P(ModeloEnDB, SupercentralesNuevasYCargadasDeNuevo) {
  struct Caso {
    std::int32_t central_meteo;
    std::vector<std::int32_t> lista;
    std::int32_t nid_central;
    std::string nombre;
    NReal potencia;
    std::vector<std::int32_t> molinos;
    NReal meteo_xe;
  };
  const Caso casos[] = {
      {7, {5, 7}, 507, "Superparque_5_7", 16, {501, 502, 701}, 610000},
      {21, {20, 21, 28}, 202128, "Superparque_20_21_28", 10.5, {2001, 2101, 2102, 2801}, 621000},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    for (const std::int32_t k : c.lista) Cargar(k);
    const int modelos = Contar("modelo_teorico");
    auto s = TParque_ModeloTeorico::CrearSuperparque(*con_, c.central_meteo, c.lista);
    EXPECT_EQ(s->nid_central, c.nid_central);
    EXPECT_EQ(s->nombre, c.nombre);
    EXPECT_EQ(s->potencia_autorizada_mw, c.potencia);
    EXPECT_EQ(s->potencia_nominal, c.potencia);
    EXPECT_EQ(s->meteo_utm_xe, c.meteo_xe);
    std::vector<std::int32_t> nids;
    for (const auto& m : s->molinos) {
      nids.push_back(m->nid);
      EXPECT_EQ(m->etha, 1);
    }
    EXPECT_THAT(nids, ElementsAreArray(c.molinos));
    EXPECT_EQ(s->molinos[0]->posicion.dx, s->molinos[0]->posicion.xe - c.meteo_xe);
    EXPECT_EQ(Contar("modelo_teorico"), modelos + 1);

    motor_->OlvidarSentencias();
    auto otra = TParque_ModeloTeorico::CrearSuperparque(*con_, c.central_meteo, c.lista);
    EXPECT_THAT(Escrituras(), IsEmpty());
    EXPECT_EQ(otra->nombre, "Superparque");
    otra->nombre = s->nombre;
    ExpectMismoModelo(*s, *otra);
  }
}

TEST_P(ModeloEnDB, SupercentralRechazadaSinTocarLaBase) {
  Cargar(5);
  Cargar(7);
  struct Caso {
    std::int32_t central_meteo;
    std::vector<std::int32_t> lista;
    std::string mensaje;
    bool consulta;  // whether it may read the database before refusing
  };
  const Caso casos[] = {
      {5, {}, "Superparque: la lista de centrales está vacía", false},
      {9,
       {5, 7},
       "Superparque: la central 9 de la estación meteorológica no está en la lista de centrales",
       false},
      {21,
       {21, 47, 48, 36, 48},
       "Superparque: el identificador combinado de las centrales 21, 47, 48, 36, 48 no cabe en un "
       "entero de 32 bits",
       false},
      {1,
       {30000000, 1},
       "Superparque: el identificador combinado de las centrales 30000000, 1 no cabe en un "
       "entero de 32 bits",
       false},
      // 2147483647 itself fits: the refusal comes from the members.
      {21,
       {21, 47, 48, 36, 47},
       "Superparque: la central 21 no tiene modelo teórico; cargarla antes de unirla",
       true},
      {5,
       {5, 7, 28},
       "Superparque: la central 28 no tiene modelo teórico; cargarla antes de unirla",
       true},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.mensaje);
    motor_->OlvidarSentencias();
    EXPECT_THAT([&] { TParque_ModeloTeorico::CrearSuperparque(*con_, c.central_meteo, c.lista); },
                ThrowsMessage<Excepcion>(StrEq(c.mensaje)));
    if (c.consulta) {
      EXPECT_THAT(Escrituras(), IsEmpty());
    } else {
      EXPECT_THAT(motor_->Sentencias(), IsEmpty());
    }
  }
  EXPECT_EQ(Contar("modelo_teorico"), 2);
}

TEST_P(ModeloEnDB, UnaConsultaFallidaDetieneLaCargaSinEscribir) {
  struct Caso {
    std::string rotura;
    std::string mensaje;  // empty: the gateway's message, as LastError keeps it
  };
  const Caso casos[] = {
      {"UPDATE molinos SET nid_curvaaero = 99 WHERE nid = 502",
       "Curva de potencia 99: no está en curvas_aerogen"},
      {"DROP TABLE curvas_aerogen", ""},
      {"DROP TABLE molinos", ""},
      {"DROP TABLE modelo_teorico", ""},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.rotura);
    Sembrar(c.rotura);
    motor_->OlvidarSentencias();
    try {
      Cargar(5);
      ADD_FAILURE() << "la carga no falló";
    } catch (const Excepcion& e) {
      if (c.mensaje.empty()) {
        EXPECT_EQ(e.what(), con_->LastError());
        EXPECT_THAT(e.what(), StartsWith("TResultadoQuery.ros: "));
      } else {
        EXPECT_EQ(e.what(), c.mensaje);
      }
    }
    EXPECT_THAT(Escrituras(), IsEmpty());
  }
}

TEST_P(ModeloEnDB, UnaEscrituraFallidaDetieneLaCargaYLaActualizacion) {
  const std::string mensaje = "TResultadoQuery.ros: falla de prueba\r\n";
  // The first load stops at the failed insertion: no update is sent after it.
  motor_->FallarSentencias("INSERT INTO modelo_teorico_etha_molinos");
  motor_->OlvidarSentencias();
  EXPECT_THAT([&] { Cargar(5); }, ThrowsMessage<Excepcion>(StrEq(mensaje)));
  const std::vector<std::string> escritas = Escrituras();
  ASSERT_EQ(escritas.size(), 5U);
  EXPECT_THAT(escritas[1], StartsWith("INSERT INTO modelo_teorico "));
  EXPECT_THAT(escritas[2], StartsWith("INSERT INTO modelo_teorico_etha_molinos"));
  // The half-written model goes back out, so it is not the central's newest model afterwards.
  EXPECT_THAT(escritas[3], StartsWith("DELETE FROM modelo_teorico_etha_molinos WHERE nid_modelo"));
  EXPECT_THAT(escritas[4], StartsWith("DELETE FROM modelo_teorico WHERE nid = "));
  EXPECT_EQ(Columna("SELECT count(*) FROM modelo_teorico WHERE central = 5"), "0");

  // With the gateway well again the next load starts afresh.
  motor_->FallarSentencias("");
  auto p = Cargar(5);
  EXPECT_EQ(p->alfa_terreno, 0.5);
  // An update stops at the first statement that fails and says so.
  motor_->FallarSentencias("UPDATE modelo_teorico_etha_molinos");
  motor_->OlvidarSentencias();
  EXPECT_THAT([&] { p->ActualizarEnDB(*con_); }, ThrowsMessage<Excepcion>(StrEq(mensaje)));
  EXPECT_EQ(Escrituras().size(), 1U);
}

TEST_P(ModeloEnDB, SinPasarelaLaCargaYLaActualizacionFallan) {
  auto p = Cargar(5);
  auto c = con_->QueryOrThrow("SELECT * FROM centrales WHERE nid = 5");
  servidor_->Detener();
  EXPECT_THAT([&] { TParque_ModeloTeorico::CrearDesdeDB(*con_, *c); },
              ThrowsMessage<Excepcion>(StartsWith("No pude abrir el socket.")));
  EXPECT_THAT([&] { p->ActualizarEnDB(*con_); },
              ThrowsMessage<Excepcion>(StartsWith("No pude abrir el socket.")));
  EXPECT_THAT(con_->LastError(), StartsWith("No pude abrir el socket."));
}

TEST_P(ModeloEnDB, ValorNoFinitoNoLlegaALaBase) {
  auto p = Cargar(5);
  p->molinos[1]->etha = std::numeric_limits<double>::infinity();
  motor_->OlvidarSentencias();
  EXPECT_THAT([&] { p->ActualizarEnDB(*con_); },
              ThrowsMessage<Excepcion>(StrEq("valor no finito")));
  p->molinos[1]->etha = 1;
  p->meteo_etha.poner(2, std::numeric_limits<double>::quiet_NaN());
  EXPECT_THAT([&] { p->ActualizarEnDB(*con_); },
              ThrowsMessage<Excepcion>(StrEq("valor no finito")));
  EXPECT_THAT(motor_->Sentencias(), IsEmpty());
}

TEST_P(ModeloEnDB, ZonaYNombreConComillasNoRompenLasSentencias) {
  struct Caso {
    std::int32_t central;
    std::string zona;  // SQL literal
    char en_memoria;
  };
  const Caso casos[] = {
      {40, "''''", '\''}, {41, "''", ' '}, {42, "NULL", ' '}, {43, "'x'';--'", 'x'}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.zona);
    const std::string id = IntATexto(c.central);
    Sembrar(
        "INSERT INTO centrales (nid, centralgeneradora, potencia_autorizada_mw, "
        "meteo_utm_zona, meteo_utm_huso, meteo_utm_xe, meteo_utm_yn, meteo_cota) VALUES (" +
        id + ", 'O''Higgins; DELETE FROM molinos', 3, " + c.zona +
        ", 21, 1000, 2000, 0);\n"
        "INSERT INTO molinos (nid, nid_curvaaero, nidcentral, nro, etha, zona_utm, huso_utm, "
        "xe, yn) VALUES (" +
        id + "01, 1, " + id + ", 1, 1, " + c.zona + ", 21, 1100, 2100);");
    auto p = Cargar(c.central);
    EXPECT_EQ(p->nombre, "O'Higgins; DELETE FROM molinos");
    EXPECT_EQ(p->meteo_utm_zona, c.en_memoria);
    EXPECT_EQ(p->molinos[0]->posicion.zona_utm, c.en_memoria);
    const std::string guardada = c.en_memoria == 'x' ? "x" : " ";
    EXPECT_EQ(Columna("SELECT meteo_utm_zona FROM modelo_teorico WHERE central = " + id), guardada);
    EXPECT_EQ(Cargar(c.central)->meteo_utm_zona, guardada[0]);
  }
  EXPECT_EQ(Contar("molinos"), 11);
}

}  // namespace
