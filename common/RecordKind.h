#pragma once
// Record kinds: bits of an index entry's Kind word. A kind mask selects the
// records that share at least one bit with it.

#include <cstdint>

inline constexpr std::uint32_t KindContinuous = 1;
inline constexpr std::uint32_t KindActivity = 2;
inline constexpr std::uint32_t KindMotion = 4;
inline constexpr std::uint32_t KindMotionHistory = 8;
inline constexpr std::uint32_t KindAll = 15;

// The four kind bits, in the order the playback window's boxes list them.
inline constexpr std::uint32_t KindBits[] = {KindContinuous, KindActivity, KindMotion,
                                             KindMotionHistory};

// A kind bit's name in lower case, UTF-8, as hints and reports say it;
// nullptr for anything but one of the four bits.
inline constexpr const char* KindName(std::uint32_t bit) {
  switch (bit) {
    case KindContinuous: return "непрерывная";
    case KindActivity: return "активность";
    case KindMotion: return "движение";
    case KindMotionHistory: return "история движения";
    default: return nullptr;
  }
}

inline constexpr bool KindWanted(std::uint32_t kindMask, std::uint32_t kinds) {
  return (kindMask & kinds) != 0;
}
