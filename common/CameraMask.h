#pragma once
// Camera masks: bit n stands for camera n, cameras 0..31.

#include <cstdint>

inline constexpr int CameraCount = 32;
inline constexpr std::uint32_t AllCameras = 0xFFFFFFFFu;

// The bit of a camera, 0 for a number outside 0..31 (never a shift by 32 or
// more, which C++ leaves undefined).
inline constexpr std::uint32_t CameraBit(std::int64_t camera) {
  return (camera >= 0 && camera < CameraCount) ? (std::uint32_t{1} << camera) : 0u;
}

// A camera outside 0..31 is never wanted: no mask can select it.
inline constexpr bool CameraWanted(std::uint32_t cameraMask, std::int64_t camera) {
  return (cameraMask & CameraBit(camera)) != 0;
}
