#include "platform/UpDown.h"

#include <QApplication>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/TextBox.h"
#include "platform/WindowOwner.h"

namespace cps {
namespace {

// A held arrow's first repeat and the pace after it.
constexpr int kRepeatDelayMs = 300;
constexpr int kRepeatIntervalMs = 100;

// The arrows do not repeat by themselves: a button that repeats on its own keeps stepping when
// the release goes to a box that opened meanwhile. The spin control drives them (eventFilter).
QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setFocusPolicy(Qt::NoFocus);
  button->setMouseTracking(true);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : ControlBase<UpDown, QWidget>(parent),
      up_(MakeArrow(Qt::UpArrow, this)),
      down_(MakeArrow(Qt::DownArrow, this)),
      repeat_(this) {
  setFocusPolicy(Qt::ClickFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  resize(17, 25);
  for (QToolButton* button : {up_, down_}) button->installEventFilter(this);
  repeat_.setSingleShot(true);
  connect(&repeat_, &QTimer::timeout, this, &UpDown::RepeatHeldArrow);
  connect(&WindowOpenings::Instance(), &WindowOpenings::Opening, this, &UpDown::LetGoForWindow);
}

bool UpDown::SetValue(int value) {
  if (value < std::min(min_, max_) || value > std::max(min_, max_)) return false;
  if (value == value_) return true;
  value_ = value;
  QPointer<UpDown> alive(this);
  if (buddy_) buddy_->SetText(DecimalText(value));  // raises the buddy's Change, nested
  if (alive) emit Change();
  return true;
}

void UpDown::Step(int direction) {
  TakeValueFromBuddy();
  int64_t target = static_cast<int64_t>(value_) + static_cast<int64_t>(direction) * increment_;
  target = std::clamp<int64_t>(target, std::min(min_, max_), std::max(min_, max_));
  SetValue(static_cast<int>(target));
}

void UpDown::TakeValueFromBuddy() {
  if (!buddy_) return;
  bool whole = false;
  int shown = buddy_->Text().trimmed().toInt(&whole, 10);
  if (whole && shown >= std::min(min_, max_) && shown <= std::max(min_, max_)) value_ = shown;
}

void UpDown::PressArrow(QToolButton& arrow, const QMouseEvent& mouse, QPointF pos) {
  QPointer<UpDown> alive(this);
  ReleaseArrow();
  windowOpened_ = false;
  RaiseMouse(MouseKind::Down, mouse, pos);
  if (!alive || windowOpened_ || mouse.button() != Qt::LeftButton) return;
  held_ = &arrow;
  arrow.setDown(true);
  Step(&arrow == up_ ? +1 : -1);  // a window the step opens lets go of the arrow
  if (alive && held_ != nullptr) repeat_.start(kRepeatDelayMs);
}

// The mouse must still hold the arrow, with no popup taking over meanwhile (a modal window
// blocks this window, which lets go at once); the arrow steps only while the pointer is on it.
void UpDown::RepeatHeldArrow() {
  if (held_ == nullptr) return;
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) ||
      QApplication::activePopupWidget() != nullptr || !isEnabled() || !isVisible()) {
    ReleaseArrow();
    return;
  }
  repeat_.start(kRepeatIntervalMs);
  if (held_->isDown()) Step(held_ == up_ ? +1 : -1);
}

void UpDown::LetGoForWindow() {
  windowOpened_ = true;
  ReleaseArrow();
}

void UpDown::ReleaseArrow() {
  repeat_.stop();
  if (held_ != nullptr) held_->setDown(false);
  held_ = nullptr;
}

bool UpDown::event(QEvent* event) {
  // Sent to every control of a window when a modal window opens over it, by whatever road.
  if (event->type() == QEvent::WindowBlocked) LetGoForWindow();
  return ControlBase::event(event);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  auto* arrow = qobject_cast<QToolButton*>(watched);
  if (arrow == nullptr) return ControlBase::eventFilter(watched, event);
  auto* mouse = dynamic_cast<QMouseEvent*>(event);
  if (mouse == nullptr || !arrow->isEnabled()) return false;
  const QPointF pos = arrow->mapTo(this, mouse->position());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      PressArrow(*arrow, *mouse, pos);
      return true;
    case QEvent::MouseButtonRelease:
      if (mouse->button() == Qt::LeftButton) ReleaseArrow();
      RaiseMouse(MouseKind::Up, *mouse, pos);
      return true;
    case QEvent::MouseMove:
      if (arrow == held_) arrow->setDown(arrow->rect().contains(mouse->position().toPoint()));
      RaiseMouse(MouseKind::Move, *mouse, pos);
      return true;
    default:
      return false;
  }
}

void UpDown::keyPressEvent(QKeyEvent* e) {
  if (e->key() != Qt::Key_Up && e->key() != Qt::Key_Down) {
    ControlBase::keyPressEvent(e);
    return;
  }
  QPointer<UpDown> alive(this);
  e->accept();
  if (!RaiseKeyDown(e) || !alive) return;
  Step(e->key() == Qt::Key_Up ? +1 : -1);
}

}  // namespace cps
