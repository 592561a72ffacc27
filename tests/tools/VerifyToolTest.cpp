#include <gtest/gtest.h>

#include "tests/archive/support/VolumeBuilder.h"
#include "tests/archview/ArchVolumes.h"
#include "tests/tools/ExportArchive.h"
#include "tests/tools/ToolRun.h"

using orxtest::Sec;

namespace {

bool HasLine(const ToolResult& r, const std::string& line) {
  for (const std::string& l : r.OutLines())
    if (l == line) return true;
  return false;
}

TEST(VerifyTool, CleanVolumesPassWithExitZero) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  v.AddRun(0, 4, 10, 1);
  v.AddRun(1, 3, 20, 1, 7, KindMotion | KindContinuous);
  orxtest::VolumeBuilder empty(dir.File("empty.oxa"));
  const ToolResult r = RunTool({"verify", v.Path(), empty.Path()});
  EXPECT_EQ(r.exit, 0) << r.out;
  EXPECT_EQ(r.out, v.Path() + ": ok, 7 entries\n" + empty.Path() + ": ok, 0 entries\n");
}

TEST(VerifyTool, EachDamagedSlotIsListedWithItsOffset) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  v.AddRun(0, 6, 0, 1);
  const std::string p = v.Path() + ": ";
  IndexEntry e = v.Add(0, Sec(10));  // slot 224
  e.Length = 50;
  v.PutEntry(0, 6, e);
  e = v.Add(0, Sec(5));  // slot 256: earlier than the slot before it
  e = v.Add(0, Sec(11));  // slot 288: frame past the end of the file
  e.Offset = 1048576 - 100;
  e.Length = 200;
  v.PutEntry(0, 8, e);
  e = v.Add(0, Sec(12));  // slot 320: no start-of-image marker
  const std::int32_t noMarkerAt = e.Offset;
  v.PutBytes(e.Offset, {0x00, 0x00});
  e = v.Add(0, Sec(13), 40);  // slot 352: camera outside 0..31
  e = v.Add(0, Sec(14));  // slot 384: offset inside the index
  e.Offset = 100;
  v.PutEntry(0, 11, e);
  v.Header().Ring1Tail = v.Header().Ring1Head + 16;  // off the slot grid
  v.WriteHeader();

  const ToolResult r = RunTool({"verify", v.Path()});
  EXPECT_EQ(r.exit, 1);
  EXPECT_TRUE(HasLine(r, p + "ring 0 slot 224: frame length 50 outside 100..1048576")) << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 0 slot 256: time " + Day(Sec(5)) +
                             " before the previous entry's " + Day(Sec(10))))
      << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 0 slot 288: frame 1048476+200 runs past the end of the "
                             "file (1048576)"))
      << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 0 slot 320: frame at " + std::to_string(noMarkerAt) +
                             " starts 00 00, not FF D8"))
      << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 0 slot 352: camera 40 outside 0..31")) << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 0 slot 384: frame offset 100 before the data area at 65568"))
      << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 1 Tail 32816 not on a 32-byte slot")) << r.out;
  EXPECT_TRUE(HasLine(r, p + "7 problems")) << r.out;
}

TEST(VerifyTool, HeaderRulesAndPointerBoundsAreChecked) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  v.Header().DataStart = 1000;
  v.Header().CurrentRing = 5;
  v.Header().Ring0Head = 64;  // Head after Tail
  v.Header().Ring1Tail = 0x7FFFFFE0;  // far past the ring
  v.WriteHeader();
  const std::string p = v.Path() + ": ";
  const ToolResult r = RunTool({"verify", v.Path()});
  EXPECT_EQ(r.exit, 1);
  EXPECT_TRUE(HasLine(r, p + "header DataStart 1000, expected 32 + 2R = 65568")) << r.out;
  EXPECT_TRUE(HasLine(r, p + "header CurrentRing 5 is neither 0 nor 1")) << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 0 Head 64 after Tail 32")) << r.out;
  EXPECT_TRUE(HasLine(r, p + "ring 1 Tail 2147483616 outside the ring 32800..65568")) << r.out;
}

