#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xmatdefs.h"

// Every number <-> text conversion of the system lives here, built on to_chars/from_chars so the
// C locale never matters. Routines that say "current" read FormatosActuales().

// File notation: blank or '-', one digit, '.', 16 digits, 'E', sign, 3 exponent digits.
// Always '.', whatever the settings. Used by every model file and result table.
std::string RealANotacionArchivo(NReal x);

// Extended notation of the diagnostic tables: 21 significant digits, 4 exponent digits.
std::string RealANotacionExtendida(long double x);

// Shortest general form with at most 15 significant digits (current decimal separator);
// scientific when the decimal exponent is above 15 or below -3. "NAN", "INF", "-INF".
std::string RealAGeneral(NReal x);

// Fixed notation with `decimales` decimals, right-aligned to at least `ancho` characters, current
// decimal separator (the "%W.Nf" form).
std::string RealAFijo(NReal x, int ancho, int decimales);

// Exponent form of the chart ticks: `precision` significant digits, 'E', a signed exponent of at
// least `digitos` digits but never more than 4 (current decimal separator).
std::string RealAExponente(NReal x, int precision, int digitos);

// Fixed form of the chart ticks (general precision `precision`, `decimales` decimals): falls back
// to the exponent form when the integer digits exceed the precision.
std::string RealAFijoPrecision(NReal x, int precision, int decimales);

// Decimal text of an integer, right-aligned to at least `ancho` characters.
std::string IntATexto(std::int64_t v, int ancho = 0);
// Upper-case hexadecimal with at least `digitos` digits.
std::string IntAHex(std::uint32_t v, int digitos);

// Strict 32-bit integer: optional leading blanks, optional sign, decimal digits, nothing after.
// Raises ExcepcionConversion "'<texto>' is not a valid integer value".
std::int32_t TextoAEntero(std::string_view texto);
bool TextoAEnteroOk(std::string_view texto, std::int32_t& valor) noexcept;

// A real token of a model or series file: [sign]digits[.digits][(E|e)[sign]digits], '.' only, no
// nan/inf/hex, overflow rejected. Returns false when the token is not such a number.
bool TextoARealArchivo(std::string_view token, NReal& valor) noexcept;
// The same, raising ExcepcionConversion "'<token>' is not a valid floating point value".
NReal TextoARealArchivo(std::string_view token);

// An unsigned number as the expression evaluator scans it, '.' only: digits[.digits], also ".5"
// and "5.", then optionally (E|e)[sign]digits. No nan/inf/hex; underflow reads as 0, overflow and
// anything left over fail.
bool TextoARealExtendido(std::string_view texto, long double& valor) noexcept;

// Final guard of every writer of model files and SQL texts: a non-finite real is never written.
// Raises Excepcion "valor no finito".
void VerificarFinito(NReal x);
