#include <gtest/gtest.h>

#include "channels/ToneOptionRules.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/KeyCodes.h"
#include "support/QtPrinters.h"

namespace {

constexpr int kIndex = 6;  // channel 7
uint8_t& Byte(int field) { return CodeplugImage[layout::ChannelOffset(kIndex + 1) + field]; }

using cps::kKeyDown;
using cps::kKeyLeft;
using cps::kKeyRight;
using cps::kKeyUp;

}  // namespace

TEST(ToneDialog, OpensOnTheDecodedOptionAndEntry) {
  ResetModuleState();
  // Receive byte 80 with bit 5: inverted code 37 ("263").
  Byte(6) = 80;
  Byte(9) = 0x20;
  ToneDialogStart start = StartToneDialog(kIndex, SquelchSide::kRx);
  EXPECT_EQ(start.option, kSquelchIdks);
  EXPECT_EQ(start.entry, 37);
  EXPECT_EQ(RxSquelchOption[kIndex], kSquelchIdks);
  EXPECT_EQ(ToneDialogHeight(LayoutForOption(start.option)), 5100);

  // The transmit side reads bit 6 only.
  Byte(7) = 80;
  start = StartToneDialog(kIndex, SquelchSide::kTx);
  EXPECT_EQ(start.option, kSquelchDks);
  EXPECT_EQ(TxSquelchOption[kIndex], kSquelchDks);

  Byte(6) = 42;
  start = StartToneDialog(kIndex, SquelchSide::kRx);
  EXPECT_EQ(start.option, kSquelchTks);
  EXPECT_EQ(start.entry, 41);
  EXPECT_EQ(ToneDialogHeight(LayoutForOption(start.option)), 4500);

  Byte(7) = 129;
  start = StartToneDialog(kIndex, SquelchSide::kTx);
  EXPECT_EQ(start.option, kSquelchTks2);
  EXPECT_EQ(start.entry, 0);
  for (int option : {kSquelchCsq, kSquelchTks1, kSquelchTks2, kSquelchTks3}) {
    EXPECT_EQ(ToneDialogHeight(LayoutForOption(option)), 1100) << option;
  }

  // 131..255: the option last recorded for that channel and side, CSQ when none was.
  Byte(6) = 200;
  EXPECT_EQ(StartToneDialog(kIndex, SquelchSide::kRx).option, kSquelchTks);
  Byte(7) = 255;
  EXPECT_EQ(StartToneDialog(kIndex, SquelchSide::kTx).option, kSquelchTks2);
  CodeplugImage[layout::ChannelOffset(3) + 6] = 200;
  start = StartToneDialog(2, SquelchSide::kRx);
  EXPECT_EQ(start.option, kSquelchCsq);
  EXPECT_EQ(start.entry, 0);
}

TEST(ToneDialog, ToneTableWrapsAtItsEdges) {
  EXPECT_EQ(MoveInToneTable(40, kKeyRight), 4);
  EXPECT_EQ(MoveInToneTable(35, kKeyRight), 8);
  EXPECT_EQ(MoveInToneTable(33, kKeyRight), 6);
  EXPECT_EQ(MoveInToneTable(0, kKeyRight), 9);
  EXPECT_EQ(MoveInToneTable(5, kKeyLeft), 41);
  EXPECT_EQ(MoveInToneTable(7, kKeyLeft), 34);
  EXPECT_EQ(MoveInToneTable(0, kKeyLeft), 36);
  EXPECT_EQ(MoveInToneTable(10, kKeyLeft), 1);
  EXPECT_EQ(MoveInToneTable(36, kKeyUp), 41);
  EXPECT_EQ(MoveInToneTable(41, kKeyDown), 36);
  EXPECT_EQ(MoveInToneTable(18, kKeyUp), 26);
  EXPECT_EQ(MoveInToneTable(26, kKeyDown), 18);
  EXPECT_EQ(MoveInToneTable(0, kKeyUp), 8);
  EXPECT_EQ(MoveInToneTable(20, kKeyDown), 21);
  EXPECT_EQ(MoveInToneTable(20, cps::kKeyHome), 20);
}

TEST(ToneDialog, CodeTableWrapsAtItsEdges) {
  EXPECT_EQ(MoveInCodeTable(84, kKeyRight), 7);
  EXPECT_EQ(MoveInCodeTable(76, kKeyRight), 10);
  EXPECT_EQ(MoveInCodeTable(74, kKeyRight), 8);
  EXPECT_EQ(MoveInCodeTable(0, kKeyLeft), 77);
  EXPECT_EQ(MoveInCodeTable(9, kKeyLeft), 75);
  EXPECT_EQ(MoveInCodeTable(7, kKeyLeft), 84);
  EXPECT_EQ(MoveInCodeTable(77, kKeyUp), 84);
  EXPECT_EQ(MoveInCodeTable(84, kKeyDown), 77);
  EXPECT_EQ(MoveInCodeTable(11, kKeyUp), 21);
  EXPECT_EQ(MoveInCodeTable(21, kKeyDown), 11);
  EXPECT_EQ(MoveInCodeTable(50, kKeyUp), 49);
  EXPECT_EQ(MoveInCodeTable(50, cps::kKeyEnd), 50);
}

