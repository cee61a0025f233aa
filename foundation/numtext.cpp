#include "numtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "formatos.h"

namespace {

// Splits a to_chars scientific text "[-]d.ddde[+-]xx" into sign, mantissa digits (no point) and
// the decimal exponent of the first digit.
struct TCientifico {
  bool negativo = false;
  std::string digitos;
  int exponente = 0;
};

template <typename T>
TCientifico Cientifico(T x, int decimales) {
  std::array<char, 128> buf{};
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), x,
                               std::chars_format::scientific, decimales);
  const std::string_view s(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
  TCientifico c;
  std::size_t i = 0;
  if (s[i] == '-') {
    c.negativo = true;
    ++i;
  }
  for (; i < s.size() && s[i] != 'e'; ++i) {
    if (s[i] != '.') c.digitos += s[i];
  }
  ++i;  // 'e'
  const bool neg_exp = s[i] == '-';
  ++i;
  int e = 0;
  for (; i < s.size(); ++i) e = e * 10 + (s[i] - '0');
  c.exponente = neg_exp ? -e : e;
  return c;
}

std::string NoFinito(double x) {
  if (std::isnan(x)) return "NAN";
  return x < 0 ? "-INF" : "INF";
}

std::string Exponente(int e, int min_digitos, bool signo_mas) {
  std::string d = std::to_string(e < 0 ? -e : e);
  while (static_cast<int>(d.size()) < min_digitos) d.insert(d.begin(), '0');
  if (e < 0) return "-" + d;
  return signo_mas ? "+" + d : d;
}

// Mantissa "d.ddd" from the digit string with the given separator.
std::string Mantisa(const std::string& digitos, char sep) {
  std::string m(1, digitos[0]);
  if (digitos.size() > 1) {
    m += sep;
    m.append(digitos, 1, std::string::npos);
  }
  return m;
}

std::string NotacionFija(const TCientifico& c, std::size_t decimales_mantisa, int digitos_exp) {
  std::string s = c.negativo ? "-" : " ";
  std::string d = c.digitos;
  d.resize(decimales_mantisa + 1, '0');
  s += Mantisa(d, '.');
  s += 'E';
  s += Exponente(c.exponente, digitos_exp, true);
  return s;
}

}  // namespace

std::string RealANotacionArchivo(NReal x) {
  if (!std::isfinite(x)) return NoFinito(x);
  if (x == 0.0) x = 0.0;  // -0 writes as the blank form
  return NotacionFija(Cientifico(x, 16), 16, 3);
}

std::string RealANotacionExtendida(long double x) {
  if (!std::isfinite(x)) return NoFinito(static_cast<double>(x));
  if (x == 0.0L) x = 0.0L;
  return NotacionFija(Cientifico(x, 20), 20, 4);
}

std::string RealAGeneral(NReal x) {
  if (!std::isfinite(x)) return NoFinito(x);
  if (x == 0.0) return "0";
  TCientifico c = Cientifico(x, 14);
  while (c.digitos.size() > 1 && c.digitos.back() == '0') c.digitos.pop_back();
  const char sep = FormatosActuales().separador_decimal;
  const int e = c.exponente;  // value = d.ddd x 10^e
  std::string s = c.negativo ? "-" : "";
  if (e + 1 > 15 || e + 1 < -3) {
    s += Mantisa(c.digitos, sep);
    s += 'E';
    s += Exponente(e, 0, false);
    return s;
  }
  const int n = static_cast<int>(c.digitos.size());
  if (e >= 0) {
    std::string entera = c.digitos.substr(0, static_cast<std::size_t>(std::min(n, e + 1)));
    entera.resize(static_cast<std::size_t>(e + 1), '0');
    s += entera;
    if (n > e + 1) {
      s += sep;
      s.append(c.digitos, static_cast<std::size_t>(e + 1), std::string::npos);
    }
  } else {
    s += '0';
    s += sep;
    s.append(static_cast<std::size_t>(-e - 1), '0');
    s += c.digitos;
  }
  return s;
}

std::string RealAFijo(NReal x, int ancho, int decimales) {
  std::string s;
  if (!std::isfinite(x)) {
    s = NoFinito(x);
  } else {
    // Room for the 309 integer digits of the largest double and every decimal asked for; beyond
    // the exact binary expansion the decimals are zeros anyway.
    decimales = std::clamp(decimales, 0, 1100);
    std::string buf(320 + static_cast<std::size_t>(decimales), '\0');
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::fixed, decimales);
    s.assign(buf.data(), r.ptr);
    const char sep = FormatosActuales().separador_decimal;
    for (char& ch : s) {
      if (ch == '.') ch = sep;
    }
  }
  if (static_cast<int>(s.size()) < ancho)
    s.insert(0, static_cast<std::size_t>(ancho) - s.size(), ' ');
  return s;
}

std::string RealAExponente(NReal x, int precision, int digitos) {
  if (!std::isfinite(x)) return NoFinito(x);
  precision = std::clamp(precision, 1, 100);  // the digits must fit the conversion buffer
  if (x == 0.0) x = 0.0;
  const TCientifico c = Cientifico(x, precision - 1);
  std::string s = c.negativo ? "-" : "";
  s += Mantisa(c.digitos, FormatosActuales().separador_decimal);
  s += 'E';
  s += Exponente(c.exponente, std::min(std::max(digitos, 0), 4), true);
  return s;
}

