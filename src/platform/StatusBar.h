// A status bar of text panels.
#pragma once

#include <QStatusBar>
#include <QVector>

#include "platform/ControlBase.h"

class QLabel;

namespace cps {

// Promises: panels are numbered from 1; a panel keeps its text until code replaces it (nothing
// clears it on a timer or when the pointer leaves a control). Panel 1 takes the spare width.
class StatusBar : public ControlBase<StatusBar, QStatusBar> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::WindowText, QPalette::Window,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = false;

  explicit StatusBar(int panels = 1, QWidget* parent = nullptr);

  int Panels() const { return panels_.size(); }
  // Empty for a panel that does not exist.
  QString PanelText(int panel) const;
  // False, and nothing changes, for a panel that does not exist.
  bool SetPanelText(int panel, const QString& text);

 private:
  QVector<QLabel*> panels_;
};

}  // namespace cps
