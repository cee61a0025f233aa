#include "ufields.h"

#include "formatos.h"
#include "numtext.h"
#include "utokens.h"

std::int32_t TField::AsInteger(std::int32_t def) const {
  if (value.empty()) return def;
  return TextoAEntero(value);
}

NReal TField::AsFloat(NReal def) const {
  if (value.empty()) return def;
  const TFormatosNeutros neutros;
  return StrToReal(value);
}
