// A folder named as a volume: which of its entries are the archive.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "archive/VolumeFolder.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

TEST(VolumeFolder, HoldsItsOxaFilesByNameAndNothingElse) {
  orxtest::TempDir dir;
  const std::string folder = dir.File("arch");
  std::filesystem::create_directories(folder + "/sub.oxa");
  for (const char* name : {"b.oxa", "A.OXA", "c.Oxa", ".hidden.oxa", "notes.txt", "x.oxa.part",
                           "sub.oxa/inner.oxa"})
    orxtest::MakeFile(folder + "/" + name, 10);
  ASSERT_EQ(::symlink("b.oxa", (folder + "/link.oxa").c_str()), 0);
  ASSERT_EQ(::symlink("gone", (folder + "/dangling.oxa").c_str()), 0);
  ASSERT_EQ(::mkfifo((folder + "/pipe.oxa").c_str(), 0600), 0);

  const VolumeList expected{folder + "/A.OXA", folder + "/b.oxa", folder + "/c.Oxa",
                            folder + "/link.oxa"};
  EXPECT_EQ(VolumesInFolder(folder), expected);

  // Other names stay where they were named, missing ones too.
  const std::string file = dir.File("single.oxa"), missing = dir.File("missing.oxa");
  orxtest::MakeFile(file, 10);
  VolumeList named{file};
  named.insert(named.end(), expected.begin(), expected.end());
  named.push_back(missing);
  EXPECT_EQ(WithFoldersOpened({file, folder, missing}), named);
  EXPECT_EQ(WithFoldersOpened({folder + "/sub.oxa"}), VolumeList{folder + "/sub.oxa/inner.oxa"});
}

}  // namespace
