// orxtool export into volumes: what it takes, the folder and the manifest
// it leaves, how verify judges that folder, and what it says on a terminal.

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "archive/VolumeFormat.h"
#include "common/DateTime.h"
#include "export/ExportNames.h"
#include "tests/tools/ExportArchive.h"
#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;
using archtest::Bytes;
using archtest::Record;

double At(double seconds) { return MakeDateTime(2001, 1, 5, 14, 0, 0) + seconds / 86400.0; }

// 40 records of cameras 0..3 and of a camera outside 0..31, kinds mixed.
ExportArchive Archive() {
  std::vector<Record> records;
  std::vector<Bytes> frames;
  const int cameras[] = {0, 1, 2, 40, 3};
  const std::int32_t kinds[] = {1, 4, 5, 2, 8, 1, 0};
  for (int i = 0; i < 40; ++i) {
    records.push_back(Record{At(i), cameras[i % 5], kinds[i % 7]});
    frames.push_back(archtest::EncodeJpeg(64, 48, i % 4));
  }
  return ExportArchive(records, frames);
}

std::string ReadText(const std::string& path) {
  const Bytes bytes = orxtest::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> Args(std::vector<std::string> args, const ExportArchive& a) {
  const std::vector<std::string> now = ExportNow();
  args.insert(args.end(), now.begin(), now.end());
  args.push_back(a.volume);
  return args;
}

TEST(ExportTool, MisuseIsExitTwoWithOneLineAndNothingMade) {
  const ExportArchive a = Archive();
  const std::string out = a.dir.File("out");
  const std::string from = DayArg(At(1)), to = DayArg(At(9));
  const std::vector<std::vector<std::string>> misuses = {
      {"export", "--to", to, "--out", out, a.volume},
      {"export", "--from", from, "--to", to, "--out", out},
      {"export", "--from", to, "--to", from, "--out", out, a.volume},
      {"export", "--from", "yesterday", "--to", to, "--out", out, a.volume},
      {"export", "--from", from, "--to", to, "--kinds", "0x1FFFFFFFF", "--out", out, a.volume},
      {"export", "--from", from, "--to", to, "--format", "avi", "--out", out, a.volume},
      {"export", "--from", from, "--to", to, "--fast", "--out", out, a.volume},
      {"export", "--from", from, "--to", to, "--out"},
  };
  for (const auto& args : misuses) {
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.exit, 2) << args[3] << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.ErrLines().size(), 1u) << r.err;
  }
  // Files that are not volumes: nothing to export from, no folder made.
  const ToolResult r =
      RunTool({"export", "--from", from, "--to", to, "--out", out, a.dir.File("none.oxa")});
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.err, "orxtool: export: none of the files is a volume\n");
  EXPECT_FALSE(fs::exists(out));
}

struct Selection {
  const char* name;
  double from, to;
  std::uint32_t cameras, kinds;
};

class ExportToolSelection : public ::testing::TestWithParam<Selection> {};

