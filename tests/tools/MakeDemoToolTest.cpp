#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "archive/VolumeFormat.h"
#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "decode/FrameDecoder.h"
#include "tests/archive/support/VolumeBuilder.h"
#include "tests/tools/ToolRun.h"

namespace {

// One demo archive for the whole suite: making it is the slow part.
class MakeDemoTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new orxtest::TempDir;
    out_ = dir_->File("demo");
    std::filesystem::create_directories(out_);
    orxtest::MakeFile(out_ + "/demo-09.oxa", 100);  // left by an earlier run
    orxtest::MakeFile(out_ + "/notes.txt", 10);     // not the tool's
    result_ = new ToolResult(
        RunTool({"make-demo", "--out", out_, "--start", "2026-12-07T09:00:00.000"}));
    for (const auto& e : std::filesystem::directory_iterator(out_))
      if (e.path().extension() == ".oxa") volumes_.push_back(e.path().string());
    std::sort(volumes_.begin(), volumes_.end());
  }
  static void TearDownTestSuite() {
    delete result_;
    delete dir_;
  }
  // Every live entry of every volume, in name order.
  static std::vector<IndexEntry> Entries() {
    std::vector<IndexEntry> all;
    for (const std::string& path : volumes_) {
      const auto bytes = orxtest::ReadFileBytes(path);
      const VolumeHeader h = DecodeHeader(bytes.data());
      for (int ring = 0; ring < 2; ++ring)
        for (std::int64_t at = h.Head(ring); at < h.Tail(ring); at += EntrySize)
          all.push_back(DecodeEntry(bytes.data() + at));
    }
    return all;
  }
  static orxtest::TempDir* dir_;
  static std::string out_;
  static ToolResult* result_;
  static std::vector<std::string> volumes_;
};
orxtest::TempDir* MakeDemoTool::dir_ = nullptr;
std::string MakeDemoTool::out_;
ToolResult* MakeDemoTool::result_ = nullptr;
std::vector<std::string> MakeDemoTool::volumes_;

TEST_F(MakeDemoTool, MakesSeveralVolumesThatVerifyClean) {
  ASSERT_EQ(result_->exit, 0) << result_->err;
  ASSERT_GE(volumes_.size(), 2u);
  EXPECT_EQ(volumes_[0], out_ + "/demo-01.oxa");
  EXPECT_FALSE(std::filesystem::exists(out_ + "/demo-09.oxa"));
  EXPECT_TRUE(std::filesystem::exists(out_ + "/notes.txt"));
  std::vector<std::string> args{"verify"};
  args.insert(args.end(), volumes_.begin(), volumes_.end());
  const ToolResult v = RunTool(args);
  EXPECT_EQ(v.exit, 0) << v.out;
  std::uintmax_t total = 0;
  for (const std::string& p : volumes_) total += std::filesystem::file_size(p);
  EXPECT_LE(total, 128u * 1048576u);
}

TEST_F(MakeDemoTool, CoversEightCamerasEveryKindAndFiveMinutesInNameOrder) {
  const std::vector<IndexEntry> entries = Entries();
  ASSERT_FALSE(entries.empty());
  std::uint32_t cameras = 0;
  std::set<std::int32_t> kinds;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    cameras |= CameraBit(entries[i].Camera);
    kinds.insert(entries[i].Kind);
    if (i > 0) {
      ASSERT_LE(entries[i - 1].Time, entries[i].Time) << "entry " << i;
    }
    ASSERT_LE(entries[i].Length, 100000);
  }
  EXPECT_GE(__builtin_popcount(cameras), 8);
  for (std::int32_t k : {1, 2, 4, 8}) {
    EXPECT_TRUE(std::any_of(kinds.begin(), kinds.end(), [k](std::int32_t s) { return s == k; }))
        << "kind " << k;
  }
  EXPECT_TRUE(kinds.count(1 | 4)) << "a combined kind";
  EXPECT_EQ(entries.front().Time, MakeDateTime(2026, 12, 7, 9, 0, 0, 0));
  EXPECT_GE((entries.back().Time - entries.front().Time) * 86400.0, 300.0);
}

TEST_F(MakeDemoTool, FramesAreRealJpegPictures) {
  const auto bytes = orxtest::ReadFileBytes(volumes_.at(0));
  const IndexEntry e = DecodeEntry(bytes.data() + 32);
  FrameStream stream;
  stream.Append(bytes.data() + e.Offset, std::size_t(e.Length));
  FrameDecoder decoder;
  ImageTarget target;
  ASSERT_EQ(decoder.Decode(stream, target), 1);
  EXPECT_EQ(target.Bitmap().width(), 352);
  EXPECT_EQ(target.Bitmap().height(), 288);
}

}  // namespace
