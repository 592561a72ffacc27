#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "archive/OrxWrite.h"
#include "archive/VolumeRules.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

using namespace orxtest;

constexpr std::int64_t TenMiB = 10485760;

VolumeHeader HeaderOf(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  return DecodeHeader(bytes.data());
}

// The header alone, for files too large to read whole.
VolumeHeader HeaderOf32(const std::string& path) {
  FileHandle f;
  VolumeHeader h;
  if (!f.Open(path, FileHandle::Mode::ReadOnly) || !ReadVolumeHeader(f, h)) return VolumeHeader{};
  return h;
}

IndexEntry EntryAt(const std::string& path, std::int64_t offset) {
  const auto bytes = ReadFileBytes(path);
  return DecodeEntry(bytes.data() + offset);
}

void FillExportBuffer(std::int32_t length, std::uint32_t seed) {
  const auto payload = FramePayload(length, seed);
  std::copy(payload.begin(), payload.end(), ExportBuffer.begin());
}

class Writer : public ::testing::Test {
 protected:
  TempDir dir_;
  TOrxWrite writer_;
};

// ---- Open -----------------------------------------------------------------

TEST_F(Writer, OpenNeedsAnExistingFileOfAtLeastOneMebibyte) {
  const std::string missing = dir_.File("missing.oxa");
  EXPECT_FALSE(writer_.Open(missing));
  EXPECT_FALSE(std::filesystem::exists(missing));  // never creates

  MakeFile(dir_.File("small.oxa"), 1048575);
  EXPECT_FALSE(writer_.Open(dir_.File("small.oxa")));
  EXPECT_FALSE(writer_.IsOpen());
  EXPECT_EQ(std::filesystem::file_size(dir_.File("small.oxa")), 1048575u);

  MakeFile(dir_.File("enough.oxa"), 1048576);
  ASSERT_TRUE(writer_.Open(dir_.File("enough.oxa")));
  EXPECT_EQ(HeaderOf(dir_.File("enough.oxa")).DataStart, 65568);
}

TEST_F(Writer, OpenMakesAnEmptyVolumeChangingOnlyTheFirst32Bytes) {
  const std::string path = dir_.File("v.oxa");
  MakeFile(path, TenMiB, 0xAB);
  ASSERT_TRUE(writer_.Open(path));
  const auto after = ReadFileBytes(path);
  ASSERT_EQ(after.size(), static_cast<std::size_t>(TenMiB));
  EXPECT_EQ(std::count(after.begin() + HeaderSize, after.end(), 0xAB), TenMiB - HeaderSize);

  const VolumeHeader h = DecodeHeader(after.data());
  EXPECT_TRUE(h.HasMagic());
  EXPECT_EQ(h.DataStart, 655392);
  EXPECT_EQ(h.CurrentRing, 0);
  EXPECT_EQ(h.Ring0Head, 32);
  EXPECT_EQ(h.Ring0Tail, 32);
  EXPECT_EQ(h.Ring1Head, 327712);
  EXPECT_EQ(h.Ring1Tail, 327712);

  FillExportBuffer(500, 7);
  ASSERT_EQ(writer_.Append(3, KindMotion, Sec(1), 500), 1);
  const IndexEntry e = EntryAt(path, 32);
  EXPECT_EQ(e.Camera, 3);
  EXPECT_EQ(e.Kind, static_cast<std::int32_t>(KindMotion));
  EXPECT_EQ(e.Time, Sec(1));
  EXPECT_EQ(e.Offset, 655392);
  EXPECT_EQ(e.Length, 500);
  EXPECT_EQ(HeaderOf(path).Ring0Tail, 64);
  const auto bytes = ReadFileBytes(path);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 655392, bytes.begin() + 655892),
            FramePayload(500, 7));
}

TEST_F(Writer, OpenContinuesAfterTheLastEntryOfTheCurrentRing) {
  VolumeBuilder v(dir_.File("v.oxa"));
  v.AddRun(0, 3, 0, 1);
  const std::int64_t end = v.DataCursor();
  ASSERT_TRUE(writer_.Open(v.Path()));
  EXPECT_EQ(writer_.WritePos(), end);
  FillExportBuffer(300, 1);
  ASSERT_EQ(writer_.Append(0, KindContinuous, Sec(5), 300), 1);
  EXPECT_EQ(EntryAt(v.Path(), v.SlotOffset(0, 3)).Offset, end);
  EXPECT_EQ(HeaderOf(v.Path()).Ring0Tail, v.SlotOffset(0, 4));
}

