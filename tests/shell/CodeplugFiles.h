// Codeplug images and files for the end-to-end file tests, built by hand from the layout that
// shell/CodeplugFile.h describes, so that the program's reader and writer are checked against
// them, not against themselves.
#pragma once

#include <QByteArray>
#include <QString>

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"

namespace testfiles {

// An image that an open followed by a save gives back unchanged: every field the writer or the
// editor's handlers touch already holds what they would put there.
//  - band 1 (450..470 MHz), 16 channels, region code 2; options 0xEC (talkback scan, battery
//    save, normal scan, time-out timer), timers 60 s, 350 ms, 3000 ms, 2000 ms, 10 s;
//  - channel 1 at 464.025 MHz both ways with tone 103.5 Hz, high power, wide band, 6.25 kHz
//    steps, alone in the scan list; channels 2..16 empty;
//  - buttons: 1 short "Monitor", long "Sticky Monitor"; 2 short "Scan", long "Nuisance
//    Channel Delete";
//  - user tones 120.0, 200.0, 255.0 Hz both ways with their period and window counts;
//  - serial number "SN1234", no regional number, no password, model "CRV-16", bandwidth code
//    0x20; a few bytes the program never interprets hold odd values.
inline ByteImage RoundTripImage() {
  ByteImage image;
  image[0] = 0x12;
  image[1] = 0x34;
  image[layout::kChannelCount] = 16;
  image[layout::kImageMarker] = 0xA5;
  image[layout::kBandCode] = 1;
  const int header[] = {0xEC, 6, 35, 6, 8, 10, 60, 20, 10, 1};  // bytes 5..14
  for (int i = 0; i < 10; ++i) image[layout::kOptionBits + i] = header[i];
  image[15] = 0x77;

  for (int channel = 1; channel <= 16; ++channel) {
    const int empty[] = {0x00, 0x00, 0xFC, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x81, 0x80};
    for (int i = 0; i < 10; ++i) image[layout::ChannelOffset(channel) + i] = empty[i];
  }
  const int channelOne[] = {212, 5, 1, 4, 34, 1, 14, 14, 0x8D, 0x80};
  for (int i = 0; i < 10; ++i) image[layout::ChannelOffset(1) + i] = channelOne[i];
  image[layout::RxStepFlag(1)] = 1;  // 6.25 kHz steps
  image[layout::TxStepFlag(1)] = 1;

  const int tones[] = {1200, 2000, 2550};
  for (int k = 0; k < 3; ++k) {
    image.SetWord(layout::UserToneRx(k), tones[k]);
    image.SetWord(layout::UserToneTx(k), tones[k]);
  }
  image[layout::ScanListSlot(1)] = 1;
  image[layout::kPasswordLength] = 0;
  image[layout::kRegionCode] = 2;
  image[layout::kUserToneRxRangeBits] = 0x01;  // receive tone 1 is below 151.4 Hz
  image[layout::kUserToneTxRangeBits] = 0x00;  // no transmit tone at or below 77.0 Hz
  image[layout::kButton1Short] = 3;
  image[layout::kButton1Long] = 4;
  image[layout::kButton2Short] = 5;
  image[layout::kButton2Long] = 11;
  image[layout::kScanListBitmap] = 1;  // channel 1
  image[layout::kScanListBitmap + 1] = 0;
  image[250] = 0x5A;

  // Period and window counts of 120.0, 200.0 and 255.0 Hz (block at 256 + 19k).
  struct Counts {
    int rxUpper, rxLower, rxWindow, word7, word9, word13, word15, rxPeriod, txAB, txC;
  };
  const Counts counts[] = {{473, 487, 9, 1720, 1640, 1640, 1560, 640, 480, 640},
                           {284, 292, 15, 1032, 972, 984, 924, 384, 288, 384},
                           {223, 229, 18, 810, 763, 772, 725, 301, 226, 301}};
  for (int k = 0; k < 3; ++k) {
    const int block = layout::UserToneBlock(k);
    image.SetWord(block + 0, counts[k].rxUpper);
    image.SetWord(block + 2, counts[k].rxLower);
    image[block + 4] = counts[k].rxWindow;
    image.SetWord(block + 5, counts[k].txAB);
    image.SetWord(block + 7, counts[k].word7);
    image.SetWord(block + 9, counts[k].word9);
    image.SetWord(block + 11, counts[k].txAB);
    image.SetWord(block + 13, counts[k].word13);
    image.SetWord(block + 15, counts[k].word15);
    image.SetWord(block + 17, counts[k].txC);
    image.SetWord(layout::UserToneRxPeriod(k), counts[k].rxPeriod);
  }
  image[layout::FrequencySegment(1)] = 2;

  const QByteArray serial = "SN1234";
  for (int i = 0; i < serial.size(); ++i) image[layout::kSerialNumber + i] = serial[i];
  const int version[] = {1, 2, 3, 0x10};  // D1.2.3.10
  for (int i = 0; i < 4; ++i) image[layout::kCodeplugVersion + i] = version[i];
  image.Fill(layout::kRegionalNumber, layout::kRegionalNumber + 15, 0xFF);  // none
  image[381] = 7;
  image[383] = 0xC3;
  const QByteArray model = "CRV-16";
  for (int i = 0; i < model.size(); ++i) image[layout::kModelNumber + i] = model[i];
  image[layout::kFixedPowerCode] = 0;
  image[layout::kFixedBandwidthCode] = 0x20;
  image[398] = 0x99;
  image[399] = 0xFE;
  return image;
}

// The same codeplug carrying the password "Ab12" (length 4 in bytes 236 and 379).
inline ByteImage LockedImage(const QByteArray& password = "Ab12") {
  ByteImage image = RoundTripImage();
  for (int i = 0; i < password.size(); ++i) image[layout::kCodeplugPassword + i] = password[i];
  image[layout::kPasswordLength] = password.size();
  image[layout::kPasswordLength2] = password.size();
  return image;
}

// A codeplug file as shell/CodeplugFile.h describes it: the header line, then " value " per
// byte, every line ended by CR LF; 400 values, or 384 with the legacy header.
inline QByteArray FileText(const ByteImage& image, bool legacy = false) {
  QByteArray text =
      legacy ? "Corvana programmer data file\r\n" : "Corvana programmer data file extension\r\n";
  const int count = legacy ? 384 : 400;
  for (int i = 0; i < count; ++i) text += " " + QByteArray::number(image[i]) + " \r\n";
  return text;
}

}  // namespace testfiles
