#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "formatos.h"
#include "uDataSetGenerico.h"
#include "urosx.h"

using testing::StrEq;
using testing::ThrowsMessage;

namespace {

// A set as the gateway fills it: counts, infos, names, then the values row by row.
std::unique_ptr<TResultadoQuery> Conjunto(std::vector<std::string> lineas) {
  return TResultadoQuery::CrearDesdeLineas(lineas);
}

}  // namespace

TEST(TDataSetGenerico, CursorRecorreTresRegistros) {
  auto s = Conjunto({"3", "1", "int4", "nid", "10", "20", "30"});
  EXPECT_EQ(s->current, -1);
  EXPECT_FALSE(s->Eof());
  EXPECT_EQ(s->current, 0);
  EXPECT_EQ(s->FieldByName("nid").AsInteger(0), 10);
  for (int i = 0; i < 3; ++i) s->Next();
  EXPECT_TRUE(s->Eof());
  EXPECT_EQ(s->current, 3);
  EXPECT_EQ(s->Next(), nullptr);
  EXPECT_EQ(s->current, 3);
  ASSERT_NE(s->First(), nullptr);
  EXPECT_EQ(s->FieldByIndex(0).AsString(), "10");
}

TEST(TDataSetGenerico, PrimerAccesoPorCampoMueveAlRegistroCero) {
  auto s = Conjunto({"2", "1", "", "v", "a", "b"});
  EXPECT_EQ(s->FieldByName("v").AsString(), "a");
  EXPECT_EQ(s->current, 0);
  s->Next();
  EXPECT_EQ(s->FieldByName("v").AsString(), "b");
}

TEST(TDataSetGenerico, SinRegistros) {
  auto s = Conjunto({"0", "1", "", "nid"});
  EXPECT_TRUE(s->Eof());
  EXPECT_EQ(s->First(), nullptr);
  EXPECT_THAT([&] { (void)s->FieldByName("nid"); },
              ThrowsMessage<ExcepcionIndiceLista>(StrEq("List index out of bounds (0)")));
}

TEST(TDataSetGenerico, BusquedaDeCampos) {
  auto s = Conjunto({"1", "3", "", "", "", "Meteo_UTM_xe", "nid", "NID", "1.5", "7", "8"});
  EXPECT_EQ(s->columns[0].name, "meteo_utm_xe");
  EXPECT_EQ(s->IndexOfField("Meteo_UTM_xe"), 0);
  EXPECT_EQ(s->IndexOfField("nid"), 1);  // duplicates resolve to the first
  EXPECT_THAT([&] { (void)s->IndexOfField("Potencia"); },
              ThrowsMessage<Excepcion>(StrEq(" No se encuentra el campo: Potencia")));
  EXPECT_EQ(s->current, -1);  // a failed lookup changes nothing
}

TEST(TDataSetGenerico, ToTextAgregaCadaValorConComa) {
  auto s = Conjunto({"1", "2", "", "", "x", "y", "a", "b"});
  std::string t = ">";
  s->RecordAt(0).ToText(t);
  EXPECT_EQ(t, ">a, b, ");
  EXPECT_THROW((void)s->RecordAt(1), ExcepcionIndiceLista);
}

TEST(TField, LecturasTipadas) {
  EXPECT_EQ(TField("").AsInteger(-1), -1);
  EXPECT_EQ(TField("-12").AsInteger(0), -12);
  EXPECT_EQ(TField("").AsFloat(2.5), 2.5);
  EXPECT_EQ(TField("").AsString(), "");
  // A value that is not a whole integer must never be taken for one.
  EXPECT_THAT(
      [] { (void)TField("12 OR 1=1").AsInteger(0); },
      ThrowsMessage<ExcepcionConversion>(StrEq("'12 OR 1=1' is not a valid integer value")));
}

TEST(TField, AsFloatUsaPuntoAunqueElUsuarioUseComa) {
  TFormatos coma;
  coma.separador_decimal = ',';
  coma.separador_miles = '.';
  const TFormatosDePrueba prueba(coma);
  EXPECT_EQ(TField("0.35").AsFloat(0), 0.35);
  EXPECT_EQ(TField("2*3").AsFloat(0), 6.0);
  EXPECT_EQ(FormatosActuales().separador_decimal, ',');  // restored after each read
  EXPECT_THAT(
      [] { (void)TField("abc").AsFloat(0); },
      ThrowsMessage<Excepcion>(StrEq("Error: no se puede evaluar \"abc\" a un número real")));
  EXPECT_EQ(NivelFormatosNeutros(), 0);
}
