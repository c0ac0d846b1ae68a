#include "platform/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/TextBox.h"

namespace cps {
namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);  // a held button keeps stepping
  button->setFocusPolicy(Qt::NoFocus);
  button->setMouseTracking(true);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : ControlBase<UpDown, QWidget>(parent),
      up_(MakeArrow(Qt::UpArrow, this)),
      down_(MakeArrow(Qt::DownArrow, this)) {
  setFocusPolicy(Qt::ClickFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  resize(17, 25);
  for (QToolButton* button : {up_, down_}) button->installEventFilter(this);
  // A step on every press and every repeat of a held button.
  connect(up_, &QAbstractButton::pressed, this, [this] { Step(+1); });
  connect(down_, &QAbstractButton::pressed, this, [this] { Step(-1); });
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

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<QToolButton*>(watched);
  if (button == nullptr) return ControlBase::eventFilter(watched, event);
  auto* mouse = dynamic_cast<QMouseEvent*>(event);
  if (mouse == nullptr) return false;
  QPointF pos = button->mapTo(this, mouse->position());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      RaiseMouse(MouseKind::Down, *mouse, pos);
      break;
    case QEvent::MouseButtonRelease:
      RaiseMouse(MouseKind::Up, *mouse, pos);
      break;
    case QEvent::MouseMove:
      RaiseMouse(MouseKind::Move, *mouse, pos);
      break;
    default:
      break;
  }
  return false;  // the button still does its own work: the step follows MouseDown
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
