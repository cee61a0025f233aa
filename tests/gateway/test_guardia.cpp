#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "umotor.h"

TEST(Guardia, PrimeraPalabraTrasComentarios) {
  struct Caso {
    const char* sql;
    const char* palabra;
  };
  const Caso casos[] = {{"select 1", "select"},
                        {"  \n\tInsert INTO x", "insert"},
                        {"-- nota\nDELETE FROM molinos", "delete"},
                        {"/* a /* b */ c */ update t", "update"},
                        {"/* sin cerrar", ""},
                        {"", ""},
                        {"(select 1)", ""}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(PrimeraPalabra(c.sql), c.palabra);
  }
  EXPECT_NO_THROW(VerificarSentencia("SELECT * FROM centrales WHERE nid = 8"));
  EXPECT_THAT([] { VerificarSentencia(std::string("select 1\0; drop table x", 23)); },
              testing::ThrowsMessage<ExcepcionRechazo>(
                  testing::StrEq("sentencia rechazada: contiene un byte nulo")));
  EXPECT_THROW(VerificarSentencia("drop table molinos"), ExcepcionRechazo);
}

TEST(Guardia, VariasSentenciasConReglasDePostgres) {
  struct Caso {
    const char* sql;
    bool varias;
  };
  const Caso casos[] = {
      {"select 1", false},
      {"select 1;", false},
      {"select 1 ;  -- fin\n /* y */ ;", false},
      {"select 1; select 2", true},
      {"select ';' from t", false},
      {"select 'it''s; fine'", false},
      {"select E'a\\'; drop table x'", false},
      {"select 'a\\'; drop table x", true},  // standard strings: the backslash is plain
      {"select $$;$$, $q$ ; $q$", false},
      {"select $1; drop table x", true},
      {"select \"a;b\" from t", false},
      {"select 1 /* ; /* ; */ ; */", false},
      {"select 1 -- ; drop\n", false},
      {"select 1 /* */; drop table x", true},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(VariasSentenciasPostgres(c.sql), c.varias);
  }
}

TEST(Guardia, TablasDelParque) {
  for (const char* t : {"centrales", "MOLINOS", "curvas_aerogen", "modelo_teorico",
                        "modelo_teorico_etha_molinos"}) {
    SCOPED_TRACE(t);
    EXPECT_TRUE(EsTablaParque(t));
  }
  for (const char* t : {"pasarela_nids", "sqlite_master", "pg_class", "centrales2", ""}) {
    SCOPED_TRACE(t);
    EXPECT_FALSE(EsTablaParque(t));
  }
  EXPECT_TRUE(EsTablaConNid("modelo_teorico"));
  EXPECT_FALSE(EsTablaConNid("modelo_teorico_etha_molinos"));
}
