#include "uevaluador.h"

#include <cmath>

#include "errores.h"
#include "formatos.h"
#include "numtext.h"

namespace {

// Token types.
constexpr std::uint8_t kMas = 0;
constexpr std::uint8_t kMenos = 1;
constexpr std::uint8_t kPor = 2;
constexpr std::uint8_t kEntre = 3;
constexpr std::uint8_t kElevado = 4;
constexpr std::uint8_t kAbre = 5;
constexpr std::uint8_t kCierra = 6;
constexpr std::uint8_t kNumero = 7;
constexpr std::uint8_t kFuncion = 8;
constexpr std::uint8_t kFin = 9;
constexpr std::uint8_t kOtro = 10;
constexpr std::uint8_t kError = 11;

// e^x overflows or underflows the extended range beyond this.
constexpr long double kLimiteExp = 11356.0L;

char Mayuscula(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool EsDigito(char c) { return c >= '0' && c <= '9'; }
bool EsLetra(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool EsFuncion(const std::string& nombre) {
  static const char* const kFunciones[] = {"ABS",   "ATAN", "COS",  "EXP", "LN",
                                           "ROUND", "SIN",  "SQRT", "SQR", "TRUNC"};
  for (const char* f : kFunciones) {
    if (nombre == f) return true;
  }
  return false;
}

// State reached after reducing by `produccion` with `estado` on top of the stack.
std::uint8_t GotoState(int produccion, std::uint8_t estado) {
  int grupo = 0;
  if (produccion <= 3) {
    grupo = 1;
    if (estado == 0) return 1;
    if (estado == 9) return 19;
    if (estado == 20) return 28;
  } else if (produccion <= 6) {
    grupo = 2;
    if (estado == 0 || estado == 9 || estado == 20) return 2;
    if (estado == 12) return 21;
    if (estado == 13) return 22;
  } else if (produccion <= 8) {
    grupo = 3;
    if (estado == 0 || estado == 9 || estado == 12 || estado == 13 || estado == 20) return 3;
    if (estado == 14) return 23;
    if (estado == 15) return 24;
    if (estado == 16) return 25;
  } else if (produccion <= 10) {
    grupo = 4;
    if (estado == 0 || estado == 9 || (estado >= 12 && estado <= 16) || estado == 20) return 4;
  } else if (produccion <= 12) {
    grupo = 5;
    if (estado == 0 || estado == 9 || (estado >= 12 && estado <= 16) || estado == 20) return 6;
    if (estado == 5) return 17;
  } else {
    grupo = 6;
    if (estado == 0 || estado == 5 || estado == 9 || (estado >= 12 && estado <= 16) ||
        estado == 20) {
      return 8;
    }
  }
  throw Excepcion("uevaluador.GotoState INDEFINIDO " + std::to_string(grupo));
}

}  // namespace

void TMathParser::Apilar(const TToken& t) {
  if (tope_ >= kTamPila) {
    codigo_error_ = kPilaLlena;  // the entry is lost
    return;
  }
  ++tope_;
  pila_[tope_] = t;
}

TMathParser::TToken TMathParser::Desapilar() {
  if (tope_ <= 0) throw Excepcion("Bad token state");
  return pila_[tope_--];
}

void TMathParser::Desplazar(std::uint8_t estado) {
  actual_.State = estado;
  Apilar(actual_);
  SiguienteToken();
}

void TMathParser::EscanearNumero() {
  const std::string& s = Expresion;
  const std::size_t n = s.size();
  const char sep = FormatosActuales().separador_decimal;
  std::size_t i = posicion_ - 1;
  std::string texto;
  while (i < n && (EsDigito(s[i]) || s[i] == sep)) texto += s[i++];
  if (texto.size() == 1 && texto[0] == sep) {
    posicion_ = i + 1;
    tipo_ = kOtro;
    return;
  }
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    texto += 'E';
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) texto += s[i++];
    for (int k = 0; k < 4 && i < n && EsDigito(s[i]); ++k) texto += s[i++];
  }
  // The conversion always reads '.', so the current separator is put back to it.
  std::string conv;
  if (texto[0] == sep) conv += '0';
  for (char c : texto) conv += (c == sep) ? '.' : c;
  long double v = 0.0L;
  if (!TextoARealExtendido(conv, v)) {
    error_matematico_ = true;
    codigo_error_ = kNumeroNoConvertible;
    posicion_ = inicio_token_ + 1;
    tipo_ = kError;
    return;
  }
  actual_.Valor = v;
  posicion_ = i + 1;
  tipo_ = kNumero;
}

