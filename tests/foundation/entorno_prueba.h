#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets an environment variable for a scope (unsets it for nullptr) and puts the previous value
// back.
class TVariableEntorno {
 public:
  TVariableEntorno(const char* nombre, const char* valor) : nombre_(nombre) {
    if (const char* v = std::getenv(nombre)) previo_ = v;
    if (valor != nullptr) {
      setenv(nombre, valor, 1);
    } else {
      unsetenv(nombre);
    }
  }
  ~TVariableEntorno() {
    if (previo_) {
      setenv(nombre_, previo_->c_str(), 1);
    } else {
      unsetenv(nombre_);
    }
  }
  TVariableEntorno(const TVariableEntorno&) = delete;
  TVariableEntorno& operator=(const TVariableEntorno&) = delete;

 private:
  const char* nombre_;
  std::optional<std::string> previo_;
};
