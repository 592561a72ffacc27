// The main window: opening from the menu and from the command line, the
// titles, the placement kept in OrxViewer.cfg.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include "main/MainForm.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/archive/support/VolumeBuilder.h"
#include "view/LayoutFile.h"

namespace {

// Stands in for the playback window: closes itself as soon as it is shown
// and remembers what the main window looked like meanwhile.
class ClosingDialog : public QDialog {
 public:
  int showings = 0;
  QString titleWhileShown;
  TMainForm* owner = nullptr;

 protected:
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    ++showings;
    if (owner) titleWhileShown = owner->windowTitle();
    QTimer::singleShot(0, this, &QDialog::accept);
  }
};

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest()
      : platform(QString::fromStdString(dir.Path())), installed(platform) {}

  std::string MakeVolume(const std::string& name, double firstSecond = 10) {
    orxtest::VolumeBuilder volume(dir.File(name));
    volume.Add(0, orxtest::Sec(firstSecond), 2);
    return volume.Path();
  }
  QString CfgPath() const { return QString::fromStdString(dir.File("OrxViewer.cfg")); }
  QString LayoutPath() const { return QString::fromStdString(dir.File("OrxCamVis.cfg")); }

  orxtest::TempDir dir;
  ScriptedPlatform platform;
  ScopedPlatform installed;
};

}  // namespace

using MainOpen = MainFormTest;
using MainOpenFolder = MainFormTest;
using MainCommandLine = MainFormTest;
using MainPlacement = MainFormTest;
using MainClose = MainFormTest;
using MainLayouts = MainFormTest;

namespace {

CameraLayout Plain(const QString& name) {
  CameraLayout layout;
  layout.SetNameText(name);
  for (int i = 0; i < CellCount; ++i) {
    layout.Column[i] = i % 4;
    layout.Row[i] = i / 4;
    layout.WidthSpan[i] = layout.HeightSpan[i] = 1;
    layout.Visible[i] = i < 16;
  }
  return layout;
}

}  // namespace

TEST_F(MainOpen, ChosenVolumeEnablesViewAndTitleShowsThePath) {
  const QString path = QString::fromStdString(MakeVolume("first.oxa"));
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  platform.volumeAnswers.push_back(QStringList{path});
  form.OpenItem->trigger();
  EXPECT_EQ(platform.volumeCalls, 1);
  EXPECT_TRUE(form.ViewItem->isEnabled());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer  - ") + path);
  EXPECT_FALSE(form.Reader()->IsOpen());
  ASSERT_EQ(form.Volumes()->size(), 1u);
  EXPECT_EQ(form.Volumes()->front(), path.toStdString());
}

TEST_F(MainOpen, CancelOrAnEmptyNameKeepsTheArchiveThatWasOpen) {
  const QString path = QString::fromStdString(MakeVolume("first.oxa"));
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  platform.volumeAnswers.push_back(QStringList{path});
  form.OpenItem->trigger();
  for (const std::optional<QStringList>& answer :
       {std::optional<QStringList>(), std::optional<QStringList>(QStringList{QString()})}) {
    platform.volumeAnswers.push_back(answer);
    form.OpenItem->trigger();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer  - ") + path);
    EXPECT_TRUE(form.ViewItem->isEnabled());
    EXPECT_FALSE(form.Reader()->IsOpen());
    ASSERT_EQ(form.Volumes()->size(), 1u);
    EXPECT_EQ(form.Volumes()->front(), path.toStdString());
  }
  EXPECT_TRUE(platform.warnings.empty());
}

// ---- files that are not volumes --------------------------------------------

struct BadFile {
  const char* label;
  // Makes the file (or folder) in dir; its name.
  std::string (*make)(const orxtest::TempDir& dir);
  const char* reason;
};
void PrintTo(const BadFile& c, std::ostream* os) { *os << c.label; }

class MainOpenBadFile : public MainFormTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(MainOpenBadFile, AloneItIsNamedOnceAndTheArchiveStaysAmongVolumesOnlyInTheStatus) {
  const std::string bad = GetParam().make(dir);
  if (std::string(GetParam().reason) == "нет доступа" && geteuid() == 0)
    GTEST_SKIP() << "the superuser reads any file";
  const QString badName = QString::fromStdString(bad);
  const QString reason = QString::fromUtf8(GetParam().reason);
  const QString path = QString::fromStdString(MakeVolume("first.oxa"));
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  platform.volumeAnswers.push_back(QStringList{path});
  form.OpenItem->trigger();