TEST_P(ExportToolSelection, VolumeHoldsWhatForwardPlaybackShowsAndTheManifestCoversIt) {
  const Selection& s = GetParam();
  const ExportArchive a = Archive();
  const std::string out = a.dir.File("out");
  const ToolResult r =
      RunTool(Args({"export", "--from", DayArg(s.from), "--to", DayArg(s.to), "--cameras",
                    std::to_string(s.cameras), "--kinds", std::to_string(s.kinds), "--out", out},
                   a));
  ASSERT_EQ(r.exit, 0) << r.err;
  EXPECT_EQ(r.err, "");  // no progress line off a terminal
  const std::string folder = ExportFolderUnder(out);
  const std::vector<int> expected = a.Selected(s.from, s.to, s.cameras, s.kinds);
  std::int64_t bytes = 0;
  for (int i : expected) bytes += static_cast<std::int64_t>(a.frames[i].size());
  const std::vector<std::string> lines = r.OutLines();
  ASSERT_EQ(lines.size(), 2u) << r.out;
  EXPECT_EQ(lines[0], folder);
  const std::string summary = "exported " + std::to_string(expected.size()) + " frames (" +
                              std::to_string(bytes) + " bytes of frames) into " +
                              (expected.empty() ? "0 volumes in " : "1 volume in ");
  EXPECT_EQ(lines[1].substr(0, summary.size()), summary);

  // The volume (none when nothing was shown), the report and the manifest
  // over both; the report gives each file's SHA-256.
  const auto files = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  EXPECT_EQ(files, expected.empty() ? 2 : 3);
  const std::string manifest = ReadText(folder + "/SHA256SUMS");
  const std::string report = ReadText(folder + "/report.html");
  EXPECT_EQ(std::count(manifest.begin(), manifest.end(), '\n'), files - 1) << manifest;
  for (std::size_t at = 0; at < manifest.size(); at = manifest.find('\n', at) + 1) {
    const std::string name = manifest.substr(at + 66, manifest.find('\n', at) - at - 66);
    if (name != "report.html") {
      // Shown in two lines of 32 digits.
      EXPECT_NE(report.find(manifest.substr(at, 32) + "<wbr>" + manifest.substr(at + 32, 32)),
                std::string::npos)
          << name;
    }
  }
  const ToolResult verified = RunTool({"verify", folder});
  EXPECT_EQ(verified.exit, 0) << verified.out;
  if (expected.empty()) return;
  EXPECT_EQ(std::system(("cd '" + folder + "' && sha256sum --quiet -c SHA256SUMS").c_str()), 0);
  const std::vector<archtest::StoredFrame> stored = archtest::ReadVolumeFrames(
      folder + "/" + ExportVolumeStem(a.records[expected[0]].time) + ".oxa");
  ASSERT_EQ(stored.size(), expected.size());
  for (std::size_t k = 0; k < stored.size(); ++k) {
    const Record& rec = a.records[expected[k]];
    EXPECT_EQ(stored[k].entry.Time, rec.time);
    EXPECT_EQ(stored[k].entry.Camera, rec.camera);
    EXPECT_EQ(stored[k].entry.Kind, rec.kind);
    EXPECT_TRUE(stored[k].bytes == a.frames[expected[k]]) << k;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportToolSelection,
    ::testing::Values(Selection{"AllCamerasAllKinds", At(0), At(39), 0xFFFFFFFFu, 15},
                      Selection{"TwoCamerasContinuousOnly", At(3), At(30), 0x5, 1},
                      Selection{"NothingShown", At(3), At(30), 0x10, 15}),
    [](const auto& info) { return std::string(info.param.name); });

// A damaged entry (a frame length the reader refuses) at the start, in the
// middle or at the end of the interval: the export goes on past it, holds
// every other record, and says what it left out.
TEST(ExportTool, AFrameThatCannotBeReadIsLeftOutAndNamedNotTheRestLost) {
  for (int damaged : {0, 17, 39}) {
    const ExportArchive a = Archive();
    Bytes bytes = orxtest::ReadFileBytes(a.volume);
    const VolumeGeometry g = GeometryFor(static_cast<std::int64_t>(bytes.size()));
    bytes[std::size_t(g.RingStart(0) + EntrySize * damaged + 24)] = 50;  // Length
    for (int b = 25; b < 28; ++b) bytes[std::size_t(g.RingStart(0) + EntrySize * damaged + b)] = 0;
    orxtest::WriteFile(a.volume, bytes);
    const std::string out = a.dir.File("out");
    const ToolResult r =
        RunTool(Args({"export", "--from", DayArg(At(0)), "--to", DayArg(At(39)), "--out", out}, a));
    EXPECT_EQ(r.exit, 1) << damaged;
    EXPECT_NE(r.err.find("1 frames left out"), std::string::npos) << r.err;
    std::vector<int> expected = a.Selected(At(0), At(39), 0xFFFFFFFFu, 15);
    expected.erase(std::remove(expected.begin(), expected.end(), damaged), expected.end());
    std::size_t exported = 0;
    for (const auto& e : fs::directory_iterator(ExportFolderUnder(out)))
      if (e.path().extension() == ".oxa") exported += archtest::ReadVolumeFrames(e.path()).size();
    EXPECT_EQ(exported, expected.size()) << damaged;
  }
}

TEST(ExportTool, VerifyNamesAChangedAMissingAndAnAddedFile) {
  const ExportArchive a = Archive();
  const std::string out = a.dir.File("out");
  const ToolResult r =
      RunTool(Args({"export", "--from", DayArg(At(0)), "--to", DayArg(At(39)), "--out", out}, a));
  ASSERT_EQ(r.exit, 0) << r.err;
  const std::string folder = ExportFolderUnder(out);
  std::vector<std::string> volumes;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".oxa") volumes.push_back(e.path().string());
  ASSERT_EQ(volumes.size(), 1u);
  const std::string volume = volumes[0];
  // One byte inside a frame: the volume itself stays sound.
  Bytes bytes = orxtest::ReadFileBytes(volume);
  bytes[GeometryFor(static_cast<std::int64_t>(bytes.size())).DataStart() + 50] ^= 0x01;
  orxtest::WriteFile(volume, bytes);
  orxtest::WriteFile(folder + "/note.txt", {'x'});
  ToolResult v = RunTool({"verify", folder});
  EXPECT_EQ(v.exit, 1);
  EXPECT_EQ(v.OutLines().at(0), volume + ": differs from SHA256SUMS") << v.out;
  EXPECT_EQ(v.OutLines().at(1), folder + "/report.html: matches SHA256SUMS") << v.out;
  EXPECT_EQ(v.OutLines().at(2), folder + "/note.txt: not listed in SHA256SUMS") << v.out;
  fs::remove(volume);
  v = RunTool({"verify", folder});
  EXPECT_EQ(v.exit, 1);
  EXPECT_EQ(v.OutLines().at(0), volume + ": missing (listed in SHA256SUMS)") << v.out;
}

