// The about window: the product, its version and release date, and a legal warning. It is shown
// while the main window is disabled, as a window of its own so that it stays usable, and blocks
// the main window so that the keyboard stays with it; closing it (OK, Esc or the close box)
// enables the main window again.
#pragma once

#include <QWidget>

namespace cps {
class CommandButton;
class Label;
}  // namespace cps

inline constexpr char kVersionText[] = "V07.31";
inline constexpr char kReleaseDateText[] = "Release Date : 31 July 2007";

class FrmAbout : public QWidget {
  Q_OBJECT

 public:
  FrmAbout();
  ~FrmAbout() override;

  void Form_Load();
  void Form_Unload();
  void Command1_Click();
  void Command1_KeyDown(int& keyCode, int shift);

  cps::Label* lblRegion;
  cps::Label* lblProduct;
  cps::Label* lblVersion;
  cps::Label* lblDate;
  cps::Label* Label1;            // the legal warning
  cps::CommandButton* Command1;  // "OK"

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// The warning Label1 shows: two lines, an empty line and three lines, joined by CR LF.
QString AboutWarningText();

// The one about window, created (and its Form_Load run) on first use.
FrmAbout& frmAbout();
bool IsFrmAboutLoaded();
// Runs Form_Unload and closes the window (it is deleted once control returns to the event loop).
void UnloadFrmAbout();
void DestroyFrmAboutForTests();
