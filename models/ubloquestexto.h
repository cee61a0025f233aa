#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <utility>

#include "matreal.h"
#include "xmatdefs.h"

// Reader of the line-oriented blocks of the model files. It counts the lines it takes, so every
// error it raises names the file and the line: "<file>, línea <n>: <message>", keeping the error's
// kind (ExcepcionConversion for a bad number, ExcepcionES for a file cut short). Line ends may be
// LF or CR LF; a UTF-8 byte order mark before the first line is skipped.
class TLectorBloques {
 public:
  explicit TLectorBloques(std::istream& archivo, std::string nombre_archivo = {});

  // The next line whole, without its line end.
  std::string Linea();
  // The first token of the next line that holds one (blank lines before it are skipped); the
  // rest of that line is skipped.
  std::string Token();
  std::int32_t Entero();
  // A count of elements: a non-negative integer.
  std::int32_t Cuenta();
  // A real in any plain decimal form ('.' only, no expressions).
  NReal Real();
  // The vector file form: a count line, then one element per line. The count is not trusted for
  // allocation: a bogus one ends at the end of the file.
  TVectR Vector();

  // Runs `leer`, which interprets text taken from the current line; its error names the line.
  template <class F>
  auto EnLinea(F&& leer) -> decltype(leer()) {
    try {
      return std::forward<F>(leer)();
    } catch (...) {
      Relanzar();
    }
  }

  [[nodiscard]] int linea() const { return linea_; }
  [[nodiscard]] const std::string& nombre_archivo() const { return nombre_; }

 private:
  bool LeerLinea(std::string& linea);
  std::string TokenSinEnvolver();
  // Raises the error being handled again with the file and the current line before its message.
  [[noreturn]] void Relanzar() const;

  std::istream& archivo_;
  std::string nombre_;
  int linea_ = 0;
};

// Raises the error being handled again, keeping its type, with "<file>, línea <n>: " before its
// message (no file part when the name is empty).
[[noreturn]] void RelanzarEnLinea(const std::string& nombre, int linea);

// A text that must stay on one line of a file: CR and LF inside it become blanks.
std::string EnUnaLinea(std::string texto);

// A UTM band letter as files and SQL texts hold it: a letter, a digit or a blank; anything else
// (a quote, a separator, a line break) becomes a blank.
char ZonaUTM(char zona);
// The band letter of a text: its first character, a blank when the text is empty.
char ZonaDeTexto(const std::string& texto);

// Writes `contenido` to `ruta` through a temporary file in the same folder renamed over it, so a
// failure leaves any previous file intact (the temporary file is removed). Raises ExcepcionES.
void GrabarArchivoSeguro(const std::string& ruta, const std::string& contenido);
