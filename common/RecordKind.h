#pragma once
// Record kinds: bits of an index entry's Kind word. A kind mask selects the
// records that share at least one bit with it.

#include <cstdint>

inline constexpr std::uint32_t KindContinuous = 1;
inline constexpr std::uint32_t KindActivity = 2;
inline constexpr std::uint32_t KindMotion = 4;
inline constexpr std::uint32_t KindMotionHistory = 8;
inline constexpr std::uint32_t KindAll = 15;

inline constexpr bool KindWanted(std::uint32_t kindMask, std::uint32_t kinds) {
  return (kindMask & kinds) != 0;
}
