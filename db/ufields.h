#pragma once

#include <cstdint>
#include <string>

#include "xmatdefs.h"

// The text of one cell of a result set, read as text, integer or real. An empty text is the
// absence of a value and reads as the caller's default.
class TField {
 public:
  explicit TField(std::string valor) : value(std::move(valor)) {}

  [[nodiscard]] const std::string& AsString() const { return value; }
  // Strict decimal integer; a text that is not one raises ExcepcionConversion.
  [[nodiscard]] std::int32_t AsInteger(std::int32_t def) const;
  // Evaluated as an expression under the neutral formats, so '.' is always the decimal separator.
  [[nodiscard]] NReal AsFloat(NReal def) const;

  std::string value;
};
