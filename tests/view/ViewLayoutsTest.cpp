// The layout panel: storing the arrangement under a name, the refusal of a
// name already listed, applying by click and by key, deleting.

#include <QLineEdit>
#include <QToolButton>

#include "platform/scripted/ScriptedPlatform.h"
#include "tests/view/ViewRig.h"

namespace {

class ViewLayoutsTest : public ViewTest {
 protected:
  ViewLayoutsTest() : installed(platform) {}

  // Lists layouts anew, as a showing does.
  void Reshow(std::initializer_list<CameraLayout> stored) {
    layouts.assign(stored);
    view->hide();
    view->show();
    QApplication::processEvents();
  }
  void Store(const QString& name) {
    view->NewEdit->setText(name);
    view->SaveBtn->click();
  }
  void ClickEntry(int row) {
    QListWidgetItem* item = view->Configs->item(row);
    QTest::mouseClick(view->Configs->viewport(), Qt::LeftButton, {},
                      view->Configs->visualItemRect(item).center());
  }
  QStringList Names() const {
    QStringList names;
    for (int i = 0; i < view->Configs->count(); ++i) names << view->Configs->item(i)->text();
    return names;
  }
  int Selected() const { return view->Configs->SelectedRow(); }

  ScriptedPlatform platform;
  ScopedPlatform installed;
};

}  // namespace

using ViewLayoutStore = ViewLayoutsTest;
using ViewLayoutApply = ViewLayoutsTest;
using ViewLayoutDelete = ViewLayoutsTest;

TEST_F(ViewLayoutStore, WithNothingSelectedGoesFirstAndTheScreenShowsThePlainGrid) {
  Reshow({PlainLayout(QStringLiteral("Склад"))});
  SetGridArea(551, 434);
  Click(15);  // 2 x 2 in the bottom right corner
  const int changes = view->layoutChanges;
  Store(QStringLiteral("Вход"));
  EXPECT_EQ(Names(), (QStringList{QStringLiteral("Вход"), QStringLiteral("Склад")}));
  EXPECT_EQ(Selected(), -1);
  EXPECT_EQ(CurrentLayout, -1);
  EXPECT_EQ(VisibleCount(), 16);
  EXPECT_EQ(view->layoutChanges, changes);  // storing does not call it
  ASSERT_EQ(layouts.size(), 2u);
  const CameraLayout& stored = layouts[0];
  EXPECT_EQ(stored.GridSize, 4);
  EXPECT_EQ(stored.WidthSpan[15], 2);
  EXPECT_EQ(stored.Column[15], 2);
  EXPECT_EQ(stored.Visible[10], 0);
  // The name exactly as typed, in Windows-1251, then zeros.
  const std::array<char, 20> name{'\xC2', '\xF5', '\xEE', '\xE4'};
  EXPECT_EQ(stored.Name, name);

  ClickEntry(0);
  EXPECT_EQ(CurrentLayout, 0);
  EXPECT_EQ(view->CellWidthSpan[15], 2);
  EXPECT_EQ(VisibleCount(), 13);
  EXPECT_EQ(view->NewEdit->text(), QStringLiteral("Вход"));
  EXPECT_EQ(view->layoutChanges, changes + 1);
}

TEST_F(ViewLayoutStore, WithTheThirdSelectedGoesThirdAndIsSelectedAndCurrent) {
  Reshow({PlainLayout(QStringLiteral("A")), PlainLayout(QStringLiteral("B")),
          PlainLayout(QStringLiteral("C")), PlainLayout(QStringLiteral("D"))});
  ClickEntry(2);
  Click(0);
  Store(QStringLiteral("Новый"));
  EXPECT_EQ(Names(), (QStringList{"A", "B", QStringLiteral("Новый"), "C", "D"}));
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(CurrentLayout, 2);
  EXPECT_EQ(layouts[2].WidthSpan[0], 2);
  EXPECT_EQ(layouts[3].NameText(), QStringLiteral("C"));
  // The arrangement on screen stays.
  EXPECT_EQ(view->CellWidthSpan[0], 2);
}

