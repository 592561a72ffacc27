#include <gtest/gtest.h>

#include "tests/archive/support/VolumeBuilder.h"
#include "tests/tools/ToolRun.h"

using orxtest::Sec;

namespace {

// Volume A: camera 2, continuous, at 0..4 s. Volume B: camera 5, motion, at
// 10..12 s. Serial numbers of the payloads follow the order of Add.
class WalkTool : public ::testing::Test {
 protected:
  void SetUp() override {
    orxtest::VolumeBuilder a(dir.File("a.oxa"));
    a.AddRun(0, 5, 0, 1, 2, KindContinuous);
    orxtest::VolumeBuilder b(dir.File("b.oxa"));
    b.AddRun(0, 3, 10, 1, 5, KindMotion);
  }
  std::vector<std::string> Walk(std::vector<std::string> options, std::vector<std::string> volumes,
                                std::vector<std::string> ops) {
    std::vector<std::string> args{"walk", "--now", Day(Sec(100))};
    args.insert(args.end(), options.begin(), options.end());
    for (const auto& v : volumes) args.push_back(dir.File(v));
    args.push_back("--");
    args.insert(args.end(), ops.begin(), ops.end());
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return r.OutLines();
  }
  std::string Payload(std::uint32_t serial) {
    return Crc(orxtest::FramePayload(200, serial));
  }
  orxtest::TempDir dir;
};

TEST_F(WalkTool, SeekStepsAndRangePrintOneLineEach) {
  const auto lines = Walk({}, {"a.oxa"}, {"seek:" + Day(Sec(1.5)), "next:1", "prev:1", "range"});
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "open ok=1");
  // Forward to 1.5 s lands on the first record at or after it, at 2 s.
  EXPECT_EQ(lines[1], "seek result=1 time=" + Day(Sec(2)) + " entrypos=96 ring=0");
  EXPECT_EQ(lines[2], "next ok=1 time=" + Day(Sec(3)) + " camera=2 kind=1 bytes=200 crc32=" +
                          Payload(3) + " entrypos=128 ring=0");
  EXPECT_EQ(lines[3], "prev ok=1 time=" + Day(Sec(2)) + " camera=2 kind=1 bytes=200 crc32=" +
                          Payload(2) + " entrypos=96 ring=0");
  EXPECT_EQ(lines[4], "range first=" + Day(Sec(0)) + " last=" + Day(Sec(4)) +
                          " volume=" + dir.File("a.oxa"));
}

TEST_F(WalkTool, LocalDateTimeAndDayNumberSeekAlike) {
  const auto byDay = Walk({}, {"a.oxa"}, {"seekback:" + Day(Sec(1.5))});
  const auto byDate = Walk({}, {"a.oxa"}, {"seekback:2025-12-09T00:00:01.500"});
  EXPECT_EQ(byDay, byDate);
  // Backward lands on the last record at or before 1.5 s.
  EXPECT_EQ(byDay[1], "seek result=1 time=" + Day(Sec(1)) + " entrypos=64 ring=0");
}

TEST_F(WalkTool, NextFromLastRecordCrossesIntoTheLaterVolume) {
  const auto lines = Walk({}, {"a.oxa", "b.oxa"}, {"seek:" + Day(Sec(3.9)), "next:1", "range"});
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "seek result=1 time=" + Day(Sec(4)) + " entrypos=160 ring=0");
  // From A's last record to B's first.
  EXPECT_EQ(lines[2], "next ok=1 time=" + Day(Sec(10)) + " camera=5 kind=4 bytes=200 crc32=" +
                          Payload(0) + " entrypos=32 ring=0");
  EXPECT_EQ(lines[3], "range first=" + Day(Sec(0)) + " last=" + Day(Sec(12)) +
                          " volume=" + dir.File("b.oxa"));
}

TEST_F(WalkTool, EndOfArchiveClampsAndNextFails) {
  const auto lines = Walk({}, {"a.oxa", "b.oxa"}, {"seek:" + Day(Sec(50)), "next:1"});
  EXPECT_EQ(lines[1], "seek result=0 time=" + Day(Sec(12)) + " entrypos=96 ring=0");
  EXPECT_EQ(lines[2], "next ok=0");
}

