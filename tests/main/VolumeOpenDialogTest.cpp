// The main window's open dialog, with Qt's real widgets: several names, a
// name that does not exist yet, the whole folder, folders entered; and the
// standard buttons in Russian.

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "platform/qt/VolumeOpenDialog.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

struct Typed {
  const char* label;
  QString text;
  QStringList chosen;  // names in the folder; empty: not accepted
  QString entered;     // the folder in view afterwards, relative
};
void PrintTo(const Typed& c, std::ostream* os) { *os << c.label; }

class VolumeOpenDialogTest : public ::testing::TestWithParam<Typed> {
 protected:
  VolumeOpenDialogTest() {
    // The dialog keeps its history in the user's settings; not those of
    // whoever runs the tests.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + "/settings");
    QDir(root).mkpath(QStringLiteral("sub"));
    orxtest::VolumeBuilder(dir.File("a.oxa")).Add(0, orxtest::Sec(1));
    dialog.setDirectory(root);
  }
  QString In(const QString& name) const { return root + QLatin1Char('/') + name; }

  orxtest::TempDir dir;
  const QString root = QString::fromStdString(dir.Path());
  VolumeOpenDialog dialog;
};

TEST_P(VolumeOpenDialogTest, TypedNamesAreTakenAndAFolderIsEntered) {
  dialog.NameEdit()->setText(GetParam().text);
  ASSERT_TRUE(dialog.OpenButton()->isEnabled());
  dialog.OpenButton()->click();
  QStringList expected;
  for (const QString& name : GetParam().chosen) expected << In(name);
  EXPECT_EQ(dialog.result(), expected.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
  EXPECT_EQ(dialog.Chosen(), expected);
  EXPECT_EQ(dialog.directory().absolutePath(), QDir::cleanPath(In(GetParam().entered)));
}

INSTANTIATE_TEST_SUITE_P(
    Names, VolumeOpenDialogTest,
    ::testing::Values(Typed{"NameNotYetThere", "new.oxa", {"new.oxa"}, ""},
                      Typed{"SeveralInQuotes", "\"a.oxa\" \"new.oxa\"", {"a.oxa", "new.oxa"}, ""},
                      Typed{"Folder", "sub", {}, "sub"}),
    [](const ::testing::TestParamInfo<Typed>& info) { return std::string(info.param.label); });

TEST_F(VolumeOpenDialogTest, FolderButtonTakesTheFolderInView) {
  dialog.setDirectory(In("sub"));
  dialog.FolderButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Chosen(), QStringList{In("sub")});
}

TEST_F(VolumeOpenDialogTest, StandardButtonsSpeakRussian) {
  const auto* buttons = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  EXPECT_EQ(dialog.OpenButton()->text(), QStringLiteral("&Открыть"));
  EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
}

}  // namespace
