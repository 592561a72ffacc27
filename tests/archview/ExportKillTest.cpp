// An export process killed in the middle leaves only whole volumes, holding
// every frame it had appended.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "ArchVolumes.h"
#include "common/DateTime.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace archtest {
namespace {

namespace fs = std::filesystem;

int Verify(const std::string& volume) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    execl(ORXTOOL_PATH, ORXTOOL_PATH, "verify", volume.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts the driver with its output on a pipe; returns its output stream.
FILE* StartDriver(const std::string& source, const std::string& out, pid_t& pid) {
  int fds[2];
  if (pipe(fds) != 0) return nullptr;
  pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    std::freopen("/dev/null", "w", stderr);
    execl(EXPORT_KILL_DRIVER_PATH, EXPORT_KILL_DRIVER_PATH, source.c_str(), out.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  return fdopen(fds[0], "r");
}

TEST(ExportKill, KilledExportLeavesWholeVolumesWithEveryAppendedFrame) {
  orxtest::TempDir dir;
  // Frames of 300 KB: a volume takes 32, so the kill comes after two rollovers.
  std::vector<Record> records = RoundRobin(MakeDateTime(2026, 12, 6, 9, 0, 0), 150, 16, 0.04);
  const Bytes jpeg = EncodeJpeg(64, 48);
  std::vector<Bytes> frames;
  for (int i = 0; i < 150; ++i) frames.push_back(Padded(jpeg, 300000, i));
  const std::string source = dir.File("source.oxa");
  ASSERT_TRUE(WriteVolume(source, records, frames, 64 * MinVolumeSize));
  const std::string out = dir.File("out");
  fs::create_directory(out);

  pid_t pid = -1;
  FILE* progress = StartDriver(source, out, pid);
  ASSERT_NE(progress, nullptr);
  int appended = 0;
  char line[64];
  while (appended < 70 && std::fgets(line, sizeof line, progress))
    std::sscanf(line, "appended %d", &appended);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  std::fclose(progress);
  ASSERT_GE(appended, 70) << "the export ended before it could be killed";

  std::vector<fs::path> folders;
  for (const auto& e : fs::directory_iterator(out))
    if (e.is_directory() && e.path().filename().string().rfind("TempORX-", 0) == 0)
      folders.push_back(e.path());
  ASSERT_EQ(folders.size(), 1u);
  std::vector<std::vector<StoredFrame>> volumes;
  for (const auto& e : fs::directory_iterator(folders[0])) {
    if (e.path().extension() != ".oxa") continue;
    EXPECT_EQ(Verify(e.path().string()), 0) << e.path();
    volumes.push_back(ReadVolumeFrames(e.path().string()));
  }
  std::sort(volumes.begin(), volumes.end(), [](const auto& a, const auto& b) {
    return !a.empty() && (b.empty() || a[0].entry.Time < b[0].entry.Time);
  });
  std::vector<StoredFrame> exported;
  for (const auto& v : volumes) exported.insert(exported.end(), v.begin(), v.end());
  ASSERT_GE(volumes.size(), 3u);
  ASSERT_GE(exported.size(), static_cast<std::size_t>(appended));

  // A run of the source's records from the interval start on, byte for byte.
  const auto first = std::find_if(records.begin(), records.end(), [&](const Record& r) {
    return r.time == exported[0].entry.Time;
  });
  ASSERT_NE(first, records.end());
  const std::size_t at = static_cast<std::size_t>(first - records.begin());
  EXPECT_LE(at, 8u);  // the reader lands within a few records of a time, twice
  for (std::size_t k = 0; k < exported.size(); ++k) {
    ASSERT_LT(at + k, records.size());
    EXPECT_EQ(exported[k].entry.Time, records[at + k].time) << k;
    EXPECT_EQ(exported[k].entry.Camera, records[at + k].camera) << k;
    ASSERT_TRUE(exported[k].bytes == frames[at + k]) << k;
  }
}

}  // namespace
}  // namespace archtest
