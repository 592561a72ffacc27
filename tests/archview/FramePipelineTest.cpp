// Frames decoded ahead on worker threads change nothing anyone can see: the
// same scripted runs (speed, freeze, step, position, filters and the grid
// changed mid-run) give the same frames in the same cells, hints, times,
// captions, damage marks, pictures and end state with no worker, one and
// several; and the read-ahead never holds more than its slots.

#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QCheckBox>
#include <QDir>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <map>
#include <string>

#include "ArchRig.h"
#include "archview/FramePipeline.h"
#include "archview/PlaybackState.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

namespace archtest {

// A frame that decodes in full and then fails: a second frame header after
// the scan, which libjpeg meets while finishing.
Bytes FailingAfterRows(const Bytes& jpeg) {
  std::size_t sof = 0;
  while (sof + 3 < jpeg.size() && !(jpeg[sof] == 0xFF && jpeg[sof + 1] == 0xC0)) ++sof;
  const std::size_t length = std::size_t(jpeg[sof + 2]) << 8 | jpeg[sof + 3];
  Bytes out(jpeg.begin(), jpeg.end() - 2);  // without the end marker
  out.insert(out.end(), jpeg.begin() + long(sof), jpeg.begin() + long(sof + 2 + length));
  out.push_back(0xFF);
  out.push_back(0xD9);
  return out;
}

// Records 0.2 s apart of cameras 0..19, camera-sized frames in turn, one
// that is no JPEG and one that fails after its rows; every fifth of kind
// motion alone.
void AddCameraVolume(ArchRig& rig, int count) {
  std::vector<Bytes> distinct;
  for (int seed = 1; seed <= 5; ++seed) distinct.push_back(EncodeJpeg(704, 576, seed, 60));
  std::vector<Record> records = RoundRobin(ArchRig::Base(), count, 20, 0.2);
  std::vector<Bytes> frames;
  for (int i = 0; i < count; ++i) {
    if (i % 5 == 4) records[std::size_t(i)].kind = KindMotion;
    frames.push_back(i % 37 == 11   ? Padded(Bytes{'n', 'o', 't'}, 200, i)
                     : i % 41 == 20 ? FailingAfterRows(distinct[1])
                                    : distinct[std::size_t(i) % distinct.size()]);
  }
  rig.AddVolume(records, frames, 64 * MinVolumeSize);
}

// Everything a person or a test can see of a run, as text, and the pictures.
struct Seen {
  std::vector<std::string> text;
  std::vector<QImage> pictures;
};

std::string Describe(double value) { return std::to_string(qRound64(value * 86400000.0)); }

void Note(Seen& seen, TArchView& w, ArchRig& rig) {
  for (const Shown& s : rig.Hints().shown)
    seen.text.push_back(std::to_string(s.cell) + " " + Describe(s.time) + " " +
                        s.hint.toStdString());
  for (int i = 0; i < CameraCount; ++i) {
    const TCellImage* image = w.CellImages[i];
    seen.text.push_back("cell " + std::to_string(i) + " " + Describe(w.CellTime[i]) + " " +
                        image->CaptionText().toStdString() + (image->Damaged() ? " damaged" : "") +
                        (image->isVisible() ? "" : " hidden") + " " +
                        w.CellPanels[i]->Caption().toStdString() + " scale " +
                        std::to_string(image->PictureScale()));
    seen.pictures.push_back(image->Picture());
  }
  seen.text.push_back("end " + Describe(PlaybackTime) + " beeps " +
                      std::to_string(rig.PlatformScript().beeps) + " bar " +
                      std::to_string(w.CurrentPos->value()) +
                      (w.StopArch->isChecked() ? " stopped" : ""));
}

// A script: what it sets before the run, and what it does at which frame.
struct Script {
  const char* name;
  bool realTime;
  std::map<int, std::function<void(TArchView&)>> at;
};

void Later(TArchView& w, std::function<void()> act) { QTimer::singleShot(0, &w, std::move(act)); }

const Script kScripts[] = {
    {"RealTime",
     true,
     {{4, [](TArchView& w) {
         w.StopBtn->click();
         Later(w, [&w] { w.StopBtn->click(); });
       }},
      {9, [](TArchView& w) { Later(w, [&w] { w.SpeedBar->setValue(20); }); }},
      {15, [](TArchView& w) {
         Later(w, [&w] { w.CurrentPos->triggerAction(QAbstractSlider::SliderPageStepAdd); });
       }},
      {26, [](TArchView& w) { Later(w, [&w] { w.RightStep->click(); }); }}}},
    {"FreeRun",
     false,
     {{5, [](TArchView& w) { Later(w, [&w] { w.SpeedBar->setValue(1); }); }},
      {12, [](TArchView& w) { Later(w, [&w] { w.SpeedBar->setValue(-1); }); }},
      {18, [](TArchView& w) {
         Later(w, [&w] { w.CurrentPos->triggerAction(QAbstractSlider::SliderPageStepAdd); });
       }},
      {25, [](TArchView& w) { Later(w, [&w] { w.SetBtnClick(); }); }},
      {31, [](TArchView& w) { Later(w, [&w] { w.MoveRecBox->click(); }); }},
      {36, [](TArchView& w) {
         w.StopBtn->click();
         Later(w, [&w] { w.StopBtn->click(); });
       }},
      {44, [](TArchView& w) { Later(w, [&w] { w.SpeedBar->setValue(0); }); }}}},
};

// The script played forward from the start, then backward from where it
// stopped, with threads workers.
// The window over the camera volume, shown still, its pictures made with
// threads workers, scaled or not.
TArchView& Prepared(ArchRig& rig, int records, int threads, bool scaled) {
  AddCameraVolume(rig, records);
  TArchView& w = rig.Create();
  w.resize(900, 700);
  w.Pictures().SetThreads(threads);
  w.Pictures().SetScaled(scaled);
  rig.ShowStill();
  // Its ticks come by the wall clock: what they mark would differ run to run.
  w.Timer->stop();
  return w;
}

Seen Play(const Script& script, int threads, int& takenAhead) {
  ArchRig rig;
  TArchView& w = Prepared(rig, 400, threads, true);
  w.RealTimeBtn->setChecked(script.realTime);
  int run = 0;
  rig.Hints().onShown = [&](int count) {
    EXPECT_LE(w.Pictures().Pending(), w.Pictures().Slots());
    EXPECT_EQ(w.Pictures().Slots(), threads * PictureWorkers::kSlotsPerThread);
    const auto act = script.at.find(count);
    if (run == 0 && act != script.at.end()) act->second(w);
    if (run == 1 && count == int(rig.Hints().shown.size()) && count % 50 == 0)
      Later(w, [&w] { w.StopArch->click(); });
  };
  w.RightRunClick();
  run = 1;
  w.LeftRunClick();
  Seen seen;
  Note(seen, w, rig);
  takenAhead = int(w.Pictures().TakenAhead());
  return seen;
}

class FramePipelineRun : public ::testing::TestWithParam<Script> {};

INSTANTIATE_TEST_SUITE_P(Scripts, FramePipelineRun, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(FramePipelineRun, SameWithNoOneAndSeveralWorkers) {
  int ahead = 0;
  const Seen alone = Play(GetParam(), 0, ahead);
  EXPECT_EQ(ahead, 0);
  ASSERT_GT(alone.text.size(), 75u);  // the script ran
  for (const int threads : {1, 3}) {
    const Seen seen = Play(GetParam(), threads, ahead);
    EXPECT_GT(ahead, 20) << threads << " workers took nothing decoded ahead";
    EXPECT_EQ(seen.text, alone.text) << threads << " workers";
    ASSERT_EQ(seen.pictures.size(), alone.pictures.size());
    for (std::size_t i = 0; i < seen.pictures.size(); ++i)
      EXPECT_TRUE(seen.pictures[i] == alone.pictures[i]) << "cell " << i << ", " << threads;
  }
}

}  // namespace archtest

namespace archtest {

// What needs a frame's full size, after the cells got theirs decoded small.
enum class FullSize { Save, Print, Enlarge, Zoom, FailedAfterRows };

// The bytes each need gives, with pictures decoded as small as the cells
// allow or, as they always were, in full.
Bytes Outcome(FullSize need, bool scaled) {
  ArchRig rig;
  TArchView& w = Prepared(rig, 60, -1, scaled);
  for (int i = 0; i < 22; ++i) w.RightStepClick();
  EXPECT_EQ(w.CellImages[5]->PictureScale(), scaled ? 2 : 1);
  w.StopBtn->click();
  const auto bytesOf = [](const QImage& image) {
    const auto* bits = image.constBits();
    return Bytes(bits, bits + image.sizeInBytes());
  };
  switch (need) {
    case FullSize::Save: {
      rig.PlatformScript().saveAnswers.push_back(QString::fromStdString(rig.Dir().File("x.bmp")));
      rig.PlatformScript().questionAnswers.push_back(true);
      w.SaveClick();
      Bytes all;
      for (const QString& name : QDir(QString::fromStdString(rig.Dir().Path()))
                                     .entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name)) {
        const Bytes file = orxtest::ReadFileBytes(rig.Dir().File(name.toStdString()));
        all.insert(all.end(), file.begin(), file.end());
      }
      EXPECT_GT(all.size(), 16u * 704 * 576 * 3);
      return all;
    }
    case FullSize::Print:
      rig.PlatformScript().printAnswers.push_back(true);
      w.PrintItemClick();
      return bytesOf(w.QRImage);
    case FullSize::Enlarge: {
      // Three clicks grow the cell to 3 x 3 units: more than half the frame.
      TCellPanel* cell = w.CellPanels[5];
      for (int click = 0; click < 3; ++click) {
        w.VisPanelMouseDown(cell, Qt::LeftButton, QPoint(4, 4));
        w.VisPanelMouseUp(cell, Qt::LeftButton, QPoint(4, 4));
      }
      w.CellImages[5]->grab();
      EXPECT_EQ(w.CellImages[5]->PictureScale(), 1);
      Bytes both = bytesOf(w.CellImages[5]->Picture());
      // The camera's next frame comes in full too.
      const double shownBefore = w.CellTime[5];
      for (int i = 0; i < 20 && w.CellTime[5] == shownBefore; ++i) w.RightStepClick();
      const Bytes next = bytesOf(w.CellImages[5]->Picture());
      EXPECT_EQ(w.CellImages[5]->PictureScale(), 1);
      both.insert(both.end(), next.begin(), next.end());
      return both;
    }
    case FullSize::Zoom:
      w.CellImages[5]->ZoomAt(QPointF(10, 10), 2.0);
      return bytesOf(w.CellImages[5]->grab().toImage());
    case FullSize::FailedAfterRows:
      EXPECT_TRUE(w.CellImages[0]->Damaged());
      return bytesOf(w.CellImages[0]->Bitmap());
  }
  return {};
}

class FullSizePictures : public ::testing::TestWithParam<FullSize> {};

INSTANTIATE_TEST_SUITE_P(Needs, FullSizePictures,
                         ::testing::Values(FullSize::Save, FullSize::Print, FullSize::Enlarge,
                                           FullSize::Zoom, FullSize::FailedAfterRows));

TEST_P(FullSizePictures, SameAsFromFramesDecodedInFull) {
  const Bytes full = Outcome(GetParam(), false);
  ASSERT_FALSE(full.empty());
  EXPECT_TRUE(Outcome(GetParam(), true) == full);
}

}  // namespace archtest
