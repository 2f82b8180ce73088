#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "announcements/owner_file.hpp"
#include "tests/ui/qt_app.hpp"
#include "ui/customer_dlg.hpp"

namespace zta::ui {
namespace {

class CustomerDlgTest : public ::testing::Test {
 protected:
  void open() {
    test::qt_app();
    dlg = std::make_unique<customer_dlg>(
        owner, [this](QWidget*, box_kind, const QString& caption, const QString& text) {
          boxes.push_back(caption + ": " + text);
          return box_answer::ok;
        });
    dlg->show();
  }
  QLineEdit* edit(int id) const { return static_cast<QLineEdit*>(dlg->control(id)); }
  void type(int id, const QString& text) const {
    edit(id)->selectAll();
    QTest::keyClick(edit(id), Qt::Key_Delete);
    QTest::keyClicks(edit(id), text);
  }

  owner_block owner;
  std::unique_ptr<customer_dlg> dlg;
  std::vector<QString> boxes;
};

TEST_F(CustomerDlgTest, ShowsTheOwnerBlockAndStoresANumberAndText) {
  owner.set_customer_number(12);
  set_owner_text(owner, "Old Name");
  open();
  EXPECT_EQ(dlg->windowTitle(), "Customer");
  EXPECT_EQ(edit(customer_number)->text(), "12");
  EXPECT_EQ(edit(customer_text)->text(), "Old Name");
  type(customer_number, "2147483647");
  type(customer_text, "Deli Counter");
  QTest::mouseClick(dlg->control(customer_ok), Qt::LeftButton);
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(owner.customer_number(), 2147483647);
  EXPECT_EQ(owner_text(owner), "Deli Counter");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(CustomerDlgTest, ANumberThatIsNotOneIsRefusedAndNothingChanges) {
  owner.set_customer_number(12);
  const owner_block before = owner;
  for (const char* typed : {"-1", "abc", "", "2147483648", "4 711"}) {
    boxes.clear();
    open();
    type(customer_number, typed);
    type(customer_text, "New");
    QTest::mouseClick(dlg->control(customer_ok), Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible()) << typed;
    ASSERT_EQ(boxes.size(), 1u) << typed;
    EXPECT_EQ(boxes[0], QString("Customer: ") + customer_number_error_text);
    EXPECT_EQ(owner, before) << typed;
  }
  open();
  type(customer_number, "99");
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(owner, before);
}

TEST_F(CustomerDlgTest, AnUntouchedTextKeepsItsStoredBytes) {
  set_owner_text(owner, "Caf\xe9 Central");  // not UTF-8, carried from an older system
  const owner_block before = owner;
  open();
  EXPECT_EQ(edit(customer_text)->text(), QString::fromUtf8("Caf\xc3\xa9 Central"));
  QTest::mouseClick(dlg->control(customer_ok), Qt::LeftButton);
  EXPECT_EQ(owner, before);
}

}  // namespace
}  // namespace zta::ui
