// Steady state: decoding frames of an unchanged size allocates nothing of
// ours (libjpeg's per-image working memory is its own, through malloc).

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

#include "TestJpeg.h"
#include "decode/FrameDecoder.h"

namespace {
std::atomic<long> g_news{0};
}  // namespace

void* operator new(std::size_t size) {
  g_news.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(FrameDecoderSteadyState, SameSizeFramesAllocateNothing) {
  std::vector<Bytes> frames;
  for (int seed = 1; seed <= 4; ++seed) {
    EncodeOptions o;
    o.width = 352;
    o.height = 288;
    o.seed = seed;
    frames.push_back(EncodeSynthetic(o));
  }
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream stream;
  // Room for the largest frame, made from that frame's own bytes.
  const Bytes& largest = *std::max_element(
      frames.begin(), frames.end(), [](const Bytes& a, const Bytes& b) { return a.size() < b.size(); });
  stream.Append(largest.data(), largest.size());
  stream.Clear();
  stream.Append(frames[0].data(), frames[0].size());
  ASSERT_EQ(decoder.Decode(stream, target), 1);  // first frame sizes the bitmap

  const uchar* bits = target.Bitmap().constBits();
  const std::size_t capacity = stream.Capacity();
  const long before = g_news.load();
  int decoded = 0;
  for (int round = 0; round < 25; ++round) {
    for (const Bytes& f : frames) {
      stream.Clear();
      stream.Append(f.data(), f.size());
      decoded += decoder.Decode(stream, target);
    }
  }
  const long allocations = g_news.load() - before;
  EXPECT_EQ(decoded, 100);
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(target.Bitmap().constBits(), bits);
  EXPECT_EQ(stream.Capacity(), capacity);
}

}  // namespace
