// A natural logarithm the compiler can vectorise: the response loops take one logarithm per graph column, and the
// library's log is a call it cannot vectorise. Within a few units in the last place of std::log for every positive
// normal double; other inputs (0, subnormals, infinities, NaN, negatives) give meaningless numbers: check them with
// NotPositiveNormal and take std::log for them.
#pragma once

#include <bit>
#include <cstdint>

namespace k7310 {

inline double FastLog(double x) {
  // x = m 2^k with m in [sqrt(1/2), sqrt(2)), by integer arithmetic on the bits (all of it unsigned, so that it
  // vectorises): t holds k + 1022 in its top twelve bits for every normal x.
  constexpr std::uint64_t kHalfRoot2 = 0x3FE6A09E667F3BCDULL;  // sqrt(1/2)
  constexpr std::uint64_t kBias = 1022ULL << 52;
  constexpr std::uint64_t kTop = 0xFFF0000000000000ULL;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const std::uint64_t t = bits - kHalfRoot2 + kBias;
  const double m = std::bit_cast<double>(bits - (t & kTop) + kBias);
  // k as a double without an integer conversion: 2^52 + (k + 1022), minus both.
  const double k = std::bit_cast<double>((t >> 52) | 0x4330000000000000ULL) - (4503599627370496.0 + 1022.0);
  // ln m = 2 atanh(s) = 2s (1 + s^2/3 + s^4/5 + ...), s = (m - 1) / (m + 1), |s| < 0.172: ten terms reach 1e-17.
  const double f = m - 1.0;
  const double s = f / (2.0 + f);
  const double z = s * s;
  double p = 1.0 / 21.0;
  p = p * z + 1.0 / 19.0;
  p = p * z + 1.0 / 17.0;
  p = p * z + 1.0 / 15.0;
  p = p * z + 1.0 / 13.0;
  p = p * z + 1.0 / 11.0;
  p = p * z + 1.0 / 9.0;
  p = p * z + 1.0 / 7.0;
  p = p * z + 1.0 / 5.0;
  p = p * z + 1.0 / 3.0;
  return k * 0.6931471805599453 + (2.0 * s + 2.0 * s * z * p);
}

// Nonzero unless x is a positive normal double (its sign and exponent field lies in 1 .. 2046). Integer arithmetic
// only, so that a loop can OR it up beside FastLog and still vectorise.
inline std::uint64_t NotPositiveNormal(double x) {
  const std::uint64_t e = std::bit_cast<std::uint64_t>(x) >> 52;
  return ((e - 1) >> 11) | ((e + 1) >> 11);
}

}  // namespace k7310
