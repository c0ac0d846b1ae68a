#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "ActiveWindow.h"
#include "platform/TextBox.h"

using namespace cps;

namespace {

// What one keystroke raised on a text box: key code and shift of KeyDown, character of
// KeyPress (0 when none was raised).
struct Raised {
  int keyCode = 0;
  int shift = -1;
  int keyAscii = 0;
  bool operator==(const Raised&) const = default;
};

class KeyRecorder {
 public:
  KeyRecorder() : box(&window) {
    box.show();
    box.SetFocus();
    QObject::connect(&box, &TextBox::KeyDown, [this](int& code, int shift) {
      last.keyCode = code;
      last.shift = shift;
    });
    QObject::connect(&box, &TextBox::KeyPress, [this](int& ascii) { last.keyAscii = ascii; });
  }

  Raised Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    last = Raised{};
    QTest::keyClick(&box, key, modifiers);
    return last;
  }
  Raised Type(char c, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    last = Raised{};
    QTest::keyClick(&box, c, modifiers);
    return last;
  }

  ActiveWindow window;
  TextBox box;
  Raised last;
};

}  // namespace

TEST(KeyCodes, KeysAndCharactersGetThePlatformsCodes) {
  KeyRecorder keys;
  ASSERT_TRUE(keys.window.active);
  EXPECT_EQ(keys.Press(Qt::Key_Return), (Raised{13, 0, 13}));
  EXPECT_EQ(keys.Press(Qt::Key_Enter, Qt::KeypadModifier), (Raised{13, 0, 13}));
  EXPECT_EQ(keys.Press(Qt::Key_Escape), (Raised{27, 0, 27}));
  EXPECT_EQ(keys.Press(Qt::Key_Backspace), (Raised{8, 0, 8}));
  EXPECT_EQ(keys.Press(Qt::Key_Up), (Raised{38, 0, 0}));
  EXPECT_EQ(keys.Press(Qt::Key_Down), (Raised{40, 0, 0}));
  EXPECT_EQ(keys.Press(Qt::Key_Left), (Raised{37, 0, 0}));
  EXPECT_EQ(keys.Press(Qt::Key_Right), (Raised{39, 0, 0}));
  EXPECT_EQ(keys.Press(Qt::Key_Home), (Raised{36, 0, 0}));
  EXPECT_EQ(keys.Press(Qt::Key_End), (Raised{35, 0, 0}));
  EXPECT_EQ(keys.Press(Qt::Key_F1), (Raised{112, 0, 0}));
  EXPECT_EQ(keys.Press(Qt::Key_Control, Qt::ControlModifier), (Raised{17, 2, 0}));
  EXPECT_EQ(keys.Type('7'), (Raised{55, 0, 55}));
  EXPECT_EQ(keys.Type('7', Qt::KeypadModifier), (Raised{103, 0, 55}));
  EXPECT_EQ(keys.Type('a'), (Raised{65, 0, 97}));
  EXPECT_EQ(keys.Type('A', Qt::ShiftModifier), (Raised{65, 1, 65}));
  EXPECT_EQ(keys.Type(' '), (Raised{32, 0, 32}));
  EXPECT_EQ(keys.Type('c', Qt::ControlModifier), (Raised{67, 2, 3}));
  EXPECT_EQ(keys.Type('v', Qt::ControlModifier), (Raised{86, 2, 22}));
  EXPECT_EQ(keys.Type('x', Qt::ControlModifier), (Raised{88, 2, 24}));
}

TEST(KeyCodes, DeleteKeyAndPointCharacterStayDistinct) {
  KeyRecorder keys;
  ASSERT_TRUE(keys.window.active);
  // The Delete key is key code 46 and types nothing; the point is character 46 on another key.
  EXPECT_EQ(keys.Press(Qt::Key_Delete), (Raised{46, 0, 0}));
  EXPECT_EQ(keys.Type('.'), (Raised{190, 0, 46}));
  EXPECT_EQ(keys.Type('.', Qt::KeypadModifier), (Raised{110, 0, 46}));
  EXPECT_EQ(keys.Type('-'), (Raised{189, 0, 45}));
}
