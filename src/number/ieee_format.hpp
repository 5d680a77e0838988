// SPDX-License-Identifier: MIT
#pragma once
// The IEEE binary formats taken apart, the one decode of their bits for
// every conversion that works on them with integer arithmetic: the
// software extended type's loads and the exact decimal conversions.
#include <bit>
#include <cstdint>

namespace gndfit {

// std::bit_cast where the library has it; the compiler's built-in (which
// std::bit_cast is made of) where it does not yet (older libc++).
template <typename To, typename From>
constexpr To bit_cast_of(const From& value) {
#if defined(__cpp_lib_bit_cast)
  return std::bit_cast<To>(value);
#else
  return __builtin_bit_cast(To, value);
#endif
}

// Each format's layout: stored fraction bits, exponent bias and the
// all-ones exponent of infinities and NaNs.
template <typename T>
struct IeeeFormat;
template <>
struct IeeeFormat<double> {
  using Bits = std::uint64_t;
  static constexpr int kFractionBits = 52;
  static constexpr int kBias = 1023;
  static constexpr int kMaxBiased = 0x7FF;
};
template <>
struct IeeeFormat<float> {
  using Bits = std::uint32_t;
  static constexpr int kFractionBits = 23;
  static constexpr int kBias = 127;
  static constexpr int kMaxBiased = 0xFF;
};

// The three stored fields of a value.
struct IeeeFields {
  std::uint64_t bits = 0;  // the whole encoding
  bool negative = false;
  int biased = 0;              // the stored exponent
  std::uint64_t fraction = 0;  // the stored fraction bits
};

template <typename T>
constexpr IeeeFields ieee_fields(T value) {
  using Format = IeeeFormat<T>;
  const std::uint64_t bits = bit_cast_of<typename Format::Bits>(value);
  constexpr int kExponentShift = Format::kFractionBits;
  constexpr int kSignShift = 8 * sizeof(T) - 1;
  IeeeFields f;
  f.bits = bits;
  f.negative = (bits >> kSignShift) != 0;
  f.biased = static_cast<int>((bits >> kExponentShift) & static_cast<std::uint64_t>(Format::kMaxBiased));
  f.fraction = bits & ((std::uint64_t{1} << Format::kFractionBits) - 1);
  return f;
}

// A double as a value: significand 2^exponent for finite values, with the
// subnormals' significand and exponent already adjusted.
struct BinaryDouble {
  std::uint64_t bits = 0;
  bool negative = false;
  bool finite = true;             // false for infinities and NaNs
  std::uint64_t fraction = 0;     // the stored 52 bits
  std::uint64_t significand = 0;  // with the hidden bit where there is one
  int exponent = 0;               // of the significand's last bit
};

constexpr BinaryDouble decode_double(double value) {
  using Format = IeeeFormat<double>;
  const IeeeFields f = ieee_fields(value);
  BinaryDouble d;
  d.bits = f.bits;
  d.negative = f.negative;
  d.fraction = f.fraction;
  d.finite = f.biased != Format::kMaxBiased;
  d.significand = f.biased == 0 ? f.fraction : f.fraction | (std::uint64_t{1} << Format::kFractionBits);
  d.exponent = (f.biased == 0 ? 1 : f.biased) - Format::kBias - Format::kFractionBits;
  return d;
}

}  // namespace gndfit
