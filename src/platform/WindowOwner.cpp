#include "platform/WindowOwner.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace cps {
namespace {

// The windows shown owned, oldest first; closed ones drop out as they are looked at.
QList<QPointer<QWidget>>& OwnedWindows() {
  static QList<QPointer<QWidget>> windows;
  return windows;
}

bool Usable(const QWidget* window) {
  return window != nullptr && window->isVisible() && window->isEnabled();
}

QWidget* LastUsableOwnedWindow() {
  QList<QPointer<QWidget>>& windows = OwnedWindows();
  windows.removeAll(nullptr);
  for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
    if (Usable(*it)) return *it;
  }
  return nullptr;
}

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
  OwnedWindows().removeAll(&window);
  OwnedWindows().append(&window);
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace cps
