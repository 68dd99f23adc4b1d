// Entering and leaving edit boxes: the user's moves count, a popup, the menu bar, another window
// and the program's own moves do not.
#include "ui/leave_watch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace zorvik {
namespace {

// A window with two watched boxes and a button; what the watch reported, in order.
class LeaveWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    first_ = new QLineEdit(QStringLiteral("600"), &window_);
    second_ = new QLineEdit(QStringLiteral("35"), &window_);
    button_ = new QPushButton(QStringLiteral("閉じる"), &window_);
    for (QWidget* w : {static_cast<QWidget*>(first_), static_cast<QWidget*>(second_), static_cast<QWidget*>(button_)}) {
      layout->addWidget(w);
    }
    watch_ = new LeaveWatch(&window_);
    for (auto [box, name] : {std::pair{first_, "first"}, std::pair{second_, "second"}}) {
      const QString n = QString::fromLatin1(name);
      watch_->Watch(
          box, [this, n, box] { seen_ << QStringLiteral("leave %1%2").arg(n, box->hasSelectedText() ? "*" : ""); },
          [this, n] { seen_ << QStringLiteral("enter %1").arg(n); });
    }
    window_.show();
    QApplication::setActiveWindow(&window_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    first_->setFocus(Qt::OtherFocusReason);
    seen_.clear();
  }

  static void Send(QWidget* box, QEvent::Type type, Qt::FocusReason reason) {
    QFocusEvent event(type, reason);
    QApplication::sendEvent(box, &event);
  }

  QWidget window_;
  QLineEdit* first_ = nullptr;
  QLineEdit* second_ = nullptr;
  QPushButton* button_ = nullptr;
  LeaveWatch* watch_ = nullptr;
  QStringList seen_;
};

TEST_F(LeaveWatchTest, TabLeavesOneBoxAndEntersTheNext) {
  QTest::keyClick(first_, Qt::Key_Tab);
  QTest::keyClick(second_, Qt::Key_Tab);  // onto the button, which is not watched
  EXPECT_EQ(seen_, QStringList({"leave first", "enter second", "leave second"}));
  QTest::mouseClick(first_, Qt::LeftButton);
  EXPECT_EQ(seen_.last(), QStringLiteral("enter first"));
}

// The box takes its event before the handler runs: leaving has already dropped the selection.
TEST_F(LeaveWatchTest, TheBoxHandlesTheEventFirst) {
  first_->selectAll();
  ASSERT_TRUE(first_->hasSelectedText());
  second_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(seen_.value(0), QStringLiteral("leave first"));
}

TEST_F(LeaveWatchTest, PopupsMenusAndOtherWindowsNeitherLeaveNorEnter) {
  const Qt::FocusReason notMoves[] = {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason, Qt::MenuBarFocusReason};
  for (const Qt::FocusReason reason : notMoves) {
    Send(first_, QEvent::FocusOut, reason);
    Send(first_, QEvent::FocusIn, reason);
    EXPECT_FALSE(LeaveWatch::IsUsersMove(reason)) << reason;
  }
  EXPECT_TRUE(seen_.isEmpty()) << seen_.join(QLatin1Char(',')).toStdString();
  const Qt::FocusReason moves[] = {Qt::MouseFocusReason, Qt::TabFocusReason, Qt::BacktabFocusReason,
                                   Qt::ShortcutFocusReason, Qt::OtherFocusReason};
  for (const Qt::FocusReason reason : moves) EXPECT_TRUE(LeaveWatch::IsUsersMove(reason)) << reason;

  // Another window of the program taking the focus and giving it back.
  QWidget other;
  auto* otherBox = new QLineEdit(&other);
  other.show();
  QApplication::setActiveWindow(&other);
  otherBox->setFocus();
  QApplication::setActiveWindow(&window_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  EXPECT_TRUE(seen_.isEmpty()) << seen_.join(QLatin1Char(',')).toStdString();
  EXPECT_TRUE(first_->hasFocus());
}

TEST_F(LeaveWatchTest, HoldMakesAMoveTheProgramsOwn) {
  bool holding = true;
  FocusMove asked = FocusMove::Enter;
  watch_->SetHold([&](FocusMove move, Qt::FocusReason) {
    asked = move;
    return holding;
  });
  second_->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(seen_.isEmpty());
  EXPECT_EQ(asked, FocusMove::Enter);
  holding = false;
  first_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(seen_, QStringList({"leave second", "enter first"}));
}

// A box watched for leaving only; watching again replaces the handlers; a box gone is forgotten.
TEST_F(LeaveWatchTest, HandlersCanBeReplacedAndBoxesGoAway) {
  int left = 0;
  watch_->Watch(first_, [&left] { ++left; });
  second_->setFocus(Qt::TabFocusReason);
  first_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(left, 1);
  EXPECT_EQ(seen_, QStringList({"enter second", "leave second"}));
  delete second_;
  second_ = nullptr;
  auto* again = new QLineEdit(&window_);
  again->show();
  again->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(left, 2);
}

}  // namespace
}  // namespace zorvik
