// What every control shares, written once: the platform's input events raised from Qt's, the
// control's own Enabled and Visible flags, geometry in twips, ForeColor and BackColor.
//
// A control class derives from ControlBase<Self, QtWidget> and declares, as Qt signals, the
// events the platform gives that kind of control, with these signatures:
//   KeyDown(int& keyCode, int shift)   setting keyCode to 0 swallows the key entirely
//   KeyPress(int& keyAscii)            0 discards the character, another code replaces it
//   KeyUp(int& keyCode, int shift)
//   GotFocus(), LostFocus()            not raised when the whole window gains or loses activation;
//                                      but a focus given by SetFocus while the window was not
//                                      active raises GotFocus when the activation brings it
//   MouseDown/MouseUp/MouseMove(int button, int shift, double x, double y)   x, y in twips
//   Click(), DblClick()
// The base raises exactly the events that Self declares. Mouse and key events are raised on the
// control under the pointer or with the focus only, never again on the controls around it; a key
// the control does not use (Enter, Esc) does not travel on to its window either.
// A mouse click (press and release of the left button on the control) raises Click only where
// Self::kClickOnMouseUp is true; the other controls raise Click when their value or selection
// changes. The sequence of a double click is MouseDown, MouseUp, Click, DblClick, MouseUp.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <utility>

#include "platform/Colours.h"
#include "platform/Geometry.h"
#include "platform/KeyCodes.h"
#include "platform/TextConv.h"

