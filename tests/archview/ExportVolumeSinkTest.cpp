// The volumes of a fragment export without the window: names, rollover at
// the data limit and at the index limit, reservation, and the refusals that
// end an export.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "ArchVolumes.h"
#include "export/ExportNames.h"
#include "export/ExportVolumeSink.h"
#include "common/DateTime.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace archtest {
namespace {

namespace fs = std::filesystem;

TEST(ExportNames, NumbersHaveNoLeadingZeros) {
  EXPECT_EQ(ExportFolderName(MakeDateTime(2026, 12, 7, 12, 5, 3, 250)),
            "TempORX-[7] [12] [2026] 12-5-3250");
  EXPECT_EQ(ExportVolumeStem(MakeDateTime(2026, 12, 6, 9, 0, 0, 40)), "[6] [12] [2026] 9-0-40");
  EXPECT_EQ(ExportVolumeStem(MakeDateTime(2026, 1, 2, 0, 0, 1, 5)), "[2] [1] [2026] 0-0-1005");
}

// Frame n of a test export: its bytes and its time.
Bytes FrameBytes(std::int32_t length, int n) { return orxtest::FramePayload(length, n); }
double FrameTime(int n, bool sameTime) {
  return MakeDateTime(2026, 12, 6, 9, 0, 0, 40) + (sameTime ? 0 : n) / 86400000.0;
}

bool AppendFrame(ExportVolumeSink& sink, std::int32_t length, int n, bool sameTime) {
  const Bytes bytes = FrameBytes(length, n);
  std::memcpy(ExportBuffer.data(), bytes.data(), bytes.size());
  return sink.Append(n % 32, KindContinuous, FrameTime(n, sameTime), length);
}

struct Rollover {
  const char* name;
  std::int32_t length;
  int frames;
  bool sameTime;
  std::vector<std::size_t> perVolume;
};

class ExportRollover : public ::testing::TestWithParam<Rollover> {};

TEST_P(ExportRollover, FrameThatDoesNotFitOpensANewVolumeNamedAfterIt) {
  const Rollover& c = GetParam();
  orxtest::TempDir dir;
  {
    ExportVolumeSink sink(dir.Path());
    for (int n = 0; n < c.frames; ++n) ASSERT_TRUE(AppendFrame(sink, c.length, n, c.sameTime));
    sink.Close();
    ASSERT_EQ(sink.Files().size(), c.perVolume.size());
    int n = 0;
    for (std::size_t v = 0; v < c.perVolume.size(); ++v) {
      const std::string& path = sink.Files()[v];
      // Named after its first frame; a name already taken is never replaced.
      std::string name = ExportVolumeStem(FrameTime(n, c.sameTime));
      if (v > 0 && c.sameTime) name += " (" + std::to_string(v + 1) + ")";
      EXPECT_EQ(path, dir.File(name + ".oxa"));
      // Its whole size is reserved on disk.
      struct stat info {};
      ASSERT_EQ(::stat(path.c_str(), &info), 0);
      EXPECT_EQ(info.st_size, ExportVolumeSink::ExportVolumeSize);
      EXPECT_GE(info.st_blocks * 512, ExportVolumeSink::ExportVolumeSize);
      const std::vector<StoredFrame> stored = ReadVolumeFrames(path);
      ASSERT_EQ(stored.size(), c.perVolume[v]);
      for (const StoredFrame& f : stored) {
        EXPECT_EQ(f.entry.Time, FrameTime(n, c.sameTime));
        EXPECT_EQ(f.entry.Camera, n % 32);
        ASSERT_TRUE(f.bytes == FrameBytes(c.length, n)) << "frame " << n;
        ++n;
      }
    }
  }
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir.Path())) files += e.path().extension() == ".oxa";
  EXPECT_EQ(files, c.perVolume.size());  // no passing names left
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()),
            static_cast<std::ptrdiff_t>(files));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportRollover,
    ::testing::Values(Rollover{"IndexLimit", 100, 10240, false, {10239, 1}},
                      Rollover{"DataLimit", MaxFrameLength, 10, false, {9, 1}},
                      Rollover{"LongFramesWhole", 100001, 3, false, {3}},
                      Rollover{"SameTimeKeepsBothVolumes", MaxFrameLength, 10, true, {9, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// Lowers the largest size to which this process may grow a file, for one
// scope.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST(ExportRefusal, EndsWhenAVolumeCannotBeMadeAndKeepsWhatWasAppended) {
  orxtest::TempDir dir;
  {
    ExportVolumeSink sink(dir.File("missing"));
    EXPECT_FALSE(AppendFrame(sink, 1000, 0, false));
    EXPECT_TRUE(sink.Files().empty());
  }
  {
    // A frame that even a fresh volume refuses: no second try, nothing left.
    ExportVolumeSink sink(dir.Path());
    EXPECT_FALSE(sink.Append(0, KindContinuous, FrameTime(0, false), ExportBufferSize + 1));
    EXPECT_TRUE(sink.Files().empty());
    EXPECT_TRUE(fs::is_empty(dir.Path()));
  }
  {
    // The second volume cannot be reserved (files this process writes may
    // not grow past 5 MiB from here on).
    ExportVolumeSink sink(dir.Path());
    for (int n = 0; n < 9; ++n) ASSERT_TRUE(AppendFrame(sink, MaxFrameLength, n, false));
    const FileSizeLimit limit(5 * MinVolumeSize);
    EXPECT_FALSE(AppendFrame(sink, MaxFrameLength, 9, false));
    ASSERT_EQ(sink.Files().size(), 1u);
    EXPECT_EQ(ReadVolumeFrames(sink.Files()[0]).size(), 9u);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace archtest
