#pragma once

#include <stdexcept>
#include <string>

// The one exception type that carries the system's messages; what() is the message unchanged.
class Excepcion : public std::runtime_error {
 public:
  explicit Excepcion(const std::string& mensaje) : std::runtime_error(mensaje) {}
};

// A text that is not a valid integer or real where one is required. Derives from the general type
// so the one handler that shows messages catches it too; callers that must tell it apart can.
class ExcepcionConversion : public Excepcion {
 public:
  using Excepcion::Excepcion;
};

// A file or folder that cannot be opened, created, read or written (including a file cut short).
class ExcepcionES : public Excepcion {
 public:
  using Excepcion::Excepcion;
};
