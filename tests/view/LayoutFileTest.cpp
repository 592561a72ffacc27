// OrxCamVis.cfg: which records a file yields (whole records only, damaged
// ones dropped, the rest in order) and how it is written (whole or not at
// all).

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <csignal>
#include <functional>

#include "tests/view/PlainLayout.h"
#include "view/LayoutFile.h"

namespace {


QByteArray Bytes(const LayoutList& layouts) { return LayoutsToBytes(layouts); }

LayoutList Decode(const QByteArray& bytes) {
  return LayoutsFromBytes(reinterpret_cast<const unsigned char*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size()));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(LayoutFileRead, KeepsWholeRecordsOnlyAndTheirOrder) {
  const QByteArray two =
      Bytes({PlainLayout(QStringLiteral("Вход")), PlainLayout(QStringLiteral("Склад"), 5)});
  struct Case {
    int length;
    std::size_t layouts;
  };
  for (const Case c : {Case{0, 0}, Case{635, 0}, Case{636, 1}, Case{1272, 2}, Case{1300, 2}}) {
    const LayoutList read = Decode((two + QByteArray(28, '\x7f')).left(c.length));
    ASSERT_EQ(read.size(), c.layouts) << c.length;
    if (c.layouts == 2) {
      EXPECT_EQ(read[0].NameText(), QStringLiteral("Вход"));
      EXPECT_EQ(read[1].GridSize, 5);
    }
  }
  EXPECT_TRUE(LayoutsFromBytes(nullptr, 0).empty());
}

TEST(LayoutFileRead, DamagedRecordIsDroppedAndItsNeighboursKept) {
  using Damage = std::function<void(CameraLayout&)>;
  struct Case {
    const char* what;
    Damage damage;
    bool kept;
  };
  const Case cases[] = {
      {"grid size 0", [](CameraLayout& l) { l.GridSize = 0; }, false},
      {"grid size -1", [](CameraLayout& l) { l.GridSize = -1; }, false},
      {"grid size 7", [](CameraLayout& l) { l.GridSize = 7; }, false},
      {"grid size huge", [](CameraLayout& l) { l.GridSize = INT_MAX; }, false},
      {"negative row", [](CameraLayout& l) { l.Row[20] = -1; }, false},
      {"hidden cell far away", [](CameraLayout& l) { l.Column[30] = INT_MIN; }, false},
      {"column 36", [](CameraLayout& l) { l.Column[20] = 36; }, false},
      {"zero width", [](CameraLayout& l) { l.WidthSpan[3] = 0; }, false},
      {"huge height", [](CameraLayout& l) { l.HeightSpan[35] = INT_MAX; }, false},
      {"visible cell past the grid", [](CameraLayout& l) { l.Row[15] = 3, l.HeightSpan[15] = 2; },
       false},
      {"name without a zero", [](CameraLayout& l) { l.Name.fill('A'); }, false},
      // What the window itself stores.
      {"hidden cells parked below the grid", [](CameraLayout& l) { l.Row[35] = 8; }, true},
      {"visible byte 0xFF", [](CameraLayout& l) { l.Visible[0] = 0xFF; }, true},
      {"grid size 3", [](CameraLayout& l) { l = PlainLayout(QStringLiteral("x"), 3); }, true},
      {"one cell over the whole grid",
       [](CameraLayout& l) { l.WidthSpan[0] = l.HeightSpan[0] = 4; }, true},
      {"empty name", [](CameraLayout& l) { l.Name.fill(0); }, true},
  };
  for (const Case& c : cases) {
    CameraLayout middle = PlainLayout(QStringLiteral("middle"));
    c.damage(middle);
    const LayoutList read = Decode(
        Bytes({PlainLayout(QStringLiteral("first")), middle, PlainLayout(QStringLiteral("last"))}));
    ASSERT_EQ(read.size(), c.kept ? 3u : 2u) << c.what;
    EXPECT_EQ(read.front().NameText(), QStringLiteral("first")) << c.what;
    EXPECT_EQ(read.back().NameText(), QStringLiteral("last")) << c.what;
  }
}

TEST(LayoutFileRead, StopsAtMaxLayouts) {
  const LayoutList many(MaxLayouts + 5, PlainLayout(QStringLiteral("x")));
  EXPECT_EQ(Decode(Bytes(many)).size(), MaxLayouts);
}

class LayoutFileTest : public ::testing::Test {
 protected:
  QString Path(const char* name = "OrxCamVis.cfg") const {
    return dir.filePath(QLatin1String(name));
  }
  QTemporaryDir dir;
};

TEST_F(LayoutFileTest, MissingFileOrFolderLeavesTheListAsItWas) {
  LayoutList layouts{PlainLayout(QStringLiteral("x"))};
  EXPECT_FALSE(ReadLayoutFile(Path(), layouts));
  EXPECT_FALSE(ReadLayoutFile(dir.path(), layouts));  // a folder, not a file
  EXPECT_EQ(layouts.size(), 1u);
  EXPECT_FALSE(WriteLayoutFile(Path("missing/OrxCamVis.cfg"), layouts));
}

TEST_F(LayoutFileTest, WritesEveryRecordAndAnEmptyFileForNone) {
  const LayoutList layouts{PlainLayout(QStringLiteral("Вход")),
                           PlainLayout(QStringLiteral("Склад"), 6)};
  WriteFile(Path(), QByteArray(5000, 'z'));
  ASSERT_TRUE(WriteLayoutFile(Path(), layouts));
  const QByteArray written = ReadFile(Path());
  EXPECT_EQ(written, Bytes(layouts));
  EXPECT_EQ(written.size(), 1272);
  LayoutList back;
  ASSERT_TRUE(ReadLayoutFile(Path(), back));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].NameText(), QStringLiteral("Склад"));

  ASSERT_TRUE(WriteLayoutFile(Path(), {}));
  EXPECT_TRUE(QFile::exists(Path()));
  EXPECT_EQ(QFile(Path()).size(), 0);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("OrxCamVis.cfg")});
}

TEST_F(LayoutFileTest, FailedWriteLeavesTheOldFileWhole) {
  const QByteArray old = Bytes({PlainLayout(QStringLiteral("old"))});
  WriteFile(Path(), old);
  // A file-size limit stands for a full disk: the new file cannot be
  // written past its first kilobyte.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    const LayoutList many(8, PlainLayout(QStringLiteral("new")));
    _exit(WriteLayoutFile(Path(), many) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write was reported as done";
  EXPECT_EQ(ReadFile(Path()), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("OrxCamVis.cfg")});
}
