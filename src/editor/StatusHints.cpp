#include "editor/StatusHints.h"

#include <QWidget>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/StatusBar.h"
#include "platform/TextConv.h"

namespace {

constexpr int kHintPanel = 1;

// Carries one control's name from its MouseMove to the status bar. The connection is made by
// signal name, so every kind of control with a MouseMove event can use it.
class HintRelay : public QObject {
  Q_OBJECT

 public:
  HintRelay(const QString& control, QObject* parent) : QObject(parent), control_(control) {}

 public slots:
  void Show() { ShowStatusHint(control_); }

 private:
  QString control_;
};

}  // namespace

QString PriorityChannelHint() {
  return "Priority Scan Channel Number : 1 to " +
         cps::DecimalText(CodeplugImage[layout::kChannelCount]) + "Ch";
}

QString StatusHintFor(const QString& controlName) {
  for (const StatusHint& hint : kStatusHints) {
    if (controlName != QLatin1String(hint.control)) continue;
    return hint.text == kComputedHint ? PriorityChannelHint() : QString::fromLatin1(hint.text);
  }
  return QString();
}

void ShowStatusHint(const QString& controlName) {
  if (!IsFrmMainLoaded()) return;
  frmMain().sbStatusBar->SetPanelText(kHintPanel, StatusHintFor(controlName));
}

void ConnectStatusHints(FrmMain& form) {
  QStringList connected;
  for (const StatusHint& hint : kStatusHints) {
    const QString name = QString::fromLatin1(hint.control);
    if (connected.contains(name)) continue;
    connected << name;
    QList<QWidget*> controls = form.findChildren<QWidget*>(name);
    for (QWidget* control : controls) {
      auto* relay = new HintRelay(name, control);
      QObject::connect(control, SIGNAL(MouseMove(int, int, double, double)), relay, SLOT(Show()));
    }
  }
}

#include "StatusHints.moc"
