#include <gtest/gtest.h>

#include <cstring>

#include "common/FrameStream.h"

TEST(FrameStream, ReadsFromItsPositionAndStopsAtTheEnd) {
  FrameStream s;
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
  s.Append(bytes, 5);
  std::uint8_t out[8] = {};
  s.SetPosition(3);
  EXPECT_EQ(s.Read(out, 8), 2u);
  EXPECT_EQ(out[0], 4);
  EXPECT_EQ(s.Read(out, 8), 0u);
  s.SetPosition(99);
  EXPECT_EQ(s.Position(), 5u);
}

TEST(FrameStream, ClearKeepsStorageSoReuseAllocatesNothing) {
  FrameStream s;
  std::memset(s.Extend(5000), 7, 5000);
  const std::size_t capacity = s.Capacity();
  const std::uint8_t* data = s.Data();
  for (int i = 0; i < 100; ++i) {
    s.Clear();
    EXPECT_TRUE(s.Empty());
    std::memset(s.Extend(4000 + i), 1, 4000 + i);
  }
  EXPECT_EQ(s.Capacity(), capacity);
  EXPECT_EQ(s.Data(), data);
  s.Truncate(10);
  EXPECT_EQ(s.Size(), 10u);
}
