// The codeplug password prompt, reached the way a user reaches it: File>Open of a codeplug that
// carries a password.
#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "CodeplugFiles.h"
#include "ShellFixture.h"
#include "model/CodeplugLayout.h"
#include "platform/CommandButton.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "shell/frmProtection.h"

namespace {

const char kLockedOut[] =
    "                Error!\r\n\r\nInvalid password.\r\nCodeplug is password protected.";

class PasswordPrompt : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StartUp();
  }

  void OpenLocked(const ByteImage& image = testfiles::LockedImage()) {
    DataModified = false;  // no save question in between
    const QString path = ProgramFile("locked.cpg");
    WriteFile(path, testfiles::FileText(image));
    cps::DialogScript::ChooseNextFile(path);
    MDIFormMain().mnuFileOpen_Click();
  }

  static void Try(const QString& password) {
    frmProtection().txtPassword->SetText(password);
    frmProtection().cmdPassOk->Press();
  }

  static bool PromptShown() { return IsFrmProtectionLoaded() && frmProtection().isVisible(); }

  static QString Texts() {
    return frmProtection().Label1->Caption() + " / " + frmProtection().lblPassWord->Caption();
  }

  // The state of the main window's switched commands as one text, so a failure shows them all:
  // S(ave), W(rite), V(iew: Print Preview), P(rint), D(efault); upper case when enabled, with
  // the toolbar buttons agreeing with their menu items.
  static QString Commands() {
    MdiFormMain& main = MDIFormMain();
    auto mark = [](QAction* item, QAction* button, char letter) {
      const bool agree = button == nullptr || button->isEnabled() == item->isEnabled();
      QString text = item->isEnabled() ? QString(QChar(letter)) : QString(QChar(letter)).toLower();
      return agree ? text : text + "?";
    };
    return mark(main.mnuFileSave, main.tbToolBarButton(2), 'S') +
           mark(main.mnuWrite, main.tbToolBarButton(4), 'W') +
           mark(main.mnuFilePrintPreview, main.tbToolBarButton(6), 'V') +
           mark(main.mnuFilePrint, main.tbToolBarButton(7), 'P') +
           mark(main.mnuDefault, nullptr, 'D');
  }

  static bool EditorLocked() {
    return !frmMain().txtTotTime->Enabled() && !frmMain().txtPassword->Enabled() &&
           !frmMain().fgChannel->Enabled();
  }
};

}  // namespace

