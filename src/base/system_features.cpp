// Feature decisions by DLL version; see system_features.h.
#include "base/system_features.h"

namespace quelvar {

CommonControlsFeatures CommonControlsFeaturesFor(unsigned version) {
  CommonControlsFeatures features;
  features.initCommonControlsEx = version >= 470;
  features.extendedListStyles = version >= 470;
  features.standardClasses = version >= 600;
  return features;
}

ShellFeatures ShellFeaturesFor(unsigned version) {
  ShellFeatures features;
  features.trayRecordV2 = version >= 500;
  features.balloons = version >= 500;
  return features;
}

bool StillRunningUsesNoticeBox(int osFamily, unsigned shellVersion) {
  return osFamily <= 4 || !ShellFeaturesFor(shellVersion).balloons;
}

}  // namespace quelvar