TEST_F(Writer, OpenMakesTheRingWithTheLaterFirstTimeCurrent) {
  struct Case {
    double first0, first1;
    int stored, expected;
  } cases[] = {
      {Sec(0), Sec(50), 0, 1},   // ring 1 newer
      {Sec(50), Sec(0), 1, 0},   // ring 0 newer
      {Sec(10), Sec(10), 1, 0},  // a tie goes to ring 0
  };
  for (const Case& c : cases) {
    VolumeBuilder v(dir_.File("v.oxa"));
    v.Add(0, c.first0);
    v.Add(1, c.first1);
    v.Header().CurrentRing = c.stored;
    v.WriteHeader();
    ASSERT_TRUE(writer_.Open(v.Path()));
    EXPECT_EQ(HeaderOf(v.Path()).CurrentRing, c.expected) << c.first0 << " " << c.first1;
  }
}

TEST_F(Writer, OpenKeepsTheStoredCurrentRingWhenARingIsEmpty) {
  VolumeBuilder v(dir_.File("v.oxa"));
  v.Add(0, Sec(100));
  v.Header().CurrentRing = 1;
  v.WriteHeader();
  ASSERT_TRUE(writer_.Open(v.Path()));
  EXPECT_EQ(HeaderOf(v.Path()).CurrentRing, 1);
  EXPECT_EQ(writer_.WritePos(), v.Header().DataStart);
}

TEST_F(Writer, OpenRefusesAHeaderWhosePointersWouldWriteOutsideTheRing) {
  const std::int64_t r = GeometryFor(MinVolumeSize).ringSize;
  struct Case {
    const char* what;
    void (*damage)(VolumeHeader&, std::int64_t r);
  } cases[] = {
      {"head after tail", [](VolumeHeader& h, std::int64_t) { h.Ring0Head = 96; h.Ring0Tail = 64; }},
      {"misaligned tail", [](VolumeHeader& h, std::int64_t) { h.Ring0Tail = 40; }},
      {"tail in ring 1", [](VolumeHeader& h, std::int64_t r) { h.Ring0Tail = static_cast<std::int32_t>(32 + r + 32); }},
      {"ring 1 below its region", [](VolumeHeader& h, std::int64_t) { h.Ring1Head = h.Ring1Tail = 32; }},
      {"tail past the file", [](VolumeHeader& h, std::int64_t) { h.Ring1Tail = 0x7FFFFFE0; }},
      {"negative head", [](VolumeHeader& h, std::int64_t) { h.Ring0Head = -32; }},
      {"data start over the rings", [](VolumeHeader& h, std::int64_t) { h.DataStart = 32; }},
      {"data start past the file", [](VolumeHeader& h, std::int64_t) { h.DataStart = 2000000; }},
      {"current ring 7", [](VolumeHeader& h, std::int64_t) { h.CurrentRing = 7; }},
  };
  for (const Case& c : cases) {
    VolumeBuilder v(dir_.File("v.oxa"));
    c.damage(v.Header(), r);
    v.WriteHeader();
    const auto before = ReadFileBytes(v.Path());
    EXPECT_FALSE(writer_.Open(v.Path())) << c.what;
    EXPECT_EQ(writer_.Append(0, 1, Sec(0), 100), -1) << c.what;
    EXPECT_TRUE(ReadFileBytes(v.Path()) == before) << c.what;
  }
}

TEST_F(Writer, OpenRefusesALastEntryThatPointsIntoTheIndex) {
  VolumeBuilder v(dir_.File("v.oxa"));
  IndexEntry e = v.Add(0, Sec(0));
  e.Offset = 40;  // appending after it would overwrite ring 0
  v.PutEntry(0, 0, e);
  EXPECT_FALSE(writer_.Open(v.Path()));
}

// ---- Append ---------------------------------------------------------------