TEST(ToneDialog, ReceiveChoicesSetTheMuteColumnOnly) {
  ResetModuleState();
  Byte(7) = 80;
  Byte(8) = 0x1E;
  Byte(9) = 0x60;  // both codes inverted
  RevBurstState[kIndex] = 2;

  // Carrier squelch on the receive side: the transmit side's inverted code stays.
  SquelchApplyOutcome out = ApplySquelchChoice(kIndex, SquelchSide::kRx, {0, std::nullopt});
  EXPECT_EQ(out.optionText, " CSQ");
  EXPECT_EQ(Byte(6), 0);
  EXPECT_EQ(Byte(9), 0x40);
  EXPECT_EQ(Byte(7), 80);
  EXPECT_EQ(Byte(8), 0x1E);
  ASSERT_TRUE(out.mute);
  EXPECT_EQ(out.mute->colour, CellColour::kGrey);
  EXPECT_FALSE(out.mute->text);
  EXPECT_FALSE(out.turnOffCode);
  EXPECT_FALSE(out.reverseBurst);
  EXPECT_EQ(RxSquelchOption[kIndex], kSquelchCsq);
  EXPECT_EQ(RevBurstState[kIndex], 2);

  out = ApplySquelchChoice(kIndex, SquelchSide::kRx, {127, true});
  EXPECT_EQ(out.optionText, " IDKS: 754");
  EXPECT_EQ(Byte(6), 127);
  EXPECT_EQ(Byte(9), 0x60);
  EXPECT_EQ(out.mute->colour, CellColour::kNormal);
  out = ApplySquelchChoice(kIndex, SquelchSide::kRx, {127, false});
  EXPECT_EQ(out.optionText, " DKS: 754");
  EXPECT_EQ(Byte(9), 0x40);

  RxSquelchOption[kIndex] = 3;
  out = ApplySquelchChoice(kIndex, SquelchSide::kRx, {130, std::nullopt});
  EXPECT_EQ(out.optionText, " TKS3");
  EXPECT_EQ(RxSquelchOption[kIndex], kSquelchTks3);
  EXPECT_EQ(Byte(8), 0x1E);
}

TEST(ToneDialog, TransmitChoicesResetTurnOffCodeAndReverseBurstThatNoLongerApply) {
  ResetModuleState();
  // TOC on, reverse burst 240 (state 2), transmit code inverted, receive bits too.
  Byte(8) = 0x1D;
  Byte(9) = 0x62;
  RevBurstState[kIndex] = 2;

  // A tone: TOC off and grey, reverse burst available as it was.
  SquelchApplyOutcome out = ApplySquelchChoice(kIndex, SquelchSide::kTx, {1, std::nullopt});
  EXPECT_EQ(out.optionText, " TKS: 67.0 Hz");
  EXPECT_EQ(Byte(7), 1);
  EXPECT_EQ(Byte(9), 0x22) << "transmit inversion cleared, receive bit and TA stay";
  EXPECT_EQ(Byte(8), 0x0D);
  EXPECT_EQ(out.turnOffCode->colour, CellColour::kGrey);
  EXPECT_EQ(out.turnOffCode->text, "Off");
  EXPECT_EQ(out.reverseBurst->colour, CellColour::kNormal);
  EXPECT_FALSE(out.reverseBurst->text);
  EXPECT_EQ(RevBurstState[kIndex], 2);
  EXPECT_FALSE(out.mute);

  // A code: reverse burst None and grey, state 0; TOC available with its bit as it was.
  Byte(8) = 0x1D;
  out = ApplySquelchChoice(kIndex, SquelchSide::kTx, {43, false});
  EXPECT_EQ(out.optionText, " DKS: 023");
  EXPECT_EQ(Byte(8), 0x11);
  EXPECT_EQ(out.reverseBurst->colour, CellColour::kGrey);
  EXPECT_EQ(out.reverseBurst->text, "None");
  EXPECT_EQ(RevBurstState[kIndex], 0);
  EXPECT_EQ(out.turnOffCode->colour, CellColour::kNormal);
  EXPECT_FALSE(out.turnOffCode->text);

  // Carrier squelch: both grey and reset; the option is recorded.
  Byte(8) = 0xDD;
  RevBurstState[kIndex] = 1;
  TxSquelchOption[kIndex] = 2;
  out = ApplySquelchChoice(kIndex, SquelchSide::kTx, {0, std::nullopt});
  EXPECT_EQ(Byte(8), 0xC1);
  EXPECT_EQ(out.turnOffCode->text, "Off");
  EXPECT_EQ(out.reverseBurst->text, "None");
  EXPECT_EQ(RevBurstState[kIndex], 0);
  EXPECT_EQ(TxSquelchOption[kIndex], kSquelchCsq);

  // A user tone counts as a tone; a table choice records no option.
  Byte(8) = 0x18;
  out = ApplySquelchChoice(kIndex, SquelchSide::kTx, {129, std::nullopt});
  EXPECT_EQ(out.optionText, " TKS2");
  EXPECT_EQ(Byte(8), 0x08);
  EXPECT_EQ(out.reverseBurst->colour, CellColour::kNormal);
  EXPECT_EQ(TxSquelchOption[kIndex], kSquelchTks2);
  ApplySquelchChoice(kIndex, SquelchSide::kTx, {50, true});
  EXPECT_EQ(TxSquelchOption[kIndex], kSquelchTks2);
  EXPECT_EQ(Byte(9) & 0x40, 0x40);
}
