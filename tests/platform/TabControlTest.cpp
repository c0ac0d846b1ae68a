#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>

#include "ActiveWindow.h"
#include "platform/Label.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"

using namespace cps;

namespace {

struct EditorTabs {
  explicit EditorTabs(QWidget* parent) : tabs(parent) {
    tabs.resize(600, 400);
    QObject::connect(&tabs, &TabControl::Click, [this](int previous) {
      events << QString("click %1 -> %2").arg(previous).arg(tabs.Tab());
    });
    tabs.AddTab("&Radio Configuration");
    tabs.AddTab("Conventional Personality");
  }
  TabControl tabs;
  QStringList events;
};

}  // namespace

TEST(TabControl, ChangeOfTabRaisesClickWithThePreviousTab) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  EditorTabs editor(&window);
  editor.tabs.show();
  EXPECT_EQ(editor.tabs.Tab(), 0);
  EXPECT_TRUE(editor.events.isEmpty());  // adding tabs is no change of tab

  EXPECT_TRUE(editor.tabs.SetTab(1));
  EXPECT_TRUE(editor.tabs.SetTab(1));
  EXPECT_FALSE(editor.tabs.SetTab(2));
  EXPECT_EQ(editor.tabs.currentIndex(), 1);

  QTabBar* bar = editor.tabs.tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
  QTest::keyClick(bar, Qt::Key_Right);
  EXPECT_EQ(editor.events, (QStringList{"click 0 -> 1", "click 1 -> 0", "click 0 -> 1"}));
}

TEST(TabControl, TabKeyReachesKeyDownInsteadOfMovingTheFocus) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  EditorTabs editor(&window);
  TextBox next(&window);
  next.move(0, 450);
  editor.tabs.show();
  next.show();
  QList<int> keys;
  QObject::connect(&editor.tabs, &TabControl::KeyDown, [&](int& code, int) { keys << code; });

  editor.tabs.SetFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // raised once, not again
  EXPECT_EQ(keys, (QList<int>{kKeyTab, kKeyReturn}));
  EXPECT_EQ(QApplication::focusWidget(), editor.tabs.tabBar());
}

TEST(TabControl, MouseMoveOverThePageButNotOverItsControls) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  EditorTabs editor(&window);
  Label caption("Channel", editor.tabs.Page(0));
  caption.move(10, 10);
  editor.tabs.show();
  QStringList moves;
  QObject::connect(&editor.tabs, &TabControl::MouseMove,
                   [&](int, int, double, double) { moves << "tabs"; });
  QObject::connect(&caption, &Label::MouseMove,
                   [&](int, int, double, double) { moves << "label"; });

  QWidget* page = editor.tabs.Page(0);
  HoverAt(page, QPoint(300, 250));
  HoverAt(&caption, QPoint(3, 3));
  HoverAt(editor.tabs.tabBar(), editor.tabs.tabBar()->tabRect(1).center());
  EXPECT_EQ(moves, (QStringList{"tabs", "label", "tabs"}));
}