TEST_F(WalkTool, MaskedOutRecordIsReachedWithNoBytes) {
  const auto lines =
      Walk({"--cameras", "0x1"}, {"a.oxa"}, {"seek:" + Day(Sec(1.5)), "next:1"});
  EXPECT_EQ(lines[2], "next ok=1 time=" + Day(Sec(3)) +
                          " camera=2 kind=1 bytes=0 crc32=00000000 entrypos=128 ring=0");
  const auto kinds = Walk({"--kinds", "4"}, {"a.oxa"}, {"seek:" + Day(Sec(1.5)), "next:1"});
  EXPECT_EQ(kinds[2], lines[2]);
  // The masks go in afresh each step: the camera word that came back (2)
  // does not become the next step's mask.
  const auto wanted =
      Walk({"--cameras", "4"}, {"a.oxa"}, {"seek:" + Day(Sec(0.5)), "next:1", "next:1"});
  EXPECT_NE(wanted[3].find("bytes=200"), std::string::npos) << wanted[3];
}

TEST_F(WalkTool, ListWithoutVolumesOpensNothing) {
  orxtest::MakeFile(dir.File("junk.bin"), 4096, 0x5A);
  const auto lines = Walk({}, {"junk.bin"}, {"seek:" + Day(Sec(1)), "next:1", "range"});
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "open ok=0");
  EXPECT_EQ(lines[1], "seek result=-1 time=" + Day(Sec(1)) + " entrypos=0 ring=0");
  EXPECT_EQ(lines[2], "next ok=0");
  EXPECT_EQ(lines[3], "range first=0 last=0 volume=");
}

struct Misuse {
  const char* name;
  std::vector<std::string> args;
};
void PrintTo(const Misuse& m, std::ostream* os) { *os << m.name; }

class ToolMisuse : public ::testing::TestWithParam<Misuse> {};

TEST_P(ToolMisuse, ExitsTwoWithOneLineAndNoOutput) {
  const ToolResult r = RunTool(GetParam().args);
  EXPECT_EQ(r.exit, 2);
  EXPECT_EQ(r.out, "");
  ASSERT_EQ(r.ErrLines().size(), 1u) << r.err;
  EXPECT_EQ(r.err.rfind("orxtool: ", 0), 0u) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Usage, ToolMisuse,
    ::testing::Values(
        Misuse{"NoCommand", {}}, Misuse{"UnknownCommand", {"play"}},
        Misuse{"WalkWithoutSeparator", {"walk", "a.oxa", "next:1"}},
        Misuse{"WalkWithoutVolume", {"walk", "--", "next:1"}},
        Misuse{"WalkUnknownStep", {"walk", "a.oxa", "--", "jump:3"}},
        Misuse{"WalkBadTime", {"walk", "a.oxa", "--", "seek:yesterday"}},
        Misuse{"WalkBadCount", {"walk", "a.oxa", "--", "next:-1"}},
        Misuse{"WalkBadMask", {"walk", "--cameras", "0xZZ", "a.oxa", "--"}},
        Misuse{"WalkMaskTooWide", {"walk", "--kinds", "0x100000000", "a.oxa", "--"}},
        Misuse{"WalkBadNow", {"walk", "--now", "soon", "a.oxa", "--"}},
        Misuse{"WalkOptionWithoutValue", {"walk", "--now"}},
        Misuse{"WalkUnknownOption", {"walk", "--fast", "a.oxa", "--"}},
        Misuse{"InfoWithoutVolume", {"info"}}, Misuse{"VerifyWithoutVolume", {"verify"}},
        Misuse{"DecodeOneArgument", {"decode", "in.jpg"}},
        Misuse{"ExtractWithoutAt", {"extract", "a.oxa", "--out", "x"}},
        Misuse{"ExtractWithoutOut", {"extract", "a.oxa", "--at", "46000"}},
        Misuse{"ExtractBadCount", {"extract", "a.oxa", "--at", "46000", "--count", "0",
                                   "--out", "x"}},
        Misuse{"MakeDemoUnknownOption", {"make-demo", "--big"}},
        Misuse{"MakeDemoBadStart", {"make-demo", "--start", "2026-13-01"}},
        Misuse{"TimelineWithoutVolume", {"timeline", "--kinds", "4"}},
        Misuse{"TimelineFromAfterTo", {"timeline", "--from", "46001", "--to", "46000", "a.oxa"}},
        Misuse{"TimelineBadGap", {"timeline", "--gap", "-1", "a.oxa"}},
        Misuse{"TimelineGapNotANumber", {"timeline", "--gap", "5s", "a.oxa"}},
        Misuse{"TimelineBadMask", {"timeline", "--cameras", "x", "a.oxa"}},
        Misuse{"TimelineUnknownOption", {"timeline", "--all", "a.oxa"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolHelp, PrintsUsageAndExitsZero) {
  const ToolResult r = RunTool({"--help"});
  EXPECT_EQ(r.exit, 0);
  EXPECT_NE(r.out.find("walk [--now TIME]"), std::string::npos);
  EXPECT_NE(r.out.find("timeline [--from TIME]"), std::string::npos);
}

}  // namespace