void TMathParser::SiguienteToken() {
  const std::string& s = Expresion;
  const std::size_t n = s.size();
  while (posicion_ <= n && s[posicion_ - 1] == ' ') ++posicion_;
  inicio_token_ = posicion_;
  if (posicion_ > n) {
    tipo_ = kFin;
    return;
  }
  const char c = Mayuscula(s[posicion_ - 1]);
  if (c == '!') {
    ++posicion_;
    tipo_ = kError;
    return;
  }
  if (EsDigito(c) || c == FormatosActuales().separador_decimal) {
    EscanearNumero();
    return;
  }
  if (EsLetra(c)) {
    std::size_t i = posicion_ - 1;
    std::string nombre;
    while (i < n && (EsLetra(s[i]) || EsDigito(s[i]) || s[i] == '_')) nombre += Mayuscula(s[i++]);
    posicion_ = i + 1;
    if (EsFuncion(nombre)) {
      actual_.Funcion = nombre;
      tipo_ = kFuncion;
      return;
    }
    if (AlPedirVariable) {
      bool encontrada = false;
      long double v = 0.0L;
      AlPedirVariable(*this, nombre, encontrada, v);
      if (encontrada) {
        actual_.Valor = v;
        tipo_ = kNumero;
        return;
      }
    }
    tipo_ = kOtro;
    return;
  }
  ++posicion_;
  switch (c) {
    case '(':
      tipo_ = kAbre;
      break;
    case ')':
      tipo_ = kCierra;
      break;
    case '*':
      tipo_ = kPor;
      break;
    case '+':
      tipo_ = kMas;
      break;
    case '-':
      tipo_ = kMenos;
      break;
    case '/':
      tipo_ = kEntre;
      break;
    case '^':
      tipo_ = kElevado;
      break;
    default:
      tipo_ = kOtro;
      break;
  }
}

long double TMathParser::AplicarFuncion(const std::string& nombre, long double x) {
  auto fuera = [](long double v, long double limite) { return v < -limite || v > limite; };
  if (nombre == "ABS") return std::fabs(x);
  if (nombre == "ATAN") return std::atan(x);
  if (nombre == "COS" || nombre == "SIN") {
    if (fuera(x, 9e18L)) {
      error_matematico_ = true;
      return 0.0L;
    }
    return nombre == "COS" ? std::cos(x) : std::sin(x);
  }
  if (nombre == "EXP") {
    if (fuera(x, kLimiteExp)) {
      error_matematico_ = true;
      return 0.0L;
    }
    return std::exp(x);
  }
  if (nombre == "LN") {
    if (!(x > 0.0L)) {
      error_matematico_ = true;
      return 0.0L;
    }
    return std::log(x);
  }
  if (nombre == "ROUND" || nombre == "TRUNC") {
    if (fuera(x, 1e9L)) {
      error_matematico_ = true;
      return 0.0L;
    }
    // Halves go to the even neighbour under the default rounding mode.
    return nombre == "ROUND" ? std::nearbyint(x) : std::trunc(x);
  }
  if (nombre == "SQRT") {
    if (x < 0.0L) {
      error_matematico_ = true;
      return 0.0L;
    }
    return std::sqrt(x);
  }
  if (nombre == "SQR") {
    if (fuera(x, 1e2466L)) {
      error_matematico_ = true;
      return 0.0L;
    }
    return x * x;
  }
  throw Excepcion("Invalid reduction");
}

void TMathParser::Reducir(int produccion) {
  long double v = 0.0L;
  switch (produccion) {
    case 1: {  // E -> E + T
      const TToken t = Desapilar();
      Desapilar();
      const TToken e = Desapilar();
      v = e.Valor + t.Valor;
      break;
    }
    case 2: {  // E -> E - T
      const TToken t = Desapilar();
      Desapilar();
      const TToken e = Desapilar();
      v = e.Valor - t.Valor;
      break;
    }
    case 4: {  // T -> T * F
      const TToken f = Desapilar();
      Desapilar();
      const TToken t = Desapilar();
      v = t.Valor * f.Valor;
      break;
    }
    case 5: {  // T -> T / F
      const TToken f = Desapilar();
      Desapilar();
      const TToken t = Desapilar();
      if (f.Valor == 0.0L) {
        error_matematico_ = true;
      } else {
        v = t.Valor / f.Valor;
      }
      break;
    }
    case 7: {  // F -> G ^ F, as e^(p ln b)
      const TToken p = Desapilar();
      Desapilar();
      const TToken b = Desapilar();
      if (b.Valor <= 0.0L) {
        error_matematico_ = true;
      } else {
        const long double lp = p.Valor * std::log(b.Valor);
        if (lp < -kLimiteExp || lp > kLimiteExp) {
          error_matematico_ = true;
        } else {
          v = std::exp(lp);
        }
      }
      break;
    }
    case 9: {  // G -> - H
      const TToken h = Desapilar();
      Desapilar();
      v = -h.Valor;
      break;
    }
    case 3:   // E -> T
    case 6:   // T -> F
    case 8:   // F -> G
    case 10:  // G -> H
    case 12:  // H -> I
    case 15:  // I -> number
      v = Desapilar().Valor;
      break;
    case 14: {  // I -> ( E )
      Desapilar();
      v = Desapilar().Valor;
      Desapilar();
      break;
    }
    case 16: {  // I -> function ( E )
      Desapilar();
      const TToken e = Desapilar();
      Desapilar();
      const TToken f = Desapilar();
      v = AplicarFuncion(f.Funcion, e.Valor);
      break;
    }
    default:
      throw Excepcion("Invalid reduction");
  }
  // An overflow anywhere ends the evaluation as a math error, as a trapping FPU would.
  if (!std::isfinite(v)) {
    error_matematico_ = true;
    v = 0.0L;
  }
  TToken r;
  r.Valor = v;
  r.State = GotoState(produccion, tope_ > 0 ? pila_[tope_].State : 0);
  Apilar(r);
}

