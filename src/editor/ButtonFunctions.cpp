#include "editor/ButtonFunctions.h"

namespace buttons {

QString FunctionText(int code) {
  if (code < 1 || code > static_cast<int>(ButtonFunctionList.size())) return QString();
  return QString::fromLatin1(ButtonFunctionList[code - 1]);
}

bool OffersHiLowPower(int fixedPowerCode) { return fixedPowerCode == 0 || fixedPowerCode == 255; }

std::vector<int> ShortPressCodes(bool offerHiLowPower) {
  std::vector<int> codes;
  for (int code = offerHiLowPower ? kHiLowPower : kVolumeSet; code <= kLastShortPress; ++code) {
    codes.push_back(code);
  }
  return codes;
}

std::vector<int> LongPressCodes(int shortPressCode, bool offerHiLowPower) {
  // The functions that keep the button free for the other assignments.
  const std::vector<int> common = {kVolumeSet, 6, 7, kUnassigned, 9, kSquelch};
  std::vector<int> codes;
  switch (shortPressCode) {
    case kHiLowPower:
      codes = {kHiLowPower};
      codes.insert(codes.end(), common.begin(), common.end());
      codes.push_back(kButtonLock);
      return codes;
    case kVolumeSet:
    case kStickyMonitor:
      return {kUnassigned};
    case kMonitor:
      return {kStickyMonitor, kUnassigned};
    default:
      break;
  }
  if (shortPressCode < kScan || shortPressCode > kLastShortPress) return {};
  if (offerHiLowPower) codes.push_back(kHiLowPower);
  codes.insert(codes.end(), common.begin(), common.end());
  if (shortPressCode == kScan) codes.push_back(kNuisanceChannelDelete);
  codes.push_back(kButtonLock);
  return codes;
}

}  // namespace buttons
