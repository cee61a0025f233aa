#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "errores.h"

using NReal = double;
using PNReal = NReal*;

// Shared zero-based dynamic arrays; empty means no elements.
using TDAofNReal = std::vector<NReal>;
using TDAofNInt = std::vector<std::int32_t>;
using TDAofI = std::vector<std::int32_t>;
using TDAOfBoolean = std::vector<bool>;
using TDAOfNRealPtr = std::vector<PNReal>;
using TMatOfNReal = std::vector<TDAofNReal>;

// Machine epsilon of doubles, found once by halving (2^-52 on IEEE hardware).
extern const NReal MachEps;
[[nodiscard]] bool NearZero(NReal x);

// Token with a single caller-chosen separator; the text loses the token and that separator.
std::string NextTokenSep(std::string& texto, char separador);
// Separated list of integers; empty tokens are skipped, a bad one raises ExcepcionConversion.
TDAofNInt ParseIntList(std::string texto, char separador);

// First element as start, replaced only by a strictly smaller (larger) one. Non-empty arrays only.
NReal MinOf(const TDAofNReal& a);
NReal MaxOf(const TDAofNReal& a);
void SwapArrays(TDAofNReal& a, TDAofNReal& b) noexcept;
void ZeroFill(TDAofNReal& a);
void FillBooleans(TDAOfBoolean& a, bool valor);
[[nodiscard]] constexpr std::int32_t BoolToInt(bool b) { return b ? 1 : 0; }

// Real-to-integer conversions that never cast blindly: NaN, infinities and values outside the
// 32-bit range raise Excepcion instead of being undefined behaviour.
std::int32_t TruncToInt(NReal x);  // toward zero
std::int32_t NintToInt(NReal x);   // nearest, ties to even
std::int32_t FloorToInt(NReal x);
std::int32_t CeilToInt(NReal x);
// Nearest, ties to even, as a real (no range check needed).
[[nodiscard]] NReal Nint(NReal x);
// x - trunc(x), keeping the sign of x.
[[nodiscard]] NReal Frac(NReal x);
