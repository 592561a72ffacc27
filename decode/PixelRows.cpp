#include "decode/PixelRows.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The four-byte copies below rely on the pixel bytes B, G, R, X being the
// low-to-high bytes of a 32-bit word.
static_assert(std::endian::native == std::endian::little);

namespace {

inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void Store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// a * b / 255, rounded, exact for bytes.
inline std::uint8_t MulDiv255(unsigned a, unsigned b) {
  const unsigned t = a * b + 128;
  return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

}  // namespace

void GrayToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width) {
  // Backwards, so that an in-place expansion never overwrites unread samples.
  for (unsigned i = width; i-- > 0;) {
    const std::uint32_t g = source[i];
    Store32(destination + 4 * i, g | g << 8 | g << 16);
  }
}

void BgrxToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width) {
  // On the fast path of every colour frame: four pixels at a time.
  unsigned i = 0;
#if defined(__SSE2__)
  const __m128i keep = _mm_set1_epi32(0x00FFFFFF);
  for (; i + 4 <= width; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * i), _mm_and_si128(v, keep));
  }
#endif
  for (; i < width; ++i) Store32(destination + 4 * i, Load32(source + 4 * i) & 0x00FFFFFFu);
}

void BgrxToBgr0Streaming(const std::uint8_t* source, std::uint8_t* destination,
                         unsigned width) {
  unsigned i = 0;
#if defined(__SSE2__)
  // Streaming stores need 16-byte alignment: plain ones up to it.
  for (; i < width && (reinterpret_cast<std::uintptr_t>(destination + 4 * i) & 15) != 0; ++i)
    Store32(destination + 4 * i, Load32(source + 4 * i) & 0x00FFFFFFu);
  const __m128i keep = _mm_set1_epi32(0x00FFFFFF);
  for (; i + 4 <= width; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
    _mm_stream_si128(reinterpret_cast<__m128i*>(destination + 4 * i), _mm_and_si128(v, keep));
  }
#endif
  for (; i < width; ++i) Store32(destination + 4 * i, Load32(source + 4 * i) & 0x00FFFFFFu);
}

void FinishStreaming() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

void CmykToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width,
                bool inverted) {
  // Same size in and out: forwards is safe in place.
  const unsigned flip = inverted ? 0 : 255;
  for (unsigned i = 0; i < width; ++i) {
    const std::uint8_t* p = source + 4 * i;
    const unsigned k = p[3] ^ flip;
    const std::uint8_t red = MulDiv255(p[0] ^ flip, k);
    const std::uint8_t green = MulDiv255(p[1] ^ flip, k);
    const std::uint8_t blue = MulDiv255(p[2] ^ flip, k);
    std::uint8_t* q = destination + 4 * i;
    q[0] = blue;
    q[1] = green;
    q[2] = red;
    q[3] = 0;
  }
}
