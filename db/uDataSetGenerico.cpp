#include "uDataSetGenerico.h"

#include "numtext.h"

ExcepcionIndiceLista::ExcepcionIndiceLista(std::int64_t indice)
    : Excepcion("List index out of bounds (" + IntATexto(indice) + ")") {}

std::string MinusculasAscii(std::string texto) {
  for (char& c : texto) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return texto;
}

TDataRecord::TDataRecord(TDataSetGenerico& dataSet, std::int32_t nCols)
    : dataSet_(&dataSet), values_(static_cast<std::size_t>(nCols < 0 ? 0 : nCols)) {}

void TDataRecord::SetValue(std::int32_t columna, const std::string& texto) {
  if (columna < 0 || static_cast<std::size_t>(columna) >= values_.size()) {
    throw ExcepcionIndiceLista(columna);
  }
  values_[static_cast<std::size_t>(columna)] = texto;
}

const std::string& TDataRecord::GetValue(std::int32_t columna) const {
  if (columna < 0 || static_cast<std::size_t>(columna) >= values_.size()) {
    throw ExcepcionIndiceLista(columna);
  }
  return values_[static_cast<std::size_t>(columna)];
}

void TDataRecord::ToText(std::string& texto) const {
  for (const std::string& v : values_) {
    texto += v;
    texto += ", ";
  }
}

TDataRecord& TDataRecords::Items(std::int32_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) throw ExcepcionIndiceLista(i);
  return *items_[static_cast<std::size_t>(i)];
}

TDataSetGenerico::TDataSetGenerico(std::int32_t rows, std::int32_t cols) {
  Inicializar(rows, cols);
}

void TDataSetGenerico::Inicializar(std::int32_t rows, std::int32_t cols) {
  nRows = rows;
  nCols = cols;
  columns.assign(static_cast<std::size_t>(cols < 0 ? 0 : cols), TDescripcionDeCampo{});
  records.Limpiar();
  for (std::int32_t i = 0; i < rows; ++i) {
    records.Agregar(std::make_unique<TDataRecord>(*this, cols));
  }
  current = -1;
}

TDataRecord* TDataSetGenerico::First() {
  current = 0;
  if (nRows <= 0) return nullptr;
  return &records.Items(0);
}

TDataRecord* TDataSetGenerico::Next() {
  current = current + 1;
  if (current >= records.Count()) {
    current = records.Count();
    return nullptr;
  }
  return &records.Items(current);
}

bool TDataSetGenerico::Eof() {
  if (current < 0) Next();
  return current >= records.Count();
}

std::int32_t TDataSetGenerico::IndexOfField(const std::string& nombre) const {
  const std::string buscado = MinusculasAscii(nombre);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == buscado) return static_cast<std::int32_t>(i);
  }
  throw Excepcion(" No se encuentra el campo: " + nombre);
}

TField TDataSetGenerico::FieldByIndex(std::int32_t columna) {
  if (current < 0) Next();
  return TField(records.Items(current).GetValue(columna));
}

TField TDataSetGenerico::FieldByName(const std::string& nombre) {
  return FieldByIndex(IndexOfField(nombre));
}