std::string RealAFijoPrecision(NReal x, int precision, int decimales) {
  if (!std::isfinite(x)) return NoFinito(x);
  if (x != 0.0 && std::fabs(x) >= std::pow(10.0, precision)) return RealAExponente(x, precision, 2);
  return RealAFijo(x, 0, decimales);
}

std::string IntATexto(std::int64_t v, int ancho) {
  std::string s = std::to_string(v);
  if (static_cast<int>(s.size()) < ancho)
    s.insert(0, static_cast<std::size_t>(ancho) - s.size(), ' ');
  return s;
}

std::string IntAHex(std::uint32_t v, int digitos) {
  std::array<char, 16> buf{};
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, 16);
  std::string s(buf.data(), r.ptr);
  for (char& ch : s) {
    if (ch >= 'a' && ch <= 'f') ch = static_cast<char>(ch - 'a' + 'A');
  }
  if (static_cast<int>(s.size()) < digitos)
    s.insert(0, static_cast<std::size_t>(digitos) - s.size(), '0');
  return s;
}

bool TextoAEnteroOk(std::string_view texto, std::int32_t& valor) noexcept {
  std::size_t i = 0;
  while (i < texto.size() && (texto[i] == ' ' || texto[i] == '\t')) ++i;
  bool negativo = false;
  if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) {
    negativo = texto[i] == '-';
    ++i;
  }
  if (i >= texto.size()) return false;
  std::int64_t v = 0;
  for (; i < texto.size(); ++i) {
    const char ch = texto[i];
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
    if (v > 2147483648LL) return false;
  }
  if (negativo) v = -v;
  if (v > std::numeric_limits<std::int32_t>::max()) return false;
  valor = static_cast<std::int32_t>(v);
  return true;
}

std::int32_t TextoAEntero(std::string_view texto) {
  std::int32_t v = 0;
  if (!TextoAEnteroOk(texto, v)) {
    throw ExcepcionConversion("'" + std::string(texto) + "' is not a valid integer value");
  }
  return v;
}

namespace {

// Checks [digits][.digits][(E|e)[sign]digits] with at least one mantissa digit, and finds the
// decimal exponent of the leading non-zero digit (very negative for zero), which tells an
// underflow from an overflow when the conversion reports the value out of range.
bool PatronReal(std::string_view t, long& magnitud) noexcept {
  std::size_t i = 0, digitos = 0;
  long enteras = 0;     // integer digits after leading zeros
  long ceros_frac = 0;  // zeros after the point before the first non-zero digit
  bool visto_no_cero = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    if (t[i] != '0') visto_no_cero = true;
    if (visto_no_cero) ++enteras;
    ++i, ++digitos;
  }
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      if (t[i] != '0') visto_no_cero = true;
      if (!visto_no_cero) ++ceros_frac;
      ++i, ++digitos;
    }
  }
  if (digitos == 0) return false;
  long exponente = 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool negativo = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
      negativo = t[i] == '-';
      ++i;
    }
    std::size_t de = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      if (exponente < 100000000) exponente = exponente * 10 + (t[i] - '0');
      ++i, ++de;
    }
    if (de == 0) return false;
    if (negativo) exponente = -exponente;
  }
  if (i != t.size()) return false;
  if (!visto_no_cero) {
    magnitud = -1000000000;
  } else {
    magnitud = (enteras > 0 ? enteras - 1 : -(ceros_frac + 1)) + exponente;
  }
  return true;
}

// Unsigned decimal number of the pattern above; underflow reads as 0, overflow fails.
template <typename T>
bool TextoARealSinSigno(std::string_view t, T& valor) noexcept {
  long magnitud = 0;
  if (!PatronReal(t, magnitud)) return false;
  // from_chars takes no '+' in some versions, so the exponent's '+' is removed.
  std::string limpio(t);
  if (const auto p = limpio.find_first_of("eE");
      p != std::string::npos && p + 1 < limpio.size() && limpio[p + 1] == '+') {
    limpio.erase(p + 1, 1);
  }
  T v = 0;
  const auto r =
      std::from_chars(limpio.data(), limpio.data() + limpio.size(), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (magnitud >= 0) return false;  // overflow
    v = 0;                            // underflow reads as 0
  } else if (r.ec != std::errc() || r.ptr != limpio.data() + limpio.size()) {
    return false;
  }
  if (!std::isfinite(v)) return false;
  valor = v;
  return true;
}

}  // namespace

bool TextoARealArchivo(std::string_view token, NReal& valor) noexcept {
  std::string_view t = token;
  bool negativo = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negativo = t[0] == '-';
    t.remove_prefix(1);
  }
  double v = 0.0;
  if (!TextoARealSinSigno(t, v)) return false;
  valor = negativo ? -v : v;
  return true;
}

bool TextoARealExtendido(std::string_view texto, long double& valor) noexcept {
  return TextoARealSinSigno(texto, valor);
}

NReal TextoARealArchivo(std::string_view token) {
  NReal v = 0.0;
  if (!TextoARealArchivo(token, v)) {
    throw ExcepcionConversion("'" + std::string(token) + "' is not a valid floating point value");
  }
  return v;
}

void VerificarFinito(NReal x) {
  if (!std::isfinite(x)) throw Excepcion("valor no finito");
}
