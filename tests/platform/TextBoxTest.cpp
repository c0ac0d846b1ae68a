#include <gtest/gtest.h>

#include <QClipboard>
#include <QTest>

#include "ActiveWindow.h"
#include "platform/TextBox.h"
#include "support/QtPrinters.h"

using namespace cps;

TEST(TextBox, CodeRaisesChangeNestedOnlyWhenTheTextDiffers) {
  TextBox box;
  QStringList seen;
  QObject::connect(&box, &TextBox::Change, [&] { seen << box.Text(); });

  box.SetText("180");
  ASSERT_EQ(seen, QStringList{"180"});  // raised before SetText returned, with the new text
  box.SetText("180");
  EXPECT_EQ(seen.size(), 1);
  box.SetText("");
  EXPECT_EQ(seen, (QStringList{"180", ""}));
}

TEST(TextBox, ChangeHandlerSettingItsOwnTextRunsAgainNested) {
  // The walk of a numeric box back to its stored value: each step sets the text, which runs
  // Change again inside the running Change.
  TextBox box;
  int depth = 0;
  int deepest = 0;
  int runs = 0;
  QObject::connect(&box, &TextBox::Change, [&] {
    ++runs;
    ++depth;
    deepest = std::max(deepest, depth);
    int value = box.Text().toInt();
    if (value < 100) box.SetText(QString::number(value + 10));
    --depth;
  });

  box.SetText("70");
  EXPECT_EQ(box.Text(), "100");
  EXPECT_EQ(runs, 4);  // 70, 80, 90, 100
  EXPECT_EQ(deepest, 4);
}

TEST(TextBox, MaxLengthLimitsTypingAndPastingButNotCode) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TextBox box(&window);
  box.show();
  box.SetFocus();
  box.SetMaxLength(8);
  int changes = 0;
  QObject::connect(&box, &TextBox::Change, [&] { ++changes; });

  QTest::keyClicks(&box, "abcdefghij");
  EXPECT_EQ(box.Text(), "abcdefgh");
  EXPECT_EQ(changes, 8);  // the refused keys changed nothing and raised nothing

  box.SetText("abc");
  QApplication::clipboard()->setText("123456789");
  QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box.Text(), "abc12345");  // the paste is cut to fit

  box.SetText("0123456789AB");  // code keeps the whole text
  EXPECT_EQ(box.Text(), "0123456789AB");
  QTest::keyClick(&box, 'z');
  EXPECT_EQ(box.Text(), "0123456789AB");  // the user cannot lengthen it
  QTest::keyClick(&box, Qt::Key_Backspace);
  EXPECT_EQ(box.Text(), "0123456789A");  // but may shorten it
}

TEST(TextBox, KeyHandlersCanDiscardOrSwallowKeys) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TextBox box(&window);
  box.show();
  box.SetFocus();
  QObject::connect(&box, &TextBox::KeyPress, [](int& ascii) {
    if (ascii == '-') ascii = 0;  // the password box's filter: discard the character
  });
  QObject::connect(&box, &TextBox::KeyDown, [](int& code, int) {
    if (code == kKeyBack) code = 0;  // swallow the key: the box never sees it
  });

  QTest::keyClicks(&box, "a-b");
  EXPECT_EQ(box.Text(), "ab");
  QTest::keyClick(&box, Qt::Key_Backspace);
  EXPECT_EQ(box.Text(), "ab");
}

TEST(TextBox, LockedBoxTakesNoTypingButReportsKeys) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TextBox box(&window);
  box.show();
  box.SetText("4000");
  box.SetLocked(true);
  box.SetFocus();
  int lastKey = 0;
  QObject::connect(&box, &TextBox::KeyDown, [&](int& code, int) { lastKey = code; });

  QTest::keyClicks(&box, "12");
  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(box.Text(), "4000");
  EXPECT_EQ(lastKey, kKeyUp);
}

TEST(TextBox, MouseClickAndFocusEvents) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TextBox first(&window);
  TextBox second(&window);
  second.move(0, 40);
  first.show();
  second.show();
  QStringList events;
  QObject::connect(&first, &TextBox::MouseDown, [&](int button, int, double x, double y) {
    events << QString("down %1 %2 %3").arg(button).arg(x).arg(y);
  });
  QObject::connect(&first, &TextBox::MouseUp, [&](int button, int, double, double) {
    events << QString("up %1").arg(button);
  });
  QObject::connect(&first, &TextBox::Click, [&] { events << "click"; });
  QObject::connect(&first, &TextBox::GotFocus, [&] { events << "first got"; });
  QObject::connect(&first, &TextBox::LostFocus, [&] { events << "first lost"; });
  QObject::connect(&second, &TextBox::GotFocus, [&] { events << "second got"; });

  QTest::mouseClick(&first, Qt::LeftButton, Qt::NoModifier, QPoint(4, 6));
  EXPECT_EQ(events, (QStringList{"first got", "down 1 60 90", "up 1", "click"}));

  events.clear();
  second.SetFocus();
  EXPECT_EQ(events, (QStringList{"first lost", "second got"}));

  // Switching windows raises nothing; a focus that code gave while the window was inactive is
  // announced when the window's activation brings it.
  events.clear();
  ActiveWindow other;
  ASSERT_TRUE(other.active);
  first.SetFocus();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(events, QStringList{"first got"});
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(events, QStringList{"first got"});
}
