#include <gtest/gtest.h>

#include "tests/archive/support/VolumeBuilder.h"
#include "tests/tools/ToolRun.h"

namespace {

// a.oxa: camera 0 continuous at 0..4 s, camera 3 continuous and motion at
// 2..3 s. b.oxa: camera 0 continuous at 60..61 s. Sec(0) is 2025-12-09 00:00.
class TimelineTool : public ::testing::Test {
 protected:
  void SetUp() override {
    orxtest::VolumeBuilder a(dir.File("a.oxa"));
    for (int s = 0; s < 5; ++s) {
      if (s == 2 || s == 3) a.Add(0, orxtest::Sec(s), 3, KindContinuous | KindMotion);
      a.Add(0, orxtest::Sec(s), 0, KindContinuous);
    }
    orxtest::VolumeBuilder b(dir.File("b.oxa"));
    b.AddRun(0, 2, 60, 1, 0, KindContinuous);
  }
  orxtest::TempDir dir;
};

std::string Line(int camera, int kind, const char* from, const char* to, int records) {
  return "camera=" + std::to_string(camera) + " kind=" + std::to_string(kind) +
         " from=2025-12-09T00:" + from + " to=2025-12-09T00:" + to +
         " records=" + std::to_string(records);
}

TEST_F(TimelineTool, PrintsOneLinePerRunByTimeCameraAndKind) {
  struct Case {
    std::vector<std::string> options;
    std::vector<std::string> lines;
  } cases[] = {
      {{},
       {Line(1, 1, "00:00.000", "00:04.000", 5), Line(4, 1, "00:02.000", "00:03.000", 2),
        Line(4, 4, "00:02.000", "00:03.000", 2), Line(1, 1, "01:00.000", "01:01.000", 2)}},
      {{"--cameras", "0x8", "--kinds", "4"}, {Line(4, 4, "00:02.000", "00:03.000", 2)}},
      {{"--from", "2025-12-09T00:00:03", "--to", "2025-12-09T00:01:00"},
       {Line(1, 1, "00:03.000", "00:04.000", 2), Line(4, 1, "00:03.000", "00:03.000", 1),
        Line(4, 4, "00:03.000", "00:03.000", 1), Line(1, 1, "01:00.000", "01:00.000", 1)}},
      {{"--gap", "56", "--kinds", "1", "--cameras", "1"},
       {Line(1, 1, "00:00.000", "01:01.000", 7)}},
      {{"--gap", "55.999", "--kinds", "1", "--cameras", "1"},
       {Line(1, 1, "00:00.000", "00:04.000", 5), Line(1, 1, "01:00.000", "01:01.000", 2)}},
  };
  for (const Case& c : cases) {
    // Files in any order, or their folder: the same runs.
    for (const auto& volumes : {std::vector<std::string>{dir.File("b.oxa"), dir.File("a.oxa")},
                                std::vector<std::string>{dir.Path()}}) {
      std::vector<std::string> args{"timeline"};
      args.insert(args.end(), c.options.begin(), c.options.end());
      args.insert(args.end(), volumes.begin(), volumes.end());
      const ToolResult r = RunTool(args);
      EXPECT_EQ(r.exit, 0) << r.err;
      EXPECT_EQ(r.OutLines(), c.lines) << c.options.size();
    }
  }
}

TEST_F(TimelineTool, NoVolumeAmongTheFilesIsAProblem) {
  orxtest::MakeFile(dir.File("junk.bin"), 4096, 0x5A);
  const ToolResult r = RunTool({"timeline", dir.File("junk.bin")});
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.ErrLines().size(), 1u);
}

}  // namespace
