#include <gtest/gtest.h>

#include "tests/archive/support/VolumeBuilder.h"
#include "tests/tools/ToolRun.h"

using orxtest::Sec;

namespace {

TEST(InfoTool, VolumeShowsGeometryHeaderAndRingTimes) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  v.AddRun(1, 3, 1.5, 2);
  const ToolResult r = RunTool({"info", v.Path()});
  EXPECT_EQ(r.exit, 0);
  EXPECT_EQ(r.out,
            v.Path() + "\n"
            "  size: 1048576 bytes\n"
            "  volume: yes\n"
            "  geometry: R=32768 ring0=32..32800 ring1=32800..65568 data=65568..1048576"
            " slots_per_ring=1024\n"
            "  header: MagicLow=0x33221100 MagicHigh=0x77665544 DataStart=65568 CurrentRing=0\n"
            "  ring 0: Head=32 Tail=32 entries=0 (empty)\n"
            "  ring 1: Head=32800 Tail=32896 entries=3 first=2025-12-09 00:00:01.500"
            " last=2025-12-09 00:00:05.500\n");
}

TEST(InfoTool, NonVolumesAreNamedAndTheOthersStillShown) {
  orxtest::TempDir dir;
  orxtest::MakeFile(dir.File("zeros.bin"), 2048);
  orxtest::MakeFile(dir.File("short.bin"), 10);
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  const ToolResult r = RunTool(
      {"info", dir.File("zeros.bin"), dir.File("short.bin"), dir.File("missing.oxa"), v.Path()});
  EXPECT_EQ(r.exit, 1);
  EXPECT_NE(r.out.find("  volume: no (magic words 0x00000000 0x00000000 are not 0x33221100 "
                       "0x77665544)"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  size: 10 bytes\n  volume: no (too short: 10 bytes, a header needs 32)"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(dir.File("missing.oxa") +
                       "\n  volume: no (cannot be opened: No such file or directory)"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(v.Path() + "\n  size: 1048576 bytes\n  volume: yes"), std::string::npos);
}

TEST(InfoTool, BrokenRingPointersAreReportedNotFollowed) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  v.Header().Ring0Tail = 0x7FFFFFE0;
  v.WriteHeader();
  const ToolResult r = RunTool({"info", v.Path()});
  EXPECT_EQ(r.exit, 0);
  EXPECT_NE(r.out.find("  ring 0: Head=32 Tail=2147483616 pointers invalid (run orxtool verify)"),
            std::string::npos)
      << r.out;
}

}  // namespace
