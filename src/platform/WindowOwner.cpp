#include "platform/WindowOwner.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace cps {
namespace {

// A window shown owned and the window it blocks.
struct OwnedWindow {
  QPointer<QWidget> window;
  QPointer<QWidget> owner;
};

// The windows shown owned, oldest first; closed ones drop out as they are looked at.
QList<OwnedWindow>& OwnedWindows() {
  static QList<OwnedWindow> windows;
  return windows;
}

void DropClosedWindows() {
  OwnedWindows().removeIf([](const OwnedWindow& owned) { return owned.window.isNull(); });
}

bool Usable(const QWidget* window) {
  return window != nullptr && window->isVisible() && window->isEnabled();
}

QWidget* LastUsableOwnedWindow() {
  DropClosedWindows();
  const QList<OwnedWindow>& windows = OwnedWindows();
  for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
    if (Usable(it->window)) return it->window;
  }
  return nullptr;
}

// The window a window of the program belongs to: the owner it was shown with, or for a dialog
// or message box the window it was made for.
QWidget* OwnerOf(const QWidget* window) {
  for (const OwnedWindow& owned : OwnedWindows()) {
    if (owned.window == window) return owned.owner;
  }
  return window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr;
}

// Once control is back in the event loop, after the closing handler has enabled the owner (or
// closed it too, as on the way out): the owner window takes the keyboard, unless it cannot take
// it or another window of the program has it or must keep it.
void HandBackKeyboard(const QPointer<QWidget>& owner, const QPointer<QWidget>& closed) {
  if (QCoreApplication::closingDown() || owner.isNull()) return;
  QWidget* ownerWindow = owner->window();
  if (!Usable(ownerWindow) || (closed && closed->isVisible())) return;
  const QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != ownerWindow) return;
  const QWidget* front = LastUsableOwnedWindow();
  if (front != nullptr && front != ownerWindow) return;
  const QWidget* active = QApplication::activeWindow();
  if (active != nullptr && active != closed) return;
  ownerWindow->activateWindow();  // its focus widget, or its first control, takes the keyboard
}

// Without a window manager nothing gives the keyboard back when a window that had it closes:
// keys would then reach the owner's focused control, but no shortcut or menu key would work.
// Watches every window of the program, message boxes and dialogs as well as those shown owned.
class KeyboardReturn : public QObject {
 public:
  static void Watch() {
    static KeyboardReturn keyboardReturn;
    if (!std::exchange(keyboardReturn.watching_, true)) qApp->installEventFilter(&keyboardReturn);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Only a window of the program that had the keyboard gives it back.
    if (event->type() != QEvent::Hide || event->spontaneous() ||
        QGuiApplication::focusWindow() == nullptr || !watched->isWidgetType()) {
      return false;
    }
    auto* closed = static_cast<QWidget*>(watched);
    const Qt::WindowType type = closed->windowType();
    if (type != Qt::Window && type != Qt::Dialog) return false;  // not a popup or a tooltip
    QWidget* owner = OwnerOf(closed);
    if (owner == nullptr) return false;
    QTimer::singleShot(0, this,
                       [owner = QPointer<QWidget>(owner), closed = QPointer<QWidget>(closed)] {
                         HandBackKeyboard(owner, closed);
                       });
    return false;
  }

 private:
  bool watching_ = false;
};

QWidget* AnyUsableWindow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = window->windowType();
    if ((type == Qt::Window || type == Qt::Dialog) && Usable(window)) return window;
  }
  return nullptr;
}

// One coordinate of a window of `length` centred on [ownerStart, ownerStart + ownerLength),
// kept inside [areaStart, areaStart + areaLength) where it fits.
int Centred(int ownerStart, int ownerLength, int length, int areaStart, int areaLength) {
  const int centred = ownerStart + (ownerLength - length) / 2;
  return std::max(areaStart, std::min(centred, areaStart + areaLength - length));
}

void CentreOn(QWidget& window, const QWidget& owner) {
  // A window never shown has no frame yet and sizes itself to its layout on its first show.
  if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
  const QRect ownerFrame = owner.frameGeometry();
  const QSize size = window.frameGeometry().size();
  QRect area = ownerFrame;
  if (const QScreen* screen = owner.screen()) area = screen->availableGeometry();
  window.move(Centred(ownerFrame.x(), ownerFrame.width(), size.width(), area.x(), area.width()),
              Centred(ownerFrame.y(), ownerFrame.height(), size.height(), area.y(), area.height()));
}

}  // namespace

WindowOpenings& WindowOpenings::Instance() {
  static WindowOpenings openings;
  // Every window the program opens is announced first: from then on the keyboard goes back.
  KeyboardReturn::Watch();
  return openings;
}

QWidget* CurrentOwner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  QWidget* active = QApplication::activeWindow();
  if (Usable(active)) return active;
  if (QWidget* owned = LastUsableOwnedWindow()) return owned;
  // Never a disabled window: what it owns as its child would be disabled with it.
  return AnyUsableWindow();
}

void SetOwner(QWidget& window, QWidget* owner) {
  if (owner == nullptr) return;
  QWidget* ownerWindow = owner->window();
  ownerWindow->winId();  // the native windows the window manager is told about
  window.winId();
  window.windowHandle()->setTransientParent(ownerWindow->windowHandle());
}

void ShowOwned(QWidget& window, QWidget* owner, Placement placement, Qt::WindowModality modality) {
  WindowOpenings::Instance().Announce();
  window.setWindowModality(modality);  // before the show, which tells the window system
  SetOwner(window, owner);
  if (owner != nullptr && placement == Placement::kCentreOnOwner)
    CentreOn(window, *owner->window());
  DropClosedWindows();
  OwnedWindows().removeIf([&window](const OwnedWindow& owned) { return owned.window == &window; });
  OwnedWindows().append(OwnedWindow{&window, owner});
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace cps
