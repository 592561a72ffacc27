// The export's manifest digests, taken on a second thread while files are
// still being made: every file gets the digest of what it holds when it is
// listed, whether it was handed over early, late, twice or never.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/BackgroundHasher.h"
#include "export/ChecksumManifest.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

void Write(const std::string& path, std::size_t size, char fill) {
  orxtest::WriteFile(path, std::vector<std::uint8_t>(size, static_cast<std::uint8_t>(fill)));
}

TEST(BackgroundHasher, EveryListedFileGetsTheDigestOfWhatItHolds) {
  orxtest::TempDir dir;
  const std::string empty = dir.File("empty"), early = dir.File("early"),
                    remade = dir.File("remade"), late = dir.File("late"),
                    missing = dir.File("missing");
  Write(empty, 0, 0);
  Write(early, 3 * 1048576 + 7, 'a');
  Write(remade, 1048576, 'b');
  Write(late, 5, 'c');
  std::vector<std::string> digests;
  {
    BackgroundHasher hasher;
    hasher.Add(empty);
    hasher.Add(early);
    hasher.Add(remade);
    hasher.Digests({remade});
    // The same name made again is a new file.
    Write(remade, 1048577, 'd');
    hasher.Add(remade);
    digests = hasher.Digests({empty, early, remade, late, missing, early});
  }
  ASSERT_EQ(digests.size(), 6u);
  EXPECT_EQ(digests[0], "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(digests[1], Sha256OfFile(early));
  EXPECT_EQ(digests[2], Sha256OfFile(remade));
  EXPECT_EQ(digests[3], Sha256OfFile(late));
  EXPECT_EQ(digests[4], "");
  EXPECT_EQ(digests[5], digests[1]);
  EXPECT_NE(digests[1], digests[2]);
}

}  // namespace
