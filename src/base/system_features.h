// What the program may use on the running system, decided from the versions of the common
// controls (comctl32) and the shell (shell32) rather than from the Windows version alone: an
// Internet Explorer or desktop update brings newer DLLs to old systems. Versions are packed as
// major * 100 + minor (4.00 -> 400, 4.71 -> 471, 5.80 -> 580, 6.00 -> 600).
#pragma once

namespace quelvar {

struct CommonControlsFeatures {
  bool initCommonControlsEx = false;  // 4.70: per-class registration
  bool extendedListStyles = false;    // 4.70: full-row selection in report lists
  bool standardClasses = false;       // 6.00: ICC_STANDARD_CLASSES is a flag it knows; earlier
                                      // versions refuse a registration that asks for it
};
CommonControlsFeatures CommonControlsFeaturesFor(unsigned version);

struct ShellFeatures {
  bool trayRecordV2 = false;  // 5.00: the 488-byte tray record (else the 88-byte first version)
  bool balloons = false;      // 5.00: NIF_INFO balloons on the tray icon
};
ShellFeatures ShellFeaturesFor(unsigned version);

// The "still running" notice when the window goes to the tray: the balloon-shaped notice box
// on the 95 line (osFamily 1..4, or not yet known) and wherever the shell shows no balloons.
bool StillRunningUsesNoticeBox(int osFamily, unsigned shellVersion);

}  // namespace quelvar
