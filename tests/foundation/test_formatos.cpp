#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "entorno_prueba.h"
#include "errores.h"
#include "formatos.h"

namespace {

TFormatos FormatosUsuario() {
  TFormatos f;
  f.separador_decimal = ',';
  f.separador_miles = '.';
  f.separador_fecha = '-';
  f.separador_hora = '.';
  f.formato_fecha_corta = "dd/MM/yyyy";
  f.formato_fecha_larga = "dddd, d' de 'mmmm' de 'yyyy";
  f.formato_hora_larga = "h.nn.ss";
  return f;
}

void EsperarNeutros(const TFormatos& f) {
  EXPECT_EQ(f.separador_decimal, '.');
  EXPECT_EQ(f.separador_miles, ' ');
  EXPECT_EQ(f.separador_fecha, '-');
  EXPECT_EQ(f.formato_fecha_corta, "yyyy-MM-dd");
  EXPECT_EQ(f.formato_fecha_larga, "yyyy-MM-dd HH:mm:ss");
  // The time settings are never switched.
  EXPECT_EQ(f.separador_hora, '.');
  EXPECT_EQ(f.formato_hora_larga, "h.nn.ss");
}

void EsperarUsuario(const TFormatos& f) {
  EXPECT_EQ(f.separador_decimal, ',');
  EXPECT_EQ(f.separador_miles, '.');
  EXPECT_EQ(f.formato_fecha_corta, "dd/MM/yyyy");
  EXPECT_EQ(f.formato_fecha_larga, "dddd, d' de 'mmmm' de 'yyyy");
  EXPECT_EQ(f.separador_hora, '.');
  EXPECT_EQ(f.formato_hora_larga, "h.nn.ss");
}

}  // namespace

TEST(Formatos, ConmutadorContado) {
  TFormatosDePrueba usuario(FormatosUsuario());
  // Until the first pop the settings in force keep the separator as read.
  EsperarUsuario(FormatosActuales());
  EXPECT_EQ(FormatosActuales().separador_fecha, '-');
  EXPECT_EQ(NivelFormatosNeutros(), 0);

  PushNeutralFormats();
  PushNeutralFormats();
  EsperarNeutros(FormatosActuales());
  PopNeutralFormats();
  EXPECT_EQ(NivelFormatosNeutros(), 1);
  EsperarNeutros(FormatosActuales());
  PopNeutralFormats();
  EXPECT_EQ(NivelFormatosNeutros(), 0);
  EsperarUsuario(FormatosActuales());
  // The saved separator was corrected from the short date pattern.
  EXPECT_EQ(FormatosActuales().separador_fecha, '/');
}

TEST(Formatos, CorreccionDelSeparadorDeFecha) {
  struct Caso {
    std::string patron;
    char leido, esperado;
  };
  const Caso casos[] = {
      {"dd/MM/yyyy", '-', '/'},
      {"yyyy-mm-dd", '/', '-'},
      {"d/m-yy", '.', '/'},
      {"dd.mm.yyyy", '.', '.'},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.patron);
    TFormatos f = FormatosUsuario();
    f.formato_fecha_corta = c.patron;
    f.separador_fecha = c.leido;
    TFormatosDePrueba usuario(f);
    { TFormatosNeutros neutros; }
    EXPECT_EQ(FormatosActuales().separador_fecha, c.esperado);
  }
}

TEST(Formatos, PopSinPushNoRestaura) {
  TFormatosDePrueba usuario(FormatosUsuario());
  PopNeutralFormats();
  EXPECT_EQ(NivelFormatosNeutros(), -1);
  EsperarUsuario(FormatosActuales());
  // Back to 0 from below: neutral stays in force, nothing restored.
  PushNeutralFormats();
  EXPECT_EQ(NivelFormatosNeutros(), 0);
  EsperarNeutros(FormatosActuales());
  // Only a return to 0 from 1 restores.
  PushNeutralFormats();
  PopNeutralFormats();
  EsperarUsuario(FormatosActuales());
}

TEST(Formatos, ElGuardiaRestauraTrasUnaExcepcion) {
  TFormatosDePrueba usuario(FormatosUsuario());
  EXPECT_THROW(
      {
        TFormatosNeutros exterior;
        TFormatosNeutros interior;
        EsperarNeutros(FormatosActuales());
        throw Excepcion("fallo");
      },
      Excepcion);
  EXPECT_EQ(NivelFormatosNeutros(), 0);
  EsperarUsuario(FormatosActuales());
}

TEST(Formatos, FormatosDelEntorno) {
  {
    TVariableEntorno v("VELTRA_FORMATOS", ",;.;-;:;dd-mm-yyyy;dd mmmm yyyy;hh:nn:ss");
    const TFormatos f = FormatosDelEntorno();
    EXPECT_EQ(f.separador_decimal, ',');
    EXPECT_EQ(f.separador_miles, '.');
    EXPECT_EQ(f.separador_fecha, '-');
    EXPECT_EQ(f.separador_hora, ':');
    EXPECT_EQ(f.formato_fecha_corta, "dd-mm-yyyy");
    EXPECT_EQ(f.formato_fecha_larga, "dd mmmm yyyy");
    EXPECT_EQ(f.formato_hora_larga, "hh:nn:ss");
  }
  {
    // Missing or malformed fields keep the defaults.
    TVariableEntorno v("VELTRA_FORMATOS", ",;xx");
    const TFormatos f = FormatosDelEntorno();
    const TFormatos defecto;
    EXPECT_EQ(f.separador_decimal, ',');
    EXPECT_EQ(f.separador_miles, defecto.separador_miles);
    EXPECT_EQ(f.formato_fecha_corta, defecto.formato_fecha_corta);
  }
  {
    TVariableEntorno v("VELTRA_FORMATOS", nullptr);
    TVariableEntorno todo("LC_ALL", "C");
    const TFormatos f = FormatosDelEntorno();
    EXPECT_EQ(f.separador_decimal, '.');
    EXPECT_EQ(f.separador_miles, ' ');
    EXPECT_EQ(f.formato_fecha_corta, "mm/dd/yy");
    EXPECT_EQ(f.separador_fecha, '/');
    EXPECT_EQ(f.formato_hora_larga, "hh:nn:ss");
    EXPECT_EQ(f.separador_hora, ':');
  }
}