TEST(ExportTool, VerifyRefusesAManifestThatNamesAnythingButThisFoldersFiles) {
  orxtest::TempDir dir;
  orxtest::WriteFile(dir.File("secret"), {'s'});
  const std::string folder = dir.File("export");
  fs::create_directory(folder);
  const std::string digest(64, 'a');
  for (const std::string& line :
       {digest + "  ../secret", digest + "  /etc/passwd", std::string("hello")}) {
    const std::string text = digest + "  ok.mkv\n" + line + "\n";
    orxtest::WriteFile(folder + "/SHA256SUMS", Bytes(text.begin(), text.end()));
    const ToolResult v = RunTool({"verify", folder});
    EXPECT_EQ(v.exit, 1) << line;
    EXPECT_EQ(v.out, folder +
                         "/SHA256SUMS: line 2 is not a checksum line of a file in this "
                         "folder\n")
        << line;
  }
}

// Runs orxtool with standard error on a terminal; returns what the terminal
// showed (standard output goes to /dev/null).
std::string OnTerminal(const std::vector<std::string>& args) {
  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv{const_cast<char*>(ORXTOOL_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(ORXTOOL_PATH, argv.data());
    _exit(127);
  }
  std::string shown;
  char buffer[4096];
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
  int status = 0;
  waitpid(pid, &status, 0);
  close(terminal);
  return shown;
}

TEST(ExportTool, ProgressShowsOnATerminalUnlessQuiet) {
  const ExportArchive a = Archive();
  const std::vector<std::string> args = {"export",       "--from", DayArg(At(0)),  "--to",
                                         DayArg(At(39)), "--out",  a.dir.File("a")};
  const std::string shown = OnTerminal(Args(args, a));
  EXPECT_NE(shown.find("exporting: 1 frames, 0.0 MiB, "), std::string::npos) << shown;
  std::vector<std::string> quiet = args;
  quiet.back() = a.dir.File("b");
  quiet.push_back("--quiet");
  EXPECT_EQ(OnTerminal(Args(quiet, a)), "");
}

}  // namespace

namespace {

TEST(ExportTool, FolderStandsForTheVolumesInIt) {
  const ExportArchive a = Archive();
  std::vector<std::string> args{"export", "--from", DayArg(At(0)), "--to", DayArg(At(39)),
                                "--out",  a.dir.File("out")};
  const std::vector<std::string> now = ExportNow();
  args.insert(args.end(), now.begin(), now.end());
  args.push_back(fs::path(a.volume).parent_path().string());
  const ToolResult r = RunTool(args);
  ASSERT_EQ(r.exit, 0) << r.err;
  const std::string folder = ExportFolderUnder(a.dir.File("out"));
  const std::vector<int> expected = a.Selected(At(0), At(39), 0xFFFFFFFFu, 15);
  ASSERT_FALSE(expected.empty());
  const std::string first = ExportVolumeStem(a.records[expected[0]].time) + ".oxa";
  EXPECT_EQ(archtest::ReadVolumeFrames(folder + "/" + first).size(), expected.size());
}

}  // namespace

namespace {

// Ctrl-C ends the export after the frame in hand; the folder keeps what was
// made, with its manifest. Here it comes before the first frame.
TEST(ExportTool, InterruptFinishesTheFolderWithItsManifest) {
  const ExportArchive a = Archive();
  const std::string out = a.dir.File("out");
  const ToolResult r = RunTool(
      Args({"export", "--from", DayArg(At(0)), "--to", DayArg(At(39)), "--out", out}, a), true);
  EXPECT_EQ(r.exit, 1) << r.err;
  const std::string folder = ExportFolderUnder(out);
  EXPECT_EQ(r.OutLines().at(0), folder);
  EXPECT_EQ(r.OutLines().at(1).rfind("exported 0 frames", 0), 0u) << r.out;
  EXPECT_EQ(r.err, "orxtool: export: interrupted: " + folder +
                       " holds the frames exported until then, and SHA256SUMS covers them\n");
  EXPECT_TRUE(fs::exists(folder + "/SHA256SUMS"));
  EXPECT_NE(ReadText(folder + "/report.html").find("прерван оператором"), std::string::npos);
}

}  // namespace
