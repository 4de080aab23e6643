#pragma once
// Command ids of the main menu. Tests and the view find a menu entry by its id.

namespace menuid {
inline constexpr int kLoadRvx = 32811;
inline constexpr int kLoadRvxTraceOnly = 32812;
inline constexpr int kLoadRvxParamOnly = 32813;
inline constexpr int kLoadPc = 32814;
inline constexpr int kLoadPcTraceOnly = 32815;
inline constexpr int kLoadPcParamOnly = 32816;
inline constexpr int kSave = 32785;
inline constexpr int kRvxDataSave = 32792;
inline constexpr int kRvxDataDelete = 32804;
inline constexpr int kWriteEfUserData = 32789;
inline constexpr int kWriteMfUserData = 32788;
inline constexpr int kPrint = 32787;
inline constexpr int kCaptureSave = 32817;
inline constexpr int kCaptureClipboard = 32821;
inline constexpr int kHardCopy = 32807;
inline constexpr int kExit = 57665;
inline constexpr int kRecord = 32900; // beyond the specified menus
inline constexpr int kTraceSelect = 32772;
inline constexpr int kAllReading = 32801;
inline constexpr int kAllSetting = 32802;
inline constexpr int kConversion = 32791;
inline constexpr int kPreset = 32790;
inline constexpr int kAutoTune = 32774;
inline constexpr int kHoldRun = 32775;
inline constexpr int kMeasuringFunction = 32786;
inline constexpr int kMarkerToCf = 32810;
inline constexpr int kRemote = 32809;
inline constexpr int kMarker1And2 = 32822;
inline constexpr int kMarker1Only = 32823;
inline constexpr int kMarker2Only = 32824;
inline constexpr int kMarkerNone = 32825;
inline constexpr int kSetup = 32773;
inline constexpr int kColorEdit = 32798;
inline constexpr int kDetailedTrace = 32796;
inline constexpr int kHelp = 32771;
inline constexpr int kAbout = 57664;
} // namespace menuid
