#include "fixed_number.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace lwp {

namespace {

__extension__ typedef unsigned __int128 Uint128;

constexpr std::uint64_t kTenToTheTen = 10000000000ULL;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes fraction (below 10^10) as ten digits, leading zeros included.
char *writeTenDigits(char *out, std::uint64_t fraction) {
  for (int at = 8; at >= 0; at -= 2) {
    std::memcpy(out + at, kDigitPairs + 2 * (fraction % 100), 2);
    fraction /= 100;
  }
  return out + 10;
}

// |value| * 10^10 rounded to the nearest integer, ties to the even one, as
// "%.10f" rounds the exact binary value; false when it does not fit in 64
// bits (or value is not finite), which the general formatter then takes.
bool scaledMagnitude(double value, std::uint64_t &scaled) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) return false;
  // value = mantissa * 2^exponent exactly.
  const std::uint64_t mantissa = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int exponent = (biased == 0 ? 1 : biased) - 1075;
  const Uint128 product = Uint128{mantissa} * kTenToTheTen;  // below 2^87
  Uint128 rounded = 0;
  if (exponent >= 0) {
    if (exponent >= 40 || (product >> (127 - exponent)) != 0) return false;
    rounded = product << exponent;
  } else if (exponent > -128) {
    const int shift = -exponent;
    const Uint128 remainder = product & ((Uint128{1} << shift) - 1);
    const Uint128 half = Uint128{1} << (shift - 1);
    rounded = product >> shift;
    if (remainder > half || (remainder == half && (rounded & 1) != 0)) ++rounded;
  }  // else below 2^-75: rounds to zero
  if ((rounded >> 64) != 0) return false;
  scaled = static_cast<std::uint64_t>(rounded);
  return true;
}

}  // namespace

void appendFixed10(std::string &out, double value) {
  // The largest double has 309 integer digits; with sign, point and ten
  // decimals that stays below 330 characters.
  char buffer[352];
  std::uint64_t scaled = 0;
  if (!scaledMagnitude(value, scaled)) {
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 10);
    out.append(buffer, result.ptr);
    return;
  }
  char *end = buffer;
  if (std::signbit(value)) *end++ = '-';
  end = std::to_chars(end, buffer + sizeof buffer, scaled / kTenToTheTen).ptr;
  *end++ = '.';
  end = writeTenDigits(end, scaled % kTenToTheTen);
  out.append(buffer, end);
}

void appendInteger(std::string &out, int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

}  // namespace lwp