TEST_F(ViewLayoutStore, NameListedInAnyLetterCaseIsRefusedWithTheMessage) {
  struct Case {
    const char* typed;
    bool refused;
  };
  const Case cases[] = {
      {"Вход", true},   {"ВХОД", true},     {"вход", true},
      {"ЁЛКА", true},   {"a\u4e2db", true},  // stored as a?b, which is listed
      {"вход ", false}, {"   ", false},
  };
  for (const Case& c : cases) {
    Reshow({PlainLayout(QStringLiteral("вход")), PlainLayout(QStringLiteral("ёлка")),
            PlainLayout(QStringLiteral("a?b"))});
    platform.warnings.clear();
    Store(QString::fromUtf8(c.typed));
    EXPECT_EQ(layouts.size(), c.refused ? 3u : 4u) << c.typed;
    ASSERT_EQ(platform.warnings.size(), c.refused ? 1u : 0u) << c.typed;
    if (c.refused) {
      EXPECT_EQ(platform.warnings[0].title, QStringLiteral("Ошибка"));
      EXPECT_EQ(platform.warnings[0].text, QStringLiteral("Конфигурация уже существует"));
    }
  }
  Store(QString());
  EXPECT_EQ(layouts.size(), 4u);
  EXPECT_TRUE(platform.warnings.empty());
}

TEST_F(ViewLayoutApply, FiveByFiveOverFourByFourSwitchesTheGridAndTheButtonGoesOnToSix) {
  view->SetBtn->click();  // 5
  Store(QStringLiteral("Пять"));
  view->SetBtn->click();
  view->SetBtn->click();  // 4
  ClickEntry(0);
  EXPECT_EQ(view->GridSize, 5);
  EXPECT_EQ(VisibleCount(), 25);
  view->SetBtn->click();
  EXPECT_EQ(view->GridSize, 6);
}

TEST_F(ViewLayoutApply, KeysMovingTheSelectionApplyTheLayout) {
  Reshow({PlainLayout(QStringLiteral("A")), PlainLayout(QStringLiteral("B"), 5)});
  view->Configs->setFocus();
  const int changes = view->layoutChanges;
  QTest::keyClick(view->Configs, Qt::Key_Down);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(view->NewEdit->text(), QStringLiteral("A"));
  QTest::keyClick(view->Configs, Qt::Key_Down);
  EXPECT_EQ(CurrentLayout, 1);
  EXPECT_EQ(view->GridSize, 5);
  EXPECT_EQ(view->NewEdit->text(), QStringLiteral("B"));
  QTest::keyClick(view->Configs, Qt::Key_Down);  // at the end: nothing moves
  EXPECT_EQ(view->layoutChanges, changes + 2);
  QTest::keyClick(view->Configs, Qt::Key_Home);
  EXPECT_EQ(CurrentLayout, 0);
  EXPECT_EQ(view->GridSize, 4);
}

TEST_F(ViewLayoutDelete, TheOnlyLayoutLeavesAnEmptyListNameAndThePlainGrid) {
  Reshow({PlainLayout(QStringLiteral("Пять"), 5)});
  view->DelBtn->click();  // nothing selected: nothing happens
  EXPECT_EQ(layouts.size(), 1u);
  ClickEntry(0);
  Click(0);
  const int changes = view->layoutChanges;
  view->DelBtn->click();
  EXPECT_TRUE(layouts.empty());
  EXPECT_EQ(view->Configs->count(), 0);
  EXPECT_TRUE(view->NewEdit->text().isEmpty());
  EXPECT_EQ(CurrentLayout, -1);
  EXPECT_EQ(view->GridSize, 5);
  EXPECT_EQ(VisibleCount(), 25);
  EXPECT_EQ(view->layoutChanges, changes + 1);
}

TEST_F(ViewLayoutDelete, OthersLeftSelectsAndAppliesTheFirst) {
  Reshow({PlainLayout(QStringLiteral("A")), PlainLayout(QStringLiteral("B"), 6)});
  ClickEntry(1);
  view->DelBtn->click();
  EXPECT_EQ(Names(), QStringList{"A"});
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(CurrentLayout, 0);
  EXPECT_EQ(view->GridSize, 4);
  EXPECT_TRUE(view->NewEdit->text().isEmpty());
}