void TMathParser::Evaluar() {
  posicion_ = 1;
  tope_ = 0;
  codigo_error_ = 0;
  error_matematico_ = false;
  actual_ = TToken{};
  Apilar(actual_);
  SiguienteToken();

  bool aceptado = false;
  auto error = [this](std::uint8_t codigo) {
    codigo_error_ = codigo;
    posicion_ = inicio_token_;
  };
  while (!aceptado && codigo_error_ == 0) {
    switch (pila_[tope_].State) {
      case 0:
      case 9:
      case 12:
      case 13:
      case 14:
      case 15:
      case 16:
      case 20:
        if (tipo_ == kNumero) {
          Desplazar(10);
        } else if (tipo_ == kFuncion) {
          Desplazar(11);
        } else if (tipo_ == kMenos) {
          Desplazar(5);
        } else if (tipo_ == kAbre) {
          Desplazar(9);
        } else if (tipo_ == kError) {
          error_matematico_ = true;
          aceptado = true;
        } else {
          error(kFaltaOperando);
        }
        break;
      case 1:
        if (tipo_ == kFin) {
          aceptado = true;
        } else if (tipo_ == kMas) {
          Desplazar(12);
        } else if (tipo_ == kMenos) {
          Desplazar(13);
        } else {
          error(kFaltaOperadorOFin);
        }
        break;
      case 2:
        if (tipo_ == kPor) {
          Desplazar(14);
        } else if (tipo_ == kEntre) {
          Desplazar(15);
        } else {
          Reducir(3);
        }
        break;
      case 3:
        Reducir(6);
        break;
      case 4:
        if (tipo_ == kElevado) {
          Desplazar(16);
        } else {
          Reducir(8);
        }
        break;
      case 5:
        if (tipo_ == kNumero) {
          Desplazar(10);
        } else if (tipo_ == kFuncion) {
          Desplazar(11);
        } else if (tipo_ == kAbre) {
          Desplazar(9);
        } else {
          error(kFaltaOperando);
        }
        break;
      case 6:
        Reducir(10);
        break;
      case 7:
        Reducir(13);
        break;
      case 8:
        Reducir(12);
        break;
      case 10:
        Reducir(15);
        break;
      case 11:
        if (tipo_ == kAbre) {
          Desplazar(20);
        } else {
          error(kFaltaParentesisAbierto);
        }
        break;
      case 17:
        Reducir(9);
        break;
      case 19:
      case 28:
        if (tipo_ == kMas) {
          Desplazar(12);
        } else if (tipo_ == kMenos) {
          Desplazar(13);
        } else if (tipo_ == kCierra) {
          Desplazar(pila_[tope_].State == 19 ? 27 : 29);
        } else {
          error(kFaltaOperadorOParentesis);
        }
        break;
      case 21:
      case 22:
        if (tipo_ == kPor) {
          Desplazar(14);
        } else if (tipo_ == kEntre) {
          Desplazar(15);
        } else {
          Reducir(pila_[tope_].State == 21 ? 1 : 2);
        }
        break;
      case 23:
        Reducir(4);
        break;
      case 24:
        Reducir(5);
        break;
      case 25:
        Reducir(7);
        break;
      case 26:
        Reducir(11);
        break;
      case 27:
        Reducir(14);
        break;
      case 29:
        Reducir(16);
        break;
      default:  // 18 and any state the tables never reach
        throw Excepcion("Bad token state");
    }
  }

  if (codigo_error_ != 0 && AlErrorSintaxis) AlErrorSintaxis(*this, codigo_error_);
  if (error_matematico_ || codigo_error_ != 0) {
    error_evaluacion_ = true;
    valor_ = 0.0L;
  } else {
    error_evaluacion_ = false;
    valor_ = pila_[tope_].Valor;
  }
}
