#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Table-driven LR evaluator of arithmetic expressions over reals: + - * / ^, unary minus,
// parentheses and ten one-argument functions. Failures never raise: Evaluar leaves
// ErrorEvaluacion() true and Valor() 0. Everything is computed in long double.
class TMathParser {
 public:
  // Resolves an identifier that is not a function name.
  using TPedirVariable = std::function<void(TMathParser& emisor, const std::string& nombre,
                                            bool& encontrada, long double& valor)>;
  // Told the error code at the end of a failed parse.
  using TErrorSintaxis = std::function<void(TMathParser& emisor, std::uint8_t codigo)>;

  // Error codes (0 = none).
  static constexpr std::uint8_t kPilaLlena = 1;
  static constexpr std::uint8_t kFaltaOperando = 3;
  static constexpr std::uint8_t kFaltaOperadorOFin = 4;
  static constexpr std::uint8_t kFaltaParentesisAbierto = 5;
  static constexpr std::uint8_t kFaltaOperadorOParentesis = 6;
  static constexpr std::uint8_t kNumeroNoConvertible = 7;

  static constexpr int kTamPila = 15;

  std::string Expresion;
  TPedirVariable AlPedirVariable;
  TErrorSintaxis AlErrorSintaxis;

  void Evaluar();

  [[nodiscard]] bool ErrorEvaluacion() const { return error_evaluacion_; }
  [[nodiscard]] long double Valor() const { return valor_; }
  [[nodiscard]] bool ErrorMatematico() const { return error_matematico_; }
  [[nodiscard]] std::uint8_t CodigoError() const { return codigo_error_; }
  // 1-based position of the scanner; after a syntax error, the start of the offending token.
  [[nodiscard]] std::size_t Posicion() const { return posicion_; }

 private:
  struct TToken {
    std::uint8_t State = 0;
    long double Valor = 0.0L;
    std::string Funcion;  // upper-case function name, at most 5 characters
  };

  void SiguienteToken();
  void EscanearNumero();
  void Desplazar(std::uint8_t estado);
  void Reducir(int produccion);
  void Apilar(const TToken& t);
  TToken Desapilar();
  [[nodiscard]] long double AplicarFuncion(const std::string& nombre, long double x);
  void Resultado(long double v);

  TToken actual_;
  std::uint8_t tipo_ = 0;
  std::size_t inicio_token_ = 1;
  std::size_t posicion_ = 1;
  TToken pila_[kTamPila + 1];  // entries 1..kTamPila
  int tope_ = 0;
  bool error_matematico_ = false;
  std::uint8_t codigo_error_ = 0;
  bool error_evaluacion_ = false;
  long double valor_ = 0.0L;
};
