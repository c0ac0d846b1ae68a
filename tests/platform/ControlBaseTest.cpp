#include <gtest/gtest.h>

#include <QTest>

#include "ActiveWindow.h"
#include "platform/CheckBox.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/StatusBar.h"
#include "platform/TextBox.h"
#include "support/QtPrinters.h"

using namespace cps;

TEST(Control, EnabledAndVisibleAreTheControlsOwnFlags) {
  Frame scanType("Scan Type", nullptr);
  CheckBox scan("Normal Scan Enable", &scanType);

  scanType.SetEnabled(false);  // the frame greys its box, whose own flag stays on
  EXPECT_TRUE(scan.Enabled());
  EXPECT_FALSE(scan.isEnabled());
  scan.SetEnabled(false);
  scanType.SetEnabled(true);
  EXPECT_FALSE(scan.Enabled());
  scan.SetEnabled(true);
  EXPECT_TRUE(scan.isEnabled());

  EXPECT_TRUE(scan.Visible());  // the window is not shown, the box itself is not hidden
  EXPECT_FALSE(scan.isVisible());
  scan.SetVisible(false);
  EXPECT_FALSE(scan.Visible());
}

TEST(Control, TabStopFalseIsPassedByTheTabKeyOnly) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TextBox first(&window);
  TextBox skipped(&window);
  TextBox last(&window);
  skipped.move(0, 30);
  last.move(0, 60);
  for (TextBox* box : {&first, &skipped, &last}) box->show();
  skipped.SetTabStop(false);
  EXPECT_FALSE(skipped.TabStop());

  first.SetFocus();
  QTest::keyClick(&first, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &last);
  skipped.SetFocus();
  EXPECT_EQ(QApplication::focusWidget(), &skipped);
  skipped.SetTabStop(true);
  EXPECT_TRUE(skipped.TabStop());
}

TEST(Control, GeometryIsInTwips) {
  Frame frame("Channel Tone Option", nullptr);
  frame.Move(120, 120, 7905, 540);
  EXPECT_EQ(frame.geometry(), QRect(8, 8, 527, 36));
  EXPECT_EQ(frame.Left(), 120);
  EXPECT_EQ(frame.Width(), 7905);
  frame.SetHeight(1100);  // 73.3 pixels: the nearest whole pixel
  EXPECT_EQ(frame.height(), 73);
  EXPECT_EQ(frame.Height(), 1095);
  frame.SetLeft(3000);
  frame.SetTop(3015);
  EXPECT_EQ(frame.pos(), QPoint(200, 201));

  // A window's Left and Top are its frame's, so that its title bar is where they say; what they
  // read back is what was set.
  QWidget window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  cps::MoveTwips(window, 0, 150, 4500, 3000);
  QCoreApplication::processEvents();
  EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(0, 10));
  EXPECT_EQ(window.size(), QSize(300, 200));
  EXPECT_EQ(cps::LeftTwips(window), 0);
  EXPECT_EQ(cps::TopTwips(window), 150);
}

TEST(Control, ColoursAreWrittenBlueGreenRed) {
  Label led;
  led.SetBackColor(0xC0FFC0);  // pale green
  EXPECT_EQ(led.BackColor(), 0xC0FFC0u);
  EXPECT_EQ(led.palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xC0));
  EXPECT_TRUE(led.autoFillBackground());
  led.SetBackColor(0xFF);  // bright red
  EXPECT_EQ(led.palette().color(QPalette::Window), QColor(255, 0, 0));

  Label serial("Serial Number", nullptr);
  EXPECT_EQ(serial.ForeColor(), kColourButtonText);
  serial.SetForeColor(0xFF);
  EXPECT_EQ(serial.palette().color(QPalette::WindowText), QColor(255, 0, 0));
  serial.SetForeColor(kColourButtonText);
  EXPECT_EQ(serial.palette().color(QPalette::WindowText),
            QApplication::palette(&serial).color(QPalette::ButtonText));

  TextBox tone;
  tone.SetBackColor(0xC0FFFF);  // the focus colour of a user tone box
  EXPECT_EQ(tone.palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
  tone.SetBackColor(kColourWindowBackground);
  EXPECT_EQ(tone.palette().color(QPalette::Base),
            QApplication::palette(&tone).color(QPalette::Base));
}

TEST(Control, MouseEventsReachOnlyTheControlUnderThePointer) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  Frame frame("Scan List", &window);
  frame.resize(300, 200);
  Label channel("Channel", &frame);
  channel.move(20, 40);
  frame.show();
  QStringList moves;
  QObject::connect(&frame, &Frame::MouseMove, [&](int, int, double x, double y) {
    moves << QString("frame %1,%2").arg(x).arg(y);
  });
  QObject::connect(&channel, &Label::MouseMove, [&](int, int, double x, double y) {
    moves << QString("label %1,%2").arg(x).arg(y);
  });

  HoverAt(&frame, QPoint(200, 150));
  HoverAt(&channel, QPoint(2, 3));
  EXPECT_EQ(moves, (QStringList{"frame 3000,2250", "label 30,45"}));
}

TEST(StatusBar, PanelsKeepTheirTextUntilReplaced) {
  StatusBar bar(3, nullptr);
  EXPECT_EQ(bar.Panels(), 3);
  EXPECT_TRUE(bar.SetPanelText(1, "Status"));
  EXPECT_TRUE(bar.SetPanelText(2, "Com1"));
  EXPECT_FALSE(bar.SetPanelText(4, "x"));
  EXPECT_FALSE(bar.SetPanelText(0, "x"));
  bar.show();
  QApplication::processEvents();
  EXPECT_EQ(bar.PanelText(1), "Status");
  bar.SetPanelText(1, "Quick Key Override Enable Option");
  EXPECT_EQ(bar.PanelText(1), "Quick Key Override Enable Option");
  EXPECT_EQ(bar.PanelText(2), "Com1");
  EXPECT_EQ(bar.PanelText(4), "");
}
