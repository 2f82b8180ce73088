#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "tests/ui/qt_app.hpp"
#include "ui/mes_list.hpp"

namespace zta::ui {
namespace {

TEST(MesListMenu, EntriesIdsAndTextsInOrder) {
  const std::vector<std::pair<int, std::string>> expected = {
      {301, "&Play Announcement"},
      {302, "Stop"},
      {0, ""},
      {303, "A&nnouncement Control"},
      {304, "&Load New Announcements"},
      {0, ""},
      {303, "&Properties"},
  };
  std::vector<std::pair<int, std::string>> got;
  for (const menu_entry& e : mes_list_menu()) got.emplace_back(e.id, e.text ? e.text : "");
  EXPECT_EQ(got, expected);

  test::qt_app();
  TMesList list;
  std::unique_ptr<QMenu> menu(list.build_menu(nullptr));
  const auto actions = menu->actions();
  ASSERT_EQ(actions.size(), 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(actions[i]->isSeparator(), expected[i].first == 0) << i;
    if (expected[i].first == 0) continue;
    EXPECT_EQ(actions[i]->text().toStdString(), expected[i].second);
    EXPECT_EQ(actions[i]->data().toInt(), expected[i].first);
  }
}

class MesListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::qt_app();
    list.addItems({"Opening hours", "Closing soon", "Special offer"});
    list.setCurrentRow(0);
    list.resize(200, 120);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  }

  // Right-clicks row `row` and, once the menu is up, clicks its action `index` (-1: Escape).
  void right_click_and_choose(int row, int index) {
    QTimer::singleShot(0, [index] { choose_when_open(index, 50); });
    const QPoint p = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, p);
  }

  static void choose_when_open(int index, int tries) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
      if (tries > 0) QTimer::singleShot(10, [=] { choose_when_open(index, tries - 1); });
      return;
    }
    if (index < 0) {
      QTest::keyClick(menu, Qt::Key_Escape);
      return;
    }
    QAction* action = menu->actions()[index];
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
  }

  TMesList list;
};

TEST_F(MesListTest, RightClickSelectsTheRowAndReportsTheChosenCommand) {
  QSignalSpy chosen(&list, &TMesList::commandChosen);
  const struct {
    int row, action, id;
  } cases[] = {{2, 0, 301}, {1, 1, 302}, {0, 3, 303}, {2, 4, 304}, {1, 6, 303}};
  for (const auto& c : cases) {
    chosen.clear();
    right_click_and_choose(c.row, c.action);
    EXPECT_EQ(list.currentRow(), c.row);
    ASSERT_EQ(chosen.count(), 1) << c.action;
    EXPECT_EQ(chosen.at(0).at(0).toInt(), c.id);
  }
}

TEST_F(MesListTest, DismissedMenuReportsNothing) {
  QSignalSpy chosen(&list, &TMesList::commandChosen);
  right_click_and_choose(1, -1);
  EXPECT_EQ(list.currentRow(), 1);
  EXPECT_EQ(chosen.count(), 0);
}

}  // namespace
}  // namespace zta::ui