TEST(VerifyTool, NonVolumeAmongVolumesFailsOnlyItself) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  orxtest::MakeFile(dir.File("short.bin"), 10);
  const ToolResult r = RunTool({"verify", dir.File("short.bin"), v.Path()});
  EXPECT_EQ(r.exit, 1);
  EXPECT_TRUE(HasLine(r, dir.File("short.bin") +
                             ": not a volume (too short: 10 bytes, a header needs 32)"))
      << r.out;
  EXPECT_TRUE(HasLine(r, v.Path() + ": ok, 0 entries")) << r.out;
}

}  // namespace

namespace {

// Offset of the baseline frame header's marker (FF C0).
std::size_t FindSof(const archtest::Bytes& jpeg) {
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i;
  return 0;
}

// Byte i of frame flipped (every bit) for each i in [from, to).
archtest::Bytes Flipped(archtest::Bytes frame, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to && i < frame.size(); ++i) frame[i] ^= 0xFF;
  return frame;
}

struct FramesRow {
  const char* label;
  // Makes the middle one of three frames from a good one.
  archtest::Bytes (*damage)(const archtest::Bytes& good);
  // What verify --frames says of it after "ring 0 slot 64: frame at <n> ";
  // empty: nothing.
  const char* problem;
};

class VerifyFrames : public ::testing::TestWithParam<FramesRow> {};

TEST_P(VerifyFrames, EachFrameIsDecodedOnlyWithTheOption) {
  const archtest::Bytes good = archtest::EncodeJpeg(96, 64, 3);
  std::vector<archtest::Record> records;
  for (int i = 0; i < 3; ++i) records.push_back({Sec(10 + i), i, KindContinuous});
  const ExportArchive archive(records, {good, GetParam().damage(good), good});
  const std::string p = archive.volume + ": ";

  // Without the option only the format's rules, which the frames keep.
  ToolResult r = RunTool({"verify", archive.volume});
  EXPECT_EQ(r.exit, 0) << r.out;
  EXPECT_EQ(r.out, p + "ok, 3 entries\n");

  r = RunTool({"verify", "--frames", archive.volume});
  EXPECT_TRUE(r.err.empty()) << r.err;  // libjpeg's messages are in the report
  const std::string problem = GetParam().problem;
  if (problem.empty()) {
    EXPECT_EQ(r.exit, 0) << r.out;
    EXPECT_EQ(r.out, p + "ok, 3 entries, 3 frames decoded\n");
    return;
  }
  EXPECT_EQ(r.exit, 1);
  const std::int32_t offset = archtest::ReadVolumeFrames(archive.volume).at(1).entry.Offset;
  EXPECT_EQ(r.out, p + "ring 0 slot 64: frame at " + std::to_string(offset) + " " + problem +
                       "\n" + p + "1 problem\n");
}

INSTANTIATE_TEST_SUITE_P(
    Damage, VerifyFrames,
    ::testing::Values(
        FramesRow{"Sound", [](const archtest::Bytes& g) { return g; }, ""},
        // The frame header's sample precision and height made nonsense.
        FramesRow{"HeaderFlipped",
                  [](const archtest::Bytes& g) {
                    const std::size_t sof = 2 + FindSof(g);
                    return Flipped(g, sof + 2, sof + 4);
                  },
                  "does not decode (Unsupported JPEG data precision 247)"},
        FramesRow{"ScanFlipped",
                  [](const archtest::Bytes& g) {
                    return Flipped(g, g.size() / 2, g.size() / 2 + 16);
                  },
                  "decodes with 1 warning (Corrupt JPEG data: premature end of data segment)"}),
    [](const ::testing::TestParamInfo<FramesRow>& info) { return std::string(info.param.label); });

TEST(VerifyFramesScreenful, DamagedFramesPastTwentyAreCounted) {
  const archtest::Bytes good = archtest::EncodeJpeg(96, 64, 3);
  const archtest::Bytes cut(good.begin(), good.begin() + long(good.size() / 2));
  std::vector<archtest::Record> records;
  std::vector<archtest::Bytes> frames;
  for (int i = 0; i < 25; ++i) {
    records.push_back({Sec(10 + i), 0, KindContinuous});
    frames.push_back(cut);
  }
  const ExportArchive archive(records, frames);
  const ToolResult r = RunTool({"verify", "--frames", archive.volume});
  EXPECT_EQ(r.exit, 1);
  ASSERT_EQ(r.OutLines().size(), 22u) << r.out;
  EXPECT_EQ(r.OutLines()[20], archive.volume + ": ... and 5 more problems not listed");
  EXPECT_EQ(r.OutLines()[21], archive.volume + ": 25 problems");
}

}  // namespace