TEST_F(PasswordPrompt, OpeningALockedCodeplugShowsItGreyedAndAsksForThePassword) {
  OpenLocked();
  ASSERT_TRUE(PromptShown());
  FrmProtection& prompt = frmProtection();
  EXPECT_EQ(prompt.windowTitle(), "Password");
  EXPECT_EQ(Texts(), "Codeplug is protected. / Please enter password.");
  EXPECT_EQ(prompt.focusWidget(), prompt.txtPassword);
  EXPECT_EQ(Commands(), "Swvpd");
  // A window of its own, usable while the main window is disabled.
  EXPECT_FALSE(MDIFormMain().isEnabled());
  EXPECT_TRUE(prompt.isWindow());
  EXPECT_TRUE(prompt.isEnabled());
  ASSERT_NE(prompt.windowHandle(), nullptr);
  EXPECT_EQ(prompt.windowHandle()->transientParent(), MDIFormMain().windowHandle());
  EXPECT_EQ(QGuiApplication::modalWindow(), prompt.windowHandle());  // keeps the keyboard
  EXPECT_EQ(prompt.windowModality(), Qt::ApplicationModal);

  // The data is shown, greyed: the settings, the grid, the serial number.
  EXPECT_TRUE(EditorLocked());
  EXPECT_EQ(frmMain().fgChannel->TextMatrix(1, 1), "464.02500");
  EXPECT_EQ(frmMain().txtTotTime->Text(), "60");
  EXPECT_FALSE(frmMain().txtSerial->Enabled());
  EXPECT_FALSE(CodeplugLoading);
  EXPECT_TRUE(DataModified);
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PasswordPrompt, HasItsDesignedLayout) {
  OpenLocked();
  FrmProtection& prompt = frmProtection();
  EXPECT_EQ(prompt.size(), QSize(232, 153));  // 3480 x 2295 twips
  EXPECT_FALSE(prompt.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(prompt.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(prompt.txtPassword->geometry(), QRect(24, 72, 161, 25));
  EXPECT_EQ(prompt.cmdPassOk->geometry(), QRect(16, 112, 73, 25));
  EXPECT_EQ(prompt.cmdPassCancel->geometry(), QRect(120, 112, 73, 25));
  EXPECT_EQ(prompt.lblPassWord->geometry(), QRect(24, 40, 201, 17));
  EXPECT_EQ(prompt.Label1->geometry(), QRect(24, 16, 201, 17));
  EXPECT_EQ(prompt.cmdPassOk->Caption(), "&OK");
  EXPECT_EQ(prompt.cmdPassCancel->Caption(), "&Cancel");
  EXPECT_EQ(prompt.txtPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(prompt.txtPassword->MaxLength(), 8);
  EXPECT_EQ(prompt.txtPassword->font().family(), "Arial");
  EXPECT_TRUE(prompt.txtPassword->font().bold());
  EXPECT_EQ(prompt.txtPassword->font().pointSizeF(), 12.0);
  EXPECT_EQ(prompt.cmdPassOk->font().pointSizeF(), 9.75);
  EXPECT_EQ(prompt.txtPassword->nextInFocusChain(), prompt.cmdPassOk);
  EXPECT_EQ(prompt.cmdPassOk->nextInFocusChain(), prompt.cmdPassCancel);
}

TEST_F(PasswordPrompt, TheRightPasswordUnlocksEverything) {
  OpenLocked();
  // Typed and confirmed with Enter, which presses OK.
  QTest::keyClicks(frmProtection().txtPassword, "Ab12");
  QTest::keyClick(frmProtection().txtPassword, Qt::Key_Return);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  EXPECT_FALSE(IsFrmProtectionLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_EQ(Commands(), "SWVPD");
  EXPECT_TRUE(frmMain().txtTotTime->Enabled());
  EXPECT_TRUE(frmMain().fgChannel->Enabled());
  EXPECT_TRUE(frmMain().txtPassword->Enabled());
  EXPECT_EQ(frmMain().txtPassword->Text(), "Ab12");
  EXPECT_EQ(PasswordAttempts, 0);
  EXPECT_FALSE(CodeplugLocked);
  EXPECT_TRUE(Messages().isEmpty());

  // Saved, the codeplug keeps its password.
  cps::DialogScript::ChooseNextFile(ProgramFile("kept.cpg"));
  MDIFormMain().mnuFileSave_Click();
  EXPECT_EQ(ReadFile(ProgramFile("kept.cpg")), testfiles::FileText(testfiles::LockedImage()));
}

TEST_F(PasswordPrompt, TwoWrongTriesThenTheRightOneUnlocksAndTheNextPromptCountsAfresh) {
  OpenLocked();
  Try("ab12");  // the case of a letter differs
  EXPECT_TRUE(PromptShown());
  EXPECT_EQ(Texts(), "Invalid password. / Please enter correct password.");
  EXPECT_EQ(frmProtection().txtPassword->Text(), "");
  EXPECT_FALSE(MDIFormMain().isEnabled());
  EXPECT_EQ(Commands(), "Swvpd");
  EXPECT_EQ(PasswordAttempts, 1);

  Try("Ab1");  // one character short
  EXPECT_TRUE(PromptShown());
  EXPECT_EQ(PasswordAttempts, 2);
  Try("Ab12");
  EXPECT_FALSE(IsFrmProtectionLoaded());
  EXPECT_EQ(Commands(), "SWVPD");
  EXPECT_EQ(PasswordAttempts, 0);
  EXPECT_TRUE(Messages().isEmpty());

  // One wrong try and the right one; the next prompt again allows three tries.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  OpenLocked();
  EXPECT_EQ(Texts(), "Codeplug is protected. / Please enter password.");
  Try("x");
  Try("Ab12");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  OpenLocked();
  Try("x");
  Try("y");
  EXPECT_TRUE(PromptShown());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PasswordPrompt, TheThirdWrongTryLeavesTheCodeplugLockedWithOnlySave) {
  OpenLocked();
  Try("one");
  Try("two");
  EXPECT_TRUE(Messages().isEmpty());
  Try("three");

  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, kLockedOut);
  EXPECT_EQ(Messages()[0].title, "Password");
  EXPECT_EQ(Messages()[0].buttons, 0);  // OK only, no icon
  EXPECT_FALSE(IsFrmProtectionLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_EQ(Commands(), "Swvpd");
  EXPECT_TRUE(EditorLocked());
  EXPECT_EQ(PasswordAttempts, 0);

  // A save now keeps the stored password, whatever the password box holds.
  frmMain().txtPassword->SetText("zzz");
  cps::DialogScript::ChooseNextFile(ProgramFile("still-locked.cpg"));
  MDIFormMain().mnuFileSave_Click();
  EXPECT_EQ(ReadFile(ProgramFile("still-locked.cpg")),
            testfiles::FileText(testfiles::LockedImage()));
}

TEST_F(PasswordPrompt, CancelHidesThePromptAndLeavesOnlySave) {
  OpenLocked();
  Try("wrong");
  frmProtection().txtPassword->SetText("typed");
  frmProtection().cmdPassCancel->Press();

  ASSERT_TRUE(IsFrmProtectionLoaded());  // hidden, not closed
  EXPECT_FALSE(frmProtection().isVisible());
  EXPECT_EQ(frmProtection().txtPassword->Text(), "");
  EXPECT_EQ(Texts(), "Invalid password. / Please enter correct password.");
  EXPECT_EQ(PasswordAttempts, 0);
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_TRUE(frmMain().isEnabled());
  EXPECT_EQ(Commands(), "Swvpd");
  EXPECT_TRUE(EditorLocked());
  EXPECT_FALSE(frmMain().CmdAdd->Enabled());
  EXPECT_FALSE(frmMain().CmdRemove->Enabled());
  EXPECT_TRUE(Messages().isEmpty());

  // The next open shows the same prompt again with its first texts.
  OpenLocked();
  EXPECT_TRUE(PromptShown());
  EXPECT_EQ(Texts(), "Codeplug is protected. / Please enter password.");
  Try("Ab12");
  EXPECT_EQ(Commands(), "SWVPD");
}

TEST_F(PasswordPrompt, TheCloseBoxLeavesTheCodeplugLockedWithOnlySave) {
  OpenLocked();
  frmProtection().close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(IsFrmProtectionLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_EQ(Commands(), "Swvpd");
  EXPECT_TRUE(EditorLocked());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PasswordPrompt, ThePasswordLengthDecidesWhatMustBeTyped) {
  // A password whose length bytes say 0 is the empty password: OK with nothing typed unlocks.
  ByteImage image = testfiles::LockedImage();
  image[layout::kPasswordLength] = 0;
  image[layout::kPasswordLength2] = 0;
  OpenLocked(image);
  ASSERT_TRUE(PromptShown());
  Try("Ab12");
  EXPECT_EQ(PasswordAttempts, 1);
  Try("");
  EXPECT_FALSE(IsFrmProtectionLoaded());
  EXPECT_EQ(Commands(), "SWVPD");

  // Byte 379 empty: byte 236 gives the length.
  image = testfiles::LockedImage();
  image[layout::kPasswordLength2] = 0;
  OpenLocked(image);
  EXPECT_EQ(CodeplugImage[layout::kPasswordLength2], 4);
  Try("Ab12");
  EXPECT_FALSE(IsFrmProtectionLoaded());

  // A length beyond the field (a foreign file) reads no further than the image's last byte,
  // and cannot be matched by the eight characters the box takes.
  image = testfiles::LockedImage("Ab12");
  image[layout::kPasswordLength2] = 200;
  OpenLocked(image);
  const int indexErrors = ImageIndexErrorCount();
  EXPECT_EQ(StoredCodeplugPassword().size(), 30);
  Try("Ab12");
  Try("Ab12");
  Try("Ab12");
  EXPECT_EQ(ImageIndexErrorCount(), indexErrors);
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, kLockedOut);
}
