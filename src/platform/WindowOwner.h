// Owned windows. Every dialog, message box and prompt of the program belongs to the window it
// disables: that window is its transient parent, so any window manager keeps it above its owner
// whatever the user clicks, and it opens over its owner. A window that blocks its owner says so
// to the window system (its modality), so that the keyboard stays with it whatever is clicked
// behind it. When an owned window (one shown through ShowOwned, a message box, a dialog) hides
// with the keyboard, its owner's window takes the keyboard back once control is in the event loop
// again, if it is then shown and enabled and no other window of the program has the keyboard or
// blocks it: a window manager may not give it back. Every opening is announced first, so that a
// control the mouse holds lets go before the new window takes the mouse, and from the first one
// on the keyboard goes back.
#pragma once

#include <QObject>

class QWidget;

namespace cps {

// Announces each window the program opens: message boxes and file and printer dialogs (also
// when a test answers them) and the windows shown through ShowOwned.
class WindowOpenings : public QObject {
  Q_OBJECT

 public:
  static WindowOpenings& Instance();
  void Announce() { emit Opening(); }

 signals:
  void Opening();
};

// The window a box or dialog opened now belongs to: the modal window in front, else the active
// window while it is usable, else the last owned window still open and usable (the program is
// not the active one, or a click activated a window that an owned one disables), else any
// window of the program that is shown and usable. Never a disabled window; nullptr when none is
// shown and usable.
QWidget* CurrentOwner();

// Makes window (a top-level window of its own, not a child of owner, so that disabling the owner
// leaves it usable) belong to owner's window. Nothing when owner is nullptr.
void SetOwner(QWidget& window, QWidget* owner);

// Shows window owned by owner: centred on the owner (or where it was placed already), raised
// and activated. Announced as an opening. modality is what the window blocks while it is shown:
// by default the program's other windows, as a message box does (its owner, which the caller
// disables, is the one usable window behind it). Application-modal, not window-modal: a window
// manager gives the keyboard to a window-modal window's owner when the owner is clicked.
enum class Placement { kCentreOnOwner, kKeepPlace };
void ShowOwned(QWidget& window, QWidget* owner, Placement placement = Placement::kCentreOnOwner,
               Qt::WindowModality modality = Qt::ApplicationModal);

}  // namespace cps