namespace cps {

// Which palette entries a control's ForeColor and BackColor paint, and their starting values.
struct ControlColours {
  QPalette::ColorRole fore;
  QPalette::ColorRole back;
  uint32_t defaultFore;
  uint32_t defaultBack;
};

// Focus changes that the platform reports: not a window losing activation or a popup opening.
inline bool IsControlFocusChange(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

template <class Self, class W>
class ControlBase : public W {
 public:
  explicit ControlBase(QWidget* parent = nullptr) : W(parent) {
    this->setMouseTracking(true);  // MouseMove without a button held drives the status hints
    fore_ = Self::kColours.defaultFore;
    back_ = Self::kColours.defaultBack;
  }

  // A control being destroyed raises nothing: Qt's own teardown may still change its
  // selection or tab, and no handler is to run for that (destroyed() is still emitted).
  ~ControlBase() override { this->blockSignals(true); }

  // The control's own flags. Enabled stays True while only a parent is disabled (the control
  // then cannot be used, but comes back when the parent does); Visible likewise.
  bool Enabled() const { return !this->testAttribute(Qt::WA_ForceDisabled); }
  void SetEnabled(bool enabled) { this->setEnabled(enabled); }
  bool Visible() const { return !this->isHidden(); }
  void SetVisible(bool visible) { this->setVisible(visible); }
  // In a window that is not active yet, Qt only notes the focus and hands it over with the
  // window's activation, reporting it as a window switch; the mark keeps that focus announced.
  void SetFocus() {
    this->setFocus(Qt::OtherFocusReason);
    focusFromCode_ = !this->hasFocus();
  }

  // True when the last focus loss came from a mouse press elsewhere. Qt moves the focus before
  // the press reaches its target, so during LostFocus a click on another tab has not yet
  // changed the tab.
  bool FocusTakenByMouse() const { return focusTakenByMouse_; }

  // TabStop False: the Tab key passes the control by; a click or SetFocus still focuses it.
  bool TabStop() const { return (this->focusPolicy() & Qt::TabFocus) != 0; }
  void SetTabStop(bool tabStop) {
    int policy = this->focusPolicy();
    policy = tabStop ? (policy | Qt::TabFocus) : (policy & ~Qt::TabFocus);
    this->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
  }

  int Left() const { return LeftTwips(*this); }
  int Top() const { return TopTwips(*this); }
  int Width() const { return WidthTwips(*this); }
  int Height() const { return HeightTwips(*this); }
  void SetLeft(int twips) { SetLeftTwips(*this, twips); }
  void SetTop(int twips) { SetTopTwips(*this, twips); }
  void SetWidth(int twips) { SetWidthTwips(*this, twips); }
  void SetHeight(int twips) { SetHeightTwips(*this, twips); }
  void Move(int left, int top, int width, int height) {
    MoveTwips(*this, left, top, width, height);
  }

  QString ToolTipText() const { return this->toolTip(); }
  void SetToolTipText(const QString& text) { this->setToolTip(text); }

  // Colours as written (&HBBGGRR or a system colour); reading gives back the value last set.
  uint32_t ForeColor() const { return fore_; }
  void SetForeColor(uint32_t colour) {
    fore_ = colour;
    PaintRole(Self::kColours.fore, colour, /*alsoDisabled=*/false);
  }
  uint32_t BackColor() const { return back_; }
  void SetBackColor(uint32_t colour) {
    back_ = colour;
    if (Self::kColours.back == QPalette::Window) this->setAutoFillBackground(true);
    PaintRole(Self::kColours.back, colour, /*alsoDisabled=*/true);
  }

 protected:
  Self* self() { return static_cast<Self*>(this); }

  // Raises KeyDown for a key press; false when the handler swallowed the key.
  bool RaiseKeyDown(QKeyEvent* e) {
    int keyCode = KeyCodeFromQt(e->key(), e->modifiers());
    if (keyCode == 0) return true;
    if constexpr (requires(Self * s, int& k) { s->KeyDown(k, 0); }) {
      emit self()->KeyDown(keyCode, KeyShiftState(e->key(), e->modifiers(), true));
    }
    return keyCode != 0;
  }

  // Raises KeyPress for the character a key press types; the character to go on with, 0 when
  // the press types none or the handler discarded it.
  int RaiseKeyPress(QKeyEvent* e) {
    int keyAscii = KeyAsciiFromQt(e->key(), e->modifiers(), e->text());
    if (keyAscii == 0) return 0;
    if constexpr (requires(Self * s, int& k) { s->KeyPress(k); }) emit self()->KeyPress(keyAscii);
    return keyAscii;
  }

  void RaiseKeyUp(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;
    int keyCode = KeyCodeFromQt(e->key(), e->modifiers());
    if (keyCode == 0) return;
    if constexpr (requires(Self * s, int& k) { s->KeyUp(k, 0); }) {
      emit self()->KeyUp(keyCode, KeyShiftState(e->key(), e->modifiers(), false));
    }
  }

  enum class MouseKind { Down, Up, Move };

  // Raises a mouse event at pos, in this control's pixels.
  void RaiseMouse(MouseKind kind, const QMouseEvent& e, QPointF pos) {
    int button = MouseButtonsFromQt(kind == MouseKind::Move ? e.buttons() : e.button());
    int shift = ShiftStateFromQt(e.modifiers());
    double x = pos.x() * kTwipsPerPixel;
    double y = pos.y() * kTwipsPerPixel;
    if constexpr (requires(Self * s) { s->MouseDown(0, 0, 0.0, 0.0); }) {
      if (kind == MouseKind::Down) emit self()->MouseDown(button, shift, x, y);
      if (kind == MouseKind::Up) emit self()->MouseUp(button, shift, x, y);
      if (kind == MouseKind::Move) emit self()->MouseMove(button, shift, x, y);
    }
  }

  void RaiseClick() {
    if constexpr (requires(Self * s) { s->Click(); }) emit self()->Click();
  }
  void RaiseDblClick() {
    if constexpr (requires(Self * s) { s->DblClick(); }) emit self()->DblClick();
  }

  // Key press: KeyDown, then KeyPress, then the widget's own handling of what is left.
  void keyPressEvent(QKeyEvent* e) override {
    QPointer<QWidget> alive(this);
    e->accept();
    if (!RaiseKeyDown(e) || !alive) return;
    int typed = KeyAsciiFromQt(e->key(), e->modifiers(), e->text());
    int keyAscii = RaiseKeyPress(e);
    if (!alive || (typed != 0 && keyAscii == 0)) return;
    if (keyAscii != typed && keyAscii >= 32) {
      // The handler replaced the character: the widget types the new one instead.
      QKeyEvent replaced(e->type(), Qt::Key_unknown, Qt::NoModifier, QString(QChar(keyAscii)));
      W::keyPressEvent(&replaced);
    } else {
      W::keyPressEvent(e);
    }
    e->accept();  // keys stay with the control that has the focus
  }

  void keyReleaseEvent(QKeyEvent* e) override {
    QPointer<QWidget> alive(this);
    RaiseKeyUp(e);
    if (!alive) return;
    W::keyReleaseEvent(e);
    e->accept();
  }

  void mousePressEvent(QMouseEvent* e) override {
    if (inDoubleClick_) {  // QWidget's double-click handling presses again: raise nothing
      W::mousePressEvent(e);
      return;
    }
    QPointer<QWidget> alive(this);
    RaiseMouse(MouseKind::Down, *e, e->position());
    if (!alive) return;
    clickPending_ = e->button() == Qt::LeftButton;
    W::mousePressEvent(e);
    e->accept();
  }

  void mouseReleaseEvent(QMouseEvent* e) override {
    QPointer<QWidget> alive(this);
    bool click = clickPending_ && e->button() == Qt::LeftButton &&
                 this->rect().contains(e->position().toPoint());
    clickPending_ = false;
    RaiseMouse(MouseKind::Up, *e, e->position());
    if (!alive) return;
    W::mouseReleaseEvent(e);
    if (!alive) return;
    e->accept();
    if constexpr (Self::kClickOnMouseUp) {
      if (click) RaiseClick();
    }
  }

  void mouseDoubleClickEvent(QMouseEvent* e) override {
    QPointer<QWidget> alive(this);
    inDoubleClick_ = true;
    W::mouseDoubleClickEvent(e);
    if (!alive) return;
    inDoubleClick_ = false;
    clickPending_ = false;  // the release that ends a double click is no click
    e->accept();
    RaiseDblClick();
  }

  void mouseMoveEvent(QMouseEvent* e) override {
    QPointer<QWidget> alive(this);
    RaiseMouse(MouseKind::Move, *e, e->position());
    if (!alive) return;
    W::mouseMoveEvent(e);
    e->accept();
  }

  // True once after SetFocus gave the focus that has not arrived yet.
  bool TakeFocusFromCode() { return std::exchange(focusFromCode_, false); }

  void focusInEvent(QFocusEvent* e) override {
    W::focusInEvent(e);
    const bool fromCode = TakeFocusFromCode();
    if constexpr (requires(Self * s) { s->GotFocus(); }) {
      if (fromCode || IsControlFocusChange(e->reason())) emit self()->GotFocus();
    }
  }

  void focusOutEvent(QFocusEvent* e) override {
    W::focusOutEvent(e);
    focusTakenByMouse_ = e->reason() == Qt::MouseFocusReason;
    if constexpr (requires(Self * s) { s->LostFocus(); }) {
      if (IsControlFocusChange(e->reason())) emit self()->LostFocus();
    }
  }

 private:
  void PaintRole(QPalette::ColorRole role, uint32_t colour, bool alsoDisabled) {
    // System colours come from the unchanged palette, not from colours set before.
    QColor shown = ToQColor(colour, QApplication::palette(this));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Active, role, shown);
    palette.setColor(QPalette::Inactive, role, shown);
    if (alsoDisabled) palette.setColor(QPalette::Disabled, role, shown);
    this->setPalette(palette);
  }

  uint32_t fore_ = 0;
  uint32_t back_ = 0;
  bool clickPending_ = false;
  bool inDoubleClick_ = false;
  bool focusFromCode_ = false;  // SetFocus gave the focus before the window was active
  bool focusTakenByMouse_ = false;
};

}  // namespace cps
