// Owned windows. Every dialog, message box and prompt of the program belongs to the window it
// disables: that window is its transient parent, so any window manager keeps it above its owner
// whatever the user clicks, and it opens over its owner. A window that blocks its owner says so
// to the window system (its modality), so that the keyboard stays with it whatever is clicked
// behind it, and a window shown through ShowOwned gives the keyboard back to its owner when it
// closes, which a window manager may not do. Every opening is announced first, so that a control
// the mouse holds lets go before the new window takes the mouse.
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
// When the window hides with the keyboard, the owner's window takes the keyboard once control is
// back in the event loop, if it is then shown and enabled and no other window of the program has
// the keyboard or blocks it.
enum class Placement { kCentreOnOwner, kKeepPlace };
void ShowOwned(QWidget& window, QWidget* owner, Placement placement = Placement::kCentreOnOwner,
               Qt::WindowModality modality = Qt::ApplicationModal);

}  // namespace cps
