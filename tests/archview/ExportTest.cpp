// The fragment export from the playback window: what it writes, where, and
// how it ends.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

#include "ArchRig.h"
#include "archview/ExportDestination.h"
#include "export/ChecksumManifest.h"
#include "export/ExportNames.h"
#include "archview/PlaybackState.h"
#include "common/DateTime.h"
#include "view/CellPanel.h"

namespace archtest {
namespace {

namespace fs = std::filesystem;

// The folder the rig's clock names, beside the chosen name.
std::string ExportFolder(const ArchRig& rig) {
  return rig.Dir().File(ExportFolderName(ArchRig::Present()));
}

std::vector<std::string> VolumesIn(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".oxa") out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

// The folder's SHA256SUMS lists every other file in it, the report too, each
// with the digest of what it holds.
void ExpectManifestCoversFolder(const std::string& folder) {
  const Bytes text = orxtest::ReadFileBytes(folder + "/SHA256SUMS");
  std::vector<ManifestEntry> entries;
  int badLine = 0;
  ASSERT_TRUE(ParseManifest(std::string(text.begin(), text.end()), entries, badLine)) << badLine;
  std::vector<std::string> listed, present;
  for (const ManifestEntry& e : entries) {
    listed.push_back(e.name);
    EXPECT_EQ(Sha256OfFile(folder + "/" + e.name), e.digest) << e.name;
  }
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename() != "SHA256SUMS") present.push_back(e.path().filename().string());
  std::sort(listed.begin(), listed.end());
  std::sort(present.begin(), present.end());
  EXPECT_EQ(listed, present);
  EXPECT_NE(std::find(listed.begin(), listed.end(), "report.html"), listed.end());
}

// The text of the message that ended the export.
QString EndMessage(const ArchRig& rig) {
  const ScriptedPlatform& p = const_cast<ArchRig&>(rig).PlatformScript();
  return p.questions.empty() ? QString() : p.questions.back().text;
}

// Every exported frame is the record at its index, byte for byte.
void ExpectExported(const ArchRig& rig, const std::string& volume, const std::vector<int>& indexes) {
  const std::vector<StoredFrame> stored = ReadVolumeFrames(volume);
  ASSERT_EQ(stored.size(), indexes.size());
  for (std::size_t k = 0; k < stored.size(); ++k) {
    const Record& r = rig.Records()[indexes[k]];
    EXPECT_EQ(stored[k].entry.Time, r.time) << k;
    EXPECT_EQ(stored[k].entry.Camera, r.camera) << k;
    EXPECT_EQ(stored[k].entry.Kind, r.kind) << k;
    EXPECT_TRUE(stored[k].bytes == rig.FrameOf(indexes[k])) << k;
  }
}

TEST(Export, WritesWhatForwardPlaybackShowsFromTheIntervalStart) {
  ArchRig rig;
  std::vector<Record> records;
  std::vector<Bytes> frames;
  const int cameras[] = {0, 1, 2, 17, 3};
  const std::int32_t kinds[] = {1, 4, 5, 1, 8, 1, 2};
  for (int i = 0; i < 40; ++i) {
    records.push_back(Record{ArchRig::At(i), cameras[i % 5], kinds[i % 7]});
    frames.push_back(EncodeJpeg(64, 48, i % 4));
  }
  // Frames of today's cameras are longer than the old 100,000-byte buffer.
  frames[14] = Padded(frames[14], 100001, 14);
  frames[21] = Padded(frames[21], MaxFrameLength, 21);
  rig.AddVolume(records, frames, 4 * MinVolumeSize);
  TArchView& w = rig.ShowStill();
  for (QCheckBox* box : {w.ActiveRecBox, w.MoveRecBox}) box->setChecked(false);
  w.TimerRecBoxClick();  // continuous only: kind 4 alone is passed over
  w.SetIntervalStart(ArchRig::At(5));
  w.SetIntervalEnd(ArchRig::At(33));
  double landing = w.IntervalStart();
  w.Reader.SetPosition(landing, SeekDirection::Forward);
  // Playback stands elsewhere when the button is pressed.
  PlaybackTime = ArchRig::At(30);
  w.Reader.SetPosition(PlaybackTime, SeekDirection::Backward);

  rig.ChooseExport("OrxTom.oxa");
  rig.Hints().onShown = [&](int count) {
    if (count != 2) return;
    EXPECT_TRUE(w.Exporting());
    EXPECT_FALSE(w.SaveBitBtn->isEnabled());
    EXPECT_FALSE(w.RightRun->isEnabled());
    w.SaveBitBtnClick();  // a second export is refused
    // A handler that moves the position while the frame is in hand.
    QTimer::singleShot(0, [] { PlaybackTime += 1.0; });
  };
  w.SaveBitBtnClick();

  const std::vector<SaveFileRequest>& dialogs = rig.PlatformScript().typedSaveCalls;
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].title, "Экспорт фрагмента");
  EXPECT_EQ(dialogs[0].acceptLabel, "Экспорт");
  EXPECT_EQ(dialogs[0].initialName, "OrxTom.oxa");
  EXPECT_EQ(dialogs[0].directory, QDir::homePath());
  EXPECT_EQ(dialogs[0].types, QStringList({"Тома архива (*.oxa)",
                                           "Видео для любого проигрывателя (*.mkv)"}));
  std::vector<int> expected;
  for (int i = rig.IndexOf(landing); i <= 33; ++i)
    if (records[i].camera < 16 && (records[i].kind & KindContinuous)) expected.push_back(i);
  ASSERT_GE(expected.size(), 10u);
  ASSERT_EQ(std::count(expected.begin(), expected.end(), 14), 1);
  ASSERT_EQ(std::count(expected.begin(), expected.end(), 21), 1);
  const std::vector<std::string> volumes = VolumesIn(ExportFolder(rig));
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(fs::path(volumes[0]).filename().string(),
            ExportVolumeStem(records[expected[0]].time) + ".oxa");
  ExpectExported(rig, volumes[0], expected);
  ExpectManifestCoversFolder(ExportFolder(rig));
  const QString end = EndMessage(rig);
  EXPECT_TRUE(end.startsWith("Фрагмент экспортирован в папку\n" +
                             QString::fromStdString(ExportFolder(rig)) + "\n\nКадров: " +
                             QString::number(expected.size()) + ", записаны\nс "))
      << end.toStdString();
  EXPECT_TRUE(end.endsWith("\n\nОткрыть папку?"));
  // Camera 1's last frame, kinds 1 and 4, has the export's words.
  EXPECT_TRUE(w.CellPanels[0]->toolTip().endsWith(" (непрерывная запись) (запись по тревоге)"));

  EXPECT_FALSE(w.Exporting());
  EXPECT_TRUE(w.SaveBitBtn->isEnabled());
  for (QToolButton* b : {w.LeftStep, w.RightStep, w.LeftRun, w.RightRun}) EXPECT_TRUE(b->isEnabled());
  EXPECT_FALSE(w.StopBtn->isChecked());
  EXPECT_TRUE(StopRequested);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);  // the interval end
}

