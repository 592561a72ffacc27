// The AVX2 row kernels. This file alone is built for AVX2; PictureRows calls
// it only on processors that have it. Each kernel gives the same bytes as
// its portable version; the SSE2 version finishes the last few pixels.

#include <immintrin.h>

#include "view/PictureRows.h"

namespace picture_rows {

Kernels Avx2Kernels();

namespace {

// The last few pixels of a row.
const Kernels& Tails() {
  static const Kernels sse2 = Sse2();
  return sse2;
}

void HalveAvx2(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, int width) {
  int x = 0;
  // Eight output pixels from sixteen of each row. The shuffles work within
  // 128-bit lanes, so the result comes as pixels 0 1 4 5 | 2 3 6 7 and is
  // put in order at the end.
  for (; x + 8 <= width; x += 8) {
    const __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + 8 * x));
    const __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + 8 * x + 32));
    const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 8 * x));
    const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 8 * x + 32));
    const __m256 v0 = _mm256_castsi256_ps(_mm256_avg_epu8(a0, b0));
    const __m256 v1 = _mm256_castsi256_ps(_mm256_avg_epu8(a1, b1));
    const __m256i even = _mm256_castps_si256(_mm256_shuffle_ps(v0, v1, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m256i odd = _mm256_castps_si256(_mm256_shuffle_ps(v0, v1, _MM_SHUFFLE(3, 1, 3, 1)));
    const __m256i mixed = _mm256_avg_epu8(even, odd);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x),
                        _mm256_permute4x64_epi64(mixed, _MM_SHUFFLE(3, 1, 2, 0)));
  }
  Tails().halve(a + 8 * x, b + 8 * x, out + 4 * x, width - x);
}

void BlendRowsAvx2(const std::uint32_t* a, const std::uint32_t* b, int w, std::uint16_t* out,
                   int width) {
  const __m256i half = _mm256_set1_epi16(128);
  const __m256i wa = _mm256_set1_epi16(static_cast<short>(256 - w));
  const __m256i wb = _mm256_set1_epi16(static_cast<short>(w));
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    // Four pixels, widened to 16 bits a channel in pixel order.
    const __m256i pa = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)));
    const __m256i pb = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x)));
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(pa, wa), _mm256_mullo_epi16(pb, wb));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x),
                        _mm256_srli_epi16(_mm256_add_epi16(sum, half), 8));
  }
  Tails().blendRows(a + x, b + x, w, out + 4 * x, width - x);
}

void BlendColumnsAvx2(const std::uint16_t* row, const int* index, const int* weight,
                      const std::int16_t* pairs, std::uint32_t* out, int width) {
  const __m256i half = _mm256_set1_epi16(128);
  const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  // Output pixels d and e, one per 128-bit lane: each lane a pixel and its
  // right neighbour, times their weights.
  auto weighted = [&](int d, int e) {
    const __m256i p = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(row + 4 * index[e]),
                                          reinterpret_cast<const __m128i*>(row + 4 * index[d]));
    const __m256i w = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(pairs + 8 * e),
                                          reinterpret_cast<const __m128i*>(pairs + 8 * d));
    return _mm256_mullo_epi16(p, w);
  };
  int d = 0;
  for (; d + 8 <= width; d += 8) {
    // Lanes hold pixels 0 | 2 and 1 | 3: the halves added give 0 1 | 2 3.
    const __m256i p02 = weighted(d, d + 2), p13 = weighted(d + 1, d + 3);
    const __m256i p46 = weighted(d + 4, d + 6), p57 = weighted(d + 5, d + 7);
    __m256i s0123 = _mm256_add_epi16(_mm256_unpacklo_epi64(p02, p13), _mm256_unpackhi_epi64(p02, p13));
    __m256i s4567 = _mm256_add_epi16(_mm256_unpacklo_epi64(p46, p57), _mm256_unpackhi_epi64(p46, p57));
    s0123 = _mm256_srli_epi16(_mm256_add_epi16(s0123, half), 8);
    s4567 = _mm256_srli_epi16(_mm256_add_epi16(s4567, half), 8);
    // Packed within lanes: 0 1 4 5 | 2 3 6 7.
    const __m256i packed = _mm256_packus_epi16(s0123, s4567);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + d),
                        _mm256_or_si256(_mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)),
                                        opaque));
  }
  Tails().blendColumns(row, index + d, weight + d, pairs + 8 * d, out + d, width - d);
}

}  // namespace

Kernels Avx2Kernels() { return {HalveAvx2, BlendRowsAvx2, BlendColumnsAvx2}; }

}  // namespace picture_rows
