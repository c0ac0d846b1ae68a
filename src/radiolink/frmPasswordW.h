// The radio password prompt frmPasswordW ("Password"). A write that finds a password in the
// radio waits here: only the radio's own password, typed exactly, lets the write go on. Three
// wrong tries, Cancel or the close box end the write. Wrong tries are counted in
// PasswordAttempts, shared with the codeplug password prompt.
#pragma once

#include <QWidget>

namespace cps {
class CommandButton;
class Label;
class TextBox;
}  // namespace cps

class FrmPasswordW : public QWidget {
  Q_OBJECT

 public:
  FrmPasswordW();
  ~FrmPasswordW() override;

  void cmdPassOk_Click();
  void cmdPassCancel_Click();
  void Form_Unload();  // every closing runs it

  // In tab order.
  cps::TextBox* txtPassword;          // masked, at most 8 characters
  cps::CommandButton* cmdPassOk;      // "&OK", pressed by Enter
  cps::CommandButton* cmdPassCancel;  // "&Cancel"
  cps::Label* Label1;                 // "Codeplug is protected."
  cps::Label* lblPassWord;            // "Please enter password."

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// Shows the prompt for the write: owned by the programming window, which it disables,
// the password box focused. Returns at once.
void ShowRadioPasswordPrompt();

FrmPasswordW& frmPasswordW();
bool IsFrmPasswordWLoaded();
// Runs Form_Unload and closes the prompt (deleted once control returns to the event loop).
void UnloadFrmPasswordW();
void DestroyFrmPasswordWForTests();
