// A second process appends with TOrxWrite while this one reads: every frame
// handed out must carry exactly the bytes written for its entry.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

#include "archive/OrxRead.h"
#include "archive/OrxWrite.h"
#include "common/CameraMask.h"
#include "platform/Clock.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

using namespace orxtest;

constexpr int FrameCount = 2000;

// Frame i: camera i % 32, time i × 40 ms, 100 to 5,099 bytes.
std::int32_t LengthOf(int i) { return 100 + (i * 7919) % 5000; }
double TimeOf(int i) { return Ms(40 * static_cast<std::int64_t>(i)); }

// Halfway through, the writer waits until the reader has handed out frames,
// so reading and appending surely overlap (no timing involved).
[[noreturn]] void AppendAll(const std::string& path, int resumeFd) {
  TOrxWrite writer;
  if (!writer.Open(path)) _exit(10);
  for (int i = 0; i < FrameCount; ++i) {
    if (i == FrameCount / 2) {
      char byte;
      while (read(resumeFd, &byte, 1) < 0 && errno == EINTR) {
      }
    }
    const auto payload = FramePayload(LengthOf(i), static_cast<std::uint32_t>(i));
    std::copy(payload.begin(), payload.end(), ExportBuffer.begin());
    if (writer.Append(i % 32, KindContinuous, TimeOf(i), LengthOf(i)) != 1) _exit(11);
  }
  _exit(0);
}

TEST(ReaderWhileWriting, EveryFrameHandedOutHasTheBytesWrittenForIt) {
  TempDir dir;
  const std::string path = dir.File("live.oxa");
  MakeFile(path, 10485760);
  {
    TOrxWrite fresh;  // make it a volume before the reader looks
    ASSERT_TRUE(fresh.Open(path));
  }
  // Installed for this test only, however it ends: an assertion that
  // returns early must not leave a clock that lives on this stack behind.
  struct InstalledClock {
    FixedClock clock{BaseDay + 1.0};
    InstalledClock() { InstallClock(&clock); }
    ~InstalledClock() { InstallClock(nullptr); }
  } installed;

  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeFds[1]);
    AppendAll(path, pipeFds[0]);
  }
  close(pipeFds[0]);
  // Closing the pipe, however this test ends, lets the writer go on.
  struct Resume {
    int fd;
    void Now() {
      if (fd >= 0) close(fd);
      fd = -1;
    }
    ~Resume() { Now(); }
  } resume{pipeFds[1]};
  int seenBeforeResume = 0;

  VolumeList list{path};
  TOrxRead reader(list);
  FrameStream stream;
  int checked = 0;
  int highest = -1;
  int mismatches = 0;
  bool childDone = false;
  int status = 0;
  bool positioned = false;
  // Bounded by work, not by time: each round either hands out a frame or
  // waits for the writer, which finishes on its own.
  for (long round = 0; round < 5000000 && highest < FrameCount - 1; ++round) {
    if (!childDone && waitpid(child, &status, WNOHANG) == child) childDone = true;
    if (!positioned) {
      if (!reader.Open()) continue;
      double t = BaseDay;
      positioned = reader.SetPosition(t, SeekDirection::Forward) >= 0 &&
                   reader.CurrentTime() >= BaseDay && reader.CurrentTime() < BaseDay + 1;
      if (!positioned) {
        if (childDone) break;
        usleep(200);
        continue;
      }
    }
    std::uint32_t camera = AllCameras;
    std::uint32_t kinds = KindAll;
    double t = 0;
    stream.Clear();
    if (!reader.Next(1, camera, kinds, t, stream)) {
      if (childDone && highest >= FrameCount - 1) break;
      // At the newest record for now; every so often start over from the
      // beginning, as a user jumping back would.
      if (round % 64 == 0) positioned = false;
      usleep(100);
      continue;
    }
    const int i = static_cast<int>(std::lround((t - BaseDay) * 86400000.0 / 40.0));
    if (i < 0 || i >= FrameCount || camera != static_cast<std::uint32_t>(i % 32)) {
      ++mismatches;
      break;
    }
    if (stream.Size() != static_cast<std::size_t>(LengthOf(i)) ||
        !std::equal(stream.Data(), stream.Data() + stream.Size(),
                    FramePayload(LengthOf(i), static_cast<std::uint32_t>(i)).begin()))
      ++mismatches;
    ++checked;
    if (i > highest) highest = i;
    if (resume.fd >= 0 && checked >= 10) {
      seenBeforeResume = checked;
      resume.Now();
    }
  }
  if (!childDone) waitpid(child, &status, 0);

  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(highest, FrameCount - 1);
  EXPECT_GE(seenBeforeResume, 10);  // the reader read while frames were added
  EXPECT_GT(checked, FrameCount / 2);
}

}  // namespace
