// orxtool export --format mkv, checked with FFmpeg's own ffprobe and ffmpeg:
// one file per camera holding exactly its frames, unchanged, at their times.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "common/DateTime.h"
#include "tests/tools/ExportArchive.h"
#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;
using archtest::Bytes;
using archtest::Record;

double At(double seconds) { return MakeDateTime(2001, 1, 5, 14, 0, 0) + seconds / 86400.0; }

// Standard output of a shell command, and whether it exited 0.
std::string Shell(const std::string& command, bool& ok) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
    out.append(buffer, n);
  ok = pclose(pipe.release()) == 0;
  return out;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// "00:00:01,963", as SubRip writes a time.
std::string SrtTime(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                static_cast<long long>(ms % 1000));
  return text;
}

// The file's captions as SubRip, at the timestamps stored.
std::string Captions(const std::string& file) {
  bool ok = false;
  return Shell(FFMPEG_PATH " -v error -copyts -i " + Quoted(file) + " -map 0:s -f srt -", ok);
}

// One caption per frame: "Камера N  dd.MM.yyyy hh:mm:ss.zzz" from the
// frame's timestamp until the next one's (ends[i]).
std::string ExpectedCaptions(const std::vector<std::int64_t>& starts,
                             const std::vector<std::int64_t>& ends, int camera,
                             const std::vector<double>& times) {
  std::string out;
  for (std::size_t k = 0; k < starts.size(); ++k)
    out += std::to_string(k + 1) + "\n" + SrtTime(starts[k]) + " --> " + SrtTime(ends[k]) +
           "\nКамера " + std::to_string(camera) + "  " + FormatDateTimeDotted(times[k]) + "\n\n";
  return out;
}

TEST(ExportVideo, EachCameraFileHoldsItsFramesUnchangedAtTheirTimes) {
  // Cameras 0..2, 120 ms apart; camera 1 is reconfigured from 64x48 to
  // 96x64 halfway; one frame of camera 2 has no readable header.
  std::vector<Record> records;
  std::vector<Bytes> frames;
  for (int i = 0; i < 30; ++i) {
    records.push_back(Record{At(i * 0.12), i % 3, KindContinuous});
    const bool bigger = i % 3 == 1 && i >= 15;
    frames.push_back(archtest::EncodeJpeg(bigger ? 96 : 64, bigger ? 64 : 48, i));
  }
  frames[20] = archtest::Padded({0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x00}, 300, 20);
  const ExportArchive a(records, frames);
  const double from = At(0), to = At(10);
  const std::vector<std::string> now = ExportNow();
  const ToolResult r = RunTool({"export", "--format", "mkv", "--from", DayArg(from), "--to",
                                DayArg(to), now[0], now[1], "--out", a.dir.File("out"), a.volume});
  ASSERT_EQ(r.exit, 0) << r.err;
  const std::string folder = ExportFolderUnder(a.dir.File("out"));

  // The packets each file must hold: "pts,size" in milliseconds from the
  // fragment's first frame, a new file where camera 2's size changes; and
  // their captions.
  const std::vector<int> selected = a.Selected(from, to, 0xFFFFFFFFu, 15);
  ASSERT_GE(selected.size(), 25u);
  const double first = a.records[selected[0]].time;
  std::map<std::string, std::string> packets;
  std::map<std::string, int> firstFrame;
  std::map<std::string, std::vector<std::int64_t>> starts;
  std::map<std::string, std::vector<double>> times;
  for (int i : selected) {
    const int camera = a.records[i].camera + 1;
    const std::string name =
        "camera-" + std::to_string(camera) + (camera == 2 && i >= 15 ? "-2" : "") + ".mkv";
    firstFrame.emplace(name, i);
    const std::int64_t ms = std::llround((a.records[i].time - first) * 86400000.0);
    packets[name] += std::to_string(ms) + "," + std::to_string(a.frames[i].size()) + "\n";
    starts[name].push_back(ms);
    times[name].push_back(a.records[i].time);
  }
  ASSERT_EQ(packets.size(), 4u);
  EXPECT_NE(r.OutLines().at(1).find(" into 4 files in "), std::string::npos) << r.out;
  for (const auto& [name, expected] : packets) {
    const std::string file = Quoted(folder + "/" + name);
    bool ok = false;
    EXPECT_EQ(Shell(FFPROBE_PATH " -v error -select_streams v:0 -show_entries packet=pts,size"
                                 " -of csv=p=0 " +
                        file,
                    ok),
              expected)
        << name;
    EXPECT_TRUE(ok);
    const Bytes& stored = a.frames[firstFrame[name]];
    const bool wide = name == "camera-2-2.mkv";
    // Each camera's frames are 360 ms apart, and so lasts its last one.
    std::vector<std::int64_t> ends(starts[name].begin() + 1, starts[name].end());
    ends.push_back(starts[name].back() + 360);
    EXPECT_EQ(Captions(folder + "/" + name),
              ExpectedCaptions(starts[name], ends, name[7] - '0', times[name]))
        << name;
    EXPECT_EQ(Shell(FFPROBE_PATH " -v error -select_streams v:0 -show_entries "
                                 "stream=codec_name,width,height"
                                 ":format_tags=DATE_RECORDED -of default=nw=1 " +
                        file,
                    ok),
              std::string("codec_name=mjpeg\nwidth=") + (wide ? "96" : "64") + "\nheight=" +
                  (wide ? "64" : "48") + "\nTAG:DATE_RECORDED=" + FormatDateTimeIso(first) + "\n")
        << name;
    // The first frame taken back out is the stored frame, and it decodes.
    const std::string jpeg = a.dir.File(name + ".jpg");
    Shell(FFMPEG_PATH " -v error -i " + file + " -map 0:v -frames:v 1 -c:v copy -f image2 " +
              Quoted(jpeg),
          ok);
    EXPECT_TRUE(ok && orxtest::ReadFileBytes(jpeg) == stored) << name;
    EXPECT_EQ(Shell(FFMPEG_PATH " -v error -i " + file + " -frames:v 1 -f null - 2>&1", ok), "")
        << name;
    EXPECT_TRUE(ok);
  }
  EXPECT_EQ(RunTool({"verify", folder}).exit, 0);
}

