// The editor over a codeplug loaded as File>Open loads one, on its settings tab: reset module
// state, scripted dialogs, a scratch program folder, the main window shown with the editor in it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "editor/FillChain.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/Defaults.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"
#include "shell/MDIFormMain.h"
#include "support/AppTestBase.h"
#include "support/QtPrinters.h"

class SettingsTest : public AppTestBase {
 protected:
  void SetUp() override {
    AppTestBase::SetUp();
    MDIFormMain().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&MDIFormMain()));
    frmMain().tmrTimer1->stop();
    BaseImage();
  }

  static FrmMain& f() { return frmMain(); }

  // Channel n on 464.025 MHz (band 1) both ways, or receive only.
  static void SetChannel(int channel, bool withTx = true) {
    const uint8_t record[10] = {212, 5, 1, 4, 34, 1, 14, 14, 0x8D, 0x80};
    for (int i = 0; i < 10; ++i) CodeplugImage[layout::ChannelOffset(channel) + i] = record[i];
    if (!withTx) CodeplugImage[layout::ChannelOffset(channel) + 5] = 0xFC;
    CodeplugImage[layout::RxStepFlag(channel)] = 1;
    CodeplugImage[layout::TxStepFlag(channel)] = 1;
  }

  // Exactly these channels in the scan list: slots and both bitmap bytes.
  static void SetScanList(std::initializer_list<int> channels) {
    CodeplugImage.Fill(layout::ScanListSlot(1), layout::ScanListSlot(16), 0);
    int bitmap = 0;
    for (int n : channels) {
      CodeplugImage[layout::ScanListSlot(n)] = static_cast<uint8_t>(n);
      bitmap |= 1 << (n - 1);
    }
    CodeplugImage.SetWord(layout::kScanListBitmap, bitmap);
  }

  static void SetBytes(int first, std::initializer_list<int> values) {
    for (int v : values) CodeplugImage[first++] = static_cast<uint8_t>(v);
  }

  // 16 channels on band 1, all with both frequencies; channel 1 alone in the scan list and the
  // priority channel; TOT on; 180 s, 100 ms, 4000 ms, 4000 ms, 5 s; user tones 120.0 Hz;
  // buttons Monitor / Sticky Monitor and Scan / Nuisance Channel Delete.
  static void BaseImage() {
    CodeplugImage.Fill(0, layout::kImageSize - 1, 0);
    SetBytes(layout::kBandCode, {1, layout::kOptTot, 18, 10, 8, 16, 5});
    CodeplugImage[layout::kRegionCode] = 6;
    CodeplugImage[layout::kPrioScanChannel] = 1;
    for (int n = 1; n <= 16; ++n) SetChannel(n);
    SetScanList({1});
    for (int k = 0; k < 3; ++k) {
      CodeplugImage.SetWord(layout::UserToneRx(k), 1200);
      CodeplugImage.SetWord(layout::UserToneTx(k), 1200);
    }
    SetBytes(layout::kButton1Short, {3, 4, 5, 11});
  }

  // The file-open road over the image as it stands; then the settings tab, nothing changed,
  // warned or shown yet.
  static void Load() {
    CodeplugLoading = true;
    RefillShortPressLists();
    ASSERT_EQ(FillLoadedImageChain(), LoadOutcome::Editable);
    CodeplugLoading = false;
    DataModified = false;
    PrioScanErrorShown = false;
    f().sstMain->SetTab(0);
    cps::DialogScript::Reset();
  }

  static void Click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, QPoint(6, control->height() / 2));
  }
  static void Key(QWidget* control, Qt::Key key) { QTest::keyClick(control, key); }

  static void ClickEntry(cps::ListBox* list, const QString& text) {
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(items[0]).center());
  }

  // The spin control's up (+1) or down (-1) arrow.
  static void ClickArrow(cps::UpDown* spin, int direction) {
    for (QToolButton* arrow : spin->findChildren<QToolButton*>()) {
      if (arrow->arrowType() == (direction > 0 ? Qt::UpArrow : Qt::DownArrow)) {
        QTest::mouseClick(arrow, Qt::LeftButton);
      }
    }
  }

  template <class List>
  static QStringList Entries(const List& list) {
    QStringList entries;
    for (int i = 0; i < list.ListCount(); ++i) entries << list.List(i);
    return entries;
  }

  static QStringList Messages() {
    QStringList texts;
    for (const cps::ShownMessage& m : cps::DialogScript::Messages()) texts << m.prompt;
    return texts;
  }

  static bool On(const QWidget* control) { return !control->testAttribute(Qt::WA_ForceDisabled); }
  static int Byte(int index) { return CodeplugImage[index]; }

 private:
};
