#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "ActiveWindow.h"
#include "platform/Dialogs.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"
#include "platform/WindowOwner.h"
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

// A spin control at 100 in an active window, and the left button pressed and released through
// the window system as on a desktop, so the program sees it held (QGuiApplication::mouseButtons).
// The repeat timer is taken out of real time: it ticks only when Hold lets the time it waits for
// pass.
class Mouse : public QObject {
 public:
  Mouse()
      : field(&window),
        up(field.Arrow(Qt::UpArrow)),
        timer_(field.spin.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
    field.box.show();
    field.spin.show();
    field.spin.SetValue(100);
    timer_->installEventFilter(this);
  }
  ~Mouse() override {
    if (held_) Release(&field.box);
  }

  Mouse& Press(QWidget* widget) {
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, At(widget));
    held_ = true;
    waited_ = 0;
    return *this;
  }
  Mouse& Release(QWidget* widget) { return Release(window.windowHandle(), At(widget)); }
  Mouse& Release(QWindow* other, QPoint pos) {
    QTest::mouseRelease(other, Qt::LeftButton, {}, pos);
    held_ = false;
    return *this;
  }
  Mouse& DoubleClick(QWidget* widget) {
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, At(widget));
    waited_ = 0;
    return *this;
  }
  Mouse& MoveTo(QWidget* widget) {
    QTest::mouseMove(window.windowHandle(), At(widget));
    return *this;
  }

  // ms pass with the button as it is; each tick the timer waits for comes at its time.
  Mouse& Hold(int ms) {
    while (timer_->isActive() && timer_->interval() - waited_ <= ms) {
      ms -= timer_->interval() - waited_;
      waited_ = 0;
      QTimerEvent tick(timer_->timerId());
      ticking_ = true;
      QCoreApplication::sendEvent(timer_, &tick);
      ticking_ = false;
    }
    waited_ += ms;
    return *this;
  }

  ActiveWindow window;
  TimeOutField field;
  QToolButton* up;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    return event->type() == QEvent::Timer && !ticking_;
  }

 private:
  QPoint At(QWidget* widget) const { return widget->mapTo(&window, widget->rect().center()); }

  QTimer* timer_;
  bool held_ = false;
  bool ticking_ = false;
  int waited_ = 0;  // ms since the timer was last started
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

// Each row: what the user does with the left button, mostly from a press on the up arrow, and
// the steps it makes.
TEST(UpDown, AHeldArrowRepeatsOnlyWhileTheMouseHoldsItAndNoOtherWindowTakesOver) {
  const struct {
    const char* what;
    void (*user)(Mouse&);
    int steps;
  } cases[] = {
      {"held 299 ms: the first repeat waits 300 ms", [](Mouse& m) { m.Press(m.up).Hold(299); }, 1},
      {"held 500 ms: then one step each 100 ms", [](Mouse& m) { m.Press(m.up).Hold(500); }, 4},
      {"double click: each press steps", [](Mouse& m) { m.DoubleClick(m.up).Hold(999); }, 2},
      {"a click after a box came and went",
       [](Mouse& m) {
         MsgBox("earlier");
         m.Press(m.up).Release(m.up);
       },
       1},
      {"a click, then the button held on the box beside it",
       [](Mouse& m) { m.Press(m.up).Release(m.up).Press(&m.field.box).Hold(999); }, 1},
      {"dragged off the arrow", [](Mouse& m) { m.Press(m.up).MoveTo(&m.field.box).Hold(999); }, 1},
      {"released over another window",
       [](Mouse& m) {
         QWindow other;
         other.resize(50, 50);
         other.show();
         m.Press(m.up).Release(&other, QPoint(10, 10)).Hold(999);
       },
       1},
      {"a popup menu opens",
       [](Mouse& m) {
         QMenu menu;
         menu.addAction("Copy");
         m.Press(m.up);
         menu.popup(m.window.mapToGlobal(QPoint(300, 300)));
         m.Hold(999);
       },
       1},
      {"an application-modal window opens, not through ShowOwned",
       [](Mouse& m) {
         QWidget modal;
         modal.setWindowModality(Qt::ApplicationModal);
         m.Press(m.up);
         modal.show();
         m.Hold(999);
       },
       1},
      {"an owned window that blocks nothing opens",
       [](Mouse& m) {
         QWidget owned;
         m.Press(m.up);
         ShowOwned(owned, &m.window, Placement::kCentreOnOwner, Qt::NonModal);
         m.Hold(999);
       },
       1},
      {"the spin control hidden",
       [](Mouse& m) {
         m.Press(m.up);
         m.field.spin.hide();
         m.Hold(999);
       },
       1},
      {"the spin control disabled, then enabled under the held button",
       [](Mouse& m) {
         m.Press(m.up);
         m.field.spin.SetEnabled(false);
         m.Hold(999);
         m.field.spin.SetEnabled(true);
         m.MoveTo(&m.field.box).MoveTo(m.up).Hold(999);
       },
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Mouse mouse;
    ASSERT_TRUE(mouse.window.active);
    c.user(mouse);
    EXPECT_EQ(mouse.field.spin.Value(), 100 + 10 * c.steps);
  }
}
