// What the playback window tells each cell of the frame it shows: the
// stored bytes, the mark and hint of a frame that does not decode, the date
// in the caption of an archive longer than a day; and the camera menu's
// marks of the cameras the archive holds.

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "ArchRig.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

namespace archtest {
namespace {

// The frame with its header's sample precision made nonsense: it does not
// decode.
Bytes Undecodable(Bytes frame) {
  for (std::size_t i = 0; i + 5 < frame.size(); ++i)
    if (frame[i] == 0xFF && frame[i + 1] == 0xC0) {
      frame[i + 4] ^= 0xFF;
      break;
    }
  return frame;
}

TEST(CellFrame, DamagedFrameIsMarkedAndHintedUntilTheNextGoodOneAndEachKeepsItsBytes) {
  ArchRig rig;
  std::vector<Bytes> frames;
  for (int i = 0; i < 12; ++i) frames.push_back(EncodeJpeg(64, 48, i + 1));
  frames[6] = Undecodable(frames[6]);
  rig.AddVolume(RoundRobin(ArchRig::Base(), 12, 1, 1.0), frames, MinVolumeSize);
  TArchView& w = rig.ShowStill();
  TCellImage* image = w.CellImages[0];
  int steps = 0;
  while (rig.Hints().shown.empty() || rig.IndexOf(rig.Hints().shown.back().time) < 8) {
    ASSERT_LT(++steps, 12);
    w.RightStepClick();
    const Shown& last = rig.Hints().shown.back();
    const int index = rig.IndexOf(last.time);
    const bool bad = index == 6;
    EXPECT_EQ(image->Damaged(), bad) << index;
    EXPECT_EQ(last.hint.endsWith(QStringLiteral("\nКадр повреждён")), bad) << index;
    EXPECT_EQ(w.CellTime[0], last.time);
    const Bytes stored(image->StoredFrame().begin(), image->StoredFrame().end());
    EXPECT_EQ(stored, rig.FrameOf(index)) << index;
  }
}

TEST(CellFrame, CaptionCarriesTheDateOnlyWhenTheArchiveSpansMoreThanADay) {
  for (const double lastDay : {0.9, 2.0}) {
    ArchRig rig;
    std::vector<Record> records = RoundRobin(ArchRig::Base(), 10, 1, 1.0);
    records.push_back({ArchRig::Base() + lastDay, 0});
    rig.AddVolume(records);
    TArchView& w = rig.ShowStill();
    w.RightStepClick();
    ASSERT_FALSE(rig.Hints().shown.empty());
    const QString caption = w.CellImages[0]->CaptionText();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("1  "))) << caption.toStdString();
    EXPECT_EQ(caption.contains(QStringLiteral("05.01.2001 ")), lastDay > 1) << lastDay;
  }
}

TEST(CameraMenu, CamerasWithRecordsAreMarkedAlsoOutsideTheGrid) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 6, 2, 1.0));
  rig.AddVolume({{ArchRig::At(10), 16}, {ArchRig::At(11), 31}});
  TArchView& w = rig.ShowStill();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.CameraItems[31]->font().bold(); }, 5000));
  for (int i = 0; i < CameraCount; ++i)
    EXPECT_EQ(w.CameraItems[i]->font().bold(), i == 0 || i == 1 || i == 16 || i == 31) << i;
}

}  // namespace
}  // namespace archtest
