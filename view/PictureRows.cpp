#include "view/PictureRows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace picture_rows {

#if defined(ORX_AVX2_ROWS)
// In PictureRowsAvx2.cpp, built for AVX2: only called when the processor has it.
Kernels Avx2Kernels();
#endif

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

inline unsigned Average(unsigned a, unsigned b) { return (a + b + 1) / 2; }

inline unsigned Mix(unsigned a, unsigned b, int w) {
  return (a * unsigned(256 - w) + b * unsigned(w) + 128) / 256;
}

void HalvePortable(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, int width) {
  for (int x = 0; x < width; ++x)
    for (int c = 0; c < 4; ++c)
      out[4 * x + c] = static_cast<std::uint8_t>(Average(Average(a[8 * x + c], b[8 * x + c]),
                                                         Average(a[8 * x + 4 + c], b[8 * x + 4 + c])));
}

void BlendRowsPortable(const std::uint32_t* a, const std::uint32_t* b, int w, std::uint16_t* out,
                       int width) {
  for (int x = 0; x < width; ++x)
    for (int c = 0; c < 4; ++c)
      out[4 * x + c] =
          static_cast<std::uint16_t>(Mix((a[x] >> (8 * c)) & 0xFF, (b[x] >> (8 * c)) & 0xFF, w));
}

void BlendColumnsPortable(const std::uint16_t* row, const int* index, const int* weight,
                          const std::int16_t*, std::uint32_t* out, int width) {
  for (int d = 0; d < width; ++d) {
    const std::uint16_t* p = row + 4 * index[d];
    std::uint32_t pixel = kOpaque;
    for (int c = 0; c < 3; ++c) pixel |= std::uint32_t(Mix(p[c], p[4 + c], weight[d])) << (8 * c);
    out[d] = pixel;
  }
}

#if defined(__SSE2__)
void HalveSse2(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, int width) {
  int x = 0;
  // Four output pixels from eight of each row: rows averaged, then the even
  // and odd pixels.
  for (; x + 4 <= width; x += 4) {
    const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 8 * x));
    const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 8 * x + 16));
    const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 8 * x));
    const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 8 * x + 16));
    const __m128 v0 = _mm_castsi128_ps(_mm_avg_epu8(a0, b0));
    const __m128 v1 = _mm_castsi128_ps(_mm_avg_epu8(a1, b1));
    const __m128i even = _mm_castps_si128(_mm_shuffle_ps(v0, v1, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(v0, v1, _MM_SHUFFLE(3, 1, 3, 1)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_avg_epu8(even, odd));
  }
  HalvePortable(a + 8 * x, b + 8 * x, out + 4 * x, width - x);
}

void BlendRowsSse2(const std::uint32_t* a, const std::uint32_t* b, int w, std::uint16_t* out,
                   int width) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi16(128);
  const __m128i wa = _mm_set1_epi16(static_cast<short>(256 - w));
  const __m128i wb = _mm_set1_epi16(static_cast<short>(w));
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
    const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
    // Sums stay below 65536: 255 * 256 + 128 at most.
    const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(pa, zero), wa),
                                     _mm_mullo_epi16(_mm_unpacklo_epi8(pb, zero), wb));
    const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(pa, zero), wa),
                                     _mm_mullo_epi16(_mm_unpackhi_epi8(pb, zero), wb));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x),
                     _mm_srli_epi16(_mm_add_epi16(lo, half), 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x + 8),
                     _mm_srli_epi16(_mm_add_epi16(hi, half), 8));
  }
  BlendRowsPortable(a + x, b + x, w, out + 4 * x, width - x);
}

void BlendColumnsSse2(const std::uint16_t* row, const int* index, const int* weight,
                      const std::int16_t* pairs, std::uint32_t* out, int width) {
  const __m128i half = _mm_set1_epi16(128);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(kOpaque));
  // One 16-byte load holds a pixel and its right neighbour; multiplied by
  // the pair's weights, its halves add up to the output pixel.
  auto weighted = [&](int d) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * index[d]));
    return _mm_mullo_epi16(p, _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs + 8 * d)));
  };
  int d = 0;
  for (; d + 4 <= width; d += 4) {
    const __m128i p0 = weighted(d), p1 = weighted(d + 1), p2 = weighted(d + 2),
                  p3 = weighted(d + 3);
    __m128i s01 = _mm_add_epi16(_mm_unpacklo_epi64(p0, p1), _mm_unpackhi_epi64(p0, p1));
    __m128i s23 = _mm_add_epi16(_mm_unpacklo_epi64(p2, p3), _mm_unpackhi_epi64(p2, p3));
    s01 = _mm_srli_epi16(_mm_add_epi16(s01, half), 8);
    s23 = _mm_srli_epi16(_mm_add_epi16(s23, half), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + d),
                     _mm_or_si128(_mm_packus_epi16(s01, s23), opaque));
  }
  BlendColumnsPortable(row, index + d, weight + d, pairs + 8 * d, out + d, width - d);
}
#endif

}  // namespace

Kernels Portable() { return {HalvePortable, BlendRowsPortable, BlendColumnsPortable}; }

Kernels Sse2() {
#if defined(__SSE2__)
  return {HalveSse2, BlendRowsSse2, BlendColumnsSse2};
#else
  return Portable();
#endif
}

Kernels Avx2() {
#if defined(ORX_AVX2_ROWS)
  if (__builtin_cpu_supports("avx2")) return Avx2Kernels();
#endif
  return {nullptr, nullptr, nullptr};
}

const Kernels& Best() {
  static const Kernels best = [] {
    const Kernels avx2 = Avx2();
    return avx2.halve ? avx2 : Sse2();
  }();
  return best;
}

}  // namespace picture_rows