// The interval the window opens with, from "<<<" to ">>>", over two volumes
// whose records meet 20 ms apart: every record of a visible camera goes out,
// the first and the last included.
TEST(Export, TheWholeArchiveGoesOutRecordForRecord) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 60, 20, 0.04));
  rig.AddVolume(RoundRobin(ArchRig::At(2.38), 60, 20, 0.04));
  TArchView& w = rig.ShowStill();
  rig.ChooseExport("OrxTom.oxa");
  w.SaveBitBtnClick();
  std::vector<int> expected;
  for (std::size_t i = 0; i < rig.Records().size(); ++i)
    if (rig.Records()[i].camera < 16) expected.push_back(static_cast<int>(i));
  const std::vector<std::string> volumes = VolumesIn(ExportFolder(rig));
  ASSERT_EQ(volumes.size(), 1u);
  ExpectExported(rig, volumes[0], expected);
}

// A record whose index entry gives a frame length the reader refuses: the
// export goes on past it and its end message says one frame could not be
// read.
TEST(Export, AFrameTheArchiveCannotGiveIsPassedOverAndNamed) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 30, 4, 1.0));
  Bytes volume = orxtest::ReadFileBytes(rig.Volumes()[0]);
  const std::int64_t slot = GeometryFor(std::int64_t(volume.size())).RingStart(0) + EntrySize * 7;
  volume[std::size_t(slot + 24)] = 50;  // Length 50, below the least a frame has
  volume[std::size_t(slot + 25)] = 0;
  volume[std::size_t(slot + 26)] = 0;
  volume[std::size_t(slot + 27)] = 0;
  orxtest::WriteFile(rig.Volumes()[0], volume);
  TArchView& w = rig.ShowStill();
  rig.ChooseExport("OrxTom.oxa");
  w.SaveBitBtnClick();
  std::vector<int> expected;
  for (int i = 0; i < 30; ++i)
    if (i != 7) expected.push_back(i);
  const std::vector<std::string> volumes = VolumesIn(ExportFolder(rig));
  ASSERT_EQ(volumes.size(), 1u);
  ExpectExported(rig, volumes[0], expected);
  ASSERT_EQ(rig.PlatformScript().questions.size(), 1u);
  EXPECT_TRUE(rig.PlatformScript().questions[0].text.contains(
      QStringLiteral("Не прочитано из архива кадров: 1")));
}