TEST_F(Writer, AppendIsMinusOneWhenNotOpenOrTheLengthLeavesTheBuffer) {
  EXPECT_EQ(writer_.Append(0, 1, Sec(0), 100), -1);
  // Room for a frame as long as the buffer.
  MakeFile(dir_.File("v.oxa"), 2 * MinVolumeSize);
  ASSERT_TRUE(writer_.Open(dir_.File("v.oxa")));
  EXPECT_EQ(writer_.Append(0, 1, Sec(0), -1), -1);
  EXPECT_EQ(writer_.Append(0, 1, Sec(0), ExportBufferSize + 1), -1);
  EXPECT_EQ(writer_.Append(0, 1, std::nan(""), 100), -1);
  EXPECT_EQ(HeaderOf(dir_.File("v.oxa")).Ring0Tail, 32);  // nothing written
  EXPECT_EQ(writer_.Append(0, 1, Sec(0), ExportBufferSize), 1);
  writer_.Close();
  EXPECT_EQ(writer_.Append(0, 1, Sec(1), 100), -1);
}

// A volume whose next frame starts `room` bytes before the end of the file.
std::string VolumeWithRoom(const TempDir& dir, std::int64_t room) {
  VolumeBuilder v(dir.File("v.oxa"));
  v.SetDataCursor(MinVolumeSize - room - 200);
  v.Add(0, Sec(0));
  return v.Path();
}

TEST_F(Writer, AFrameEndingExactlyAtTheEndOfTheFileFits) {
  for (std::int32_t length : {999, 1000}) {
    ASSERT_TRUE(writer_.Open(VolumeWithRoom(dir_, 1000)));
    EXPECT_EQ(writer_.Append(0, 1, Sec(1), length), 1) << length;
  }
  const std::string path = VolumeWithRoom(dir_, 1000);
  ASSERT_TRUE(writer_.Open(path));
  const auto before = ReadFileBytes(path);
  EXPECT_EQ(writer_.Append(0, 1, Sec(1), 1001), 0);
  EXPECT_TRUE(ReadFileBytes(path) == before);
  // A refusal moves nothing: a frame that fits still goes where it belongs.
  EXPECT_EQ(writer_.Append(0, 1, Sec(1), 1000), 1);
  EXPECT_EQ(EntryAt(path, 64).Offset, MinVolumeSize - 1000);
}

TEST_F(Writer, TheRingIsFullAtEntry10240Of100ByteFrames) {
  const std::string path = dir_.File("v.oxa");
  MakeFile(path, TenMiB);
  ASSERT_TRUE(writer_.Open(path));
  for (int i = 0; i < 10239; ++i)
    ASSERT_EQ(writer_.Append(i % 32, 1, Ms(40 * i), 100), 1) << i;
  const auto before = ReadFileBytes(path);
  EXPECT_EQ(writer_.Append(0, 1, Ms(40 * 10239), 100), 0);
  EXPECT_TRUE(ReadFileBytes(path) == before);
  const VolumeHeader h = HeaderOf(path);
  EXPECT_EQ(h.Ring0Tail, 32 + 327680 - 32);  // the last slot stays unwritten
  EXPECT_EQ(writer_.WritePos(), 655392 + 10239 * 100);
}

TEST_F(Writer, FramesStopAtTheLastByteA32BitOffsetCanReach) {
  constexpr std::int64_t Limit = 0x7FFFFFFF;
  const std::string path = dir_.File("big.oxa");
  try {
    VolumeBuilder v(path, 3 * (std::int64_t{1} << 30));  // sparse: costs no space
    v.SetDataCursor(Limit - 1000 - 200);
    v.Add(0, Sec(0));
  } catch (const std::exception& e) {
    GTEST_SKIP() << "no sparse 3 GiB file here: " << e.what();
  }
  ASSERT_TRUE(writer_.Open(path));
  EXPECT_EQ(writer_.Append(0, 1, Sec(1), 1000), 1);  // ends exactly at 2^31 - 1
  EXPECT_EQ(writer_.WritePos(), Limit);
  EXPECT_EQ(writer_.Append(0, 1, Sec(2), 100), 0);
}

TEST_F(Writer, OpenRefusesAFileWhoseDataStartNo32BitOffsetCanHold) {
  const std::string path = dir_.File("huge.oxa");
  try {
    MakeFile(path, std::int64_t{33} << 30);  // 33 GiB: DataStart past 2^31
  } catch (const std::exception& e) {
    GTEST_SKIP() << "no sparse 33 GiB file here: " << e.what();
  }
  EXPECT_FALSE(writer_.Open(path));
  std::uint8_t header[HeaderSize] = {};
  FileHandle f;
  ASSERT_TRUE(f.Open(path, FileHandle::Mode::ReadOnly));
  ASSERT_TRUE(f.ReadAt(0, header, HeaderSize));
  EXPECT_FALSE(DecodeHeader(header).HasMagic());  // left untouched
}

