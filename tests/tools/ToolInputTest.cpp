// What orxtool makes of inputs that are not volumes or frames: every command
// answers at once with one line, whatever it is given.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "tests/archive/support/VolumeBuilder.h"
#include "tests/tools/ToolRun.h"

namespace {

using orxtest::Sec;

// A FIFO that nobody writes: opening it for reading the ordinary way waits
// for ever.
class ToolInput : public ::testing::Test {
 protected:
  ToolInput() { EXPECT_EQ(mkfifo(fifo_.c_str(), 0600), 0); }
  orxtest::TempDir dir_;
  const std::string fifo_ = dir_.File("pipe.oxa");
};

TEST_F(ToolInput, EveryCommandRefusesAFifoWithoutWaiting) {
  const std::vector<std::vector<std::string>> commands = {
      {"info", fifo_},
      {"verify", fifo_},
      {"walk", fifo_, "--", "seek:46000", "next"},
      {"extract", fifo_, "--at", "46000", "--out", dir_.File("stills")},
      {"decode", fifo_, dir_.File("out.ppm")},
  };
  for (const auto& args : commands) {
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.exit, args[0] == "walk" ? 0 : 1) << args[0] << ": " << r.out << r.err;
  }
  const ToolResult info = RunTool({"info", fifo_});
  EXPECT_NE(info.out.find("volume: no (not a regular file)"), std::string::npos) << info.out;
}

TEST_F(ToolInput, AFolderIsCalledAFolder) {
  const std::string folder = dir_.File("folder.oxa");
  std::filesystem::create_directory(folder);
  EXPECT_EQ(RunTool({"verify", folder}).out,
            folder + ": is a folder without SHA256SUMS or volumes\n");
  EXPECT_NE(RunTool({"info", folder}).out.find("  volume: no (is a folder)"), std::string::npos);
  const ToolResult decode = RunTool({"decode", folder, dir_.File("out.ppm")});
  EXPECT_EQ(decode.exit, 1);
  EXPECT_EQ(decode.err, "orxtool: decode: cannot read " + folder + ": is a folder\n");
}

TEST_F(ToolInput, DecodeRefusesADeviceAndInputLargerThanAFrame) {
  ToolResult r = RunTool({"decode", "/dev/zero", dir_.File("out.ppm")});
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.ErrLines().size(), 1u) << r.err;
  orxtest::MakeFile(dir_.File("big.jpg"), 1048577, 0xFF);
  r = RunTool({"decode", dir_.File("big.jpg"), dir_.File("out.ppm")});
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.err, "orxtool: decode: cannot read " + dir_.File("big.jpg") +
                       ": 1048577 bytes, more than a frame may hold (1048576)\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.ppm")));
}

// A sparse 3 GiB file whose rings are full of zero slots breaks three rules
// in every one of its six million slots, and is too large for 32-bit offsets.
TEST(VerifyFlood, ProblemLinesStopAtAScreenfulAndTheRestAreCounted) {
  orxtest::TempDir dir;
  const std::string path = dir.File("sparse.oxa");
  std::int64_t slots = 0;
  try {
    orxtest::VolumeBuilder v(path, std::int64_t{3} << 30);
    slots = v.Geometry().MaxEntriesPerRing();
    v.SetLive(0, 0, slots);
    v.SetLive(1, 0, slots);
  } catch (const std::exception& e) {
    GTEST_SKIP() << "no sparse 3 GiB file here: " << e.what();
  }
  const ToolResult r = RunTool({"verify", path});
  EXPECT_EQ(r.exit, 1);
  const std::vector<std::string> lines = r.OutLines();
  ASSERT_EQ(lines.size(), 22u) << r.out.substr(0, 2000);
  const long long problems = 3 * 2 * slots + 1;
  EXPECT_EQ(lines[20], path + ": ... and " + std::to_string(problems - 20) +
                           " more problems not listed");
  EXPECT_EQ(lines[21], path + ": " + std::to_string(problems) + " problems");
}

TEST(VerifyTimes, TimesNoReaderCanFindAreProblems) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  v.AddRun(0, 3, 0, 1);
  v.Add(0, 2e10);  // the gap of a step is lost in rounding this far out
  const ToolResult r = RunTool({"verify", v.Path()});
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.OutLines().at(0), v.Path() + ": ring 0 slot 128: time 20000000000 outside the "
                                           "times readers can find (0 to 99999999)");
}

}  // namespace