  platform.volumeAnswers.push_back(QStringList{badName});
  form.OpenItem->trigger();
  ASSERT_EQ(platform.warnings.size(), 1u);
  EXPECT_TRUE(platform.warnings[0].text.contains(badName + QStringLiteral(" — ") + reason))
      << platform.warnings[0].text.toStdString();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer  - ") + path);
  EXPECT_TRUE(form.ViewItem->isEnabled());
  EXPECT_EQ(*form.Volumes(), VolumeList{path.toStdString()});

  // Beside a volume: opened without a box, named in the status.
  platform.volumeAnswers.push_back(QStringList{badName, path});
  form.OpenItem->trigger();
  EXPECT_EQ(platform.warnings.size(), 1u);
  EXPECT_TRUE(form.ViewItem->isEnabled());
  EXPECT_EQ(form.windowTitle().left(14), QStringLiteral("Orx Viewer  - "));
  EXPECT_EQ(form.statusBar()->currentMessage(),
            QStringLiteral("Не открыты: ") + QFileInfo(badName).fileName() + QStringLiteral(" (") +
                reason + QLatin1Char(')'));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MainOpenBadFile,
    ::testing::Values(
        BadFile{"Text",
                [](const orxtest::TempDir& d) {
                  orxtest::WriteFile(d.File("notes.txt"), {'n', 'o', 't', 'e', 's', '\n'});
                  return d.File("notes.txt");
                },
                "не является томом архива"},
        BadFile{"Picture",
                [](const orxtest::TempDir& d) {
                  orxtest::WriteFile(d.File("still.jpg"), orxtest::FramePayload(4096, 3));
                  return d.File("still.jpg");
                },
                "не является томом архива"},
        BadFile{"Empty",
                [](const orxtest::TempDir& d) {
                  orxtest::MakeFile(d.File("empty.oxa"), 0);
                  return d.File("empty.oxa");
                },
                "пустой файл"},
        BadFile{"Unreadable",
                [](const orxtest::TempDir& d) {
                  orxtest::MakeFile(d.File("locked.oxa"), 4096);
                  chmod(d.File("locked.oxa").c_str(), 0);
                  return d.File("locked.oxa");
                },
                "нет доступа"},
        BadFile{"Missing", [](const orxtest::TempDir& d) { return d.File("missing.oxa"); },
                "файл не найден"},
        BadFile{"FolderWithoutVolumes",
                [](const orxtest::TempDir& d) {
                  QDir().mkpath(QString::fromStdString(d.File("none")));
                  orxtest::MakeFile(d.File("none/day.bak"), 4096);
                  return d.File("none");
                },
                "в папке нет томов архива"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.label); });

TEST_F(MainOpen, SeveralBadFilesAreNamedInOneMessage) {
  orxtest::MakeFile(dir.File("a.oxa"), 0);
  orxtest::MakeFile(dir.File("b.oxa"), 64, 0x5A);
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  platform.volumeAnswers.push_back(QStringList{QString::fromStdString(dir.File("a.oxa")),
                                               QString::fromStdString(dir.File("b.oxa"))});
  form.OpenItem->trigger();
  ASSERT_EQ(platform.warnings.size(), 1u);
  const QStringList lines = platform.warnings[0].text.split(QLatin1Char('\n'));
  EXPECT_TRUE(lines.contains(QString::fromStdString(dir.File("a.oxa")) + " — пустой файл"));
  EXPECT_TRUE(
      lines.contains(QString::fromStdString(dir.File("b.oxa")) + " — не является томом архива"));
  EXPECT_TRUE(form.ViewItem->isEnabled());  // enabled at start, and nothing replaced it
}

TEST_F(MainOpen, ViewShowsThePlaybackWindowModally) {
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  ClosingDialog view;
  form.SetArchView(&view);
  EXPECT_TRUE(form.ViewItem->isEnabled());  // enabled at start
  form.ViewItem->trigger();
  EXPECT_EQ(view.showings, 1);
}

TEST_F(MainCommandLine, QuotedPathWithBlanksIsShownThenTitledInQuotes) {
  QDir(QString::fromStdString(dir.Path())).mkdir(QStringLiteral("my archive"));
  const QString path = QString::fromStdString(MakeVolume("my archive/day one.oxa"));
  TMainForm form(QStringList{QStringLiteral("/opt/Orx Viewer/orxviewer"), path});
  ClosingDialog view;
  view.owner = &form;
  form.SetArchView(&view);
  form.show();
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_EQ(view.showings, 1);
  EXPECT_EQ(view.titleWhileShown, QStringLiteral("Orx Viewer"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer  - \"") + path + QLatin1Char('"'));
  EXPECT_TRUE(form.ViewItem->isEnabled());
  EXPECT_FALSE(form.Reader()->IsOpen());
  ASSERT_EQ(form.Volumes()->size(), 1u);
  EXPECT_EQ(form.Volumes()->front(), path.toStdString());
  // Showing the window again does not open the volume again.
  form.hide();
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(view.showings, 1);
}

