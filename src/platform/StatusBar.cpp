#include "platform/StatusBar.h"

#include <QLabel>

namespace cps {

StatusBar::StatusBar(int panels, QWidget* parent) : ControlBase<StatusBar, QStatusBar>(parent) {
  setSizeGripEnabled(false);
  for (int i = 0; i < panels; ++i) {
    auto* panel = new QLabel(this);
    panel->setTextFormat(Qt::PlainText);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addPermanentWidget(panel, i == 0 ? 1 : 0);
    panels_.append(panel);
  }
}

QString StatusBar::PanelText(int panel) const {
  if (panel < 1 || panel > panels_.size()) return QString();
  return panels_[panel - 1]->text();
}

bool StatusBar::SetPanelText(int panel, const QString& text) {
  if (panel < 1 || panel > panels_.size()) return false;
  panels_[panel - 1]->setText(text);
  return true;
}

}  // namespace cps
