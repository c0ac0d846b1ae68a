#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>

#include "ActiveWindow.h"
#include "platform/Dialogs.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"
#include "support/QtPrinters.h"

using namespace cps;

namespace {

// The transmit time-out field: 10 to 600 in steps of 10, shown in its box.
struct TimeOutField {
  explicit TimeOutField(QWidget* parent = nullptr) : box(parent), spin(parent) {
    spin.SetMin(10);
    spin.SetMax(600);
    spin.SetIncrement(10);
    spin.SetBuddy(&box);
    spin.move(100, 0);
    QObject::connect(&box, &TextBox::Change, [this] { events << "box " + box.Text(); });
    QObject::connect(&spin, &UpDown::Change,
                     [this] { events << QString("spin %1").arg(spin.Value()); });
    QObject::connect(&spin, &UpDown::MouseDown, [this](int button, int, double, double) {
      events << QString("down %1").arg(button);
    });
  }

  QToolButton* Arrow(Qt::ArrowType arrow) {
    for (QToolButton* button : spin.findChildren<QToolButton*>()) {
      if (button->arrowType() == arrow) return button;
    }
    return nullptr;
  }

  TextBox box;
  UpDown spin;
  QStringList events;
};

}  // namespace

TEST(UpDown, ValueChangeRewritesBuddyThenRaisesChange) {
  TimeOutField field;
  EXPECT_TRUE(field.spin.SetValue(180));
  EXPECT_EQ(field.box.Text(), "180");
  EXPECT_EQ(field.events, (QStringList{"box 180", "spin 180"}));

  field.events.clear();
  EXPECT_TRUE(field.spin.SetValue(180));  // the same value: nothing
  EXPECT_TRUE(field.events.isEmpty());
}

TEST(UpDown, RefusesValuesOutsideMinMaxWhichNeverMoveTheValue) {
  TimeOutField field;
  field.spin.SetValue(180);
  field.events.clear();

  EXPECT_FALSE(field.spin.SetValue(610));
  EXPECT_FALSE(field.spin.SetValue(0));
  EXPECT_EQ(field.spin.Value(), 180);
  EXPECT_EQ(field.box.Text(), "180");

  field.spin.SetMin(250);  // a limit past the value leaves the value where it is
  EXPECT_EQ(field.spin.Value(), 180);
  field.spin.SetMin(10);
  field.spin.SetMax(100);
  EXPECT_EQ(field.spin.Value(), 180);
  EXPECT_TRUE(field.events.isEmpty());
  EXPECT_TRUE(field.spin.SetValue(100));
  EXPECT_FALSE(field.spin.SetValue(110));
}

TEST(UpDown, ArrowButtonsStepWithinTheLimitsAfterMouseDown) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TimeOutField field(&window);
  field.box.show();
  field.spin.show();
  field.spin.SetValue(580);
  field.events.clear();
  QToolButton* up = field.Arrow(Qt::UpArrow);
  QToolButton* down = field.Arrow(Qt::DownArrow);
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);

  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(field.events, (QStringList{"down 1", "box 590", "spin 590"}));

  field.spin.SetMax(595);
  field.events.clear();
  QTest::mouseClick(up, Qt::LeftButton);  // the step ends on the limit
  QTest::mouseClick(up, Qt::LeftButton);  // at the limit: MouseDown all the same
  EXPECT_EQ(field.events, (QStringList{"down 1", "box 595", "spin 595", "down 1"}));

  field.events.clear();
  QObject::connect(&field.spin, &UpDown::MouseMove,
                   [&](int, int, double, double) { field.events << "move"; });
  QTest::mouseClick(down, Qt::RightButton);  // reported once; only the left button steps
  HoverAt(down, QPoint(2, 2));
  EXPECT_EQ(field.events, (QStringList{"down 2", "move"}));
  EXPECT_EQ(field.spin.Value(), 595);
}

// The release of such a click goes to the box, so the arrow must not wait for it.
TEST(UpDown, ABoxOpenedByAClickLetsGoOfTheArrowAfterOneStepOrNone) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TimeOutField field(&window);
  field.spin.show();
  field.spin.SetValue(100);
  DialogScript::Reset();
  QObject::connect(&field.spin, &UpDown::Change, [&] {
    if (field.spin.Value() == 110) MsgBox("from the step");
  });
  QToolButton* up = field.Arrow(Qt::UpArrow);
  QTest::mousePress(up, Qt::LeftButton);
  EXPECT_FALSE(up->isDown());
  EXPECT_EQ(field.spin.Value(), 110);
  ASSERT_EQ(DialogScript::Messages().size(), 1);
  QTest::mouseRelease(up, Qt::LeftButton);

  // A box that MouseDown opens takes the press: no step.
  QObject::connect(&field.spin, &UpDown::MouseDown,
                   [](int, int, double, double) { MsgBox("from the press"); });
  QTest::mousePress(up, Qt::LeftButton);
  EXPECT_FALSE(up->isDown());
  EXPECT_EQ(field.spin.Value(), 110);
  EXPECT_EQ(DialogScript::Messages().size(), 2);
  QTest::mouseRelease(up, Qt::LeftButton);
}

TEST(UpDown, StepsFromTheValueShownInTheBuddy) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TimeOutField field(&window);
  field.spin.show();
  field.spin.SetValue(180);
  field.box.SetText("300");  // the box was stepped by its own arrow keys

  QTest::mouseClick(field.Arrow(Qt::UpArrow), Qt::LeftButton);
  EXPECT_EQ(field.spin.Value(), 310);
  EXPECT_EQ(field.box.Text(), "310");

  field.box.SetText("abc");  // nothing to take: the spin's own value is stepped
  QTest::mouseClick(field.Arrow(Qt::DownArrow), Qt::LeftButton);
  EXPECT_EQ(field.spin.Value(), 300);

  field.spin.SetFocus();
  QTest::keyClick(&field.spin, Qt::Key_Up);
  EXPECT_EQ(field.box.Text(), "310");
}
