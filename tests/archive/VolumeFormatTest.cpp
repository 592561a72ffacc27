#include <gtest/gtest.h>

#include <cstring>

#include "archive/VolumeFormat.h"

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

TEST(VolumeHeaderCoding, FreshMegabyteHeaderHasTheDocumentedBytes) {
  std::uint8_t bytes[HeaderSize];
  EncodeHeader(FreshHeader(MinVolumeSize), bytes);
  const auto expected = Bytes({0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,  // magic
                               0x20, 0x00, 0x01, 0x00,   // DataStart 65,568
                               0x00, 0x00, 0x00, 0x00,   // CurrentRing 0
                               0x20, 0x00, 0x00, 0x00,   // Ring0Head 32
                               0x20, 0x00, 0x00, 0x00,   // Ring0Tail 32
                               0x20, 0x80, 0x00, 0x00,   // Ring1Head 32,800
                               0x20, 0x80, 0x00, 0x00}); // Ring1Tail 32,800
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + HeaderSize), expected);
  EXPECT_TRUE(DecodeHeader(bytes).HasMagic());
}

TEST(VolumeHeaderCoding, MagicMustMatchInBothWords) {
  VolumeHeader h = FreshHeader(MinVolumeSize);
  h.MagicHigh ^= 1;
  EXPECT_FALSE(h.HasMagic());
  h = FreshHeader(MinVolumeSize);
  h.MagicLow = 0;
  EXPECT_FALSE(h.HasMagic());
}

TEST(IndexEntryCoding, FieldsSitAtTheirOffsetsLittleEndian) {
  IndexEntry e;
  e.Camera = -2;
  e.Reserved1 = 0xA1A2A3A4;
  e.Time = 1.0;  // 3F F0 00 .. as IEEE 754, stored low byte first
  e.Kind = 0x0C;
  e.Offset = 0x01020304;
  e.Length = 0x7FFFFFFF;
  e.Reserved2 = 0xB1B2B3B4;
  std::uint8_t bytes[EntrySize];
  EncodeEntry(e, bytes);
  const auto expected = Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xA4, 0xA3, 0xA2, 0xA1,
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,
                               0x0C, 0x00, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01,
                               0xFF, 0xFF, 0xFF, 0x7F, 0xB4, 0xB3, 0xB2, 0xB1});
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + EntrySize), expected);

  const IndexEntry back = DecodeEntry(bytes);
  EXPECT_EQ(back.Camera, -2);
  EXPECT_EQ(back.Time, 1.0);
  EXPECT_EQ(back.Offset, 0x01020304);
  EXPECT_EQ(back.Length, 0x7FFFFFFF);
  EXPECT_EQ(back.Reserved2, 0xB1B2B3B4u);
}

TEST(VolumeGeometry, RingsCountWholeKilobytesOnly) {
  EXPECT_EQ(RingSizeFor(1048576), 32768);
  EXPECT_EQ(RingSizeFor(1049599), 32768);
  EXPECT_EQ(RingSizeFor(1049600), 32800);
  EXPECT_EQ(RingSizeFor(1023), 0);

  const VolumeGeometry g = GeometryFor(10485760);
  EXPECT_EQ(g.ringSize, 327680);
  EXPECT_EQ(g.RingStart(0), 32);
  EXPECT_EQ(g.RingStart(1), 327712);
  EXPECT_EQ(g.DataStart(), 655392);
  EXPECT_EQ(g.MaxEntriesPerRing() - 1, 10239);  // the last slot is never written

  const VolumeHeader h = FreshHeader(10485760);
  EXPECT_EQ(h.DataStart, 655392);
  EXPECT_EQ(h.Ring0Head, 32);
  EXPECT_EQ(h.Ring0Tail, 32);
  EXPECT_EQ(h.Ring1Head, 327712);
  EXPECT_EQ(h.Ring1Tail, 327712);
  EXPECT_EQ(h.CurrentRing, 0);
}

}  // namespace