enum class Meanwhile { StopArch, ExitBtn, Freeze, Destroy };

class ExportInterrupted : public ::testing::TestWithParam<Meanwhile> {};

TEST_P(ExportInterrupted, StopAndExitEndItAfterTheFrameInHandFreezeDoesNotPauseIt) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 30, 4, 1.0));
  TArchView& w = rig.ShowStill();
  double landing = w.IntervalStart();
  w.Reader.SetPosition(landing, SeekDirection::Forward);
  const int first = rig.IndexOf(landing);
  const int end = rig.IndexOf(w.IntervalEnd());
  rig.ChooseExport("x.oxa");
  TArchView* owned = GetParam() == Meanwhile::Destroy ? rig.Release() : nullptr;
  rig.Hints().onShown = [&](int count) {
    if (count != 3) return;
    QTimer::singleShot(0, [&] {
      switch (GetParam()) {
        case Meanwhile::StopArch: w.StopArch->click(); break;
        case Meanwhile::ExitBtn: w.ExitBtn->click(); break;
        case Meanwhile::Freeze: w.StopBtn->click(); break;
        case Meanwhile::Destroy: delete owned; break;
      }
    });
  };
  w.SaveBitBtnClick();

  const int last = GetParam() == Meanwhile::Freeze ? end : first + 2;
  std::vector<int> expected;
  for (int i = first; i <= last; ++i) expected.push_back(i);
  const std::vector<std::string> volumes = VolumesIn(ExportFolder(rig));
  ASSERT_EQ(volumes.size(), 1u);
  ExpectExported(rig, volumes[0], expected);
  EXPECT_TRUE(StopRequested);
  // The manifest and the report cover what was kept; the message says so.
  ExpectManifestCoversFolder(ExportFolder(rig));
  if (GetParam() != Meanwhile::Destroy) {
    EXPECT_TRUE(EndMessage(rig).startsWith(GetParam() == Meanwhile::Freeze
                                               ? "Фрагмент экспортирован"
                                               : "Экспорт прерван"))
        << EndMessage(rig).toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Meanwhile, ExportInterrupted,
                         ::testing::Values(Meanwhile::StopArch, Meanwhile::ExitBtn,
                                           Meanwhile::Freeze, Meanwhile::Destroy));

TEST(Export, CellsHiddenMidExportJudgeEveryRecordReadAfter) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 30, 4, 1.0));
  TArchView& w = rig.ShowStill();
  double landing = w.IntervalStart();
  w.Reader.SetPosition(landing, SeekDirection::Forward);
  const int first = rig.IndexOf(landing);
  const int end = rig.IndexOf(w.IntervalEnd());
  rig.ChooseExport("x.oxa");
  rig.Hints().onShown = [&](int count) {
    if (count != 3) return;
    QTimer::singleShot(0, [&] {
      w.CellPanels[1]->hide();  // camera 1 (stored) leaves the grid
      w.LayoutChanged();
    });
  };
  w.SaveBitBtnClick();
  std::vector<int> expected;
  for (int i = first; i <= end; ++i)
    if (i < first + 3 || rig.Records()[i].camera != 1) expected.push_back(i);
  const std::vector<std::string> volumes = VolumesIn(ExportFolder(rig));
  ASSERT_EQ(volumes.size(), 1u);
  ExpectExported(rig, volumes[0], expected);
}

