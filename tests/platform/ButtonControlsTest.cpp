#include <gtest/gtest.h>

#include <QTest>

#include "ActiveWindow.h"
#include "platform/CheckBox.h"
#include "platform/CommandButton.h"
#include "platform/OptionButton.h"

using namespace cps;

TEST(CheckBox, CodeRaisesClickNestedOnEveryChangeOfValue) {
  CheckBox box("Priority Scan Enable", nullptr);
  QList<int> seen;
  QObject::connect(&box, &CheckBox::Click, [&] { seen << box.Value(); });

  EXPECT_TRUE(box.SetValue(kChecked));
  ASSERT_EQ(seen, QList<int>{1});
  EXPECT_TRUE(box.SetValue(kChecked));  // same value: no Click
  EXPECT_EQ(seen.size(), 1);
  EXPECT_TRUE(box.SetValue(kGrayed));
  EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);  // 2 shows greyed
  EXPECT_FALSE(box.SetValue(3));
  EXPECT_EQ(box.Value(), kGrayed);
  EXPECT_EQ(seen, (QList<int>{1, 2}));
}

TEST(CheckBox, UserTogglesBetweenCheckedAndUnchecked) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  CheckBox box("TOT Enable", &window);
  box.show();
  QStringList events;
  QObject::connect(&box, &CheckBox::MouseDown, [&](int button, int, double, double) {
    events << QString("down %1").arg(button);
  });
  QObject::connect(&box, &CheckBox::Click, [&] { events << QString("click %1").arg(box.Value()); });
  QObject::connect(&box, &CheckBox::KeyDown,
                   [&](int& code, int) { events << QString("key %1").arg(code); });

  QPoint inside = box.rect().center();
  QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, inside);
  QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, inside);
  box.SetValue(kGrayed);
  events.clear();
  QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, inside);
  EXPECT_EQ(box.Value(), kChecked);  // a greyed box becomes checked, never greyed by the user

  box.SetFocus();
  QTest::keyClick(&box, Qt::Key_Space);
  QTest::keyClick(&box, Qt::Key_Return);  // Enter is reported but does not toggle by itself
  EXPECT_EQ(events, (QStringList{"down 1", "click 1", "key 32", "click 0", "key 13"}));
  EXPECT_EQ(box.Value(), kUnchecked);
}

TEST(OptionButton, SelectingRaisesClickOnTheNewSelectionOnly) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  OptionButton csq("CSQ", &window);
  OptionButton dks("DKS", &window);
  dks.move(0, 30);
  csq.show();
  dks.show();
  QStringList clicks;
  QObject::connect(&csq, &OptionButton::Click, [&] { clicks << "CSQ"; });
  QObject::connect(&dks, &OptionButton::Click, [&] { clicks << "DKS"; });

  csq.SetValue(true);
  csq.SetValue(true);
  dks.SetValue(true);
  EXPECT_FALSE(csq.Value());  // the group clears the others
  QTest::mouseClick(&csq, Qt::LeftButton, Qt::NoModifier, QPoint(5, csq.height() / 2));
  EXPECT_EQ(clicks, (QStringList{"CSQ", "DKS", "CSQ"}));

  csq.SetValue(false);
  EXPECT_FALSE(csq.Value());
  EXPECT_FALSE(dks.Value());
  EXPECT_EQ(clicks.size(), 3);
}

TEST(CommandButton, MouseEnterAndCodePressRaiseClick) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  CommandButton add("Add >>", &window);
  add.show();
  int clicks = 0;
  QObject::connect(&add, &CommandButton::Click, [&] { ++clicks; });

  QTest::mouseClick(&add, Qt::LeftButton);
  add.SetFocus();
  QTest::keyClick(&add, Qt::Key_Return);
  add.Press();
  EXPECT_EQ(clicks, 3);

  add.SetEnabled(false);
  QTest::mouseClick(&add, Qt::LeftButton);
  EXPECT_EQ(clicks, 3);
}
