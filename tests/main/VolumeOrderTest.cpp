// The order of the volumes an operator chose: by each volume's first record,
// read from its header and ring heads only, with the reader's damage rules.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "archive/VolumeOrder.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

using orxtest::Sec;
using orxtest::VolumeBuilder;

struct FirstCase {
  const char* label;
  std::function<void(const std::string& path)> make;
  bool found;
  double firstSecond;
};
void PrintTo(const FirstCase& c, std::ostream* os) { *os << c.label; }

class VolumeFirstRecord : public ::testing::TestWithParam<FirstCase> {
 protected:
  orxtest::TempDir dir;
};

TEST_P(VolumeFirstRecord, IsTheEarliestUsableRingHead) {
  const std::string path = dir.File("v.oxa");
  GetParam().make(path);
  double time = -7.0;
  EXPECT_EQ(FirstRecordTime(path, time), GetParam().found);
  EXPECT_EQ(time, GetParam().found ? Sec(GetParam().firstSecond) : -7.0);
}

const double NaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Volumes, VolumeFirstRecord,
    ::testing::Values(
        FirstCase{"OneRing",
                  [](const std::string& p) { VolumeBuilder(p).AddRun(0, 3, 20, 5); }, true, 20},
        FirstCase{"OlderRecordsInRingOne",
                  [](const std::string& p) {
                    VolumeBuilder v(p);
                    v.Add(0, Sec(50));
                    v.Add(1, Sec(5));
                  },
                  true, 5},
        FirstCase{"RingOffItsSlotsIsEmpty",
                  [](const std::string& p) {
                    VolumeBuilder v(p);
                    v.Add(0, Sec(20));
                    v.Add(1, Sec(1));
                    v.Header().Ring1Head += 4;
                    v.WriteHeader();
                  },
                  true, 20},
        FirstCase{"RingStartingAtNaNIsLeftOut",
                  [](const std::string& p) {
                    VolumeBuilder v(p);
                    v.Add(0, NaN);
                    v.Add(1, Sec(40));
                  },
                  true, 40},
        FirstCase{"EmptyVolume", [](const std::string& p) { VolumeBuilder v(p); }, false, 0},
        FirstCase{"NotAVolume",
                  [](const std::string& p) { orxtest::MakeFile(p, 4096, 0x5A); }, false, 0},
        FirstCase{"ShorterThanAHeader",
                  [](const std::string& p) { orxtest::MakeFile(p, 31); }, false, 0},
        FirstCase{"Missing", [](const std::string&) {}, false, 0}),
    [](const ::testing::TestParamInfo<FirstCase>& info) { return std::string(info.param.label); });

TEST(VolumeOrder, EarliestFirstTiesByNameUndatedLastRepeatsOnce) {
  orxtest::TempDir dir;
  const std::string late = dir.File("a-late.oxa"), early = dir.File("z-early.oxa");
  const std::string tieA = dir.File("m-tie.oxa"), tieB = dir.File("n-tie.oxa");
  const std::string empty = dir.File("empty.oxa"), junk = dir.File("junk.oxa");
  const std::string missing = dir.File("missing.oxa");
  VolumeBuilder(late).Add(0, Sec(90));
  VolumeBuilder(early).Add(0, Sec(5));
  VolumeBuilder(tieB).Add(0, Sec(30));
  VolumeBuilder(tieA).Add(0, Sec(30));
  VolumeBuilder{empty};
  orxtest::MakeFile(junk, 4096, 0x5A);
  const VolumeList chosen{missing, late, tieB, junk, early, empty, tieA, late};
  EXPECT_EQ(OrderByFirstRecord(chosen),
            (VolumeList{early, tieA, tieB, late, empty, junk, missing}));
}

}  // namespace