TEST(ExportVideo, AFrameNoVideoCanTakeIsCountedAndFailsTheExport) {
  // Camera 0's first frames have no readable header, so no file can be
  // sized for them; its later frames make the file.
  std::vector<Record> records;
  std::vector<Bytes> frames;
  for (int i = 0; i < 12; ++i) {
    records.push_back(Record{At(i), 0, KindContinuous});
    frames.push_back(i < 5 ? archtest::Padded({0xFF, 0xD8, 0xFF, 0xFE, 0, 0}, 300, i)
                           : archtest::EncodeJpeg(64, 48, i));
  }
  const ExportArchive a(records, frames);
  const std::vector<std::string> now = ExportNow();
  const ToolResult r =
      RunTool({"export", "--format", "mkv", "--from", DayArg(At(0)), "--to", DayArg(At(11)), now[0],
               now[1], "--out", a.dir.File("out"), a.volume});
  const std::vector<int> selected = a.Selected(At(0), At(11), 0xFFFFFFFFu, 15);
  const long unreadable =
      std::count_if(selected.begin(), selected.end(), [](int i) { return i < 5; });
  ASSERT_GT(unreadable, 0);
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.err, "orxtool: export: " + std::to_string(unreadable) +
                       " frames left out: no picture size in their JPEG header, and their camera "
                       "had no video file yet\n");
  bool ok = false;
  const std::string file = Quoted(ExportFolderUnder(a.dir.File("out")) + "/camera-1.mkv");
  EXPECT_EQ(Shell(FFPROBE_PATH " -v error -select_streams v:0 -count_packets -show_entries "
                               "stream=nb_read_packets -of csv=p=0 " +
                      file,
                  ok),
            std::to_string(selected.size() - unreadable) + "\n");
}

// The last frame of a file lasts until the fragment's end, or its typical
// frame interval (here 200 ms) when that is shorter; a frame right at the
// end still lasts a millisecond.
struct LastFrame {
  const char* name;
  int endAfterLastMs;  // the interval's end after the last frame
  std::int64_t duration;
};

class ExportLastFrame : public ::testing::TestWithParam<LastFrame> {};

TEST_P(ExportLastFrame, LastsUntilTheEndOrTheTypicalInterval) {
  std::vector<Record> records;
  std::vector<Bytes> frames;
  for (int i = 0; i < 6; ++i) {
    records.push_back(Record{At(i * 0.2), 0, KindContinuous});
    frames.push_back(archtest::EncodeJpeg(64, 48, i));
  }
  const ExportArchive a(records, frames);
  const double to = At(1.0 + GetParam().endAfterLastMs / 1000.0);
  const std::vector<std::string> now = ExportNow();
  ASSERT_EQ(RunTool({"export", "--format", "mkv", "--from", DayArg(At(0)), "--to", DayArg(to),
                     now[0], now[1], "--out", a.dir.File("out"), a.volume})
                .exit,
            0);
  const std::vector<int> selected = a.Selected(At(0), to, 0xFFFFFFFFu, 15);
  ASSERT_EQ(selected.back(), 5);
  const std::int64_t last = 200 * (5 - selected.front());
  bool ok = false;
  const std::string file = ExportFolderUnder(a.dir.File("out")) + "/camera-1.mkv";
  EXPECT_EQ(Shell(FFPROBE_PATH " -v error -select_streams v:0 -show_entries stream_tags=DURATION "
                               "-of csv=p=0 " + Quoted(file), ok),
            "00:00:0" + std::to_string((last + GetParam().duration) / 1000) + "." +
                SrtTime(last + GetParam().duration).substr(9) + "000000\n");
  const std::string captions = Captions(file);
  EXPECT_NE(captions.find(SrtTime(last) + " --> " + SrtTime(last + GetParam().duration)),
            std::string::npos)
      << captions;
}

INSTANTIATE_TEST_SUITE_P(Ends, ExportLastFrame,
                         ::testing::Values(LastFrame{"EndSoonAfter", 50, 50},
                                           LastFrame{"EndFarAfter", 5000, 200},
                                           LastFrame{"EndOnTheFrame", 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
