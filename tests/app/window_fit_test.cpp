// Windows fitted into a screen area smaller than they ask for: they open inside it, their bodies
// scroll, and their buttons stay in view.
#include "ui/window_fit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "app/borrowing_capacity_dlg.h"
#include "app/funding_plan_dlg.h"
#include "app/rate_scenario_dlg.h"
#include "app/repayment_schedule_dlg.h"
#include "app/zorvik_app.h"
#include "simulation/dialogs/monthly_sim_dlg.h"
#include "simulation/dialogs/sim_result_dlg.h"
#include "simulation/simulation_work.h"
#include "tests/support/private_settings.h"

namespace zorvik {
namespace {

// The window as the user sees it once shown: its frame inside `area`, and each of its buttons
// whole on the screen, inside the area and not cut by a scrolled view (a button of the scrolling
// body once scrolled to, as moving the focus to it does).
void ExpectShownInside(QWidget& window, const QRect& area) {
  window.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(area.contains(window.frameGeometry()))
      << window.frameGeometry().x() << "," << window.frameGeometry().y() << " " << window.frameGeometry().width() << "x"
      << window.frameGeometry().height();
  const QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
  ASSERT_FALSE(buttons.isEmpty());
  for (QPushButton* button : buttons) {
    if (!button->isVisibleTo(&window)) continue;
    auto* scroll = window.findChild<FittingScrollArea*>();
    if (scroll != nullptr && scroll->widget() != nullptr && scroll->widget()->isAncestorOf(button)) {
      scroll->ensureWidgetVisible(button, 0, 0);
      QCoreApplication::processEvents();
    }
    const QRect onScreen(button->mapToGlobal(QPoint()), button->size());
    EXPECT_TRUE(area.contains(onScreen)) << button->text().toStdString();
    EXPECT_EQ(button->visibleRegion(), QRegion(button->rect())) << button->text().toStdString();
  }
}

TEST(WindowFitTest, LargeBodyScrollsWhileTheButtonsStayInTheArea) {
  QDialog dialog;
  auto* body = new QWidget;
  body->setMinimumSize(1200, 900);
  auto* layout = new QVBoxLayout(&dialog);
  FittingScrollArea* scroll = ScrollingBody(body, &dialog);
  layout->addWidget(scroll, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
  buttons->addWidget(new QPushButton(QStringLiteral("閉じる"), &dialog));
  layout->addLayout(buttons);
  // The scroll area asks for its whole contents, not for a few lines of text.
  EXPECT_GE(scroll->sizeHint().width(), 1200);
  EXPECT_GE(scroll->sizeHint().height(), 900);

  // Areas with an odd origin, smaller than the dialog both ways and one way only.
  for (const QRect& area : {QRect(37, 25, 500, 320), QRect(0, 0, 1400, 400), QRect(-300, 10, 420, 1200)}) {
    SCOPED_TRACE(::testing::Message() << area.x() << "," << area.y() << " " << area.width() << "x" << area.height());
    dialog.hide();
    FitIntoArea(dialog, area);
    ExpectShownInside(dialog, area);
    EXPECT_LE(dialog.width(), area.width());
    // What does not fit scrolls.
    EXPECT_EQ(scroll->verticalScrollBar()->maximum() > 0, dialog.height() < 900);
  }
}

TEST(WindowFitTest, WindowThatFitsKeepsItsSizeAndIsCentredOnItsParent) {
  QWidget parent;
  parent.setGeometry(200, 150, 600, 400);
  parent.show();
  QDialog dialog(&parent);
  auto* layout = new QVBoxLayout(&dialog);
  auto* body = new QWidget;
  body->setMinimumSize(300, 200);
  layout->addWidget(ScrollingBody(body, &dialog));
  layout->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
  const QSize natural = dialog.sizeHint();
  FitIntoArea(dialog, QRect(0, 0, 1366, 768));
  EXPECT_EQ(dialog.size(), natural);
  dialog.show();
  QCoreApplication::processEvents();
  EXPECT_LE((dialog.frameGeometry().center() - parent.frameGeometry().center()).manhattanLength(), 40);

  // A parent at the edge of the area: the dialog moves in rather than overhang.
  parent.move(1200, 700);
  dialog.hide();
  FitIntoArea(dialog, QRect(0, 0, 1366, 768));
  ExpectShownInside(dialog, QRect(0, 0, 1366, 768));
}

class RealWindowsFitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    KeepSettingsIn(dir_);
    app_.setProgramDirectory(dir_.path());
    form_ = std::make_unique<CFundingPlanDlg>(app_);
    form_->setSaveSettingsOnDestroy(false);
  }

  QTemporaryDir dir_;
  CZorvikApp app_;
  std::unique_ptr<CFundingPlanDlg> form_;
};

// A laptop screen of 1366 x 768 at 150 %: about 910 x 512, less a task bar; and smaller still, as
// long as a row of buttons fits across.
TEST_F(RealWindowsFitTest, EveryWindowOpensInsideASmallScreenWithItsButtonsInView) {
  const std::function<std::unique_ptr<QWidget>()> windows[] = {
      [this] { return std::make_unique<CBorrowingCapacityDlg>(*form_); },
      [this] { return std::make_unique<CRepaymentScheduleDlg>(form_->plan(), dir_.path(), form_.get()); },
      [this] { return std::make_unique<CRateScenarioDlg>(form_->plan(), dir_.path(), form_.get()); },
      [this] { return std::make_unique<CMonthlySimDlg>(MakeSimulationWork(form_->plan()), form_.get()); },
      [this] { return std::make_unique<CSimResultDlg>(SimResultValues{}, form_.get()); },
  };
  form_->show();
  for (const QRect& area : {QRect(0, 0, 910, 480), QRect(20, 30, 560, 360)}) {
    for (const auto& make : windows) {
      const std::unique_ptr<QWidget> window = make();
      SCOPED_TRACE(window->metaObject()->className());
      FitIntoArea(*window, area);
      ExpectShownInside(*window, area);
      // Cut short in height only, a body scrolls up and down, not sideways as well.
      auto* scroll = window->findChild<FittingScrollArea*>();
      ASSERT_NE(scroll, nullptr);
      if (scroll->widget()->minimumSizeHint().width() + 40 < window->width()) {
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0)
            << scroll->viewport()->width() << " for " << scroll->widget()->minimumSizeHint().width();
      }
    }
  }
}

// The main form keeps the sheet's size and scrolls it in a window made to fit; it never grows
// beyond the sheet.
TEST_F(RealWindowsFitTest, MainFormScrollsItsSheetInASmallArea) {
  const QSize natural = form_->size();
  EXPECT_EQ(form_->maximumSize(), form_->sizeHint());
  const QRect area(0, 0, 500, 300);
  FitIntoArea(*form_, area);
  form_->show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(area.contains(form_->frameGeometry()));
  auto* scroll = form_->findChild<FittingScrollArea*>();
  ASSERT_NE(scroll, nullptr);
  const QWidget* sheet = scroll->widget();
  EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), sheet->width() - scroll->viewport()->width());
  EXPECT_EQ(scroll->verticalScrollBar()->maximum(), sheet->height() - scroll->viewport()->height());
  EXPECT_GT(natural.width(), form_->width());
}

}  // namespace
}  // namespace zorvik
