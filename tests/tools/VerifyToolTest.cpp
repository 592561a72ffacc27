#include <gtest/gtest.h>

#include "tests/archive/support/VolumeBuilder.h"
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
