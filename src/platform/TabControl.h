// A tabbed control: captioned tabs, each with a page that holds controls.
#pragma once

#include <QTabWidget>

#include "platform/ControlBase.h"

namespace cps {

// Promises:
// - Tab is the index of the tab shown (0 the first). Click(previousTab) is raised whenever the
//   shown tab changes, by the user or by SetTab, at once and nested; setting the shown tab
//   raises nothing. SetTab refuses an index outside 0..Tabs-1 (returns false).
// - Adding tabs raises nothing.
// - The Tab key reaches KeyDown (and does not move the focus by itself) while the tabs have the
//   focus; the arrow keys switch tabs.
// - Mouse events are raised over the tabs and over the pages' free area.
class TabControl : public ControlBase<TabControl, QTabWidget> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::WindowText, QPalette::Window,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = false;

  explicit TabControl(QWidget* parent = nullptr);
  ~TabControl() override;

  // Adds a tab with this caption ("&" marks the access key) and returns its page, the parent
  // for the tab's controls.
  QWidget* AddTab(const QString& caption);
  int Tabs() const { return count(); }
  QWidget* Page(int index) const { return widget(index); }
  QString TabCaption(int index) const { return tabText(index); }
  void SetTabCaption(int index, const QString& caption) { setTabText(index, caption); }

  int Tab() const { return tab_; }
  bool SetTab(int index);

 signals:
  void Click(int previousTab);
  void DblClick();
  void KeyDown(int& keyCode, int shift);
  void KeyPress(int& keyAscii);
  void KeyUp(int& keyCode, int shift);
  void GotFocus();
  void LostFocus();
  void MouseDown(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TabControlBar;  // the tabs raise the control's events
  void OnCurrentChanged(int index);

  int tab_ = -1;
  bool adding_ = false;
};

}  // namespace cps
