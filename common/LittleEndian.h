#pragma once
// Little-endian coding of the integers and times in the files this program
// reads and writes (volumes, the layout file). Records are always coded field
// by field through these, never copied as raw memory.

#include <bit>
#include <cstdint>
#include <limits>

static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559,
              "times are IEEE 754 binary64");

inline void PutU32(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

inline std::uint32_t GetU32(const unsigned char* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

inline void PutI32(unsigned char* p, std::int32_t v) { PutU32(p, static_cast<std::uint32_t>(v)); }
inline std::int32_t GetI32(const unsigned char* p) { return static_cast<std::int32_t>(GetU32(p)); }

inline void PutF64(unsigned char* p, double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  PutU32(p, static_cast<std::uint32_t>(bits));
  PutU32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

inline double GetF64(const unsigned char* p) {
  const std::uint64_t bits = std::uint64_t{GetU32(p)} | (std::uint64_t{GetU32(p + 4)} << 32);
  return std::bit_cast<double>(bits);
}
