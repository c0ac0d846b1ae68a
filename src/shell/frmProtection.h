// The codeplug password prompt frmProtection ("Password"). A loaded codeplug that carries a
// password stays visible but locked in the editor until its password is typed here. The right
// password unlocks the editor and every command of the main window; Cancel, the close box or a
// third wrong try leave the codeplug locked with only Save available.
//
// It is a top-level window of its own, owned by the main window: the main window is disabled
// while it is open, and the prompt stays usable. Wrong tries are counted in PasswordAttempts,
// which the radio password prompt shares.
#pragma once

#include <QString>
#include <QWidget>

namespace cps {
class CommandButton;
class Label;
class TextBox;
}  // namespace cps

// The texts the prompt shows.
inline constexpr char kCodeplugProtectedText[] = "Codeplug is protected.";
inline constexpr char kEnterPasswordText[] = "Please enter password.";
inline constexpr char kInvalidPasswordText[] = "Invalid password.";
inline constexpr char kEnterCorrectPasswordText[] = "Please enter correct password.";

class FrmProtection : public QWidget {
  Q_OBJECT

 public:
  FrmProtection();
  ~FrmProtection() override;

  void cmdPassOk_Click();
  void cmdPassCancel_Click();
  // The closing: runs on the close box and on every close that OK performs.
  void Form_Unload();

  // In tab order.
  cps::TextBox* txtPassword;          // masked, at most 8 typed characters
  cps::CommandButton* cmdPassOk;      // "&OK", pressed by Enter
  cps::CommandButton* cmdPassCancel;  // "&Cancel", not bound to Esc
  cps::Label* lblPassWord;            // "Please enter password."
  cps::Label* Label1;                 // "Codeplug is protected."

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Unlock(const QString& stored);
  void ShowWrongTryTexts();
};

// The password the codeplug image carries: image byte 379 gives its length, bytes 370 onward
// its characters (one per byte, zero bytes included), cut off at the image's last byte 399.
QString StoredCodeplugPassword();

// Opens the prompt for a codeplug that a loader has just filled into the editor and locked: the
// main window disabled, the prompt shown owned by it with "Codeplug is protected." and "Please
// enter password.", its password box focused. Returns at once; the prompt's buttons do the rest.
// Every loader calls it: File>Open, the command-line open, the template load and the radio read.
void ShowCodeplugPasswordPrompt();

// The one prompt window, created on first use.
FrmProtection& frmProtection();
bool IsFrmProtectionLoaded();
// Runs Form_Unload and closes the prompt (deleted once control returns to the event loop).
void UnloadFrmProtection();
void DestroyFrmProtectionForTests();
