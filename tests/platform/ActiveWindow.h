// A shown and active top-level window: controls inside it take the focus and receive pointer
// events through the same route as on a desktop.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

// Moves the pointer over widget at pos as the window system reports it: one move, delivered to
// widget and passed on to its parents only while a widget ignores it.
inline void HoverAt(QWidget* widget, QPoint pos) {
  QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

class ActiveWindow : public QWidget {
 public:
  ActiveWindow() {
    resize(900, 700);
    show();
    activateWindow();
    active = QTest::qWaitForWindowActive(this);
  }

  bool active = false;
};
