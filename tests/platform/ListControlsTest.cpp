#include <gtest/gtest.h>

#include <QTest>

#include "ActiveWindow.h"
#include "platform/ComboBox.h"
#include "platform/ListBox.h"
#include "support/QtPrinters.h"

using namespace cps;

TEST(ComboBox, FillingAndClearingSelectNothingAndRaiseNothing) {
  ComboBox box;
  int clicks = 0;
  QObject::connect(&box, &ComboBox::Click, [&] { ++clicks; });

  box.AddItem("Volume Set");
  box.AddItem("Monitor");
  box.AddItem("Scan");
  EXPECT_EQ(box.ListIndex(), -1);
  EXPECT_EQ(box.currentIndex(), -1);  // nothing shown as chosen either
  EXPECT_EQ(box.Text(), "");

  box.SetListIndex(2);
  box.AddItem("Hi/Low Power", 0);  // the selection stays on "Scan"
  EXPECT_EQ(box.ListIndex(), 3);
  EXPECT_EQ(box.Text(), "Scan");
  EXPECT_TRUE(box.RemoveItem(3));  // removing the selected entry leaves none
  EXPECT_EQ(box.ListIndex(), -1);
  box.SetListIndex(1);
  box.Clear();
  EXPECT_EQ(box.ListIndex(), -1);
  EXPECT_EQ(box.ListCount(), 0);
  EXPECT_EQ(clicks, 2);  // only the two SetListIndex calls
}

TEST(ComboBox, SelectionFromCodeOrUserRaisesClickNested) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  ComboBox shortPress(&window);
  ComboBox longPress(&window);
  for (const char* entry : {"Volume Set", "Monitor", "Sticky Monitor"}) shortPress.AddItem(entry);
  QStringList events;
  // The short-press handler rebuilds the long-press list and selects in it: that list's Click
  // runs inside this one.
  QObject::connect(&shortPress, &ComboBox::Click, [&] {
    events << "short " + shortPress.Text();
    longPress.Clear();
    longPress.AddItem("Sticky Monitor");
    longPress.AddItem("Unassigned");
    longPress.SetListIndex(1);
    events << "short done";
  });
  QObject::connect(&longPress, &ComboBox::Click, [&] { events << "long " + longPress.Text(); });

  EXPECT_TRUE(shortPress.SetListIndex(1));
  EXPECT_EQ(events, (QStringList{"short Monitor", "long Unassigned", "short done"}));
  events.clear();
  EXPECT_TRUE(shortPress.SetListIndex(1));
  EXPECT_FALSE(shortPress.SetListIndex(3));
  EXPECT_FALSE(shortPress.SetListIndex(-2));
  EXPECT_TRUE(events.isEmpty());

  shortPress.show();
  shortPress.SetFocus();
  QTest::keyClick(&shortPress, Qt::Key_Down);  // the user's choice
  EXPECT_EQ(shortPress.ListIndex(), 2);
  EXPECT_EQ(events, (QStringList{"short Sticky Monitor", "long Unassigned", "short done"}));
}

TEST(ListBox, SortedFillingSelectsNothingAndKeepsSelectionOnItsEntry) {
  ListBox list;
  list.SetSorted(true);
  int clicks = 0;
  QObject::connect(&list, &ListBox::Click, [&] { ++clicks; });

  for (const char* channel : {"012", "003", "016", "001"}) list.AddItem(channel);
  ASSERT_EQ(list.ListCount(), 4);
  EXPECT_EQ(list.List(0), "001");
  EXPECT_EQ(list.List(1), "003");
  EXPECT_EQ(list.List(2), "012");
  EXPECT_EQ(list.List(3), "016");
  EXPECT_EQ(list.ListIndex(), -1);

  list.SetListIndex(2);
  list.AddItem("002");
  EXPECT_EQ(list.ListIndex(), 3);
  EXPECT_EQ(list.Text(), "012");
  list.RemoveItem(0);
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(list.Text(), "012");
  list.RemoveItem(2);  // the selected entry goes: no selection is left
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_TRUE(list.selectedItems().isEmpty());
  EXPECT_EQ(clicks, 1);
}

TEST(ListBox, ClickOnEveryChangeBySelectionCodeMouseOrKeys) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  ListBox list(&window);
  list.resize(80, 200);
  list.show();
  for (const char* channel : {"001", "002", "003"}) list.AddItem(channel);
  QStringList events;
  QObject::connect(&list, &ListBox::Click, [&] { events << "click " + list.Text(); });
  QObject::connect(&list, &ListBox::MouseDown, [&](int, int, double, double) { events << "down"; });

  list.SetFocus();  // taking the focus chooses nothing
  EXPECT_EQ(list.ListIndex(), -1);

  QPoint second = list.visualItemRect(list.item(1)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, second);
  QTest::keyClick(&list, Qt::Key_Down);
  list.SetListIndex(-1);
  list.SetListIndex(-1);
  EXPECT_FALSE(list.SetListIndex(3));
  EXPECT_EQ(events, (QStringList{"down", "click 002", "click 003", "click "}));
  EXPECT_TRUE(list.selectedItems().isEmpty());
}
