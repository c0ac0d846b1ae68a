#include "platform/SendKeys.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPointer>
#include <QVector>
#include <QWidget>

namespace cps {
namespace {

struct Keystroke {
  int qtKey;
  QString text;
};

int NamedKey(const QString& name) {
  static const QHash<QString, int> kNames = {
      {"END", Qt::Key_End},      {"HOME", Qt::Key_Home},    {"LEFT", Qt::Key_Left},
      {"RIGHT", Qt::Key_Right},  {"UP", Qt::Key_Up},        {"DOWN", Qt::Key_Down},
      {"ENTER", Qt::Key_Return}, {"TAB", Qt::Key_Tab},      {"ESC", Qt::Key_Escape},
      {"DEL", Qt::Key_Delete},   {"BS", Qt::Key_Backspace},
  };
  return kNames.value(name.toUpper(), 0);
}

QString TextOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
      return "\r";
    case Qt::Key_Tab:
      return "\t";
    case Qt::Key_Escape:
      return "\x1b";
    case Qt::Key_Backspace:
      return "\b";
    default:
      return QString();
  }
}

// The keystrokes of keys; false when a braced name is unknown or a brace is not closed.
bool Parse(const QString& keys, QVector<Keystroke>& strokes) {
  for (int i = 0; i < keys.size(); ++i) {
    if (keys[i] != '{') {
      QChar c = keys[i];
      int qtKey = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
      strokes.append({qtKey, QString(c)});
      continue;
    }
    int close = keys.indexOf('}', i + 1);
    if (close < 0) return false;
    int qtKey = NamedKey(keys.mid(i + 1, close - i - 1));
    if (qtKey == 0) return false;
    strokes.append({qtKey, TextOf(qtKey)});
    i = close;
  }
  return true;
}

// Types the keystrokes into the control that has the focus now.
void Deliver(const QVector<Keystroke>& strokes) {
  for (const Keystroke& stroke : strokes) {
    QPointer<QWidget> target = QApplication::focusWidget();
    if (!target) return;
    QKeyEvent press(QEvent::KeyPress, stroke.qtKey, Qt::NoModifier, stroke.text);
    QApplication::sendEvent(target, &press);
    if (!target) return;
    QKeyEvent release(QEvent::KeyRelease, stroke.qtKey, Qt::NoModifier, stroke.text);
    QApplication::sendEvent(target, &release);
  }
}

}  // namespace

bool SendKeys(const QString& keys) {
  QVector<Keystroke> strokes;
  if (!Parse(keys, strokes)) return false;
  // Queued, so the keys arrive after the handler that sent them has returned.
  QMetaObject::invokeMethod(
      qApp, [strokes] { Deliver(strokes); }, Qt::QueuedConnection);
  return true;
}

}  // namespace cps
