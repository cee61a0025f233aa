#pragma once

#include <cstdint>
#include <string>

#include "formatos.h"
#include "xmatdefs.h"

// Cuts the next token off the front of `texto`. Separators are TAB, LF, CR, space, comma and
// semicolon; leading separators are skipped and exactly one separator after the token is consumed.
// The empty token means the text held nothing but separators (and is now empty).
std::string NextToken(std::string& texto);

// NextToken, then a strict 32-bit integer; raises ExcepcionConversion naming the token (the text
// has already lost it).
std::int32_t NextTokenInt(std::string& texto);

// NextToken, then StrToReal of the token.
NReal NextTokenReal(std::string& texto);

// Evaluates `texto` as an arithmetic expression (so '2*3.5' and 'SQRT(2)' are numbers too) under
// the current decimal separator. Raises Excepcion
// "Error: no se puede evaluar "<texto>" a un número real" on any failure, a result beyond the
// range of a double included.
NReal StrToReal(const std::string& texto);