TEST_F(MainCommandLine, BlanksAroundThePathAreDropped) {
  const QString path = QString::fromStdString(MakeVolume("day.oxa"));
  TMainForm form(QStringList{QStringLiteral("orxviewer"), QStringLiteral("  ") + path + ' '});
  ClosingDialog view;
  form.SetArchView(&view);
  form.show();
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_EQ(view.showings, 1);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer  - \"") + path + QLatin1Char('"'));
  ASSERT_EQ(form.Volumes()->size(), 1u);
  EXPECT_EQ(form.Volumes()->front(), path.toStdString());
}

TEST_F(MainCommandLine, NoArgumentShowsTheMainWindowOnly) {
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  ClosingDialog view;
  form.SetArchView(&view);
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(view.showings, 0);
  EXPECT_TRUE(form.ViewItem->isEnabled());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer"));
}

TEST_F(MainCommandLine, FileThatIsNoVolumeIsNamedAndNotShown) {
  const QString missing = QString::fromStdString(dir.File("missing.oxa"));
  TMainForm form(QStringList{QStringLiteral("orxviewer"), missing});
  ClosingDialog view;
  form.SetArchView(&view);
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(view.showings, 0);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer"));
  ASSERT_EQ(platform.warnings.size(), 1u);
  EXPECT_TRUE(platform.warnings[0].text.contains(missing + QStringLiteral(" — файл не найден")));
}

TEST_F(MainPlacement, FirstStartPlacesAt00With640x480) {
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  EXPECT_EQ(form.pos(), QPoint(0, 0));
  EXPECT_EQ(form.size(), QSize(640, 480));
}

TEST_F(MainPlacement, PlacementWrittenAtClosingIsRestoredAtTheNextStart) {
  {
    TMainForm form(QStringList{QStringLiteral("orxviewer")});
    form.show();
    QApplication::processEvents();
    form.move(120, 80);
    form.resize(700, 520);
    QApplication::processEvents();
    form.ExitItem->trigger();
    QApplication::processEvents();
  }
  {
    const QSettings cfg(CfgPath(), QSettings::IniFormat);
    EXPECT_EQ(cfg.value(QStringLiteral("MainForm/Left")).toInt(), 120);
    EXPECT_EQ(cfg.value(QStringLiteral("MainForm/Top")).toInt(), 80);
    EXPECT_EQ(cfg.value(QStringLiteral("MainForm/Width")).toInt(), 700);
    EXPECT_EQ(cfg.value(QStringLiteral("MainForm/Height")).toInt(), 520);
  }
  TMainForm again(QStringList{QStringLiteral("orxviewer")});
  EXPECT_EQ(again.pos(), QPoint(120, 80));
  EXPECT_EQ(again.size(), QSize(700, 520));
}

