// Opening an export checks it against its SHA256SUMS off the window's
// thread: a file changed or missing is named in a notice and the archive
// stays open; when all match, the status bar says so quietly.

#include <gtest/gtest.h>

#include <QAction>
#include <QStatusBar>
#include <QTest>

#include <filesystem>

#include "export/ChecksumManifest.h"
#include "main/MainForm.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

enum class Change { None, FlipByte, Remove };

struct Opening {
  const char* name;
  bool openFile;  // a volume of the folder rather than the folder
  Change change;  // done to b.oxa after the export
  const char* notice;
};

class ExportCheckOnOpen : public ::testing::TestWithParam<Opening> {};

TEST_P(ExportCheckOnOpen, NamesWhatDiffersOrConfirmsQuietly) {
  const Opening& o = GetParam();
  orxtest::TempDir dir;
  ScriptedPlatform platform(QString::fromStdString(dir.Path()));
  ScopedPlatform installed(platform);
  const std::string folder = dir.File("export");
  std::filesystem::create_directory(folder);
  std::vector<std::string> files;
  for (const char* name : {"a.oxa", "b.oxa"}) {
    orxtest::VolumeBuilder volume(folder + "/" + name);
    volume.Add(0, orxtest::Sec(10), 2);
    files.push_back(volume.Path());
  }
  orxtest::WriteFile(folder + "/report.html", {'<', 'p', '>'});
  files.push_back(folder + "/report.html");
  std::vector<std::string> digests;
  for (const std::string& f : files) digests.push_back(Sha256OfFile(f));
  ASSERT_TRUE(WriteManifest(folder, files, digests));
  const std::string b = folder + "/b.oxa";
  if (o.change == Change::Remove) std::filesystem::remove(b);
  if (o.change == Change::FlipByte) {
    std::vector<std::uint8_t> bytes = orxtest::ReadFileBytes(b);
    bytes.back() ^= 1;
    orxtest::WriteFile(b, bytes);
  }

  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  platform.volumeAnswers.push_back(
      QStringList{QString::fromStdString(o.openFile ? folder + "/a.oxa" : folder)});
  form.OpenItem->trigger();
  EXPECT_TRUE(form.ViewItem->isEnabled());
  const auto told = [&] {
    return !platform.notices.empty() || !form.statusBar()->currentMessage().isEmpty();
  };
  ASSERT_TRUE(QTest::qWaitFor(told, 20000));
  if (*o.notice) {
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].title, QStringLiteral("Проверка экспорта"));
    EXPECT_TRUE(platform.notices[0].text.startsWith(QString::fromUtf8(o.notice)))
        << platform.notices[0].text.toStdString();
  } else {
    EXPECT_TRUE(platform.notices.empty());
    EXPECT_EQ(form.statusBar()->currentMessage(),
              QStringLiteral("Экспорт проверен по SHA256SUMS: изменённых файлов нет (проверено: 3)"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportCheckOnOpen,
    ::testing::Values(Opening{"FolderAllMatch", false, Change::None, ""},
                      Opening{"VolumeOfFolderAllMatch", true, Change::None, ""},
                      Opening{"ChangedByte", true, Change::FlipByte,
                              "Файл изменён после экспорта: b.oxa\n\nПапка экспорта: "},
                      Opening{"MissingFile", false, Change::Remove,
                              "Файл изменён после экспорта: b.oxa (его нет в папке)\n\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