TEST(Export, CancelMakesNothingAndNothingShownMakesNoVolume) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 20, 4, 1.0));
  TArchView& w = rig.ShowStill();
  w.SaveBitBtnClick();  // no answer: cancelled
  EXPECT_FALSE(fs::exists(ExportFolder(rig)));
  EXPECT_TRUE(w.SaveBitBtn->isEnabled());
  EXPECT_TRUE(w.LeftStep->isEnabled());
  EXPECT_EQ(rig.PlatformScript().beeps, 0);

  for (TCellPanel* panel : w.CellPanels) panel->hide();
  w.LayoutChanged();
  rig.ChooseExport("x.oxa");
  w.SaveBitBtnClick();
  EXPECT_TRUE(VolumesIn(ExportFolder(rig)).empty());
  ExpectManifestCoversFolder(ExportFolder(rig));
  EXPECT_TRUE(EndMessage(rig).contains("Кадров: 0 — в интервале нет кадров"));
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
}

TEST(Export, DialogOpensWhereTheLastExportWentAndTheNameOrTypeChoosesTheForm) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 20, 4, 1.0));
  TArchView& w = rig.ShowStill();
  rig.ChooseExport("x.oxa");
  w.SaveBitBtnClick();
  w.SaveBitBtnClick();  // cancelled
  const std::vector<SaveFileRequest>& dialogs = rig.PlatformScript().typedSaveCalls;
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[1].directory, QString::fromStdString(rig.Dir().Path()));

  const struct {
    const char* name;
    int type;
    ExportFormat format;
  } answers[] = {{"x.oxa", 1, ExportFormat::Volumes}, {"x.MKV", 0, ExportFormat::Video},
                 {"x", 1, ExportFormat::Video},       {"x", 0, ExportFormat::Volumes},
                 {"x.avi", 1, ExportFormat::Video}};
  for (const auto& a : answers)
    EXPECT_EQ(ExportFormatOf(QString::fromLatin1(a.name), a.type), a.format) << a.name;
}

// StopBtn is shown up when the export ends; the freeze is released with it,
// also where no StopPlayback released it, so the next run does not wait. A
// cancelled dialog exported nothing: the freeze stands as it stood.
enum class FreezeEnd { FrozenBeforeDialogCancelled, FrozenDuringVolumeNotMade };

class ExportFreeze : public ::testing::TestWithParam<FreezeEnd> {};

TEST_P(ExportFreeze, EndsWithTheFreezeReleasedAsTheButtonShows) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 20, 4, 1.0));
  TArchView& w = rig.ShowStill();
  if (GetParam() == FreezeEnd::FrozenBeforeDialogCancelled) {
    w.StopBtn->click();
  } else {
    // The folder's parent is missing: the first volume cannot be made.
    rig.ChooseExport("missing/x.oxa");
    rig.Hints().onShown = [&](int count) {
      if (count == 1) QTimer::singleShot(0, [&] { w.StopBtn->click(); });
    };
  }
  w.SaveBitBtnClick();
  EXPECT_EQ(rig.PlatformScript().beeps, 0);  // no StopPlayback
  const bool frozen = GetParam() == FreezeEnd::FrozenBeforeDialogCancelled;
  EXPECT_EQ(Frozen, frozen);
  EXPECT_EQ(w.StopBtn->isChecked(), frozen);
  EXPECT_EQ(w.StopBtn->toolTip(), frozen ? QStringLiteral("Продолжить") : QStringLiteral("Остановить"));
  EXPECT_EQ(w.SaveItem->isEnabled(), frozen);
  const bool folderMissing = GetParam() == FreezeEnd::FrozenDuringVolumeNotMade;
  ASSERT_EQ(rig.PlatformScript().warnings.size(), folderMissing ? 1u : 0u);
  if (folderMissing) {
    EXPECT_TRUE(rig.PlatformScript().warnings[0].text.startsWith(
        "Папку для экспорта создать не удалось"));
  }
}

INSTANTIATE_TEST_SUITE_P(Ends, ExportFreeze,
                         ::testing::Values(FreezeEnd::FrozenBeforeDialogCancelled,
                                           FreezeEnd::FrozenDuringVolumeNotMade));

}  // namespace
}  // namespace archtest