TEST_F(MainPlacement, MissingKeysAndUnreadableValuesTakeTheDefaults) {
  QFile file(CfgPath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[MainForm]\nLeft=33\nWidth=abc\n\n[ArchView]\nTop=7\n");
  file.close();
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  EXPECT_EQ(form.pos(), QPoint(33, 0));
  EXPECT_EQ(form.size(), QSize(640, 480));
  form.FormClose();
  // The playback window's section stays as it was.
  const QSettings cfg(CfgPath(), QSettings::IniFormat);
  EXPECT_EQ(cfg.value(QStringLiteral("ArchView/Top")).toInt(), 7);
}

TEST_F(MainClose, ClosingReleasesTheSharedObjects) {
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  form.show();
  form.close();
  EXPECT_EQ(form.Reader(), nullptr);
  EXPECT_EQ(form.Volumes(), nullptr);
  EXPECT_EQ(form.Layouts(), nullptr);
  form.FormClose();  // a second closing does nothing
}

// ---- several volumes and folders ------------------------------------------

struct Naming {
  const char* label;
  bool commandLine;  // else the open dialog
  bool folder;       // the folder, else its files one by one
};
void PrintTo(const Naming& c, std::ostream* os) { *os << c.label; }

class MainOpenSeveral : public MainFormTest, public ::testing::WithParamInterface<Naming> {};

TEST_P(MainOpenSeveral, ListHoldsEveryVolumeByFirstRecordAndTitleNamesTheFirst) {
  QDir(QString::fromStdString(dir.Path())).mkpath(QStringLiteral("arch/sub.oxa"));
  const std::string late = MakeVolume("arch/c.oxa", 30);
  const std::string tieB = MakeVolume("arch/b.OXA", 10);
  const std::string tieA = MakeVolume("arch/a.oxa", 10);
  const std::string junk = dir.File("arch/junk.oxa");
  orxtest::MakeFile(junk, 4096, 0x5A);
  // Neither an other suffix nor a subfolder belongs to the folder's archive.
  MakeVolume("arch/notes.txt", 1);
  MakeVolume("arch/sub.oxa/d.oxa", 1);
  const QString folder = QString::fromStdString(dir.File("arch"));
  QStringList names{folder};
  if (!GetParam().folder)
    for (const std::string& file : {late, junk, tieB, tieA}) names << QString::fromStdString(file);

  TMainForm form(GetParam().commandLine ? QStringList{QStringLiteral("orxviewer")} + names
                                        : QStringList{QStringLiteral("orxviewer")});
  ClosingDialog view;
  form.SetArchView(&view);
  if (GetParam().commandLine) {
    form.show();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(view.showings, 1);
  } else {
    platform.volumeAnswers.push_back(names);
    form.OpenItem->trigger();
    EXPECT_EQ(view.showings, 0);
  }
  // Equal first times go by name; a file that is no volume is left out and
  // named in the status.
  const VolumeList expected{dir.File("arch/a.oxa"), dir.File("arch/b.OXA"), late};
  EXPECT_EQ(*form.Volumes(), expected);
  const QString first = QString::fromStdString(expected.front());
  EXPECT_EQ(form.windowTitle(),
            GetParam().commandLine ? QStringLiteral("Orx Viewer  - \"") + first + "\" (+2)"
                                   : QStringLiteral("Orx Viewer  - ") + first + " (+2)");
  EXPECT_EQ(form.statusBar()->currentMessage(),
            QStringLiteral("Не открыты: junk.oxa (не является томом архива)"));
  EXPECT_TRUE(form.ViewItem->isEnabled());
  EXPECT_FALSE(form.Reader()->IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    HowNamed, MainOpenSeveral,
    ::testing::Values(Naming{"DialogFiles", false, false}, Naming{"DialogFolder", false, true},
                      Naming{"CommandLineFiles", true, false},
                      Naming{"CommandLineFolder", true, true}),
    [](const ::testing::TestParamInfo<Naming>& info) { return std::string(info.param.label); });

TEST_F(MainOpenFolder, OneVolumeIsTitledAlone) {
  QDir(QString::fromStdString(dir.Path())).mkpath(QStringLiteral("one"));
  const QString only = QString::fromStdString(MakeVolume("one/day.oxa"));
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  platform.volumeAnswers.push_back(QStringList{QString::fromStdString(dir.File("one"))});
  form.OpenItem->trigger();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Orx Viewer  - ") + only);
  EXPECT_TRUE(form.ViewItem->isEnabled());
  EXPECT_TRUE(platform.warnings.empty());
}

TEST_F(MainLayouts, ReadAtCreationAndWrittenWithoutTheTrailingPieceAtClose) {
  const QByteArray two =
      LayoutsToBytes({Plain(QStringLiteral("Вход")), Plain(QStringLiteral("Склад"))});
  {
    QFile file(LayoutPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(two + QByteArray(28, '\x55'));  // 1300 bytes
  }
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  ASSERT_EQ(form.Layouts()->size(), 2u);
  EXPECT_EQ(form.Layouts()->at(1).NameText(), QStringLiteral("Склад"));
  form.close();
  QFile file(LayoutPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), two);  // 1272 bytes
}

TEST_F(MainLayouts, WrittenAtCloseAlsoWhenThereAreNone) {
  TMainForm form(QStringList{QStringLiteral("orxviewer")});
  EXPECT_TRUE(form.Layouts()->empty());
  form.close();
  EXPECT_TRUE(QFile::exists(LayoutPath()));
  EXPECT_EQ(QFile(LayoutPath()).size(), 0);
}

TEST(MainConfigFolder, BesideTheExecutableWhenWritableOtherwiseTheUsersFolder) {
  QTemporaryDir tmp;
  const QString user = tmp.filePath(QStringLiteral("config/Orx Viewer"));
  EXPECT_EQ(ChooseConfigDirectory(tmp.path(), user), tmp.path());
  EXPECT_FALSE(QDir(user).exists());
  // A folder the program may not write to: one that is not there, and one
  // without write permission (which binds everyone but the superuser).
  EXPECT_EQ(ChooseConfigDirectory(tmp.filePath(QStringLiteral("missing")), user), user);
  EXPECT_TRUE(QDir(user).exists());
  if (geteuid() != 0) {
    const QString locked = tmp.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_EQ(chmod(QFile::encodeName(locked).constData(), 0555), 0);
    EXPECT_EQ(ChooseConfigDirectory(locked, user), user);
    chmod(QFile::encodeName(locked).constData(), 0755);
  }
}
