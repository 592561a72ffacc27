// One selection, two front ends: the window's export and orxtool export of
// the same archive, interval and masks make the same volumes, or the same
// videos, byte for byte.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <algorithm>
#include <filesystem>

#include "ArchRig.h"
#include "archview/PlaybackState.h"
#include "common/DateTime.h"
#include "export/ExportNames.h"
#include "view/CellPanel.h"

namespace archtest {
namespace {

namespace fs = std::filesystem;

int RunOrxtool(std::vector<std::string> args) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv{const_cast<char*>(ORXTOOL_PATH)};
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(ORXTOOL_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file of a folder with this extension by name, with its bytes.
std::vector<std::pair<std::string, Bytes>> Files(const std::string& folder,
                                                 const std::string& extension) {
  std::vector<std::pair<std::string, Bytes>> out;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == extension)
      out.emplace_back(e.path().filename().string(), orxtest::ReadFileBytes(e.path().string()));
  std::sort(out.begin(), out.end());
  return out;
}

struct Match {
  const char* name;
  double fromSecond, toSecond;
  std::vector<int> hiddenCells;
  std::uint32_t kinds;
  std::size_t frameLength;  // 0: the small JPEG alone
  std::size_t minVolumes;
  bool video = false;
};

class ExportMatch : public ::testing::TestWithParam<Match> {};

TEST_P(ExportMatch, WindowAndOrxtoolMakeTheSameFiles) {
  const Match& m = GetParam();
  ArchRig rig;
  std::vector<Record> records;
  std::vector<Bytes> frames;
  const int cameras[] = {0, 1, 2, 17, 3, 40};
  const std::int32_t kinds[] = {1, 4, 5, 2, 8, 1, 0};
  for (int i = 0; i < 60; ++i) {
    records.push_back(Record{ArchRig::At(i), cameras[i % 6], kinds[i % 7]});
    const Bytes jpeg = EncodeJpeg(64, 48, i % 4);
    frames.push_back(m.frameLength ? Padded(jpeg, m.frameLength, i) : jpeg);
  }
  rig.AddVolume(records, frames, 64 * MinVolumeSize);
  TArchView& w = rig.ShowStill();
  QCheckBox* boxes[] = {w.TimerRecBox, w.ActiveRecBox, w.MoveRecBox, w.HistRecBox};
  for (int bit = 0; bit < 4; ++bit) boxes[bit]->setChecked((m.kinds >> bit) & 1);
  w.TimerRecBoxClick();
  ASSERT_EQ(KindMask, m.kinds);
  for (int cell : m.hiddenCells) w.CellPanels[cell]->hide();
  w.LayoutChanged();
  w.SetIntervalStart(ArchRig::At(m.fromSecond));
  w.SetIntervalEnd(ArchRig::At(m.toSecond));
  rig.ChooseExport(m.video ? "OrxTom.mkv" : "OrxTom.oxa", m.video ? 1 : 0);
  w.SaveBitBtnClick();
  const std::string extension = m.video ? ".mkv" : ".oxa";
  const auto byWindow = Files(rig.Dir().File(ExportFolderName(ArchRig::Present())), extension);

  const std::string out = rig.Dir().File("tool");
  ASSERT_EQ(
      RunOrxtool({"export", "--from", FormatDayNumber(w.IntervalStart()), "--to",
                  FormatDayNumber(w.IntervalEnd()), "--cameras", std::to_string(CameraMask),
                  "--kinds", std::to_string(m.kinds), "--format", m.video ? "mkv" : "oxa",
                  "--out", out, "--quiet", rig.Volumes()[0]}),
      0);
  std::vector<fs::path> folders;
  for (const auto& e : fs::directory_iterator(out)) folders.push_back(e.path());
  ASSERT_EQ(folders.size(), 1u);
  const auto byTool = Files(folders[0].string(), extension);

  ASSERT_GE(byWindow.size(), m.minVolumes);
  ASSERT_EQ(byTool.size(), byWindow.size());
  for (std::size_t v = 0; v < byWindow.size(); ++v) {
    EXPECT_EQ(byTool[v].first, byWindow[v].first);
    EXPECT_TRUE(byTool[v].second == byWindow[v].second) << byWindow[v].first;
  }
  if (!m.video) {
    EXPECT_GE(ReadVolumeFrames(rig.Dir().File(ExportFolderName(ArchRig::Present())) + "/" +
                               byWindow[0].first)
                  .size(),
              3u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportMatch,
    ::testing::Values(Match{"WholeArchiveAsTheWindowOpens", 0, 59, {}, 7, 0, 1},
                      Match{"HiddenCellsContinuousOnly", 7, 41, {1, 3}, 1, 0, 1},
                      Match{"RolloverIntoFurtherVolumes", 0, 59, {}, 15, 600000, 2},
                      Match{"VideoHiddenCellsContinuousOnly", 7, 41, {1, 3}, 1, 0, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace archtest
