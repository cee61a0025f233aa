#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "errores.h"
#include "ufields.h"

// An index beyond the end of a list: a field read with the cursor past the last record, a record
// or column that does not exist, a response shorter than it announces.
class ExcepcionIndiceLista : public Excepcion {
 public:
  explicit ExcepcionIndiceLista(std::int64_t indice);
};

// Column names are compared in ASCII lower case, whatever the process locale.
std::string MinusculasAscii(std::string texto);

struct TDescripcionDeCampo {
  std::string name;  // lower case: the key of every lookup
  std::string info;  // received before the names; kept, never read
};
using TDescripcionDeCampos = std::vector<TDescripcionDeCampo>;

class TDataSetGenerico;

class TDataRecord {
 public:
  TDataRecord(TDataSetGenerico& dataSet, std::int32_t nCols);
  virtual ~TDataRecord() = default;
  TDataRecord(const TDataRecord&) = delete;
  TDataRecord& operator=(const TDataRecord&) = delete;

  void SetValue(std::int32_t columna, const std::string& texto);
  [[nodiscard]] const std::string& GetValue(std::int32_t columna) const;
  // Appends every value, each followed by ", ".
  virtual void ToText(std::string& texto) const;

  [[nodiscard]] TDataSetGenerico& dataSet() const { return *dataSet_; }

 private:
  TDataSetGenerico* dataSet_;
  std::vector<std::string> values_;
};

// The records of a set, in row order, created and owned by it.
class TDataRecords {
 public:
  explicit TDataRecords(TDataSetGenerico& dataSet) : dataSet_(&dataSet) {}

  [[nodiscard]] std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  [[nodiscard]] TDataRecord& Items(std::int32_t i) const;
  void Agregar(std::unique_ptr<TDataRecord> r) { items_.push_back(std::move(r)); }
  void Limpiar() { items_.clear(); }
  [[nodiscard]] TDataSetGenerico& dataSet() const { return *dataSet_; }

 private:
  TDataSetGenerico* dataSet_;
  std::vector<std::unique_ptr<TDataRecord>> items_;
};

// Field list facade: a back reference to its set and nothing else.
class TFieldListEmulator {
 public:
  explicit TFieldListEmulator(TDataSetGenerico& dataSet) : dataSet_(&dataSet) {}
  [[nodiscard]] TDataSetGenerico& dataSet() const { return *dataSet_; }

 private:
  TDataSetGenerico* dataSet_;
};

// A read-only table of texts with a cursor. Values stay texts until a TField converts them.
// Records point back at the set, so a set never moves: it lives where it was created.
class TDataSetGenerico {
 public:
  TDataSetGenerico(std::int32_t rows, std::int32_t cols);
  virtual ~TDataSetGenerico() = default;
  TDataSetGenerico(const TDataSetGenerico&) = delete;
  TDataSetGenerico& operator=(const TDataSetGenerico&) = delete;

  // Cursor: -1 before the first access, 0 .. count - 1 on a record, count past the end.
  TDataRecord* First();
  TDataRecord* Next();
  [[nodiscard]] bool Eof();
  [[nodiscard]] TDataRecord& RecordAt(std::int32_t indice) const { return records.Items(indice); }
  [[nodiscard]] std::int32_t IndexOfField(const std::string& nombre) const;
  [[nodiscard]] TField FieldByIndex(std::int32_t columna);
  [[nodiscard]] TField FieldByName(const std::string& nombre);

  std::int32_t current = -1;
  std::int32_t nRows = 0;
  std::int32_t nCols = 0;
  TDescripcionDeCampos columns;
  TDataRecords records{*this};
  TFieldListEmulator fieldList{*this};

 protected:
  // Back to an empty set of the given size, as a fresh creation leaves it.
  void Inicializar(std::int32_t rows, std::int32_t cols);
};
