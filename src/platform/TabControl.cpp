#include "platform/TabControl.h"

#include <QTabBar>

namespace cps {

// The row of tabs. It has the focus and the pointer most of the time, so its events are the
// control's events; it keeps them from reaching the control a second time.
class TabControlBar : public QTabBar {
 public:
  explicit TabControlBar(TabControl* owner) : QTabBar(owner), owner_(owner) {
    setMouseTracking(true);
  }

  // The control is going: the tabs, destroyed after it, raise nothing more.
  void Detach() { owner_ = nullptr; }

 protected:
  bool event(QEvent* e) override {
    // The Tab key is the control's own key here, not a move to the next control.
    if (e->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(e);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        keyPressEvent(key);
        return true;
      }
    }
    return QTabBar::event(e);
  }

  void keyPressEvent(QKeyEvent* e) override {
    if (owner_ == nullptr) {
      QTabBar::keyPressEvent(e);
      return;
    }
    QPointer<QTabBar> alive(this);
    e->accept();
    if (!owner_->RaiseKeyDown(e) || !alive) return;
    int typed = KeyAsciiFromQt(e->key(), e->modifiers(), e->text());
    int keyAscii = owner_->RaiseKeyPress(e);
    if (!alive || (typed != 0 && keyAscii == 0)) return;
    if (e->key() != Qt::Key_Tab && e->key() != Qt::Key_Backtab) QTabBar::keyPressEvent(e);
    e->accept();
  }

  void keyReleaseEvent(QKeyEvent* e) override {
    if (owner_ != nullptr) owner_->RaiseKeyUp(e);
    e->accept();
  }

  void mousePressEvent(QMouseEvent* e) override {
    Raise(TabControl::MouseKind::Down, e);
    QTabBar::mousePressEvent(e);  // a press on another tab shows it and raises Click
    e->accept();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    Raise(TabControl::MouseKind::Up, e);
    QTabBar::mouseReleaseEvent(e);
    e->accept();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    Raise(TabControl::MouseKind::Move, e);
    QTabBar::mouseMoveEvent(e);
    e->accept();
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    e->accept();
    if (owner_ != nullptr) owner_->RaiseDblClick();
  }

  void focusInEvent(QFocusEvent* e) override {
    QTabBar::focusInEvent(e);
    if (owner_ == nullptr) return;
    if (owner_->TakeFocusFromCode() || IsControlFocusChange(e->reason())) emit owner_->GotFocus();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QTabBar::focusOutEvent(e);
    if (owner_ != nullptr && IsControlFocusChange(e->reason())) emit owner_->LostFocus();
  }

 private:
  void Raise(TabControl::MouseKind kind, QMouseEvent* e) {
    if (owner_ != nullptr) owner_->RaiseMouse(kind, *e, mapTo(owner_, e->position()));
  }

  TabControl* owner_;
};

TabControl::TabControl(QWidget* parent) : ControlBase<TabControl, QTabWidget>(parent) {
  setTabBar(new TabControlBar(this));
  connect(this, &QTabWidget::currentChanged, this, &TabControl::OnCurrentChanged);
}

TabControl::~TabControl() { static_cast<TabControlBar*>(tabBar())->Detach(); }

QWidget* TabControl::AddTab(const QString& caption) {
  auto* page = new QWidget;
  page->setMouseTracking(true);
  page->installEventFilter(this);
  adding_ = true;
  addTab(page, caption);
  adding_ = false;
  if (tab_ < 0) tab_ = currentIndex();  // the first tab is shown without a change of tab
  return page;
}

bool TabControl::SetTab(int index) {
  if (index < 0 || index >= count()) return false;
  if (index == tab_) return true;
  setCurrentIndex(index);  // raises Click through currentChanged, nested
  return true;
}

void TabControl::OnCurrentChanged(int index) {
  if (adding_ || index == tab_) return;
  int previous = tab_;
  tab_ = index;
  emit Click(previous);
}

// The free area of a page belongs to the control. The page does nothing with the pointer, so
// the event ends here instead of reaching the control a second time.
bool TabControl::eventFilter(QObject* watched, QEvent* event) {
  auto* page = qobject_cast<QWidget*>(watched);
  if (page == nullptr || indexOf(page) < 0) return ControlBase::eventFilter(watched, event);
  MouseKind kind;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      kind = MouseKind::Down;
      break;
    case QEvent::MouseButtonRelease:
      kind = MouseKind::Up;
      break;
    case QEvent::MouseMove:
      kind = MouseKind::Move;
      break;
    default:
      return false;
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  RaiseMouse(kind, *mouse, page->mapTo(this, mouse->position()));
  return true;
}

}  // namespace cps
