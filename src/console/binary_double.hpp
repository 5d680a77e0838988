#pragma once
// A double taken apart as the IEEE format stores it, for the conversions
// that work on its bits with integer arithmetic only: value = significand
// 2^exponent for finite values, with the subnormals' significand and
// exponent already adjusted.
#include <cstdint>
#include <cstring>

#include "model/wide.hpp"

namespace gndfit {

struct BinaryDouble {
  std::uint64_t bits = 0;
  bool negative = false;
  bool finite = true;             // false for infinities and NaNs
  std::uint64_t fraction = 0;     // the stored 52 bits
  std::uint64_t significand = 0;  // with the hidden bit where there is one
  int exponent = 0;               // of the significand's last bit
};

inline BinaryDouble decode_double(double value) {
  BinaryDouble d;
  std::memcpy(&d.bits, &value, sizeof d.bits);
  d.negative = (d.bits >> 63) != 0;
  const int biased = static_cast<int>((d.bits >> 52) & 0x7FF);
  d.fraction = d.bits & ((std::uint64_t{1} << 52) - 1);
  d.finite = biased != 0x7FF;
  d.significand = biased == 0 ? d.fraction : d.fraction | (std::uint64_t{1} << 52);
  d.exponent = (biased == 0 ? 1 : biased) - 1075;
  return d;
}

}  // namespace gndfit