// ---- Trimming the older ring ---------------------------------------------

// A 4 MiB volume, ring 0 current and empty, ring 1 older with 40 entries:
// entry 0 at offset 1,000,000, entries 1..31 far ahead, entry 32 at `at32`.
class WriterTrim : public Writer {
 protected:
  static constexpr std::int64_t Size = 4 * MinVolumeSize;
  std::string Make(std::int64_t at32) {
    VolumeBuilder v(dir_.File("trim.oxa"), Size);
    for (int i = 0; i < 40; ++i) {
      IndexEntry e;
      e.Time = Sec(i);
      e.Length = 100;
      e.Offset = i == 0 ? 1000000 : i == 32 ? static_cast<std::int32_t>(at32) : 3900000;
      v.PutEntry(1, i, e);
    }
    v.SetLive(1, 0, 40);
    ring1Start_ = v.Geometry().RingStart(1);
    frameEnd_ = v.Geometry().DataStart() + 1000;
    return v.Path();
  }
  std::int64_t ring1Start_ = 0;
  std::int64_t frameEnd_ = 0;
};

TEST_F(WriterTrim, DropsThirtyTwoEntriesAtATimeUpToTheMargin) {
  const std::string path = Make(/*at32=*/0);
  ASSERT_TRUE(writer_.Open(path));
  ASSERT_EQ(writer_.Append(0, 1, Sec(100), 1000), 1);
  // Entry 32 is within the margin too; dropping it empties the ring.
  EXPECT_EQ(HeaderOf(path).Ring1Head, ring1Start_);
  EXPECT_EQ(HeaderOf(path).Ring1Tail, ring1Start_);

  const std::string beyond = Make(frameEnd_ + TOrxWrite::TrimMargin + 1);
  ASSERT_TRUE(writer_.Open(beyond));
  ASSERT_EQ(writer_.Append(0, 1, Sec(100), 1000), 1);
  EXPECT_EQ(HeaderOf(beyond).Ring1Head, ring1Start_ + TOrxWrite::TrimStep);
  EXPECT_EQ(HeaderOf(beyond).Ring1Tail, ring1Start_ + 40 * 32);

  const std::string atMargin = Make(frameEnd_ + TOrxWrite::TrimMargin);
  ASSERT_TRUE(writer_.Open(atMargin));
  ASSERT_EQ(writer_.Append(0, 1, Sec(100), 1000), 1);
  EXPECT_EQ(HeaderOf(atMargin).Ring1Head, ring1Start_);
  EXPECT_EQ(HeaderOf(atMargin).Ring1Tail, ring1Start_);
}

}  // namespace

namespace {

using namespace orxtest;

// Just under 32 GiB the older ring ends within the last KiB below 2^31: a
// Head there plus one trim step passes 2^31 - 1, and must not wrap.
TEST(WriterLargeVolume, TrimsAHeadInTheLastKibibyteBelowTwoGibibytes) {
  TempDir dir;
  const std::string path = dir.File("edge.oxa");
  const std::int64_t size = std::int64_t{33554416} * 1024;  // 32 GiB - 16 KiB
  std::int64_t lastSlot = 0;
  try {
    VolumeBuilder v(path, size);  // sparse: costs no space
    lastSlot = v.Geometry().MaxEntriesPerRing() - 1;
    IndexEntry e;
    e.Time = Sec(0);
    e.Offset = static_cast<std::int32_t>(v.Geometry().DataStart());
    e.Length = 100;
    v.PutEntry(1, lastSlot, e);
    v.SetLive(1, lastSlot, lastSlot + 1);
    ASSERT_GE(v.SlotOffset(1, lastSlot), (std::int64_t{1} << 31) - 1024);
  } catch (const std::exception& e) {
    GTEST_SKIP() << "no sparse 32 GiB file here: " << e.what();
  }
  TOrxWrite writer;
  ASSERT_TRUE(writer.Open(path));
  FillExportBuffer(200, 1);
  EXPECT_EQ(writer.Append(0, 1, Sec(1), 200), 1);  // fits below 2^31 - 1
  const VolumeHeader h = HeaderOf32(path);
  EXPECT_EQ(h.Ring1Head, h.Ring1Tail);  // the older ring was dropped whole
  EXPECT_EQ(h.Ring0Tail, h.Ring0Head + 32);
}

}  // namespace
