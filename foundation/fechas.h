#pragma once

#include <cstdint>
#include <string>

#include "xmatdefs.h"

// Instants are day numbers counted from 30 December 1899; the fraction is the time of day.
using TFechaHora = NReal;

struct TFechaHoraPartes {
  int anio = 1899, mes = 12, dia = 30;
  int hora = 0, minuto = 0, segundo = 0, milisegundo = 0;
};

// Raises Excepcion for an invalid date (month 13, 30 February) or time (hour 24, minute 60).
TFechaHora CodificarFecha(int anio, int mes, int dia);
TFechaHora CodificarHora(int hora, int minuto, int segundo, int milisegundo = 0);
TFechaHora CodificarFechaHora(const TFechaHoraPartes& p);
bool FechaValida(int anio, int mes, int dia) noexcept;

// Decodes after rounding to the nearest millisecond (ties to even), so a value 0.4 ms before
// midnight is the next day at 00:00:00.000.
TFechaHoraPartes DecodificarFechaHora(TFechaHora t);

// The instant rounded to the nearest millisecond, as a day number: hour and day/night cuts take
// it first so an exact hour never falls into the previous one.
TFechaHora RedondearAlMilisegundo(TFechaHora t);

// General date-time text: short date pattern + " " + long time pattern of the current settings;
// the time is left out when it is exactly midnight.
std::string FechaHoraATexto(TFechaHora t);

// Pattern formatting: yyyy, yy, m/mm (minutes after an h token), d/dd, h/hh, n/nn, s/ss, z/zzz,
// "/" and ":" from the current settings, quoted literals; specifiers are case-insensitive.
std::string FormatearFechaHora(const std::string& patron, TFechaHora t);

// "yyyymmdd", with "hhnn" appended when hour plus minute is not 0 (seconds are never written).
std::string FechaCompacta(TFechaHora t);
