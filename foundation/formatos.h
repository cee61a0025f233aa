#pragma once

#include <string>

// The process-wide number and date settings every formatting and parsing routine reads. They are
// the project's own: nothing here reads or changes the C locale.
struct TFormatos {
  char separador_decimal = '.';
  char separador_miles = ',';
  char separador_fecha = '/';
  char separador_hora = ':';
  std::string formato_fecha_corta = "dd/mm/yyyy";
  std::string formato_fecha_larga = "dd mmmm yyyy";
  std::string formato_hora_larga = "hh:nn:ss";
};

// The settings in force now (user settings, or the neutral set while pushed).
const TFormatos& FormatosActuales();

// Installs the start-up (user) settings: called once by each program entry, and by tests.
// Applies the date-separator correction from the short date pattern and resets the nesting count.
void FijarFormatosInicio(const TFormatos& f);

// Start-up settings from the environment: VELTRA_FORMATOS, when set, is
// "decimal;miles;fecha;hora;fecha_corta;fecha_larga;hora_larga" (missing fields keep defaults);
// otherwise the POSIX locale data of LC_NUMERIC/LC_TIME, read without changing the process locale.
TFormatos FormatosDelEntorno();

// Counted switch to the neutral set around every file and SQL text.
void PushNeutralFormats();
void PopNeutralFormats();
int NivelFormatosNeutros();

// Pushes on construction, pops on destruction: the switch is restored on every path.
class TFormatosNeutros {
 public:
  TFormatosNeutros() { PushNeutralFormats(); }
  ~TFormatosNeutros() { PopNeutralFormats(); }
  TFormatosNeutros(const TFormatosNeutros&) = delete;
  TFormatosNeutros& operator=(const TFormatosNeutros&) = delete;
};

// Test helper: installs given settings for a scope and restores the previous start-up set after.
class TFormatosDePrueba {
 public:
  explicit TFormatosDePrueba(const TFormatos& f);
  ~TFormatosDePrueba();
  TFormatosDePrueba(const TFormatosDePrueba&) = delete;
  TFormatosDePrueba& operator=(const TFormatosDePrueba&) = delete;

 private:
  TFormatos previos_;
};
